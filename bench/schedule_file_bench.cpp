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
#include "data/wccsvexp.h"
#include "data/wccsvimp.h"
#include "schedule/schedule_file.h"

namespace {

namespace fs = std::filesystem;

// A table of N groups of one payment each, paid monthly, with amounts in
// cents, and a folder for its files.
struct Schedule {
    explicit Schedule(const benchmark::State& bs)
        : folder(fs::temp_directory_path() / ("qv_bench_" + std::to_string(::getpid()))),
          file(folder / "myPaySet.txt"),
          groups(bs.range(0)) {
        fs::create_directories(folder);
        qv::DefinePaySetTable(paySet);
        paySet.BeginUpdate();
        for (int k = 1; k <= groups; ++k)
            qv::AppendPayGroup(paySet, {1, k, 100.0 + (k % 997) * 0.37, 1, k % 7});
        paySet.MoveFirst();
        paySet.EndUpdate();
    }
    ~Schedule() { fs::remove_all(folder); }

    fs::path folder;
    fs::path file;
    std::int64_t groups;
    qv::TMemDataSet paySet{"mdsPaySet"};
};

void BM_Export(benchmark::State& bs) {
    Schedule s(bs);
    qv::TCSVExport csx;
    csx.DataSet = &s.paySet;
    csx.OutputFile = s.file.string();
    for (auto _ : bs) benchmark::DoNotOptimize(csx.Execute());
    bs.SetItemsProcessed(bs.iterations() * s.groups);
}

void BM_Import(benchmark::State& bs) {
    Schedule s(bs);
    qv::SaveData(s.paySet, {qv::Interval::Monthly, 50000.0}, s.file);
    qv::TCSVImport csi;
    csi.DataSet = &s.paySet;
    csi.InputFile = s.file.string();
    for (auto _ : bs) {
        qv::EmptyTable(s.paySet);
        benchmark::DoNotOptimize(csi.Execute());
    }
    bs.SetItemsProcessed(bs.iterations() * s.groups);
}

void BM_SaveData(benchmark::State& bs) {
    Schedule s(bs);
    for (auto _ : bs)
        benchmark::DoNotOptimize(qv::SaveData(s.paySet, {qv::Interval::Monthly, 50000.0}, s.file));
    bs.SetItemsProcessed(bs.iterations() * s.groups);
}

void BM_LoadData(benchmark::State& bs) {
    Schedule s(bs);
    qv::SaveData(s.paySet, {qv::Interval::Monthly, 50000.0}, s.file);
    qv::LoanState state;
    for (auto _ : bs)
        benchmark::DoNotOptimize(qv::LoadData(state.loan, state.regular, s.paySet, s.file));
    bs.SetItemsProcessed(bs.iterations() * s.groups);
}

}  // namespace

BENCHMARK(BM_Export)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Import)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveData)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadData)->Arg(485)->Arg(10'000)->Unit(benchmark::kMicrosecond);
