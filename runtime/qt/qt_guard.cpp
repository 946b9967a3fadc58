#include "qt_guard.h"

#include "runtime/process.h"

#include <cstdio>
#include <deque>
#include <utility>

namespace {
// How deep calls into the program are nested, and what waits for them to end.
int programDepth = 0;
std::deque<std::function<void()>>& Waiting() {
    static auto* waiting = new std::deque<std::function<void()>>;
    return *waiting;
}

void CallProgram(const std::function<void()>& f) noexcept {
    try {
        RuntimeCallProgram(f);
        return;
    } catch (...) {
        try {
            UnhandledException(std::current_exception());
            return;
        } catch (...) {
            // The report itself failed: the program must still end the
            // way an unhandled error ends it.
        }
    }
    std::fputs("tamzel: an error was not handled and could not be reported\n", stderr);
    try {
        Quit(1);
    } catch (...) {
    }
}

// Runs what waits, one after another, each with the program counted busy so
// that what comes meanwhile queues behind it.
void RunWaiting() noexcept {
    while (!Waiting().empty()) {
        std::function<void()> next = std::move(Waiting().front());
        Waiting().pop_front();
        ++programDepth;
        CallProgram(next);
        --programDepth;
    }
}
} // namespace

void CallRuntimeFromQt(const std::function<void()>& f) noexcept {
    ++programDepth;
    CallProgram(f);
    if (--programDepth == 0)
        RunWaiting();
}

void CallRuntimeFromQtWhenIdle(std::function<void()> f) {
    if (programDepth == 0)
        CallRuntimeFromQt(f);
    else
        Waiting().push_back(std::move(f));
}
