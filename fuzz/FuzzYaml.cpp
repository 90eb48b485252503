// Feeds arbitrary bytes to the YAML readers of a command record and of the
// category list; the first byte picks the reader.
#include "CategoryYaml.h"
#include "RecordYaml.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string error;
    if (data[0] & 1) {
        std::vector<CategoryDoc> cats;
        CategoryYaml::Read(text, &cats, &error);
    } else {
        RecordDoc doc;
        if (RecordYaml::Read(text, &doc, &error)) {
            // What was read must write and read back alike.
            RecordDoc again;
            if (!RecordYaml::Read(RecordYaml::Write(doc), &again, &error) || !(again == doc))
                __builtin_trap();
        }
    }
    return 0;
}
