// CLPrompt: builds, explains and checks a command string against the
// parameters of a command's record.
//
// What a parameter takes comes from its texts:
//   notes    "Required"; "Positional n" (the n-th value given without keyword)
//   choices  the special values (*LIBL, *YES, ...) it lists; it is a closed
//            list when it lists nothing else (*FIFO, *LIFO, *KEYED); ranges
//            such as 1-9999 bound the numbers given; a text that names a
//            kind of free value (Name, Character value, ...) accepts others.
//            "Character value" or "text" marks a free text, which the
//            builder quotes when needed.
#ifndef CLPROMPT_H
#define CLPROMPT_H

#include "CLCommandString.h"
#include "CLRecords.h"

#include <string>
#include <utility>
#include <vector>

struct CLPromptParam
{
    std::string keyword, desc, choices, note;
    bool bRequired = false;
    int nPositional = 0;               // 0: not positional
    bool bText = false;                // a free text: quoted when needed
    bool bClosed = false;              // only the special values are allowed
    bool bNumbersOnly = false;         // only numbers in the ranges and the special values
    std::vector<std::string> specials; // in the order the choices give them
    std::vector<std::pair<double, double>> ranges;

    static CLPromptParam From(const CLCmdParam& p);
};

// A parameter given in a command string.
struct CLGivenParam
{
    std::string keyword; // the keyword, also for a positional value when known
    std::string value;   // as CL writes it
    std::string desc;    // the parameter's description, empty when unknown
    int position = 0;    // 1, 2, ... for a value given without its keyword
    bool bKnown = false; // the command has the parameter
};

class CLPrompt
{
public:
    CLPrompt(const std::string& name, const CLCmdParam* pParams, size_t nParams);
    explicit CLPrompt(const CLCmdRecord& rec);

    const std::string& Name() const { return m_name; }
    const std::vector<CLPromptParam>& Params() const { return m_params; }
    const CLPromptParam* Find(const std::string& keyword) const;

    // The command from values typed for keywords (any case): the name, then
    // KEYWORD(value) for each parameter given, in the record's order. A
    // keyword the command lacks, a required parameter without a value and a
    // value the choices do not allow each add a problem.
    std::string Build(const std::vector<std::pair<std::string, std::string>>& values,
                      std::vector<std::string>* pProblems) const;

    // Reads a command string (see CLCommandString::Parse) and maps its values
    // to the parameters; positional ones in the order of their positions.
    // False with the reason when the string is no command; otherwise the
    // parameters given, in the order written, and the problems found.
    bool Explain(const std::string& text, std::vector<CLGivenParam>* pGiven,
                 std::vector<std::string>* pProblems, std::string* pWhy) const;

    // The problem with one value of a parameter, or empty.
    static std::string CheckValue(const CLPromptParam& p, const std::vector<CLValue>& elements);

private:
    void CheckRequired(const std::vector<std::string>& given,
                       std::vector<std::string>* pProblems) const;

    std::string m_name;
    std::vector<CLPromptParam> m_params;
};

#endif
