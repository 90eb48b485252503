#include "WindowColours.h"

#include <QPalette>

#include <algorithm>
#include <cmath>

namespace {

double Luminance(const QColor& c)
{
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

WindowColours ColoursFor(const QPalette& palette)
{
    WindowColours c;
    c.bDark = palette.color(QPalette::Window).lightness() < 128;
    if (!c.bDark) {
        c.label = QColor(0x00, 0x00, 0x80); // navy
        c.hint = QColor(0x00, 0x00, 0xFF);  // blue
        c.panel = Qt::white;
        c.problem = QColor(0xC6, 0x28, 0x28); // dark red
        return c;
    }
    c.label = QColor(0x9C, 0xBC, 0xFF);
    c.hint = QColor(0x7F, 0xB2, 0xFF);
    c.panel = palette.color(QPalette::Base);
    c.problem = QColor(0xFF, 0x8A, 0x80); // light red
    return c;
}
