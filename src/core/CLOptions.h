// CLOptions: what a manager, and everything that reads records through it, is
// told when it is made, instead of reading the process's settings: the run
// mode, which says where records come from. Two managers may run with
// different options side by side (a language server holds several folders).
#ifndef CLOPTIONS_H
#define CLOPTIONS_H

#include <cstdint>

// Run modes: 1 reads command records from the per-command files and offers the
// editing commands; 2 (the default) reads them from the joined file and is
// read-only; any other value reads the joined file and offers editing.
constexpr int32_t kRunModeEdit = 1;
constexpr int32_t kRunModeRead = 2;

struct CLOptions
{
    int32_t nRunMode = kRunModeRead;

    // Whether records come from the per-command files rather than clcmd.dat.
    bool ReadsRecordFiles() const { return nRunMode == kRunModeEdit; }
};

#endif
