// CliContext: what every command shares: the database manager of the program
// folder, standard output for data and standard error for messages, both in
// the terminal's encoding (CliText). While it lives, the data layer's
// messages go to standard error too.
#ifndef CLICONTEXT_H
#define CLICONTEXT_H

#include "CLCmdManager.h"
#include "CLMessage.h"
#include "CliText.h"

#include <string>

class CliContext
{
public:
    // text outlives the context.
    CliContext(const CLOptions& options, const CliText& text);
    ~CliContext();
    CliContext(const CliContext&) = delete;
    CliContext& operator=(const CliContext&) = delete;

    CLCmdManager& Manager() { return m_manager; }

    // Data, Latin-1 as the reference holds it.
    void Out(const std::string& latin1);
    // Data in an encoding of its own (a member's source, UTF-8 JSON): unchanged.
    void OutAsIs(const std::string& bytes);
    // Data that quotes both the reference and a member's text, converted as a
    // message is (CliText::Message), control characters kept.
    void OutMixed(const std::string& text);
    // A message line on standard error: "zentrivo-cli: message".
    void Error(const std::string& message);
    // A line on standard error, control characters shown as '?'. It may
    // quote file names, which stay as given (CliText::Message).
    void ErrorLine(const std::string& line);

    // Load cldict.dat or clcat.dat into the manager; on failure say so and
    // return false.
    bool LoadIndex();
    bool LoadCategories();

    // The entry's record, read and attached as AttachCmdRecord does (the run
    // mode decides where from), and whether the read succeeded.
    CLCmdRecord* AttachRecord(CLCmdIndex* pIdx, bool* pbRead);

    // Writes a whole file through a temporary one; false when it fails.
    static bool WriteFile(const std::string& path, const std::string& bytes);
    // Reads a whole regular file; false when it cannot be read.
    static bool ReadFile(const std::string& path, std::string* pBytes);
    // Creates a folder and its parents; true when it exists afterwards.
    static bool MakeFolder(const std::string& path);

private:
    CLCmdManager m_manager;
    const CliText& m_text;
    CLMessageHook m_oldHook;
};

#endif
