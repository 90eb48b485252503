// Runs the built zentrivo-cli (its path comes from the build as ZENTRIVO_CLI)
// and captures what it writes and its exit status.
#ifndef CLIRUNNER_H
#define CLIRUNNER_H

#include <string>
#include <vector>

struct CliResult
{
    int status = -1; // the exit status; -1 when it did not exit normally
    std::string out; // standard output
    std::string err; // standard error
};

// Runs zentrivo-cli with args, standard input from /dev/null, in the locale
// named (LC_ALL; the C locale, where bytes pass unchanged, unless a test of
// the terminal's encoding asks for another).
CliResult RunCli(const std::vector<std::string>& args, const std::string& locale = "C");
// The same for a copy of the program elsewhere.
CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& locale = "C");
// The same with "--home home" in front.
CliResult RunCliIn(const std::string& home, const std::vector<std::string>& args,
                   const std::string& locale = "C");

// The shipped reference's sources; ZENTRIVO_TEST_REFERENCE names another copy
// (a work tree whose reference is being edited).
std::string ReferenceDir();

// The lines of a text, without their line feeds.
std::vector<std::string> LinesOf(const std::string& text);

#endif
