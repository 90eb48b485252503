#include "CLCmdDefinition.h"

#include "CLFormat.h"
#include "CLRecordUtil.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// A value with the separator that goes before it, so a text can be cut after
// any whole value.
struct Piece
{
    std::string sep, text;
};

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string LowerFirst(std::string s)
{
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z' && !(s.size() > 1 && s[1] >= 'A' && s[1] <= 'Z'))
        s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

// Joins the pieces; when they do not fit in nMax, ends after the last whole
// value that fits, followed by "...".
std::string Fit(const std::vector<Piece>& pieces, size_t nMax)
{
    std::string all;
    for (const Piece& p : pieces)
        all += p.sep + p.text;
    if (all.size() <= nMax)
        return all;
    std::string out;
    for (const Piece& p : pieces) {
        if (out.size() + p.sep.size() + p.text.size() + 3 > nMax)
            break;
        out += p.sep + p.text;
    }
    return out + "...";
}

void AddPieces(const CLCmdDefPart& part, std::vector<Piece>* pOut);

// The values of one part: single values, special values, the allowed values
// or the kind of free value, the default marked.
void AddValues(const CLCmdDefPart& part, std::vector<Piece>* pOut)
{
    std::vector<std::string> items;
    auto add = [&items](const std::string& v) {
        if (!v.empty() && std::find(items.begin(), items.end(), v) == items.end())
            items.push_back(v);
    };
    for (const std::string& v : part.singleValues)
        add(v);
    for (const std::string& v : part.specialValues)
        add(v);
    if (part.restricted) {
        for (const std::string& v : part.values)
            add(v);
    }
    if (!part.quals.empty())
        add("Qualified object name");
    else if (!part.elems.empty())
        add("Element list");
    else if (!part.restricted) {
        if (!part.rangeMin.empty() && !part.rangeMax.empty())
            add(part.rangeMin + "-" + part.rangeMax);
        else
            add(CLCmdDef::KindOf(part.type));
    }
    std::string tail;
    if (!part.dft.empty()) {
        auto it = std::find_if(items.begin(), items.end(), [&part](const std::string& v) {
            return Upper(v) == Upper(part.dft);
        });
        if (it != items.end())
            *it += " (default)";
        else
            tail = "default: " + part.dft;
    }
    for (size_t i = 0; i < items.size(); ++i)
        pOut->push_back({i == 0 ? "" : ", ", items[i]});
    if (!tail.empty())
        pOut->push_back({pOut->empty() ? "" : "; ", tail});
}

void AddPieces(const CLCmdDefPart& part, std::vector<Piece>* pOut)
{
    size_t nFirst = pOut->size();
    AddValues(part, pOut);
    // The parts of a qualified name or a list, each with its own values. The
    // first qualifier is the object's name itself: shown only when it has
    // values of its own.
    auto addPart = [&](const CLCmdDefPart& sub, const std::string& fallback) {
        std::vector<Piece> inner;
        AddPieces(sub, &inner);
        if (inner.empty())
            return;
        std::string label = LowerFirst(sub.prompt.empty() ? fallback : sub.prompt);
        inner.front().sep = "; " + label + ": ";
        if (pOut->size() == nFirst)
            inner.front().sep = label + ": ";
        pOut->insert(pOut->end(), inner.begin(), inner.end());
    };
    for (size_t i = 0; i < part.quals.size(); ++i) {
        const CLCmdDefPart& q = part.quals[i];
        if (i == 0 && q.singleValues.empty() && q.specialValues.empty() && !q.restricted)
            continue;
        addPart(q, "qualifier " + std::to_string(i + 1));
    }
    for (size_t i = 0; i < part.elems.size(); ++i)
        addPart(part.elems[i], "element " + std::to_string(i + 1));
}

} // namespace

namespace CLCmdDef {

std::string KindOf(const std::string& typeIn)
{
    std::string type = Upper(typeIn);
    if (!type.empty() && type[0] == '*')
        type.erase(0, 1);
    static const std::pair<const char*, const char*> kinds[] = {
        {"NAME", "Name"},
        {"GENERIC", "Generic name"},
        {"PNAME", "Path name"},
        {"CNAME", "Communications name"},
        {"SNAME", "Simple name"},
        {"CHAR", "Character value"},
        {"DEC", "Decimal number"},
        {"INT2", "Integer"},
        {"INT4", "Integer"},
        {"UINT2", "Unsigned integer"},
        {"UINT4", "Unsigned integer"},
        {"LGL", "Logical value"},
        {"DATE", "Date"},
        {"TIME", "Time"},
        {"HEX", "Hexadecimal value"},
        {"X", "Hexadecimal value"},
        {"CMD", "Command string"},
        {"CMDSTR", "Command string"},
        {"VARNAME", "CL variable name"},
    };
    for (const auto& [t, kind] : kinds)
        if (type == t)
            return kind;
    return {};
}

std::string Choices(const CLCmdDefPart& part)
{
    std::vector<Piece> pieces;
    AddPieces(part, &pieces);
    return Fit(pieces, CLFormat::kChoices);
}

std::string Notes(const CLCmdDefParm& parm, int nPositional)
{
    std::string notes = parm.min > 0 ? "Required" : "Optional";
    if (parm.key)
        notes += ", Key";
    if (nPositional > 0)
        notes += ", Positional " + std::to_string(nPositional);
    return notes;
}

std::vector<CLCmdParam> Parameters(const CLCmdDefinition& def)
{
    // Positions count the parameters a user can enter, in the order defined.
    struct Entry
    {
        const CLCmdDefParm* p;
        size_t defined;
        int positional;
    };
    std::vector<Entry> entries;
    int nPrompted = 0;
    for (size_t i = 0; i < def.parms.size(); ++i) {
        const CLCmdDefParm& p = def.parms[i];
        if (p.constant)
            continue;
        ++nPrompted;
        bool bPositional = def.maxPos < 0 || nPrompted <= def.maxPos;
        entries.push_back({&p, i, bPositional ? nPrompted : 0});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        int pa = a.p->posNbr > 0 ? a.p->posNbr : INT_MAX;
        int pb = b.p->posNbr > 0 ? b.p->posNbr : INT_MAX;
        return pa != pb ? pa < pb : a.defined < b.defined;
    });
    std::vector<CLCmdParam> params;
    for (const Entry& e : entries) {
        CLCmdParam out{};
        CopyField(out.szKeyword, e.p->keyword);
        std::string desc = e.p->prompt;
        if (desc.size() > CLFormat::kParamDesc)
            desc = desc.substr(0, CLFormat::kParamDesc - 3) + "...";
        CopyField(out.szDesc, desc);
        CopyField(out.szChoices, Choices(*e.p));
        CopyField(out.szNote, Notes(*e.p, e.positional));
        params.push_back(out);
    }
    return params;
}

} // namespace CLCmdDef
