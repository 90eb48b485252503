// A temporary program folder for running zentrivo-cli in, with helpers that
// build its data files through the tool or, for planted faults, directly.
#ifndef CLIHOME_H
#define CLIHOME_H

#include "CliRunner.h"
#include "RecordDoc.h"
#include "TestHome.h"

#include <string>
#include <vector>

// Two categories and four commands; index order CPYF, CRTLIB, DLTLIB, DSPFD.
extern const char* const kSmallList;

class CliHome : public TestHome
{
public:
    CliResult Run(const std::vector<std::string>& args, const std::string& locale = "C") const
    {
        return RunCliIn(Path(), args, locale);
    }
    // Writes the list to list.txt and runs "import --records"; expects success.
    void Import(const std::string& list = kSmallList) const;
    // Runs "build"; expects success.
    void Build() const;
    // Saves a record to data/FILE (default NAME.dat) through the data layer.
    void Save(const RecordDoc& doc, const std::string& file = "") const;
    // The index as the data layer loads it.
    std::vector<CLCmdIndex> Index() const;
    // Writes cldict.dat or clcat.dat byte by byte, duplicates and all.
    void WriteIndex(const std::vector<CLCmdIndex>& entries) const;
    void WriteCategories(const std::vector<CLCategory>& cats) const;
};

#endif
