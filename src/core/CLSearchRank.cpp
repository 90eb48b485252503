#include "CLSearchRank.h"

#include "CLRecordUtil.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace CLSearch {

namespace {

// The weight at which a word adds half of what it can.
constexpr double kSaturation = 8.0;

// What the fit of a title adds to the score.
constexpr double kCover = 2.0;    // times the share of the title the words make up
constexpr double kOrder = 0.5;    // the words in order
constexpr double kTogether = 0.5; // side by side
constexpr double kAtStart = 0.5;  // from the first word
constexpr double kSameText = 4.0; // the whole text, punctuation too
// What a name prefix adds: times the share of the name it makes up.
constexpr double kNameCover = 2.0;

std::string FoldedName(std::string_view name)
{
    std::string out(name);
    for (char& c : out)
        c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return out;
}

bool BeginsWith(std::string_view word, std::string_view prefix)
{
    return word.size() >= prefix.size() && word.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TitleFit FitTitle(size_t nQuery, size_t nTitle, const WordMatch& match)
{
    TitleFit fit;
    fit.nTitleWords = static_cast<uint32_t>(nTitle);
    if (nQuery == 0 || nTitle == 0)
        return fit;
    fit.bAll = true;
    for (size_t i = 0; i < nQuery && fit.bAll; ++i) {
        bool bAny = false;
        for (size_t j = 0; j < nTitle && !bAny; ++j)
            bAny = match(i, j) != 0;
        fit.bAll = bAny;
    }
    if (!fit.bAll)
        return fit;
    // In order: each word after the one before (the earliest such places).
    size_t from = 0;
    fit.bInOrder = true;
    for (size_t i = 0; i < nQuery && fit.bInOrder; ++i) {
        size_t j = from;
        while (j < nTitle && match(i, j) == 0)
            ++j;
        fit.bInOrder = j < nTitle;
        from = j + 1;
    }
    if (!fit.bInOrder || nQuery > nTitle)
        return fit;
    for (size_t start = 0; start + nQuery <= nTitle && !fit.bTogether; ++start) {
        bool bHere = true;
        for (size_t i = 0; i < nQuery && bHere; ++i)
            bHere = match(i, start + i) != 0;
        if (bHere) {
            fit.bTogether = true;
            fit.bAtStart = start == 0;
        }
    }
    if (nQuery == nTitle) {
        fit.bExact = true;
        for (size_t i = 0; i < nQuery && fit.bExact; ++i)
            fit.bExact = match(i, i) == 2;
    }
    return fit;
}

void Evidence::AddWord(const Place& best, uint32_t nWeight)
{
    if (best.rank == kNone)
        bMissing = true;
    // The command ranks by its worst placed word; the first such word says where.
    if (nWords == 0 || best.rank > place.rank)
        place = best;
    ++nWords;
    const double w = static_cast<double>(std::min(nWeight, kMaxWeight));
    fWords += w / (w + kSaturation);
}

Verdict Judge(const Query& q, const Evidence& e, std::string_view name, std::string_view title,
              const TitleFit& fit)
{
    Verdict v;
    if (q.words.empty() || e.bMissing || e.nWords != q.words.size())
        return v;
    v.fScore = e.fWords;
    if (fit.bAll) {
        v.fScore += kCover * std::min(1.0, double(q.words.size()) / double(fit.nTitleWords));
        v.fScore += (fit.bInOrder ? kOrder : 0) + (fit.bTogether ? kTogether : 0) +
                    (fit.bAtStart ? kAtStart : 0);
        if (fit.bExact && NormalText(title) == q.text)
            v.fScore += kSameText;
    }
    if (q.words.size() == 1) {
        const std::string lname = FoldedName(name);
        if (lname == q.words[0]) {
            v.rank = kExactName;
            v.place = Place{kExactName, kName, 0};
            return v;
        }
        if (!fit.bExact && BeginsWith(lname, q.words[0])) {
            v.rank = kNamePrefix;
            v.place = Place{kNamePrefix, kName, 0};
            v.fScore += kNameCover * double(q.words[0].size()) / double(lname.size());
            return v;
        }
    }
    if (fit.bExact || fit.bInOrder) {
        v.rank = fit.bExact ? kExactTitle : kTitlePhrase;
        v.place = Place{v.rank, kTitleField, 0};
        return v;
    }
    v.rank = e.place.rank;
    v.place = e.place;
    return v;
}

bool Before(const Verdict& a, std::string_view nameA, const Verdict& b, std::string_view nameB)
{
    if (a.rank != b.rank)
        return a.rank < b.rank;
    if (a.fScore != b.fScore)
        return a.fScore > b.fScore;
    return nameA < nameB; // byte order: string_view compares as unsigned char
}

Verdict JudgeRecord(const Query& q, const CLCmdRecord& rec, std::string_view name)
{
    const size_t n = std::min(q.words.size(), kMaxQueryWords);
    if (n == 0)
        return Verdict();
    // Called for every record a search reads: no memory is taken anew per
    // record, as the buffers below keep theirs from one record to the next.
    std::array<Place, kMaxQueryWords> best{};
    std::array<uint32_t, kMaxQueryWords> weight{};
    // The last word may begin several words: each one's weight, the heaviest counts.
    thread_local std::vector<std::pair<std::string, uint32_t>> lastWords;
    size_t nLast = 0;
    ForEachWord(rec, name, [&](std::string_view w, Rank rank, Field field, uint32_t item) {
        const Place here{rank, field, static_cast<uint16_t>(std::min<uint32_t>(item, 0xFFFF))};
        for (size_t i = 0; i < n; ++i) {
            const bool bLast = i + 1 == n;
            if (!(bLast ? BeginsWith(w, q.words[i]) : w == q.words[i]))
                continue;
            if (here.BetterThan(best[i]))
                best[i] = here;
            if (!bLast) {
                weight[i] += WordWeight(rank);
                continue;
            }
            auto end = lastWords.begin() + static_cast<std::ptrdiff_t>(nLast);
            auto it =
                std::find_if(lastWords.begin(), end, [&](const auto& e) { return e.first == w; });
            if (it != end) {
                it->second += WordWeight(rank);
            } else {
                if (nLast == lastWords.size())
                    lastWords.emplace_back();
                lastWords[nLast].first.assign(w);
                lastWords[nLast++].second = WordWeight(rank);
            }
        }
    });
    for (size_t k = 0; k < nLast; ++k)
        weight[n - 1] = std::max(weight[n - 1], lastWords[k].second);
    Evidence e;
    for (size_t i = 0; i < n; ++i)
        e.AddWord(best[i], std::min(weight[i], kMaxWeight));
    if (e.bMissing)
        return Verdict();
    const std::string_view title(rec.szDesc, strnlen(rec.szDesc, sizeof rec.szDesc));
    // The title's words, folded, as views into one kept buffer.
    thread_local std::string folded;
    thread_local std::vector<std::string_view> titleWords;
    folded.resize(title.size());
    for (size_t k = 0; k < title.size(); ++k)
        folded[k] = static_cast<char>(Fold(static_cast<unsigned char>(title[k])));
    titleWords.clear();
    for (size_t k = 0; k < folded.size();) {
        if (!IsWordByte(static_cast<unsigned char>(folded[k]))) {
            ++k;
            continue;
        }
        size_t j = k;
        while (j < folded.size() && IsWordByte(static_cast<unsigned char>(folded[j])))
            ++j;
        titleWords.emplace_back(folded.data() + k, j - k);
        k = j;
    }
    const TitleFit fit = FitTitle(n, titleWords.size(), [&](size_t i, size_t j) {
        const std::string_view t = titleWords[j];
        if (t == q.words[i])
            return 2;
        return i + 1 == n && BeginsWith(t, q.words[i]) ? 1 : 0;
    });
    return Judge(q, e, name, title, fit);
}

} // namespace CLSearch
