#include "TestHome.h"

#include "WinUtil.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

TestHome::TestHome() : m_sPrevious(GetAppPath())
{
    // A folder of its own under the temporary folder (what mkdtemp does, on
    // every system).
    std::random_device random;
    for (int attempt = 0; m_sPath.empty(); ++attempt) {
        if (attempt == 100)
            throw std::runtime_error("no temporary folder can be created");
        fs::path dir = fs::temp_directory_path() / ("zentrivo-test-" + std::to_string(random()));
        std::error_code ec;
        if (fs::create_directory(dir, ec))
            m_sPath = dir.generic_string() + "/";
    }
    fs::create_directory(m_sPath + "data");
    SetAppPath(m_sPath);
}

TestHome::~TestHome()
{
    SetAppPath(m_sPrevious);
    std::error_code ec;
    // Tests may have made parts read-only; give them back before removing.
    for (auto& entry : fs::recursive_directory_iterator(m_sPath, ec))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(m_sPath, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_sPath, ec);
}

ByteWriter& ByteWriter::dw(uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
}

ByteWriter& ByteWriter::byte(uint8_t v)
{
    m_bytes.push_back(v);
    return *this;
}

ByteWriter& ByteWriter::str(const std::string& s)
{
    dw(static_cast<uint32_t>(s.size()));
    return raw(s);
}

ByteWriter& ByteWriter::raw(const std::string& s)
{
    m_bytes.insert(m_bytes.end(), s.begin(), s.end());
    return *this;
}

ByteWriter& ByteWriter::raw(const Bytes& b)
{
    m_bytes.insert(m_bytes.end(), b.begin(), b.end());
    return *this;
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path)
{
    Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

bool FileExists(const std::string& path)
{
    return fs::exists(path);
}

void MakeDir(const std::string& path)
{
    fs::create_directories(path);
}

std::vector<std::string> ListDir(const std::string& path)
{
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

MessageRecorder::MessageRecorder()
{
    m_old =
        SetMessageHook([this](const std::string& text, const std::string& caption, CLMsgIcon icon) {
            messages.push_back({text, caption, icon});
        });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageHook(m_old);
}

std::vector<std::string> MessageRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& m : messages)
        texts.push_back(m.text);
    return texts;
}
