// Test support: a temporary program folder, byte builders and a recorder of
// the data layer's messages.
#ifndef TESTHOME_H
#define TESTHOME_H

#include "CLMessage.h"

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A fresh program folder with an empty data/ folder; made the program folder
// for its lifetime and removed afterwards.
class TestHome
{
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    const std::string& Path() const { return m_sPath; }
    std::string File(const std::string& name) const { return m_sPath + name; }

private:
    std::string m_sPath;
    std::string m_sPrevious; // the program folder to restore
};

// Builds the little-endian encodings of the data files.
class ByteWriter
{
public:
    ByteWriter& dw(uint32_t v);
    ByteWriter& byte(uint8_t v);
    ByteWriter& str(const std::string& s); // 32-bit length, then the bytes
    ByteWriter& raw(const std::string& s);
    ByteWriter& raw(const Bytes& b);
    const Bytes& bytes() const { return m_bytes; }

private:
    Bytes m_bytes;
};

Bytes ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
void MakeDir(const std::string& path);
std::vector<std::string> ListDir(const std::string& path);

struct RecordedMessage
{
    std::string text;
    std::string caption;
    CLMsgIcon icon;
};

// Records the data layer's messages for its lifetime.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<RecordedMessage> messages;
    std::vector<std::string> Texts() const;

private:
    CLMessageHook m_old;
};

#endif
