// A command's definition as IBM i describes it (the XML that the Retrieve
// Command Definition API writes: a Cmd with its Parm elements, which may hold
// Qual and Elem parts and lists of single, special and restricted values),
// and its mapping to the parameters of a record:
//
//   keyword      Kwd
//   description  Prompt, cut to its field with "..."
//   choices      single values, special values, then the kind of free value
//                the type allows (Name, Path name, Character value, ...) or
//                its range ("1-9999"); for a qualified name or an element
//                list, each part after "; " with its own values. The default
//                value is marked " (default)", or given at the end as
//                "; default: VALUE" when it is none of the values listed.
//                Cut to the field after the last whole value, with "...".
//   notes        "Required" when Min > 0, else "Optional"; ", Key" for a
//                key parameter; ", Positional n" for the first MaxPos
//                parameters in the order they are defined.
//
// Parameters with a constant value are not prompted and left out; the others
// come in prompt order (PosNbr), then in the order they are defined.
#ifndef CLCMDDEFINITION_H
#define CLCMDDEFINITION_H

#include "CLRecords.h"

#include <string>
#include <vector>

struct CLCmdDefPart
{
    std::string type; // NAME, CHAR, DEC, ... or the name of a Qual/Elem group
    std::string prompt;
    std::string dft; // the default value, empty when none is given
    std::string rangeMin, rangeMax;
    int min = 0;
    bool restricted = false;
    std::vector<std::string> singleValues;  // SngVal
    std::vector<std::string> specialValues; // SpcVal
    std::vector<std::string> values;        // Values (the allowed ones when restricted)
    std::vector<CLCmdDefPart> quals;        // the parts of a qualified name
    std::vector<CLCmdDefPart> elems;        // the elements of a list
};

struct CLCmdDefParm : CLCmdDefPart
{
    std::string keyword;
    int posNbr = 0; // prompt order; 0 when not given
    bool key = false;
    bool constant = false;
};

struct CLCmdDefinition
{
    std::string name;                // CmdName
    std::string prompt;              // the command's title
    int maxPos = -1;                 // MaxPos; -1 when not given (no limit)
    std::vector<CLCmdDefParm> parms; // in the order they are defined
};

namespace CLCmdDef {

// The parameters of a record for a definition, as described above.
std::vector<CLCmdParam> Parameters(const CLCmdDefinition& def);
// The text of each mapped field, for tests and the summary.
std::string Choices(const CLCmdDefPart& part);
std::string Notes(const CLCmdDefParm& parm, int nPositional);
// The kind of free value a type allows ("Name", "Character value", ...), or
// empty for a type that allows none of its own.
std::string KindOf(const std::string& type);

} // namespace CLCmdDef

#endif
