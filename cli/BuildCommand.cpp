#include "CliCommands.h"

#include "CLFileAnalyzer.h"
#include "CliContext.h"

int RunBuild(CliContext& ctx, const CliArgs&)
{
    if (!ctx.LoadIndex())
        return kExitFailed;
    CLFileAnalyzer analyzer;
    analyzer.SetCmdManager(&ctx.Manager());
    if (!analyzer.BuildDataFile()) {
        ctx.Error(analyzer.GetLastError());
        return kExitFailed;
    }
    return kExitOk;
}
