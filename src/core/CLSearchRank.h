// CLSearchRank: the order of the commands a query finds, the one rule both
// engines (CLSearchIndex and CLSearchScan) follow.
//
// Tiers, best first (CLSearch::Rank): the exact command name; an exact title
// (the title's words are the query's); a name that begins with a one-word
// query; a title that holds the words in order; every word in the title or
// the name; then the field of the least well placed word: a parameter keyword
// or message id, a parameter's or message's text, then detail, examples and
// environment.
//
// Within a tier commands go by a score, highest first, then by name:
//  - each word adds w / (w + 8), w being its weight in the command: the sum
//    of WordWeight over its occurrences (for a last word taken as a prefix,
//    that of the heaviest word it begins). Words of the name and title weigh
//    most, and a word that recurs counts more with diminishing returns: the
//    term-frequency part of BM25 with field weights;
//  - a title that holds every word adds the share of the title they make up,
//    and more when they come in order, side by side, from its first word, or
//    when its whole text is the query's ("C++" against "C");
//  - a name that the word begins adds the share of the name it makes up.
// A score depends only on the query and the command itself, never on the
// other commands (no document frequencies), so a scan that reads only the
// records that may match ranks them as an index over all of them does.
#ifndef CLSEARCHRANK_H
#define CLSEARCHRANK_H

#include "CLSearch.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace CLSearch {

// How a title's words hold a query's words.
struct TitleFit
{
    uint32_t nTitleWords = 0;
    bool bAll = false;      // every query word matches a title word
    bool bInOrder = false;  // and they come in the query's order
    bool bTogether = false; // and side by side
    bool bAtStart = false;  // and from the title's first word
    bool bExact = false;    // the title's words are the query's, the last one whole
};
// match(i, j): 0 when query word i does not match title word j, 1 when it
// begins it (the last word only), 2 when they are equal.
using WordMatch = std::function<int(size_t i, size_t j)>;
TitleFit FitTitle(size_t nQuery, size_t nTitle, const WordMatch& match);

// What is known of one command, gathered word by word in the query's order.
struct Evidence
{
    Place place;           // the least well placed word's best place
    double fWords = 0;     // the words' saturated weights
    bool bMissing = false; // a word was not found
    size_t nWords = 0;
    // The next word's best place in the command (rank kNone: not found) and
    // its weight there.
    void AddWord(const Place& best, uint32_t nWeight);
};

// A command's tier, the place to show it at, and its score within the tier.
struct Verdict
{
    uint8_t rank = kNone;
    Place place;
    double fScore = 0;
};
// The verdict on a command of that name and title whose words gave e and
// whose title words fit as given; rank kNone when it does not answer q.
Verdict Judge(const Query& q, const Evidence& e, std::string_view name, std::string_view title,
              const TitleFit& fit);
// The order of the commands found: tier, score (higher first), name (byte order).
bool Before(const Verdict& a, std::string_view nameA, const Verdict& b, std::string_view nameB);

// The verdict on one record, read word by word: what an index gives for it.
Verdict JudgeRecord(const Query& q, const CLCmdRecord& rec, std::string_view name);

} // namespace CLSearch

#endif
