// Feeds arbitrary bytes to every reader of the data files: the category file,
// the index, a command record in both run modes, and the text importer. The
// first byte picks the reader.
#include "AppSettings.h"
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLMessage.h"
#include "CLRecordUtil.h"
#include "WinUtil.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string Home()
{
    static const std::string home = [] {
        auto dir = std::filesystem::temp_directory_path() /
                   ("zentrivo-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "data");
        SetAppPath(dir.string());
        SetMessageHook([](const std::string&, const std::string&, CLMsgIcon) {});
        return dir.string() + "/";
    }();
    return home;
}

void Write(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string home = Home();
    uint8_t which = data[0] % 5;
    ++data;
    --size;
    CLCmdManager m;
    switch (which) {
    case 0:
        Write(home + "clcat.dat", data, size);
        m.LoadCatList();
        break;
    case 1:
        Write(home + "cldict.dat", data, size);
        m.LoadCmdIdxList();
        break;
    case 2:
    case 3: {
        AppSettings.RunMode = which == 2 ? 1 : 2;
        Write(home + (which == 2 ? "data/X.dat" : "clcmd.dat"), data, size);
        CLCmdIndex e{};
        CopyField(e.szName, "X");
        CopyField(e.szFileName, "X.dat");
        e.dwPos = size > 8 ? data[0] % 8 : 0;
        e.dwLength = static_cast<uint32_t>(size - e.dwPos);
        m.AttachCmdRecord(&e);
        CLCmdManager::DetachCmdRecord(&e);
        break;
    }
    case 4: {
        Write(home + "list.txt", data, size);
        CLFileAnalyzer analyzer;
        analyzer.AnalyzeFile((home + "list.txt").c_str());
        break;
    }
    }
    return 0;
}
