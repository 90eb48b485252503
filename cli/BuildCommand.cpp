#include "BuildCommand.h"

#include "CLFileAnalyzer.h"
#include "CliContext.h"

std::string BuildCommand::Name() const
{
    return "build";
}

std::string BuildCommand::Synopsis() const
{
    return "build";
}

std::string BuildCommand::Summary() const
{
    return "Join data/NAME.dat into clcmd.dat, rewrite cldict.dat.";
}

std::string BuildCommand::Description() const
{
    return "Joins the per-command file data/NAME.dat of every index entry, in index\n"
           "order, into clcmd.dat and rewrites cldict.dat with each record's position\n"
           "and length. An entry without a per-command file gets no record. When\n"
           "cldict.dat cannot be loaded nothing is written.\n";
}

int BuildCommand::Run(CliContext& ctx, const CliArgs&)
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
