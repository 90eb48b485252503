#include "CLProgram.h"

namespace {

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '$' ||
           c == '#' || c == '@' || c == '_';
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The commands whose parameter runs another command, and where it stands.
struct InnerParam
{
    const char* command;
    const char* keyword;
    int position;
};
constexpr InnerParam kInner[] = {{"IF", "THEN", 2},
                                 {"ELSE", "CMD", 1},
                                 {"WHEN", "THEN", 2},
                                 {"OTHERWISE", "CMD", 1},
                                 {"MONMSG", "EXEC", 3}};

// Calls f(offset, length) for each &name in text outside quoted strings.
template <class F> void ForEachVariable(const std::string& text, F f)
{
    bool bQuote = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'') {
            bQuote = !bQuote; // a doubled apostrophe toggles twice
            continue;
        }
        if (bQuote || c != '&' || i + 1 >= text.size() || !IsNameChar(text[i + 1]))
            continue;
        size_t e = i + 1;
        while (e < text.size() && IsNameChar(text[e]))
            ++e;
        f(i, e - i);
        i = e - 1;
    }
}

// The offset of a word (any case, whole) in text outside quoted strings, from
// offset from on; npos when it is not there.
size_t FindWord(const std::string& text, const std::string& word, size_t from)
{
    bool bQuote = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') {
            bQuote = !bQuote;
            continue;
        }
        if (bQuote || i < from || i + word.size() > text.size())
            continue;
        if (i > 0 && (IsNameChar(text[i - 1]) || text[i - 1] == '&'))
            continue;
        if (Upper(text.substr(i, word.size())) != word)
            continue;
        if (i + word.size() < text.size() && IsNameChar(text[i + word.size()]))
            continue;
        return i;
    }
    return std::string::npos;
}

CLSrcSymbol Symbol(const CLSrcStatement& s, size_t statement, const std::string& name,
                   size_t offset)
{
    CLSrcSymbol sym;
    sym.name = name;
    sym.statement = statement;
    if (offset == std::string::npos) {
        sym.begin = s.Pos(0);
        sym.end = s.end;
    } else {
        sym.begin = s.Pos(offset);
        sym.end = s.Pos(offset + name.size() - 1);
        ++sym.end.col;
    }
    return sym;
}

} // namespace

const CLParsedParam* CLSrcCommand::Param(const CLParsedCommand& c, const char* keyword,
                                         int position)
{
    for (const CLParsedParam& p : c.params)
        if (p.keyword.empty() ? p.position == position : p.keyword == keyword)
            return &p;
    return nullptr;
}

CLProgram CLProgram::Build(const CLSource& src)
{
    CLProgram prog;
    for (size_t i = 0; i < src.statements.size(); ++i) {
        const CLSrcStatement& s = src.statements[i];
        for (const CLSrcLabel& l : s.labels) {
            CLSrcSymbol sym;
            sym.name = l.name;
            sym.begin = l.pos;
            sym.end = {l.pos.line, l.pos.col + static_cast<int>(l.name.size())};
            sym.statement = i;
            prog.labels.push_back(sym);
        }
        if (s.text.empty())
            continue;
        CLSrcCommand c;
        c.statement = i;
        c.bParsed = CLCommandString::Parse(s.text, &c.parsed, &c.why);
        const std::string name = c.bParsed ? c.parsed.name : s.CommandName();
        size_t declaredAt = std::string::npos;
        if (c.bParsed) {
            for (const InnerParam& ip : kInner) {
                if (name != ip.command)
                    continue;
                if (const CLParsedParam* p =
                        CLSrcCommand::Param(c.parsed, ip.keyword, ip.position)) {
                    c.innerText = p->ValueText();
                    std::string why;
                    if (!CLCommandString::Parse(c.innerText, &c.inner, &why))
                        c.inner = CLParsedCommand();
                }
            }
            if (name == "DCL") {
                const CLParsedParam* p = CLSrcCommand::Param(c.parsed, "VAR", 1);
                if (p && p->elements.size() == 1 && p->elements[0].text.size() > 1 &&
                    p->elements[0].text[0] == '&') {
                    const std::string var = p->elements[0].text;
                    declaredAt = FindWord(s.text, var, 0);
                    prog.declared.push_back(Symbol(s, i, var, declaredAt));
                }
            } else if (name == "DCLF") {
                prog.bFileVariables = true;
            } else if (name == "SUBR") {
                const CLParsedParam* p = CLSrcCommand::Param(c.parsed, "SUBR", 1);
                if (p && p->elements.size() == 1) {
                    const std::string sub = p->elements[0].text;
                    prog.subroutines.push_back(Symbol(s, i, sub, FindWord(s.text, sub, 4)));
                }
            }
        }
        ForEachVariable(s.text, [&](size_t at, size_t len) {
            if (at == declaredAt)
                return;
            prog.uses.push_back(Symbol(s, i, Upper(s.text.substr(at, len)), at));
        });
        prog.commands.push_back(std::move(c));
    }
    return prog;
}

const CLSrcSymbol* CLProgram::FindDeclared(const std::string& name) const
{
    for (const CLSrcSymbol& s : declared)
        if (s.name == name)
            return &s;
    return nullptr;
}

const CLSrcSymbol* CLProgram::FindLabel(const std::string& name) const
{
    for (const CLSrcSymbol& s : labels)
        if (s.name == name)
            return &s;
    return nullptr;
}

const CLSrcSymbol* CLProgram::FindSubroutine(const std::string& name) const
{
    for (const CLSrcSymbol& s : subroutines)
        if (s.name == name)
            return &s;
    return nullptr;
}
