#include "CliCommands.h"

#include "CliContext.h"
#include "RecordPrinter.h"

int RunShow(CliContext& ctx, const CliArgs& args)
{
    const std::string& name = args.Positional()[0];
    if (!ctx.LoadIndex())
        return kExitFailed;
    CLCmdManager& manager = ctx.Manager();
    CLCmdIndex* pIdx = manager.FindCmdIdx(name.c_str());
    if (!pIdx) {
        ctx.Error("CL command \"" + name + "\" not found.");
        return kExitFailed;
    }
    bool bRead = false;
    const CLCmdRecord* pRec = ctx.AttachRecord(pIdx, &bRead);
    if (!bRead) {
        ctx.Error("the record of \"" + name + "\" cannot be read.");
        return kExitFailed;
    }
    ctx.Out(RecordPrinter::Print(*pRec));
    return kExitOk;
}
