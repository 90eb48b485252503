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
// are folded to upper case; quoted text keeps its case.
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

// The text of a value typed into a form, as it goes between the keyword's
// parentheses. Text that CL reads as it is stays as typed, with its words
// upper-cased (a list "A B", a command string "CALL PGM(X)", 'quoted' text).
// For a free text parameter (bText), anything else that holds blanks, lower
// case, apostrophes or characters CL does not take unquoted is quoted, with
// apostrophes doubled; for other parameters each such element is quoted.
// Control characters become blanks. Empty when the typed text is blank.
std::string ValueText(const std::string& typed, bool bText);
// Quotes a text: 'text' with every apostrophe doubled.
std::string Quote(const std::string& text);
// Whether a word can stand unquoted: letters, digits and $ # @ _ . * / & + -
// only (a sign only in front of a number).
bool IsPlainWord(const std::string& word);

// The command as CL source: lines of at most nWidth characters, continued
// with "+"; continuation lines indented under the first parameter.
std::string FormatSource(const std::string& command, size_t nWidth = 80);

} // namespace CLCommandString

#endif
