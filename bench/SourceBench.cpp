// Speed of the CL source tools: lint of a long member, the language
// server's diagnostics after an edit, hover and completion. Run with
// `make bench`; never part of the test run.
#include "CLCmdManager.h"
#include "CLLint.h"
#include "CLRecordUtil.h"
#include "CLReferenceLookup.h"
#include "LspServer.h"
#include "WinUtil.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A program folder with a few records, read from the per-command files.
struct Reference
{
    std::string path;
    CLCmdManager manager{CLOptions{kRunModeEdit}};
    Reference()
    {
        path = (fs::temp_directory_path() / ("zentrivo-srcbench-" + std::to_string(::getpid())))
                   .string() +
               "/";
        fs::create_directories(path + "data");
        SetAppPath(path);
        Add("CRTLIB", {{"LIB", "Name", "Required, Positional 1"},
                       {"TYPE", "*PROD, *TEST", "Optional, Positional 2"},
                       {"TEXT", "Character value, *BLANK", "Optional"}});
        Add("CHGVAR", {{"VAR", "CL variable name", "Required, Positional 1"},
                       {"VALUE", "Character value", "Required, Positional 2"}});
        Add("SNDPGMMSG", {{"MSG", "Character value", "Optional, Positional 1"},
                          {"TOPGMQ", "*PRV, *EXT", "Optional"},
                          {"MSGTYPE", "*INFO, *COMP, *ESCAPE", "Optional"}});
        for (const char* name : {"PGM", "ENDPGM", "DCL", "IF", "DO", "ENDDO", "MONMSG"})
            Add(name, {});
    }
    ~Reference()
    {
        SetAppPath("");
        fs::remove_all(path);
    }
    void Add(const std::string& name, const std::vector<std::vector<std::string>>& params)
    {
        CLCmdIndex e{};
        CopyField(e.szName, name);
        CopyField(e.szFileName, name + ".dat");
        CLCmdIndex* p = manager.AddCmdIdx(&e);
        auto* rec = new CLCmdRecord;
        CLCmdManager::InitCmdRecord(p, rec);
        CopyField(rec->szName, name);
        rec->dwParamCount = static_cast<uint32_t>(params.size());
        rec->pParams = params.empty() ? nullptr : new CLCmdParam[params.size()]();
        for (size_t i = 0; i < params.size(); ++i) {
            CopyField(rec->pParams[i].szKeyword, params[i][0]);
            CopyField(rec->pParams[i].szChoices, params[i][1]);
            CopyField(rec->pParams[i].szNote, params[i][2]);
        }
        manager.SaveCmdRecord(rec);
        CLCmdManager::FreeCmdRecord(rec);
    }
};

// A member of about n lines: declarations, then groups of ordinary statements.
std::string Member(int n)
{
    std::string s = "             PGM        PARM(&LIB)\n"
                    "             DCL        VAR(&LIB) TYPE(*CHAR) LEN(10)\n"
                    "             DCL        VAR(&N) TYPE(*DEC) LEN(5 0)\n";
    for (int i = 3; i + 6 <= n; i += 6)
        s += "             CRTLIB     LIB(&LIB) TYPE(*TEST) TEXT('Work library')\n"
             "             MONMSG     MSGID(CPF2111) EXEC(DO)\n"
             "             CHGVAR     VAR(&N) VALUE(&N + 1)\n"
             "             ENDDO\n"
             "             IF         COND(&N *GT 10) THEN(SNDPGMMSG MSG('Many') +\n"
             "                          TOPGMQ(*EXT))\n";
    return s + "             ENDPGM\n";
}

void Lint(benchmark::State& state)
{
    Reference ref;
    const CLLint lint(CLReferenceLookup(&ref.manager));
    const std::string member = Member(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const CLSource src = CLSource::Read(member);
        benchmark::DoNotOptimize(lint.Check(src));
    }
}
BENCHMARK(Lint)->Arg(5000)->Unit(benchmark::kMillisecond);

struct Session
{
    Reference ref;
    LspServer server{&ref.manager, [](const QJsonObject&) {}};
    int version = 1;
    Session(int lines)
    {
        server.Handle(
            {{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", QJsonObject()}});
        server.Handle(
            {{"jsonrpc", "2.0"},
             {"method", "textDocument/didOpen"},
             {"params", QJsonObject{{"textDocument", QJsonObject{{"uri", "file:///m.clle"},
                                                                 {"version", 1},
                                                                 {"text", QString::fromStdString(
                                                                              Member(lines))}}}}}});
    }
    QJsonObject At(int line, int character) const
    {
        return {{"textDocument", QJsonObject{{"uri", "file:///m.clle"}}},
                {"position", QJsonObject{{"line", line}, {"character", character}}}};
    }
};

void DiagnosticsAfterAnEdit(benchmark::State& state)
{
    Session s(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        // One character typed into line 1000 (and typed back over next time).
        const QJsonObject at{{"line", 1000}, {"character", 40}};
        s.server.Handle(
            {{"jsonrpc", "2.0"},
             {"method", "textDocument/didChange"},
             {"params",
              QJsonObject{{"textDocument",
                           QJsonObject{{"uri", "file:///m.clle"}, {"version", ++s.version}}},
                          {"contentChanges", QJsonArray{QJsonObject{
                                                 {"range", QJsonObject{{"start", at}, {"end", at}}},
                                                 {"text", "X"}}}}}}});
    }
}
BENCHMARK(DiagnosticsAfterAnEdit)->Arg(2000)->Unit(benchmark::kMillisecond);

void HoverAndCompletion(benchmark::State& state)
{
    Session s(2000);
    int id = 10;
    for (auto _ : state) {
        s.server.Handle({{"jsonrpc", "2.0"},
                         {"id", ++id},
                         {"method", "textDocument/hover"},
                         {"params", s.At(1001, 38)}});
        s.server.Handle({{"jsonrpc", "2.0"},
                         {"id", ++id},
                         {"method", "textDocument/completion"},
                         {"params", s.At(1001, 60)}});
    }
}
BENCHMARK(HoverAndCompletion)->Unit(benchmark::kMillisecond);

} // namespace
