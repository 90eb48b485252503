#include "Latin1.h"

#include "CxText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <cstring>

QString FromLatin1(const char* sz)
{
    return sz ? QString::fromLatin1(sz, static_cast<qsizetype>(std::strlen(sz))) : QString();
}

QString FromLatin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string ToLatin1(const QString& s)
{
    std::string out;
    out.reserve(static_cast<size_t>(s.size()));
    for (QChar c : s)
        out += c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?';
    return out;
}

QString MemoFromText(const char* sz)
{
    return FromLatin1(CxText::CrLfToLf(sz ? sz : ""));
}

std::string TextFromMemo(const QString& text, size_t nMax)
{
    return CxText::LfToCrLf(ToLatin1(text), nMax);
}

QString MemoText(const QPlainTextEdit* memo)
{
    QString text = memo->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return text;
}
