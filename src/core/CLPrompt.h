// CLPrompt: builds, explains and checks a command string against the
// parameters of a command's record.
//
// What a parameter takes comes from its texts:
//   notes    "Required"; "Positional n" (the n-th value given without keyword)
//   choices  read by CLChoices: kinds (Name, Character value, ...), special
//            values, ranges, qualified names, element lists, single values,
//            repetitions and a default; checked by CLValueCheck.
// A TEXT 'description' holds at most 50 characters, IBM's limit.
//
// A record marked partial (CLPartial) lists only some of its command's
// parameters: a keyword it does not list is a note, not an error. A
// parameter whose choices are marked partial is not checked against them.
#ifndef CLPROMPT_H
#define CLPROMPT_H

#include "CLChoices.h"
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
    std::vector<std::string> specials; // every *VALUE the choices name, in their order
    CLChoices shape;                   // what the choices say it takes
    bool bPartialChoices = false;      // the choices list only some values: not checked
    size_t nMaxText = 0;               // the longest free text, 0: not bounded
    CLCommandString::ValueMode mode = CLCommandString::ValueMode::List; // how typed text is written

    // A qualified name's parts (object first), or none.
    const std::vector<CLChoiceSet>& Qualifiers() const;

    static CLPromptParam From(const CLCmdParam& p);
};

// A problem found in a command: an error, or a note where the command may
// well be right (a keyword a partial record does not list).
struct CLPromptProblem
{
    std::string keyword; // the parameter it concerns; empty for the command
    std::string text;    // "KEYWORD: what is wrong."
    bool bNote = false;

    static bool AnyError(const std::vector<CLPromptProblem>& problems);
};

// A parameter given in a command string.
struct CLGivenParam
{
    std::string keyword;    // the keyword, also for a positional value when known
    std::string value;      // as CL writes it
    std::string desc;       // the parameter's description, empty when unknown
    int position = 0;       // 1, 2, ... for a value given without its keyword
    bool bKnown = false;    // the record lists the parameter
    bool bUnlisted = false; // not known, but the record lists only some parameters
};

class CLPrompt
{
public:
    static constexpr size_t kMaxTextDescription = 50;

    CLPrompt(const std::string& name, const CLCmdParam* pParams, size_t nParams,
             bool bPartial = false);
    // The record's parameters and its partial marks.
    explicit CLPrompt(const CLCmdRecord& rec);

    const std::string& Name() const { return m_name; }
    bool IsPartial() const { return m_bPartial; }
    const std::vector<CLPromptParam>& Params() const { return m_params; }
    const CLPromptParam* Find(const std::string& keyword) const;

    // The command from values typed for keywords (any case): the name, then
    // KEYWORD(value) for each parameter given, in the record's order, then
    // the keywords the record does not list, as given. A keyword the record
    // does not list, a required parameter without a value and a value the
    // choices do not allow each add a problem.
    std::string Build(const std::vector<std::pair<std::string, std::string>>& values,
                      std::vector<CLPromptProblem>* pProblems) const;

    // Reads a command string (see CLCommandString::Parse) and maps its values
    // to the parameters; positional ones in the order of their positions.
    // False with the reason when the string is no command; otherwise the
    // parameters given, in the order written, and the problems found.
    bool Explain(const std::string& text, std::vector<CLGivenParam>* pGiven,
                 std::vector<CLPromptProblem>* pProblems, std::string* pWhy) const;

    // The typed value of a parameter as it goes between its parentheses.
    static std::string ValueText(const CLPromptParam& p, const std::string& typed);
    // The problem with one value of a parameter, or empty.
    static std::string CheckValue(const CLPromptParam& p, const std::vector<CLValue>& elements);

private:
    void CheckRequired(const std::vector<std::string>& given,
                       std::vector<CLPromptProblem>* pProblems) const;
    std::string Unlisted() const;

    std::string m_name;
    bool m_bPartial = false;
    std::vector<CLPromptParam> m_params;
};

#endif
