// CLProgram: what a CL source member declares and uses, read from its
// statements: each statement's command parsed (with the commands that IF,
// ELSE, WHEN, OTHERWISE and MONMSG run, such as THEN(DO)), the variables
// declared and used, the labels and the subroutines. The checker and the
// language server share it.
#ifndef CLPROGRAM_H
#define CLPROGRAM_H

#include "CLCommandString.h"
#include "CLSource.h"

#include <map>
#include <string>
#include <vector>

struct CLSrcCommand
{
    size_t statement = 0; // index into CLSource::statements
    bool bParsed = false; // false: why says what is wrong with the text
    std::string why;
    CLParsedCommand parsed;
    // The command an IF, ELSE, WHEN, OTHERWISE or MONMSG runs (THEN, CMD,
    // EXEC), when it parses; its name is empty otherwise.
    CLParsedCommand inner;
    std::string innerText;

    // A parameter by keyword, or by position when written without one; null when not given.
    static const CLParsedParam* Param(const CLParsedCommand& c, const char* keyword, int position);
};

struct CLSrcSymbol
{
    std::string name; // upper-cased; variables with their &
    CLSrcPos begin, end;
    size_t statement = 0;
};

class CLProgram
{
public:
    static CLProgram Build(const CLSource& src);

    std::vector<CLSrcCommand> commands; // one per statement with a command, in order
    std::vector<CLSrcSymbol> declared;  // DCL variables, in order
    std::vector<CLSrcSymbol> uses;      // every &variable outside quoted strings but a DCL's own
    std::vector<CLSrcSymbol> labels;    // in order (a name may repeat)
    std::vector<CLSrcSymbol> subroutines;
    bool bFileVariables = false; // a DCLF declares variables the source does not name

    const CLSrcSymbol* FindDeclared(const std::string& name) const;
    const CLSrcSymbol* FindLabel(const std::string& name) const;
    const CLSrcSymbol* FindSubroutine(const std::string& name) const;
};

#endif
