#include "CheckCommand.h"

#include "CliContext.h"
#include "DataChecker.h"

std::string CheckCommand::Name() const
{
    return "check";
}

std::string CheckCommand::Synopsis() const
{
    return "check";
}

std::string CheckCommand::Summary() const
{
    return "Verify every data file; one line per problem.";
}

std::string CheckCommand::Description() const
{
    return "Verifies clcat.dat, cldict.dat, the per-command files of the index and\n"
           "clcmd.dat, and prints one line per problem, starting with the file it\n"
           "concerns. Prints nothing and exits with 0 when all is well, exits with 1\n"
           "when it found a problem.\n";
}

int CheckCommand::Run(CliContext& ctx, const CliArgs&)
{
    std::string out;
    for (const std::string& line : DataChecker().Run())
        out += line + "\n";
    ctx.Out(out);
    return out.empty() ? kExitOk : kExitFailed;
}
