#include "CliCommands.h"

#include "CLCmdDefImport.h"
#include "CliContext.h"
#include "CmdDefXml.h"

#include <filesystem>
#include <system_error>

namespace {

// Loads a list file of the home, or leaves the list empty when there is none.
bool LoadOrStart(CliContext& ctx, bool bIndex)
{
    CLCmdManager& manager = ctx.Manager();
    const std::string path = bIndex ? manager.GetCmdIdxFileName() : manager.GetCatFileName();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return true;
    return bIndex ? ctx.LoadIndex() : ctx.LoadCategories();
}

} // namespace

int RunImportCmd(CliContext& ctx, const CliArgs& args)
{
    int64_t nCat = 1;
    if (args.IsSet("category") &&
        !CliArgs::ParseNumber(args.Value("category"), 0, UINT32_MAX, &nCat)) {
        ctx.Error("import-cmd: --category needs a category id, not \"" + args.Value("category") +
                  "\".");
        return kExitUsage;
    }
    // Never write over list files that exist but cannot be loaded.
    if (!LoadOrStart(ctx, true) || !LoadOrStart(ctx, false))
        return kExitFailed;
    CLCmdManager& manager = ctx.Manager();
    if (manager.GetCatCount() > 0 && !manager.FindCat(static_cast<uint32_t>(nCat))) {
        ctx.Error("category " + std::to_string(nCat) + " does not exist.");
        return kExitFailed;
    }
    if (!CliContext::MakeFolder(CLCmdManager::GetDataFolder())) {
        ctx.Error("the folder \"" + CLCmdManager::GetDataFolder() + "\" cannot be created.");
        return kExitFailed;
    }

    CLCmdDefImport importer(&manager, static_cast<uint32_t>(nCat));
    int status = kExitOk;
    std::vector<CLCmdDefChange> changes;
    for (const std::string& path : args.Positional()) {
        CLCmdDefinition def;
        CLCmdDefChange change;
        std::string why;
        if (!CmdDefXml::ReadFile(path, &def, &why) || !importer.Import(def, &change, &why)) {
            ctx.ErrorLine(path + ": " + why);
            status = kExitFailed;
            continue;
        }
        changes.push_back(change);
    }
    // A new command is reported only once the index that names it is saved.
    std::string why;
    const bool bIndexSaved = importer.Finish(&why);
    std::string out;
    for (const CLCmdDefChange& change : changes)
        if (bIndexSaved || !change.bNew)
            out += change.Summary() + "\n";
    ctx.Out(out);
    if (!bIndexSaved) {
        ctx.Error(why);
        return kExitFailed;
    }
    return status;
}
