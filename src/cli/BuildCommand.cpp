#include "CliCommands.h"

#include "CLFileAnalyzer.h"
#include "CliContext.h"

int RunBuild(CliContext& ctx, const CliArgs& args)
{
    if (!ctx.LoadIndex())
        return kExitFailed;
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(&ctx.Manager());
    analyzer.SetDropMissing(args.IsSet("drop-missing"));
    if (!analyzer.BuildDataFile()) {
        ctx.Error(analyzer.GetLastError());
        if (!analyzer.GetMissing().empty())
            ctx.Error("run \"build --drop-missing\" to build without those records.");
        return kExitFailed;
    }
    for (const std::string& warning : analyzer.GetWarnings())
        ctx.Error(warning);
    if (size_t n = analyzer.GetMissing().size())
        ctx.Error("dropped the records of " + std::to_string(n) +
                  (n == 1 ? " command" : " commands") + " without a file in data/.");
    return kExitOk;
}
