// RecordDoc: one command as its YAML file holds it: the record's fields and
// the index entry's category, file name and reserved values. Texts are the
// database's bytes (Latin-1, CR LF between lines).
#ifndef RECORDDOC_H
#define RECORDDOC_H

#include "CLRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct RecordDocParam
{
    std::string keyword, description, choices, note;
    bool partialChoices = false; // the choices list only some of IBM's values
    bool operator==(const RecordDocParam&) const = default;
};

struct RecordDocError
{
    std::string code, text;
    bool operator==(const RecordDocError&) const = default;
};

struct RecordDoc
{
    std::string name;
    std::string description;
    std::string environment;
    uint8_t reservedByte = 0;
    std::string detail;
    std::string reservedText; // without the partial marks
    bool partial = false;     // the parameters stop before IBM's list does
    std::vector<RecordDocParam> parameters;
    std::string examples;
    std::vector<RecordDocError> errors;
    // The index entry's values; absent when the file does not give them.
    std::optional<uint32_t> category;
    std::optional<std::string> file;
    std::optional<std::pair<uint32_t, uint32_t>> indexReserved;

    bool operator==(const RecordDoc&) const = default;

    // The record's fields, and the entry's values as export writes them:
    // the category always, the file name when it is not NAME.dat, the
    // reserved values when either is non-zero. The name is the entry's.
    static RecordDoc FromEntry(const CLCmdIndex& idx, const CLCmdRecord* pRec);
    // Fills a record fresh from InitCmdRecord; the texts must fit their fields.
    void ToRecord(CLCmdRecord* pRec) const;
    // The record's reserved text: the partial marks, then reservedText.
    std::string ReservedText() const;
};

#endif
