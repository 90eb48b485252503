// Full-text search over the records of the reference: the rules every search
// engine here shares (what a word is, where a command's words come from) and
// the result of a search. How commands rank is in CLSearchRank.h, how a query
// that finds nothing is corrected in CLSearchSpeller.h.
//
// A word is a run of letters (ASCII and Latin-1), digits and the characters
// * @ # $ _ &, so *LIBL, CPF2110 and &1 are words; words compare without
// regard to case. Every word of a query must occur in a command (AND); the
// last word matches as a prefix, since people search as they type.
#ifndef CLSEARCH_H
#define CLSEARCH_H

#include "CLRecords.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CLSearch {

// How well a command answers a query, best first. The first four tiers
// judge the command as a whole (CLSearchRank.h); the others are where its
// least well placed word lies, and also rank a word's places in a command.
enum Rank : uint8_t
{
    kExactName = 0,   // a one-word query that is the command's name
    kExactTitle = 1,  // the query's words are the title's words
    kNamePrefix = 2,  // a one-word query that begins the name
    kTitlePhrase = 3, // the title holds the query's words in order
    kTitle = 4,       // every word in the title or the name, in any order
    kKeyOrId = 5,     // a parameter keyword or a message id
    kItemText = 6,    // a parameter's description, choices or note; a message's text
    kText = 7,        // detail, examples, environment
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
// A text as a query compares with a title: folded, each run of blanks one
// space, none at either end.
std::string NormalText(std::string_view text);

// Where a text's words that a query's words match lie, in order, as (byte
// offset, length): a word equal to one of them, or beginning with the last.
std::vector<std::pair<size_t, size_t>> MatchedSpans(std::string_view text,
                                                    const std::vector<Word>& words);

// A message id: three letters and four hexadecimal digits, any case.
bool IsMessageId(std::string_view word);

// Calls f(word, rank, field, item) for every word of a record: its name
// (kTitle), title, environment, detail, examples, each parameter's keyword
// (kKeyOrId) and texts (kItemText), each message's id (kKeyOrId) and text
// (kItemText). Words may repeat.
using WordSink = std::function<void(std::string_view word, Rank rank, Field field, uint32_t item)>;
void ForEachWord(const CLCmdRecord& rec, std::string_view name, const WordSink& f);
// What one occurrence of a word adds to its weight in a command: a word in the
// name or title counts most, one in the detail least.
uint32_t WordWeight(Rank rank);
// A word's weight in one command is kept in 16 bits.
constexpr uint32_t kMaxWeight = 0xFFFF;

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
    size_t nFound = 0;             // commands found, hits beyond the limit too
    std::vector<MessageHit> sends; // for a message-id query: the commands that send it
    std::string messageId;         // for a message-id query: the id in upper case
    std::string corrected;         // the query searched instead of one that found nothing
};

// A parsed query: its words (folded), its text as NormalText gives it and,
// when it is one message id, that id in upper case.
struct Query
{
    std::vector<Word> words;
    std::string text;
    std::string messageId;
    bool IsEmpty() const { return words.empty(); }
};
// Queries longer than this are cut: no one types more, and a query of a
// million bytes must still answer at once.
constexpr size_t kMaxQueryWords = 16;
Query ParseQuery(std::string_view text);

// The label of a place: "title", "parameter OUTQ", "error CPF2110", ...
std::string WhereOf(const CLCmdRecord& rec, Field field, uint32_t item);

// The message hit of a record for a message-id query, if its error list has the id.
bool FindMessage(const Query& q, const CLCmdRecord& rec, std::string_view name, MessageHit* p);
// Puts message hits in name order (byte order).
void SortSends(std::vector<MessageHit>* pSends);

// The MONMSG command that monitors a message: "MONMSG MSGID(CPF2110)", or
// with a label "MONMSG MSGID(CPF2110) EXEC(GOTO CMDLBL(ERROR))". False when
// the id is not a message id or the label not a CL label (IsLabel).
bool MonitorLine(std::string_view messageId, std::string_view label, std::string* pLine);
// The label the offered GOTO goes to.
constexpr const char* kErrorLabel = "ERROR";
// A CL label: a simple name of 1 to 10 characters, the first A-Z $ # @, the
// others those or 0-9 and _ (either case).
bool IsLabel(std::string_view label);

} // namespace CLSearch

#endif
