#include "cli/interrupt_cleanup.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace qv::cli {
namespace {

// A signal handler may only read what is there whole, on whichever thread
// the signal comes to: the path is written while `armed` is false and read
// only once it is true (a lock-free atomic, safe in a handler).
constexpr std::size_t kPathRoom = 4096;
char removePath[kPathRoom];
std::atomic<bool> armed{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RemoveAndEnd(int signal) {
    if (armed.load(std::memory_order_acquire)) ::unlink(removePath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void InstallInterruptCleanup() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = RemoveAndEnd;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void RemoveOnInterrupt(const std::string& path) {
    armed.store(false, std::memory_order_release);
    if (path.empty() || path.size() >= kPathRoom) return;
    std::memcpy(removePath, path.c_str(), path.size() + 1);
    armed.store(true, std::memory_order_release);
}

}  // namespace qv::cli
