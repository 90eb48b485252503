#include "CliApp.h"

#include "AppSettings.h"
#include "BuildCommand.h"
#include "CategoriesCommand.h"
#include "CheckCommand.h"
#include "CliContext.h"
#include "ExportCommand.h"
#include "HtmlCommand.h"
#include "ImportCommand.h"
#include "ListCommand.h"
#include "LoadCommand.h"
#include "ShowCommand.h"
#include "WinUtil.h"
#include "apputil.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

constexpr const char* kProgram = "zentrivo-cli";

void Print(FILE* fp, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), fp);
}

std::string Bytes(const QString& s)
{
    return s.toLatin1().toStdString();
}

// Options and their explanation, aligned in two columns.
std::string OptionLines(const QList<QCommandLineOption>& options)
{
    std::string out;
    for (const QCommandLineOption& opt : options) {
        std::string left;
        for (const QString& name : opt.names())
            left += (left.empty() ? "" : ", ") + std::string(name.size() == 1 ? "-" : "--") +
                    Bytes(name);
        if (!opt.valueName().isEmpty())
            left += " " + Bytes(opt.valueName());
        left.resize(std::max<size_t>(left.size() + 2, 22), ' ');
        out += "  " + left + Bytes(opt.description()) + "\n";
    }
    return out;
}

QCommandLineOption HelpOption()
{
    return QCommandLineOption({"h", "help"}, "Show this help.");
}

} // namespace

CliApp::CliApp()
{
    m_commands.push_back(std::make_unique<ImportCommand>());
    m_commands.push_back(std::make_unique<BuildCommand>());
    m_commands.push_back(std::make_unique<HtmlCommand>());
    m_commands.push_back(std::make_unique<ListCommand>());
    m_commands.push_back(std::make_unique<CategoriesCommand>());
    m_commands.push_back(std::make_unique<ShowCommand>());
    m_commands.push_back(std::make_unique<CheckCommand>());
    m_commands.push_back(std::make_unique<ExportCommand>());
    m_commands.push_back(std::make_unique<LoadCommand>());
}

CliCommand* CliApp::Find(const std::string& name) const
{
    for (const auto& cmd : m_commands)
        if (cmd->Name() == name)
            return cmd.get();
    return nullptr;
}

std::string CliApp::ProgramHelp() const
{
    std::string out =
        std::string("Usage: ") + kProgram +
        " [--home DIR] [--run-mode N] COMMAND [ARGS]\n"
        "\n"
        "Works on the CL command reference of a program folder: the category\n"
        "list clcat.dat, the index cldict.dat, the per-command files data/NAME.dat\n"
        "and the joined file clcmd.dat.\n"
        "\n"
        "Options:\n"
        "  --home DIR            The program folder (default: this program's folder).\n"
        "  --run-mode N          Where records are read from: 1 the per-command\n"
        "                        files, any other number clcmd.dat (default: RunMode\n"
        "                        of the folder's tarvexa.ini, else 2).\n"
        "  -h, --help            Show this help.\n"
        "\n"
        "Commands:\n";
    for (const auto& cmd : m_commands) {
        std::string left = cmd->Synopsis();
        left.resize(std::max<size_t>(left.size() + 2, 26), ' ');
        out += "  " + left + cmd->Summary() + "\n";
    }
    out += std::string("  help [COMMAND]            Show this help or a command's.\n"
                       "\n"
                       "Exit status: 0 done, 1 failed (a file, a name, a refused YAML file, a\n"
                       "problem found by check), 2 usage error.\n"
                       "Run \"") +
           kProgram + " help COMMAND\" for a command's details.\n";
    return out;
}

std::string CliApp::CommandHelp(const CliCommand& cmd) const
{
    std::string out = std::string("Usage: ") + kProgram + " [--home DIR] [--run-mode N] " +
                      cmd.Synopsis() + "\n\n" + cmd.Description();
    QList<QCommandLineOption> options = cmd.Options();
    options.append(HelpOption());
    out += "\nOptions:\n" + OptionLines(options);
    return out;
}

int CliApp::Usage(const std::string& message) const
{
    Print(stderr,
          std::string(kProgram) + ": " + message + "\nRun \"" + kProgram + " --help\" for help.\n");
    return kExitUsage;
}

int CliApp::Help(const QStringList& words) const
{
    if (words.size() > 1)
        return Usage("help takes one command name at most.");
    if (words.isEmpty()) {
        Print(stdout, ProgramHelp());
        return kExitOk;
    }
    const CliCommand* cmd = Find(Bytes(words.front()));
    if (!cmd)
        return Usage("unknown command \"" + Bytes(words.front()) + "\".");
    Print(stdout, CommandHelp(*cmd));
    return kExitOk;
}

int CliApp::Run(const std::vector<std::string>& args)
{
    QStringList list;
    for (const std::string& arg : args)
        list.append(QString::fromLatin1(arg.data(), static_cast<qsizetype>(arg.size())));
    if (list.isEmpty())
        list.append(kProgram);

    // The program's options end at the command's name; what follows is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    QCommandLineOption home("home", "", "DIR");
    QCommandLineOption runMode("run-mode", "", "N");
    QCommandLineOption help = HelpOption();
    parser.addOptions({home, runMode, help});
    if (!parser.parse(list))
        return Usage(Bytes(parser.errorText()));
    QStringList rest = parser.positionalArguments();
    if (parser.isSet(help))
        return Help({});
    if (rest.isEmpty())
        return Usage("no command given.");

    const std::string name = Bytes(rest.front());
    rest.removeFirst();
    if (name == "help")
        return Help(rest);
    CliCommand* cmd = Find(name);
    if (!cmd)
        return Usage("unknown command \"" + name + "\".");
    if (parser.isSet(home) && parser.value(home).isEmpty())
        return Usage("--home needs a folder.");
    return RunCommand(*cmd, rest, parser.isSet(home) ? Bytes(parser.value(home)) : "",
                      parser.isSet(runMode) ? Bytes(parser.value(runMode)) : "");
}

int CliApp::RunCommand(CliCommand& cmd, const QStringList& args, const std::string& home,
                       const std::string& runMode)
{
    QCommandLineParser parser;
    QCommandLineOption help = HelpOption();
    parser.addOptions(cmd.Options());
    parser.addOption(help);
    if (!parser.parse(QStringList{QString::fromStdString(cmd.Name())} + args))
        return Usage(cmd.Name() + ": " + Bytes(parser.errorText()));
    if (parser.isSet(help)) {
        Print(stdout, CommandHelp(cmd));
        return kExitOk;
    }
    for (const QCommandLineOption& opt : cmd.Options())
        if (!opt.valueName().isEmpty() && opt.defaultValues().isEmpty() && parser.isSet(opt) &&
            parser.value(opt).isEmpty())
            return Usage(cmd.Name() + ": --" + Bytes(opt.names().back()) + " needs a value.");
    std::vector<std::string> positional;
    for (const QString& arg : parser.positionalArguments())
        positional.push_back(Bytes(arg));
    if (positional.size() < cmd.MinArgs())
        return Usage(cmd.Name() + ": missing argument; usage: " + cmd.Synopsis());
    if (positional.size() > cmd.MaxArgs())
        return Usage(cmd.Name() + ": too many arguments; usage: " + cmd.Synopsis());

    int64_t nRunMode = 0;
    if (!runMode.empty() && !CliArgs::ParseNumber(runMode, INT32_MIN, INT32_MAX, &nRunMode))
        return Usage("--run-mode needs a whole number, not \"" + runMode + "\".");
    if (!home.empty())
        SetAppPath(home);
    LoadSettings();
    if (!runMode.empty())
        AppSettings.RunMode = static_cast<int32_t>(nRunMode);

    CliContext ctx;
    return cmd.Run(ctx, CliArgs(parser, std::move(positional)));
}
