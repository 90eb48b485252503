#include "CLPrompt.h"

#include "CLCmdManager.h"
#include "CLPartial.h"
#include "CLRecordUtil.h"
#include "CLValueCheck.h"
#include "CLWords.h"

#include <algorithm>

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool IsSpecialChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' || c == '#' || c == '@' ||
           c == '_';
}

bool HasText(const CLChoiceSet& set)
{
    return (set.kinds & CLChoiceSet::kText) != 0;
}

// How typed text is written for a parameter of this shape.
CLCommandString::ValueMode ModeOf(const CLPromptParam& p)
{
    using Mode = CLCommandString::ValueMode;
    const CLChoices& c = p.shape;
    if (!c.bKnown) {
        // Free words: a text unless the choices speak of lists.
        const std::string lower = Lower(p.choices);
        const bool bList = lower.find("list") != std::string::npos ||
                           lower.find("up to") != std::string::npos ||
                           lower.find("repetition") != std::string::npos ||
                           lower.find("element") != std::string::npos;
        const bool bText = lower.find("character value") != std::string::npos ||
                           lower.find("text") != std::string::npos;
        return p.keyword == "TEXT" || (bText && !bList) ? Mode::Text : Mode::List;
    }
    const bool bAnyText = std::any_of(c.forms.begin(), c.forms.end(),
                                      [](const CLValueForm& f) { return HasText(f.value); });
    if (c.bElements || c.nMaxValues > 1)
        return bAnyText ? Mode::TextList : Mode::List;
    const CLValueForm& form = c.forms[0];
    if (form.qualifiers.empty() && form.value.bOpen)
        return Mode::List; // free words such as a command string stay as typed
    if (form.qualifiers.empty() && HasText(form.value) &&
        (form.value.kinds & (CLChoiceSet::kName | CLChoiceSet::kGeneric)) == 0)
        return Mode::Text;
    return Mode::Single;
}

} // namespace

bool CLPromptProblem::AnyError(const std::vector<CLPromptProblem>& problems)
{
    return std::any_of(problems.begin(), problems.end(),
                       [](const CLPromptProblem& p) { return !p.bNote; });
}

const std::vector<CLChoiceSet>& CLPromptParam::Qualifiers() const
{
    static const std::vector<CLChoiceSet> kNone;
    if (!shape.bKnown || shape.bElements || shape.nMaxValues != 1 || shape.forms.size() != 1)
        return kNone;
    return shape.forms[0].qualifiers;
}

CLPromptParam CLPromptParam::From(const CLCmdParam& src)
{
    CLPromptParam p;
    p.keyword = FieldText(src.szKeyword);
    p.desc = FieldText(src.szDesc);
    p.choices = FieldText(src.szChoices);
    p.note = FieldText(src.szNote);

    const std::string note = Lower(p.note);
    p.bRequired = note.find("required") != std::string::npos;
    size_t at = note.find("positional");
    if (at != std::string::npos) {
        size_t i = at + 10;
        while (i < note.size() && note[i] == ' ')
            ++i;
        int n = 0;
        while (i < note.size() && note[i] >= '0' && note[i] <= '9' && n < 1000)
            n = n * 10 + (note[i++] - '0');
        p.nPositional = n;
    }

    // Every special value the text names, for offering.
    for (size_t i = 0; i < p.choices.size(); ++i) {
        if (p.choices[i] != '*' || (i > 0 && IsSpecialChar(p.choices[i - 1])))
            continue;
        size_t e = i + 1;
        while (e < p.choices.size() && IsSpecialChar(p.choices[e]))
            ++e;
        std::string v = p.choices.substr(i, e - i);
        if (std::find(p.specials.begin(), p.specials.end(), v) == p.specials.end())
            p.specials.push_back(v);
        i = e - 1;
    }

    p.shape = CLChoices::Read(p.choices);
    if (Upper(p.keyword) == "TEXT" && Lower(p.desc).find("text") != std::string::npos)
        p.nMaxText = CLPrompt::kMaxTextDescription;
    p.mode = ModeOf(p);
    return p;
}

CLPrompt::CLPrompt(const std::string& name, const CLCmdParam* pParams, size_t nParams,
                   bool bPartial)
    : m_name(name), m_bPartial(bPartial)
{
    for (size_t i = 0; i < nParams; ++i)
        m_params.push_back(CLPromptParam::From(pParams[i]));
}

CLPrompt::CLPrompt(const CLCmdRecord& rec)
    : CLPrompt(FieldText(rec.szName), rec.pParams, rec.dwParamCount)
{
    const CLPartialMarks marks = CLPartial::Of(&rec);
    m_bPartial = marks.bParameters;
    for (CLPromptParam& p : m_params)
        p.bPartialChoices =
            std::find(marks.choices.begin(), marks.choices.end(), p.keyword) != marks.choices.end();
}

const CLPromptParam* CLPrompt::Find(const std::string& keyword) const
{
    const std::string k = Upper(keyword);
    for (const CLPromptParam& p : m_params)
        if (p.keyword == k)
            return &p;
    return nullptr;
}

std::string CLPrompt::ValueText(const CLPromptParam& p, const std::string& typed)
{
    return CLCommandString::ValueText(typed, p.mode);
}

std::string CLPrompt::CheckValue(const CLPromptParam& p, const std::vector<CLValue>& elements)
{
    if (p.bPartialChoices)
        return {};
    return CLValueCheck::Check(p.shape, p.keyword, elements, p.nMaxText);
}

std::string CLPrompt::Unlisted() const
{
    return " is not listed in this reference, which holds only some of " + m_name +
           "'s parameters.";
}

void CLPrompt::CheckRequired(const std::vector<std::string>& given,
                             std::vector<CLPromptProblem>* pProblems) const
{
    for (const CLPromptParam& p : m_params)
        if (p.bRequired && std::find(given.begin(), given.end(), p.keyword) == given.end())
            pProblems->push_back({p.keyword, p.keyword + ": a value is required."});
}

std::string CLPrompt::Build(const std::vector<std::pair<std::string, std::string>>& values,
                            std::vector<CLPromptProblem>* pProblems) const
{
    std::vector<std::string> texts(m_params.size());
    std::vector<std::string> given, unlisted;
    for (const auto& [typedKeyword, value] : values) {
        const std::string keyword = Upper(typedKeyword);
        const CLPromptParam* p = Find(keyword);
        if (!p) {
            // Kept as given: a partial record does not list every keyword.
            const bool bName = CLCmdManager::IsCLName(keyword.c_str());
            if (m_bPartial && bName)
                pProblems->push_back({keyword, keyword + ": this keyword" + Unlisted(), true});
            else
                pProblems->push_back(
                    {keyword, keyword + ": " + m_name + " has no such parameter."});
            const std::string text =
                CLCommandString::ValueText(value, CLCommandString::ValueMode::List);
            if (bName && !text.empty())
                unlisted.push_back(keyword + "(" + text + ")");
            continue;
        }
        std::string text = ValueText(*p, value);
        if (text.empty())
            continue;
        if (std::find(given.begin(), given.end(), p->keyword) != given.end())
            pProblems->push_back({p->keyword, p->keyword + ": given twice."});
        given.push_back(p->keyword);
        texts[static_cast<size_t>(p - m_params.data())] = text;
    }
    std::string out = m_name;
    for (size_t i = 0; i < m_params.size(); ++i) {
        if (texts[i].empty())
            continue;
        const std::string part = m_params[i].keyword + "(" + texts[i] + ")";
        out += " " + part;
        CLParsedCommand parsed;
        std::string why;
        if (!CLCommandString::Parse("X " + part, &parsed, &why)) {
            pProblems->push_back({m_params[i].keyword, m_params[i].keyword + ": " + why});
            continue;
        }
        std::string problem = CheckValue(m_params[i], parsed.params[0].elements);
        if (!problem.empty())
            pProblems->push_back({m_params[i].keyword, problem});
    }
    for (const std::string& part : unlisted)
        out += " " + part;
    CheckRequired(given, pProblems);
    return out;
}

bool CLPrompt::Explain(const std::string& text, std::vector<CLGivenParam>* pGiven,
                       std::vector<CLPromptProblem>* pProblems, std::string* pWhy) const
{
    pGiven->clear();
    pProblems->clear();
    CLParsedCommand parsed;
    if (!CLCommandString::Parse(text, &parsed, pWhy))
        return false;
    if (parsed.name != m_name) {
        *pWhy = "The command is " + parsed.name + ", not " + m_name + ".";
        return false;
    }
    for (const std::string& p : parsed.problems)
        pProblems->push_back({"", p});

    std::vector<const CLPromptParam*> positional;
    for (const CLPromptParam& p : m_params)
        if (p.nPositional > 0)
            positional.push_back(&p);
    std::stable_sort(positional.begin(), positional.end(),
                     [](const CLPromptParam* a, const CLPromptParam* b) {
                         return a->nPositional < b->nPositional;
                     });

    std::vector<std::string> given;
    for (const CLParsedParam& pp : parsed.params) {
        CLGivenParam g;
        g.value = pp.ValueText();
        g.position = pp.position;
        const CLPromptParam* p = nullptr;
        if (pp.keyword.empty()) {
            if (static_cast<size_t>(pp.position) <= positional.size()) {
                p = positional[static_cast<size_t>(pp.position) - 1];
            } else if (m_bPartial) {
                g.bUnlisted = true;
                pProblems->push_back({"",
                                      g.value + ": the parameter at position " +
                                          std::to_string(pp.position) + Unlisted(),
                                      true});
            } else {
                pProblems->push_back({"", g.value + ": " + m_name + " takes only " +
                                              std::to_string(positional.size()) +
                                              (positional.size() == 1 ? " value" : " values") +
                                              " without a keyword."});
            }
        } else {
            g.keyword = pp.keyword;
            p = Find(pp.keyword);
            if (!p && m_bPartial) {
                g.bUnlisted = true;
                pProblems->push_back(
                    {pp.keyword, pp.keyword + ": this keyword" + Unlisted(), true});
            } else if (!p) {
                pProblems->push_back(
                    {pp.keyword, pp.keyword + ": " + m_name + " has no such parameter."});
            }
        }
        if (p) {
            g.keyword = p->keyword;
            g.desc = p->desc;
            g.bKnown = true;
            if (std::find(given.begin(), given.end(), p->keyword) != given.end())
                pProblems->push_back({p->keyword, p->keyword + ": given twice."});
            given.push_back(p->keyword);
            std::string problem = CheckValue(*p, pp.elements);
            if (!problem.empty())
                pProblems->push_back({p->keyword, problem});
        }
        pGiven->push_back(std::move(g));
    }
    CheckRequired(given, pProblems);
    return true;
}
