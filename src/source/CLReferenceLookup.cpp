#include "CLReferenceLookup.h"

CLLint::Lookup CLReferenceLookup(CLCmdManager* pManager)
{
    return [pManager](const std::string& name) -> const CLCmdRecord* {
        CLCmdIndex* pIdx = pManager->FindCmdIdx(name.c_str());
        return pIdx ? pManager->AttachCmdRecord(pIdx) : nullptr;
    };
}
