// CLSourceFormat: lays a CL source member out as the 5250 prompter writes it
// back into the source editor: a label in column 2, the command name in
// column 14, the first parameter in column 25, continuation lines indented
// to column 27 and continued with "+", lines within the right margin.
// Keywords and names are upper-cased (unless asked to keep their case);
// quoted strings, comments and blank lines stay as they are. A statement
// with a comment inside it, or with blank lines between its labels and its
// command, is left as it stands.
//
// Formatting never changes meaning: the member is read again from the
// formatted text and every statement must come back the same (labels,
// command, parameters, quoted text), or nothing is returned. Formatting
// formatted text gives the same text.
#ifndef CLSOURCEFORMAT_H
#define CLSOURCEFORMAT_H

#include "CLSource.h"

#include <string>
#include <vector>

struct CLFormatOptions
{
    int nRightMargin = 80;
    bool bKeepCase = false;
};

namespace CLSourceFormat {

// The formatted member; false with the reason when it cannot be read or
// would change meaning (the text is then left to the caller as it was).
bool Format(const std::string& text, const CLFormatOptions& options, std::string* pOut,
            std::string* pWhy);

// The lines one statement takes when formatted (from the line of its first
// label to its last line); empty when the statement is to stay as it is.
std::vector<std::string> StatementLines(const CLSource& src, size_t statement,
                                        const CLFormatOptions& options);

// Two statement texts mean the same: equal outside quoted strings up to case
// and the number of blanks, equal inside them.
bool SameMeaning(const std::string& a, const std::string& b);

} // namespace CLSourceFormat

#endif
