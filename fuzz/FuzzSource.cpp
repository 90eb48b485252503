// Feeds arbitrary bytes to the CL source reader, the checker and the layout:
// nothing crashes or hangs, and a member that formats is read back with the
// same statements and formats to itself again.
#include "CLLint.h"
#include "CLSourceFormat.h"

#include <cstdint>
#include <string>

namespace {

void Require(bool b)
{
    if (!b)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CLSource src = CLSource::Read(text);
    const CLLint lint([](const std::string&) -> const CLCmdRecord* { return nullptr; });
    (void)lint.Check(src);
    std::string out, again, why;
    if (CLSourceFormat::Format(text, {}, &out, &why)) {
        Require(CLSourceFormat::Format(out, {}, &again, &why));
        Require(again == out);
    }
    return 0;
}
