// CLPartial: the marks of a record that lists only part of IBM's reference.
//
// The marks live at the start of the record's reserved text (a long text the
// format stores and nothing else uses), one line each, CR LF between lines:
//
//   partial-parameters        the parameter list stops before IBM's does
//   partial-choices KEYWORD   that parameter's choices list only some values
//
// "partial-parameters" comes first when present, then the choice marks in the
// order of the parameters. Whatever follows the marks (after one CR LF) is the
// reserved text proper and is kept as it is. Lines that do not follow this
// form are not marks: they stay in the reserved text, so any stored reserved
// text reads and writes back byte for byte.
#ifndef CLPARTIAL_H
#define CLPARTIAL_H

#include "CLRecords.h"

#include <string>
#include <vector>

struct CLPartialMarks
{
    bool bParameters = false;         // the parameter list is incomplete
    std::vector<std::string> choices; // keywords whose choices are incomplete
    std::string rest;                 // the reserved text after the marks

    bool operator==(const CLPartialMarks&) const = default;
};

namespace CLPartial {

inline constexpr const char* kParametersMark = "partial-parameters";
inline constexpr const char* kChoicesMark = "partial-choices ";

// Splits a reserved text; keywords are the record's parameters in order.
CLPartialMarks Split(const std::string& reserved, const std::vector<std::string>& keywords);
// The reserved text for marks (choices in the order given).
std::string Compose(const CLPartialMarks& marks);

// The marks of a record.
CLPartialMarks Of(const CLCmdRecord* pRec);
bool IsPartial(const CLCmdRecord* pRec);
bool HasPartialChoices(const CLCmdRecord* pRec, const std::string& keyword);

// What a reader is told of a partial parameter list, or "" for a full one.
std::string Notice(const CLCmdRecord* pRec);
// The same for a parameter whose choices are incomplete.
std::string ChoicesNotice();

// Where the record's own words and its marks disagree, for check: a detail
// text that says only some parameters are listed while the record carries no
// mark, or a marked record whose detail names another number of parameters
// than it lists. Empty when they agree.
std::string Disagreement(const CLCmdRecord* pRec);

} // namespace CLPartial

#endif
