#include "CliContext.h"

#include "CLRecordUtil.h"
#include "CxFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

CliContext::CliContext(const CLOptions& options, const CliText& text)
    : m_manager(options), m_text(text)
{
    m_oldHook = SetMessageHook(
        [this](const std::string& text, const std::string&, CLMsgIcon) { Error(text); });
}

CliContext::~CliContext()
{
    SetMessageHook(m_oldHook);
}

void CliContext::Out(const std::string& latin1)
{
    const std::string bytes = m_text.Out(latin1);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void CliContext::OutAsIs(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void CliContext::OutMixed(const std::string& text)
{
    OutAsIs(m_text.Message(text));
}

void CliContext::Error(const std::string& message)
{
    ErrorLine("zentrivo-cli: " + message);
}

void CliContext::ErrorLine(const std::string& line)
{
    std::fflush(stdout); // keep the order of data and messages on a shared terminal
    // Names and paths come from the command line and the files: a control
    // character in them must not reach the terminal.
    std::string text = m_text.Message(Printable(line) + "\n");
    std::fwrite(text.data(), 1, text.size(), stderr);
}

bool CliContext::LoadIndex()
{
    if (m_manager.LoadCmdIdxList())
        return true;
    Error("the command index \"" + m_manager.GetCmdIdxFileName() + "\" cannot be loaded.");
    return false;
}

bool CliContext::LoadCategories()
{
    if (m_manager.LoadCatList())
        return true;
    Error("the category list \"" + m_manager.GetCatFileName() + "\" cannot be loaded.");
    return false;
}

CLCmdRecord* CliContext::AttachRecord(CLCmdIndex* pIdx, bool* pbRead)
{
    return m_manager.AttachCmdRecord(pIdx, nullptr, pbRead);
}

bool CliContext::WriteFile(const std::string& path, const std::string& bytes)
{
    CxFile file;
    if (!file.OpenReplace(path.c_str()))
        return false;
    if (!bytes.empty() && !file.Write(bytes.data(), static_cast<int>(bytes.size())))
        return false;
    return file.Commit();
}

bool CliContext::ReadFile(const std::string& path, std::string* pBytes)
{
    return CxFile::ReadWholeFile(path, pBytes);
}

bool CliContext::MakeFolder(const std::string& path)
{
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}
