// The byte format of the data files in one place: the magic words and the
// version of the two list files, and the limit of every text field. Readers,
// writers, check, the YAML files and the dialogs all take their limits from
// here. A limit counts bytes of database text (CR LF counts two), the
// terminator not included; it is the field's size less one.
#ifndef CLFORMAT_H
#define CLFORMAT_H

#include "CLRecords.h"

#include <cstddef>
#include <cstdint>

namespace CLFormat {

// The list files: a string magic word, the version, the count, the records.
inline constexpr const char* kCatMagic = "CLCAT";
inline constexpr const char* kIdxMagic = "CLDICT";
inline constexpr uint32_t kVersion = 10000;
// The longest magic word a reader takes before it calls the header wrong.
inline constexpr size_t kMaxMagic = 31;

// Categories: ids from 1 (0 is never a category); a text list's category
// lines give one or two digits.
inline constexpr uint32_t kMinCatID = 1;
inline constexpr uint32_t kMaxListCatID = 99;
inline constexpr size_t kCatName = sizeof(CLCategory::szName) - 1;         // 79
inline constexpr size_t kCatFileName = sizeof(CLCategory::szFileName) - 1; // 15
// Index entries.
inline constexpr size_t kCmdName = sizeof(CLCmdIndex::szName) - 1;         // 10
inline constexpr size_t kCmdFileName = sizeof(CLCmdIndex::szFileName) - 1; // 20
// Command records.
inline constexpr size_t kDesc = sizeof(CLCmdRecord::szDesc) - 1;      // 255
inline constexpr size_t kEnv = sizeof(CLCmdRecord::szEnv) - 1;        // 255
inline constexpr size_t kLongText = kMaxLongText;                     // detail, reserved, examples
inline constexpr size_t kKeyword = sizeof(CLCmdParam::szKeyword) - 1; // 10
inline constexpr size_t kParamDesc = sizeof(CLCmdParam::szDesc) - 1;  // 59
inline constexpr size_t kChoices = sizeof(CLCmdParam::szChoices) - 1; // 199
inline constexpr size_t kNote = sizeof(CLCmdParam::szNote) - 1;       // 31
inline constexpr size_t kErrorCode = sizeof(CLCmdError::szCode) - 1;  // 9
inline constexpr size_t kErrorText = sizeof(CLCmdError::szText) - 1;  // 149

// What the windows store of what was typed: a little less than the format
// holds in three fields.
inline constexpr size_t kWindowDesc = 254;      // description and environment
inline constexpr size_t kDialogErrorCode = 8;   // the error dialog's code
inline constexpr size_t kDialogErrorText = 148; // the error dialog's text

// The largest text list the importer reads.
inline constexpr uint64_t kMaxImportFile = 256ull << 20;

// The smallest stored parameter and error message: empty strings only.
inline constexpr uint64_t kMinParamBytes = 4 * 4;
inline constexpr uint64_t kMinErrorBytes = 2 * 4;

} // namespace CLFormat

#endif
