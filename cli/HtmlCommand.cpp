#include "CliCommands.h"

#include "CLHtmlWriter.h"
#include "CliContext.h"

int RunHtml(CliContext& ctx, const CliArgs& args)
{
    if (!args.IsSet("out")) {
        ctx.Error("html: --out DIR is required.");
        return kExitUsage;
    }
    const std::string folder = args.Value("out");
    if (!ctx.LoadIndex())
        return kExitFailed;
    if (!CliContext::MakeFolder(folder)) {
        ctx.Error("the folder \"" + folder + "\" cannot be created.");
        return kExitFailed;
    }
    CLCmdManager& manager = ctx.Manager();
    CLHtmlWriter writer(&manager);
    writer.SetOutputFolder(folder);
    if (args.Positional().empty()) {
        if (writer.CreateAllHtml())
            return kExitOk;
        ctx.Error(writer.GetLastError());
        return kExitFailed;
    }
    int status = kExitOk;
    for (const std::string& name : args.Positional()) {
        CLCmdIndex* pIdx = manager.FindCmdIdx(name.c_str());
        if (!pIdx) {
            ctx.Error("CL command \"" + name + "\" not found.");
            status = kExitFailed;
        } else if (!writer.CreateCmdHtml(pIdx)) {
            ctx.Error(writer.GetLastError());
            status = kExitFailed;
        }
    }
    return status;
}
