// BuildDataFile: joins the per-command files into clcmd.dat and rewrites the
// index with each record's position and length. Both files are written whole
// to temporaries and put in place together (CLBuildCommit).
#include "CLBuildCommit.h"
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"
#include "WinUtil.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr size_t kTransferSize = 32768;

struct Placement
{
    CLCmdIndex* pIdx;
    uint32_t dwPos;
    uint32_t dwLength;
};

// Appends the whole file at path to out, in pieces; the number of bytes
// copied, 0 for a missing or empty file, -1 when reading or writing failed.
// A file whose record names another command than szName is not joined
// (-2): its record belongs to that command.
long long AppendFile(const std::string& path, const char* szName, CxFile& out,
                     std::vector<char>& buf)
{
    CxFile in;
    if (!in.Open(path.c_str(), "rb"))
        return 0;
    in.SetUnbuffered(); // read in whole pieces straight into buf
    long long nCopied = 0;
    while (uint64_t nLeft = in.Remaining()) {
        int n = static_cast<int>(nLeft < buf.size() ? nLeft : buf.size());
        if (!in.Read(buf.data(), n))
            return -1;
        std::string name;
        if (nCopied == 0 &&
            CLCmdManager::RecordNameOf(std::string_view(buf.data(), static_cast<size_t>(n)), &name) &&
            name != szName)
            return -2;
        if (!out.Write(buf.data(), n))
            return -1;
        nCopied += n;
    }
    return nCopied;
}

} // namespace

// A build joins what data/ holds. A command whose record clcmd.dat holds but
// whose file is gone would lose that record, and a folder shipped for reading
// holds clcmd.dat alone: so the build refuses unless told to drop them.
bool CLFileAnalyzer::CheckSources(const std::string& sFolder)
{
    m_missing.clear();
    std::error_code ec;
    const bool bFolder = std::filesystem::is_directory(sFolder, ec);
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx()) {
        if (p->dwLength == 0 || p->dwPos == kNoRecordPos || !CLCmdManager::IsSafeFileName(p->szName))
            continue;
        if (!bFolder ||
            CxFile::FileSize((sFolder + CLCmdManager::RecordFileName(p->szName)).c_str()) <= 0)
            m_missing.push_back(FieldText(p->szName));
    }
    if (m_bDropMissing || (bFolder && m_missing.empty()))
        return true;
    if (!bFolder && m_missing.empty()) {
        m_sError = "The folder \"" + sFolder + "\" is missing; nothing was built.";
        return false;
    }
    std::string names;
    const size_t nShown = std::min<size_t>(m_missing.size(), 5);
    for (size_t i = 0; i < nShown; ++i)
        names += (i ? ", " : "") + Printable(m_missing[i]);
    if (m_missing.size() > nShown)
        names += " and " + std::to_string(m_missing.size() - nShown) + " more";
    const std::string count = std::to_string(m_missing.size()) +
                              (m_missing.size() == 1 ? " command has" : " commands have");
    m_sError = (bFolder ? "" : "The folder \"" + sFolder + "\" is missing: ") + count +
               " a record in \"" + m_pCmdManager->GetCmdDataFileName() + "\" but no file in \"" +
               sFolder + "\" (" + names + "); nothing was built, so no record is lost.";
    return false;
}

bool CLFileAnalyzer::BuildDataFile()
{
    CX_ASSERT(m_pCmdManager != nullptr);
    m_sError.clear();
    m_warnings.clear();
    const std::string sDataFile = m_pCmdManager->GetCmdDataFileName();
    const std::string sFolder = CLCmdManager::GetDataFolder();
    if (m_pCmdManager->IsCmdIdxFileChanged()) {
        m_sError = "The file \"" + m_pCmdManager->GetCmdIdxFileName() +
                   "\" was changed by another program since it was loaded; nothing was built.";
        return false;
    }
    if (!CheckSources(sFolder))
        return false;
    CxFile out;
    if (!out.OpenReplace(sDataFile.c_str())) {
        m_sError = "The file \"" + sDataFile + "\" cannot be written.";
        return false;
    }

    // Join into a temporary file; the entries change only once both files are in place.
    std::vector<Placement> placements;
    std::vector<char> buf(kTransferSize);
    uint64_t nOffset = 0;
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx()) {
        Placement place{p, kNoRecordPos, 0};
        if (CLCmdManager::IsSafeFileName(p->szName)) {
            const std::string file = CLCmdManager::RecordFileName(FieldText(p->szName));
            const std::string path = sFolder + file;
            long long n = AppendFile(path, p->szName, out, buf);
            if (n == -2) {
                m_warnings.push_back("data/" + Printable(file) +
                                     " holds the record of another command; it was not joined.");
                n = 0;
            }
            if (n < 0 || nOffset + static_cast<uint64_t>(n) > kNoRecordPos) {
                out.Close();
                m_sError =
                    n < 0 ? "The file \"" + path + "\" cannot be copied into \"" + sDataFile + "\"."
                          : "The file \"" + sDataFile + "\" would exceed 4 GB.";
                return false;
            }
            if (n > 0) {
                place.dwPos = static_cast<uint32_t>(nOffset);
                place.dwLength = static_cast<uint32_t>(n);
                nOffset += static_cast<uint64_t>(n);
            }
        }
        placements.push_back(place);
    }
    if (!out.Finish()) {
        m_sError = "The file \"" + sDataFile + "\" cannot be written.";
        return false;
    }
    const std::string joinedTemp = out.TempPath();

    // The index with the new positions, written beside cldict.dat.
    std::vector<Placement> old;
    old.reserve(placements.size());
    for (Placement& place : placements) {
        old.push_back({place.pIdx, place.pIdx->dwPos, place.pIdx->dwLength});
        place.pIdx->dwPos = place.dwPos;
        place.pIdx->dwLength = place.dwLength;
    }
    const std::string sIndexFile = m_pCmdManager->GetCmdIdxFileName();
    CxFile index;
    bool ok = index.OpenReplace(sIndexFile.c_str()) && m_pCmdManager->WriteCmdIdxFile(&index) &&
              index.Finish();
    if (ok)
        ok = CLBuildCommit::Commit(joinedTemp, index.TempPath(), &m_sError);
    else
        m_sError = "The file \"" + sIndexFile + "\" cannot be written.";
    if (!ok) {
        std::remove(joinedTemp.c_str());
        for (const Placement& place : old) {
            place.pIdx->dwPos = place.dwPos;
            place.pIdx->dwLength = place.dwLength;
        }
        return false;
    }
    m_pCmdManager->NoteCmdIdxFileSaved();
    return true;
}
