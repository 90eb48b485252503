// RecordPrinter: a command's record as plain text for a terminal:
//
//   Name:         CRTLIB
//   Description:  Create Library
//
//   Environment
//     All environments
//
//   Parameters
//     LIB         Library
//                 Choices:  Name
//                 Note:     Required, Positional 1
//
//   Examples / Detail / Error messages (code and text per row)
//
// Texts keep their bytes; their line breaks (CR LF) become LF, and every
// line is indented under its heading. Empty sections say "(none)".
#ifndef RECORDPRINTER_H
#define RECORDPRINTER_H

#include "CLRecords.h"

#include <string>

class RecordPrinter
{
public:
    static std::string Print(const CLCmdRecord& rec);

private:
    // text's lines, the first after nothing, the others after pad.
    static std::string Lines(const std::string& text, const std::string& pad);
    static std::string Section(const std::string& heading, const std::string& body);
};

#endif
