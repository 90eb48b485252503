#include "CLPrompt.h"

#include "CLRecordUtil.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

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

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool IsSpecialChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' || c == '#' || c == '@' ||
           c == '_';
}

// "*NAME" or "*" alone.
bool IsSpecialValue(const std::string& s)
{
    if (s.empty() || s[0] != '*')
        return false;
    return std::all_of(s.begin() + 1, s.end(), IsSpecialChar);
}

// A decimal number: sign, digits, one decimal point or comma.
bool ParseNumber(const std::string& s, double* pOut)
{
    std::string t = s;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool bDigit = false, bPoint = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            bDigit = true;
        else if ((t[i] == '.' || t[i] == ',') && !bPoint) {
            bPoint = true;
            t[i] = '.';
        } else
            return false;
    }
    if (!bDigit)
        return false;
    *pOut = std::strtod(t.c_str(), nullptr);
    return true;
}

// "1-9999", "-5 - 5".
bool ParseRange(const std::string& item, std::pair<double, double>* pOut)
{
    for (size_t i = 1; i < item.size(); ++i) {
        if (item[i] != '-')
            continue;
        double lo, hi;
        if (ParseNumber(Trim(item.substr(0, i)), &lo) &&
            ParseNumber(Trim(item.substr(i + 1)), &hi)) {
            *pOut = {lo, hi};
            return true;
        }
    }
    return false;
}

std::string NumberText(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::string JoinList(const std::vector<std::string>& v)
{
    std::string out;
    for (size_t i = 0; i < v.size(); ++i)
        out += (i ? ", " : "") + v[i];
    return out;
}

} // namespace

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

    const std::string lower = Lower(p.choices);
    p.bText = lower.find("character value") != std::string::npos ||
              lower.find("text") != std::string::npos || Upper(p.keyword) == "TEXT";

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

    // The items, to tell closed lists and number ranges from free values.
    size_t nFree = 0, nSpecial = 0;
    size_t b = 0;
    for (size_t i = 0; i <= p.choices.size(); ++i) {
        if (i < p.choices.size() && p.choices[i] != ',' && p.choices[i] != ';')
            continue;
        std::string item = Trim(p.choices.substr(b, i - b));
        b = i + 1;
        size_t paren = item.find(" (");
        if (paren != std::string::npos)
            item = Trim(item.substr(0, paren)); // "*YES (default)"
        if (item.empty() || Lower(item).rfind("default", 0) == 0)
            continue;
        std::pair<double, double> range;
        if (IsSpecialValue(item))
            ++nSpecial;
        else if (ParseRange(item, &range))
            p.ranges.push_back(range);
        else
            ++nFree;
    }
    p.bClosed = nFree == 0 && p.ranges.empty() && nSpecial > 0;
    p.bNumbersOnly = nFree == 0 && !p.ranges.empty();
    return p;
}

CLPrompt::CLPrompt(const std::string& name, const CLCmdParam* pParams, size_t nParams)
    : m_name(name)
{
    for (size_t i = 0; i < nParams; ++i)
        m_params.push_back(CLPromptParam::From(pParams[i]));
}

CLPrompt::CLPrompt(const CLCmdRecord& rec)
    : CLPrompt(FieldText(rec.szName), rec.pParams, rec.dwParamCount)
{
}

const CLPromptParam* CLPrompt::Find(const std::string& keyword) const
{
    const std::string k = Upper(keyword);
    for (const CLPromptParam& p : m_params)
        if (p.keyword == k)
            return &p;
    return nullptr;
}

std::string CLPrompt::CheckValue(const CLPromptParam& p, const std::vector<CLValue>& elements)
{
    for (const CLValue& e : elements) {
        if (e.kind == CLValue::List || e.kind == CLValue::Call)
            continue; // lists and expressions are not judged
        if (e.kind == CLValue::Word && !e.text.empty() && e.text[0] == '&')
            continue; // a variable
        const std::string shown = e.ToString();
        const bool bSpecial =
            e.kind == CLValue::Word &&
            std::find(p.specials.begin(), p.specials.end(), e.text) != p.specials.end();
        if (bSpecial)
            continue;
        double v;
        bool bNumber = e.kind == CLValue::Word && ParseNumber(e.text, &v);
        if (p.bClosed)
            return p.keyword + ": " + shown + " is not one of " + JoinList(p.specials) + ".";
        if (p.ranges.empty() || (!bNumber && !p.bNumbersOnly))
            continue;
        std::vector<std::string> ranges;
        bool bIn = false;
        for (const auto& [lo, hi] : p.ranges) {
            ranges.push_back(NumberText(lo) + "-" + NumberText(hi));
            bIn = bIn || (bNumber && v >= lo && v <= hi);
        }
        if (bIn)
            continue;
        if (!bNumber)
            return p.keyword + ": " + shown + " is not a number in " + JoinList(ranges) +
                   (p.specials.empty() ? "" : " or one of " + JoinList(p.specials)) + ".";
        return p.keyword + ": " + shown + " is outside " + JoinList(ranges) + ".";
    }
    return {};
}

void CLPrompt::CheckRequired(const std::vector<std::string>& given,
                             std::vector<std::string>* pProblems) const
{
    for (const CLPromptParam& p : m_params)
        if (p.bRequired && std::find(given.begin(), given.end(), p.keyword) == given.end())
            pProblems->push_back(p.keyword + ": a value is required.");
}

std::string CLPrompt::Build(const std::vector<std::pair<std::string, std::string>>& values,
                            std::vector<std::string>* pProblems) const
{
    std::vector<std::string> texts(m_params.size());
    std::vector<std::string> given;
    for (const auto& [keyword, value] : values) {
        const CLPromptParam* p = Find(keyword);
        if (!p) {
            pProblems->push_back(Upper(keyword) + ": " + m_name + " has no such parameter.");
            continue;
        }
        std::string text = CLCommandString::ValueText(value, p->bText);
        if (text.empty())
            continue;
        if (std::find(given.begin(), given.end(), p->keyword) != given.end())
            pProblems->push_back(p->keyword + ": given twice.");
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
            pProblems->push_back(m_params[i].keyword + ": " + why);
            continue;
        }
        std::string problem = CheckValue(m_params[i], parsed.params[0].elements);
        if (!problem.empty())
            pProblems->push_back(problem);
    }
    CheckRequired(given, pProblems);
    return out;
}

bool CLPrompt::Explain(const std::string& text, std::vector<CLGivenParam>* pGiven,
                       std::vector<std::string>* pProblems, std::string* pWhy) const
{
    pGiven->clear();
    CLParsedCommand parsed;
    if (!CLCommandString::Parse(text, &parsed, pWhy))
        return false;
    if (parsed.name != m_name) {
        *pWhy = "The command is " + parsed.name + ", not " + m_name + ".";
        return false;
    }
    *pProblems = parsed.problems;

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
            if (static_cast<size_t>(pp.position) <= positional.size())
                p = positional[static_cast<size_t>(pp.position) - 1];
            else
                pProblems->push_back(
                    g.value + ": " + m_name + " takes only " + std::to_string(positional.size()) +
                    (positional.size() == 1 ? " value" : " values") + " without a keyword.");
        } else {
            g.keyword = pp.keyword;
            p = Find(pp.keyword);
            if (!p)
                pProblems->push_back(pp.keyword + ": " + m_name + " has no such parameter.");
        }
        if (p) {
            g.keyword = p->keyword;
            g.desc = p->desc;
            g.bKnown = true;
            if (std::find(given.begin(), given.end(), p->keyword) != given.end())
                pProblems->push_back(p->keyword + ": given twice.");
            given.push_back(p->keyword);
            std::string problem = CheckValue(*p, pp.elements);
            if (!problem.empty())
                pProblems->push_back(problem);
        }
        pGiven->push_back(std::move(g));
    }
    CheckRequired(given, pProblems);
    return true;
}
