// CxFile: the one way the program touches files.
//
// Wraps a C stream and speaks the vocabulary of every data file: little-endian
// 32-bit values, single bytes, raw blocks, strings stored as a 32-bit length
// followed by the bytes (no terminator), and CR LF text lines.
//
// Contracts:
// - Files are always opened in binary mode; no line-end translation happens.
// - Readers never read past the current read limit (the file's size when it
//   was opened, or a narrower limit set with SetReadLimit) and never write
//   past the destination they are given. A short read returns false.
// - Writers remember the first failure; Close() and Commit() report it.
// - OpenReplace() writes to a temporary file in the target's folder. Commit()
//   flushes, syncs and renames it over the target only if every write
//   succeeded; Close() without Commit() removes the temporary file, so the
//   old target stays byte-for-byte intact.
#ifndef CXFILE_H
#define CXFILE_H

#include "CxMemory.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

// What tells one version of a file from another: whether it exists, its
// size, its modification time and its file number (a rename changes it).
// A 32-bit value stored little-endian in the 4 bytes at p: the one decoder of
// every 32-bit value of the data files.
inline uint32_t CxLoadLE32(const void* p)
{
    const auto* b = static_cast<const unsigned char*>(p);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}

struct CxFileStamp
{
    bool bKnown = false; // false: never looked at
    bool bExists = false;
    uint64_t nSize = 0;
    int64_t nMTimeNs = 0;
    uint64_t nInode = 0;
    bool operator==(const CxFileStamp&) const = default;
};

class CxFile
{
public:
    CxFile();
    ~CxFile();

    CxFile(const CxFile&) = delete;
    CxFile& operator=(const CxFile&) = delete;

    // Opens path with a C library mode ("rb", "wb", ...). False for a null or
    // empty path or mode, or when the open fails. An open object is closed first.
    bool Open(const char* path, const char* mode);
    // Opens a temporary file beside path for writing; Commit() puts it in place.
    bool OpenReplace(const char* path);
    // Reads the whole file at path into memory and reads from there: for a
    // reader of many short fields, a single read of the file. False as Open.
    bool OpenToMemory(const char* path);
    // Finishes a replacement: flush, sync, close and rename over the target.
    // False (and the target untouched) if any write failed or the rename failed.
    // bDurable false skips the syncs, for files that can be written again
    // (the rename still never shows a half-written file).
    bool Commit(bool bDurable = true);
    // Finishes the temporary file of a replacement without putting it in
    // place: flush, sync and close. The caller renames it (ReplaceFile) or
    // removes it. False, with the temporary file removed, if a write failed.
    // bSync false skips the sync, for files that can be written again.
    bool Finish(bool bSync = true);
    // The temporary file of the open replacement, or of the one just finished.
    const std::string& TempPath() const { return m_sTemp.empty() ? m_sFinished : m_sTemp; }
    // Renames from over to, replacing it, and makes the rename durable.
    static bool ReplaceFile(const std::string& from, const std::string& to);
    // Makes the renames inside a folder durable.
    static void SyncFolder(const std::string& folder);
    // Makes a file's bytes durable; false when it cannot be opened or synced.
    static bool SyncFile(const std::string& path);
    // Tests: told of every SyncFile and SyncFolder, with the path.
    static void (*s_pSyncHook)(const std::string& path);
    // Reads a whole regular file; false when it cannot be read.
    static bool ReadWholeFile(const std::string& path, std::string* pBytes);
    // Whether name is a replacement's temporary file, TARGET.tmpPID-N; its
    // target and the process that wrote it, when so.
    static bool ParseTempName(const std::string& name, std::string* pTarget, unsigned* pPid);
    // Whether name is such a temporary of a process that no longer runs: a
    // left-over of a writer that was stopped, never to be finished.
    static bool IsOrphanedTemp(const std::string& name, std::string* pTarget = nullptr);
    // Closes the stream. False if a write or the close itself failed. An
    // uncommitted replacement is discarded.
    bool Close();
    bool IsOpen() const { return m_fp != nullptr || m_bMem; }
    // Reads go straight to the caller's buffer, for a reader of large pieces.
    void SetUnbuffered()
    {
        if (m_fp)
            std::setvbuf(m_fp, nullptr, _IONBF, 0);
    }

    // Reads exactly size bytes; false on a short read (the destination may
    // then hold part of them).
    bool Read(void* szBuf, int size)
    {
        // A file opened to memory hands out its bytes directly.
        if (m_bMem && size > 0 && szBuf &&
            static_cast<uint64_t>(m_nPos) + static_cast<uint64_t>(size) <= m_nLimit) {
            std::memcpy(szBuf, m_mem.get() + m_nPos, static_cast<size_t>(size));
            m_nPos += size;
            return true;
        }
        return ReadSlow(szBuf, size);
    }
    // Reads a length-prefixed string into szBuf, which holds nSize bytes, and
    // terminates it. A stored length of 0 leaves szBuf unchanged. False when
    // the length or the bytes cannot be read, the length is negative, or the
    // string plus its terminator does not fit into nSize bytes (nothing is
    // then written to szBuf). pnLength receives the stored length when read.
    bool ReadString(char* szBuf, size_t nSize, int* pnLength = nullptr)
    {
        // A string of a file opened to memory that fits: copied directly.
        if (m_bMem && !pnLength && static_cast<uint64_t>(m_nPos) + 4 <= m_nLimit) {
            const auto* p = reinterpret_cast<const unsigned char*>(m_mem.get() + m_nPos);
            uint32_t n = CxLoadLE32(p);
            if (n < nSize && n <= m_nLimit - static_cast<uint64_t>(m_nPos) - 4 &&
                !std::memchr(p + 4, 0, n)) {
                if (n) {
                    std::memcpy(szBuf, p + 4, n);
                    szBuf[n] = 0;
                }
                m_nPos += 4 + n;
                return true;
            }
        }
        return ReadStringSlow(szBuf, nSize, pnLength);
    }
    template <size_t N> bool ReadString(char (&szBuf)[N], int* pnLength = nullptr)
    {
        return ReadString(szBuf, N, pnLength);
    }
    // Reads a 32-bit value; at end of file false and *pdwVal is not touched.
    bool ReadDWORD(uint32_t* pdwVal)
    {
        uint8_t b[4];
        if (!Read(b, 4))
            return false;
        *pdwVal = CxLoadLE32(b);
        return true;
    }
    bool ReadByte(uint8_t* pbVal);

    bool Write(const void* szBuf, int dwSize)
    {
        // The common case, a short field, costs one copy into the write buffer.
        const size_t n = dwSize > 0 ? static_cast<size_t>(dwSize) : 0;
        if (n > 0 && m_wlen <= sizeof(m_wbuf) && n <= sizeof(m_wbuf) - m_wlen && m_fp && szBuf) {
            std::memcpy(m_wbuf + m_wlen, szBuf, n);
            m_wlen += n;
            m_nPos = -1;
            return !m_bWriteError;
        }
        return WriteSlow(szBuf, dwSize);
    }
    // Writes a length-prefixed string; null and "" both write the value 0.
    bool WriteString(const char* text);
    bool WriteString(const char* text, size_t n);
    bool WriteString(const std::string& text);
    bool WriteDWORD(uint32_t value);
    bool WriteByte(uint8_t value);
    // Writes text followed by CR LF; a null text writes CR LF only.
    bool WriteLine(const char* text);
    bool WriteLine(const std::string& text);

    // Reads one line like fgets: at most size - 1 characters, up to and
    // including the line feed, terminated. Null at end of file or for a null
    // or too small buffer.
    char* ReadLine(char* buffer, int size);

    // fseek; 0 on success.
    int Seek(long offset, int origin);
    // Current position, or -1.
    long Tell() const;
    // Limits reading to the bytes before nEnd (at most the file's size).
    void SetReadLimit(uint64_t nEnd) { m_nLimit = nEnd < m_nSize ? nEnd : m_nSize; }
    // The size of a file opened for reading, as it was when opened.
    uint64_t Size() const { return m_nSize; }
    // The bytes of a file opened to memory.
    const char* Data() const { return m_mem.get(); }
    // Bytes that may still be read before the read limit.
    uint64_t Remaining() const;
    // True once a read or write of the stream failed (not end of file).
    bool HasError() const;
    // Why the last failed read failed, with the byte offset where the value
    // began ("at byte 40: ..."); empty after a successful open.
    const std::string& ReadError() const { return m_sReadError; }
    // How many strings read since the file was opened held a zero byte (their
    // field then ends at that byte).
    uint32_t NulStrings() const { return m_nNulStrings; }

    // Size of the file at path, or -1 if path is null or empty or the file
    // cannot be opened for reading.
    static long FileSize(const char* path);
    // The stamp of the file at path now (bKnown is true).
    static CxFileStamp Stamp(const char* path);

private:
    void Discard();
    // Records why a read that began at offset nAt failed; returns false.
    bool ReadFailed(int64_t nAt, const std::string& why);
    // Hands the gathered writes to the stream; false once a write failed.
    bool FlushWrites() const;
    bool WriteSlow(const void* szBuf, int dwSize);
    bool ReadSlow(void* szBuf, int size);
    bool ReadStringSlow(char* szBuf, size_t nSize, int* pnLength);
    // Reads n bytes from the stream or the memory copy; the bytes read.
    size_t RawRead(void* dst, size_t n);
    int64_t Position() const;

    FILE* m_fp = nullptr;
    uint64_t m_nLimit = 0; // read limit (file size for files opened for reading)
    uint64_t m_nSize = 0;  // the size of a file opened for reading
    // The read position, kept here to spare a system call per read; -1 when
    // only the stream knows it.
    int64_t m_nPos = 0;
    mutable bool m_bWriteError = false;
    mutable char m_wbuf[16384]; // writes not yet handed to the stream
    mutable size_t m_wlen = 0;
    std::string m_sTarget;   // target of an open replacement
    std::string m_sTemp;     // its temporary file
    std::string m_sFinished; // the temporary file that Finish() left for the caller
    std::string m_sReadError;
    CxMemory::Block m_mem; // the file's m_nSize bytes, when opened to memory
    bool m_bMem = false;
    uint32_t m_nNulStrings = 0;
};

#endif
