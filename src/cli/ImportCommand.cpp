#include "CliCommands.h"

#include "CLFileAnalyzer.h"
#include "CliContext.h"

int RunImport(CliContext& ctx, const CliArgs& args)
{
    CLFileAnalyzer analyzer;
    analyzer.SetMakeRecords(args.IsSet("records"));
    analyzer.SetCreateRecordFiles(args.IsSet("records"));
    if (!analyzer.AnalyzeFile(args.Positional()[0].c_str())) {
        ctx.Error(analyzer.GetLastError());
        return kExitFailed;
    }
    for (const std::string& warning : analyzer.GetWarnings())
        ctx.Error(warning);
    return kExitOk;
}
