// Time of writing and reading schedule files: the delimited-text export and
// import of a table of N groups, and the whole save and load of a schedule
// (header, staging table, atomic write with its flush to the disk, checks,
// regular-schedule pass). N is 485 (a schedule of single payments, the most
// the matrix holds) and 10,000 (a file far beyond any schedule).
//
// Run with --benchmark_repetitions=9 and read the medians: the export and the
// save include a flush to the disk, whose time varies from run to run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/loan_state.h"
#include "core/pay_group.h"
#include "data/memdset.h"
#include "data/schedule_file.h"
#include "data/wccsvexp.h"
#include "data/wccsvimp.h"

namespace {

namespace fs = std::filesystem;

struct Files {
    Files() : folder(fs::temp_directory_path() / ("qv_bench_" + std::to_string(::getpid()))) {
        fs::create_directories(folder);
    }
    ~Files() { fs::remove_all(folder); }
    fs::path folder;
};

// N groups of one payment each, paid monthly, with amounts in cents.
void Fill(qv::TMemDataSet& paySet, int groups) {
    qv::DefinePaySetTable(paySet);
    paySet.BeginUpdate();
    for (int k = 1; k <= groups; ++k)
        qv::AppendPayGroup(paySet, {1, k, 100.0 + (k % 997) * 0.37, 1, k % 7});
    paySet.MoveFirst();
    paySet.EndUpdate();
}

void BM_Export(benchmark::State& bs) {
    Files files;
    qv::TMemDataSet paySet("mdsPaySet");
    Fill(paySet, static_cast<int>(bs.range(0)));
    qv::TCSVExport csx;
    csx.DataSet = &paySet;
    csx.OutputFile = (files.folder / "PaySet.txt").string();
    for (auto _ : bs) benchmark::DoNotOptimize(csx.Execute());
    bs.SetItemsProcessed(bs.iterations() * bs.range(0));
}

void BM_Import(benchmark::State& bs) {
    Files files;
    qv::TMemDataSet paySet("mdsPaySet");
    Fill(paySet, static_cast<int>(bs.range(0)));
    qv::TCSVExport csx;
    csx.DataSet = &paySet;
    csx.OutputFile = (files.folder / "PaySet.txt").string();
    csx.Execute();
    qv::TCSVImport csi;
    csi.DataSet = &paySet;
    csi.InputFile = csx.OutputFile;
    for (auto _ : bs) {
        qv::EmptyTable(paySet);
        benchmark::DoNotOptimize(csi.Execute());
    }
    bs.SetItemsProcessed(bs.iterations() * bs.range(0));
}

void BM_SaveData(benchmark::State& bs) {
    Files files;
    qv::TMemDataSet paySet("mdsPaySet");
    Fill(paySet, static_cast<int>(bs.range(0)));
    const fs::path file = files.folder / "myPaySet.txt";
    for (auto _ : bs) benchmark::DoNotOptimize(qv::SaveData(paySet, {1, 50000.0}, file));
    bs.SetItemsProcessed(bs.iterations() * bs.range(0));
}

void BM_LoadData(benchmark::State& bs) {
    Files files;
    qv::TMemDataSet paySet("mdsPaySet");
    Fill(paySet, static_cast<int>(bs.range(0)));
    const fs::path file = files.folder / "myPaySet.txt";
    qv::SaveData(paySet, {1, 50000.0}, file);
    qv::LoanState state;
    for (auto _ : bs) benchmark::DoNotOptimize(qv::LoadData(state, paySet, file));
    bs.SetItemsProcessed(bs.iterations() * bs.range(0));
}

}  // namespace

BENCHMARK(BM_Export)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Import)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveData)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadData)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
