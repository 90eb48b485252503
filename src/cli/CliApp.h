// CliApp: zentrivo-cli's entry: the program's options (--home, --run-mode,
// --wait, --help, --version), the help texts and the dispatch to the commands.
#ifndef CLIAPP_H
#define CLIAPP_H

#include "CliCommands.h"
#include "CliText.h"

#include <QStringList>

#include <map>
#include <string>
#include <vector>

class CLFolderLock;
class QCommandLineParser;
class CliContext;

class CliApp
{
public:
    // args[0] is the program; returns the exit status.
    int Run(const std::vector<std::string>& args);

    std::string ProgramHelp() const;
    std::string CommandHelp(const CliCommand& cmd) const;

private:
    const CliCommand* Find(const std::string& name) const;
    int Usage(const std::string& message) const;
    int Help(const QStringList& words) const;
    int RunCommand(const CliCommand& cmd, const QStringList& args, const std::string& home,
                   const std::string& runMode);
    // The text arguments and option values of a command as Latin-1, the
    // paths as given; false after saying why one cannot be held.
    bool ConvertArgs(const CliCommand& cmd, const QCommandLineParser& parser,
                     std::vector<std::string>* pPositional,
                     std::map<std::string, std::string>* pValues) const;
    // Help and data on standard output, messages on standard error, in the
    // terminal's encoding.
    void PrintOut(const std::string& text) const;
    void PrintError(const std::string& message) const;
    // Takes the folder's lock for a writer, waiting at most --wait seconds
    // and saying so on standard error; false after saying why not.
    bool TakeLock(CliContext& ctx, CLFolderLock& lock) const;

    static constexpr int kDefaultWaitSeconds = 30;
    int m_nWaitSeconds = kDefaultWaitSeconds;
    CliText m_text;
};

#endif
