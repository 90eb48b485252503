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
    std::string out;
    for (const std::string& path : args.Positional()) {
        CLCmdDefinition def;
        CLCmdDefChange change;
        std::string why;
        if (!CmdDefXml::ReadFile(path, &def, &why) || !importer.Import(def, &change, &why)) {
            ctx.ErrorLine(path + ": " + why);
            status = kExitFailed;
            continue;
        }
        out += change.Summary() + "\n";
    }
    std::string why;
    if (!importer.Finish(&why)) {
        ctx.Out(out);
        ctx.Error(why);
        return kExitFailed;
    }
    ctx.Out(out);
    return status;
}
