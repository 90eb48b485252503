#include "LspSpans.h"

#include <algorithm>

namespace {

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '$' ||
           c == '#' || c == '@' || c == '_';
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// From an opening parenthesis: just past its closing one (or the end).
size_t SkipParens(const std::string& t, size_t i)
{
    int depth = 0;
    bool bQuote = false;
    for (; i < t.size(); ++i) {
        if (t[i] == '\'')
            bQuote = !bQuote;
        if (bQuote)
            continue;
        if (t[i] == '(')
            ++depth;
        else if (t[i] == ')' && --depth == 0)
            return i + 1;
    }
    return t.size();
}

} // namespace

const LspParamSpan* LspCommandSpan::At(size_t offset) const
{
    for (const LspParamSpan& p : params)
        if (offset >= p.begin && offset <= p.end)
            return &p;
    return nullptr;
}

LspCommandSpan ScanCommand(const std::string& t)
{
    LspCommandSpan c;
    size_t i = 0;
    while (i < t.size() && t[i] != ' ' && t[i] != '(')
        ++i;
    c.nameEnd = i;
    const size_t slash = t.rfind('/', i);
    for (size_t k = (slash == std::string::npos || slash > i) ? 0 : slash + 1; k < i; ++k)
        c.name += Upper(t[k]);
    int position = 0;
    while (i < t.size()) {
        if (t[i] == ' ') {
            ++i;
            continue;
        }
        LspParamSpan p;
        p.begin = i;
        size_t w = i;
        while (w < t.size() && IsNameChar(t[w]))
            ++w;
        if (w > i && w < t.size() && t[w] == '(' && !(t[i] >= '0' && t[i] <= '9')) {
            for (size_t k = i; k < w; ++k)
                p.keyword += Upper(t[k]);
            p.valueBegin = w + 1;
            p.end = SkipParens(t, w);
            p.valueEnd = p.end > p.valueBegin && t[p.end - 1] == ')' ? p.end - 1 : p.end;
        } else {
            p.position = ++position;
            size_t e = i;
            bool bQuote = false;
            while (e < t.size() && (bQuote || t[e] != ' ')) {
                if (t[e] == '\'')
                    bQuote = !bQuote;
                if (!bQuote && t[e] == '(') {
                    e = SkipParens(t, e);
                    continue;
                }
                ++e;
            }
            p.valueBegin = i;
            p.end = p.valueEnd = e;
        }
        i = p.end;
        c.params.push_back(std::move(p));
    }
    return c;
}

size_t OffsetOf(const CLSrcStatement& s, const CLSrcPos& pos)
{
    if (s.pos.empty() || pos < s.pos.front())
        return std::string::npos;
    for (size_t i = 0; i < s.pos.size(); ++i)
        if (!(s.pos[i] < pos))
            return i;
    return s.pos.size();
}

int StatementAt(const CLSource& src, const CLSrcPos& pos)
{
    for (size_t i = 0; i < src.statements.size(); ++i) {
        const CLSrcStatement& s = src.statements[i];
        if (pos.line >= s.begin.line && pos.line <= s.lastLine)
            return static_cast<int>(i);
    }
    return -1;
}

std::string WordAt(const std::string& line, int col, int* pBegin)
{
    int b = std::min<int>(col, static_cast<int>(line.size()));
    while (b > 0 && IsNameChar(line[static_cast<size_t>(b - 1)]))
        --b;
    if (b > 0 &&
        (line[static_cast<size_t>(b - 1)] == '&' || line[static_cast<size_t>(b - 1)] == '*'))
        --b;
    int e = std::min<int>(col, static_cast<int>(line.size()));
    while (e < static_cast<int>(line.size()) && IsNameChar(line[static_cast<size_t>(e)]))
        ++e;
    if (pBegin)
        *pBegin = b;
    std::string w;
    for (int k = b; k < e; ++k)
        w += Upper(line[static_cast<size_t>(k)]);
    return w;
}
