#include "CLSourceFormat.h"

#include <algorithm>

namespace {

constexpr size_t kCommandCol = 13;      // column 14
constexpr size_t kParameterCol = 24;    // column 25
constexpr size_t kContinuationCol = 26; // column 27

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlankLine(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

// Upper-cased outside quoted strings.
std::string Cased(const std::string& s, bool bKeep)
{
    if (bKeep)
        return s;
    std::string out = s;
    bool bQuote = false;
    for (char& c : out) {
        if (c == '\'')
            bQuote = !bQuote;
        else if (!bQuote)
            c = Upper(c);
    }
    return out;
}

// The parameters of a statement's text from offset from: split at blanks
// outside quoted strings and parentheses.
std::vector<std::string> Tokens(const std::string& text, size_t from)
{
    std::vector<std::string> out;
    std::string cur;
    int depth = 0;
    bool bQuote = false;
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'')
            bQuote = !bQuote;
        if (!bQuote && c == '(')
            ++depth;
        if (!bQuote && c == ')' && depth > 0)
            --depth;
        if (!bQuote && depth == 0 && c == ' ') {
            if (!cur.empty())
                out.push_back(std::move(cur));
            cur.clear();
            continue;
        }
        cur += c;
    }
    if (!cur.empty())
        out.push_back(std::move(cur));
    return out;
}

// Where a token may be broken with "+" within room characters: the next line
// starts with a non-blank character, so nothing is lost when the reader drops
// its leading blanks. After a blank when possible; 0 when nowhere.
size_t SplitPoint(const std::string& s, size_t room)
{
    size_t best = 0, hard = 0;
    for (size_t p = 1; p < s.size() && p <= room; ++p) {
        if (s[p] == ' ')
            continue;
        if (s[p - 1] == ' ')
            best = p;
        hard = p;
    }
    return best ? best : hard;
}

void PadTo(std::string* pLine, size_t col)
{
    if (pLine->size() < col)
        pLine->append(col - pLine->size(), ' ');
    else if (!pLine->empty())
        *pLine += ' ';
}

std::string Normalized(const std::string& s)
{
    std::string out;
    bool bQuote = false, bBlank = false;
    for (char c : s) {
        if (c == '\'')
            bQuote = !bQuote;
        if (!bQuote && c == ' ') {
            bBlank = true;
            continue;
        }
        if (bBlank && !out.empty())
            out += ' ';
        bBlank = false;
        out += bQuote ? c : Upper(c);
    }
    return out;
}

} // namespace

namespace CLSourceFormat {

bool SameMeaning(const std::string& a, const std::string& b)
{
    return Normalized(a) == Normalized(b);
}

std::vector<std::string> StatementLines(const CLSource& src, size_t statement,
                                        const CLFormatOptions& options)
{
    const CLSrcStatement& s = src.statements[statement];
    if (s.text.empty() || s.bInnerComment)
        return {};
    const int first = s.begin.line, command = s.pos.front().line, last = s.lastLine;
    const std::string& firstLine = src.lines[static_cast<size_t>(first)];
    if (firstLine.find_first_not_of(" \t") < static_cast<size_t>(s.begin.col))
        return {}; // something stands before it on its line
    for (int l = first; l < command; ++l)
        if (IsBlankLine(src.lines[static_cast<size_t>(l)]))
            return {};
    // Only a comment after the statement on its last line, ending there.
    std::string trailing;
    const std::string& lastLine = src.lines[static_cast<size_t>(last)];
    size_t tailEnd = lastLine.size();
    for (const CLSrcComment& c : src.comments) {
        if (c.end.line < first || c.begin.line > last)
            continue;
        if (c.begin.line != last || c.end.line != last || c.begin < s.end || !trailing.empty())
            return {};
        trailing = lastLine.substr(static_cast<size_t>(c.begin.col),
                                   static_cast<size_t>(c.end.col - c.begin.col));
        tailEnd = static_cast<size_t>(c.begin.col);
    }
    if (s.end.line != last ||
        lastLine.substr(static_cast<size_t>(s.end.col),
                        tailEnd - std::min(tailEnd, static_cast<size_t>(s.end.col)))
                .find_first_not_of(" \t") != std::string::npos)
        return {};

    const size_t margin = static_cast<size_t>(options.nRightMargin);
    std::vector<std::string> out;
    for (size_t k = 0; k + 1 < s.labels.size(); ++k)
        out.push_back(" " + s.labels[k].name + ":");
    std::string line = s.labels.empty() ? "" : " " + s.labels.back().name + ":";
    size_t nameEnd = 0;
    while (nameEnd < s.text.size() && s.text[nameEnd] != ' ')
        ++nameEnd;
    PadTo(&line, kCommandCol);
    line += Cased(s.text.substr(0, nameEnd), options.bKeepCase);
    const std::vector<std::string> tokens = Tokens(s.text, nameEnd);
    if (!tokens.empty())
        PadTo(&line, kParameterCol);
    bool bFirstOnLine = true;
    for (size_t k = 0; k < tokens.size(); ++k) {
        const std::string tok = Cased(tokens[k], options.bKeepCase);
        const size_t after = k + 1 < tokens.size() ? 2 : 0; // " +" when more follow
        if (!bFirstOnLine && line.size() + 1 + tok.size() + after > margin) {
            out.push_back(line + " +");
            line.assign(kContinuationCol, ' ');
            bFirstOnLine = true;
        }
        if (!bFirstOnLine)
            line += ' ';
        std::string rest = tok;
        // A token longer than a line is broken with "+" where nothing is lost.
        while (line.size() + rest.size() + after > margin && line.size() + 1 < margin) {
            const size_t p = SplitPoint(rest, margin - line.size() - 1);
            if (p == 0)
                break; // it cannot be broken: the line runs past the margin
            out.push_back(line + rest.substr(0, p) + "+");
            line.assign(kContinuationCol, ' ');
            rest.erase(0, p);
        }
        line += rest;
        bFirstOnLine = false;
    }
    if (!trailing.empty())
        line += " " + trailing;
    out.push_back(line);
    for (std::string& l : out)
        while (!l.empty() && l.back() == ' ')
            l.pop_back();
    return out;
}

bool Format(const std::string& text, const CLFormatOptions& options, std::string* pOut,
            std::string* pWhy)
{
    const CLSource src = CLSource::Read(text);
    if (!src.problems.empty()) {
        const CLSrcProblem& p = src.problems.front();
        *pWhy = "line " + std::to_string(p.pos.line + 1) + ": " + p.message;
        return false;
    }
    std::vector<std::string> lines;
    size_t cursor = 0;
    for (size_t i = 0; i < src.statements.size(); ++i) {
        const CLSrcStatement& s = src.statements[i];
        const size_t first = static_cast<size_t>(s.begin.line);
        const size_t last = static_cast<size_t>(std::max(s.lastLine, s.begin.line));
        if (first < cursor)
            continue; // shares its lines with the statement before: as it stands
        lines.insert(lines.end(), src.lines.begin() + static_cast<std::ptrdiff_t>(cursor),
                     src.lines.begin() + static_cast<std::ptrdiff_t>(first));
        std::vector<std::string> formatted = StatementLines(src, i, options);
        if (formatted.empty())
            lines.insert(lines.end(), src.lines.begin() + static_cast<std::ptrdiff_t>(first),
                         src.lines.begin() + static_cast<std::ptrdiff_t>(last + 1));
        else
            lines.insert(lines.end(), formatted.begin(), formatted.end());
        cursor = last + 1;
    }
    if (cursor < src.lines.size())
        lines.insert(lines.end(), src.lines.begin() + static_cast<std::ptrdiff_t>(cursor),
                     src.lines.end());
    std::string out;
    const char* eol = src.bCrLf ? "\r\n" : "\n";
    for (size_t i = 0; i < lines.size(); ++i)
        out += (i ? eol : "") + lines[i];

    // The same statements, or nothing.
    const CLSource again = CLSource::Read(out);
    bool bSame = again.problems.empty() && again.statements.size() == src.statements.size();
    for (size_t i = 0; bSame && i < src.statements.size(); ++i) {
        const CLSrcStatement &a = src.statements[i], &b = again.statements[i];
        bSame = a.labels.size() == b.labels.size() && SameMeaning(a.text, b.text);
        for (size_t k = 0; bSame && k < a.labels.size(); ++k)
            bSame = a.labels[k].name == b.labels[k].name;
        if (!bSame)
            *pWhy = "Formatting would change the statement at line " +
                    std::to_string(a.begin.line + 1) + "; the member is left as it is.";
    }
    if (bSame && again.statements.size() != src.statements.size())
        bSame = false;
    if (!bSame) {
        if (pWhy->empty())
            *pWhy = "Formatting would change the member; it is left as it is.";
        return false;
    }
    *pOut = std::move(out);
    return true;
}

} // namespace CLSourceFormat
