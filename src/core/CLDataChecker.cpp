#include "CLDataChecker.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "CLMessage.h"
#include "CLPartial.h"
#include "CLRecordUtil.h"
#include "CxFile.h"
#include "WinUtil.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& s)
{
    return "\"" + Printable(s) + "\"";
}

bool HasRecord(const CLCmdIndex& idx)
{
    return idx.dwLength != 0 && idx.dwPos != kNoRecordPos;
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

// Runs f with the data layer's messages collected instead of shown.
template <typename F> std::vector<std::string> CollectMessages(F f)
{
    std::vector<std::string> texts;
    CLMessageHook old = SetMessageHook([&texts](const std::string& text, const std::string&,
                                                CLMsgIcon) { texts.push_back(text); });
    f();
    SetMessageHook(old);
    return texts;
}

// The problems of a list file's scan that its header and records show; false
// when the records cannot be looked at.
bool ScanProblems(const char* file, bool bRead, const CLListScan& scan, const char* szMagic,
                  const char* szWhat,
                  const std::function<void(const std::string&, const std::string&)>& problem)
{
    if (!scan.bOpened) {
        problem(file, Exists(AppFile(file)) ? "cannot be read" : "missing");
        return false;
    }
    if (!bRead || !scan.bHeader) {
        problem(file, std::string("wrong header (not ") + szMagic + " version " +
                          std::to_string(CLFormat::kVersion) + ")");
        return false;
    }
    if (!scan.sCut.empty())
        problem(file, scan.sCut);
    else if (scan.nTrailing > 0)
        problem(file, std::to_string(scan.nTrailing) + " bytes after the last " + szWhat);
    for (uint32_t n : scan.nulRecords)
        problem(file, std::string(szWhat) + " " + std::to_string(n) +
                          ": a text holds a zero byte, where its field ends");
    return true;
}

} // namespace

void CLDataChecker::Problem(const std::string& file, const std::string& what)
{
    std::string line = file + ": " + what;
    if (m_seen.insert(line).second)
        m_problems.push_back(line);
}

std::vector<std::string> CLDataChecker::Run()
{
    m_problems.clear();
    m_notes.clear();
    m_seen.clear();
    CheckCategories();
    CheckIndex();
    if (m_bIndexRead) {
        for (const CLCmdIndex& idx : m_entries)
            CheckRecordFile(idx);
        CheckJoinedFile();
    }
    CheckLeftovers();
    return m_problems;
}

void CLDataChecker::CheckCategories()
{
    const char* file = "clcat.dat";
    CLCmdManager manager;
    CLListScan scan;
    bool bRead = manager.ScanCatFile(&m_cats, &scan);
    auto problem = [this](const std::string& f, const std::string& w) { Problem(f, w); };
    if (!ScanProblems(file, bRead, scan, CLFormat::kCatMagic, "category", problem))
        return;
    m_bCatsRead = true;

    // Empty names, duplicate ids and the order, in file order, with the data
    // layer's messages; loading stops at the first category without a name.
    std::set<uint32_t> ids;
    bool bOrdered = true;
    for (size_t i = 0; i < m_cats.size(); ++i) {
        const CLCategory& c = m_cats[i];
        const std::string where = "category " + std::to_string(i + 1) + ": ";
        if (c.szName[0] == 0) {
            for (const std::string& text : CollectMessages([&] { manager.AddCat(&c); }))
                Problem(file, where + text);
            m_cats.resize(i);
            break;
        }
        if (CLCmdManager::CheckCategory(c) == CLCatFault::ID)
            Problem(file, where + "id 0 is never a category; ids start at 1");
        if (!ids.insert(c.dwID).second) {
            CLCmdManager one;
            CLCategory first = c;
            one.AddCat(&first);
            for (const std::string& text : CollectMessages([&] { one.AddCat(&c); }))
                Problem(file, where + text);
        } else if (bOrdered && i > 0 && c.dwID < m_cats[i - 1].dwID) {
            Problem(file, where + "out of order: id " + std::to_string(c.dwID) + " follows id " +
                              std::to_string(m_cats[i - 1].dwID));
            bOrdered = false;
        }
    }
}

void CLDataChecker::CheckIndex()
{
    const char* file = "cldict.dat";
    CLCmdManager manager;
    CLListScan scan;
    std::vector<CLCmdIndex> stored;
    bool bRead = manager.ScanCmdIdxFile(&stored, &scan);
    auto problem = [this](const std::string& f, const std::string& w) { Problem(f, w); };
    if (!ScanProblems(file, bRead, scan, CLFormat::kIdxMagic, "entry", problem))
        return;
    m_bIndexRead = true;

    // Empty names, duplicates and the order, in file order; the entries the
    // data layer drops are left out of the checks that follow.
    std::unordered_set<std::string> names;
    bool bOrdered = true;
    for (size_t i = 0; i < stored.size(); ++i) {
        const CLCmdIndex& e = stored[i];
        const std::string where = "entry " + std::to_string(i + 1) + ": ";
        if (e.szName[0] == 0) {
            for (const std::string& text : CollectMessages([&] { manager.AddCmdIdx(&e); }))
                Problem(file, where + text);
            break;
        }
        if (!names.insert(FieldText(e.szName)).second) {
            Problem(file, where + CLCmdManager::DuplicateCmdMessage(e.szName));
            continue;
        }
        if (bOrdered && i > 0 && std::strcmp(e.szName, stored[i - 1].szName) < 0) {
            Problem(file, where + "out of order: " + Quoted(FieldText(e.szName)) + " follows " +
                              Quoted(FieldText(stored[i - 1].szName)));
            bOrdered = false;
        }
        m_entries.push_back(e);
    }

    for (const CLCmdIndex& idx : m_entries) {
        const std::string name = Quoted(FieldText(idx.szName));
        if (m_bCatsRead && std::none_of(m_cats.begin(), m_cats.end(), [&idx](const CLCategory& c) {
                return c.dwID == idx.dwCatID;
            }))
            Problem(file, name + ": category " + std::to_string(idx.dwCatID) + " does not exist");
        if (!CLCmdManager::IsSafeFileName(idx.szFileName))
            Problem(file, name + ": unsafe file name " + Quoted(FieldText(idx.szFileName)));
    }
}

void CLDataChecker::CheckRecordFile(const CLCmdIndex& idx)
{
    if (!CLCmdManager::IsSafeFileName(idx.szFileName))
        return; // reported with the index
    const std::string file = "data/" + FieldText(idx.szFileName);
    const std::string path = CLCmdManager::GetDataFolder() + FieldText(idx.szFileName);
    if (!Exists(path)) {
        Problem(file, "missing");
        return;
    }
    std::string name, partial;
    CLCmdManager::ReadInfo info;
    bool ok = ReadRecordFile(path, &name, &info, &partial);
    if (!ok) {
        Problem(file, "cannot be read whole: " + info.sWhy);
        return;
    }
    if (info.nLeft > 0)
        Problem(file, std::to_string(info.nLeft) + " bytes after the record");
    if (info.bNul)
        Problem(file, "a text holds a zero byte, where its field ends");
    if (!partial.empty())
        Problem(file, partial);
    if (name != FieldText(idx.szName))
        Problem(file, "the record's name " + Quoted(name) + " differs from the entry's " +
                          Quoted(FieldText(idx.szName)));
}

void CLDataChecker::CheckJoinedFile()
{
    const std::string file = "clcmd.dat";
    std::string joined;
    if (!Exists(AppFile(file))) {
        Problem(file, "missing");
        return;
    }
    if (!CxFile::ReadWholeFile(AppFile(file), &joined)) {
        Problem(file, "cannot be read");
        return;
    }

    // The records that lie inside the file, in file order.
    struct Span
    {
        uint64_t begin, end;
        const CLCmdIndex* pIdx;
    };
    std::vector<Span> spans;
    for (const CLCmdIndex& idx : m_entries) {
        if (!HasRecord(idx)) {
            CheckBuilt(idx, joined);
            continue;
        }
        uint64_t end = uint64_t(idx.dwPos) + idx.dwLength;
        if (end > joined.size()) {
            Problem(file, Quoted(FieldText(idx.szName)) + ": the record at " +
                              std::to_string(idx.dwPos) + " (" + std::to_string(idx.dwLength) +
                              " bytes) runs past the end (" + std::to_string(joined.size()) +
                              " bytes)");
            // The bytes it does reach are its own, not uncovered ones.
            if (idx.dwPos < joined.size())
                spans.push_back({idx.dwPos, joined.size(), &idx});
            continue;
        }
        spans.push_back({idx.dwPos, end, &idx});
        if (CheckJoinedRecord(idx))
            CheckBuilt(idx, joined);
    }
    std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
    });

    uint64_t covered = 0;
    const CLCmdIndex* pLast = nullptr; // the entry whose record reaches furthest
    auto gap = [&](uint64_t from, uint64_t to) {
        Problem(file, "bytes " + std::to_string(from) + " to " + std::to_string(to - 1) + " (" +
                          std::to_string(to - from) + ") belong to no entry");
    };
    for (const Span& s : spans) {
        if (s.begin > covered)
            gap(covered, s.begin);
        else if (s.begin < covered && pLast)
            Problem(file, Quoted(FieldText(s.pIdx->szName)) + ": the record at " +
                              std::to_string(s.begin) + " overlaps the record of " +
                              Quoted(FieldText(pLast->szName)));
        if (s.end > covered) {
            covered = s.end;
            pLast = s.pIdx;
        }
    }
    if (joined.size() > covered)
        gap(covered, joined.size());
}

bool CLDataChecker::CheckJoinedRecord(const CLCmdIndex& idx)
{
    const std::string where =
        Quoted(FieldText(idx.szName)) + ": the record at " + std::to_string(idx.dwPos);
    CLCmdManager manager;
    auto pRec = std::make_unique<CLCmdRecord>();
    CLCmdManager::InitCmdRecord(nullptr, pRec.get());
    CLCmdManager::ReadInfo info;
    bool ok =
        manager.ReadCmdRecordFrom(AppFile("clcmd.dat"), idx.dwPos, idx.dwLength, pRec.get(), &info);
    CLCmdManager::FreeCmdRecord(pRec.release());
    if (!ok)
        Problem("clcmd.dat", where + " cannot be read: " + info.sWhy);
    else if (info.nLeft > 0)
        Problem("clcmd.dat", where + " leaves " + std::to_string(info.nLeft) + " of its " +
                                 std::to_string(idx.dwLength) + " bytes unread");
    return ok && info.nLeft == 0;
}

bool CLDataChecker::ReadRecordFile(const std::string& path, std::string* pName,
                                   CLCmdManager::ReadInfo* pInfo, std::string* pPartial)
{
    CLCmdManager manager;
    auto pRec = std::make_unique<CLCmdRecord>();
    CLCmdManager::InitCmdRecord(nullptr, pRec.get());
    bool ok = manager.ReadCmdRecordFrom(path, 0, CLCmdManager::kWholeFile, pRec.get(), pInfo);
    *pName = FieldText(pRec->szName);
    if (pPartial)
        *pPartial = ok ? CLPartial::Disagreement(pRec.get()) : std::string();
    CLCmdManager::FreeCmdRecord(pRec.release());
    m_sound[path] = ok && pInfo->nLeft == 0;
    return ok;
}

// Compares the entry's part of clcmd.dat with data/NAME.dat, which build joins.
void CLDataChecker::CheckBuilt(const CLCmdIndex& idx, const std::string& joined)
{
    const std::string name = FieldText(idx.szName);
    if (!CLCmdManager::IsSafeFileName(idx.szName))
        return;
    const std::string source = "data/" + CLCmdManager::RecordFileName(name);
    const std::string path = CLCmdManager::GetDataFolder() + CLCmdManager::RecordFileName(name);
    std::string bytes;
    if (!Exists(path)) {
        // A missing entry file is reported already; another file would have given no record.
        if (HasRecord(idx) && FieldText(idx.szFileName) != CLCmdManager::RecordFileName(name))
            Problem("clcmd.dat",
                    Quoted(name) + ": has a record, but " + source + " is missing (stale build)");
        return;
    }
    // A source that is itself broken, or that holds another command's record
    // (which build does not join), is reported with the entry's file.
    auto known = m_sound.find(path);
    if (known == m_sound.end()) {
        std::string recName;
        CLCmdManager::ReadInfo info;
        ReadRecordFile(path, &recName, &info);
        known = m_sound.find(path);
    }
    std::string recName;
    if (!known->second || !CxFile::ReadWholeFile(path, &bytes) ||
        !CLCmdManager::RecordNameOf(bytes, &recName) || recName != name)
        return;
    std::string_view inJoined;
    if (HasRecord(idx))
        inJoined = std::string_view(joined).substr(idx.dwPos, idx.dwLength);
    if (inJoined != bytes)
        Problem("clcmd.dat", Quoted(name) + ": " +
                                 (HasRecord(idx) ? "the record differs from " + source
                                                 : "no record, but " + source + " has one") +
                                 " (stale build)");
}

void CLDataChecker::CheckLeftovers()
{
    const char* const kTargets[] = {"clcat.dat", "cldict.dat", "clcmd.dat", "clcmd.commit"};
    std::error_code ec;
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(GetAppPath(), ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string target;
        if (CxFile::IsOrphanedTemp(name, &target) &&
            std::find(std::begin(kTargets), std::end(kTargets), target) != std::end(kTargets))
            Problem(name, "left by a writer that was stopped; the next writer removes it");
    }

    // data/: temporaries, and files that no entry reads and build does not join.
    std::unordered_set<std::string> named;
    for (const CLCmdIndex& idx : m_entries) {
        named.insert(FieldText(idx.szFileName));
        named.insert(CLCmdManager::RecordFileName(FieldText(idx.szName)));
    }
    names.clear();
    for (const fs::directory_entry& e : fs::directory_iterator(CLCmdManager::GetDataFolder(), ec))
        if (e.is_regular_file(ec))
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string target;
        if (CxFile::ParseTempName(name, &target, nullptr)) {
            if (CxFile::IsOrphanedTemp(name))
                Problem("data/" + Printable(name),
                        "left by a writer that was stopped; the next writer removes it");
        } else if (m_bIndexRead && !named.count(name)) {
            m_notes.push_back("data/" + Printable(name) +
                              ": note: no index entry names this file (a stray record; build "
                              "ignores it)");
        }
    }
}
