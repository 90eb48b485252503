#include "CLChoices.h"

#include "CLWords.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool StartsWith(const std::string& s, const std::string& lowerPrefix)
{
    return Lower(s.substr(0, lowerPrefix.size())) == lowerPrefix;
}

// The pieces of a text between separators outside parentheses and quotes,
// trimmed. False when the parentheses or quotes do not match.
bool SplitTop(const std::string& text, char sep, std::vector<std::string>* pOut)
{
    pOut->clear();
    int depth = 0;
    bool bQuote = false;
    size_t b = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : sep;
        if (c == '\'')
            bQuote = !bQuote;
        else if (!bQuote && c == '(')
            ++depth;
        else if (!bQuote && c == ')' && --depth < 0)
            return false;
        else if (!bQuote && depth == 0 && c == sep) {
            pOut->push_back(Trim(text.substr(b, i - b)));
            b = i + 1;
        }
    }
    return depth == 0 && !bQuote;
}

// The first ':' outside parentheses, or npos.
size_t TopColon(const std::string& text)
{
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')')
            --depth;
        else if (text[i] == ':' && depth == 0)
            return i;
    }
    return std::string::npos;
}

// "1-9999", "000000-999999", "0.01-9999.99".
bool ParseRange(const std::string& item, std::pair<double, double>* pOut)
{
    for (size_t i = 1; i < item.size(); ++i) {
        if (item[i] != '-')
            continue;
        double lo, hi;
        if (CLWords::ParseNumber(Trim(item.substr(0, i)), &lo) &&
            CLWords::ParseNumber(Trim(item.substr(i + 1)), &hi) && lo <= hi) {
            *pOut = {lo, hi};
            return true;
        }
    }
    return false;
}

// The kind a word of the choices names, or 0.
unsigned KindOf(const std::string& item)
{
    struct Word
    {
        const char* text;
        unsigned kind;
    };
    static const Word kWords[] = {
        {"name", CLChoiceSet::kName},
        {"simple name", CLChoiceSet::kName},
        {"communications name", CLChoiceSet::kName},
        {"generic name", CLChoiceSet::kGeneric},
        {"generic*", CLChoiceSet::kGeneric},
        {"character value", CLChoiceSet::kText},
        {"text", CLChoiceSet::kText},
        {"path name", CLChoiceSet::kPath},
        {"cl variable name", CLChoiceSet::kVariable},
        {"cl variable", CLChoiceSet::kVariable},
        {"decimal number", CLChoiceSet::kNumber},
        {"number", CLChoiceSet::kNumber},
        {"integer", CLChoiceSet::kNumber},
        {"unsigned integer", CLChoiceSet::kNumber},
        {"seconds", CLChoiceSet::kNumber},
        {"date", CLChoiceSet::kFree},
        {"time", CLChoiceSet::kFree},
        {"logical value", CLChoiceSet::kFree},
        {"hexadecimal value", CLChoiceSet::kFree},
    };
    const std::string lower = Lower(item);
    for (const Word& w : kWords)
        if (lower == w.text)
            return w.kind;
    return 0;
}

// A fixed value the choices list as CL writes it: a number, a name in upper
// case, a quoted string ('&') or a hex constant (X'1E', X'').
bool IsLiteral(const std::string& item)
{
    if (CLWords::IsNumber(item) || CLWords::IsName(item))
        return true;
    if (item.size() >= 2 && item.front() == '\'' && item.back() == '\'')
        return true; // 'text'
    // X'F1', X'': one pair of apostrophes (X'0000'-X'FFF0' is a range of them).
    return item.size() >= 3 && item[0] == 'X' && item[1] == '\'' &&
           item.find('\'', 2) == item.size() - 1;
}

// One item of a comma list into the set.
void AddItem(std::string item, CLChoiceSet* pSet)
{
    // "*PROD (default)", "0-30 (default 20)", "Number (kilobytes)".
    if (!item.empty() && item.back() == ')' && item.front() != '\'') {
        size_t open = item.rfind(" (");
        if (open != std::string::npos) {
            const std::string inner = Trim(item.substr(open + 2, item.size() - open - 3));
            item = Trim(item.substr(0, open));
            if (Lower(inner) == "default")
                pSet->defaultValue = item;
            else if (StartsWith(inner, "default "))
                pSet->defaultValue = Trim(inner.substr(8));
            else if (StartsWith(inner, "up to ") &&
                     Lower(inner).find(" characters") != std::string::npos)
                pSet->nMaxLength =
                    static_cast<size_t>(std::strtoul(inner.c_str() + 6, nullptr, 10));
        }
    }
    std::pair<double, double> range;
    if (item.empty())
        return;
    if (CLWords::IsSpecialValue(item))
        pSet->specials.push_back(item);
    else if (unsigned kind = KindOf(item))
        pSet->kinds |= kind;
    else if (ParseRange(item, &range))
        pSet->ranges.push_back(range);
    else if (IsLiteral(item))
        pSet->literals.push_back(item);
    else if (!StartsWith(item, "or %"))
        pSet->bOpen = true; // "or %SST of a variable": built-ins are never checked
}

CLChoiceSet ReadSet(const std::string& text, const std::string& label = "")
{
    CLChoiceSet set;
    set.label = label;
    std::vector<std::string> items;
    if (!SplitTop(text, ',', &items)) {
        set.bOpen = true;
        return set;
    }
    for (const std::string& item : items)
        AddItem(item, &set);
    // A list of fixed values alone ("QHST") may be an example, not a rule.
    if (set.kinds == 0 && set.specials.empty() && set.ranges.empty())
        set.bOpen = true;
    return set;
}

// "label: choices" into a set; a piece without a colon only names the part.
CLChoiceSet ReadPart(const std::string& piece)
{
    size_t colon = TopColon(piece);
    if (colon != std::string::npos)
        return ReadSet(Trim(piece.substr(colon + 1)), Trim(piece.substr(0, colon)));
    // "Name, *LIBL" alone, or words about the part ("queue Name", "file name
    // (default QCLSRC)"), which leave it open but may still state a default.
    CLChoiceSet set = ReadSet(piece);
    if (set.bOpen) {
        CLChoiceSet open;
        open.bOpen = true;
        open.defaultValue = set.defaultValue;
        return open;
    }
    return set;
}

// The qualifiers of a qualified name from the pieces that describe them.
bool ReadQualifiers(const std::vector<std::string>& pieces, bool bJob, CLValueForm* pForm)
{
    const size_t nParts = bJob ? 3 : 2;
    std::vector<CLChoiceSet> parts;
    for (const std::string& piece : pieces)
        parts.push_back(ReadPart(piece));
    CLChoiceSet open;
    open.bOpen = true;
    if (parts.size() == nParts) {
        pForm->qualifiers = std::move(parts);
    } else if (bJob && parts.size() < nParts) {
        pForm->qualifiers.assign(nParts, open); // "job, user: ..." covers two
    } else if (!bJob && parts.size() == 1) {
        if (Lower(parts[0].label) == "library")
            pForm->qualifiers = {open, parts[0]};
        else
            pForm->qualifiers = {parts[0], open};
    } else if (parts.empty()) {
        pForm->qualifiers.assign(nParts, open);
    } else {
        return false;
    }
    static const char* const kObject[] = {"object", "library"};
    static const char* const kJob[] = {"job name", "user", "number"};
    for (size_t i = 0; i < nParts; ++i)
        if (pForm->qualifiers[i].label.empty())
            pForm->qualifiers[i].label = bJob ? kJob[i] : kObject[i];
    return true;
}

// A value form from the pieces of a text (split at ';'). False when the
// pieces follow no known form.
bool ReadForm(const std::vector<std::string>& pieces, CLValueForm* pForm)
{
    if (pieces.empty())
        return false;
    const std::string& first = pieces[0];
    const bool bJob = StartsWith(first, "qualified job name");
    if (!bJob && !StartsWith(first, "qualified object name") &&
        !StartsWith(first, "qualified name")) {
        if (pieces.size() > 1)
            return false;
        pForm->value = ReadSet(first);
        return true;
    }
    std::vector<std::string> parts(pieces.begin() + 1, pieces.end());
    const size_t colon = TopColon(first);
    std::vector<std::string> items;
    if (!SplitTop(first, ',', &items))
        return false;
    const std::string& head = items[0];
    const size_t paren = head.find('(');
    if (colon != std::string::npos) {
        // "Qualified name: file name (default QCLSRC); library ...": the text
        // after the colon tells the first part.
        parts.insert(parts.begin(), Trim(first.substr(colon + 1)));
    } else {
        if (paren != std::string::npos && head.back() == ')') {
            // "Qualified object name (object: Name; library: Name, *LIBL)".
            std::vector<std::string> inner;
            if (!SplitTop(head.substr(paren + 1, head.size() - paren - 2), ';', &inner))
                return false;
            if (!parts.empty())
                return false;
            bool bLabelled = std::any_of(inner.begin(), inner.end(), [](const std::string& s) {
                return TopColon(s) != std::string::npos;
            });
            if (bLabelled || inner.size() > 1)
                parts = inner;
        }
        // Whole-value special values after the kind.
        for (size_t i = 1; i < items.size(); ++i)
            AddItem(items[i], &pForm->value);
    }
    return ReadQualifiers(parts, bJob, pForm);
}

// "(up to 50 repetitions)" or "(up to 300)" in a heading: the number, or 0.
size_t Repetitions(const std::string& heading)
{
    const std::string lower = Lower(heading);
    size_t at = lower.find("(up to ");
    if (at == std::string::npos)
        return 0;
    return static_cast<size_t>(std::strtoul(lower.c_str() + at + 7, nullptr, 10));
}

} // namespace

CLChoices CLChoices::Read(const std::string& text)
{
    CLChoices c;
    std::vector<std::string> pieces;
    if (!SplitTop(text, ';', &pieces))
        return c;
    // "default: X" apart from the rest.
    for (auto it = pieces.begin(); it != pieces.end();) {
        if (StartsWith(*it, "default:")) {
            c.defaultValue = Trim(it->substr(8));
            it = pieces.erase(it);
        } else {
            ++it;
        }
    }
    pieces.erase(std::remove(pieces.begin(), pieces.end(), std::string()), pieces.end());
    if (pieces.empty())
        return c;

    // The heading of a list: "Single values: ...; Other values (...): ..." or
    // "Values (up to N repetitions): ...".
    auto takeHeading = [&](size_t at) {
        const size_t colon = TopColon(pieces[at]);
        if (colon == std::string::npos)
            return false;
        const size_t n = Repetitions(pieces[at].substr(0, colon));
        if (n > 0)
            c.nMaxValues = n;
        pieces[at] = Trim(pieces[at].substr(colon + 1));
        pieces.erase(pieces.begin(), pieces.begin() + static_cast<long>(at));
        return !pieces[0].empty();
    };
    if (StartsWith(pieces[0], "single values:")) {
        std::vector<std::string> items;
        if (!SplitTop(pieces[0].substr(14), ',', &items))
            return c;
        for (const std::string& item : items) {
            if (!CLWords::IsSpecialValue(item) && !IsLiteral(item))
                return c;
            c.singles.push_back(item);
        }
        if (pieces.size() < 2 || !StartsWith(pieces[1], "other values") || !takeHeading(1))
            return c;
    } else if (StartsWith(pieces[0], "values (up to") && !takeHeading(0)) {
        return c;
    }

    if (Lower(pieces[0]) == "element list") {
        if (pieces.size() < 2)
            return c;
        for (size_t i = 1; i < pieces.size(); ++i) {
            const size_t colon = TopColon(pieces[i]);
            if (colon == std::string::npos)
                return c;
            const std::string choices = Trim(pieces[i].substr(colon + 1));
            // "service program: Qualified object name; name: ...; library: ...":
            // which pieces are its qualifiers and which the next elements is
            // not told.
            if (StartsWith(choices, "qualified") && choices.find('(') == std::string::npos &&
                i + 1 < pieces.size())
                return c;
            CLValueForm form;
            if (!ReadForm({choices}, &form))
                return c;
            form.label = Trim(pieces[i].substr(0, colon));
            c.forms.push_back(std::move(form));
        }
        c.bElements = true;
    } else {
        CLValueForm form;
        if (!ReadForm(pieces, &form))
            return c;
        c.forms.push_back(std::move(form));
    }
    if (c.defaultValue.empty() && !c.bElements)
        c.defaultValue = c.forms[0].value.defaultValue;
    c.bKnown = true;
    return c;
}
