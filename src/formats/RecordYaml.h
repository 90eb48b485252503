// RecordYaml: the file NAME.yaml of one command. Keys, in the order they are
// written: name, description, environment, reserved_byte, detail,
// reserved_text, parameters (keyword, description, choices, note), examples,
// errors (code, text), category, file, index_reserved. Empty texts and lists,
// a zero reserved byte and absent entry values are left out.
#ifndef RECORDYAML_H
#define RECORDYAML_H

#include "RecordDoc.h"

#include <cstddef>
#include <string>

class RecordYaml
{
public:
    static std::string Write(const RecordDoc& doc);
    // Parses a file's text. False with the reason when it is no valid YAML,
    // breaks a limit, names an unsafe file, or holds a character the
    // database cannot store; *pDoc is then not to be used.
    static bool Read(const std::string& yaml, RecordDoc* pDoc, std::string* pError);
};

#endif
