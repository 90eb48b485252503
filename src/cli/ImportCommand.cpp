#include "CliCommands.h"

#include "CLFileAnalyzer.h"
#include "CliContext.h"

#include <filesystem>
#include <system_error>

int RunImport(CliContext& ctx, const CliArgs& args)
{
    CLFileAnalyzer analyzer;
    analyzer.SetMakeRecords(args.IsSet("records"));
    if (!analyzer.AnalyzeFile(args.Positional()[0].c_str())) {
        ctx.Error(analyzer.GetLastError());
        return kExitFailed;
    }
    for (const std::string& warning : analyzer.GetWarnings())
        ctx.Error(warning);
    if (!args.IsSet("records"))
        return kExitOk;

    CLCmdManager* pManager = analyzer.GetCmdManager();
    if (!CliContext::MakeFolder(CLCmdManager::GetDataFolder())) {
        ctx.Error("the folder \"" + CLCmdManager::GetDataFolder() + "\" cannot be created.");
        return kExitFailed;
    }
    int status = kExitOk;
    for (CLCmdIndex* p = pManager->GetFirstCmdIdx(); p; p = pManager->GetNextCmdIdx()) {
        const std::string path = pManager->GetCmdRecordFileName(p);
        std::error_code ec;
        // A dangling link counts as existing too: it is never written through.
        if (!p->pRec || std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
            continue;
        if (!pManager->SaveCmdRecord(p->pRec)) {
            ctx.Error("the file \"" + path + "\" cannot be written.");
            status = kExitFailed;
        }
    }
    return status;
}
