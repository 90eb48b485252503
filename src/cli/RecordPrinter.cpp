#include "RecordPrinter.h"

#include "CLPartial.h"
#include "CLRecordUtil.h"

namespace {

constexpr size_t kKeywordWidth = 12; // a keyword (10) and two spaces
constexpr size_t kCodeWidth = 10;    // a message code (9) and a space

std::string PadRight(std::string s, size_t width)
{
    if (s.size() < width)
        s.resize(width, ' ');
    else
        s += ' ';
    return s;
}

} // namespace

std::string RecordPrinter::Lines(const std::string& text, const std::string& pad)
{
    std::string out;
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r' && end != std::string::npos)
            line.pop_back(); // CR LF ends the line as LF does
        if (start > 0 && !line.empty())
            out += pad; // empty lines stay empty, without trailing blanks
        out += line;
        if (end == std::string::npos)
            return out;
        out += '\n';
        start = end + 1;
    }
}

std::string RecordPrinter::Section(const std::string& heading, const std::string& body)
{
    return "\n" + heading + "\n" + (body.empty() ? "  (none)\n" : body);
}

std::string RecordPrinter::Print(const CLCmdRecord& rec)
{
    std::string out = "Name:         " + FieldText(rec.szName) + "\n";
    out += "Description:  " + Lines(FieldText(rec.szDesc), "              ") + "\n";

    std::string env = FieldText(rec.szEnv);
    out += Section("Environment", env.empty() ? "" : "  " + Lines(env, "  ") + "\n");

    std::string params;
    const std::string pad(2 + kKeywordWidth, ' ');
    for (uint32_t i = 0; rec.pParams && i < rec.dwParamCount; ++i) {
        const CLCmdParam& p = rec.pParams[i];
        params += "  " + PadRight(FieldText(p.szKeyword), kKeywordWidth) +
                  Lines(FieldText(p.szDesc), pad) + "\n";
        if (p.szChoices[0])
            params += pad + "Choices:  " + Lines(FieldText(p.szChoices), pad + "          ") + "\n";
        if (p.szNote[0])
            params += pad + "Note:     " + Lines(FieldText(p.szNote), pad + "          ") + "\n";
        if (CLPartial::HasPartialChoices(&rec, FieldText(p.szKeyword)))
            params += pad + "          " + CLPartial::ChoicesNotice() + "\n";
    }
    const std::string notice = CLPartial::Notice(&rec);
    if (!notice.empty())
        params += "  " + notice + "\n";
    out += Section("Parameters", params);

    std::string examples = TextOf(rec.pszExample);
    out += Section("Examples", examples.empty() ? "" : "  " + Lines(examples, "  ") + "\n");
    std::string detail = TextOf(rec.pszDetail);
    out += Section("Detail", detail.empty() ? "" : "  " + Lines(detail, "  ") + "\n");

    std::string errors;
    const std::string errorPad(2 + kCodeWidth, ' ');
    for (uint32_t i = 0; rec.pErrors && i < rec.dwErrorCount; ++i) {
        const CLCmdError& e = rec.pErrors[i];
        errors += "  " + PadRight(FieldText(e.szCode), kCodeWidth) +
                  Lines(FieldText(e.szText), errorPad) + "\n";
    }
    out += Section("Error messages", errors);
    return out;
}
