// Reads records of clcmd.dat at positions the index gives, as the reading run
// mode does: the input is a cldict.dat (a length-prefixed part, see
// TakePart) and then clcmd.dat; every entry of the index that loads is read.
#include "CLCmdManager.h"
#include "FuzzHome.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& home = FuzzHome();
    std::string index = TakePart(data, size);
    WriteFuzzFile(home + "cldict.dat", reinterpret_cast<const uint8_t*>(index.data()),
                  index.size());
    WriteFuzzFile(home + "clcmd.dat", data, size);
    CLCmdManager m{CLOptions{kRunModeRead}};
    if (!m.LoadCmdIdxList())
        return 0;
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx())
        m.AttachCmdRecord(p);
    return 0;
}
