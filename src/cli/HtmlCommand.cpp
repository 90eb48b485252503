#include "CliCommands.h"

#include "CLHtmlWriter.h"
#include "CliContext.h"
#include "apputil.h"

int RunHtml(CliContext& ctx, const CliArgs& args)
{
    if (!args.IsSet("out")) {
        ctx.Error("html: --out DIR is required.");
        return kExitUsage;
    }
    // The publisher's settings of tarvexa.ini, then the options given here.
    std::string why;
    CLHtmlOptions options = LoadHtmlOptions(&why);
    if (!why.empty())
        ctx.Error(why);
    if (args.IsSet("raw"))
        options.bRaw = true;
    for (auto [name, pId] : {std::pair{"ad-client", &options.adClient},
                             std::pair{"ad-channel", &options.adChannel}}) {
        if (!args.IsSet(name))
            continue;
        if (!CLHtmlOptions::IsAdId(args.Value(name))) {
            ctx.Error(std::string("html: --") + name + " takes letters, digits, - and _ only.");
            return kExitUsage;
        }
        *pId = args.Value(name);
    }
    if (options.adClient.empty() != options.adChannel.empty())
        ctx.Error("html: the pages get no ads unless both the ad client and the ad channel are set.");

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
    writer.SetOptions(options);
    if (args.Positional().empty()) {
        if (writer.CreateAllHtml())
            return kExitOk;
        for (const std::string& error : writer.GetErrors())
            ctx.Error(error);
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
