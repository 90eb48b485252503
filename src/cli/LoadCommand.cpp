#include "CliCommands.h"

#include "CLRecordStore.h"
#include "CLRecordUtil.h"
#include "CategoryYaml.h"
#include "CliContext.h"
#include "CxText.h"
#include "RecordDoc.h"
#include "RecordYaml.h"
#include "WinUtil.h"
#include "YamlDocument.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCategoriesFile = "categories.yaml";

// Reads a YAML file whole, refusing one too large to be a record or category
// list before a byte of it is read.
bool ReadYamlFile(const std::string& path, std::string* pText, std::string* pWhy)
{
    std::error_code ec;
    const uintmax_t nSize = fs::file_size(path, ec);
    if (!ec && nSize > YamlDocument::kMaxBytes) {
        *pWhy = "larger than " + std::to_string(YamlDocument::kMaxBytes >> 20) + " MB (" +
                std::to_string(nSize) + " bytes), more than a record or category list holds";
        return false;
    }
    if (!CliContext::ReadFile(path, pText)) {
        *pWhy = "cannot be read";
        return false;
    }
    return true;
}

struct RecordOwner
{
    CLCmdRecord* p;
    ~RecordOwner() { CLCmdManager::FreeCmdRecord(p); }
};

// Loads the YAML files of one folder.
class Loader
{
public:
    int Run(CliContext& ctx, const CliArgs& args);

private:
    // Loads a list file of the home, or starts an empty list when there is none.
    static bool LoadOrStart(CliContext& ctx, bool bIndex);
    enum class Result
    {
        Loaded,
        Refused,    // the file is not taken; the others go on
        WriteFailed // nothing more is written
    };
    // Saves one record and brings its index entry in line.
    Result LoadRecord(CliContext& ctx, const std::string& path, const std::string& stem);
    bool LoadCategories(CliContext& ctx, const std::string& path);

    std::unique_ptr<CLRecordStore> m_store;
    bool m_bCatsChanged = false;
    std::unordered_set<uint32_t> m_catIds; // the categories a record may name
};

} // namespace

bool Loader::LoadOrStart(CliContext& ctx, bool bIndex)
{
    CLCmdManager& manager = ctx.Manager();
    const std::string path = bIndex ? manager.GetCmdIdxFileName() : manager.GetCatFileName();
    std::error_code ec;
    if (!fs::exists(path, ec))
        return true; // a new home: the list starts empty
    return bIndex ? ctx.LoadIndex() : ctx.LoadCategories();
}

Loader::Result Loader::LoadRecord(CliContext& ctx, const std::string& path, const std::string& stem)
{
    std::string text, reason;
    RecordDoc doc;
    if (!ReadYamlFile(path, &text, &reason)) {
        ctx.ErrorLine(path + ": " + reason);
        return Result::Refused;
    }
    if (!RecordYaml::Read(text, &doc, &reason)) {
        ctx.ErrorLine(path + ": " + reason);
        return Result::Refused;
    }
    // The file name is the name written as Latin-1 or as UTF-8 bytes.
    if (stem != doc.name && stem != CxText::ToUtf8(doc.name)) {
        ctx.ErrorLine(path + ": the name \"" + doc.name + "\" is not the file's name");
        return Result::Refused;
    }

    CLCmdIndex* pIdx = ctx.Manager().FindCmdIdx(doc.name.c_str());
    CLCmdIndex entry = pIdx ? *pIdx : CLCmdManager::MakeCmdIdx(doc.name, 1);
    if (doc.category) {
        if (!m_catIds.count(*doc.category)) {
            ctx.ErrorLine(path + ": category: " + std::to_string(*doc.category) +
                          " does not exist");
            return Result::Refused;
        }
        entry.dwCatID = *doc.category;
    }
    if (doc.file)
        CopyField(entry.szFileName, *doc.file);
    if (doc.indexReserved) {
        entry.dwReserved1 = doc.indexReserved->first;
        entry.dwReserved2 = doc.indexReserved->second;
    }
    RecordOwner rec{new CLCmdRecord};
    CLCmdManager::InitCmdRecord(nullptr, rec.p);
    doc.ToRecord(rec.p);
    bool bWriteFailed = false;
    if (!m_store->Put(entry, rec.p, &reason, &bWriteFailed)) {
        ctx.ErrorLine(path + ": " + reason);
        return bWriteFailed ? Result::WriteFailed : Result::Refused;
    }
    return Result::Loaded;
}

bool Loader::LoadCategories(CliContext& ctx, const std::string& path)
{
    std::string text, reason;
    std::vector<CategoryDoc> cats;
    if (!ReadYamlFile(path, &text, &reason)) {
        ctx.ErrorLine(path + ": " + reason);
        return false;
    }
    if (!CategoryYaml::Read(text, &cats, &reason)) {
        ctx.ErrorLine(path + ": " + reason);
        return false;
    }
    // One walk over the stored categories; when there are new ones, the list
    // is rebuilt in id order, so every add lands at its end: the merge costs
    // one step a category, however the ids interleave.
    CLCmdManager& manager = ctx.Manager();
    std::unordered_map<uint32_t, CLCategory*> stored;
    for (CLCategory* p = manager.GetFirstCat(); p; p = manager.GetNextCat())
        stored.emplace(p->dwID, p);
    std::vector<CLCategory> added;
    for (const CategoryDoc& c : cats) {
        const CLCategory cat = c.ToCategory();
        auto it = stored.find(c.id);
        if (it == stored.end()) {
            added.push_back(cat);
        } else if (std::memcmp(it->second, &cat, sizeof(cat)) != 0) {
            std::memcpy(it->second, &cat, sizeof(cat));
            m_bCatsChanged = true;
        }
    }
    if (added.empty())
        return true;
    for (const auto& [id, pCat] : stored)
        added.push_back(*pCat);
    std::sort(added.begin(), added.end(),
              [](const CLCategory& a, const CLCategory& b) { return a.dwID < b.dwID; });
    manager.ClearCatList();
    for (const CLCategory& cat : added)
        manager.AddCat(&cat);
    m_bCatsChanged = true;
    return true;
}

int Loader::Run(CliContext& ctx, const CliArgs& args)
{
    const std::string folder = args.Positional()[0];
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        ctx.Error("the folder \"" + folder + "\" cannot be read.");
        return kExitFailed;
    }
    // Never write over list files that exist but cannot be loaded.
    if (!LoadOrStart(ctx, true) || !LoadOrStart(ctx, false))
        return kExitFailed;

    m_store = std::make_unique<CLRecordStore>(&ctx.Manager());

    // The files in byte order of their names, so every run loads them alike.
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        std::string name = e.path().filename().string();
        if (name.size() > 5 && name.compare(name.size() - 5, 5, ".yaml") == 0 &&
            name != kCategoriesFile && e.is_regular_file(ec))
            names.push_back(name);
    }
    if (ec) {
        ctx.Error("the folder \"" + folder + "\" cannot be read.");
        return kExitFailed;
    }
    std::sort(names.begin(), names.end());

    const std::string prefix = folder.back() == '/' ? folder : folder + "/";
    int status = kExitOk;
    if (!names.empty() && !CliContext::MakeFolder(CLCmdManager::GetDataFolder())) {
        ctx.Error("the folder \"" + CLCmdManager::GetDataFolder() + "\" cannot be created.");
        return kExitFailed;
    }
    // The categories first, so the records may name the categories it adds.
    if (fs::exists(prefix + kCategoriesFile, ec) && !LoadCategories(ctx, prefix + kCategoriesFile))
        status = kExitFailed;
    for (CLCategory* p = ctx.Manager().GetFirstCat(); p; p = ctx.Manager().GetNextCat())
        m_catIds.insert(p->dwID);
    for (const std::string& name : names) {
        Result r = LoadRecord(ctx, prefix + name, name.substr(0, name.size() - 5));
        if (r == Result::WriteFailed) {
            m_store->Rollback(); // the lists stay as they were, and so does data/
            return kExitFailed;
        }
        if (r == Result::Refused)
            status = kExitFailed;
    }

    // The categories first: an index written without them would name
    // categories that do not exist; categories without the index harm nothing.
    CLCmdManager& manager = ctx.Manager();
    if (m_bCatsChanged && !manager.SaveCatList()) {
        ctx.Error(manager.GetSaveError());
        m_store->Rollback();
        return kExitFailed;
    }
    std::string why;
    if (!m_store->Commit(&why)) {
        ctx.Error(why);
        return kExitFailed;
    }
    return status;
}

int RunLoad(CliContext& ctx, const CliArgs& args)
{
    Loader loader;
    return loader.Run(ctx, args);
}
