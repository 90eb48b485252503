// CLCmdDefImport: takes command definitions (CLCmdDefinition) into the
// reference. For a command the index holds, the parameter list of its record
// is replaced and every other field (description, environment, detail,
// examples, error messages, reserved fields) and its category are kept; a
// new command gets an index entry in the given category and a per-command
// file with its name, title and parameters. Records and entries go through
// CLRecordStore, so nothing is half-written.
#ifndef CLCMDDEFIMPORT_H
#define CLCMDDEFIMPORT_H

#include "CLCmdDefinition.h"
#include "CLRecordStore.h"

#include <cstdint>
#include <string>
#include <vector>

class CLCmdManager;

// What an import changed in one command.
struct CLCmdDefChange
{
    std::string name;
    bool bNew = false;
    size_t nParams = 0;
    std::vector<std::string> added, removed, changed; // parameter keywords
    // "CRTFOO: new command, 3 parameters", "CRTLIB: parameters added X; removed
    // Y; changed Z", "CRTLIB: no change".
    std::string Summary() const;
};

class CLCmdDefImport
{
public:
    // Works on the caller's manager, whose index is loaded.
    CLCmdDefImport(CLCmdManager* pManager, uint32_t dwCategory);

    // Imports one definition. False, with the reason and nothing written, for
    // a definition that cannot be taken (a name that is no CL name, a
    // parameter without a keyword or with one that is no CL name, a keyword
    // twice, more parameters than a command can have) or a record that
    // cannot be read or written.
    bool Import(const CLCmdDefinition& def, CLCmdDefChange* pChange, std::string* pWhy);
    // What Import would change, writing nothing (to ask before a command's
    // parameter list is replaced). False, with the reason, as Import.
    bool Preview(const CLCmdDefinition& def, CLCmdDefChange* pChange, std::string* pWhy);
    // Writes the index when commands were added; false with the reason. A
    // new command is added only once both its file and the index are saved:
    // when the index cannot be written, the new commands' files are removed
    // and their entries taken out again, and the reason names them.
    bool Finish(std::string* pWhy);
    // The new commands of this run, in the order imported.
    const std::vector<std::string>& NewCommands() const { return m_store.Added(); }

    // The most parameters a command can have.
    static constexpr size_t kMaxParms = 99;

private:
    bool Check(const CLCmdDefinition& def, std::string* pWhy) const;
    bool Take(const CLCmdDefinition& def, CLCmdDefChange* pChange, std::string* pWhy, bool bWrite);

    CLCmdManager* m_pManager;
    uint32_t m_dwCategory;
    CLRecordStore m_store;
};

#endif
