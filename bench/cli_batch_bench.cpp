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

namespace {

constexpr int kLoans = 100'000;

// The batch file, written once and removed when the benchmark ends.
struct BatchFileOnDisk {
    std::string path;
    ~BatchFileOnDisk() { std::filesystem::remove(path); }
};

// Amortizing loans: the payment of an annuity at a rate of 3 to 30 %, rounded
// to the cent, with now and then an odd first period or a final balloon.
const std::string& BatchFile() {
    static const BatchFileOnDisk file{[] {
        const std::string path = (std::filesystem::temp_directory_path() /
                                  ("qv_cli_batch_bench_" + std::to_string(::getpid()) + ".csv"))
                                     .string();
        std::mt19937 random(7);
        std::uniform_int_distribution<int> months(12, 360);
        std::uniform_real_distribution<double> rate(0.03, 0.30);
        std::uniform_int_distribution<int> amount(1'000, 50'000);
        std::uniform_int_distribution<int> shape(0, 3);
        std::ofstream out(path);
        out << "id,amount_financed,interval,groups\n";
        char pay[32];
        for (int k = 0; k < kLoans; ++k) {
            const int n = months(random);
            const double i = rate(random) / 12;
            const double principal = amount(random);
            const double payment = std::ceil(principal * i / (1 - std::pow(1 + i, -n)) * 100) / 100;
            std::snprintf(pay, sizeof pay, "%.2f", payment);
            out << "loan-" << k << "," << principal << ",monthly,";
            switch (shape(random)) {
                case 0:  // an odd first period
                    out << "1:" << pay << ":1:" << k % 29 << "; " << n - 1 << ":" << pay;
                    break;
                case 1:  // a final balloon
                    out << n - 1 << ":" << pay << "; 1:" << principal / 4;
                    break;
                default:
                    out << n << ":" << pay;
            }
            out << "\n";
        }
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
