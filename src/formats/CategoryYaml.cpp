#include "CategoryYaml.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "YamlDocument.h"
#include "YamlFieldReader.h"
#include "YamlTextWriter.h"

#include <set>

CLCategory CategoryDoc::ToCategory() const
{
    CLCategory cat{};
    cat.dwID = id;
    CopyField(cat.szName, name);
    CopyField(cat.szFileName, file);
    return cat;
}

std::string CategoryYaml::Write(const std::vector<CategoryDoc>& cats)
{
    if (cats.empty())
        return "categories: []\n";
    std::string out = "categories:\n";
    for (const CategoryDoc& c : cats) {
        out += "  - id: " + std::to_string(c.id) + "\n";
        out += "    " + YamlTextWriter::Field("name", c.name, 4);
        if (!c.file.empty())
            out += "    " + YamlTextWriter::Field("file", c.file, 4);
    }
    return out;
}

bool CategoryYaml::Read(const std::string& yaml, std::vector<CategoryDoc>* pCats,
                        std::string* pError)
{
    YAML::Node root;
    if (!YamlDocument::Parse(yaml, &root, pError))
        return false;
    YamlFieldReader r;
    std::vector<YAML::Node> items;
    if (!r.Open(root, {"categories"}) || !r.Sequence("categories", &items)) {
        *pError = r.Error();
        return false;
    }
    pCats->clear();
    std::set<uint32_t> ids;
    for (size_t i = 0; i < items.size(); ++i) {
        YamlFieldReader item("categories item " + std::to_string(i + 1) + ": ");
        CategoryDoc c;
        uint64_t id = 0;
        bool bSet = false;
        if (!item.Open(items[i], {"id", "name", "file"}) ||
            !item.Number("id", UINT32_MAX, &id, &bSet) ||
            !item.Text("name", CLFormat::kCatName, &c.name) ||
            !item.Text("file", CLFormat::kCatFileName, &c.file)) {
            *pError = item.Error();
            return false;
        }
        std::string where = "categories item " + std::to_string(i + 1) + ": ";
        if (!bSet) {
            *pError = where + "id: missing";
            return false;
        }
        c.id = static_cast<uint32_t>(id);
        switch (CLCmdManager::CheckCategory(c.ToCategory())) {
        case CLCatFault::None:
            break;
        case CLCatFault::ID:
            *pError = where + "id: 0 is never a category; ids start at " +
                      std::to_string(CLFormat::kMinCatID);
            return false;
        case CLCatFault::Name:
            *pError = where + "name: missing or empty";
            return false;
        }
        if (!ids.insert(c.id).second) {
            *pError = where + "id " + std::to_string(c.id) + " appears twice";
            return false;
        }
        pCats->push_back(std::move(c));
    }
    return true;
}
