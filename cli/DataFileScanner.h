// DataFileScanner: walks the bytes of a data file the way the data layer
// reads them (32-bit little-endian values, length-prefixed strings, command
// records), but tells exactly where and why a read stops, so that check can
// name each problem.
#ifndef DATAFILESCANNER_H
#define DATAFILESCANNER_H

#include <cstddef>
#include <cstdint>
#include <string>

class DataFileScanner
{
public:
    enum class Result
    {
        Ok,
        CutShort, // the value runs past the end
        TooLong   // a string does not fit its field (the data layer refuses it)
    };

    // Scans bytes[begin, end).
    DataFileScanner(const std::string& bytes, size_t begin, size_t end);
    explicit DataFileScanner(const std::string& bytes);

    bool Dword(uint32_t* pValue);
    bool Byte(uint8_t* pValue);
    // A string for a field of nField bytes (terminator included); a too-long
    // string is skipped whole, so the walk can go on.
    Result String(size_t nField, std::string* pValue);

    // One command record; false with the reason when the data layer could
    // not read it. *pName receives the record's name.
    bool Record(std::string* pName, std::string* pReason);

    size_t Offset() const { return m_pos - m_begin; }
    size_t Remaining() const { return m_end - m_pos; }

private:
    bool LongText(const char* what, std::string* pReason);
    bool Field(size_t nField, const std::string& what, std::string* pValue, std::string* pReason);

    const std::string& m_bytes;
    size_t m_begin;
    size_t m_pos;
    size_t m_end;
};

#endif
