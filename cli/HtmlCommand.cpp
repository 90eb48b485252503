#include "HtmlCommand.h"

#include "CLHtmlWriter.h"
#include "CliContext.h"

std::string HtmlCommand::Name() const
{
    return "html";
}

std::string HtmlCommand::Synopsis() const
{
    return "html --out DIR [NAME...]";
}

std::string HtmlCommand::Summary() const
{
    return "Write the HTML pages into DIR.";
}

std::string HtmlCommand::Description() const
{
    return "Writes the page NAME.htm of each named command into DIR. With no NAME,\n"
           "writes every command's page, then the index pages index-N.htm. DIR is\n"
           "created when missing. Records are read as the run mode says.\n";
}

QList<QCommandLineOption> HtmlCommand::Options() const
{
    return {QCommandLineOption("out", "The folder the pages are written to.", "DIR")};
}

int HtmlCommand::Run(CliContext& ctx, const CliArgs& args)
{
    if (!args.IsSet("out")) {
        ctx.Error("html: --out DIR is required.");
        return kExitUsage;
    }
    const std::string folder = args.Value("out");
    if (!ctx.LoadIndex())
        return kExitFailed;
    if (!CliContext::MakeFolder(folder)) {
        ctx.Error("the folder \"" + folder + "\" cannot be created.");
        return kExitFailed;
    }
    CLCmdManager& manager = ctx.Manager();
    CLHtmlWriter writer(&manager);
    writer.SetOutputFolder(folder);
    if (args.Positional().empty()) {
        if (writer.CreateAllHtml())
            return kExitOk;
        ctx.Error(writer.GetLastError());
        return kExitFailed;
    }
    int status = kExitOk;
    for (const std::string& name : args.Positional()) {
        CLCmdIndex* pIdx = manager.FindCmdIdx(name.c_str());
        if (!pIdx) {
            ctx.Error("CL command \"" + name + "\" not found.");
            status = kExitFailed;
        } else if (!writer.CreateCmdHtml(pIdx)) {
            ctx.Error(writer.GetLastError());
            status = kExitFailed;
        }
    }
    return status;
}
