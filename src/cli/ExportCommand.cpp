#include "CliCommands.h"

#include "CLRecordUtil.h"
#include "CategoryYaml.h"
#include "CliContext.h"
#include "RecordDoc.h"
#include "RecordYaml.h"

int RunExport(CliContext& ctx, const CliArgs& args)
{
    std::string folder = args.Positional()[0];
    if (!ctx.LoadIndex())
        return kExitFailed;
    int status = kExitOk;
    CLCmdManager& manager = ctx.Manager();
    bool bCats = ctx.LoadCategories();
    if (!bCats)
        status = kExitFailed;
    if (!CliContext::MakeFolder(folder)) {
        ctx.Error("the folder \"" + folder + "\" cannot be created.");
        return kExitFailed;
    }
    if (folder.back() != '/')
        folder += '/';

    for (CLCmdIndex* p = manager.GetFirstCmdIdx(); p; p = manager.GetNextCmdIdx()) {
        const std::string name = FieldText(p->szName);
        if (!CLCmdManager::IsSafeFileName(p->szName)) {
            ctx.Error("the command name \"" + name + "\" cannot name a file; not exported.");
            status = kExitFailed;
            continue;
        }
        if (name == "categories") {
            ctx.Error("the command \"categories\" would overwrite categories.yaml; not exported.");
            status = kExitFailed;
            continue;
        }
        bool bRead = false;
        const CLCmdRecord* pRec = ctx.AttachRecord(p, &bRead);
        if (!bRead)
            ctx.Error(name + ": the record cannot be read; only the index entry is exported.");
        else if (FieldText(pRec->szName) != name)
            ctx.Error(name + ": the record is named \"" + FieldText(pRec->szName) +
                      "\"; exported under the entry's name.");
        std::string yaml = RecordYaml::Write(RecordDoc::FromEntry(*p, bRead ? pRec : nullptr));
        CLCmdManager::DetachCmdRecord(p);
        const std::string path = folder + name + ".yaml";
        if (!CliContext::WriteFile(path, yaml)) {
            ctx.Error("the file \"" + path + "\" cannot be written.");
            status = kExitFailed;
        }
    }

    if (bCats) {
        std::vector<CategoryDoc> cats;
        for (CLCategory* p = manager.GetFirstCat(); p; p = manager.GetNextCat())
            cats.push_back({p->dwID, FieldText(p->szName), FieldText(p->szFileName)});
        const std::string path = folder + "categories.yaml";
        if (!CliContext::WriteFile(path, CategoryYaml::Write(cats))) {
            ctx.Error("the file \"" + path + "\" cannot be written.");
            status = kExitFailed;
        }
    }
    return status;
}
