// CLSearchScan: one search without an index, for a program that searches
// once and ends (zentrivo-cli). It reads every command's record as the run
// mode says and looks only at the records whose bytes hold every word of the
// query, keeping the best while it reads; the results are those an index
// (CLSearchIndex) gives. A query that finds nothing is corrected from the
// words of every record (CLSearchSpeller.h) and searched again.
#ifndef CLSEARCHSCAN_H
#define CLSEARCHSCAN_H

#include "CLOptions.h"
#include "CLSearch.h"

#include <string>
#include <string_view>

class CLCmdManager;

class CLSearchScan
{
public:
    // Searches the commands of the manager's index (loaded by the caller).
    // False when the records cannot be read at all (clcmd.dat missing in
    // the reading run modes); *pWhy then names the file.
    static bool Run(CLCmdManager& manager, std::string_view query, size_t nLimit,
                    CLSearch::Results* pResults, std::string* pWhy);
    // The same for the program folder's index, read here as the manager
    // would load it, without building the manager's list: the fastest way to
    // search once. False when the index or the records cannot be read.
    static bool RunOnFolder(const CLOptions& options, std::string_view query, size_t nLimit,
                            CLSearch::Results* pResults, std::string* pWhy);
};

#endif
