#pragma once
// A run stopped by a signal (Ctrl-C, kill, a closed terminal) leaves no
// temporary file of its -o output behind: the old file stays as it was and
// nothing half written lies beside it.
#include <string>

namespace qv::cli {

// Installs the handlers of SIGINT, SIGTERM and SIGHUP: each removes the
// file named by RemoveOnInterrupt, if any, and then ends the program as the
// signal would have (exit status 128 + the signal's number). Called once, by
// the program's main.
void InstallInterruptCleanup();

// The file to remove if a signal ends the program; empty: none. A path too
// long to keep is not kept (the file then stays, as it would without this).
void RemoveOnInterrupt(const std::string& path);

}  // namespace qv::cli
