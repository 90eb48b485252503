#include "CLLint.h"

#include "CLPrompt.h"

#include <algorithm>
#include <map>

namespace {

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '$' ||
           c == '#' || c == '@' || c == '_';
}

bool IsLoop(const std::string& name)
{
    return name == "DOWHILE" || name == "DOUNTIL" || name == "DOFOR";
}

bool IsDo(const std::string& name)
{
    return name == "DO" || IsLoop(name);
}

bool IsDeclare(const std::string& name)
{
    return name == "DCL" || name == "DCLF" || name == "COPYRIGHT" || name == "DCLPRCOPT";
}

// The commands of CL programs whose rules this checker knows itself: never
// unknown, even to a reference that lacks them.
bool IsProgramCommand(const std::string& name)
{
    static const char* const kNames[] = {
        "PGM",     "ENDPGM",   "DCL",     "DCLF",    "COPYRIGHT", "DCLPRCOPT", "INCLUDE",
        "IF",      "ELSE",     "DO",      "DOWHILE", "DOUNTIL",   "DOFOR",     "ENDDO",
        "LEAVE",   "ITERATE",  "SELECT",  "WHEN",    "OTHERWISE", "ENDSELECT", "SUBR",
        "ENDSUBR", "CALLSUBR", "RTNSUBR", "GOTO",    "MONMSG",    "CHGVAR",    "RETURN"};
    for (const char* n : kNames)
        if (name == n)
            return true;
    return false;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The value of a parameter as one word (a label, a subroutine name), or empty.
std::string Word(const CLParsedCommand& c, const char* keyword, int position)
{
    const CLParsedParam* p = CLSrcCommand::Param(c, keyword, position);
    if (!p || p->elements.size() != 1 || p->elements[0].kind != CLValue::Word)
        return {};
    return p->elements[0].text;
}

struct Group
{
    std::string name; // DO, DOWHILE, DOUNTIL, DOFOR, SELECT or SUBR
    std::vector<std::string> labels;
    CLSrcPos begin, end;
    bool bFromIf = false;    // a DO that an IF runs: ELSE may follow its ENDDO
    bool bOtherwise = false; // a SELECT that has had its OTHERWISE
};

class Checker
{
public:
    Checker(const CLSource& src, const CLProgram& prog, const CLLint::Lookup& lookup)
        : m_src(src), m_prog(prog), m_lookup(lookup)
    {
    }

    std::vector<CLDiagnostic> Run()
    {
        for (const CLSrcProblem& p : m_src.problems)
            Add(CLDiagnostic::Error, p.pos, {p.pos.line, p.pos.col + 1}, p.message, "syntax");
        for (const CLSrcCommand& c : m_prog.commands)
            Statement(c);
        for (const Group& g : m_stack)
            Unclosed(g);
        Labels();
        Variables();
        std::sort(m_out.begin(), m_out.end());
        return std::move(m_out);
    }

private:
    void Add(CLDiagnostic::Severity sev, CLSrcPos b, CLSrcPos e, std::string msg, const char* code)
    {
        m_out.push_back({sev, b, e, std::move(msg), code});
    }

    // The range of a statement's command name.
    void NameRange(const CLSrcStatement& s, CLSrcPos* pB, CLSrcPos* pE) const
    {
        size_t n = 0;
        while (n < s.text.size() && s.text[n] != ' ' && s.text[n] != '(')
            ++n;
        *pB = s.Pos(0);
        *pE = s.Pos(n > 0 ? n - 1 : 0);
        ++pE->col;
    }

    // The range of a keyword's first appearance in a statement, else of its command name.
    void KeywordRange(const CLSrcStatement& s, const std::string& keyword, CLSrcPos* pB,
                      CLSrcPos* pE) const
    {
        bool bQuote = false;
        const std::string text = Upper(s.text);
        for (size_t i = 0; !keyword.empty() && i + keyword.size() <= text.size(); ++i) {
            if (text[i] == '\'')
                bQuote = !bQuote;
            if (bQuote || text.compare(i, keyword.size(), keyword) != 0)
                continue;
            if ((i > 0 && (IsNameChar(text[i - 1]) || text[i - 1] == '&' || text[i - 1] == '*')) ||
                (i + keyword.size() < text.size() && IsNameChar(text[i + keyword.size()])))
                continue;
            *pB = s.Pos(i);
            *pE = s.Pos(i + keyword.size() - 1);
            ++pE->col;
            return;
        }
        // A value rather than a keyword: where its text stands.
        const bool bName = std::all_of(keyword.begin(), keyword.end(), IsNameChar);
        const size_t at = bName ? std::string::npos : s.text.find(keyword);
        if (at != std::string::npos) {
            *pB = s.Pos(at);
            *pE = s.Pos(at + keyword.size() - 1);
            ++pE->col;
            return;
        }
        NameRange(s, pB, pE);
    }

    void AtName(const CLSrcStatement& s, CLDiagnostic::Severity sev, std::string msg,
                const char* code)
    {
        CLSrcPos b, e;
        NameRange(s, &b, &e);
        Add(sev, b, e, std::move(msg), code);
    }

    void Statement(const CLSrcCommand& c)
    {
        const CLSrcStatement& s = m_src.statements[c.statement];
        const std::string name = c.bParsed ? c.parsed.name : s.CommandName();
        if (!c.bParsed)
            AtName(s, CLDiagnostic::Error, c.why, "syntax");
        if (m_bAfterEnd && !m_bReportedAfterEnd) {
            AtName(s, CLDiagnostic::Error, "Nothing may follow ENDPGM.", "after-endpgm");
            m_bReportedAfterEnd = true;
        }
        Order(s, name);
        const bool bAfterIf = m_bAfterIf;
        m_bAfterIf = false;
        Structure(s, name, c, bAfterIf);
        if (c.bParsed)
            Parameters(s, c.parsed, s.text);
        if (!c.inner.name.empty())
            Parameters(s, c.inner, c.innerText);
    }

    // PGM first, the declare commands next, then the rest; after the first
    // SUBR only subroutines.
    void Order(const CLSrcStatement& s, const std::string& name)
    {
        if (name == "PGM") {
            if (m_bSeenAny)
                AtName(s, CLDiagnostic::Error, "PGM must be the first command of the program.",
                       "pgm-first");
        } else if (IsDeclare(name)) {
            if (m_bSeenOther)
                AtName(s, CLDiagnostic::Error,
                       name + " comes after other commands: the declare commands (DCL, DCLF, "
                              "COPYRIGHT, DCLPRCOPT) must precede every command but PGM.",
                       "declare-order");
        } else if (name != "INCLUDE") {
            m_bSeenOther = true;
        }
        m_bSeenAny = true;
        if (m_bSubroutines && name != "SUBR" && name != "ENDSUBR" && name != "ENDPGM" &&
            !InSubroutine())
            AtName(s, CLDiagnostic::Error,
                   "After the first SUBR, every command but ENDPGM must be inside a subroutine.",
                   "outside-subroutine");
    }

    bool InSubroutine() const
    {
        return std::any_of(m_stack.begin(), m_stack.end(),
                           [](const Group& g) { return g.name == "SUBR"; });
    }

    void Push(const CLSrcStatement& s, const std::string& name, bool bFromIf)
    {
        Group g;
        g.name = name;
        for (const CLSrcLabel& l : s.labels)
            g.labels.push_back(l.name);
        NameRange(s, &g.begin, &g.end);
        g.bFromIf = bFromIf;
        m_stack.push_back(std::move(g));
    }

    void Unclosed(const Group& g)
    {
        const char* end = g.name == "SELECT" ? "ENDSELECT" : g.name == "SUBR" ? "ENDSUBR" : "ENDDO";
        Add(CLDiagnostic::Error, g.begin, g.end,
            g.name + " (line " + std::to_string(g.begin.line + 1) + ") is not ended by " + end +
                ".",
            "unclosed-group");
    }

    // Closes the innermost group that a closing command ends; groups left open
    // inside it are reported. False when there is none to close.
    bool Close(bool (*matches)(const std::string&))
    {
        for (size_t i = m_stack.size(); i-- > 0;) {
            if (matches(m_stack[i].name)) {
                for (size_t k = i + 1; k < m_stack.size(); ++k)
                    Unclosed(m_stack[k]);
                m_stack.resize(i);
                return true;
            }
            if (m_stack[i].name == "SUBR")
                return false; // a group never spans a subroutine's end
        }
        return false;
    }

    // A command an IF, ELSE, WHEN, OTHERWISE or MONMSG runs.
    void Inner(const CLSrcStatement& s, const CLParsedCommand& inner, bool bFromIf)
    {
        if (IsDo(inner.name)) {
            Push(s, inner.name, bFromIf);
        } else if (inner.name == "IF") { // ELSE CMD(IF ...): an ELSE may follow it in turn
            const CLParsedParam* then = CLSrcCommand::Param(inner, "THEN", 2);
            CLParsedCommand run;
            std::string why;
            if (then && CLCommandString::Parse(then->ValueText(), &run, &why) && IsDo(run.name))
                Push(s, run.name, true);
            else
                m_bAfterIf = true;
            if (then)
                Jumps(s, run);
        } else {
            Jumps(s, inner);
        }
    }

    // GOTO, CALLSUBR, LEAVE and ITERATE, as statements or run by another command.
    void Jumps(const CLSrcStatement& s, const CLParsedCommand& c)
    {
        if (c.name == "GOTO") {
            const std::string label = Word(c, "CMDLBL", 1);
            if (!label.empty())
                m_gotos.push_back({&s, label});
        } else if (c.name == "CALLSUBR") {
            const std::string sub = Word(c, "SUBR", 1);
            if (!sub.empty())
                m_calls.push_back({&s, sub});
        } else if (c.name == "LEAVE" || c.name == "ITERATE") {
            std::vector<const Group*> loops;
            for (size_t i = m_stack.size(); i-- > 0 && m_stack[i].name != "SUBR";)
                if (IsLoop(m_stack[i].name))
                    loops.push_back(&m_stack[i]);
            if (loops.empty()) {
                AtName(s, CLDiagnostic::Error,
                       c.name + " is valid only inside a DOWHILE, DOUNTIL or DOFOR group.",
                       "outside-loop");
                return;
            }
            const std::string label = Word(c, "CMDLBL", 1);
            if (label.empty() || label == "*CURRENT")
                return;
            for (const Group* g : loops)
                if (std::find(g->labels.begin(), g->labels.end(), label) != g->labels.end())
                    return;
            CLSrcPos b, e;
            KeywordRange(s, label, &b, &e);
            Add(CLDiagnostic::Error, b, e,
                label + " is not the label of a DOWHILE, DOUNTIL or DOFOR group around this " +
                    c.name + ".",
                "unknown-loop-label");
        }
    }

    void Structure(const CLSrcStatement& s, const std::string& name, const CLSrcCommand& c,
                   bool bAfterIf)
    {
        if (IsDo(name)) {
            Push(s, name, false);
        } else if (name == "ENDDO") {
            const bool bFromIf =
                !m_stack.empty() && IsDo(m_stack.back().name) && m_stack.back().bFromIf;
            if (!Close(IsDo))
                AtName(s, CLDiagnostic::Error, "ENDDO has no DO group to end.", "unmatched-enddo");
            m_bAfterIf = bFromIf;
        } else if (name == "SELECT") {
            Push(s, name, false);
        } else if (name == "WHEN" || name == "OTHERWISE") {
            if (m_stack.empty() || m_stack.back().name != "SELECT") {
                AtName(s, CLDiagnostic::Error,
                       name + " is valid only directly inside a SELECT group.", "outside-select");
            } else if (m_stack.back().bOtherwise) {
                AtName(s, CLDiagnostic::Error, name + " follows the OTHERWISE of its SELECT group.",
                       "after-otherwise");
            } else if (name == "OTHERWISE") {
                m_stack.back().bOtherwise = true;
            }
        } else if (name == "ENDSELECT") {
            if (!Close([](const std::string& n) { return n == "SELECT"; }))
                AtName(s, CLDiagnostic::Error, "ENDSELECT has no SELECT group to end.",
                       "unmatched-endselect");
        } else if (name == "SUBR") {
            if (InSubroutine())
                AtName(s, CLDiagnostic::Error,
                       "Subroutines cannot be nested: ENDSUBR must end the current one first.",
                       "nested-subroutine");
            for (const Group& g : m_stack)
                if (g.name != "SUBR")
                    Unclosed(g);
            m_stack.clear();
            Push(s, name, false);
            m_bSubroutines = true;
        } else if (name == "ENDSUBR") {
            if (!Close([](const std::string& n) { return n == "SUBR"; }))
                AtName(s, CLDiagnostic::Error, "ENDSUBR has no SUBR to end.", "unmatched-endsubr");
        } else if (name == "ENDPGM") {
            for (const Group& g : m_stack)
                Unclosed(g);
            m_stack.clear();
            m_bAfterEnd = true;
        } else if (name == "ELSE" && !bAfterIf) {
            AtName(s, CLDiagnostic::Error,
                   "ELSE must follow an IF, or the ENDDO of the DO group an IF runs.",
                   "else-without-if");
        }
        if (!c.bParsed)
            return;
        if (name == "IF" && c.inner.name.empty())
            m_bAfterIf = true; // IF without a command to run, or one that does not parse
        if (!c.inner.name.empty()) {
            const bool bIf = name == "IF";
            if (bIf && !IsDo(c.inner.name))
                m_bAfterIf = true;
            Inner(s, c.inner, bIf);
        } else {
            Jumps(s, c.parsed);
        }
    }

    // The command's parameters against its record.
    void Parameters(const CLSrcStatement& s, const CLParsedCommand& c, const std::string& text)
    {
        const CLCmdRecord* pRec = m_lookup ? m_lookup(c.name) : nullptr;
        if (!pRec && !IsProgramCommand(c.name)) {
            CLSrcPos b, e;
            KeywordRange(s, c.name, &b, &e);
            Add(CLDiagnostic::Warning, b, e, c.name + " is not a command of this reference.",
                "unknown-command");
            return;
        }
        if (!pRec || pRec->dwParamCount == 0)
            return; // only its name and title are known
        CLPrompt prompt(*pRec);
        std::vector<CLGivenParam> given;
        std::vector<CLPromptProblem> problems;
        std::string why;
        // A label inside a command string run by another command is no matter here.
        if (!prompt.Explain(text, &given, &problems, &why)) {
            AtName(s, CLDiagnostic::Error, why, "syntax");
            return;
        }
        for (const CLPromptProblem& p : problems) {
            // A problem of no parameter (a surplus positional value) points at
            // the value it quotes before its colon.
            const std::string where =
                !p.keyword.empty() ? p.keyword : p.text.substr(0, p.text.find(':'));
            CLSrcPos b, e;
            KeywordRange(s, where, &b, &e);
            Add(p.bNote ? CLDiagnostic::Note : CLDiagnostic::Error, b, e, c.name + " " + p.text,
                p.bNote ? "unlisted-parameter" : "parameter");
        }
    }

    void Labels()
    {
        std::map<std::string, int> seen;
        for (const CLSrcSymbol& l : m_prog.labels)
            if (++seen[l.name] == 2)
                Add(CLDiagnostic::Error, l.begin, l.end,
                    "The label " + l.name + " is defined twice.", "duplicate-label");
        for (const auto& [pStmt, label] : m_gotos)
            if (!seen.count(label)) {
                CLSrcPos b, e;
                KeywordRange(*pStmt, label, &b, &e);
                Add(CLDiagnostic::Error, b, e,
                    "GOTO names the label " + label + ", which does not exist.", "unknown-label");
            }
        for (const auto& [pStmt, sub] : m_calls)
            if (!m_prog.FindSubroutine(sub)) {
                CLSrcPos b, e;
                KeywordRange(*pStmt, sub, &b, &e);
                Add(CLDiagnostic::Error, b, e,
                    "CALLSUBR names the subroutine " + sub + ", which is not defined.",
                    "unknown-subroutine");
            }
    }

    void Variables()
    {
        std::map<std::string, int> declared, used;
        for (const CLSrcSymbol& d : m_prog.declared)
            if (++declared[d.name] == 2)
                Add(CLDiagnostic::Error, d.begin, d.end, d.name + " is declared twice.",
                    "duplicate-variable");
        for (const CLSrcSymbol& u : m_prog.uses) {
            ++used[u.name];
            if (!declared.count(u.name) && !m_prog.bFileVariables)
                Add(CLDiagnostic::Error, u.begin, u.end, u.name + " is not declared.",
                    "undeclared-variable");
        }
        for (const CLSrcSymbol& d : m_prog.declared)
            if (!used.count(d.name))
                Add(CLDiagnostic::Note, d.begin, d.end, d.name + " is declared but never used.",
                    "unused-variable");
    }

    const CLSource& m_src;
    const CLProgram& m_prog;
    const CLLint::Lookup& m_lookup;
    std::vector<CLDiagnostic> m_out;
    std::vector<Group> m_stack;
    std::vector<std::pair<const CLSrcStatement*, std::string>> m_gotos, m_calls;
    bool m_bAfterIf = false;
    bool m_bSeenAny = false, m_bSeenOther = false;
    bool m_bSubroutines = false;
    bool m_bAfterEnd = false, m_bReportedAfterEnd = false;
};

} // namespace

std::vector<CLDiagnostic> CLLint::Check(const CLSource& src, const CLProgram& prog) const
{
    return Checker(src, prog, m_lookup).Run();
}
