// CLChoices: what a parameter takes, read from its choices text.
//
// The texts follow IBM's parameter tables in a few forms:
//   Name, *LIBL, *CURLIB                       kinds and values, comma-separated
//   1-32, *ASPDEV                              number ranges
//   *PROD (default), *TEST                     a default marked
//   Qualified object name; job description: Name; library: Name, *LIBL
//   Qualified job name; job name: Name; user: Name; number: 000000-999999
//   Qualified object name, *NONE               whole-value special values
//   Element list; member: Name, *FIRST; replace or add records: *REPLACE, *ADD
//   Single values: *ALL; Other values (up to 4 repetitions): *A, *B, *C
//   Values (up to 50 repetitions): Name
//   ...; default: *LIBL                        a default stated apart
// An item that names no known kind or value ("or up to 300 library names")
// leaves its set open: any value may be right there. A text whose form is not
// one of these is not understood (bKnown false) and checks nothing, so a
// record written freely never makes a valid command look wrong.
#ifndef CLCHOICES_H
#define CLCHOICES_H

#include <string>
#include <utility>
#include <vector>

// The values one value (or one part of a qualified name) takes.
struct CLChoiceSet
{
    enum Kind : unsigned
    {
        kName = 1,      // a CL name
        kGeneric = 2,   // a generic name (INV*) or a name
        kText = 4,      // a character value: anything, quoted when needed
        kNumber = 8,    // a number (in the ranges when there are any)
        kVariable = 16, // a CL variable (&NAME)
        kPath = 32,     // a path name: anything
        kFree = 64,     // a date, a time, a logical or hex value: not checked
    };
    unsigned kinds = 0;
    std::vector<std::string> specials; // *VALUES in the order given
    std::vector<std::string> literals; // other fixed values as CL writes them: 30, QCLSRC, '&'
    std::vector<std::pair<double, double>> ranges;
    std::string defaultValue; // stated with "(default)" or "(default X)"; empty when not
    size_t nMaxLength = 0;    // the longest text, where stated; 0 when not
    bool bOpen = false;       // an item was not understood: any value may be right
    std::string label;        // the part's name ("library"); empty when unnamed

    // Only the values listed (specials, literals) are allowed.
    bool IsClosed() const { return !bOpen && kinds == 0 && ranges.empty(); }
};

// One value: a simple value or a qualified name.
struct CLValueForm
{
    // A simple value's set; for a qualified name the special values it
    // takes as a whole (Qualified object name, *NONE).
    CLChoiceSet value;
    // A qualified name's parts in the choices' order: object first, then
    // library (job name, user, number for a job). Written in reverse in CL:
    // LIBRARY/OBJECT. Empty for a simple value.
    std::vector<CLChoiceSet> qualifiers;
    std::string label; // the element's name in an element list
};

struct CLChoices
{
    bool bKnown = false;              // the text's form was understood
    std::vector<std::string> singles; // values that stand alone (Single values: ...)
    size_t nMaxValues = 1;            // how many values a list holds (repetitions)
    bool bElements = false;           // each value is a list of elements
    std::vector<CLValueForm> forms;   // one per element; else one
    std::string defaultValue;         // the parameter's default, empty when none is stated

    static CLChoices Read(const std::string& text);
};

#endif
