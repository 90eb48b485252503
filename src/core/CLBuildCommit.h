// A build replaces two files that belong together: clcmd.dat and the index
// cldict.dat whose positions point into it. They are put in place as one step:
//
//   1. both are written whole to temporary files beside their targets;
//   2. a commit marker "clcmd.commit" names both temporaries
//      ("TEMP<TAB>TARGET" per line) and is itself put in place atomically;
//   3. each temporary is renamed over its target;
//   4. the marker is removed.
//
// A process killed at any moment leaves either the old pair (no marker: the
// temporaries are left-overs) or a marker that says how to finish. Recover()
// runs whenever a writer takes the folder's lock: with a marker it renames the
// temporaries that are still there and removes the marker; then it removes
// every left-over temporary file of the data files.
#ifndef CLBUILDCOMMIT_H
#define CLBUILDCOMMIT_H

#include <string>

class CLBuildCommit
{
public:
    static constexpr const char* kMarker = "clcmd.commit";

    // Puts the two finished temporaries in place (paths in the program
    // folder). False, naming the file in *pWhy, when the marker cannot be
    // written; the old pair then stays and the temporaries are removed.
    static bool Commit(const std::string& joinedTemp, const std::string& indexTemp,
                       std::string* pWhy);
    // Finishes or undoes an interrupted commit; call with the folder's lock held.
    static void Recover();

    // Tests: called at each step of Commit (0 before the marker, 1 after it,
    // 2 and 3 after each rename), so a test can end the process there.
    static void (*s_pStepHook)(int nStep);
};

#endif
