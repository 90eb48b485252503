#include "CLSearchSpeller.h"

#include <algorithm>

using CLSearch::Word;

namespace {

constexpr size_t kMinLetters = 3;

uint32_t MaxEdits(size_t nLetters)
{
    return nLetters <= 4 ? 1 : nLetters <= 7 ? 2 : 3;
}

bool CanCorrect(const Word& w)
{
    return w.size() >= kMinLetters && !CLSearch::IsMessageId(w);
}

} // namespace

CLSearchSpeller::CLSearchSpeller(const CLSearch::Query& q)
    : m_words(q.words), m_matched(q.words.size(), false), m_best(q.words.size())
{
}

bool CLSearchSpeller::Choice::BetterThan(const Choice& o) const
{
    if (nCost != o.nCost)
        return nCost < o.nCost;
    if (bAbbreviation != o.bAbbreviation)
        return bAbbreviation;
    if (nCommands != o.nCommands)
        return nCommands > o.nCommands;
    return word < o.word;
}

void CLSearchSpeller::Offer(std::string_view word, uint32_t nCommands)
{
    for (size_t i = 0; i < m_words.size(); ++i) {
        const Word& typed = m_words[i];
        if (m_matched[i])
            continue;
        const bool bLast = i + 1 == m_words.size();
        if (bLast ? word.substr(0, typed.size()) == typed : word == typed) {
            m_matched[i] = true;
            continue;
        }
        if (!CanCorrect(typed))
            continue;
        Choice c;
        c.bAbbreviation = IsAbbreviation(typed, word);
        c.nCost = Distance(typed, word, MaxEdits(typed.size()));
        if (c.nCost > MaxEdits(typed.size())) {
            if (!c.bAbbreviation)
                continue;
            c.nCost = static_cast<uint32_t>(word.size() - typed.size());
        }
        c.nCommands = nCommands;
        c.word = std::string(word);
        if (c.BetterThan(m_best[i]))
            m_best[i] = std::move(c);
    }
}

std::string CLSearchSpeller::Corrected() const
{
    if (std::all_of(m_matched.begin(), m_matched.end(), [](bool b) { return b; }))
        return {};
    std::string out;
    for (size_t i = 0; i < m_words.size(); ++i) {
        if (!m_matched[i] && m_best[i].word.empty())
            return {};
        out += (out.empty() ? "" : " ") + (m_matched[i] ? m_words[i] : m_best[i].word);
    }
    return out;
}

uint32_t CLSearchSpeller::Distance(std::string_view a, std::string_view b, uint32_t nMax)
{
    const size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > nMax)
        return nMax + 1;
    // Three rows of the table: i - 2, i - 1 and i.
    std::vector<uint32_t> before(m + 1), last(m + 1), row(m + 1);
    for (size_t j = 0; j <= m; ++j)
        last[j] = static_cast<uint32_t>(j);
    for (size_t i = 1; i <= n; ++i) {
        row[0] = static_cast<uint32_t>(i);
        uint32_t nRowMin = row[0];
        for (size_t j = 1; j <= m; ++j) {
            const uint32_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            uint32_t d = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, before[j - 2] + 1);
            row[j] = d;
            nRowMin = std::min(nRowMin, d);
        }
        if (nRowMin > nMax)
            return nMax + 1;
        std::swap(before, last);
        std::swap(last, row);
    }
    return std::min(last[m], nMax + 1);
}

bool CLSearchSpeller::IsAbbreviation(std::string_view typed, std::string_view word)
{
    if (typed.size() < kMinLetters || word.size() <= typed.size() ||
        word.size() > 2 * typed.size() || typed[0] != word[0])
        return false;
    size_t j = 0;
    for (char c : typed) {
        while (j < word.size() && word[j] != c)
            ++j;
        if (j == word.size())
            return false;
        ++j;
    }
    return true;
}
