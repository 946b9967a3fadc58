#include "cleanup_on_signal.h"

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
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

// The signals whose default action ends the program. SIGKILL and SIGSTOP
// cannot be caught; SIGCHLD, SIGCONT, SIGURG and SIGWINCH are ignored by
// default, and SIGTSTP, SIGTTIN and SIGTTOU only stop the program.
sigset_t ending_signals() {
    static constexpr int kSignals[] = {
        SIGHUP,    SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
        SIGFPE,    SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
        SIGXCPU,   SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGSYS,
#ifdef SIGSTKFLT
        SIGSTKFLT,
#endif
#ifdef SIGPWR
        SIGPWR,
#endif
    };
    sigset_t set;
    sigemptyset(&set);
    for (const int s : kSignals) {
        sigaddset(&set, s);
    }
    // The real-time signals end the program too; the C library keeps the
    // first few for itself, below SIGRTMIN.
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) {
        sigaddset(&set, s);
    }
    return set;
}

void on_signal(int signal_number) {
    if (g_armed.exchange(false)) {
        ::unlinkat(g_directory_fd, g_name, 0);
    }
    // The signal is held until the handler returns, and then ends the program
    // with its usual status (and core dump, for the signals that leave one).
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

} // namespace

void install_cleanup_handlers() {
    struct sigaction action {};
    action.sa_handler = on_signal;
    action.sa_mask = ending_signals();
    for (int s = 1; s < NSIG; ++s) {
        if (sigismember(&action.sa_mask, s) != 1) {
            continue;
        }
        struct sigaction previous {};
        if (::sigaction(s, nullptr, &previous) != 0 || (previous.sa_flags & SA_SIGINFO) != 0 ||
            previous.sa_handler != SIG_DFL) {
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

CleanupSignalsHeld::CleanupSignalsHeld() {
    const sigset_t held = ending_signals();
    ::pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

CleanupSignalsHeld::~CleanupSignalsHeld() {
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace binhex::cli
