#include "CLSearchScan.h"

#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "CLSearchRank.h"
#include "CLSearchSpeller.h"
#include "CxFile.h"
#include "CxMemory.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>

using namespace CLSearch;

namespace {

// The bytes folded as Fold does, eight at a time while they are ASCII: in each
// byte of A-Z the 0x20 bit is set (a byte-parallel compare on a 64-bit word).
void FoldInto(const char* in, size_t n, char* to)
{
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x;
        std::memcpy(&x, in + i, 8);
        if (x & 0x8080808080808080ull) {
            for (size_t k = i; k < i + 8; ++k)
                to[k] = static_cast<char>(Fold(static_cast<unsigned char>(in[k])));
            continue;
        }
        uint64_t geA = x + 0x3F3F3F3F3F3F3F3Full; // high bit set from 'A' up
        uint64_t gtZ = x + 0x2525252525252525ull; // high bit set above 'Z'
        uint64_t upper = (geA ^ gtZ) & 0x8080808080808080ull;
        x |= upper >> 2;
        std::memcpy(to + i, &x, 8);
    }
    for (; i < n; ++i)
        to[i] = static_cast<char>(Fold(static_cast<unsigned char>(in[i])));
}

std::string Folded(std::string_view bytes)
{
    std::string out(bytes.size(), '\0');
    FoldInto(bytes.data(), bytes.size(), out.data());
    return out;
}

// Where word first occurs in [from, end), or end.
const char* Find(const char* from, const char* end, const std::string& word)
{
#ifdef _GNU_SOURCE
    const void* at = ::memmem(from, size_t(end - from), word.data(), word.size());
    return at ? static_cast<const char*>(at) : end;
#else
    size_t at = std::string_view(from, size_t(end - from)).find(word);
    return at == std::string_view::npos ? end : from + at;
#endif
}

// Which entries may hold every word: each word must occur in the entry's
// name or record bytes, in any case (a word's occurrence as a word, or as
// the start of one, is such a substring). Each word is looked for once in
// all the bytes, and its places are mapped to the records that hold them.
std::vector<bool> Candidates(const std::vector<const CLCmdIndex*>& entries,
                             const std::string& joinedPath, const Query& q)
{
    // Where each record lies, by position.
    std::vector<std::pair<uint64_t, uint32_t>> spans; // record start, entry
    spans.reserve(entries.size());
    CxMemory::PrepareToFill(spans.data(), spans.capacity() * sizeof spans[0]);
    for (uint32_t i = 0; i < entries.size(); ++i)
        if (entries[i]->dwLength && entries[i]->dwPos != kNoRecordPos)
            spans.emplace_back(entries[i]->dwPos, i);
    if (!std::is_sorted(spans.begin(), spans.end())) // a build lays them out in index order
        std::sort(spans.begin(), spans.end());
    const size_t nWords = q.words.size();
    std::vector<std::vector<uint8_t>> seen(nWords, std::vector<uint8_t>(entries.size(), 0));
    auto mark = [&](size_t k, uint64_t at) {
        auto it = std::upper_bound(spans.begin(), spans.end(), std::make_pair(at, UINT32_MAX));
        if (it == spans.begin())
            return;
        --it;
        const CLCmdIndex* p = entries[it->second];
        if (at + q.words[k].size() <= uint64_t(p->dwPos) + p->dwLength)
            seen[k][it->second] = 1;
    };

    // The file in pieces, as grep reads it: each piece folded and searched,
    // with the end of the one before kept so that no word is missed across.
    size_t nLongest = 0;
    for (const Word& w : q.words)
        nLongest = std::max(nLongest, w.size());
    // One buffer serves every piece: the bytes are read behind the kept end
    // and folded where they lie, so no memory is taken anew per piece.
    FILE* fp = std::fopen(joinedPath.c_str(), "rb");
    if (fp) {
        std::setvbuf(fp, nullptr, _IONBF, 0);
        constexpr size_t kPiece = 256 << 10;              // small enough to stay in the cache
        const size_t nTail = nLongest ? nLongest - 1 : 0; // kept for a word across pieces
        std::unique_ptr<char[]> buf(new char[kPiece + nTail]);
        size_t keep = 0;   // bytes at buf's start kept from the piece before
        uint64_t base = 0; // file offset of buf[0]
        size_t n;
        while ((n = std::fread(buf.get() + keep, 1, kPiece, fp)) > 0) {
            FoldInto(buf.get() + keep, n, buf.get() + keep);
            const size_t have = keep + n;
            const char* const start = buf.get();
            const char* const end = start + have;
            for (size_t k = 0; k < nWords; ++k)
                for (const char* at = Find(start, end, q.words[k]); at != end;
                     at = Find(at + 1, end, q.words[k]))
                    if (size_t(at - start) + q.words[k].size() > keep) // not in the last piece
                        mark(k, base + uint64_t(at - start));
            const size_t next = std::min(have, nTail);
            std::memmove(buf.get(), buf.get() + have - next, next);
            base += have - next;
            keep = next;
        }
        std::fclose(fp);
    }
    // The names too.
    for (uint32_t i = 0; i < entries.size(); ++i) {
        char name[sizeof entries[i]->szName];
        const size_t nName = strnlen(entries[i]->szName, sizeof name);
        FoldInto(entries[i]->szName, nName, name);
        for (size_t k = 0; k < nWords; ++k)
            if (!seen[k][i] && Find(name, name + nName, q.words[k]) != name + nName)
                seen[k][i] = 1;
    }
    std::vector<bool> may(entries.size(), true);
    for (size_t k = 0; k < nWords; ++k)
        for (uint32_t i = 0; i < entries.size(); ++i)
            if (!seen[k][i])
                may[i] = false;
    return may;
}

// The same for one record's bytes.
bool MayHold(std::string_view name, std::string_view folded, const Query& q)
{
    std::string lname = Folded(name);
    for (const Word& w : q.words)
        if (lname.find(w) == std::string::npos && folded.find(w) == std::string_view::npos)
            return false;
    return true;
}

// Calls visit(i, name, record) for the entries (in name order) as the run mode
// says: with a query, only for those whose bytes may hold its words. A command
// whose record cannot be read is still visited, as the window shows it: with
// an empty record. False (after saying why) when clcmd.dat cannot be read.
template <class Visit>
bool ForEachRecord(CLCmdManager& manager, const std::vector<const CLCmdIndex*>& entries,
                   const Query* pQuery, std::string* pWhy, Visit visit)
{
    auto pRec = std::make_unique<CLCmdRecord>();
    CLCmdManager::InitCmdRecord(nullptr, pRec.get());
    CLCmdRecord empty;
    CLCmdManager::InitCmdRecord(nullptr, &empty);
    struct Free
    {
        CLCmdRecord* p;
        ~Free() { CLCmdManager::FreeCmdRecord(p); }
    } free{pRec.release()};
    const bool bJoined = !manager.ReadsRecordFiles();
    // The words are looked for in the joined file first; only the records
    // that may hold them all are read. Many of them are read from a copy in
    // memory, a few by seeking.
    std::vector<bool> may;
    CxFile joined;
    if (bJoined) {
        const std::string path = manager.GetCmdDataFileName();
        if (CxFile::FileSize(path.c_str()) < 0) {
            *pWhy = "The file \"" + path + "\" cannot be read.";
            return false;
        }
        may = pQuery ? Candidates(entries, path, *pQuery) : std::vector<bool>(entries.size(), true);
        size_t nMay = static_cast<size_t>(std::count(may.begin(), may.end(), true));
        bool ok = nMay > 1000 ? joined.OpenToMemory(path.c_str()) : joined.Open(path.c_str(), "rb");
        if (!ok) {
            *pWhy = "The file \"" + path + "\" cannot be read.";
            return false;
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        const CLCmdIndex* p = entries[i];
        const std::string_view name(p->szName, strnlen(p->szName, sizeof p->szName));
        bool bRead = false;
        if (bJoined) {
            if (!may[i])
                continue;
            bRead = p->dwLength && p->dwPos != kNoRecordPos &&
                    uint64_t(p->dwPos) + p->dwLength <= joined.Size() &&
                    manager.ReadCmdRecordAt(&joined, p->dwPos, p->dwLength, free.p);
        } else {
            CxFile file;
            bool bFile = CLCmdManager::IsSafeFileName(p->szFileName) &&
                         file.OpenToMemory(manager.GetCmdRecordFileName(p).c_str());
            if (pQuery &&
                !MayHold(name, bFile ? Folded(std::string_view(file.Data(), file.Size())) : "",
                         *pQuery))
                continue;
            bRead = bFile && manager.ReadCmdRecordAt(&file, 0, CLCmdManager::kWholeFile, free.p);
        }
        visit(i, name, bRead ? *free.p : empty);
    }
    return true;
}

// The best nLimit commands found so far, and how many were found.
class Best
{
public:
    explicit Best(size_t nLimit) : m_nLimit(nLimit) {}
    void Offer(const Verdict& v, std::string_view name, const CLCmdRecord& rec)
    {
        ++m_nFound;
        if (m_nLimit == 0)
            return;
        if (m_heap.size() == m_nLimit) {
            if (!Before(v, name, m_heap.front().verdict, m_heap.front().hit.name))
                return; // no better than the worst kept
            std::pop_heap(m_heap.begin(), m_heap.end(), Worse);
            m_heap.pop_back();
        }
        Kept k;
        k.verdict = v;
        k.hit.name = std::string(name);
        k.hit.title = FieldText(rec.szDesc);
        k.hit.rank = static_cast<Rank>(v.rank);
        k.hit.field = static_cast<Field>(v.place.field);
        k.hit.item = v.place.item;
        k.hit.where = WhereOf(rec, k.hit.field, k.hit.item);
        m_heap.push_back(std::move(k));
        std::push_heap(m_heap.begin(), m_heap.end(), Worse);
    }
    // The hits kept, best first.
    void Take(Results* pOut)
    {
        std::sort_heap(m_heap.begin(), m_heap.end(), Worse);
        pOut->nFound = m_nFound;
        for (Kept& k : m_heap)
            pOut->hits.push_back(std::move(k.hit));
        m_heap.clear();
    }

private:
    struct Kept
    {
        Verdict verdict;
        Hit hit;
    };
    // The heap's order: its front is the worst kept.
    static bool Worse(const Kept& a, const Kept& b)
    {
        return Before(a.verdict, a.hit.name, b.verdict, b.hit.name);
    }
    size_t m_nLimit;
    size_t m_nFound = 0;
    std::vector<Kept> m_heap;
};

bool Scan(CLCmdManager& manager, const std::vector<const CLCmdIndex*>& entries, const Query& q,
          size_t nLimit, Results* pResults, std::string* pWhy)
{
    *pResults = Results();
    pResults->messageId = q.messageId;
    Best best(nLimit);
    bool ok = ForEachRecord(manager, entries, &q, pWhy,
                            [&](size_t, std::string_view name, const CLCmdRecord& rec) {
                                const Verdict v = JudgeRecord(q, rec, name);
                                if (v.rank != kNone)
                                    best.Offer(v, name, rec);
                                MessageHit sends;
                                if (FindMessage(q, rec, name, &sends))
                                    pResults->sends.push_back(std::move(sends));
                            });
    if (!ok)
        return false;
    best.Take(pResults);
    SortSends(&pResults->sends);
    return true;
}

// Searches; when nothing is found, offers every word of every record to a
// speller and searches its correction.
bool ScanOrCorrect(CLCmdManager& manager, const std::vector<const CLCmdIndex*>& entries,
                   const Query& q, size_t nLimit, Results* pResults, std::string* pWhy)
{
    if (!Scan(manager, entries, q, nLimit, pResults, pWhy))
        return false;
    if (pResults->nFound || !pResults->sends.empty() || !q.messageId.empty())
        return true;
    std::unordered_map<std::string, uint32_t> commands; // word: commands that hold it
    std::unordered_set<std::string> inRecord;
    bool ok =
        ForEachRecord(manager, entries, nullptr, pWhy,
                      [&](size_t, std::string_view name, const CLCmdRecord& rec) {
                          inRecord.clear();
                          ForEachWord(rec, name, [&](std::string_view w, Rank, Field, uint32_t) {
                              if (inRecord.emplace(w).second)
                                  ++commands[std::string(w)];
                          });
                      });
    if (!ok)
        return false;
    CLSearchSpeller speller(q);
    for (const auto& [word, nCommands] : commands)
        speller.Offer(word, nCommands);
    const std::string corrected = speller.Corrected();
    if (corrected.empty())
        return true;
    Results again;
    if (!Scan(manager, entries, ParseQuery(corrected), nLimit, &again, pWhy))
        return false;
    if (again.nFound) {
        again.corrected = corrected;
        *pResults = std::move(again);
    }
    return true;
}

} // namespace

bool CLSearchScan::Run(CLCmdManager& manager, std::string_view query, size_t nLimit,
                       Results* pResults, std::string* pWhy)
{
    *pResults = Results();
    const Query q = ParseQuery(query);
    if (q.IsEmpty())
        return true;
    std::vector<const CLCmdIndex*> entries;
    for (CLCmdIndex* p = manager.GetFirstCmdIdx(); p; p = manager.GetNextCmdIdx())
        entries.push_back(p);
    return ScanOrCorrect(manager, entries, q, nLimit, pResults, pWhy);
}

bool CLSearchScan::RunOnFolder(const CLOptions& options, std::string_view query, size_t nLimit,
                               Results* pResults, std::string* pWhy)
{
    *pResults = Results();
    const Query q = ParseQuery(query);
    CLCmdManager manager(options);
    std::vector<CLCmdIndex> stored;
    CLListScan scan;
    if (!manager.ScanCmdIdxFile(&stored, &scan)) {
        *pWhy = "The command index \"" + manager.GetCmdIdxFileName() + "\" cannot be loaded.";
        return false;
    }
    if (q.IsEmpty())
        return true;
    // The entries as loading keeps them: the first of each name.
    std::vector<const CLCmdIndex*> entries = CLCmdManager::LoadOrder(stored);
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const CLCmdIndex* a, const CLCmdIndex* b) {
                                  return std::strcmp(a->szName, b->szName) == 0;
                              }),
                  entries.end());
    return ScanOrCorrect(manager, entries, q, nLimit, pResults, pWhy);
}
