// The records the benchmarks search: for each command of the manager's index,
// a two-word title, a detail of forty words and one of its own
// ("UniqueK."), a parameter every command has (OBJ) and one of 500 keywords
// (KW0 .. KW499), saved as the run mode says. The same seed each time.
#ifndef BENCHRECORDS_H
#define BENCHRECORDS_H

#include "CLCmdManager.h"
#include "CLRecordUtil.h"

#include <random>
#include <string>

inline void SaveBenchRecords(CLCmdManager& m)
{
    std::mt19937 rng(7);
    const char* words[] = {"library", "job",     "queue",   "spooled", "file",
                           "object",  "message", "user",    "profile", "system",
                           "value",   "journal", "save",    "restore", "output",
                           "printer", "device",  "network", "program", "module"};
    size_t k = 0;
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx(), ++k) {
        CLCmdRecord rec;
        CLCmdManager::InitCmdRecord(p, &rec);
        CopyField(rec.szName, p->szName);
        CopyField(rec.szDesc, std::string(words[rng() % 20]) + " " + words[rng() % 20]);
        std::string detail;
        for (int w = 0; w < 40; ++w)
            detail += std::string(words[rng() % 20]) + (w % 7 == 6 ? ".\r\n" : " ");
        SetText(rec.pszDetail, detail + "Unique" + std::to_string(k) + ".");
        CLCmdParam params[2] = {};
        CopyField(params[0].szKeyword, "OBJ");
        CopyField(params[0].szDesc, "Object");
        CopyField(params[1].szKeyword, "KW" + std::to_string(k % 500));
        CopyField(params[1].szChoices, "Name, *LIBL, *CURLIB");
        rec.pParams = params;
        rec.dwParamCount = 2;
        m.SaveCmdRecord(&rec);
        delete[] rec.pszDetail;
    }
}

#endif
