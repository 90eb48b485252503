#include "ShowCommand.h"

#include "CliContext.h"
#include "RecordPrinter.h"

std::string ShowCommand::Name() const
{
    return "show";
}

std::string ShowCommand::Synopsis() const
{
    return "show NAME";
}

std::string ShowCommand::Summary() const
{
    return "A command's record as readable text.";
}

std::string ShowCommand::Description() const
{
    return "Prints the record of the command NAME (matched exactly): its name,\n"
           "description, environment, parameters, examples, detail and error\n"
           "messages. The record is read as the window reads it: from data/NAME\n"
           "in run mode 1, from clcmd.dat otherwise.\n";
}

int ShowCommand::Run(CliContext& ctx, const CliArgs& args)
{
    const std::string& name = args.Positional()[0];
    if (!ctx.LoadIndex())
        return kExitFailed;
    CLCmdManager& manager = ctx.Manager();
    CLCmdIndex* pIdx = manager.FindCmdIdx(name.c_str());
    if (!pIdx) {
        ctx.Error("CL command \"" + name + "\" not found.");
        return kExitFailed;
    }
    bool bRead = false;
    const CLCmdRecord* pRec = ctx.AttachRecord(pIdx, &bRead);
    if (!bRead) {
        ctx.Error("the record of \"" + name + "\" cannot be read.");
        return kExitFailed;
    }
    ctx.Out(RecordPrinter::Print(*pRec));
    return kExitOk;
}
