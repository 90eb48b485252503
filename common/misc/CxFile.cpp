#include "CxFile.h"

#include "CxAssert.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
// windows.h names its own ReplaceFile function by a macro.
#undef ReplaceFile
#else
#include <csignal>
#include <unistd.h>
#endif

namespace {

std::atomic<unsigned> g_nTempCounter{0};

std::string DirOf(const std::string& path)
{
    size_t n = path.find_last_of("/\\");
    return n == std::string::npos ? std::string(".") : path.substr(0, n + 1);
}

} // namespace

bool CxFile::ReadWholeFile(const std::string& path, std::string* pBytes)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    CxFile file;
    if (!file.OpenToMemory(path.c_str()))
        return false;
    pBytes->assign(file.Data(), file.Size());
    return true;
}

void (*CxFile::s_pSyncHook)(const std::string&) = nullptr;

void CxFile::SyncFolder(const std::string& folder)
{
    if (s_pSyncHook)
        s_pSyncHook(folder);
#ifndef _WIN32
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder;
#endif
}

bool CxFile::SyncFile(const std::string& path)
{
    if (s_pSyncHook)
        s_pSyncHook(path);
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool ok = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return ok;
#else
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#endif
}

bool CxFile::ReplaceFile(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    SyncFolder(DirOf(to));
    return true;
#endif
}

CxFile::CxFile() = default;

CxFile::~CxFile()
{
    Close();
}

bool CxFile::Open(const char* path, const char* mode)
{
    if (!path || !*path || !mode || !*mode)
        return false;
    Close();
    m_sReadError.clear();
    m_nNulStrings = 0;
    m_fp = std::fopen(path, mode);
    if (!m_fp)
        return false;
    m_nLimit = UINT64_MAX;
    m_nPos = std::strchr(mode, 'a') ? -1 : 0;
    struct stat st;
#ifdef _WIN32
    bool bStat = ::fstat(_fileno(m_fp), &st) == 0;
#else
    bool bStat = ::fstat(fileno(m_fp), &st) == 0;
#endif
    // A folder is not a file, although the C library may open one.
    if (bStat && (st.st_mode & S_IFMT) == S_IFDIR) {
        Close();
        return false;
    }
    m_nSize = UINT64_MAX;
    if (bStat && (st.st_mode & S_IFMT) == S_IFREG && std::strchr(mode, 'r'))
        m_nLimit = m_nSize = static_cast<uint64_t>(st.st_size);
    return true;
}

bool CxFile::OpenToMemory(const char* path)
{
    if (!Open(path, "rb"))
        return false;
    // A regular file is read straight into place, into memory not cleared
    // first; whatever it has grown by since it was measured follows in pieces.
    size_t nHave = 0, nRoom = 0;
    CxMemory::Block bytes;
    auto grow = [&](size_t nNeed) {
        nRoom = std::max(nNeed, nRoom * 2);
        CxMemory::Block more = CxMemory::Allocate(nRoom);
        if (nHave)
            std::memcpy(more.get(), bytes.get(), nHave);
        bytes = std::move(more);
    };
    if (m_nSize != UINT64_MAX && m_nSize > 0) {
        std::setvbuf(m_fp, nullptr, _IONBF, 0);
        grow(static_cast<size_t>(m_nSize));
        nHave = std::fread(bytes.get(), 1, nRoom, m_fp);
    }
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, m_fp)) > 0) {
        if (nHave + n > nRoom)
            grow(nHave + n);
        std::memcpy(bytes.get() + nHave, buf, n);
        nHave += n;
    }
    bool bError = std::ferror(m_fp) != 0;
    Close();
    if (bError)
        return false;
    m_mem = std::move(bytes);
    m_bMem = true;
    m_nSize = m_nLimit = nHave;
    m_nPos = 0;
    return true;
}

size_t CxFile::RawRead(void* dst, size_t n)
{
    if (!m_bMem) {
        size_t nRead = std::fread(dst, 1, n, m_fp);
        if (m_nPos >= 0)
            m_nPos += static_cast<int64_t>(nRead);
        return nRead;
    }
    size_t pos = static_cast<size_t>(m_nPos);
    size_t nRead = pos < m_nSize ? std::min(n, size_t(m_nSize) - pos) : 0;
    std::memcpy(dst, m_mem.get() + pos, nRead);
    m_nPos += static_cast<int64_t>(nRead);
    return nRead;
}

bool CxFile::OpenReplace(const char* path)
{
    if (!path || !*path)
        return false;
    Close();
    m_sFinished.clear();
    std::string target(path);
    // A replaced file keeps its permissions; a new one gets 0666 less the umask.
    struct stat st;
    bool bExists = ::stat(path, &st) == 0;
    if (bExists && S_ISDIR(st.st_mode))
        return false;
    unsigned mode = bExists ? (st.st_mode & 07777) : 0666;
    // A unique name in the target's folder, so the final rename stays on one file system.
    // Asked each time: a forked child writes under its own id, which tells
    // whether a left-over temporary's writer still runs.
#ifdef _WIN32
    const unsigned pid = static_cast<unsigned>(_getpid());
#else
    const unsigned pid = static_cast<unsigned>(::getpid());
#endif
    for (int attempt = 0; attempt < 100 && !m_fp; ++attempt) {
        std::string temp =
            target + ".tmp" + std::to_string(pid) + "-" + std::to_string(g_nTempCounter++);
#ifdef _WIN32
        int fd = ::_open(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return false;
        m_fp = ::_fdopen(fd, "wb");
#else
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return false;
        if (bExists)
            ::fchmod(fd, mode);
        m_fp = ::fdopen(fd, "wb");
        if (!m_fp)
            ::close(fd);
#endif
        if (!m_fp) {
            std::remove(temp.c_str());
            return false;
        }
        m_sTarget = target;
        m_sTemp = temp;
        // Writes gather in our own buffer; the stream adds no second copy.
        if (m_fp)
            std::setvbuf(m_fp, nullptr, _IONBF, 0);
    }
    m_bWriteError = false;
    m_nLimit = 0;
    return m_fp != nullptr;
}

bool CxFile::Commit(bool bDurable)
{
    if (!m_fp || m_sTemp.empty())
        return false;
    FlushWrites();
    bool ok = !m_bWriteError && std::fflush(m_fp) == 0 && !std::ferror(m_fp);
#ifndef _WIN32
    ok = ok && (!bDurable || ::fsync(fileno(m_fp)) == 0);
#endif
    ok = (std::fclose(m_fp) == 0) && ok;
    m_fp = nullptr;
    if (ok) {
        if (bDurable)
            ok = ReplaceFile(m_sTemp, m_sTarget);
        else
#ifdef _WIN32
            ok = MoveFileExA(m_sTemp.c_str(), m_sTarget.c_str(), MOVEFILE_REPLACE_EXISTING);
#else
            ok = std::rename(m_sTemp.c_str(), m_sTarget.c_str()) == 0;
#endif
    }
    if (!ok)
        std::remove(m_sTemp.c_str());
    m_sTemp.clear();
    m_sTarget.clear();
    m_bWriteError = false;
    return ok;
}

bool CxFile::Finish(bool bSync)
{
    if (!m_fp || m_sTemp.empty())
        return false;
    FlushWrites();
    bool ok = !m_bWriteError && std::fflush(m_fp) == 0 && !std::ferror(m_fp);
#ifndef _WIN32
    ok = ok && (!bSync || ::fsync(fileno(m_fp)) == 0);
#else
    (void)bSync;
#endif
    ok = (std::fclose(m_fp) == 0) && ok;
    m_fp = nullptr;
    if (ok)
        m_sFinished = m_sTemp;
    else
        std::remove(m_sTemp.c_str());
    m_sTemp.clear();
    m_sTarget.clear();
    m_bWriteError = false;
    return ok;
}

void CxFile::Discard()
{
    m_wlen = 0;
    if (m_fp)
        std::fclose(m_fp);
    m_fp = nullptr;
    std::remove(m_sTemp.c_str());
    m_sTemp.clear();
    m_sTarget.clear();
}

bool CxFile::Close()
{
    if (!m_sTemp.empty()) {
        Discard();
        m_bWriteError = false;
        return false;
    }
    m_bMem = false;
    m_mem.reset();
    FlushWrites();
    bool ok = !m_bWriteError;
    if (m_fp) {
        ok = !std::ferror(m_fp) && ok;
        ok = (std::fclose(m_fp) == 0) && ok;
    }
    m_fp = nullptr;
    m_bWriteError = false;
    m_nLimit = 0;
    return ok;
}

uint64_t CxFile::Remaining() const
{
    int64_t pos = m_nPos >= 0 ? m_nPos : Tell();
    if (pos < 0 || static_cast<uint64_t>(pos) >= m_nLimit)
        return 0;
    return m_nLimit - static_cast<uint64_t>(pos);
}

long CxFile::Tell() const
{
    if (m_bMem)
        return static_cast<long>(m_nPos);
    FlushWrites();
    return m_fp ? std::ftell(m_fp) : -1;
}

bool CxFile::HasError() const
{
    FlushWrites();
    return m_bWriteError || (m_fp && std::ferror(m_fp));
}

int64_t CxFile::Position() const
{
    return m_nPos >= 0 ? m_nPos : Tell();
}

bool CxFile::ReadFailed(int64_t nAt, const std::string& why)
{
    m_sReadError = "at byte " + std::to_string(nAt) + ": " + why;
    return false;
}

bool CxFile::ReadSlow(void* szBuf, int size)
{
    CX_ASSERT(IsOpen());
    CX_ASSERT(szBuf != nullptr);
    if (size <= 0)
        return size == 0;
    int64_t nAt = Position();
    uint64_t nLeft = Remaining();
    if (static_cast<uint64_t>(size) > nLeft)
        return ReadFailed(nAt, "cut short: " + std::to_string(size) + " bytes needed, " +
                                   std::to_string(nLeft) + " left");
    size_t n = RawRead(szBuf, static_cast<size_t>(size));
    if (n != static_cast<size_t>(size))
        return ReadFailed(nAt, "the file cannot be read");
    return true;
}

bool CxFile::ReadStringSlow(char* szBuf, size_t nSize, int* pnLength)
{
    CX_ASSERT(IsOpen());
    CX_ASSERT(szBuf != nullptr);
    int64_t nAt = Position();
    uint32_t dwLen = 0;
    if (!ReadDWORD(&dwLen))
        return false;
    int32_t nLen = static_cast<int32_t>(dwLen);
    if (pnLength)
        *pnLength = nLen;
    if (nLen < 0)
        return ReadFailed(nAt, "a negative length (" + std::to_string(nLen) + ")");
    if (nLen == 0)
        return true;
    size_t n = static_cast<size_t>(nLen);
    if (n >= nSize)
        return ReadFailed(nAt, "a string of " + std::to_string(n) +
                                   " bytes, longer than its field holds (" +
                                   std::to_string(nSize - 1) + ")");
    if (n > Remaining())
        return ReadFailed(nAt, "cut short: a string of " + std::to_string(n) + " bytes, " +
                                   std::to_string(Remaining()) + " left");
    size_t nRead = RawRead(szBuf, n);
    if (nRead != n) {
        szBuf[0] = 0;
        return ReadFailed(nAt, "the file cannot be read");
    }
    if (std::memchr(szBuf, 0, n))
        ++m_nNulStrings;
    szBuf[n] = 0;
    return true;
}

bool CxFile::ReadByte(uint8_t* pbVal)
{
    CX_ASSERT(pbVal != nullptr);
    uint8_t b;
    if (!Read(&b, 1))
        return false;
    *pbVal = b;
    return true;
}

bool CxFile::WriteSlow(const void* szBuf, int dwSize)
{
    CX_ASSERT(m_fp != nullptr);
    CX_ASSERT(szBuf != nullptr && dwSize > 0);
    m_nPos = -1;
    size_t n = static_cast<size_t>(dwSize);
    // Small writes gather in a buffer of our own: the data files are written
    // as many short fields, and a call into the stream for each costs more
    // than the copy.
    if (m_wlen + n > sizeof(m_wbuf) && !FlushWrites())
        return false;
    if (n >= sizeof(m_wbuf)) {
        if (std::fwrite(szBuf, 1, n, m_fp) != n)
            m_bWriteError = true;
        return !m_bWriteError;
    }
    std::memcpy(m_wbuf + m_wlen, szBuf, n);
    m_wlen += n;
    return !m_bWriteError;
}

bool CxFile::FlushWrites() const
{
    if (m_wlen > 0 && m_fp && std::fwrite(m_wbuf, 1, m_wlen, m_fp) != m_wlen)
        m_bWriteError = true;
    m_wlen = 0;
    return !m_bWriteError;
}

bool CxFile::WriteString(const char* text)
{
    return WriteString(text, text ? std::strlen(text) : 0);
}

bool CxFile::WriteString(const char* text, size_t n)
{
    if (n > INT32_MAX) {
        m_bWriteError = true;
        return false;
    }
    if (!WriteDWORD(static_cast<uint32_t>(n)))
        return false;
    return n == 0 || Write(text, static_cast<int>(n));
}

bool CxFile::WriteString(const std::string& text)
{
    return WriteString(text.c_str());
}

bool CxFile::WriteDWORD(uint32_t value)
{
    uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                    static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return Write(b, 4);
}

bool CxFile::WriteByte(uint8_t value)
{
    return Write(&value, 1);
}

bool CxFile::WriteLine(const char* text)
{
    CX_ASSERT(m_fp != nullptr);
    size_t n = text ? std::strlen(text) : 0;
    if (n > INT32_MAX) {
        m_bWriteError = true;
        return false;
    }
    return (n == 0 || Write(text, static_cast<int>(n))) && Write("\r\n", 2);
}

bool CxFile::WriteLine(const std::string& text)
{
    return WriteLine(text.c_str());
}

char* CxFile::ReadLine(char* buffer, int size)
{
    if (!buffer || size < 2)
        return nullptr;
    CX_ASSERT(m_fp != nullptr); // not for a file opened to memory
    FlushWrites();
    m_nPos = -1; // a line's length is not known for sure (it may hold a zero byte)
    return std::fgets(buffer, size, m_fp);
}

int CxFile::Seek(long offset, int origin)
{
    if (m_bMem) {
        int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? m_nPos : int64_t(m_nSize);
        if (base + offset < 0)
            return -1;
        m_nPos = base + offset;
        return 0;
    }
    if (!m_fp)
        return -1;
    FlushWrites();
    int result = std::fseek(m_fp, offset, origin);
    m_nPos = result == 0 && origin == SEEK_SET ? offset : std::ftell(m_fp);
    return result;
}

long CxFile::FileSize(const char* path)
{
    if (!path || !*path)
        return -1;
    CxFile file;
    if (!file.Open(path, "rb"))
        return -1;
    if (file.Seek(0, SEEK_END) != 0)
        return -1;
    return file.Tell();
}

CxFileStamp CxFile::Stamp(const char* path)
{
    CxFileStamp stamp;
    stamp.bKnown = true;
    struct stat st;
    if (!path || ::stat(path, &st) != 0)
        return stamp;
    stamp.bExists = true;
    stamp.nSize = static_cast<uint64_t>(st.st_size);
#if defined(_WIN32)
    stamp.nMTimeNs = static_cast<int64_t>(st.st_mtime) * 1000000000;
#elif defined(__APPLE__)
    stamp.nMTimeNs =
        static_cast<int64_t>(st.st_mtimespec.tv_sec) * 1000000000 + st.st_mtimespec.tv_nsec;
#else
    stamp.nMTimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    stamp.nInode = static_cast<uint64_t>(st.st_ino);
    return stamp;
}

bool CxFile::ParseTempName(const std::string& name, std::string* pTarget, unsigned* pPid)
{
    size_t at = name.rfind(".tmp");
    if (at == std::string::npos || at == 0)
        return false;
    size_t dash = name.find('-', at + 4);
    if (dash == std::string::npos || dash == at + 4 || dash + 1 == name.size())
        return false;
    for (size_t i = at + 4; i < name.size(); ++i)
        if (i != dash && (name[i] < '0' || name[i] > '9'))
            return false;
    if (dash - (at + 4) > 9)
        return false;
    if (pTarget)
        *pTarget = name.substr(0, at);
    if (pPid)
        *pPid = static_cast<unsigned>(std::stoul(name.substr(at + 4, dash - at - 4)));
    return true;
}

bool CxFile::IsOrphanedTemp(const std::string& name, std::string* pTarget)
{
    unsigned pid = 0;
    if (!ParseTempName(name, pTarget, &pid))
        return false;
#ifdef _WIN32
    if (pid == static_cast<unsigned>(_getpid()))
        return false;
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!h)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    bool bGone = WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
    CloseHandle(h);
    return bGone;
#else
    if (pid == static_cast<unsigned>(::getpid()) || pid == 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#endif
}
