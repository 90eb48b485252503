#include "DataFileScanner.h"

#include "CLRecords.h"

namespace {

// The smallest stored parameter and error message: empty strings only.
constexpr uint32_t kMinParamBytes = 4 * 4;
constexpr uint32_t kMinErrorBytes = 2 * 4;

} // namespace

DataFileScanner::DataFileScanner(const std::string& bytes, size_t begin, size_t end)
    : m_bytes(bytes), m_begin(begin), m_pos(begin), m_end(end)
{
}

DataFileScanner::DataFileScanner(const std::string& bytes) : DataFileScanner(bytes, 0, bytes.size())
{
}

bool DataFileScanner::Dword(uint32_t* pValue)
{
    if (Remaining() < 4)
        return false;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(m_bytes[m_pos + static_cast<size_t>(i)]);
    *pValue = v;
    m_pos += 4;
    return true;
}

bool DataFileScanner::Byte(uint8_t* pValue)
{
    if (Remaining() < 1)
        return false;
    *pValue = static_cast<uint8_t>(m_bytes[m_pos++]);
    return true;
}

DataFileScanner::Result DataFileScanner::String(size_t nField, std::string* pValue)
{
    uint32_t n = 0;
    if (!Dword(&n) || n > Remaining())
        return Result::CutShort;
    *pValue = m_bytes.substr(m_pos, n);
    m_pos += n;
    return n >= nField ? Result::TooLong : Result::Ok;
}

bool DataFileScanner::Field(size_t nField, const std::string& what, std::string* pValue,
                            std::string* pReason)
{
    switch (String(nField, pValue)) {
    case Result::Ok:
        return true;
    case Result::CutShort:
        *pReason = "cut short in " + what;
        return false;
    case Result::TooLong:
        break;
    }
    *pReason = what + " is longer than " + std::to_string(nField - 1) + " bytes";
    return false;
}

bool DataFileScanner::LongText(const char* what, std::string* pReason)
{
    uint32_t n = 0;
    if (!Dword(&n) || n > Remaining()) {
        *pReason = std::string("cut short in ") + what;
        return false;
    }
    if (n > kMaxLongText) {
        *pReason = std::string(what) + " is longer than " + std::to_string(kMaxLongText) + " bytes";
        return false;
    }
    m_pos += n;
    return true;
}

bool DataFileScanner::Record(std::string* pName, std::string* pReason)
{
    std::string s;
    uint8_t b = 0;
    if (!Field(11, "the name", pName, pReason) || !Field(256, "the description", &s, pReason) ||
        !Field(256, "the environment", &s, pReason))
        return false;
    if (!Byte(&b)) {
        *pReason = "cut short in the reserved byte";
        return false;
    }
    uint32_t nParams = 0;
    if (!Dword(&nParams)) {
        *pReason = "cut short in the parameter count";
        return false;
    }
    if (nParams > Remaining() / kMinParamBytes) {
        *pReason = "the parameter count " + std::to_string(nParams) + " runs past the end";
        return false;
    }
    for (uint32_t i = 0; i < nParams; ++i) {
        const std::string what = " of parameter " + std::to_string(i + 1);
        if (!Field(11, "the keyword" + what, &s, pReason) ||
            !Field(60, "the description" + what, &s, pReason) ||
            !Field(200, "the choices" + what, &s, pReason) ||
            !Field(32, "the note" + what, &s, pReason))
            return false;
    }
    uint32_t nErrors = 0;
    if (!Dword(&nErrors)) {
        *pReason = "cut short in the error message count";
        return false;
    }
    if (nErrors > Remaining() / kMinErrorBytes) {
        *pReason = "the error message count " + std::to_string(nErrors) + " runs past the end";
        return false;
    }
    for (uint32_t i = 0; i < nErrors; ++i) {
        const std::string what = " of error message " + std::to_string(i + 1);
        if (!Field(10, "the code" + what, &s, pReason) ||
            !Field(150, "the text" + what, &s, pReason))
            return false;
    }
    return LongText("the detail", pReason) && LongText("the reserved text", pReason) &&
           LongText("the examples", pReason);
}
