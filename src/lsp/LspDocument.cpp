#include "LspDocument.h"

#include <algorithm>

namespace {

int Int(const QJsonObject& o, const char* key)
{
    return std::max(0, o.value(QLatin1String(key)).toInt());
}

} // namespace

void LspDocument::SetText(const QString& text)
{
    m_text = text.toUtf8().toStdString();
    Reread();
}

bool LspDocument::Replace(const QJsonObject& range, const QString& text)
{
    const CLSrcPos b = FromPosition(range.value(QLatin1String("start")).toObject());
    const CLSrcPos e = FromPosition(range.value(QLatin1String("end")).toObject());
    const size_t from = Offset(b), to = Offset(e);
    if (to < from)
        return false;
    m_text.replace(from, to - from, text.toUtf8().toStdString());
    Reread();
    return true;
}

void LspDocument::Reread()
{
    m_lineStarts.assign(1, 0);
    for (size_t i = 0; i < m_text.size(); ++i)
        if (m_text[i] == '\n')
            m_lineStarts.push_back(i + 1);
    m_source = CLSource::Read(m_text);
    m_program = CLProgram::Build(m_source);
}

size_t LspDocument::Offset(const CLSrcPos& pos) const
{
    if (pos.line >= static_cast<int>(m_lineStarts.size()))
        return m_text.size();
    const size_t start = m_lineStarts[static_cast<size_t>(pos.line)];
    size_t end = m_text.find('\n', start);
    if (end == std::string::npos)
        end = m_text.size();
    if (end > start && m_text[end - 1] == '\r')
        --end; // a CR LF line ends before its CR
    return std::min(start + static_cast<size_t>(std::max(0, pos.col)), end);
}

QJsonObject LspDocument::Position(const CLSrcPos& pos) const
{
    const size_t start = pos.line < static_cast<int>(m_lineStarts.size())
                             ? m_lineStarts[static_cast<size_t>(pos.line)]
                             : m_text.size();
    const size_t end = std::max(start, Offset(pos));
    const int units = static_cast<int>(
        QString::fromUtf8(m_text.data() + start, static_cast<qsizetype>(end - start)).size());
    return {{"line", pos.line}, {"character", units}};
}

QJsonObject LspDocument::Range(const CLSrcPos& begin, const CLSrcPos& end) const
{
    return {{"start", Position(begin)}, {"end", Position(end)}};
}

QJsonObject LspDocument::LinesRange(int first, int last) const
{
    CLSrcPos end{last, 1 << 30};
    return Range({first, 0}, end);
}

CLSrcPos LspDocument::FromPosition(const QJsonObject& position) const
{
    CLSrcPos pos{Int(position, "line"), 0};
    if (pos.line >= static_cast<int>(m_lineStarts.size()))
        return {static_cast<int>(m_lineStarts.size()) - 1, 1 << 30};
    const size_t start = m_lineStarts[static_cast<size_t>(pos.line)];
    size_t end = m_text.find('\n', start);
    if (end == std::string::npos)
        end = m_text.size();
    const QString line =
        QString::fromUtf8(m_text.data() + start, static_cast<qsizetype>(end - start));
    pos.col = static_cast<int>(line.left(Int(position, "character")).toUtf8().size());
    return pos;
}
