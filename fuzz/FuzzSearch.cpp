// Searches a small reference for arbitrary queries, through the index and
// through the scan; both must give the same commands.
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLRecordUtil.h"
#include "CLSearchIndex.h"
#include "CLSearchScan.h"
#include "FuzzHome.h"

#include <cstdint>
#include <string>

namespace {

CLCmdManager& Reference()
{
    static CLCmdManager* m = [] {
        FuzzHome();
        auto* p = new CLCmdManager;
        const char* names[] = {"CRTLIB", "DSPLIB", "WRKSPLF", "SNDMSG", "A", "CPF2110"};
        for (const char* name : names) {
            CLCmdIndex e{};
            CopyField(e.szName, name);
            CopyField(e.szFileName, std::string(name) + ".dat");
            e.dwPos = kNoRecordPos;
            CLCmdIndex* pIdx = p->AddCmdIdx(&e);
            CLCmdRecord rec;
            CLCmdManager::InitCmdRecord(pIdx, &rec);
            CopyField(rec.szName, name);
            CopyField(rec.szDesc, std::string("Title of ") + name + " *LIBL &1 \xE9t\xE9");
            CLCmdError err{};
            CopyField(err.szCode, "CPF2110");
            CopyField(err.szText, "Library not found.");
            rec.pErrors = &err;
            rec.dwErrorCount = 1;
            p->SaveCmdRecord(&rec);
        }
        CLFileAnalyzer builder;
        builder.SetCmdManager(p);
        builder.BuildDataFile();
        return p;
    }();
    return *m;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CLSearchIndex* index = [] {
        auto* i = new CLSearchIndex;
        i->Build(Reference());
        return i;
    }();
    std::string query(reinterpret_cast<const char*>(data), size);
    CLSearch::Results a = index->Find(query, 50), b;
    std::string why;
    CLSearchScan::Run(Reference(), query, 50, &b, &why);
    if (a.hits.size() != b.hits.size())
        __builtin_trap();
    for (size_t i = 0; i < a.hits.size(); ++i)
        if (a.hits[i].name != b.hits[i].name || a.hits[i].where != b.hits[i].where)
            __builtin_trap();
    return 0;
}
