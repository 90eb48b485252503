#include "CliCommands.h"

#include "CLRecordUtil.h"
#include "CliContext.h"

int RunList(CliContext& ctx, const CliArgs& args)
{
    int64_t nCat = -1;
    if (args.IsSet("category") &&
        !CliArgs::ParseNumber(args.Value("category"), 0, UINT32_MAX, &nCat)) {
        ctx.Error("list: --category needs a category id, not \"" + args.Value("category") + "\".");
        return kExitUsage;
    }
    CLCmdManager& manager = ctx.Manager();
    if (!ctx.LoadIndex())
        return kExitFailed;
    if (nCat >= 0) {
        if (!ctx.LoadCategories())
            return kExitFailed;
        if (!manager.FindCat(static_cast<uint32_t>(nCat))) {
            ctx.Error("category " + std::to_string(nCat) + " does not exist.");
            return kExitFailed;
        }
    }
    std::string out;
    for (CLCmdIndex* p = manager.GetFirstCmdIdx(); p; p = manager.GetNextCmdIdx())
        if (nCat < 0 || p->dwCatID == static_cast<uint32_t>(nCat))
            out += FieldText(p->szName) + "\n";
    ctx.Out(out);
    return kExitOk;
}
