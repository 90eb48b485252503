// The program folder: every data and settings file lies in the folder of the
// running executable, whatever the current directory is.
#ifndef WINUTIL_H
#define WINUTIL_H

#include <cstddef>
#include <string>

// Writes the program folder, ending in a path separator, into szPath, a buffer
// of nSize bytes. Returns 1; 0 (writing nothing) when szPath is null or the
// folder does not fit.
int GetAppPath(char* szPath, size_t nSize);
// The program folder, ending in a path separator.
std::string GetAppPath();
// Makes dir the program folder from now on (tests, and the command-line
// tool's --home). A separator is appended when missing; an empty dir restores
// the executable's own folder.
void SetAppPath(const std::string& dir);

// The executable's own folder, ending in a separator, whatever SetAppPath set.
std::string GetExeFolder();

// Joins the program folder and a file name.
std::string AppFile(const std::string& name);

#endif
