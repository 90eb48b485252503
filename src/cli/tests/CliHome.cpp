#include "CliHome.h"

#include "CLCmdManager.h"
#include "CLRecordUtil.h"
#include "RecordMaker.h"

#include <gtest/gtest.h>

const char* const kSmallList = "[01] - Libraries\n"
                               "CRTLIB - Create Library\n"
                               "DLTLIB - Delete Library\n"
                               "[02] - Files\n"
                               "CPYF - Copy File\n"
                               "DSPFD - Display File Description\n";

void CliHome::Import(const std::string& list) const
{
    WriteText(File("list.txt"), list);
    CliResult r = Run({"import", "--records", File("list.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
}

void CliHome::Build() const
{
    CliResult r = Run({"build"});
    ASSERT_EQ(r.status, 0) << r.err;
}

void CliHome::Save(const RecordDoc& doc, const std::string& file) const
{
    CLCmdIndex idx = MakeIdx(doc.name);
    if (!file.empty())
        CopyField(idx.szFileName, file);
    RecordPtr rec = NewRecord(&idx);
    doc.ToRecord(rec.get());
    CLCmdManager manager;
    ASSERT_TRUE(manager.SaveCmdRecord(rec.get())) << doc.name;
}

std::vector<CLCmdIndex> CliHome::Index() const
{
    CLCmdManager manager;
    EXPECT_TRUE(manager.LoadCmdIdxList());
    std::vector<CLCmdIndex> entries;
    for (CLCmdIndex* p = manager.GetFirstCmdIdx(); p; p = manager.GetNextCmdIdx())
        entries.push_back(*p);
    return entries;
}

void CliHome::WriteIndex(const std::vector<CLCmdIndex>& entries) const
{
    ByteWriter w;
    w.str("CLDICT").dw(10000).dw(static_cast<uint32_t>(entries.size()));
    for (const CLCmdIndex& e : entries)
        w.str(FieldText(e.szName))
            .str(FieldText(e.szFileName))
            .dw(e.dwPos)
            .dw(e.dwLength)
            .dw(e.dwCatID)
            .dw(e.dwReserved1)
            .dw(e.dwReserved2);
    WriteBytes(File("cldict.dat"), w.bytes());
}

void CliHome::WriteCategories(const std::vector<CLCategory>& cats) const
{
    ByteWriter w;
    w.str("CLCAT").dw(10000).dw(static_cast<uint32_t>(cats.size()));
    for (const CLCategory& c : cats)
        w.dw(c.dwID).str(FieldText(c.szName)).str(FieldText(c.szFileName));
    WriteBytes(File("clcat.dat"), w.bytes());
}
