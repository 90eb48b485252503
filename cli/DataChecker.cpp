#include "DataChecker.h"

#include "CLCmdManager.h"
#include "CLMessage.h"
#include "CLRecordUtil.h"
#include "CliContext.h"
#include "DataFileScanner.h"
#include "WinUtil.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kFormatVersion = 10000;

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

} // namespace

void DataChecker::Problem(const std::string& file, const std::string& what)
{
    std::string line = file + ": " + what;
    if (m_seen.insert(line).second)
        m_problems.push_back(line);
}

std::vector<std::string> DataChecker::Run()
{
    m_problems.clear();
    m_seen.clear();
    CheckCategories();
    CheckIndex();
    if (m_bIndexRead) {
        for (const CLCmdIndex& idx : m_entries)
            CheckRecordFile(idx);
        CheckJoinedFile();
    }
    return m_problems;
}

bool DataChecker::ReadListFile(const std::string& file, const char* szMagic, std::string* pBytes,
                               uint32_t* pnCount, size_t* pnAfterHeader)
{
    if (!Exists(AppFile(file))) {
        Problem(file, "missing");
        return false;
    }
    if (!CliContext::ReadFile(AppFile(file), pBytes)) {
        Problem(file, "cannot be read");
        return false;
    }
    DataFileScanner scan(*pBytes);
    std::string magic;
    uint32_t version = 0;
    if (scan.String(32, &magic) != DataFileScanner::Result::Ok || magic != szMagic ||
        !scan.Dword(&version) || version != kFormatVersion) {
        Problem(file, std::string("wrong header (not ") + szMagic + " version " +
                          std::to_string(kFormatVersion) + ")");
        return false;
    }
    if (!scan.Dword(pnCount)) {
        Problem(file, "cut short before the count");
        return false;
    }
    *pnAfterHeader = scan.Offset();
    return true;
}

void DataChecker::CheckCategories()
{
    const std::string file = "clcat.dat";
    std::string bytes;
    uint32_t nCount = 0;
    size_t nStart = 0;
    if (!ReadListFile(file, "CLCAT", &bytes, &nCount, &nStart))
        return;
    m_bCatsRead = true;
    DataFileScanner scan(bytes, nStart, bytes.size());
    bool bWhole = true;
    for (uint32_t i = 1; i <= nCount; ++i) {
        const std::string where = "category " + std::to_string(i) + ": ";
        CLCategory cat{};
        std::string name, fileName;
        if (!scan.Dword(&cat.dwID)) {
            Problem(file,
                    "cut short in category " + std::to_string(i) + " of " + std::to_string(nCount));
            bWhole = false;
            break;
        }
        DataFileScanner::Result rName = scan.String(sizeof(cat.szName), &name);
        DataFileScanner::Result rFile = rName == DataFileScanner::Result::CutShort
                                            ? rName
                                            : scan.String(sizeof(cat.szFileName), &fileName);
        if (rName == DataFileScanner::Result::CutShort ||
            rFile == DataFileScanner::Result::CutShort) {
            Problem(file,
                    "cut short in category " + std::to_string(i) + " of " + std::to_string(nCount));
            bWhole = false;
            break;
        }
        if (rName == DataFileScanner::Result::TooLong)
            Problem(file, where + "the name is longer than 79 bytes");
        if (rFile == DataFileScanner::Result::TooLong)
            Problem(file, where + "the file name is longer than 15 bytes");
        if (cat.dwID == 0)
            Problem(file, where + "id 0 is not a category id");
        CopyField(cat.szName, name);
        CopyField(cat.szFileName, fileName);
        m_cats.push_back(cat);
    }
    if (bWhole && scan.Remaining() > 0)
        Problem(file, std::to_string(scan.Remaining()) + " bytes after the last category");

    // Duplicate ids and empty names, as the data layer sees them.
    CLCmdManager manager;
    for (size_t i = 0; i < m_cats.size(); ++i)
        for (const std::string& text : CollectMessages([&] { manager.AddCat(&m_cats[i]); }))
            Problem(file, "category " + std::to_string(i + 1) + ": " + text);
}

void DataChecker::CheckIndex()
{
    const std::string file = "cldict.dat";
    std::string bytes;
    uint32_t nCount = 0;
    size_t nStart = 0;
    if (!ReadListFile(file, "CLDICT", &bytes, &nCount, &nStart))
        return;
    m_bIndexRead = true;
    DataFileScanner scan(bytes, nStart, bytes.size());
    bool bWhole = true;
    for (uint32_t i = 1; i <= nCount; ++i) {
        CLCmdIndex idx{};
        std::string name, fileName;
        DataFileScanner::Result rName = scan.String(sizeof(idx.szName), &name);
        DataFileScanner::Result rFile = rName == DataFileScanner::Result::CutShort
                                            ? rName
                                            : scan.String(sizeof(idx.szFileName), &fileName);
        if (rName == DataFileScanner::Result::CutShort ||
            rFile == DataFileScanner::Result::CutShort || !scan.Dword(&idx.dwPos) ||
            !scan.Dword(&idx.dwLength) || !scan.Dword(&idx.dwCatID) ||
            !scan.Dword(&idx.dwReserved1) || !scan.Dword(&idx.dwReserved2)) {
            Problem(file,
                    "cut short in entry " + std::to_string(i) + " of " + std::to_string(nCount));
            bWhole = false;
            break;
        }
        const std::string where = "entry " + std::to_string(i) + " " + Quoted(name) + ": ";
        if (rName == DataFileScanner::Result::TooLong)
            Problem(file, where + "the name is longer than 10 bytes");
        if (rFile == DataFileScanner::Result::TooLong)
            Problem(file, where + "the file name is longer than 20 bytes");
        CopyField(idx.szName, name);
        CopyField(idx.szFileName, fileName);
        m_entries.push_back(idx);
    }
    if (bWhole && scan.Remaining() > 0)
        Problem(file, std::to_string(scan.Remaining()) + " bytes after the last entry");

    // Duplicate and empty names, as the data layer sees them; the entries it
    // drops are left out of the checks that follow.
    CLCmdManager manager;
    std::vector<CLCmdIndex> kept;
    std::set<const CLCmdIndex*> stored;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        CLCmdIndex* pStored = nullptr;
        for (const std::string& text :
             CollectMessages([&] { pStored = manager.AddCmdIdx(&m_entries[i]); }))
            Problem(file, "entry " + std::to_string(i + 1) + ": " + text);
        if (pStored && stored.insert(pStored).second)
            kept.push_back(m_entries[i]); // a new entry, not the one a duplicate ran into
    }
    m_entries = std::move(kept);

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

void DataChecker::CheckRecordFile(const CLCmdIndex& idx)
{
    if (!CLCmdManager::IsSafeFileName(idx.szFileName))
        return; // reported with the index
    const std::string file = "data/" + FieldText(idx.szFileName);
    const std::string path = CLCmdManager::GetDataFolder() + FieldText(idx.szFileName);
    std::string bytes;
    if (!Exists(path)) {
        Problem(file, "missing");
        return;
    }
    if (!CliContext::ReadFile(path, &bytes)) {
        Problem(file, "cannot be read");
        return;
    }
    DataFileScanner scan(bytes);
    std::string name, reason;
    if (!scan.Record(&name, &reason)) {
        Problem(file, "cannot be read whole: " + reason);
        return;
    }
    if (scan.Remaining() > 0)
        Problem(file, std::to_string(scan.Remaining()) + " bytes after the record");
    if (name != FieldText(idx.szName))
        Problem(file, "the record's name " + Quoted(name) + " differs from the entry's " +
                          Quoted(FieldText(idx.szName)));
}

void DataChecker::CheckJoinedFile()
{
    const std::string file = "clcmd.dat";
    std::string joined;
    if (!Exists(AppFile(file))) {
        Problem(file, "missing");
        return;
    }
    if (!CliContext::ReadFile(AppFile(file), &joined)) {
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
        CheckJoinedRecord(idx, joined);
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

void DataChecker::CheckJoinedRecord(const CLCmdIndex& idx, const std::string& joined)
{
    const std::string where =
        Quoted(FieldText(idx.szName)) + ": the record at " + std::to_string(idx.dwPos);
    DataFileScanner scan(joined, idx.dwPos, size_t(idx.dwPos) + idx.dwLength);
    std::string name, reason;
    if (!scan.Record(&name, &reason)) {
        Problem("clcmd.dat", where + " cannot be read: " + reason);
        return;
    }
    if (scan.Remaining() > 0) {
        Problem("clcmd.dat", where + " leaves " + std::to_string(scan.Remaining()) + " of its " +
                                 std::to_string(idx.dwLength) + " bytes unread");
        return;
    }
    CheckBuilt(idx, joined);
}

// Compares the entry's part of clcmd.dat with data/NAME.dat, which build joins.
void DataChecker::CheckBuilt(const CLCmdIndex& idx, const std::string& joined)
{
    const std::string name = FieldText(idx.szName);
    if (!CLCmdManager::IsSafeFileName(idx.szName))
        return;
    const std::string source = "data/" + name + ".dat";
    const std::string path = CLCmdManager::GetDataFolder() + name + ".dat";
    std::string bytes;
    if (!Exists(path)) {
        // A missing entry file is reported already; another file would have given no record.
        if (HasRecord(idx) && FieldText(idx.szFileName) != name + ".dat")
            Problem("clcmd.dat",
                    Quoted(name) + ": has a record, but " + source + " is missing (stale build)");
        return;
    }
    // A source that is itself broken is reported with the entry's file; comparing
    // with it would only repeat that.
    if (!CliContext::ReadFile(path, &bytes))
        return;
    DataFileScanner scan(bytes);
    std::string recName, reason;
    if (!scan.Record(&recName, &reason) || scan.Remaining() > 0)
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
