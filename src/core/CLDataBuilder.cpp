// BuildDataFile: joins the per-command files into clcmd.dat.
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"
#include "WinUtil.h"

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
long long AppendFile(const std::string& path, CxFile& out, std::vector<char>& buf)
{
    CxFile in;
    if (!in.Open(path.c_str(), "rb"))
        return 0;
    long long nCopied = 0;
    while (uint64_t nLeft = in.Remaining()) {
        int n = static_cast<int>(nLeft < buf.size() ? nLeft : buf.size());
        if (!in.Read(buf.data(), n) || !out.Write(buf.data(), n))
            return -1;
        nCopied += n;
    }
    return nCopied;
}

} // namespace

bool CLFileAnalyzer::BuildDataFile()
{
    CX_ASSERT(m_pCmdManager != nullptr);
    m_sError.clear();
    const std::string sDataFile = m_pCmdManager->GetCmdDataFileName();
    const std::string sFolder = CLCmdManager::GetDataFolder();
    CxFile& out = *m_pFile;
    if (!out.OpenReplace(sDataFile.c_str())) {
        m_sError = "The file \"" + sDataFile + "\" cannot be written.";
        return false;
    }

    // Join into a temporary file; the entries change only once it is complete.
    std::vector<Placement> placements;
    std::vector<char> buf(kTransferSize);
    uint64_t nOffset = 0;
    for (CLCmdIndex* p = m_pCmdManager->GetFirstCmdIdx(); p; p = m_pCmdManager->GetNextCmdIdx()) {
        Placement place{p, kNoRecordPos, 0};
        if (CLCmdManager::IsSafeFileName(p->szName)) {
            std::string path = sFolder + FieldText(p->szName) + ".dat";
            long long n = AppendFile(path, out, buf);
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

    // The index goes first: if it cannot be written, the old clcmd.dat stays
    // and matches the old index.
    std::vector<Placement> old;
    old.reserve(placements.size());
    for (Placement& place : placements) {
        old.push_back({place.pIdx, place.pIdx->dwPos, place.pIdx->dwLength});
        place.pIdx->dwPos = place.dwPos;
        place.pIdx->dwLength = place.dwLength;
    }
    auto restore = [&old] {
        for (const Placement& place : old) {
            place.pIdx->dwPos = place.dwPos;
            place.pIdx->dwLength = place.dwLength;
        }
    };
    if (!m_pCmdManager->SaveCmdIdxList()) {
        out.Close();
        restore();
        m_sError = "The file \"" + m_pCmdManager->GetCmdIdxFileName() + "\" cannot be written.";
        return false;
    }
    if (!out.Commit()) {
        restore();
        m_pCmdManager->SaveCmdIdxList();
        m_sError = "The file \"" + sDataFile + "\" cannot be written.";
        return false;
    }
    return true;
}
