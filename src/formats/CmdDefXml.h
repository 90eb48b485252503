// CmdDefXml: reads one command definition document, the XML of IBM i's
// Retrieve Command Definition API (root QcdCLCmd, one Cmd with its Parm
// elements, their Qual and Elem parts and SngVal, SpcVal and Values lists of
// Value Val="..."). Reading streams the file; no entity is expanded and no
// other file is read (a document that declares entities is refused).
#ifndef CMDDEFXML_H
#define CMDDEFXML_H

#include "CLCmdDefinition.h"

#include <string>

class CmdDefXml
{
public:
    // The largest document taken.
    static constexpr long long kMaxBytes = 64LL << 20;

    // False with the reason ("line 3: ...") when the file cannot be read, is
    // not such a document, or is larger than kMaxBytes.
    static bool ReadFile(const std::string& path, CLCmdDefinition* pDef, std::string* pWhy);
    static bool ReadText(const std::string& xml, CLCmdDefinition* pDef, std::string* pWhy);
};

#endif
