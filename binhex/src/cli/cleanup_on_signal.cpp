#include "cleanup_on_signal.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace binhex::cli {
namespace {

// Shared with the handler, which may only use async-signal-safe calls and may
// run on any thread; a lock-free atomic is safe there and orders the name
// before the flag.
std::atomic<bool> g_armed{false};
static_assert(std::atomic<bool>::is_always_lock_free);
int g_directory_fd = -1;
char g_name[256];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void on_signal(int signal_number) {
    if (g_armed.exchange(false)) {
        ::unlinkat(g_directory_fd, g_name, 0);
    }
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

} // namespace

void install_cleanup_handlers() {
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals) {
        sigaddset(&action.sa_mask, s);
    }
    for (const int s : kSignals) {
        // A signal ignored by whoever started us (nohup, a shell's background
        // job) stays ignored.
        struct sigaction previous {};
        if (::sigaction(s, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(s, &action, nullptr);
    }
}

bool arm_cleanup(int directory_fd, const char* name) {
    const std::size_t length = std::strlen(name);
    if (length >= sizeof g_name) {
        return false;
    }
    g_armed.store(false);
    std::memcpy(g_name, name, length + 1);
    g_directory_fd = directory_fd;
    g_armed.store(true);
    return true;
}

void disarm_cleanup() {
    g_armed.store(false);
}

} // namespace binhex::cli
