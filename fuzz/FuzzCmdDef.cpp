// Feeds arbitrary bytes to the reader of IBM i command definitions and maps
// what it reads to parameters, whose texts must always fit their fields.
#include "CLCmdDefinition.h"
#include "CLFormat.h"
#include "CmdDefXml.h"

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
    std::string text(reinterpret_cast<const char*>(data), size);
    CLCmdDefinition def;
    std::string why;
    if (!CmdDefXml::ReadText(text, &def, &why)) {
        Require(!why.empty());
        return 0;
    }
    for (const CLCmdDefParm& p : def.parms) {
        Require(CLCmdDef::Choices(p).size() <= CLFormat::kChoices);
        Require(CLCmdDef::Notes(p, 99).size() <= CLFormat::kNote);
    }
    CLCmdDef::Parameters(def);
    return 0;
}
