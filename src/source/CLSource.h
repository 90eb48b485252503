// CLSource: a CL source member read into statements.
//
// A member is plain text in any case and free layout, with LF or CR LF line
// ends. Comments /* ... */ may stand anywhere and span lines; a quoted string
// may span lines only through a continuation. A line whose last character
// outside comments is "+" goes on with the next line's first non-blank
// character; "-" goes on with the next line as it is. Any other line end
// ends the statement. Labels ("LOOP:") stand before a command or alone on a
// line, where they belong to the next command; several may stack.
//
// Reading never fails: what is wrong (an unclosed comment or quote, a
// continuation past the last line) is kept as a problem, and the statements
// read so far are kept. Positions are 0-based lines and byte columns.
#ifndef CLSOURCE_H
#define CLSOURCE_H

#include <string>
#include <string_view>
#include <vector>

struct CLSrcPos
{
    int line = 0;
    int col = 0;
    bool operator==(const CLSrcPos& o) const { return line == o.line && col == o.col; }
    bool operator<(const CLSrcPos& o) const
    {
        return line < o.line || (line == o.line && col < o.col);
    }
};

struct CLSrcLabel
{
    std::string name; // upper-cased, without its colon
    CLSrcPos pos;
};

struct CLSrcStatement
{
    std::vector<CLSrcLabel> labels;
    // The command and its parameters on one line: continuations joined, each
    // comment inside made one blank. Empty for labels at the member's end.
    std::string text;
    std::vector<CLSrcPos> pos;  // the source position of each byte of text
    CLSrcPos begin;             // the first label's or the command's first character
    CLSrcPos end;               // just past the command's last character
    int lastLine = 0;           // the last line the statement's text or comments touch
    bool bInnerComment = false; // a comment stands between the command's first and last character

    // The source position of a byte of text; end for an offset past it.
    CLSrcPos Pos(size_t offset) const { return offset < pos.size() ? pos[offset] : end; }
    // The upper-cased command name (without a library), or empty.
    std::string CommandName() const;
};

struct CLSrcComment
{
    CLSrcPos begin, end; // end: just past "*/" (or the member's end when not closed)
};

struct CLSrcProblem
{
    CLSrcPos pos;
    std::string message;
};

class CLSource
{
public:
    static CLSource Read(std::string_view bytes);

    std::vector<CLSrcStatement> statements;
    std::vector<CLSrcComment> comments;
    std::vector<CLSrcProblem> problems;
    std::vector<std::string> lines; // without their line ends
    bool bCrLf = false;             // the first line ended in CR LF
};

#endif
