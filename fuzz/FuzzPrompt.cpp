// Feeds arbitrary bytes to the command-string reader, the value builder and
// the reader of choices texts. What is read must read back alike once
// written, in one line or as source lines; whatever is typed must give a
// value CL reads; any choices text checks any value without a fault.
#include "CLChoices.h"
#include "CLCommandString.h"
#include "CLValueCheck.h"

#include <cstdint>
#include <string>

namespace {

void Require(bool b)
{
    if (!b)
        __builtin_trap();
}

std::string Written(const CLParsedCommand& c)
{
    std::string out = c.name;
    for (const CLParsedParam& p : c.params)
        out += " " + (p.keyword.empty() ? "(" + p.ValueText() + ")"
                                        : p.keyword + "(" + p.ValueText() + ")");
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    CLParsedCommand c, again;
    std::string why;
    if (CLCommandString::Parse(text, &c, &why)) {
        const std::string line = Written(c);
        Require(CLCommandString::Parse(line, &again, &why));
        Require(Written(again) == line);
        Require(CLCommandString::Parse(CLCommandString::FormatSource(line), &again, &why));
        Require(Written(again) == line);
    }
    // The input as a choices text, checking the values of its own words.
    const CLChoices choices = CLChoices::Read(text.substr(0, 400));
    for (const CLParsedParam& p : c.params)
        CLValueCheck::Check(choices, "K", p.elements, 50);
    // A typed value never breaks the command it goes into. Line ends are
    // continuation syntax, not value text, so they are left out.
    if (text.find_first_of("\r\n") == std::string::npos) {
        using Mode = CLCommandString::ValueMode;
        for (Mode mode : {Mode::Text, Mode::Single, Mode::List, Mode::TextList}) {
            const std::string v = CLCommandString::ValueText(text, mode);
            if (!v.empty())
                Require(CLCommandString::Parse("X K(" + v + ")", &again, &why) &&
                        again.params.size() == 1);
        }
    }
    return 0;
}
