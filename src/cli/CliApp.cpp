#include "CliApp.h"

#include "AppSettings.h"
#include "CLBuildCommit.h"
#include "CLFolderLock.h"
#include "CLHome.h"
#include "CliContext.h"
#include "CliDocs.h"
#include "CxFile.h"
#include "WinUtil.h"
#include "apputil.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

constexpr const char* kProgram = "zentrivo-cli";

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

QList<QCommandLineOption> OptionsOf(const CliCommand& cmd)
{
    QList<QCommandLineOption> options;
    for (const CliOption& opt : cmd.options) {
        if (opt.valueName)
            options.append(QCommandLineOption(opt.name, opt.description, opt.valueName));
        else
            options.append(QCommandLineOption(opt.name, opt.description));
    }
    return options;
}

} // namespace

void CliApp::PrintOut(const std::string& text) const
{
    const std::string bytes = m_text.Out(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void CliApp::PrintError(const std::string& message) const
{
    std::fflush(stdout);
    const std::string bytes = m_text.Message(message);
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

const CliCommand* CliApp::Find(const std::string& name) const
{
    for (const CliCommand& cmd : CliCommands())
        if (name == cmd.name)
            return &cmd;
    return nullptr;
}

std::string CliApp::ProgramHelp() const
{
    std::string out =
        std::string("Usage: ") + kProgram +
        " [--home DIR] [--run-mode N] [--wait SECONDS] COMMAND [ARGS]\n"
        "\n"
        "Works on the CL command reference of a program folder: the category\n"
        "list clcat.dat, the index cldict.dat, the per-command files data/NAME.dat\n"
        "and the joined file clcmd.dat.\n"
        "\n"
        "Options:\n"
        "  --home DIR            The program folder. Default: ZENTRIVO_HOME when set,\n"
        "                        else this program's folder when it holds the data\n"
        "                        files and can be written, else the user's folder\n"
        "                        $XDG_DATA_HOME/zentrivo (~/.local/share/zentrivo),\n"
        "                        made a copy of the installed reference at first use.\n"
        "  --run-mode N          Where records are read from: 1 the per-command\n"
        "                        files, any other number clcmd.dat (default: RunMode\n"
        "                        of the folder's tarvexa.ini, else 2).\n"
        "  --wait SECONDS        How long a command that changes the folder waits\n"
        "                        for another program's lock on it (default 30).\n"
        "  -h, --help            Show this help.\n"
        "  --version             Show the version.\n"
        "\n"
        "Commands:\n";
    for (const CliCommand& cmd : CliCommands()) {
        std::string left = cmd.synopsis;
        left.resize(std::max<size_t>(left.size() + 2, 26), ' ');
        out += "  " + left + cmd.summary + "\n";
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
                      cmd.synopsis + "\n\n" + cmd.description;
    QList<QCommandLineOption> options = OptionsOf(cmd);
    options.append(HelpOption());
    out += "\nOptions:\n" + OptionLines(options);
    return out;
}

int CliApp::Usage(const std::string& message) const
{
    PrintError(std::string(kProgram) + ": " + message + "\nRun \"" + kProgram +
               " --help\" for help.\n");
    return kExitUsage;
}

int CliApp::Help(const QStringList& words) const
{
    // The command table as the docs and the manual page hold it.
    if (words.size() == 1 && (words[0] == "--markdown" || words[0] == "--man")) {
        PrintOut(words[0] == "--man" ? CliDocs::Man() : CliDocs::Markdown());
        return kExitOk;
    }
    if (words.size() > 1)
        return Usage("help takes one command name at most.");
    if (words.isEmpty()) {
        PrintOut(ProgramHelp());
        return kExitOk;
    }
    const CliCommand* cmd = Find(Bytes(words.front()));
    if (!cmd)
        return Usage("unknown command \"" + Bytes(words.front()) + "\".");
    PrintOut(CommandHelp(*cmd));
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
    QCommandLineOption wait("wait", "", "SECONDS");
    QCommandLineOption help = HelpOption();
    QCommandLineOption version("version", "");
    parser.addOptions({home, runMode, wait, help, version});
    if (!parser.parse(list))
        return Usage(Bytes(parser.errorText()));
    QStringList rest = parser.positionalArguments();
    if (parser.isSet(help))
        return Help({});
    if (parser.isSet(version)) {
        PrintOut(std::string(kProgram) + " " + ZENTRIVO_VERSION + "\n");
        return kExitOk;
    }
    if (rest.isEmpty())
        return Usage("no command given.");

    const std::string name = Bytes(rest.front());
    rest.removeFirst();
    if (name == "help")
        return Help(rest);
    const CliCommand* cmd = Find(name);
    if (!cmd)
        return Usage("unknown command \"" + name + "\".");
    if (parser.isSet(home) && parser.value(home).isEmpty())
        return Usage("--home needs a folder.");
    int64_t nWait = kDefaultWaitSeconds;
    if (parser.isSet(wait) && !CliArgs::ParseNumber(Bytes(parser.value(wait)), 0, 86400, &nWait))
        return Usage("--wait needs a number of seconds from 0 to 86400, not \"" +
                     Bytes(parser.value(wait)) + "\".");
    m_nWaitSeconds = static_cast<int>(nWait);
    return RunCommand(*cmd, rest, parser.isSet(home) ? Bytes(parser.value(home)) : "",
                      parser.isSet(runMode) ? Bytes(parser.value(runMode)) : "");
}

bool CliApp::TakeLock(CliContext& ctx, CLFolderLock& lock) const
{
    // A second of quiet waiting, then a word on what it waits for, then up
    // to --wait seconds in all.
    const int nTotalMs = m_nWaitSeconds * 1000;
    const int nFirstMs = nTotalMs < 1000 ? nTotalMs : 1000;
    if (lock.Acquire(nFirstMs))
        return true;
    if (lock.TimedOut() && nTotalMs > nFirstMs) {
        ctx.Error("waiting for the folder lock held by process " +
                  std::to_string(CLFolderLock::HolderPid()) + "...");
        if (lock.Acquire(nTotalMs - nFirstMs))
            return true;
    }
    if (lock.TimedOut())
        ctx.Error("the folder lock is still held by process " +
                  std::to_string(CLFolderLock::HolderPid()) + " after " +
                  std::to_string(m_nWaitSeconds) + " s; nothing was done.");
    else
        ctx.Error("the lock file \"" + AppFile(CLFolderLock::kLockFile) + "\" cannot be written.");
    return false;
}

int CliApp::RunCommand(const CliCommand& cmd, const QStringList& args, const std::string& home,
                       const std::string& runMode)
{
    const std::string name = cmd.name;
    QCommandLineParser parser;
    QCommandLineOption help = HelpOption();
    parser.addOptions(OptionsOf(cmd));
    parser.addOption(help);
    if (!parser.parse(QStringList{QString::fromLatin1(cmd.name)} + args))
        return Usage(name + ": " + Bytes(parser.errorText()));
    if (parser.isSet(help)) {
        PrintOut(CommandHelp(cmd));
        return kExitOk;
    }
    for (const QCommandLineOption& opt : OptionsOf(cmd))
        if (!opt.valueName().isEmpty() && opt.defaultValues().isEmpty() && parser.isSet(opt) &&
            parser.value(opt).isEmpty())
            return Usage(name + ": --" + Bytes(opt.names().back()) + " needs a value.");
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    if (!ConvertArgs(cmd, parser, &positional, &values))
        return kExitUsage;
    if (positional.size() < cmd.minArgs)
        return Usage(name + ": missing argument; usage: " + cmd.synopsis);
    if (positional.size() > cmd.maxArgs)
        return Usage(name + ": too many arguments; usage: " + cmd.synopsis);

    int64_t nRunMode = 0;
    if (!runMode.empty() && !CliArgs::ParseNumber(runMode, INT32_MIN, INT32_MAX, &nRunMode))
        return Usage("--run-mode needs a whole number, not \"" + runMode + "\".");
    std::string why;
    if (!CLHome::Use(home, &why)) {
        PrintError(std::string(kProgram) + ": " + why + "\n");
        return kExitFailed;
    }
    LoadSettings();
    if (!runMode.empty())
        AppSettings.RunMode = static_cast<int32_t>(nRunMode);

    CliContext ctx(CurrentOptions(), m_text);
    // A writer holds the folder's lock for its whole read-modify-write; taking
    // it finishes or undoes an interrupted build first.
    CLFolderLock lock;
    if (cmd.bWrites && !TakeLock(ctx, lock))
        return kExitFailed;
    // A reader finishes an interrupted build too, rather than read half of it.
    if (!cmd.bWrites && CxFile::FileSize(AppFile(CLBuildCommit::kMarker).c_str()) >= 0 &&
        lock.Acquire(5000))
        lock.Release();
    return cmd.run(ctx, CliArgs(parser, std::move(positional), std::move(values)));
}

bool CliApp::ConvertArgs(const CliCommand& cmd, const QCommandLineParser& parser,
                         std::vector<std::string>* pPositional,
                         std::map<std::string, std::string>* pValues) const
{
    // Before the command runs, so that an argument refused leaves every file
    // as it was. Qt read each argument as Latin-1: its bytes come back whole.
    std::string why;
    auto refuse = [&](const std::string& reason) {
        // The reason is in the terminal's encoding already.
        std::fflush(stdout);
        const std::string line = std::string(kProgram) + ": " + cmd.name + ": " + reason + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        return false;
    };
    for (const QString& arg : parser.positionalArguments()) {
        std::string text = Bytes(arg);
        if (cmd.argKind == CliArgKind::Text && !m_text.In(Bytes(arg), &text, &why))
            return refuse(why);
        pPositional->push_back(std::move(text));
    }
    for (const CliOption& opt : cmd.options) {
        const QString name = QString::fromLatin1(opt.name);
        if (!opt.valueName || !parser.isSet(name))
            continue;
        std::string value = Bytes(parser.value(name));
        if (!opt.bPath && !m_text.In(Bytes(parser.value(name)), &value, &why))
            return refuse(why);
        (*pValues)[opt.name] = std::move(value);
    }
    return true;
}
