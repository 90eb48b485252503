#include "CLSearch.h"

#include "CLRecordUtil.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <utility>

namespace CLSearch {

namespace {

template <size_t N> std::string_view View(const char (&field)[N])
{
    return std::string_view(field, strnlen(field, N - 1));
}

std::string_view View(const char* psz)
{
    return psz ? std::string_view(psz) : std::string_view();
}

// Which bytes belong to words, as IsWordByte says: read once per byte of
// every record a search judges.
constexpr bool WordByte(unsigned c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' ||
           c == '@' || c == '#' || c == '$' || c == '_' || c == '&' ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

template <size_t... I> constexpr auto MakeWordTable(std::index_sequence<I...>)
{
    return std::array<bool, 256>{WordByte(I)...};
}

constexpr std::array<bool, 256> kWordTable = MakeWordTable(std::make_index_sequence<256>{});

void Words(std::string_view text, Rank rank, Field field, uint32_t item, const WordSink& f,
           std::string& buf)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        if (!kWordTable[p[i]]) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < n && kWordTable[p[j]])
            ++j;
        buf.resize(j - i);
        for (size_t k = i; k < j; ++k)
            buf[k - i] = static_cast<char>(Fold(p[k]));
        f(buf, rank, field, item);
        i = j;
    }
}

std::string Folded(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

bool IsWordByte(unsigned char c)
{
    return kWordTable[c];
}

namespace {

constexpr unsigned char FoldOne(unsigned c)
{
    return static_cast<unsigned char>(
        (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c);
}

template <size_t... I> constexpr auto MakeFoldTable(std::index_sequence<I...>)
{
    return std::array<unsigned char, 256>{FoldOne(I)...};
}

} // namespace

const std::array<unsigned char, 256> kFoldTable = MakeFoldTable(std::make_index_sequence<256>{});

std::vector<Word> WordsOf(std::string_view text, size_t nMax)
{
    std::vector<Word> words;
    std::string buf;
    Words(
        text, kText, kDetail, 0,
        [&](std::string_view w, Rank, Field, uint32_t) {
            if (words.size() < nMax)
                words.emplace_back(w);
        },
        buf);
    return words;
}

std::vector<std::pair<size_t, size_t>> MatchedSpans(std::string_view text,
                                                    const std::vector<Word>& words)
{
    std::vector<std::pair<size_t, size_t>> spans;
    std::string buf;
    for (size_t i = 0; i < text.size();) {
        if (!IsWordByte(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        const size_t start = i;
        buf.clear();
        while (i < text.size() && IsWordByte(static_cast<unsigned char>(text[i])))
            buf += static_cast<char>(Fold(static_cast<unsigned char>(text[i++])));
        for (size_t k = 0; k < words.size(); ++k) {
            const bool bLast = k + 1 == words.size();
            if (bLast ? buf.compare(0, words[k].size(), words[k]) == 0 : buf == words[k]) {
                spans.emplace_back(start, i - start);
                break;
            }
        }
    }
    return spans;
}

std::string NormalText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += static_cast<char>(Fold(c));
        }
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

bool IsMessageId(std::string_view w)
{
    if (w.size() != 7)
        return false;
    for (size_t i = 0; i < 3; ++i)
        if (!((w[i] >= 'a' && w[i] <= 'z') || (w[i] >= 'A' && w[i] <= 'Z')))
            return false;
    for (size_t i = 3; i < 7; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(w[i])))
            return false;
    return true;
}

void ForEachWord(const CLCmdRecord& rec, std::string_view name, const WordSink& f)
{
    std::string buf;
    Words(name, kTitle, kName, 0, f, buf);
    Words(View(rec.szDesc), kTitle, kTitleField, 0, f, buf);
    Words(View(rec.szEnv), kText, kEnvironment, 0, f, buf);
    Words(View(rec.pszDetail), kText, kDetail, 0, f, buf);
    Words(View(rec.pszExample), kText, kExamples, 0, f, buf);
    for (uint32_t i = 0; i < rec.dwParamCount; ++i) {
        const CLCmdParam& p = rec.pParams[i];
        Words(View(p.szKeyword), kKeyOrId, kParameter, i, f, buf);
        Words(View(p.szDesc), kItemText, kParameter, i, f, buf);
        Words(View(p.szChoices), kItemText, kParameter, i, f, buf);
        Words(View(p.szNote), kItemText, kParameter, i, f, buf);
    }
    for (uint32_t i = 0; i < rec.dwErrorCount; ++i) {
        const CLCmdError& e = rec.pErrors[i];
        Words(View(e.szCode), kKeyOrId, kError, i, f, buf);
        Words(View(e.szText), kItemText, kError, i, f, buf);
    }
}

uint32_t WordWeight(Rank rank)
{
    switch (rank) {
    case kTitle:
        return 8;
    case kKeyOrId:
        return 4;
    case kItemText:
        return 2;
    default:
        return 1;
    }
}

Query ParseQuery(std::string_view text)
{
    Query q;
    q.words = WordsOf(text, kMaxQueryWords);
    q.text = NormalText(text.substr(0, 4096)); // no title is longer
    if (q.words.size() == 1 && IsMessageId(q.words[0])) {
        q.messageId = q.words[0];
        for (char& c : q.messageId)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return q;
}

std::string WhereOf(const CLCmdRecord& rec, Field field, uint32_t item)
{
    switch (field) {
    case kName:
        return "name";
    case kTitleField:
        return "title";
    case kEnvironment:
        return "environment";
    case kDetail:
        return "detail";
    case kExamples:
        return "examples";
    case kParameter:
        if (item < rec.dwParamCount && rec.pParams[item].szKeyword[0])
            return "parameter " + FieldText(rec.pParams[item].szKeyword);
        return "parameter " + std::to_string(item + 1);
    case kError:
        if (item < rec.dwErrorCount && rec.pErrors[item].szCode[0])
            return "error " + FieldText(rec.pErrors[item].szCode);
        return "error " + std::to_string(item + 1);
    }
    return {};
}

bool FindMessage(const Query& q, const CLCmdRecord& rec, std::string_view name, MessageHit* p)
{
    if (q.messageId.empty())
        return false;
    for (uint32_t i = 0; i < rec.dwErrorCount; ++i) {
        if (Folded(View(rec.pErrors[i].szCode)) == q.words[0]) {
            p->name = std::string(name);
            p->title = FieldText(rec.szDesc);
            p->item = i;
            p->text = FieldText(rec.pErrors[i].szText);
            return true;
        }
    }
    return false;
}

void SortSends(std::vector<MessageHit>* pSends)
{
    std::sort(pSends->begin(), pSends->end(), [](const MessageHit& a, const MessageHit& b) {
        return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;
    });
}

bool IsLabel(std::string_view label)
{
    if (label.empty() || label.size() > 10)
        return false;
    for (size_t i = 0; i < label.size(); ++i) {
        const char c = label[i];
        const bool bFirst =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '$' || c == '#' || c == '@';
        if (!(bFirst || (i > 0 && ((c >= '0' && c <= '9') || c == '_'))))
            return false;
    }
    return true;
}

bool MonitorLine(std::string_view messageId, std::string_view label, std::string* pLine)
{
    if (!IsMessageId(messageId) || (!label.empty() && !IsLabel(label)))
        return false;
    auto upper = [](std::string_view s) {
        std::string out(s);
        for (char& c : out)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return out;
    };
    *pLine = "MONMSG MSGID(" + upper(messageId) + ")";
    if (!label.empty())
        *pLine += " EXEC(GOTO CMDLBL(" + upper(label) + "))";
    return true;
}

} // namespace CLSearch
