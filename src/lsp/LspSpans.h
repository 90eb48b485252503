// LspSpans: where the parts of a statement's command text stand: the command
// name, and each parameter with its keyword and the value between its
// parentheses, or the positional value. Offsets are into the statement's
// text; the statement maps them to source positions.
#ifndef LSPSPANS_H
#define LSPSPANS_H

#include "CLSource.h"

#include <string>
#include <vector>

struct LspParamSpan
{
    std::string keyword;                 // upper-cased; empty for a positional value
    int position = 0;                    // 1, 2, ... for a positional value
    size_t begin = 0, end = 0;           // the whole parameter
    size_t valueBegin = 0, valueEnd = 0; // the value (inside the parentheses)
};

struct LspCommandSpan
{
    std::string name; // upper-cased, without a library
    size_t nameEnd = 0;
    std::vector<LspParamSpan> params;

    // The parameter holding an offset (its keyword or value), or null.
    const LspParamSpan* At(size_t offset) const;
};

LspCommandSpan ScanCommand(const std::string& text);

// The offset in a statement's text of a source position: the first character
// at or after it; text.size() past the end. npos before the statement.
size_t OffsetOf(const CLSrcStatement& s, const CLSrcPos& pos);

// The statement whose lines hold a position (from its first label to its
// last line), or -1.
int StatementAt(const CLSource& src, const CLSrcPos& pos);

// The word (letters, digits, $ # @ _, with a leading & or *) around a byte
// column of a line, and where it begins.
std::string WordAt(const std::string& line, int col, int* pBegin = nullptr);

#endif
