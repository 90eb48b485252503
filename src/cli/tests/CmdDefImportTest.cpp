// Command definitions from IBM i (the XML of the Retrieve Command Definition
// API): their mapping to parameters, the merge into a reference, and
// documents that must be refused without harm.
#include "CLCmdDefImport.h"
#include "CLFormat.h"
#include "CliHome.h"
#include "CmdDefXml.h"
#include "RecordMaker.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// DCL as IBM documents it: prompted VAR, TYPE, STG, LEN, VALUE (STG comes
// third in the prompt but is defined later), four positional parameters,
// and one constant that is never prompted.
const char* const kDcl = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE QcdCLCmd SYSTEM "QcdCLCmd.dtd">
<QcdCLCmd DTDVersion="1">
<Cmd CmdName="DCL" CmdLib="__LIBL" Prompt="Declare CL Variable" MaxPos="4">
 <Parm Kwd="VAR" PosNbr="1" KeyParm="NO" Type="VARNAME" Min="1" Max="1" Prompt="CL variable name" Len="11"/>
 <Parm Kwd="HIDDEN" PosNbr="6" Constant="X" Type="CHAR" Len="1" Prompt="Never prompted"/>
 <Parm Kwd="TYPE" PosNbr="2" KeyParm="NO" Type="CHAR" Min="1" Max="1" Prompt="Type" Rstd="YES">
  <Values><Value Val="*DEC"/><Value Val="*CHAR"/><Value Val="*LGL"/></Values>
 </Parm>
 <Parm Kwd="LEN" PosNbr="4" Type="ELEM" Min="0" Max="1" Prompt="Length">
  <Elem Type="DEC" Prompt="Length" Len="5 0"/>
  <Elem Type="DEC" Prompt="Decimal positions" Len="2 0" RangeMinVal="0" RangeMaxVal="9"/>
 </Parm>
 <Parm Kwd="VALUE" PosNbr="5" Type="CHAR" Min="0" Max="1" Prompt="Initial value" Len="5000"/>
 <Parm Kwd="STG" PosNbr="3" Type="CHAR" Min="0" Max="1" Prompt="Storage" Dft="*AUTO" Rstd="YES">
  <Values><Value Val="*AUTO"/><Value Val="*DEFINED"/><Value Val="*BASED"/></Values>
  <PmtCtl Ctl="X"/>
 </Parm>
 <Dep CtlKwd="TYPE"/>
</Cmd>
</QcdCLCmd>
)";

// A shop's own command: a qualified object with the library part's special
// values, single values, a key parameter, a number with a range and a default
// that is none of the listed values.
const char* const kCrtFoo = R"(<?xml version="1.0"?>
<QcdCLCmd>
<Cmd CmdName="CRTFOO" Prompt="Create Foo Object">
 <Parm Kwd="FOO" PosNbr="1" Type="QUAL1" Min="1" Prompt="Foo object" KeyParm="YES">
  <Qual Type="NAME" Prompt="Foo object"/>
  <Qual Type="NAME" Prompt="Library" Dft="*CURLIB">
   <SpcVal><Value Val="*LIBL"/><Value Val="*CURLIB"/></SpcVal>
  </Qual>
 </Parm>
 <Parm Kwd="SIZE" PosNbr="2" Type="INT4" Prompt="Size" Dft="100" RangeMinVal="1" RangeMaxVal="9999">
  <SngVal><Value Val="*NOMAX"/></SngVal>
 </Parm>
 <Parm Kwd="TEXT" PosNbr="3" Type="CHAR" Prompt="Text 'description'" Dft="*BLANK">
  <SpcVal><Value Val="*BLANK"/></SpcVal>
 </Parm>
 <Parm Kwd="AUT" PosNbr="4" Type="NAME" Prompt="Authority" Dft="*LIBCRTAUT">
  <SpcVal><Value Val="*CHANGE"/><Value Val="*ALL"/></SpcVal>
 </Parm>
</Cmd>
</QcdCLCmd>
)";

CLCmdDefinition Read(const std::string& xml)
{
    CLCmdDefinition def;
    std::string why;
    EXPECT_TRUE(CmdDefXml::ReadText(xml, &def, &why)) << why;
    return def;
}

std::string Refusal(const std::string& xml)
{
    CLCmdDefinition def;
    std::string why;
    EXPECT_FALSE(CmdDefXml::ReadText(xml, &def, &why)) << xml.substr(0, 60);
    return why;
}

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

TEST(CmdDefMapping, PromptOrderPositionsAndConstants)
{
    std::vector<CLCmdParam> params = CLCmdDef::Parameters(Read(kDcl));
    std::vector<std::string> keywords, notes;
    for (const CLCmdParam& p : params) {
        keywords.push_back(p.szKeyword);
        notes.push_back(p.szNote);
    }
    EXPECT_EQ(keywords, (std::vector<std::string>{"VAR", "TYPE", "STG", "LEN", "VALUE"}));
    EXPECT_EQ(notes, (std::vector<std::string>{"Required, Positional 1", "Required, Positional 2",
                                               "Optional", "Optional, Positional 3",
                                               "Optional, Positional 4"}));
    EXPECT_STREQ(params[0].szDesc, "CL variable name");
    EXPECT_STREQ(params[0].szChoices, "CL variable name");
    EXPECT_STREQ(params[1].szChoices, "*DEC, *CHAR, *LGL");
    EXPECT_STREQ(params[2].szChoices, "*AUTO (default), *DEFINED, *BASED");
    EXPECT_STREQ(params[3].szChoices,
                 "Element list; length: Decimal number; decimal positions: 0-9");
    EXPECT_STREQ(params[4].szChoices, "Character value");

    // Without MaxPos every prompted parameter is positional.
    CLCmdDefinition def = Read(kDcl);
    def.maxPos = -1;
    EXPECT_STREQ(CLCmdDef::Parameters(def)[2].szNote, "Optional, Positional 5");
    def.maxPos = 0;
    EXPECT_STREQ(CLCmdDef::Parameters(def)[0].szNote, "Required");
}

TEST(CmdDefMapping, ValuesQualifiersKeysAndDefaults)
{
    std::vector<CLCmdParam> params = CLCmdDef::Parameters(Read(kCrtFoo));
    ASSERT_EQ(params.size(), 4u);
    EXPECT_STREQ(params[0].szChoices,
                 "Qualified object name; library: *LIBL, *CURLIB (default), Name");
    EXPECT_STREQ(params[0].szNote, "Required, Key, Positional 1");
    EXPECT_STREQ(params[1].szChoices, "*NOMAX, 1-9999; default: 100");
    EXPECT_STREQ(params[2].szChoices, "*BLANK (default), Character value");
    EXPECT_STREQ(params[2].szDesc, "Text 'description'");
    EXPECT_STREQ(params[3].szChoices, "*CHANGE, *ALL, Name; default: *LIBCRTAUT");
    EXPECT_STREQ(params[3].szNote, "Optional, Positional 4");
}

TEST(CmdDefMapping, TextsFitTheirFieldsAndValuesStayWhole)
{
    std::string values;
    for (int i = 0; i < 60; ++i)
        values += "<Value Val=\"*VALUE" + std::to_string(i) + "\"/>";
    CLCmdDefinition def = Read("<QcdCLCmd><Cmd CmdName=\"BIG\"><Parm Kwd=\"P\" Prompt=\"" +
                               Repeat("Long prompt ", 10) + "\" KeyParm=\"YES\" Min=\"1\">" +
                               "<SpcVal>" + values + "</SpcVal></Parm></Cmd></QcdCLCmd>");
    def.maxPos = 99;
    std::vector<CLCmdParam> params = CLCmdDef::Parameters(def);
    ASSERT_EQ(params.size(), 1u);
    std::string desc = params[0].szDesc, choices = params[0].szChoices;
    EXPECT_EQ(desc.size(), CLFormat::kParamDesc);
    EXPECT_EQ(desc.substr(desc.size() - 3), "...");
    EXPECT_LE(choices.size(), CLFormat::kChoices);
    ASSERT_GT(choices.size(), 3u);
    EXPECT_EQ(choices.substr(choices.size() - 3), "...");
    // The text before "..." is a list of whole values.
    std::string kept = choices.substr(0, choices.size() - 3);
    EXPECT_EQ(kept.find("*VALUE0, *VALUE1, "), 0u);
    size_t last = kept.rfind("*VALUE");
    std::string lastValue = kept.substr(last);
    EXPECT_NE(values.find("\"" + lastValue + "\""), std::string::npos) << lastValue;
    EXPECT_LE(std::string(params[0].szNote).size(), CLFormat::kNote);
}

TEST(CmdDefReader, RefusesWhatIsNoCommandDefinition)
{
    EXPECT_NE(Refusal("CRTLIB LIB(X)").find("line 1"), std::string::npos);
    EXPECT_NE(Refusal(std::string(kDcl).substr(0, 400)).find("line"), std::string::npos);
    EXPECT_NE(Refusal("<html><body/></html>").find("not QcdCLCmd"), std::string::npos);
    EXPECT_NE(Refusal("<QcdCLCmd/>").find("no Cmd"), std::string::npos);
    EXPECT_NE(Refusal("<QcdCLCmd><Cmd CmdName=\"A\"/><Cmd CmdName=\"B\"/></QcdCLCmd>")
                  .find("more than one"),
              std::string::npos);
    EXPECT_FALSE(Refusal(std::string("\x00\x01\xff\xfe<Qcd", 8)).empty());
    EXPECT_FALSE(Refusal("").empty());
    std::string deep = Repeat("<Elem>", 20) + Repeat("</Elem>", 20);
    EXPECT_NE(
        Refusal("<QcdCLCmd><Cmd CmdName=\"A\"><Parm Kwd=\"P\">" + deep + "</Parm></Cmd></QcdCLCmd>")
            .find("nested"),
        std::string::npos);
}

TEST(CmdDefReader, ExpandsNoEntityAndReadsNoOtherFile)
{
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE QcdCLCmd [<!ENTITY a \"aaaaaaaa\">"
                               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
                               "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
                               "<QcdCLCmd><Cmd CmdName=\"A\" Prompt=\"&c;\"/></QcdCLCmd>";
    EXPECT_NE(Refusal(laughs).find("entities"), std::string::npos);
    const std::string external = "<?xml version=\"1.0\"?><!DOCTYPE QcdCLCmd ["
                                 "<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                                 "<QcdCLCmd><Cmd CmdName=\"A\" Prompt=\"&e;\"/></QcdCLCmd>";
    std::string why = Refusal(external);
    EXPECT_NE(why.find("entities"), std::string::npos);
    EXPECT_EQ(why.find("root:"), std::string::npos);
    // An entity that is not declared is no way around it either.
    EXPECT_FALSE(Refusal("<QcdCLCmd><Cmd CmdName=\"A\" Prompt=\"&e;\"/></QcdCLCmd>").empty());
    // The five predefined ones are plain text.
    EXPECT_EQ(
        Read("<QcdCLCmd><Cmd CmdName=\"A\" Prompt=\"A &amp; B &lt;C&gt;\"/></QcdCLCmd>").prompt,
        "A & B <C>");
}

TEST(CmdDefReader, RefusesHugeFilesUnread)
{
    TestHome home;
    const std::string path = home.File("huge.xml");
    WriteText(path, "<QcdCLCmd>");
    std::filesystem::resize_file(path, CmdDefXml::kMaxBytes + 1);
    CLCmdDefinition def;
    std::string why;
    EXPECT_FALSE(CmdDefXml::ReadFile(path, &def, &why));
    EXPECT_NE(why.find("larger than 64 MB"), std::string::npos) << why;
    EXPECT_FALSE(CmdDefXml::ReadFile(home.File("missing.xml"), &def, &why));
    EXPECT_EQ(why, "cannot be read");
}

// --- import-cmd ------------------------------------------------------------------

namespace {

RecordDoc ReadRecord(const CliHome& home, const std::string& name)
{
    (void)home;
    std::vector<CLCmdIndex> index = home.Index();
    auto it = std::find_if(index.begin(), index.end(),
                           [&](const CLCmdIndex& e) { return FieldText(e.szName) == name; });
    EXPECT_NE(it, index.end()) << name;
    if (it == index.end())
        return {};
    CLCmdIndex entry = *it;
    RecordPtr rec = NewRecord(&entry);
    CLCmdManager manager;
    CLCmdManager::ReadInfo info;
    EXPECT_TRUE(manager.ReadCmdRecordFrom(manager.GetCmdRecordFileName(&entry), 0,
                                          CLCmdManager::kWholeFile, rec.get(), &info))
        << info.sWhy;
    return RecordDoc::FromEntry(entry, rec.get());
}

} // namespace

TEST(CliImportCmd, ReplacesParametersAndKeepsEverythingElse)
{
    CliHome home;
    home.Import();
    RecordDoc crtlib;
    crtlib.name = "CRTLIB";
    crtlib.description = "Create Library (our words)";
    crtlib.environment = "Batch and interactive";
    crtlib.detail = "Creates a library.";
    crtlib.examples = "CRTLIB LIB(MYLIB)";
    crtlib.reservedText = "kept";
    crtlib.reservedByte = 7;
    crtlib.parameters = {{"LIB", "Library name", "Name", "Required, Positional 1"},
                         {"OLD", "Gone", "Name", "Optional"}};
    crtlib.errors = {{"CPF2111", "Library &1 already exists."}};
    home.Save(crtlib);

    const std::string xml = R"(<QcdCLCmd><Cmd CmdName="CRTLIB" Prompt="Create Library" MaxPos="2">
        <Parm Kwd="LIB" PosNbr="1" Type="NAME" Min="1" Prompt="Library"/>
        <Parm Kwd="TYPE" PosNbr="2" Type="CHAR" Prompt="Library type" Dft="*PROD" Rstd="YES">
          <Values><Value Val="*PROD"/><Value Val="*TEST"/></Values></Parm>
        </Cmd></QcdCLCmd>)";
    WriteText(home.File("crtlib.xml"), xml);
    WriteText(home.File("crtfoo.xml"), kCrtFoo);
    CliResult r = home.Run(
        {"import-cmd", "--category", "2", home.File("crtlib.xml"), home.File("crtfoo.xml")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LinesOf(r.out),
              (std::vector<std::string>{"CRTLIB: parameters added TYPE; removed OLD; changed LIB",
                                        "CRTFOO: new command, 4 parameters"}));

    RecordDoc after = ReadRecord(home, "CRTLIB");
    RecordDoc expected = crtlib;
    expected.parameters = {
        {"LIB", "Library", "Name", "Required, Positional 1"},
        {"TYPE", "Library type", "*PROD (default), *TEST", "Optional, Positional 2"}};
    expected.category = 1; // its own category stays
    EXPECT_EQ(after, expected);

    RecordDoc foo = ReadRecord(home, "CRTFOO");
    EXPECT_EQ(foo.description, "Create Foo Object");
    EXPECT_EQ(foo.category, 2u);
    EXPECT_EQ(foo.parameters.size(), 4u);
    EXPECT_TRUE(FileExists(home.File("data/CRTFOO.dat")));

    // The same document again changes nothing; the index stays sorted.
    r = home.Run({"import-cmd", home.File("crtlib.xml")});
    EXPECT_EQ(r.out, "CRTLIB: no change\n");
    std::vector<std::string> names;
    for (const CLCmdIndex& e : home.Index())
        names.push_back(FieldText(e.szName));
    EXPECT_EQ(names, (std::vector<std::string>{"CPYF", "CRTFOO", "CRTLIB", "DLTLIB", "DSPFD"}));
    home.Build();
    r = home.Run({"check"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
}

TEST(CliImportCmd, RefusedFilesAreNamedAndOthersGoOn)
{
    CliHome home;
    home.Import();
    const std::vector<CLCmdIndex> before = home.Index();
    const std::string crtlib = ReadText(home.File("data/CRTLIB.dat"));
    struct Case
    {
        const char* file;
        std::string xml;
        const char* reason;
    };
    const Case cases[] = {
        {"text.xml", "CRTLIB LIB(X)", "line 1"},
        {"cut.xml", std::string(kCrtFoo).substr(0, 300), "line"},
        {"root.xml", "<Cmd CmdName=\"CRTLIB\"/>", "not QcdCLCmd"},
        {"binary.xml", std::string("\x7f\x45\x4c\x46\x02\x01\x00\x00", 8), "line"},
        {"external.xml",
         "<!DOCTYPE QcdCLCmd [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
         "<QcdCLCmd><Cmd CmdName=\"CRTLIB\" Prompt=\"&e;\"/></QcdCLCmd>",
         "entities"},
        {"path.xml", "<QcdCLCmd><Cmd CmdName=\"../../X\"/></QcdCLCmd>", "not a CL name"},
        {"kwd.xml",
         "<QcdCLCmd><Cmd CmdName=\"CRTLIB\"><Parm Kwd=\"LIB\"/><Parm Prompt=\"No keyword\"/>"
         "</Cmd></QcdCLCmd>",
         "parameter 2 has no keyword"},
        {"long.xml",
         "<QcdCLCmd><Cmd CmdName=\"CRTLIB\"><Parm Kwd=\"KEYWORDLONGERTHANTEN\"/></Cmd></QcdCLCmd>",
         "at most 10 characters"},
        {"twice.xml",
         "<QcdCLCmd><Cmd CmdName=\"CRTLIB\"><Parm Kwd=\"LIB\"/><Parm "
         "Kwd=\"LIB\"/></Cmd></QcdCLCmd>",
         "appears twice"},
        {"attributes.xml",
         [] {
             // The reader would compare 100,000 attributes with each other.
             std::string xml = "<QcdCLCmd><Cmd CmdName=\"CRTLIB\"><Parm Kwd=\"LIB\"";
             for (int i = 0; i < 100000; ++i)
                 xml += " a" + std::to_string(i) + "=\"x\"";
             return xml + "/></Cmd></QcdCLCmd>";
         }(),
         "more than 256 attributes"},
    };
    std::vector<std::string> args = {"import-cmd"};
    for (const Case& c : cases) {
        WriteText(home.File(c.file), c.xml);
        args.push_back(home.File(c.file));
    }
    WriteText(home.File("good.xml"), kCrtFoo);
    args.push_back(home.File("good.xml"));
    CliResult r = home.Run(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "CRTFOO: new command, 4 parameters\n");
    std::vector<std::string> errors = LinesOf(r.err);
    ASSERT_EQ(errors.size(), std::size(cases)) << r.err;
    for (size_t i = 0; i < errors.size(); ++i) {
        EXPECT_EQ(errors[i].find(home.File(cases[i].file) + ": "), 0u) << errors[i];
        EXPECT_NE(errors[i].find(cases[i].reason), std::string::npos) << errors[i];
    }
    // Nothing of the refused files was written, nothing outside data/.
    EXPECT_EQ(ReadText(home.File("data/CRTLIB.dat")), crtlib);
    EXPECT_EQ(home.Index().size(), before.size() + 1);
    EXPECT_FALSE(FileExists(home.File("X.dat")));
    EXPECT_FALSE(FileExists(home.File("../X.dat")));
    EXPECT_EQ(ListDir(home.File("data")).size(), before.size() + 1);

    // A category that does not exist is refused before anything is read.
    r = home.Run({"import-cmd", "--category", "9", home.File("good.xml")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("category 9 does not exist"), std::string::npos);
    EXPECT_EQ(home.Run({"import-cmd", "--category", "x", home.File("good.xml")}).status, 2);
}
