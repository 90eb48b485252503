// CLLint: checks a CL source member.
//
// Each command against its record in the reference (the prompter's checks:
// unknown keyword, keyword twice, too many positional values, a required
// parameter missing, a value outside a closed list or a range); a command the
// reference does not hold is a warning. Then the program's structure, as CL
// has it: the declare commands (DCL, DCLF, COPYRIGHT, DCLPRCOPT) before all
// others but PGM; DO, DOWHILE, DOUNTIL and DOFOR ended by ENDDO; WHEN and
// OTHERWISE inside SELECT, ended by ENDSELECT; SUBR ... ENDSUBR not nested,
// and after the first SUBR only subroutines (and ENDPGM); CALLSUBR to a
// subroutine that exists; ELSE only after an IF; LEAVE and ITERATE only in a
// DOWHILE, DOUNTIL or DOFOR group (and to the label of one); GOTO to a label
// that exists; a label defined twice; a variable used but not declared
// (unless a DCLF declares variables the source cannot show); a variable
// declared but not used (a note); anything after ENDPGM.
#ifndef CLLINT_H
#define CLLINT_H

#include "CLDiagnostic.h"
#include "CLProgram.h"
#include "CLRecords.h"

#include <functional>
#include <string>
#include <vector>

class CLLint
{
public:
    // A command's record by its upper-case name: null when the reference does
    // not hold the command. A record without parameters is not checked.
    using Lookup = std::function<const CLCmdRecord*(const std::string& name)>;

    explicit CLLint(Lookup lookup) : m_lookup(std::move(lookup)) {}

    // Every finding, sorted by position.
    std::vector<CLDiagnostic> Check(const CLSource& src, const CLProgram& prog) const;
    std::vector<CLDiagnostic> Check(const CLSource& src) const
    {
        return Check(src, CLProgram::Build(src));
    }

private:
    Lookup m_lookup;
};

#endif
