// Runs check over a program folder made from the input: clcat.dat,
// cldict.dat and data/A.dat as length-prefixed parts (see TakePart), the rest
// as clcmd.dat. data/B.dat is a copy of data/A.dat, so two entries can meet
// the same record.
#include "CLDataChecker.h"
#include "FuzzHome.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& home = FuzzHome();
    auto write = [&home](const char* name, const std::string& bytes) {
        WriteFuzzFile(home + name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    write("clcat.dat", TakePart(data, size));
    write("cldict.dat", TakePart(data, size));
    std::string record = TakePart(data, size);
    write("data/A.dat", record);
    write("data/B.dat", record);
    WriteFuzzFile(home + "clcmd.dat", data, size);
    CLDataChecker().Run();
    return 0;
}
