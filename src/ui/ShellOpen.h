// Hands a file or web address to the desktop's "open" action.
#ifndef SHELLOPEN_H
#define SHELLOPEN_H

#include <QString>

#include <functional>

// 0 and nothing happens for a null or empty target; otherwise 1, whatever the
// desktop answers.
int ShellOpen(const char* szTarget);

// Tests: receives the targets instead of the desktop; empty restores it.
void SetShellOpenHandler(std::function<void(const QString& target)> handler);

#endif
