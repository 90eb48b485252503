#include "CLSearchIndex.h"

#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "CLSearchRank.h"
#include "CLSearchSpeller.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

using namespace CLSearch;

namespace {

uint64_t TextBytesOf(const CLCmdRecord& rec)
{
    uint64_t n = strnlen(rec.szDesc, sizeof rec.szDesc) + strnlen(rec.szEnv, sizeof rec.szEnv);
    for (const char* p : {rec.pszDetail, rec.pszExample})
        n += p ? std::strlen(p) : 0;
    for (uint32_t i = 0; i < rec.dwParamCount; ++i) {
        const CLCmdParam& p = rec.pParams[i];
        n += strnlen(p.szKeyword, sizeof p.szKeyword) + strnlen(p.szDesc, sizeof p.szDesc) +
             strnlen(p.szChoices, sizeof p.szChoices) + strnlen(p.szNote, sizeof p.szNote);
    }
    for (uint32_t i = 0; i < rec.dwErrorCount; ++i)
        n += strnlen(rec.pErrors[i].szCode, sizeof rec.pErrors[i].szCode) +
             strnlen(rec.pErrors[i].szText, sizeof rec.pErrors[i].szText);
    return n;
}

} // namespace

bool CLSearchIndex::Build(CLCmdManager& manager, const std::atomic<bool>* pStop)
{
    *this = CLSearchIndex();
    // Words are gathered per command with their best place and weight, then
    // laid out sorted, each with its commands in command order.
    std::unordered_map<std::string, std::vector<Posting>> byWord;
    std::unordered_map<std::string, std::pair<Place, uint32_t>> inCmd;
    for (CLCmdIndex* p = manager.GetFirstCmdIdx(); p; p = manager.GetNextCmdIdx()) {
        if (pStop && pStop->load(std::memory_order_relaxed))
            return false;
        bool bLoaded = false;
        const CLCmdRecord* pRec = manager.AttachCmdRecord(p, &bLoaded);
        const std::string name = FieldText(p->szName);
        const uint32_t cmd = static_cast<uint32_t>(m_cmds.size());
        Add(*pRec, name);
        if (pRec->dwParamCount == 0 && pRec->dwErrorCount == 0 && !pRec->pszDetail &&
            !pRec->pszExample)
            m_undocumented.insert(name);
        inCmd.clear();
        ForEachWord(*pRec, name, [&](std::string_view w, Rank rank, Field field, uint32_t item) {
            Place here{rank, field, static_cast<uint16_t>(std::min<uint32_t>(item, 0xFFFF))};
            auto [it, bNew] = inCmd.try_emplace(std::string(w), here, 0);
            if (!bNew && here.BetterThan(it->second.first))
                it->second.first = here;
            it->second.second += WordWeight(rank);
        });
        for (const auto& [w, entry] : inCmd) {
            const Place& place = entry.first;
            byWord[w].push_back({cmd, place.rank, place.field, place.item,
                                 static_cast<uint16_t>(std::min(entry.second, kMaxWeight))});
        }
        if (bLoaded)
            CLCmdManager::DetachCmdRecord(p);
    }
    m_words.reserve(byWord.size());
    for (const auto& entry : byWord)
        m_words.push_back(entry.first);
    std::sort(m_words.begin(), m_words.end());
    m_first.reserve(m_words.size() + 1);
    for (const std::string& w : m_words) {
        m_first.push_back(static_cast<uint32_t>(m_postings.size()));
        std::vector<Posting>& list = byWord[w];
        m_postings.insert(m_postings.end(), list.begin(), list.end());
        std::vector<Posting>().swap(list);
    }
    m_first.push_back(static_cast<uint32_t>(m_postings.size()));
    m_postings.shrink_to_fit();
    // Each title as the indices of its words, for the tiers that look at the
    // title's words in order.
    for (Cmd& c : m_cmds) {
        for (const Word& w : WordsOf(c.title)) {
            auto it = std::lower_bound(m_words.begin(), m_words.end(), w);
            c.titleWords.push_back(static_cast<uint32_t>(it - m_words.begin()));
        }
        c.titleWords.shrink_to_fit();
    }
    return true;
}

void CLSearchIndex::Add(const CLCmdRecord& rec, std::string_view name)
{
    Cmd c;
    c.name = std::string(name);
    c.title = FieldText(rec.szDesc);
    for (uint32_t i = 0; i < rec.dwParamCount; ++i)
        c.keywords.push_back(FieldText(rec.pParams[i].szKeyword));
    for (uint32_t i = 0; i < rec.dwErrorCount; ++i)
        c.errors.emplace_back(FieldText(rec.pErrors[i].szCode), FieldText(rec.pErrors[i].szText));
    m_nTextBytes += name.size() + TextBytesOf(rec);
    m_cmds.push_back(std::move(c));
}

std::string CLSearchIndex::WhereOf(const Cmd& c, Field field, uint32_t item) const
{
    // The labels of CLSearch::WhereOf, from what the index kept of the record.
    CLCmdRecord rec{};
    std::vector<CLCmdParam> params(c.keywords.size());
    for (size_t i = 0; i < params.size(); ++i)
        CopyField(params[i].szKeyword, c.keywords[i]);
    std::vector<CLCmdError> errors(c.errors.size());
    for (size_t i = 0; i < errors.size(); ++i)
        CopyField(errors[i].szCode, c.errors[i].first);
    rec.pParams = params.data();
    rec.dwParamCount = static_cast<uint32_t>(params.size());
    rec.pErrors = errors.data();
    rec.dwErrorCount = static_cast<uint32_t>(errors.size());
    return CLSearch::WhereOf(rec, field, item);
}

CLSearchIndex::WordRange CLSearchIndex::Matching(const std::string& word, bool bPrefix) const
{
    auto first = std::lower_bound(m_words.begin(), m_words.end(), word);
    auto last = first;
    while (last != m_words.end() &&
           (bPrefix ? last->compare(0, word.size(), word) == 0 : *last == word))
        ++last;
    return {static_cast<uint32_t>(first - m_words.begin()),
            static_cast<uint32_t>(last - m_words.begin())};
}

Results CLSearchIndex::Find(std::string_view text, size_t nLimit) const
{
    const Query q = ParseQuery(text);
    if (q.IsEmpty() || m_cmds.empty())
        return Results();
    Results out = Search(q, nLimit);
    if (out.nFound || !out.sends.empty() || !q.messageId.empty())
        return out;
    CLSearchSpeller speller(q);
    for (size_t k = 0; k < m_words.size(); ++k)
        speller.Offer(m_words[k], m_first[k + 1] - m_first[k]);
    const std::string corrected = speller.Corrected();
    if (corrected.empty())
        return out;
    Results again = Search(ParseQuery(corrected), nLimit);
    if (again.nFound)
        again.corrected = corrected;
    return again.nFound ? again : out;
}

Results CLSearchIndex::Search(const Query& q, size_t nLimit) const
{
    Results out;
    out.messageId = q.messageId;
    const size_t n = q.words.size();
    std::vector<WordRange> ranges(n);
    std::vector<uint32_t> exact(n, UINT32_MAX); // the word itself, when indexed
    for (size_t i = 0; i < n; ++i) {
        ranges[i] = Matching(q.words[i], i + 1 == n);
        if (ranges[i].first == ranges[i].second)
            return out; // a word no command holds
        if (m_words[ranges[i].first] == q.words[i])
            exact[i] = ranges[i].first;
    }
    const size_t nCmds = m_cmds.size();
    std::vector<Evidence> evidence(nCmds);
    std::vector<uint8_t> matched(nCmds, 0); // words found so far
    std::vector<Place> wordBest(nCmds);
    std::vector<uint16_t> wordWeight(nCmds, 0);
    std::vector<uint32_t> touched;
    std::vector<uint32_t> alive; // commands that hold every word so far
    for (size_t i = 0; i < n; ++i) {
        touched.clear();
        for (uint32_t k = ranges[i].first; k < ranges[i].second; ++k) {
            for (uint32_t j = m_first[k]; j < m_first[k + 1]; ++j) {
                const Posting& p = m_postings[j];
                if (matched[p.cmd] != i)
                    continue; // missed an earlier word
                Place here{p.rank, p.field, p.item};
                if (wordBest[p.cmd].rank == kNone)
                    touched.push_back(p.cmd);
                if (here.BetterThan(wordBest[p.cmd]))
                    wordBest[p.cmd] = here;
                wordWeight[p.cmd] = std::max(wordWeight[p.cmd], p.weight);
            }
        }
        for (uint32_t cmd : touched) {
            matched[cmd] = static_cast<uint8_t>(i + 1);
            evidence[cmd].AddWord(wordBest[cmd], wordWeight[cmd]);
            wordBest[cmd] = Place();
            wordWeight[cmd] = 0;
        }
        alive.swap(touched);
    }
    // Each command that holds every word, judged; its title's words fit the
    // query's as their indices fall in the words' ranges.
    struct Found
    {
        uint32_t cmd;
        Verdict verdict;
    };
    std::vector<Found> found;
    found.reserve(alive.size());
    for (uint32_t cmd : alive) {
        const Cmd& c = m_cmds[cmd];
        const TitleFit fit = FitTitle(n, c.titleWords.size(), [&](size_t i, size_t j) {
            const uint32_t k = c.titleWords[j];
            return k == exact[i] ? 2 : k >= ranges[i].first && k < ranges[i].second ? 1 : 0;
        });
        Verdict v = Judge(q, evidence[cmd], c.name, c.title, fit);
        if (v.rank != kNone)
            found.push_back({cmd, v});
    }
    out.nFound = found.size();
    // Only the best nLimit are put in order and get their labels.
    auto before = [&](const Found& a, const Found& b) {
        return Before(a.verdict, m_cmds[a.cmd].name, b.verdict, m_cmds[b.cmd].name);
    };
    const size_t nKeep = std::min(nLimit, found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<ptrdiff_t>(nKeep), found.end(),
                      before);
    found.resize(nKeep);
    for (const Found& f : found) {
        const Cmd& c = m_cmds[f.cmd];
        Hit h;
        h.name = c.name;
        h.title = c.title;
        h.rank = static_cast<Rank>(f.verdict.rank);
        h.field = static_cast<Field>(f.verdict.place.field);
        h.item = f.verdict.place.item;
        h.where = WhereOf(c, h.field, h.item);
        out.hits.push_back(std::move(h));
    }
    FindSends(q, &out);
    return out;
}

void CLSearchIndex::FindSends(const Query& q, Results* pOut) const
{
    if (q.messageId.empty())
        return;
    auto it = std::lower_bound(m_words.begin(), m_words.end(), q.words[0]);
    if (it == m_words.end() || *it != q.words[0])
        return;
    size_t k = static_cast<size_t>(it - m_words.begin());
    for (uint32_t j = m_first[k]; j < m_first[k + 1]; ++j) {
        const Cmd& c = m_cmds[m_postings[j].cmd];
        for (size_t e = 0; e < c.errors.size(); ++e) {
            std::string code = c.errors[e].first;
            for (char& ch : code)
                ch = static_cast<char>(Fold(static_cast<unsigned char>(ch)));
            if (code == q.words[0]) {
                pOut->sends.push_back(
                    {c.name, c.title, static_cast<uint32_t>(e), c.errors[e].second});
                break;
            }
        }
    }
    SortSends(&pOut->sends);
}

uint64_t CLSearchIndex::MemoryBytes() const
{
    uint64_t n = m_postings.capacity() * sizeof(Posting) + m_first.capacity() * sizeof(uint32_t) +
                 m_words.capacity() * sizeof(std::string) + m_cmds.capacity() * sizeof(Cmd);
    for (const std::string& w : m_words)
        n += w.capacity() > 15 ? w.capacity() + 1 : 0;
    for (const Cmd& c : m_cmds) {
        for (const std::string* s : {&c.name, &c.title})
            n += s->capacity() > 15 ? s->capacity() + 1 : 0;
        n += c.titleWords.capacity() * sizeof(uint32_t) +
             c.keywords.capacity() * sizeof(std::string) +
             c.errors.capacity() * sizeof(std::pair<std::string, std::string>);
        for (const auto& e : c.errors)
            n += (e.first.capacity() > 15 ? e.first.capacity() + 1 : 0) +
                 (e.second.capacity() > 15 ? e.second.capacity() + 1 : 0);
    }
    return n;
}
