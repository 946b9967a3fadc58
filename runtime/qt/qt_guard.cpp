#include "qt_guard.h"

#include "runtime/process.h"

#include <cstdio>

void CallRuntimeFromQt(const std::function<void()>& f) noexcept {
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
