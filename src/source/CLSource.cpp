#include "CLSource.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '$' ||
           c == '#' || c == '@' || c == '_';
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Builds the statements line by line.
class Builder
{
public:
    Builder(CLSource* pSrc, size_t nLines) : m_src(*pSrc), m_nLines(nLines) {}

    void Line(int i)
    {
        const std::string& line = m_src.lines[static_cast<size_t>(i)];
        m_seg.clear();
        m_cols.clear();
        size_t j = 0;
        if (m_cont == '+')
            while (j < line.size() && IsBlank(line[j]))
                ++j;
        m_cont = 0;
        for (; j < line.size();) {
            const char c = line[j];
            const char next = j + 1 < line.size() ? line[j + 1] : '\0';
            if (m_bInComment) {
                if (c == '*' && next == '/') {
                    m_bInComment = false;
                    m_src.comments.back().end = {i, static_cast<int>(j + 2)};
                    j += 2;
                } else {
                    ++j;
                }
                continue;
            }
            if (m_bInQuote) {
                Add(c, j);
                if (c == '\'') {
                    if (next == '\'') {
                        Add(next, j + 1);
                        j += 2;
                        continue;
                    }
                    m_bInQuote = false;
                }
                ++j;
                continue;
            }
            if (c == '/' && next == '*') {
                m_bInComment = true;
                m_src.comments.push_back({{i, static_cast<int>(j)}, {i, static_cast<int>(j)}});
                m_commentAt.push_back({i, static_cast<int>(j)});
                Add(' ', j); // a comment separates like a blank
                j += 2;
                continue;
            }
            if (c == '\'')
                m_bInQuote = true;
            Add(c == '\t' ? ' ' : c, j);
            ++j;
        }
        if (m_bInComment) {
            // The statement goes on after the comment.
            Append(i);
            return;
        }
        size_t e = m_seg.size();
        while (e > 0 && m_seg[e - 1] == ' ')
            --e;
        if (e > 0 && (m_seg[e - 1] == '+' || m_seg[e - 1] == '-')) {
            m_cont = m_seg[e - 1];
            m_seg.resize(e - 1);
            m_cols.resize(e - 1);
            Append(i);
            return;
        }
        if (m_bInQuote) {
            m_src.problems.push_back(
                {{i, static_cast<int>(line.size())}, "A quoted string is not closed on its line."});
            m_bInQuote = false;
        }
        Append(i);
        EndStatement(i);
    }

    void Finish()
    {
        const int last = static_cast<int>(m_nLines == 0 ? 0 : m_nLines - 1);
        const int lastSize = static_cast<int>(m_src.lines[static_cast<size_t>(last)].size());
        if (m_bInComment) {
            m_src.comments.back().end = {last, lastSize};
            m_src.problems.push_back({m_src.comments.back().begin, "A comment is not closed."});
        }
        if (m_cont != 0)
            m_src.problems.push_back(
                {{last, lastSize}, "The last statement is continued past the end of the member."});
        EndStatement(last);
        if (!m_pending.empty()) {
            CLSrcStatement s;
            s.labels = std::move(m_pending);
            s.begin = s.labels.front().pos;
            s.end = {s.begin.line, s.begin.col + static_cast<int>(s.labels.front().name.size())};
            s.lastLine = s.begin.line;
            m_src.statements.push_back(std::move(s));
        }
    }

private:
    void Add(char c, size_t col)
    {
        m_seg += c;
        m_cols.push_back(static_cast<int>(col));
    }

    // The line's part goes into the statement; leading blanks of a statement are skipped.
    void Append(int line)
    {
        for (size_t k = 0; k < m_seg.size(); ++k) {
            if (m_text.empty() && m_seg[k] == ' ')
                continue;
            m_text += m_seg[k];
            m_pos.push_back({line, m_cols[k]});
        }
    }

    void EndStatement(int line)
    {
        std::string text = std::move(m_text);
        std::vector<CLSrcPos> pos = std::move(m_pos);
        std::vector<CLSrcPos> commentAt = std::move(m_commentAt);
        m_text.clear();
        m_pos.clear();
        m_commentAt.clear();
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
            pos.pop_back();
        }
        if (text.empty())
            return;
        // Labels in front: NAME followed by a colon, each.
        size_t at = 0;
        std::vector<CLSrcLabel> labels;
        for (;;) {
            size_t b = at;
            while (b < text.size() && text[b] == ' ')
                ++b;
            size_t e = b;
            while (e < text.size() && IsNameChar(text[e]))
                ++e;
            size_t colon = e;
            while (colon < text.size() && text[colon] == ' ')
                ++colon;
            if (e == b || colon >= text.size() || text[colon] != ':')
                break;
            CLSrcLabel label;
            for (size_t k = b; k < e; ++k)
                label.name += Upper(text[k]);
            label.pos = pos[b];
            labels.push_back(std::move(label));
            at = colon + 1;
        }
        while (at < text.size() && text[at] == ' ')
            ++at;
        for (CLSrcLabel& l : labels)
            m_pending.push_back(std::move(l));
        if (at >= text.size())
            return; // labels alone: they belong to the next command
        CLSrcStatement s;
        s.labels = std::move(m_pending);
        m_pending.clear();
        s.text = text.substr(at);
        s.pos.assign(pos.begin() + static_cast<std::ptrdiff_t>(at), pos.end());
        s.begin = s.labels.empty() ? s.pos.front() : s.labels.front().pos;
        s.end = {s.pos.back().line, s.pos.back().col + 1};
        s.lastLine = line;
        for (const CLSrcPos& c : commentAt)
            if (s.pos.front() < c && c < s.pos.back())
                s.bInnerComment = true;
        m_src.statements.push_back(std::move(s));
    }

    CLSource& m_src;
    size_t m_nLines;
    std::string m_seg;       // the current line's characters outside comments
    std::vector<int> m_cols; // their columns
    std::string m_text;      // the statement read so far
    std::vector<CLSrcPos> m_pos;
    std::vector<CLSrcPos> m_commentAt; // where the statement's comments begin
    std::vector<CLSrcLabel> m_pending;
    bool m_bInComment = false;
    bool m_bInQuote = false;
    char m_cont = 0; // the previous line's continuation character
};

} // namespace

std::string CLSrcStatement::CommandName() const
{
    size_t e = 0;
    while (e < text.size() && text[e] != ' ' && text[e] != '(')
        ++e;
    std::string name = text.substr(0, e);
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    for (char& c : name)
        c = Upper(c);
    return name;
}

CLSource CLSource::Read(std::string_view bytes)
{
    CLSource src;
    size_t start = 0;
    for (;;) {
        const size_t nl = bytes.find('\n', start);
        std::string_view line =
            bytes.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            if (src.lines.empty())
                src.bCrLf = true;
        }
        src.lines.emplace_back(line);
        if (nl == std::string_view::npos)
            break;
        start = nl + 1;
    }
    // A line end ends the last line; it does not begin another one.
    const size_t nLines = src.lines.size() - (!bytes.empty() && bytes.back() == '\n' ? 1 : 0);
    Builder b(&src, nLines);
    for (size_t i = 0; i < nLines; ++i)
        b.Line(static_cast<int>(i));
    b.Finish();
    return src;
}
