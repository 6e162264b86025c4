// Loans per second through quorvane-cli's batch path: 100,000 generated
// loans of 12 to 360 monthly payments in one CSV file, read, computed and
// written as CSV records, on one thread and on every core, by "apr" and by
// "check" (which adds the exact Appendix J rate and the verdict). Wall time gives
// the rate (loans_per_second); the process's CPU time over all threads is
// reported beside it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_app.h"
#include "peer/batch_loans.h"

namespace {

constexpr int kLoans = qv::bench::kBatchLoans;

// The batch file, written once and removed when the benchmark ends.
struct BatchFileOnDisk {
    std::string path;
    ~BatchFileOnDisk() { std::filesystem::remove(path); }
};

// The loans bench/peer/run.sh also gives the external peer (batch_loans.h).
const std::string& BatchFile() {
    static const BatchFileOnDisk file{[] {
        const std::string path = (std::filesystem::temp_directory_path() /
                                  ("qv_cli_batch_bench_" + std::to_string(::getpid()) + ".csv"))
                                     .string();
        std::ofstream out(path);
        qv::bench::WriteBatchLoans(out);
        return path;
    }()};
    return file.path;
}

// Writes nowhere, as fast as it can.
class Discard : public std::streambuf {
  protected:
    int_type overflow(int_type c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_CliBatch(benchmark::State& state) {
    const std::string file = BatchFile();
    const auto jobs = static_cast<unsigned>(state.range(0));
    const bool check = state.range(1) != 0;
    Discard discard;
    std::ostream out(&discard);
    std::ostream err(&discard);
    std::vector<std::string> args{"quorvane-cli", check ? "check" : "apr", "--format", "csv",
                                  "--jobs",       std::to_string(jobs)};
    // Most loans are then not accurate, which only sets the exit status.
    if (check) args.insert(args.end(), {"--disclosed-apr", "10"});
    args.push_back(file);
    for (auto _ : state) {
        const int status = qv::cli::RunCli(args, out, err, qv::cli::CliEnvironment{false, jobs});
        if (status != qv::cli::kExitOk && status != qv::cli::kExitFailed)
            state.SkipWithError("the batch did not compute");
    }
    state.counters["loans_per_second"] =
        benchmark::Counter(static_cast<double>(kLoans) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["jobs"] = jobs;
}

const int kAllCores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

BENCHMARK(BM_CliBatch)
    ->ArgNames({"jobs", "check"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({kAllCores, 0})
    ->Args({kAllCores, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
