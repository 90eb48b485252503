#include "CLSearchIndex.h"

#include "CLCmdManager.h"
#include "CLRecordUtil.h"

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
    // Words are gathered per command with their best place, then laid out
    // sorted, each with its commands in command order.
    std::unordered_map<std::string, std::vector<Posting>> byWord;
    std::unordered_map<std::string, Place> inCmd;
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
            auto [it, bNew] = inCmd.try_emplace(std::string(w), here);
            if (!bNew && here.BetterThan(it->second))
                it->second = here;
        });
        for (const auto& [w, place] : inCmd)
            byWord[w].push_back({cmd, place.rank, place.field, place.item});
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
    return true;
}

void CLSearchIndex::Add(const CLCmdRecord& rec, std::string_view name)
{
    Cmd c;
    c.name = std::string(name);
    c.lname = c.name;
    for (char& ch : c.lname)
        ch = static_cast<char>(Fold(static_cast<unsigned char>(ch)));
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

Results CLSearchIndex::Find(std::string_view text, size_t nLimit) const
{
    Results out;
    const Query q = ParseQuery(text);
    if (q.IsEmpty() || m_cmds.empty())
        return out;
    const size_t n = q.words.size();
    const size_t nCmds = m_cmds.size();
    std::vector<Place> chosen(nCmds);
    std::vector<uint8_t> matched(nCmds, 0);
    std::vector<Place> wordBest(nCmds);
    std::vector<uint32_t> touched;
    std::vector<uint32_t> alive; // commands that hold every word so far
    for (size_t i = 0; i < n; ++i) {
        const std::string& w = q.words[i];
        const bool bPrefix = i + 1 == n;
        auto first = std::lower_bound(m_words.begin(), m_words.end(), w);
        touched.clear();
        for (auto it = first; it != m_words.end(); ++it) {
            if (bPrefix ? it->compare(0, w.size(), w) != 0 : *it != w)
                break;
            size_t k = static_cast<size_t>(it - m_words.begin());
            for (uint32_t j = m_first[k]; j < m_first[k + 1]; ++j) {
                const Posting& p = m_postings[j];
                if (matched[p.cmd] != i)
                    continue; // missed an earlier word
                Place here{p.rank, p.field, p.item};
                if (wordBest[p.cmd].rank == kNone)
                    touched.push_back(p.cmd);
                if (here.BetterThan(wordBest[p.cmd]))
                    wordBest[p.cmd] = here;
            }
        }
        for (uint32_t cmd : touched) {
            matched[cmd] = static_cast<uint8_t>(i + 1);
            // A command ranks by the worst placed of its words; the first such word says where.
            if (i == 0 || wordBest[cmd].rank > chosen[cmd].rank)
                chosen[cmd] = wordBest[cmd];
            wordBest[cmd] = Place();
        }
        alive.swap(touched);
    }
    std::vector<uint32_t> found;
    for (uint32_t cmd : alive)
        if (matched[cmd] == n)
            found.push_back(cmd);
    // A one-word query may name a command, or begin one's name.
    if (n == 1) {
        const std::string& w = q.words[0];
        for (uint32_t cmd = 0; cmd < nCmds; ++cmd) {
            const std::string& ln = m_cmds[cmd].lname;
            uint8_t rank = ln == w                           ? kExactName
                           : ln.compare(0, w.size(), w) == 0 ? kNamePrefix
                                                             : kNone;
            if (rank == kNone)
                continue;
            if (matched[cmd] != 1)
                found.push_back(cmd);
            matched[cmd] = 1;
            chosen[cmd] = Place{rank, kName, 0};
        }
    }
    // Rank order, ties by name; only the hits kept get their labels.
    std::sort(found.begin(), found.end(), [&](uint32_t a, uint32_t b) {
        return HitBefore(chosen[a].rank, m_cmds[a].name, chosen[b].rank, m_cmds[b].name);
    });
    if (found.size() > nLimit)
        found.resize(nLimit);
    for (uint32_t cmd : found) {
        const Cmd& c = m_cmds[cmd];
        Hit h;
        h.name = c.name;
        h.title = c.title;
        h.rank = static_cast<Rank>(chosen[cmd].rank);
        h.field = static_cast<Field>(chosen[cmd].field);
        h.item = chosen[cmd].item;
        h.where = WhereOf(c, h.field, h.item);
        out.hits.push_back(std::move(h));
    }

    if (!q.messageId.empty()) {
        out.monitor = MonitorLine(q.messageId);
        auto it = std::lower_bound(m_words.begin(), m_words.end(), q.words[0]);
        if (it != m_words.end() && *it == q.words[0]) {
            size_t k = static_cast<size_t>(it - m_words.begin());
            for (uint32_t j = m_first[k]; j < m_first[k + 1]; ++j) {
                const Cmd& c = m_cmds[m_postings[j].cmd];
                for (size_t e = 0; e < c.errors.size(); ++e) {
                    std::string code = c.errors[e].first;
                    for (char& ch : code)
                        ch = static_cast<char>(Fold(static_cast<unsigned char>(ch)));
                    if (code == q.words[0]) {
                        out.sends.push_back(
                            {c.name, c.title, static_cast<uint32_t>(e), c.errors[e].second});
                        break;
                    }
                }
            }
            std::sort(out.sends.begin(), out.sends.end(),
                      [](const MessageHit& a, const MessageHit& b) {
                          return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;
                      });
        }
    }
    return out;
}

uint64_t CLSearchIndex::MemoryBytes() const
{
    uint64_t n = m_postings.capacity() * sizeof(Posting) + m_first.capacity() * sizeof(uint32_t) +
                 m_words.capacity() * sizeof(std::string) + m_cmds.capacity() * sizeof(Cmd);
    for (const std::string& w : m_words)
        n += w.capacity() > 15 ? w.capacity() + 1 : 0;
    for (const Cmd& c : m_cmds) {
        for (const std::string* s : {&c.name, &c.lname, &c.title})
            n += s->capacity() > 15 ? s->capacity() + 1 : 0;
        n += c.keywords.capacity() * sizeof(std::string) +
             c.errors.capacity() * sizeof(std::pair<std::string, std::string>);
        for (const auto& e : c.errors)
            n += (e.first.capacity() > 15 ? e.first.capacity() + 1 : 0) +
                 (e.second.capacity() > 15 ? e.second.capacity() + 1 : 0);
    }
    return n;
}
