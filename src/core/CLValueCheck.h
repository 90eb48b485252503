// CLValueCheck: a parameter's value, as a command string holds it, against
// what the parameter's choices say it takes (CLChoices).
//
// Checked where the choices tell: a name is a valid CL name of at most 10
// characters (or a quoted name); a special value is one the parameter lists;
// a number lies in the ranges; a CL variable name begins with &; a text is
// no longer than stated; a qualified name has no more parts than described;
// a single value stands alone; an element list and a list of repetitions
// hold no more values than allowed. Variables, expressions and lists in
// parentheses are not checked against lists, and nothing is checked where
// the choices were not understood.
#ifndef CLVALUECHECK_H
#define CLVALUECHECK_H

#include "CLChoices.h"
#include "CLCommandString.h"

#include <string>
#include <vector>

namespace CLValueCheck {

// The problem with a value (the elements between the keyword's
// parentheses), "KEYWORD: ..." naming the value; empty when there is none.
// nMaxText bounds a free text where the choices do not (0: no bound).
std::string Check(const CLChoices& choices, const std::string& keyword,
                  const std::vector<CLValue>& elements, size_t nMaxText = 0);

} // namespace CLValueCheck

#endif
