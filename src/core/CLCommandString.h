// CLCommandString: CL command strings as text.
//
// Parse reads a command the way CL does: an optional label ("LOOP:"), the
// command name (optionally qualified, LIB/CMD), then parameters, either
// positional values or KEYWORD(value). A value is a list of elements
// separated by blanks: words (names, *SPECIAL values, numbers, &VARIABLES,
// qualified names LIB/OBJ), quoted strings ('It''s' holds It's), lists in
// parentheses, and WORD(...) forms inside command strings and expressions.
// A line ending in "+" continues with the first non-blank character of the
// next line; one ending in "-" continues with the next line as it is. Words
// are folded to upper case; quoted text and quoted names ("My Lib") keep
// their case.
//
// Parsing never recurses: parentheses nested deeper than kMaxDepth are
// refused with a message, as are unbalanced parentheses and quotes.
#ifndef CLCOMMANDSTRING_H
#define CLCOMMANDSTRING_H

#include <string>
#include <vector>

struct CLValue
{
    enum Kind
    {
        Word,   // text folded to upper case (a hex string X'F1' keeps its quotes)
        Quoted, // text between the apostrophes, doubled ones made single, case kept
        List,   // (items)
        Call    // text(items): a keyword or a built-in function inside a value
    };
    Kind kind = Word;
    std::string text;
    std::vector<CLValue> items;

    // The value as CL writes it.
    std::string ToString() const;
};

struct CLParsedParam
{
    std::string keyword;           // empty for a positional value
    int position = 0;              // 1, 2, ... for positional values
    std::vector<CLValue> elements; // the elements inside the parentheses
    // The value as CL writes it, without the keyword's parentheses.
    std::string ValueText() const;
};

struct CLParsedCommand
{
    std::string label;   // without its colon
    std::string library; // of a qualified command name
    std::string name;
    std::vector<CLParsedParam> params; // in the order written
    // Problems that are no syntax errors: a positional value after a
    // keyword parameter, a keyword that is no name.
    std::vector<std::string> problems;
};

namespace CLCommandString {

constexpr int kMaxDepth = 32;
// Longer strings are refused: no command comes near (CL's own limit is 6000
// characters; command source lines hold far less).
constexpr size_t kMaxLength = 1 << 20;

// False with the reason for a string that is not a command.
bool Parse(const std::string& text, CLParsedCommand* pOut, std::string* pWhy);

// How a typed value is written (see ValueText).
enum class ValueMode
{
    Text,     // one free text: 'quoted' unless it is one bare word in upper case
    Single,   // one value: a name, number, qualified name ... or 'quoted'
    List,     // elements, each bare or quoted on its own; command strings stay
    TextList, // the same, and words with lower case are quoted as texts
};

// The text of a value typed into a form, as it goes between the keyword's
// parentheses. A value is written bare only when CL reads it so: a name, a
// special value, a number, a qualified or generic name, a variable, a hex
// constant, quoted text as typed, or an expression or list typed in
// parentheses (its words upper-cased). Anything else (a path, lower- or
// mixed-case text in a text, blanks, punctuation) is quoted with its case
// kept and apostrophes doubled: as a whole for Text and Single, element by
// element for a List. Control characters become blanks. Empty when the typed
// text is blank.
std::string ValueText(const std::string& typed, ValueMode mode);
// Quotes a text: 'text' with every apostrophe doubled.
std::string Quote(const std::string& text);

// The command written on the line of a text (examples, CL source) that
// holds the byte at pos: that line with the lines it continues onto, or
// from the first line continued onto it, "+" and "-" kept for Parse. Empty
// when the line does not begin (after blanks and a label) with a command
// name written in upper case, as prose lines never do.
std::string CommandAt(const std::string& text, size_t pos);

// The command as CL source: lines of at most nWidth characters, continued
// with "+"; continuation lines indented under the first parameter.
std::string FormatSource(const std::string& command, size_t nWidth = 80);

} // namespace CLCommandString

#endif
