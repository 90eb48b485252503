#include "CategoriesCommand.h"

#include "CLRecordUtil.h"
#include "CliContext.h"

std::string CategoriesCommand::Name() const
{
    return "categories";
}

std::string CategoriesCommand::Synopsis() const
{
    return "categories";
}

std::string CategoriesCommand::Summary() const
{
    return "One line per category: id TAB name TAB file name.";
}

std::string CategoriesCommand::Description() const
{
    return "Prints one line per category, in id order: the id, the name and the file\n"
           "name, separated by tabs (the file name may be empty).\n";
}

int CategoriesCommand::Run(CliContext& ctx, const CliArgs&)
{
    CLCmdManager& manager = ctx.Manager();
    if (!ctx.LoadCategories())
        return kExitFailed;
    std::string out;
    for (CLCategory* p = manager.GetFirstCat(); p; p = manager.GetNextCat())
        out += std::to_string(p->dwID) + "\t" + FieldText(p->szName) + "\t" +
               FieldText(p->szFileName) + "\n";
    ctx.Out(out);
    return kExitOk;
}
