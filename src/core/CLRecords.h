// The records of the reference: plain fixed-layout structures of fixed-size
// text arrays and 32-bit values. They are created zero-filled and copied byte
// for byte, so they hold no objects with constructors.
//
// A char[N] field holds a NUL-terminated string of at most N-1 single-byte
// characters. A text pointer is a heap string from new[] (length + 1 bytes),
// released with delete[]; null stands for an empty text and a text pointer
// never points at an empty string.
#ifndef CLRECORDS_H
#define CLRECORDS_H

#include <cstdint>
#include <type_traits>

struct CLCmdRecord;

// A command category.
struct CLCategory
{
    uint32_t dwID;       // unique, the category list's sort key; 0 is never a category
    char szName[80];     // must not be empty
    char szFileName[16]; // shown and edited by the category editor only
};

// An entry of the command index.
struct CLCmdIndex
{
    char szName[11];      // command name: unique, the index's sort key
    char szFileName[21];  // its per-command file in the data folder
    uint32_t dwPos;       // offset of its record in the joined file, or kNoRecordPos
    uint32_t dwLength;    // length of that record, 0 when none
    uint32_t dwCatID;     // dwID of its category
    uint32_t dwReserved1; // stored and loaded, otherwise unused
    uint32_t dwReserved2;
    CLCmdRecord* pRec; // loaded record or null; never stored
};

// One parameter of a command.
struct CLCmdParam
{
    char szKeyword[11];
    char szDesc[60];
    char szChoices[200];
    char szNote[32];
};

// One error message that a command can send.
struct CLCmdError
{
    char szCode[10];
    char szText[150];
};

// A command's full reference.
struct CLCmdRecord
{
    char szName[11];
    char szDesc[256];
    char szEnv[256];
    uint8_t bReserved;   // stored and loaded, otherwise unused
    CLCmdParam* pParams; // dwParamCount elements (new[]), or null
    uint32_t dwParamCount;
    CLCmdError* pErrors; // dwErrorCount elements (new[]), or null
    uint32_t dwErrorCount;
    char* pszDetail;   // several lines, CR LF between lines
    char* pszReserved; // stored between detail and examples, otherwise unused
    char* pszExample;
    CLCmdIndex* pIdx; // the owning index entry; never stored
};

// dwPos of an entry that has no record in the joined file.
constexpr uint32_t kNoRecordPos = 0xFFFFFFFFu;
// The longest long text (detail, reserved, examples) that the files carry.
constexpr uint32_t kMaxLongText = 32768;

static_assert(std::is_trivially_copyable_v<CLCategory>);
static_assert(std::is_trivially_copyable_v<CLCmdIndex>);
static_assert(std::is_trivially_copyable_v<CLCmdParam>);
static_assert(std::is_trivially_copyable_v<CLCmdError>);
static_assert(std::is_trivially_copyable_v<CLCmdRecord>);

#endif
