#include "CLCommandString.h"

#include "CLCmdManager.h"
#include "CLWords.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A word in upper case but for its quoted names ("My Lib"), which keep theirs.
std::string FoldWord(std::string s)
{
    bool bQuoted = false;
    for (char& c : s) {
        if (c == '"')
            bQuoted = !bQuoted;
        else if (!bQuoted)
            c = Upper(c);
    }
    return s;
}

bool HasLower(const std::string& s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// One line of text from the lines of a command: "+" at a line's end goes on
// with the next line's first non-blank character, "-" with the next line as
// it is; any other line end is a blank.
std::string JoinLines(const std::string& text)
{
    std::string out;
    size_t start = 0;
    bool bSkipLead = false;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        bool bLast = end == std::string::npos;
        std::string line = text.substr(start, bLast ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (bSkipLead) {
            size_t b = 0;
            while (b < line.size() && IsBlank(line[b]))
                ++b;
            line.erase(0, b);
        }
        bSkipLead = false;
        if (bLast) {
            out += line;
            break;
        }
        size_t e = line.size();
        while (e > 0 && IsBlank(line[e - 1]))
            --e;
        if (e > 0 && line[e - 1] == '+') {
            out += line.substr(0, e - 1);
            bSkipLead = true;
        } else if (e > 0 && line[e - 1] == '-') {
            out += line.substr(0, e - 1);
        } else {
            out += line + ' ';
        }
        start = end + 1;
    }
    for (char& c : out)
        if (c == '\t')
            c = ' ';
    return out;
}

// Reads the elements of a text (no label, no command name: values only).
class Reader
{
public:
    // bFold: words upper-cased (as CL reads them); else kept as written.
    explicit Reader(const std::string& text, bool bFold = true) : m_s(text), m_bFold(bFold) {}

    bool Read(std::vector<CLValue>* pTop, std::string* pWhy)
    {
        std::vector<std::vector<CLValue>*> stack{pTop};
        size_t i = 0;
        while (i < m_s.size()) {
            char c = m_s[i];
            if (IsBlank(c)) {
                ++i;
            } else if (c == '(') {
                CLValue list;
                list.kind = CLValue::List;
                if (!Open(&stack, std::move(list), pWhy))
                    return false;
                ++i;
            } else if (c == ')') {
                if (stack.size() == 1)
                    return Fail("A closing parenthesis has no opening one.", pWhy);
                stack.pop_back();
                ++i;
            } else if (c == '\'') {
                CLValue v;
                v.kind = CLValue::Quoted;
                if (!ReadQuoted(&i, &v.text, pWhy))
                    return false;
                stack.back()->push_back(std::move(v));
            } else {
                CLValue v;
                size_t b = i;
                while (i < m_s.size() && !IsBlank(m_s[i]) && m_s[i] != '(' && m_s[i] != ')' &&
                       m_s[i] != '\'') {
                    if (m_s[i] != '"') {
                        ++i;
                        continue;
                    }
                    // A quoted name ("My Lib") is part of the word, blanks and all.
                    size_t close = m_s.find('"', i + 1);
                    if (close == std::string::npos)
                        return Fail("A quoted name is not closed.", pWhy);
                    i = close + 1;
                }
                v.text = Word(m_s.substr(b, i - b));
                if (i < m_s.size() && m_s[i] == '\'') {
                    // A prefixed string such as X'F1' is one word.
                    std::string inner;
                    size_t q = i;
                    if (!ReadQuoted(&i, &inner, pWhy))
                        return false;
                    v.text += Word(m_s.substr(q, i - q));
                    stack.back()->push_back(std::move(v));
                } else if (i < m_s.size() && m_s[i] == '(') {
                    v.kind = CLValue::Call;
                    if (!Open(&stack, std::move(v), pWhy))
                        return false;
                    ++i;
                } else {
                    stack.back()->push_back(std::move(v));
                }
            }
        }
        if (stack.size() > 1)
            return Fail("A parenthesis is not closed.", pWhy);
        return true;
    }

private:
    static bool Fail(const char* why, std::string* pWhy)
    {
        *pWhy = why;
        return false;
    }

    static bool Open(std::vector<std::vector<CLValue>*>* pStack, CLValue v, std::string* pWhy)
    {
        if (static_cast<int>(pStack->size()) > CLCommandString::kMaxDepth)
            return Fail("Parentheses are nested too deeply.", pWhy);
        pStack->back()->push_back(std::move(v));
        pStack->push_back(&pStack->back()->back().items);
        return true;
    }

    // At an apostrophe: the text up to the closing one; '' is one apostrophe.
    bool ReadQuoted(size_t* pI, std::string* pText, std::string* pWhy)
    {
        size_t i = *pI + 1;
        for (;;) {
            if (i >= m_s.size())
                return Fail("A quoted string is not closed.", pWhy);
            if (m_s[i] == '\'') {
                if (i + 1 < m_s.size() && m_s[i + 1] == '\'') {
                    *pText += '\'';
                    i += 2;
                    continue;
                }
                *pI = i + 1;
                return true;
            }
            *pText += m_s[i++];
        }
    }

    std::string Word(const std::string& text) const { return m_bFold ? FoldWord(text) : text; }

    const std::string& m_s;
    const bool m_bFold;
};

std::string Join(const std::vector<CLValue>& items)
{
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? " " : "") + items[i].ToString();
    return out;
}

} // namespace

std::string CLValue::ToString() const
{
    switch (kind) {
    case Quoted:
        return CLCommandString::Quote(text);
    case List:
        return "(" + Join(items) + ")";
    case Call:
        return text + "(" + Join(items) + ")";
    case Word:
        break;
    }
    return text;
}

std::string CLParsedParam::ValueText() const
{
    return Join(elements);
}

namespace CLCommandString {

bool Parse(const std::string& text, CLParsedCommand* pOut, std::string* pWhy)
{
    *pOut = CLParsedCommand();
    if (text.size() > kMaxLength) {
        *pWhy = "The command is too long.";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        *pWhy = "The command holds a zero byte.";
        return false;
    }
    std::vector<CLValue> top;
    if (!Reader(JoinLines(text)).Read(&top, pWhy))
        return false;
    size_t i = 0;
    if (i < top.size() && top[i].kind == CLValue::Word && top[i].text.size() > 1 &&
        top[i].text.back() == ':') {
        pOut->label = top[i].text.substr(0, top[i].text.size() - 1);
        ++i;
    }
    if (i >= top.size()) {
        *pWhy = "No command is given.";
        return false;
    }
    if (top[i].kind != CLValue::Word) {
        *pWhy = "The command does not begin with a command name.";
        return false;
    }
    std::string name = top[i].text;
    size_t slash = name.find('/');
    if (slash != std::string::npos) {
        pOut->library = name.substr(0, slash);
        name.erase(0, slash + 1);
    }
    if (!CLCmdManager::IsCLName(name.c_str()) ||
        (slash != std::string::npos && !CLCmdManager::IsCLName(pOut->library.c_str()))) {
        *pWhy = "\"" + top[i].text + "\" is not a command name.";
        return false;
    }
    pOut->name = name;
    bool bKeywordSeen = false;
    int nPosition = 0;
    for (++i; i < top.size(); ++i) {
        CLParsedParam p;
        if (top[i].kind == CLValue::Call) {
            p.keyword = top[i].text;
            p.elements = std::move(top[i].items);
            if (!CLCmdManager::IsCLName(p.keyword.c_str()))
                pOut->problems.push_back(p.keyword + ": this is not a keyword.");
            bKeywordSeen = true;
        } else {
            p.position = ++nPosition;
            if (top[i].kind == CLValue::List)
                p.elements = std::move(top[i].items);
            else
                p.elements.push_back(std::move(top[i]));
            if (bKeywordSeen)
                pOut->problems.push_back(p.ValueText() +
                                         ": a positional value cannot follow a keyword.");
        }
        pOut->params.push_back(std::move(p));
    }
    return true;
}

std::string Quote(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

} // namespace CLCommandString

namespace {

// A word typed by the user as it is written: upper-cased when CL reads it
// bare, else quoted with its case kept. bText: a name with lower case is
// text, not a name.
std::string WordText(const std::string& word, bool bText)
{
    const std::string folded = FoldWord(word);
    const bool bBare = CLWords::IsBareValue(folded) || CLWords::IsOperator(folded);
    const bool bCaseless = CLWords::IsSpecialValue(folded) || CLWords::IsVariable(folded) ||
                           CLWords::IsHexConstant(folded) || CLWords::IsNumber(folded);
    if (bBare && (!bText || !HasLower(word) || bCaseless))
        return folded;
    return CLCommandString::Quote(word);
}

std::string ElementText(const CLValue& e, bool bText);

std::string ElementsText(const std::vector<CLValue>& items, bool bText)
{
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? " " : "") + ElementText(items[i], bText);
    return out;
}

std::string ElementText(const CLValue& e, bool bText)
{
    switch (e.kind) {
    case CLValue::Quoted:
        return e.ToString();
    case CLValue::List:
        return "(" + ElementsText(e.items, bText) + ")";
    case CLValue::Call:
        return FoldWord(e.text) + "(" + ElementsText(e.items, bText) + ")";
    case CLValue::Word:
        break;
    }
    return WordText(e.text, bText);
}

} // namespace

namespace CLCommandString {

std::string ValueText(const std::string& typedIn, ValueMode mode)
{
    // Control characters (tabs, line ends, zero bytes) have no place in a
    // value: they become blanks.
    std::string typed = typedIn;
    for (char& c : typed)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    const std::string t = Trim(typed);
    if (t.empty())
        return {};
    std::vector<CLValue> elements;
    std::string why;
    const bool bParsed = t.size() <= kMaxLength && Reader(t, false).Read(&elements, &why);
    const bool bText = mode == ValueMode::Text || mode == ValueMode::TextList;
    if (mode == ValueMode::Text || mode == ValueMode::Single) {
        if (bParsed && elements.size() == 1) {
            const CLValue& e = elements[0];
            if (e.kind == CLValue::Quoted)
                return e.ToString();
            if (e.kind == CLValue::Word)
                return WordText(e.text, bText);
            // An expression (%SST(...)) or, where no text is asked, a list
            // typed in parentheses.
            if (e.kind == CLValue::Call && (!bText || e.text[0] == '%'))
                return ElementText(e, false);
            if (e.kind == CLValue::List && !bText)
                return ElementText(e, false);
        }
        return Quote(t);
    }
    if (bParsed)
        return ElementsText(elements, bText);
    // Unbalanced parentheses or quotes: piece by piece, as typed.
    std::string out;
    size_t i = 0;
    while (i < t.size()) {
        while (i < t.size() && IsBlank(t[i]))
            ++i;
        size_t b = i;
        while (i < t.size() && !IsBlank(t[i]))
            ++i;
        if (b == i)
            break;
        out += (out.empty() ? "" : " ") + WordText(t.substr(b, i - b), bText);
    }
    return out;
}

std::string CommandAt(const std::string& text, size_t pos)
{
    if (pos > text.size())
        return {};
    // The lines as [begin, end) without their line breaks.
    auto lineStart = [&](size_t at) {
        size_t b = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
        return b == std::string::npos ? 0 : b + 1;
    };
    auto lineEnd = [&](size_t b) {
        size_t e = text.find('\n', b);
        return e == std::string::npos ? text.size() : e;
    };
    auto continues = [&](size_t b) {
        size_t e = lineEnd(b);
        while (e > b && IsBlank(text[e - 1]))
            --e;
        return e > b && (text[e - 1] == '+' || text[e - 1] == '-');
    };
    size_t begin = lineStart(pos);
    while (begin > 0 && continues(lineStart(begin - 1)))
        begin = lineStart(begin - 1);
    size_t last = begin, end = lineEnd(begin);
    while (end < text.size() && continues(last)) {
        last = end + 1;
        end = lineEnd(last);
    }
    std::string command = text.substr(begin, end - begin);
    if (!command.empty() && command.back() == '\r')
        command.pop_back();

    // The first word (after a label) names a command, in upper case.
    size_t i = 0;
    auto word = [&]() {
        while (i < command.size() && IsBlank(command[i]))
            ++i;
        size_t b = i;
        while (i < command.size() && !IsBlank(command[i]) && command[i] != '(')
            ++i;
        return command.substr(b, i - b);
    };
    std::string name = word();
    if (name.size() > 1 && name.back() == ':')
        name = word();
    if (name.empty() || HasLower(name))
        return {};
    size_t slash = name.find('/');
    if (slash != std::string::npos && !CLCmdManager::IsCLName(name.substr(0, slash).c_str()))
        return {};
    if (!CLCmdManager::IsCLName(name.substr(slash == std::string::npos ? 0 : slash + 1).c_str()))
        return {};
    return Trim(command);
}

std::string FormatSource(const std::string& command, size_t nWidth)
{
    nWidth = std::max<size_t>(nWidth, 20);
    std::string rest = Trim(command);
    size_t nameEnd = rest.find(' ');
    const std::string indent(std::min<size_t>(nameEnd == std::string::npos ? 0 : nameEnd + 1, 20),
                             ' ');
    std::string out, prefix;
    while (prefix.size() + rest.size() > nWidth) {
        const size_t room = nWidth - prefix.size() - 2; // the line ends in " +"
        // The last blank outside quotes that fits, between parameters if
        // possible.
        size_t best0 = std::string::npos, best = std::string::npos;
        bool bQuote = false;
        int depth = 0;
        for (size_t i = 0; i < rest.size() && i <= room; ++i) {
            char c = rest[i];
            if (c == '\'')
                bQuote = !bQuote;
            else if (!bQuote && c == '(')
                ++depth;
            else if (!bQuote && c == ')')
                --depth;
            else if (!bQuote && c == ' ' && i > 0) {
                best = i;
                if (depth == 0)
                    best0 = i;
            }
        }
        size_t cut = best0 != std::string::npos && best0 > room / 3 ? best0 : best;
        if (cut != std::string::npos) {
            out += prefix + rest.substr(0, cut) + " +\n";
            rest = Trim(rest.substr(cut + 1));
        } else {
            // One long word or quoted string: "+" joins it with the next
            // line's first non-blank character, so the cut goes before one.
            size_t p = std::min(rest.size() - 1, room + 1);
            while (p > 0 && IsBlank(rest[p]))
                --p;
            if (p == 0)
                break; // nothing to cut at: the line stays long
            out += prefix + rest.substr(0, p) + "+\n";
            rest = rest.substr(p);
        }
        prefix = indent;
    }
    return out + prefix + rest;
}

} // namespace CLCommandString
