// CliDocs: the command table as the manual page and docs/cli.md hold it, so
// the help, the manual and the docs have one source (CliCommands.cpp);
// "zentrivo-cli help --markdown" and "help --man" print these, and
// scripts/cli-docs.sh puts them into the files.
#ifndef CLIDOCS_H
#define CLIDOCS_H

#include <string>

namespace CliDocs {

// One section per command: its synopsis, its summary, its help text (lines
// indented by two blanks become a code block), its options.
std::string Markdown();
// One .TP entry per command: its synopsis in bold, then its summary.
std::string Man();

// The lines between the two markers of a file's text (exclusive), or a
// value that never equals a generated text when a marker is missing.
std::string Between(const std::string& text, const std::string& begin, const std::string& end);

inline constexpr const char* kMarkdownBegin =
    "<!-- The commands: zentrivo-cli help --markdown (scripts/cli-docs.sh writes them). -->\n";
inline constexpr const char* kMarkdownEnd = "<!-- End of the commands. -->\n";
inline constexpr const char* kManBegin =
    ".\\\" The commands: zentrivo-cli help --man (scripts/cli-docs.sh writes them).\n";
inline constexpr const char* kManEnd = ".\\\" End of the commands.\n";

} // namespace CliDocs

#endif
