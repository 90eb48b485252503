// CliCommand: one command of zentrivo-cli. The application parses the
// command's options and checks the number of its arguments before Run().
#ifndef CLICOMMAND_H
#define CLICOMMAND_H

#include "CliArgs.h"

#include <QCommandLineOption>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <string>

class CliContext;

// The exit status of the program.
enum CliExit : int
{
    kExitOk = 0,     // done
    kExitFailed = 1, // a file could not be read or written, a name was not found, ...
    kExitUsage = 2   // unknown command, missing argument, bad number
};

class CliCommand
{
public:
    static constexpr size_t kAnyCount = SIZE_MAX;

    virtual ~CliCommand() = default;

    virtual std::string Name() const = 0;
    // The command line after the program's options: "import [--records] FILE".
    virtual std::string Synopsis() const = 0;
    // One line for the program's help.
    virtual std::string Summary() const = 0;
    // The paragraphs of the command's own help.
    virtual std::string Description() const = 0;
    virtual QList<QCommandLineOption> Options() const { return {}; }
    virtual size_t MinArgs() const { return 0; }
    virtual size_t MaxArgs() const { return 0; }

    virtual int Run(CliContext& ctx, const CliArgs& args) = 0;
};

#endif
