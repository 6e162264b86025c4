#pragma once
// quorvane-cli: the APR, the amortization chart and the disclosure check of
// saved payment schedules from a terminal or a script, with the desktop
// program's engine and digits.
//
//     quorvane-cli apr FILE...      the report the chart box shows, or one record per loan
//     quorvane-cli chart FILE       what "Save Chart Text" writes
//     quorvane-cli check FILE... --disclosed-apr X [--disclosed-finance-charge Y]
//
// Exit status: 0 all went well; 1 a disclosure was not accurate or a loan had
// no APR; 2 bad usage, an input that could not be read at all, or output that
// could not be written; 3 some loans could not be read while the rest went on.
#include <iosfwd>
#include <string>
#include <vector>

namespace qv::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitSomeLoans = 3;

// What the program learns from its surroundings rather than its arguments.
struct CliEnvironment {
    bool stderrIsTerminal = false;  // draw a progress bar on standard error
    unsigned hardwareThreads = 1;   // the default of --jobs
};

// Runs the command line `args` (the program's name first) and returns the
// exit status. Results go to `out` (unless -o names a file), messages and the
// progress bar to `err`. A write to `out` that fails ends the run with a
// message naming the output and, where its buffer is an OutputBuf, why.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment);

}  // namespace qv::cli
