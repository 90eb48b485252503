#include "CliCommands.h"

#include "CLDataChecker.h"
#include "CliContext.h"

int RunCheck(CliContext& ctx, const CliArgs&)
{
    CLDataChecker checker;
    std::string out;
    const std::vector<std::string> problems = checker.Run();
    for (const std::string& line : problems)
        out += line + "\n";
    for (const std::string& line : checker.GetNotes())
        out += line + "\n";
    ctx.Out(out);
    return problems.empty() ? kExitOk : kExitFailed;
}
