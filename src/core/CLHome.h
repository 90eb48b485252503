// CLHome: which folder the data and settings files live in.
//
//   1. the folder given (--home DIR), else
//   2. the folder in ZENTRIVO_HOME, else
//   3. the program's own folder, when it can be written and is no installed
//      copy (PROGRAM/../share/zentrivo does not exist), or holds the data
//      files (cldict.dat or clcat.dat) itself: the build folder, a portable
//      copy, a first run in an empty folder, else
//   4. the user's own folder: $XDG_DATA_HOME/zentrivo (~/.local/share/zentrivo
//      by default; %APPDATA%\Zentrivo on Windows). When it does not exist yet,
//      it is made a copy of the reference shipped beside the program
//      (PROGRAM/../share/zentrivo), copied into a temporary folder first and
//      renamed into place only when complete, so no half copy is ever used.
#ifndef CLHOME_H
#define CLHOME_H

#include <string>

namespace CLHome {

// What the choice is made from; Current() fills it from the process.
struct Inputs
{
    std::string given;       // --home; empty when not given
    std::string envHome;     // ZENTRIVO_HOME
    std::string programDir;  // the executable's folder
    std::string userDataDir; // $XDG_DATA_HOME, or ~/.local/share (%APPDATA% on Windows)
};
Inputs Current(const std::string& given);

enum class Kind
{
    Given,
    Environment,
    Program,
    User
};

struct Choice
{
    std::string folder; // ends in a separator
    Kind kind = Kind::Program;
};

// Decides, without touching any file.
Choice Choose(const Inputs& in);
// The reference shipped beside a program in programDir: programDir/../share/zentrivo/,
// or empty when it holds no cldict.dat.
std::string SharedReference(const std::string& programDir);
// Makes a missing user folder, filled with the shared reference when there is
// one (temporary folder, then rename); leftovers of an interrupted copy are
// removed. False with the reason when the folder cannot be made.
bool PrepareUserFolder(const std::string& folder, const std::string& shared, std::string* pWhy);

// Chooses, prepares a user folder and makes the choice the program folder
// (SetAppPath). False with the reason when the user folder cannot be made; the
// program folder is then left as it was.
bool Use(const std::string& given, std::string* pWhy);

} // namespace CLHome

#endif
