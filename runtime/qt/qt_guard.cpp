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
            // Not even a std::exception: nothing can describe it, but the
            // program must still end the way an unhandled error ends it.
        }
    }
    std::fputs("tamzel: an exception of unknown kind was not handled\n", stderr);
    try {
        Quit(1);
    } catch (...) {
    }
}
