#include "LoadCommand.h"

#include "CLRecordUtil.h"
#include "CategoryYaml.h"
#include "CliContext.h"
#include "Latin1Text.h"
#include "RecordDoc.h"
#include "RecordYaml.h"
#include "WinUtil.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCategoriesFile = "categories.yaml";

struct RecordOwner
{
    CLCmdRecord* p;
    ~RecordOwner() { CLCmdManager::FreeCmdRecord(p); }
};

} // namespace

std::string LoadCommand::Name() const
{
    return "load";
}

std::string LoadCommand::Synopsis() const
{
    return "load DIR";
}

std::string LoadCommand::Summary() const
{
    return "Save DIR/*.yaml as per-command files under data/.";
}

std::string LoadCommand::Description() const
{
    return "Reads every DIR/*.yaml but categories.yaml, in name order, and saves each\n"
           "as its per-command file under data/ (created when missing). A command\n"
           "missing from the index is added (category and file name from the file,\n"
           "else 1 and NAME.dat); an entry whose category, file name or reserved\n"
           "values the file gives otherwise is updated. DIR/categories.yaml, when\n"
           "present, adds missing categories and renames existing ones. cldict.dat\n"
           "and clcat.dat are written only when they change.\n"
           "\n"
           "A file that breaks a limit, names an unsafe file, is not named after its\n"
           "command or holds a character above U+00FF is reported as \"FILE: reason\"\n"
           "and skipped; the exit status is then 1. Run \"build\" afterwards to\n"
           "update clcmd.dat.\n";
}

bool LoadCommand::LoadOrStart(CliContext& ctx, bool bIndex)
{
    CLCmdManager& manager = ctx.Manager();
    const std::string path = bIndex ? manager.GetCmdIdxFileName() : manager.GetCatFileName();
    std::error_code ec;
    if (!fs::exists(path, ec))
        return true; // a new home: the list starts empty
    return bIndex ? ctx.LoadIndex() : ctx.LoadCategories();
}

bool LoadCommand::LoadRecord(CliContext& ctx, const std::string& path, const std::string& stem)
{
    std::string text, reason;
    RecordDoc doc;
    if (!CliContext::ReadFile(path, &text)) {
        ctx.ErrorLine(path + ": cannot be read");
        return false;
    }
    if (!RecordYaml::Read(text, &doc, &reason)) {
        ctx.ErrorLine(path + ": " + reason);
        return false;
    }
    // The file name is the name written as Latin-1 or as UTF-8 bytes.
    if (stem != doc.name && stem != Latin1Text::ToUtf8(doc.name)) {
        ctx.ErrorLine(path + ": the name \"" + doc.name + "\" is not the file's name");
        return false;
    }

    CLCmdManager& manager = ctx.Manager();
    CLCmdIndex* pIdx = manager.FindCmdIdx(doc.name.c_str());
    CLCmdIndex entry{};
    if (pIdx) {
        std::memcpy(&entry, pIdx, sizeof(entry));
        entry.pRec = nullptr;
    } else {
        CopyField(entry.szName, doc.name);
        CopyField(entry.szFileName, doc.name + ".dat");
        entry.dwPos = kNoRecordPos;
        entry.dwCatID = 1;
    }
    if (doc.category)
        entry.dwCatID = *doc.category;
    if (doc.file)
        CopyField(entry.szFileName, *doc.file);
    if (doc.indexReserved) {
        entry.dwReserved1 = doc.indexReserved->first;
        entry.dwReserved2 = doc.indexReserved->second;
    }

    // The record goes to the entry's new file; the entry changes only once it is saved.
    RecordOwner rec{new CLCmdRecord};
    CLCmdManager::InitCmdRecord(&entry, rec.p);
    doc.ToRecord(rec.p);
    if (!manager.SaveCmdRecord(rec.p)) {
        ctx.ErrorLine(path + ": the file \"" + manager.GetCmdRecordFileName(&entry) +
                      "\" cannot be written");
        return false;
    }
    if (!pIdx) {
        manager.AddCmdIdx(&entry);
        m_bIndexChanged = true;
    } else if (std::memcmp(pIdx->szFileName, entry.szFileName, sizeof(entry.szFileName)) != 0 ||
               pIdx->dwCatID != entry.dwCatID || pIdx->dwReserved1 != entry.dwReserved1 ||
               pIdx->dwReserved2 != entry.dwReserved2) {
        std::memcpy(pIdx->szFileName, entry.szFileName, sizeof(entry.szFileName));
        pIdx->dwCatID = entry.dwCatID;
        pIdx->dwReserved1 = entry.dwReserved1;
        pIdx->dwReserved2 = entry.dwReserved2;
        m_bIndexChanged = true;
    }
    return true;
}

bool LoadCommand::LoadCategories(CliContext& ctx, const std::string& path)
{
    std::string text, reason;
    std::vector<CategoryDoc> cats;
    if (!CliContext::ReadFile(path, &text)) {
        ctx.ErrorLine(path + ": cannot be read");
        return false;
    }
    if (!CategoryYaml::Read(text, &cats, &reason)) {
        ctx.ErrorLine(path + ": " + reason);
        return false;
    }
    CLCmdManager& manager = ctx.Manager();
    for (const CategoryDoc& c : cats) {
        CLCategory cat{};
        cat.dwID = c.id;
        CopyField(cat.szName, c.name);
        CopyField(cat.szFileName, c.file);
        CLCategory* pCat = manager.FindCat(c.id);
        if (!pCat) {
            manager.AddCat(&cat);
            m_bCatsChanged = true;
        } else if (std::memcmp(pCat, &cat, sizeof(cat)) != 0) {
            std::memcpy(pCat, &cat, sizeof(cat));
            m_bCatsChanged = true;
        }
    }
    return true;
}

int LoadCommand::Run(CliContext& ctx, const CliArgs& args)
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
    for (const std::string& name : names)
        if (!LoadRecord(ctx, prefix + name, name.substr(0, name.size() - 5)))
            status = kExitFailed;
    if (fs::exists(prefix + kCategoriesFile, ec) && !LoadCategories(ctx, prefix + kCategoriesFile))
        status = kExitFailed;

    CLCmdManager& manager = ctx.Manager();
    if (m_bIndexChanged && !manager.SaveCmdIdxList()) {
        ctx.Error("the file \"" + manager.GetCmdIdxFileName() + "\" cannot be written.");
        status = kExitFailed;
    }
    if (m_bCatsChanged && !manager.SaveCatList()) {
        ctx.Error("the file \"" + manager.GetCatFileName() + "\" cannot be written.");
        status = kExitFailed;
    }
    return status;
}
