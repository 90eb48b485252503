// Full-text search over the records of the reference: the rules every search
// engine here shares (what a word is, where a command's words come from and
// how they rank) and the result of a search.
//
// A word is a run of letters (ASCII and Latin-1), digits and the characters
// * @ # $ _ &, so *LIBL, CPF2110 and &1 are words; words compare without
// regard to case. Every word of a query must occur in a command (AND); the
// last word matches as a prefix, since people search as they type.
//
// Ranking, best first: the exact command name; a name that begins with the
// query (both for a one-word query); words in the title (the record's
// description) or the name; a parameter keyword or a message id; parameter
// and message texts; detail, examples and environment. A command ranks by
// the field its least well placed word needs; ties go by name.
#ifndef CLSEARCH_H
#define CLSEARCH_H

#include "CLRecords.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace CLSearch {

// Where a word was found, best rank first.
enum Rank : uint8_t
{
    kExactName = 0,
    kNamePrefix = 1,
    kTitle = 2,    // the title or the name
    kKeyOrId = 3,  // a parameter keyword or a message id
    kItemText = 4, // a parameter's description, choices or note; a message's text
    kText = 5,     // detail, examples, environment
    kNone = 0xFF
};

// The field a word came from; with Rank and the item it tells where to show it.
enum Field : uint8_t
{
    kName,
    kTitleField,
    kEnvironment,
    kDetail,
    kExamples,
    kParameter, // item: the parameter's position
    kError      // item: the message's position
};

// A word of a query or a text, folded to lower case.
using Word = std::string;

// True for the bytes a word is made of.
bool IsWordByte(unsigned char c);
// The byte in lower case (ASCII and Latin-1 letters).
extern const std::array<unsigned char, 256> kFoldTable;
inline unsigned char Fold(unsigned char c)
{
    return kFoldTable[c];
}
// The words of a text, folded; at most nMax of them.
std::vector<Word> WordsOf(std::string_view text, size_t nMax = SIZE_MAX);

// A message id: three letters and four hexadecimal digits, any case.
bool IsMessageId(std::string_view word);

// Calls f(word, rank, field, item) for every word of a record: its name
// (kTitle), title, environment, detail, examples, each parameter's keyword
// (kKeyOrId) and texts (kItemText), each message's id (kKeyOrId) and text
// (kItemText). Words may repeat.
using WordSink = std::function<void(std::string_view word, Rank rank, Field field, uint32_t item)>;
void ForEachWord(const CLCmdRecord& rec, std::string_view name, const WordSink& f);

// Where a word lies in a command; of two places of one word, the better one
// says where the command is shown. Both engines keep places in this form.
struct Place
{
    uint8_t rank = kNone;
    uint8_t field = kName;
    uint16_t item = 0; // capped at 0xFFFF
    // Rank first, then the field, then the item.
    bool BetterThan(const Place& o) const
    {
        if (rank != o.rank)
            return rank < o.rank;
        if (field != o.field)
            return field < o.field;
        return item < o.item;
    }
};
// The order of the commands found: rank, then name (byte order).
bool HitBefore(uint8_t rankA, const std::string& nameA, uint8_t rankB, const std::string& nameB);

// One command found.
struct Hit
{
    std::string name;
    std::string title;
    Rank rank = kNone;
    Field field = kName;
    uint32_t item = 0; // the parameter's or message's position for those fields
    std::string where; // "name", "title", "parameter OUTQ", "error CPF2110", "detail", ...
};

// A command whose error list holds the message id asked for.
struct MessageHit
{
    std::string name;
    std::string title;
    uint32_t item = 0; // the message's position
    std::string text;  // the message's text in that command
};

struct Results
{
    std::vector<Hit> hits;         // best first
    std::vector<MessageHit> sends; // for a message-id query: the commands that send it
    std::string monitor;           // for a message-id query: "MONMSG MSGID(CPF2110) EXEC(...)"
};

// A parsed query: its words (folded) and, when it is one message id, that id
// in upper case.
struct Query
{
    std::vector<Word> words;
    std::string messageId;
    bool IsEmpty() const { return words.empty(); }
};
// Queries longer than this are cut: no one types more, and a query of a
// million bytes must still answer at once.
constexpr size_t kMaxQueryWords = 16;
Query ParseQuery(std::string_view text);

// The label of a place: "title", "parameter OUTQ", "error CPF2110", ...
std::string WhereOf(const CLCmdRecord& rec, Field field, uint32_t item);

// Puts hits in rank order, ties by name (byte order).
void SortHits(std::vector<Hit>* pHits);
// Keeps the best of each command's hits and matches a record against a query
// directly (what an index finds, found the slow way): the hit, or false.
bool MatchRecord(const Query& q, const CLCmdRecord& rec, std::string_view name, Hit* pHit);
// The message hit of a record for a message-id query, if its error list has the id.
bool FindMessage(const Query& q, const CLCmdRecord& rec, std::string_view name, MessageHit* p);
std::string MonitorLine(const std::string& messageId);

} // namespace CLSearch

#endif
