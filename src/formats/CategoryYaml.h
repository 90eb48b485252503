// CategoryYaml: the file categories.yaml, the category list:
//   categories:
//     - id: 1
//       name: Libraries
//       file: lib.htm      (only when not empty)
#ifndef CATEGORYYAML_H
#define CATEGORYYAML_H

#include "CLRecords.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CategoryDoc
{
    uint32_t id = 0;
    std::string name; // Latin-1, as the database holds it
    std::string file;
    bool operator==(const CategoryDoc&) const = default;
    // The category as the database holds it; the texts must fit their fields.
    CLCategory ToCategory() const;
};

class CategoryYaml
{
public:
    static std::string Write(const std::vector<CategoryDoc>& cats);
    // False with the reason for invalid YAML, a missing id, an empty or
    // over-long name, an over-long file name, or an id given twice.
    static bool Read(const std::string& yaml, std::vector<CategoryDoc>* pCats, std::string* pError);
};

#endif
