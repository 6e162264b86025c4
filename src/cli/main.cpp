// quorvane-cli: the command-line companion. Everything but the program's
// surroundings is in the library, where the tests reach it.
#include <unistd.h>

#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_app.h"
#include "cli/interrupt_cleanup.h"
#include "cli/streams.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    qv::cli::InstallInterruptCleanup();
    const std::vector<std::string> args(argv, argv + argc);
    qv::cli::CliEnvironment environment;
    environment.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    environment.hardwareThreads = std::thread::hardware_concurrency();
    // Standard output through a buffer that keeps why a write failed.
    qv::cli::FdOutput standardOutput(STDOUT_FILENO, "standard output");
    std::ostream out(&standardOutput);
    return qv::cli::RunCli(args, out, std::cerr, environment);
}
