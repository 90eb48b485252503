// Command records: their life cycle and their byte format, the same in a
// per-command file and inside the joined file:
//   name, description, environment (strings), reserved byte,
//   parameter count + parameters (4 strings each),
//   error count + errors (2 strings each),
//   detail, reserved text, examples (strings).
#include "CLCmdManager.h"
#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "CxAssert.h"
#include "CxFile.h"
#include "CxFileBatch.h"
#include "WinUtil.h"

#include <cstring>
#include <new>

namespace {

// Lends a file object to the manager's field readers for one record and puts
// the manager's own object back afterwards.
class FileSwap
{
public:
    FileSwap(CxFile*& slot, CxFile* pTemp) : m_slot(slot), m_pOld(slot) { m_slot = pTemp; }
    ~FileSwap() { m_slot = m_pOld; }

private:
    CxFile*& m_slot;
    CxFile* m_pOld;
};

} // namespace

bool CLCmdManager::InitCmdRecord(CLCmdIndex* pIdx, CLCmdRecord* pRec)
{
    if (!pRec)
        return false;
    std::memset(pRec, 0, sizeof(CLCmdRecord));
    pRec->pIdx = pIdx;
    return true;
}

// Releases what a record owns and zero-fills it, keeping its entry.
void CLCmdManager::ClearRecord(CLCmdRecord* pRec)
{
    delete[] pRec->pParams;
    delete[] pRec->pErrors;
    delete[] pRec->pszDetail;
    delete[] pRec->pszReserved;
    delete[] pRec->pszExample;
    InitCmdRecord(pRec->pIdx, pRec);
}

bool CLCmdManager::FreeCmdRecord(CLCmdRecord* pRec)
{
    if (!pRec)
        return false;
    ClearRecord(pRec);
    delete pRec;
    return true;
}

CLCmdRecord* CLCmdManager::AttachCmdRecord(CLCmdIndex* pIdx, bool* pbLoaded, bool* pbRead)
{
    CX_ASSERT(pIdx != nullptr);
    if (pbLoaded)
        *pbLoaded = false;
    if (pbRead)
        *pbRead = true;
    if (pIdx->pRec)
        return pIdx->pRec;
    CLCmdRecord* pRec = new CLCmdRecord;
    InitCmdRecord(pIdx, pRec);
    pIdx->pRec = pRec;
    bool bRead = ReadCmdRecord(pRec);
    if (pbLoaded)
        *pbLoaded = true;
    if (pbRead)
        *pbRead = bRead;
    return pRec;
}

void CLCmdManager::DetachCmdRecord(CLCmdIndex* pIdx)
{
    if (!pIdx)
        return;
    FreeCmdRecord(pIdx->pRec);
    pIdx->pRec = nullptr;
}

// --- paths ----------------------------------------------------------------------

std::string CLCmdManager::GetDataFolder()
{
    return AppFile("data/");
}

std::string CLCmdManager::RecordFileName(const std::string& name)
{
    return name + ".dat";
}

CLCmdIndex CLCmdManager::MakeCmdIdx(const std::string& name, uint32_t dwCatID, uint32_t dwPos)
{
    CLCmdIndex idx{};
    CopyField(idx.szName, name);
    CopyField(idx.szFileName, RecordFileName(FieldText(idx.szName)));
    idx.dwPos = dwPos;
    idx.dwCatID = dwCatID;
    return idx;
}

std::string CLCmdManager::GetCmdRecordFileName(const CLCmdIndex* pIdx) const
{
    CX_ASSERT(pIdx != nullptr);
    return GetDataFolder() + FieldText(pIdx->szFileName);
}

std::string CLCmdManager::GetCmdDataFileName() const
{
    return AppFile("clcmd.dat");
}

bool CLCmdManager::IsSafeFileName(const char* szName)
{
    if (!szName || !*szName || std::strcmp(szName, ".") == 0 || std::strcmp(szName, "..") == 0)
        return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(szName); *p; ++p) {
        if (*p < 0x20 || *p == 0x7F || *p == '/' || *p == '\\')
            return false;
#ifdef _WIN32
        if (*p == ':')
            return false;
#endif
    }
    return true;
}

// --- reading ----------------------------------------------------------------------

bool CLCmdManager::RecordNameOf(std::string_view bytes, std::string* pName)
{
    if (bytes.size() < 4)
        return false;
    const uint32_t n = CxLoadLE32(bytes.data());
    if (n > CLFormat::kCmdName || 4 + uint64_t(n) > bytes.size())
        return false;
    pName->assign(bytes.data() + 4, n);
    return true;
}

bool CLCmdManager::HasStoredRecord(const CLCmdIndex* pIdx) const
{
    CX_ASSERT(pIdx != nullptr);
    if (ReadsRecordFiles())
        return IsSafeFileName(pIdx->szFileName) &&
               CxFile::FileSize(GetCmdRecordFileName(pIdx).c_str()) > 0;
    return pIdx->dwLength != 0 && pIdx->dwPos != kNoRecordPos;
}

bool CLCmdManager::ReadCmdRecord(CLCmdRecord* pRec)
{
    CX_ASSERT(pRec != nullptr);
    CX_ASSERT(pRec->pIdx != nullptr);
    ClearRecord(pRec); // a no-op on a fresh record; never leaks a filled one
    const CLCmdIndex* pIdx = pRec->pIdx;
    if (ReadsRecordFiles())
        return IsSafeFileName(pIdx->szFileName) &&
               ReadCmdRecordFrom(GetCmdRecordFileName(pIdx), 0, kWholeFile, pRec);
    if (pIdx->dwLength == 0 || pIdx->dwPos == kNoRecordPos)
        return false;
    return ReadJoinedRecord(pIdx->dwPos, pIdx->dwLength, pRec);
}

bool CLCmdManager::ReadCmdRecordFrom(const std::string& path, uint64_t nPos, uint64_t nLen,
                                     CLCmdRecord* pRec, ReadInfo* pInfo)
{
    CX_ASSERT(pRec != nullptr);
    CxFile file;
    if (!file.Open(path.c_str(), "rb")) {
        ClearRecord(pRec);
        if (pInfo)
            pInfo->sWhy = "cannot be opened";
        return false;
    }
    return ReadRecordAt(&file, nPos, nLen, pRec, pInfo);
}

bool CLCmdManager::ReadJoinedRecord(uint64_t nPos, uint64_t nLen, CLCmdRecord* pRec)
{
    // The joined file stays open between records: a site of thousands of
    // pages reads them all through one open file.
    if (!m_pJoined) {
        m_pJoined = new CxFile;
        if (!m_pJoined->Open(GetCmdDataFileName().c_str(), "rb")) {
            delete m_pJoined;
            m_pJoined = nullptr;
            ClearRecord(pRec);
            return false;
        }
    }
    return ReadRecordAt(m_pJoined, nPos, nLen, pRec, nullptr);
}

void CLCmdManager::CloseJoinedFile()
{
    delete m_pJoined;
    m_pJoined = nullptr;
}

bool CLCmdManager::ReadRecordAt(CxFile* pFile, uint64_t nPos, uint64_t nLen, CLCmdRecord* pRec,
                                ReadInfo* pInfo)
{
    ClearRecord(pRec);
    std::string why;
    if (nLen != kWholeFile) {
        // The record must lie inside the file; reading stops at its end.
        uint64_t nSize = pFile->Size();
        if (nPos + nLen > nSize)
            why = "the record at " + std::to_string(nPos) + " (" + std::to_string(nLen) +
                  " bytes) runs past the end of the file (" + std::to_string(nSize) + " bytes)";
        else if (pFile->Seek(static_cast<long>(nPos), SEEK_SET) != 0)
            why = "cannot be read at " + std::to_string(nPos);
        else
            pFile->SetReadLimit(nPos + nLen);
    }
    if (why.empty()) {
        FileSwap swap(m_pFile, pFile);
        m_bLongTextNul = false;
        uint32_t nNuls = pFile->NulStrings();
        if (ReadRecordFields(pRec)) {
            if (pInfo) {
                pInfo->nLeft = pFile->Remaining();
                pInfo->bNul = m_bLongTextNul || pFile->NulStrings() != nNuls;
            }
            return true;
        }
        why = m_sReadWhy;
    }
    if (pInfo)
        pInfo->sWhy = why;
    ClearRecord(pRec);
    return false;
}

// Notes which part of the record failed and why; returns false.
bool CLCmdManager::FieldFailed(const std::string& what)
{
    m_sReadWhy = what + ": " + m_pFile->ReadError();
    return false;
}

bool CLCmdManager::ReadRecordFields(CLCmdRecord* pRec)
{
    if (!m_pFile->ReadString(pRec->szName))
        return FieldFailed("the name");
    if (!m_pFile->ReadString(pRec->szDesc))
        return FieldFailed("the description");
    if (!m_pFile->ReadString(pRec->szEnv))
        return FieldFailed("the environment");
    if (!m_pFile->ReadByte(&pRec->bReserved))
        return FieldFailed("the reserved byte");
    if (!m_pFile->ReadDWORD(&pRec->dwParamCount))
        return FieldFailed("the parameter count");
    // A count that cannot fit in the rest of the file is refused before allocating.
    if (pRec->dwParamCount > m_pFile->Remaining() / CLFormat::kMinParamBytes) {
        m_sReadWhy =
            "the parameter count " + std::to_string(pRec->dwParamCount) + " runs past the end";
        pRec->dwParamCount = 0;
        return false;
    }
    if (pRec->dwParamCount && !ReadParams(pRec))
        return false;
    if (!m_pFile->ReadDWORD(&pRec->dwErrorCount))
        return FieldFailed("the error message count");
    if (pRec->dwErrorCount > m_pFile->Remaining() / CLFormat::kMinErrorBytes) {
        m_sReadWhy =
            "the error message count " + std::to_string(pRec->dwErrorCount) + " runs past the end";
        pRec->dwErrorCount = 0;
        return false;
    }
    if (pRec->dwErrorCount && !ReadErrors(pRec))
        return false;
    return ReadLongText(&pRec->pszDetail, "the detail") &&
           ReadLongText(&pRec->pszReserved, "the reserved text") &&
           ReadLongText(&pRec->pszExample, "the examples");
}

bool CLCmdManager::ReadLongText(char** ppsz, const char* szWhat)
{
    uint32_t dwLen = 0;
    if (!m_pFile->ReadDWORD(&dwLen))
        return FieldFailed(szWhat);
    if (dwLen == 0)
        return true;
    if (dwLen > CLFormat::kLongText) {
        m_sReadWhy = std::string(szWhat) + ": " + std::to_string(dwLen) +
                     " bytes, longer than a long text holds (" +
                     std::to_string(CLFormat::kLongText) + ")";
        return false;
    }
    if (dwLen > m_pFile->Remaining()) {
        m_sReadWhy = std::string(szWhat) + ": cut short: " + std::to_string(dwLen) + " bytes, " +
                     std::to_string(m_pFile->Remaining()) + " left";
        return false;
    }
    char* p = new char[dwLen + 1];
    if (!m_pFile->Read(p, static_cast<int>(dwLen))) {
        delete[] p;
        return FieldFailed(szWhat);
    }
    p[dwLen] = 0;
    m_bLongTextNul = m_bLongTextNul || std::memchr(p, 0, dwLen) != nullptr;
    // A text with an embedded zero byte keeps what precedes it; null when empty.
    if (p[0] == 0) {
        delete[] p;
        return true;
    }
    *ppsz = p;
    return true;
}

bool CLCmdManager::ReadParams(CLCmdRecord* pRec)
{
    CX_ASSERT(pRec != nullptr);
    pRec->pParams = new CLCmdParam[pRec->dwParamCount]();
    for (uint32_t i = 0; i < pRec->dwParamCount; ++i)
        if (!ReadParam(&pRec->pParams[i]))
            return FieldFailed("parameter " + std::to_string(i + 1));
    return true;
}

bool CLCmdManager::ReadErrors(CLCmdRecord* pRec)
{
    CX_ASSERT(pRec != nullptr);
    pRec->pErrors = new CLCmdError[pRec->dwErrorCount]();
    for (uint32_t i = 0; i < pRec->dwErrorCount; ++i)
        if (!ReadError(&pRec->pErrors[i]))
            return FieldFailed("error message " + std::to_string(i + 1));
    return true;
}

bool CLCmdManager::ReadParam(CLCmdParam* pParam)
{
    CX_ASSERT(pParam != nullptr);
    return m_pFile->ReadString(pParam->szKeyword) && m_pFile->ReadString(pParam->szDesc) &&
           m_pFile->ReadString(pParam->szChoices) && m_pFile->ReadString(pParam->szNote);
}

bool CLCmdManager::ReadError(CLCmdError* pError)
{
    CX_ASSERT(pError != nullptr);
    return m_pFile->ReadString(pError->szCode) && m_pFile->ReadString(pError->szText);
}

// --- writing ----------------------------------------------------------------------

bool CLCmdManager::SaveCmdRecord(CLCmdRecord* pRec, CxFileBatch* pBatch)
{
    CX_ASSERT(pRec != nullptr);
    CX_ASSERT(pRec->pIdx != nullptr);
    // Never write what cannot be read back.
    for (const char* psz : {pRec->pszDetail, pRec->pszReserved, pRec->pszExample})
        if (psz && std::strlen(psz) > CLFormat::kLongText)
            return false;
    if (!IsSafeFileName(pRec->pIdx->szFileName))
        return false;
    CxFile file;
    const std::string path = GetCmdRecordFileName(pRec->pIdx);
    if (pBatch ? !pBatch->OpenReplace(&file, path) : !file.OpenReplace(path.c_str()))
        return false;
    FileSwap swap(m_pFile, &file);
    if (!WriteRecordFields(pRec))
        return false; // the temporary file is discarded; the old file stays
    return pBatch ? pBatch->Finish(&file) : file.Commit();
}

bool CLCmdManager::WriteRecordFields(const CLCmdRecord* pRec)
{
    return WriteField(pRec->szName) && WriteField(pRec->szDesc) && WriteField(pRec->szEnv) &&
           m_pFile->WriteByte(pRec->bReserved) && m_pFile->WriteDWORD(pRec->dwParamCount) &&
           WriteParams(pRec) && m_pFile->WriteDWORD(pRec->dwErrorCount) && WriteErrors(pRec) &&
           m_pFile->WriteString(pRec->pszDetail) && m_pFile->WriteString(pRec->pszReserved) &&
           m_pFile->WriteString(pRec->pszExample);
}

bool CLCmdManager::WriteParams(const CLCmdRecord* pRec)
{
    CX_ASSERT(pRec != nullptr);
    for (uint32_t i = 0; i < pRec->dwParamCount; ++i)
        if (!WriteParam(&pRec->pParams[i]))
            return false;
    return true;
}

bool CLCmdManager::WriteErrors(const CLCmdRecord* pRec)
{
    CX_ASSERT(pRec != nullptr);
    for (uint32_t i = 0; i < pRec->dwErrorCount; ++i)
        if (!WriteError(&pRec->pErrors[i]))
            return false;
    return true;
}

bool CLCmdManager::WriteParam(const CLCmdParam* pParam)
{
    CX_ASSERT(pParam != nullptr);
    return WriteField(pParam->szKeyword) && WriteField(pParam->szDesc) &&
           WriteField(pParam->szChoices) && WriteField(pParam->szNote);
}

bool CLCmdManager::WriteError(const CLCmdError* pError)
{
    CX_ASSERT(pError != nullptr);
    return WriteField(pError->szCode) && WriteField(pError->szText);
}
