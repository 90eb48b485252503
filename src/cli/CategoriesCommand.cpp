#include "CliCommands.h"

#include "CLRecordUtil.h"
#include "CliContext.h"

int RunCategories(CliContext& ctx, const CliArgs&)
{
    CLCmdManager& manager = ctx.Manager();
    if (!ctx.LoadCategories())
        return kExitFailed;
    std::string out;
    for (CLCategory* p = manager.GetFirstCat(); p; p = manager.GetNextCat())
        out += std::to_string(p->dwID) + "\t" + FieldText(p->szName) + "\t" +
               FieldText(p->szFileName) + "\n";
    ctx.Out(out);
    return kExitOk;
}
