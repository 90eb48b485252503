#include "ImportCommand.h"

#include "CLFileAnalyzer.h"
#include "CliContext.h"

#include <filesystem>
#include <system_error>

std::string ImportCommand::Name() const
{
    return "import";
}

std::string ImportCommand::Synopsis() const
{
    return "import [--records] FILE";
}

std::string ImportCommand::Summary() const
{
    return "Replace clcat.dat and cldict.dat from a CL text list.";
}

std::string ImportCommand::Description() const
{
    return "Reads a CL text list and replaces the category list clcat.dat and the\n"
           "command index cldict.dat with what it holds:\n"
           "  [NN] - Category name    a category; NN becomes the current category\n"
           "  [NN]                    changes the current category only\n"
           "  NAME - Title            a command of the current category\n"
           "Lines that are refused are reported and skipped.\n"
           "\n"
           "With --records, every command of the list whose per-command file does not\n"
           "exist yet gets one holding its name and title; existing files are never\n"
           "overwritten, and data/ is created when missing.\n";
}

QList<QCommandLineOption> ImportCommand::Options() const
{
    return {QCommandLineOption("records", "Create the missing per-command files.")};
}

int ImportCommand::Run(CliContext& ctx, const CliArgs& args)
{
    CLFileAnalyzer analyzer;
    if (!analyzer.AnalyzeFile(args.Positional()[0].c_str())) {
        ctx.Error(analyzer.GetLastError());
        return kExitFailed;
    }
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
