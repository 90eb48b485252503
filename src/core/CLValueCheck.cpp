#include "CLValueCheck.h"

#include "CLWords.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string JoinList(const std::vector<std::string>& v, const char* sep = ", ")
{
    std::string out;
    for (size_t i = 0; i < v.size(); ++i)
        out += (i ? sep : "") + v[i];
    return out;
}

std::string NumberText(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

bool Contains(const std::vector<std::string>& v, const std::string& s)
{
    return std::find(v.begin(), v.end(), s) != v.end();
}

bool IsUnchecked(const CLValue& e)
{
    // Variables, expressions (%SST(...), WORD(...)) and lists in parentheses.
    return e.kind == CLValue::List || e.kind == CLValue::Call ||
           (e.kind == CLValue::Word && CLWords::IsVariable(e.text));
}

// A quoted string that CL takes for a name: a name in any case, or a short
// text without the characters quoted names exclude.
bool IsQuotedNameText(const std::string& text, size_t nMax)
{
    if (CLWords::IsName(Upper(text), nMax))
        return true;
    return !text.empty() && text.size() <= CLWords::kMaxQuotedName &&
           text.find_first_of("*?'\"") == std::string::npos;
}

// Checks one value (a word or a quoted string) against a set. where names
// the part or element it is, for the message.
class SetCheck
{
public:
    // extra: the values the parameter takes besides the set's (single
    // values, a qualified name's whole-value specials), named in messages.
    SetCheck(const CLChoiceSet& set, const std::string& keyword, const std::string& where,
             size_t nMaxText, const std::vector<std::string>& extra = {})
        : m_set(set), m_keyword(keyword), m_where(where),
          m_nMaxText(set.nMaxLength ? set.nMaxLength : nMaxText), m_specials(extra)
    {
        for (const std::string& v : set.specials)
            if (!Contains(m_specials, v))
                m_specials.push_back(v);
    }

    std::string Run(const CLValue& e) const
    {
        if (m_set.bOpen || IsUnchecked(e))
            return {};
        if (m_set.kinds == 0 && m_set.specials.empty() && m_set.ranges.empty() &&
            m_set.literals.empty())
            return {};
        return e.kind == CLValue::Quoted ? Quoted(e.text) : Word(e.text);
    }

private:
    bool Has(unsigned kinds) const { return (m_set.kinds & kinds) != 0; }
    size_t MaxName() const { return m_set.nMaxLength ? m_set.nMaxLength : CLWords::kMaxName; }
    bool TakesAnyText() const
    {
        return Has(CLChoiceSet::kText | CLChoiceSet::kPath | CLChoiceSet::kFree);
    }

    std::string Say(const std::string& shown, const std::string& what) const
    {
        return m_keyword + ": " + shown + (m_where.empty() ? "" : " (" + m_where + ")") + " " +
               what + ".";
    }

    std::string Listed() const
    {
        std::vector<std::string> all = m_specials;
        all.insert(all.end(), m_set.literals.begin(), m_set.literals.end());
        return JoinList(all);
    }

    std::string Length(size_t n) const
    {
        if (m_nMaxText == 0 || n <= m_nMaxText || !Has(CLChoiceSet::kText))
            return {};
        return m_keyword + ": the text is " + std::to_string(n) + " characters long; at most " +
               std::to_string(m_nMaxText) + " are allowed.";
    }

    std::string Ranges() const
    {
        std::vector<std::string> ranges;
        for (const auto& [lo, hi] : m_set.ranges)
            ranges.push_back(NumberText(lo) + "-" + NumberText(hi));
        return JoinList(ranges);
    }

    std::string Number(const std::string& shown, double v) const
    {
        if (m_set.ranges.empty())
            return {};
        for (const auto& [lo, hi] : m_set.ranges)
            if (v >= lo && v <= hi)
                return {};
        return Say(shown, "is outside " + Ranges());
    }

    std::string Word(const std::string& w) const
    {
        if (Contains(m_set.specials, w) || Contains(m_set.literals, w))
            return {};
        if (CLWords::IsSpecialValue(w)) {
            // A character value that lists no special values takes *WORD as
            // text (ADDTCPSVR SVRSPCVAL(*MYSVR)).
            if (m_specials.empty() && TakesAnyText())
                return Length(w.size());
            if (m_set.IsClosed())
                return Say(w, "is not one of " + Listed());
            if (m_specials.empty())
                return Say(w, "is not allowed: " + m_keyword + " takes no special values here");
            return Say(w, "is not one of its special values " + JoinList(m_specials));
        }
        double v;
        if (CLWords::ParseNumber(w, &v)) {
            if (!m_set.ranges.empty())
                return Number(w, v);
            if (Has(CLChoiceSet::kNumber) || TakesAnyText())
                return Length(w.size());
        } else if (TakesAnyText()) {
            return Length(w.size());
        }
        if (Has(CLChoiceSet::kName | CLChoiceSet::kGeneric)) {
            const size_t nMax = MaxName();
            const bool bGeneric = Has(CLChoiceSet::kGeneric) && w.size() > 1 && w.back() == '*' &&
                                  CLWords::IsName(w.substr(0, w.size() - 1), nMax - 1);
            if (CLWords::IsName(w, nMax) || CLWords::IsQuotedName(w) || bGeneric)
                return {};
            if (CLWords::IsName(w, 1000) ||
                (w.back() == '*' && CLWords::IsName(w.substr(0, w.size() - 1), 1000)))
                return Say(w, "is longer than " + std::to_string(nMax) +
                                  " characters, the most a name has here");
            return Say(w, "is not a valid name");
        }
        if (Has(CLChoiceSet::kVariable))
            return Say(w, "is not a CL variable name; one begins with &");
        if (!m_set.ranges.empty() || Has(CLChoiceSet::kNumber))
            return Say(w, "is not a number" + (m_set.ranges.empty() ? "" : " in " + Ranges()) +
                              (m_specials.empty() ? "" : " or one of " + Listed()));
        if (m_set.IsClosed())
            return Say(w, "is not one of " + Listed());
        return {};
    }

    std::string Quoted(const std::string& text) const
    {
        const std::string shown = CLCommandString::Quote(text);
        if (Contains(m_set.literals, shown))
            return {};
        if (TakesAnyText())
            return Length(text.size());
        if (Has(CLChoiceSet::kName | CLChoiceSet::kGeneric))
            return IsQuotedNameText(text, MaxName()) ? std::string()
                                                     : Say(shown, "is not a valid name");
        if (Has(CLChoiceSet::kVariable))
            return Say(shown, "is not a CL variable name; one begins with &");
        double v;
        if (!m_set.ranges.empty() || Has(CLChoiceSet::kNumber))
            return CLWords::ParseNumber(text, &v) ? Number(shown, v)
                                                  : Say(shown, "is not a number");
        if (m_set.IsClosed())
            return Say(shown, "is not one of " + Listed());
        return {};
    }

    const CLChoiceSet& m_set;
    const std::string& m_keyword;
    const std::string m_where;
    const size_t m_nMaxText;
    std::vector<std::string> m_specials; // extra ones first
};

// One value against a simple or qualified form; singles as for SetCheck.
std::string CheckForm(const CLValueForm& form, const std::string& keyword, const CLValue& e,
                      size_t nMaxText, const std::vector<std::string>& singles)
{
    const std::string where = form.label;
    if (form.qualifiers.empty())
        return SetCheck(form.value, keyword, where, nMaxText, singles).Run(e);
    if (IsUnchecked(e) || e.kind != CLValue::Word)
        return {};
    const std::vector<std::string> parts = CLWords::Parts(e.text);
    const size_t nMax = form.qualifiers.size();
    if (parts.size() == 1) {
        if (Contains(form.value.specials, e.text) || Contains(form.value.literals, e.text))
            return {};
        // The object alone, or a special value of the whole name.
        std::vector<std::string> whole = singles;
        whole.insert(whole.end(), form.value.specials.begin(), form.value.specials.end());
        const CLChoiceSet& object = form.qualifiers[0];
        return SetCheck(object, keyword, object.label, nMaxText, whole).Run(e);
    }
    if (std::any_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); }))
        return keyword + ": " + e.text + " is not a qualified name.";
    if (parts.size() > nMax) {
        std::vector<std::string> labels;
        for (size_t i = nMax; i-- > 0;)
            labels.push_back(form.qualifiers[i].label);
        return keyword + ": " + e.text + " has " + std::to_string(parts.size()) +
               " parts; at most " + std::to_string(nMax) + " are allowed (" +
               JoinList(labels, "/") + ").";
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        const CLChoiceSet& q = form.qualifiers[i];
        CLValue part;
        part.text = parts[parts.size() - 1 - i];
        std::string problem = SetCheck(q, keyword, q.label, nMaxText).Run(part);
        if (!problem.empty())
            return problem;
    }
    return {};
}

// Whether some value of the list takes the word, too.
bool TakenByOthers(const CLChoices& c, const std::string& word)
{
    for (const CLValueForm& f : c.forms) {
        if (Contains(f.value.specials, word) || Contains(f.value.literals, word))
            return true;
        for (const CLChoiceSet& q : f.qualifiers)
            if (Contains(q.specials, word))
                return true;
    }
    return false;
}

// The values of a list: the repetitions, each the elements of one value.
std::vector<std::vector<CLValue>> Repetitions(const CLChoices& c,
                                              const std::vector<CLValue>& elements)
{
    std::vector<std::vector<CLValue>> reps;
    if (!c.bElements) {
        for (const CLValue& e : elements)
            reps.push_back({e});
        return reps;
    }
    const bool bAnyList = std::any_of(elements.begin(), elements.end(),
                                      [](const CLValue& e) { return e.kind == CLValue::List; });
    if (c.nMaxValues == 1 || !bAnyList) {
        // KEYWORD(A B) or KEYWORD((A B)): one value's elements.
        if (elements.size() == 1 && elements[0].kind == CLValue::List)
            reps.push_back(elements[0].items);
        else
            reps.push_back(elements);
        return reps;
    }
    for (const CLValue& e : elements)
        reps.push_back(e.kind == CLValue::List ? e.items : std::vector<CLValue>{e});
    return reps;
}

} // namespace

namespace CLValueCheck {

std::string Check(const CLChoices& c, const std::string& keyword,
                  const std::vector<CLValue>& elements, size_t nMaxText)
{
    if (!c.bKnown || elements.empty() || c.forms.empty())
        return {};
    // An expression (&A *CAT &B, &N + 1) is not checked against lists.
    if (elements.size() > 1 && std::any_of(elements.begin(), elements.end(), [](const CLValue& e) {
            return e.kind == CLValue::Word && CLWords::IsOperator(e.text);
        }))
        return {};
    if (elements.size() == 1 && elements[0].kind == CLValue::Word &&
        Contains(c.singles, elements[0].text))
        return {};
    // A single value given with others, where the others do not take it too.
    if (elements.size() > 1)
        for (const CLValue& e : elements)
            if (e.kind == CLValue::Word && Contains(c.singles, e.text) && !TakenByOthers(c, e.text))
                return keyword + ": " + e.text + " cannot be given with other values.";

    const std::vector<std::vector<CLValue>> reps = Repetitions(c, elements);
    if (c.nMaxValues > 1 && reps.size() > c.nMaxValues)
        return keyword + ": " + std::to_string(reps.size()) + " values are given; at most " +
               std::to_string(c.nMaxValues) + " are allowed.";
    for (const std::vector<CLValue>& rep : reps) {
        if (!c.bElements) {
            std::string problem = CheckForm(c.forms[0], keyword, rep[0], nMaxText, c.singles);
            if (!problem.empty())
                return problem;
            continue;
        }
        if (rep.size() > c.forms.size()) {
            std::vector<std::string> labels;
            for (const CLValueForm& f : c.forms)
                labels.push_back(f.label);
            return keyword + ": " + std::to_string(rep.size()) + " elements are given; it has " +
                   std::to_string(c.forms.size()) + " (" + JoinList(labels) + ").";
        }
        for (size_t i = 0; i < rep.size(); ++i) {
            std::string problem = CheckForm(c.forms[i], keyword, rep[i], nMaxText, {});
            if (!problem.empty())
                return problem;
        }
    }
    return {};
}

} // namespace CLValueCheck
