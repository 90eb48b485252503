// Speed of the core at scale: loading the lists, importing, building and
// reading records. Run with `make bench`; never part of the test run.
#include "BenchRecords.h"
#include "CLCmdManager.h"
#include "CLFileAnalyzer.h"
#include "CLRecordUtil.h"
#include "CLSearchIndex.h"
#include "CxFile.h"
#include "WinUtil.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A program folder under the temporary folder, removed afterwards.
struct Home
{
    std::string path;
    Home()
    {
        path = (fs::temp_directory_path() / ("zentrivo-bench-" + std::to_string(::getpid())))
                   .string() +
               "/";
        fs::create_directories(path + "data");
        SetAppPath(path);
    }
    ~Home()
    {
        SetAppPath("");
        fs::remove_all(path);
    }
};

std::vector<std::string> Names(size_t n)
{
    std::vector<std::string> names;
    names.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        char name[24];
        std::snprintf(name, sizeof name, "C%07zu", i);
        names.push_back(name);
    }
    return names;
}

// An index file of n entries, written by the manager (so in name order).
void WriteIndex(size_t n)
{
    CLCmdManager m;
    for (const std::string& name : Names(n)) {
        CLCmdIndex e{};
        CopyField(e.szName, name);
        CopyField(e.szFileName, name + ".dat");
        m.AddCmdIdx(&e);
    }
    m.SaveCmdIdxList();
}

void WriteList(const std::string& path, size_t n, bool bShuffle)
{
    std::vector<std::string> names = Names(n);
    if (bShuffle)
        std::shuffle(names.begin(), names.end(), std::mt19937(42));
    std::ofstream out(path);
    out << "[01] - Everything\n";
    for (const std::string& name : names)
        out << name << " - A command with a one-line description\n";
}

void LoadIndex(benchmark::State& state)
{
    Home home;
    WriteIndex(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        CLCmdManager m;
        benchmark::DoNotOptimize(m.LoadCmdIdxList());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadIndex)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// An index stored in reverse name order: each entry would go before all the
// others, the worst case of inserting one by one.
void LoadReversedIndex(benchmark::State& state)
{
    Home home;
    const size_t n = static_cast<size_t>(state.range(0));
    CxFile out;
    out.OpenReplace(AppFile("cldict.dat").c_str());
    out.WriteString("CLDICT");
    out.WriteDWORD(10000);
    out.WriteDWORD(static_cast<uint32_t>(n));
    std::vector<std::string> names = Names(n);
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        out.WriteString(*it);
        out.WriteString(*it + ".dat");
        for (uint32_t v : {kNoRecordPos, 0u, 1u, 0u, 0u})
            out.WriteDWORD(v);
    }
    out.Commit();
    for (auto _ : state) {
        CLCmdManager m;
        benchmark::DoNotOptimize(m.LoadCmdIdxList());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadReversedIndex)->Arg(100000)->Unit(benchmark::kMillisecond);

void Import(benchmark::State& state)
{
    Home home;
    WriteList(home.path + "list.txt", static_cast<size_t>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        CLFileAnalyzer analyzer;
        benchmark::DoNotOptimize(analyzer.AnalyzeFile((home.path + "list.txt").c_str()));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Import)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

// Joining n per-command files of a typical size into clcmd.dat.
void Build(benchmark::State& state)
{
    Home home;
    size_t n = static_cast<size_t>(state.range(0));
    WriteIndex(n);
    std::string record(2000, 'r');
    for (const std::string& name : Names(n))
        std::ofstream(home.path + "data/" + name + ".dat", std::ios::binary) << record;
    CLCmdManager m;
    m.LoadCmdIdxList();
    for (auto _ : state) {
        CLFileAnalyzer builder;
        builder.SetCmdManager(&m);
        benchmark::DoNotOptimize(builder.BuildDataFile());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Build)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Reading records from the joined file, as browsing does.
void ReadRecords(benchmark::State& state)
{
    Home home;
    size_t n = 10000;
    WriteIndex(n);
    CLCmdManager m;
    m.LoadCmdIdxList();
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx()) {
        CLCmdRecord rec;
        CLCmdManager::InitCmdRecord(p, &rec);
        CopyField(rec.szName, p->szName);
        CopyField(rec.szDesc, "A command with a one-line description");
        SetText(rec.pszDetail, std::string(1500, 'd'));
        m.SaveCmdRecord(&rec);
        delete[] rec.pszDetail;
    }
    CLFileAnalyzer builder;
    builder.SetCmdManager(&m);
    builder.BuildDataFile();
    m.SetOptions(CLOptions{kRunModeRead});
    std::vector<CLCmdIndex*> entries;
    for (CLCmdIndex* p = m.GetFirstCmdIdx(); p; p = m.GetNextCmdIdx())
        entries.push_back(p);
    size_t i = 0;
    for (auto _ : state) {
        CLCmdIndex* p = entries[i++ % entries.size()];
        CLCmdRecord rec;
        CLCmdManager::InitCmdRecord(p, &rec);
        benchmark::DoNotOptimize(m.ReadCmdRecord(&rec));
        delete[] rec.pszDetail;
    }
}
BENCHMARK(ReadRecords)->Unit(benchmark::kMicrosecond);

// The search index over 100,000 synthetic commands of a few hundred bytes of
// text each: the time of one query once indexed, and the index's bytes as a
// share of the text it covers (reported as counters).
void SearchIndex(benchmark::State& state)
{
    Home home;
    const size_t n = 100000;
    WriteIndex(n);
    CLCmdManager m;
    m.LoadCmdIdxList();
    SaveBenchRecords(m);
    m.SetOptions(CLOptions{kRunModeEdit});
    CLSearchIndex index;
    index.Build(m);
    const char* queries[] = {"spooled file", "unique99999", "kw42", "*libl", "job q", "c00012"};
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.Find(queries[i++ % 6], 200));
    state.counters["index_per_text"] = double(index.MemoryBytes()) / double(index.TextBytes());
}
BENCHMARK(SearchIndex)->Unit(benchmark::kMillisecond)->Iterations(60);

} // namespace
