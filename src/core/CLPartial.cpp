#include "CLPartial.h"

#include "CLRecordUtil.h"

#include <algorithm>
#include <regex>

namespace {

// The next line of text from pos: its end and the start of the line after it
// (npos when the text ends on this line).
std::pair<size_t, size_t> NextLine(const std::string& text, size_t pos)
{
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos)
        return {text.size(), std::string::npos};
    return {end, end + 2};
}

} // namespace

namespace CLPartial {

CLPartialMarks Split(const std::string& reserved, const std::vector<std::string>& keywords)
{
    CLPartialMarks marks;
    size_t pos = 0, nextKeyword = 0;
    bool bAny = false;
    while (pos != std::string::npos && pos < reserved.size()) {
        auto [end, next] = NextLine(reserved, pos);
        // A mark ends the text or is followed by more text: "mark\r\n" alone
        // would compose back without its line break, so it is not a mark.
        if (next != std::string::npos && next == reserved.size())
            break;
        const std::string line = reserved.substr(pos, end - pos);
        if (!bAny && line == kParametersMark) {
            marks.bParameters = true;
        } else if (line.rfind(kChoicesMark, 0) == 0) {
            const std::string keyword = line.substr(std::char_traits<char>::length(kChoicesMark));
            auto it = std::find(keywords.begin() + nextKeyword, keywords.end(), keyword);
            if (keyword.empty() || it == keywords.end())
                break;
            nextKeyword = static_cast<size_t>(it - keywords.begin()) + 1;
            marks.choices.push_back(keyword);
        } else {
            break;
        }
        bAny = true;
        pos = next;
    }
    marks.rest = pos == std::string::npos ? std::string() : reserved.substr(pos);
    return marks;
}

std::string Compose(const CLPartialMarks& marks)
{
    std::string out;
    auto add = [&out](const std::string& line) {
        if (!out.empty())
            out += "\r\n";
        out += line;
    };
    if (marks.bParameters)
        add(kParametersMark);
    for (const std::string& keyword : marks.choices)
        add(kChoicesMark + keyword);
    if (!marks.rest.empty())
        add(marks.rest);
    return out;
}

CLPartialMarks Of(const CLCmdRecord* pRec)
{
    if (!pRec || !pRec->pszReserved)
        return {};
    std::vector<std::string> keywords;
    for (uint32_t i = 0; pRec->pParams && i < pRec->dwParamCount; ++i)
        keywords.push_back(FieldText(pRec->pParams[i].szKeyword));
    return Split(pRec->pszReserved, keywords);
}

bool IsPartial(const CLCmdRecord* pRec)
{
    return Of(pRec).bParameters;
}

bool HasPartialChoices(const CLCmdRecord* pRec, const std::string& keyword)
{
    const CLPartialMarks marks = Of(pRec);
    return std::find(marks.choices.begin(), marks.choices.end(), keyword) != marks.choices.end();
}

std::string Notice(const CLCmdRecord* pRec)
{
    if (!IsPartial(pRec))
        return {};
    const uint32_t n = pRec->dwParamCount;
    const std::string head = n == 0 ? "No parameters are listed"
                             : n == 1
                                 ? "Only the first parameter is listed"
                                 : "Only the first " + std::to_string(n) + " parameters are listed";
    return head + "; see IBM's documentation for the rest.";
}

std::string ChoicesNotice()
{
    return "Only some values are listed; see IBM's documentation for the rest.";
}

std::string Disagreement(const CLCmdRecord* pRec)
{
    if (!pRec || !pRec->pszDetail)
        return {};
    // "Only the first 5 parameters are listed", "only the first parameter ...",
    // "only some parameters ..." in any case.
    static const std::regex kSays(
        "only (the first (([0-9]+) parameters|parameter)|some (of (its|the) )?parameters)",
        std::regex::icase);
    std::cmatch m;
    if (!std::regex_search(pRec->pszDetail, m, kSays))
        return {};
    if (!IsPartial(pRec))
        return "the detail says only some parameters are listed, but the record has no "
               "partial mark";
    if (m[3].matched && std::stoul(m[3].str()) != pRec->dwParamCount)
        return "the detail says the first " + m[3].str() +
               " parameters are listed, but the record lists " + std::to_string(pRec->dwParamCount);
    if (m[2].matched && !m[3].matched && pRec->dwParamCount != 1)
        return "the detail says the first parameter is listed, but the record lists " +
               std::to_string(pRec->dwParamCount);
    return {};
}

} // namespace CLPartial
