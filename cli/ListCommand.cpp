#include "ListCommand.h"

#include "CLRecordUtil.h"
#include "CliContext.h"

std::string ListCommand::Name() const
{
    return "list";
}

std::string ListCommand::Synopsis() const
{
    return "list [--category ID]";
}

std::string ListCommand::Summary() const
{
    return "Command names in index order, one per line.";
}

std::string ListCommand::Description() const
{
    return "Prints the command names of the index, in index order, one per line.\n"
           "With --category, only the commands of that category, which must exist.\n";
}

QList<QCommandLineOption> ListCommand::Options() const
{
    return {QCommandLineOption("category", "Only the commands of this category.", "ID")};
}

int ListCommand::Run(CliContext& ctx, const CliArgs& args)
{
    int64_t nCat = -1;
    if (args.IsSet("category") &&
        !CliArgs::ParseNumber(args.Value("category"), 0, UINT32_MAX, &nCat)) {
        ctx.Error("list: --category needs a category id, not \"" + args.Value("category") + "\".");
        return kExitUsage;
    }
    CLCmdManager& manager = ctx.Manager();
    if (!ctx.LoadIndex())
        return kExitFailed;
    if (nCat >= 0) {
        if (!ctx.LoadCategories())
            return kExitFailed;
        if (!manager.FindCat(static_cast<uint32_t>(nCat))) {
            ctx.Error("category " + std::to_string(nCat) + " does not exist.");
            return kExitFailed;
        }
    }
    std::string out;
    for (CLCmdIndex* p = manager.GetFirstCmdIdx(); p; p = manager.GetNextCmdIdx())
        if (nCat < 0 || p->dwCatID == static_cast<uint32_t>(nCat))
            out += FieldText(p->szName) + "\n";
    ctx.Out(out);
    return kExitOk;
}
