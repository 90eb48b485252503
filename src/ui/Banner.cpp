#include "Banner.h"

#include <QLinearGradient>
#include <QPainter>

QPixmap MakeBanner(int width, int height, const QColor& background)
{
    QPixmap pixmap(width, height);
    pixmap.fill(background);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bar(0, 0, width, 0);
    bar.setColorAt(0, QColor(0x1F, 0x3A, 0x7A));
    bar.setColorAt(1, QColor(0x8C, 0xAA, 0xE6));
    p.setPen(Qt::NoPen);
    p.setBrush(bar);
    p.drawRoundedRect(QRectF(12, 6, width - 24, height - 12), 8, 8);

    QFont title(QStringLiteral("Georgia"), 22, QFont::Bold);
    title.setStyleHint(QFont::Serif);
    p.setFont(title);
    p.setPen(Qt::white);
    QRect text(30, 6, width - 40, height - 12);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zentrivo"));
    int x = 30 + QFontMetrics(title).horizontalAdvance(QStringLiteral("Zentrivo")) + 16;
    QFont sub(QStringLiteral("Georgia"), 10, QFont::Normal, true);
    sub.setStyleHint(QFont::Serif);
    const QString subtitle = QStringLiteral("CL command reference for IBM i");
    // Only whole: a narrow banner has the name alone.
    if (x + QFontMetrics(sub).horizontalAdvance(subtitle) <= width - 16) {
        p.setFont(sub);
        p.drawText(QRect(x, 6, width - x - 16, height - 12), Qt::AlignLeft | Qt::AlignVCenter,
                   subtitle);
    }
    return pixmap;
}
