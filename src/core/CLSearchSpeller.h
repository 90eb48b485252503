// CLSearchSpeller: what a query that finds nothing may have meant. Both
// engines offer it every indexed word; each query word that none of them
// matches (the last one as a prefix) is then replaced by the closest of them:
//  - the fewest edits (a letter added, dropped, changed, or two swapped): at
//    most 1 for a word of 3 or 4 letters, 2 up to 7 letters, 3 beyond;
//  - or an abbreviation: the word's letters in order within a word that
//    begins with the same letter and is at most twice as long ("crtlb" for
//    CRTLIB, "wrksf" for WRKSPLF); its cost is the letters left out.
// Of equal costs an abbreviation wins, then the word more commands hold,
// then byte order, so the choice does not depend on the order of the offers.
// Words shorter than 3 letters and message ids are taken as typed.
#ifndef CLSEARCHSPELLER_H
#define CLSEARCHSPELLER_H

#include "CLSearch.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CLSearchSpeller
{
public:
    explicit CLSearchSpeller(const CLSearch::Query& q);

    // An indexed word (folded) that nCommands commands hold; any order.
    void Offer(std::string_view word, uint32_t nCommands);
    // The query with each word that no offered word matched replaced by its
    // closest word, words separated by one space. Empty when every word was
    // matched (nothing to correct) or one of the others has no close word.
    std::string Corrected() const;

    // The edits from a to b (Damerau-Levenshtein, adjacent swaps counted
    // once), or nMax + 1 when that is more than nMax.
    static uint32_t Distance(std::string_view a, std::string_view b, uint32_t nMax);
    // Whether typed may abbreviate word, as described above.
    static bool IsAbbreviation(std::string_view typed, std::string_view word);

private:
    struct Choice
    {
        std::string word;
        uint32_t nCost = UINT32_MAX;
        bool bAbbreviation = false;
        uint32_t nCommands = 0;
        bool BetterThan(const Choice& o) const;
    };
    std::vector<CLSearch::Word> m_words;
    std::vector<bool> m_matched;
    std::vector<Choice> m_best;
};

#endif
