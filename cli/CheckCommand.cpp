#include "CliCommands.h"

#include "CLDataChecker.h"
#include "CliContext.h"

int RunCheck(CliContext& ctx, const CliArgs&)
{
    std::string out;
    for (const std::string& line : CLDataChecker().Run())
        out += line + "\n";
    ctx.Out(out);
    return out.empty() ? kExitOk : kExitFailed;
}
