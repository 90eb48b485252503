// Feeds arbitrary bytes to every reader of the data files: the category file,
// the index, a command record in both run modes, and the text importer. The
// first byte picks the reader.
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLMessage.h"
#include "CLRecordUtil.h"
#include "FuzzHome.h"
#include "WinUtil.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string& home = FuzzHome();
    uint8_t which = data[0] % 5;
    ++data;
    --size;
    CLCmdManager m;
    switch (which) {
    case 0:
        WriteFuzzFile(home + "clcat.dat", data, size);
        m.LoadCatList();
        break;
    case 1:
        WriteFuzzFile(home + "cldict.dat", data, size);
        m.LoadCmdIdxList();
        break;
    case 2:
    case 3: {
        m.SetOptions(CLOptions{which == 2 ? kRunModeEdit : kRunModeRead});
        WriteFuzzFile(home + (which == 2 ? "data/X.dat" : "clcmd.dat"), data, size);
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
        WriteFuzzFile(home + "list.txt", data, size);
        CLFileAnalyzer analyzer;
        analyzer.AnalyzeFile((home + "list.txt").c_str());
        break;
    }
    }
    return 0;
}
