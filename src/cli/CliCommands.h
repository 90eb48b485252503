// The commands of zentrivo-cli, as one table: each command's name, synopsis,
// one-line summary, help text, options, argument counts, whether it changes
// the program folder, and the function that runs it. The application parses
// a command's options and checks the number of its arguments before it runs.
#ifndef CLICOMMANDS_H
#define CLICOMMANDS_H

#include "CliArgs.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CliContext;

// The exit status of the program.
enum CliExit : int
{
    kExitOk = 0,     // done
    kExitFailed = 1, // a file could not be read or written, a name was not found, ...
    kExitUsage = 2   // unknown command, missing argument, bad number
};

// What a command's arguments are: text of the reference (names, words,
// values), converted from the terminal's encoding to Latin-1, or file and
// folder names, handed on as the bytes given.
enum class CliArgKind
{
    Text,
    Paths
};

struct CliOption
{
    const char* name;
    const char* valueName; // null for a switch
    const char* description;
    // The value names a file or folder: the bytes given, never converted.
    bool bPath = false;
};

struct CliCommand
{
    static constexpr size_t kAnyCount = SIZE_MAX;

    const char* name;
    const char* synopsis;    // the command line after the program's options
    const char* summary;     // one line for the program's help
    const char* description; // the paragraphs of the command's own help
    std::vector<CliOption> options;
    size_t minArgs;
    size_t maxArgs;
    CliArgKind argKind;
    // Changes the program folder: runs holding the folder's lock, so that two
    // writers never interleave their read-modify-write.
    bool bWrites;
    int (*run)(CliContext& ctx, const CliArgs& args);
};

// Every command, in the order the help lists them.
const std::vector<CliCommand>& CliCommands();

int RunImport(CliContext& ctx, const CliArgs& args);
int RunBuild(CliContext& ctx, const CliArgs& args);
int RunHtml(CliContext& ctx, const CliArgs& args);
int RunList(CliContext& ctx, const CliArgs& args);
int RunCategories(CliContext& ctx, const CliArgs& args);
int RunShow(CliContext& ctx, const CliArgs& args);
int RunCheck(CliContext& ctx, const CliArgs& args);
int RunExport(CliContext& ctx, const CliArgs& args);
int RunLoad(CliContext& ctx, const CliArgs& args);
int RunImportCmd(CliContext& ctx, const CliArgs& args);
int RunPrompt(CliContext& ctx, const CliArgs& args);
int RunExplain(CliContext& ctx, const CliArgs& args);
int RunSearch(CliContext& ctx, const CliArgs& args);
int RunMsgid(CliContext& ctx, const CliArgs& args);
int RunLint(CliContext& ctx, const CliArgs& args);
int RunFormat(CliContext& ctx, const CliArgs& args);
int RunLsp(CliContext& ctx, const CliArgs& args);

#endif
