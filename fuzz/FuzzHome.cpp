#include "FuzzHome.h"

#include "CLMessage.h"
#include "WinUtil.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

const std::string& FuzzHome()
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

void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

std::string TakePart(const uint8_t*& data, size_t& size)
{
    if (size < 2) {
        data += size;
        size = 0;
        return {};
    }
    size_t n = data[0] | static_cast<size_t>(data[1]) << 8;
    data += 2;
    size -= 2;
    if (n > size)
        n = size;
    std::string part(reinterpret_cast<const char*>(data), n);
    data += n;
    size -= n;
    return part;
}
