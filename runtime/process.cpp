#include "process.h"

#include "platform.h"

#include <cstdio>
#include <thread>
#include <utility>

namespace {
struct ProcessState {
    std::unique_ptr<Platform> platform;
    std::thread::id mainThread;
    ExceptionHelper exceptionHelper = nullptr;
    void (*lateStartup)() = nullptr;
    bool quitRequested = false;
    int exitCode = 0;
};
ProcessState& State() {
    // Never destroyed: program objects that outlive main may still call in.
    static ProcessState* state = new ProcessState;
    return *state;
}
} // namespace

void RuntimeSelectBackend(std::unique_ptr<Platform> platform) {
    State().platform = std::move(platform);
}

Platform& RuntimePlatform() {
    if (!State().platform)
        throw UnsupportedOperationException("no backend was chosen");
    return *State().platform;
}

void RuntimeInit() {
    State().mainThread = std::this_thread::get_id();
}

void RequireMainThread() {
    if (std::this_thread::get_id() != State().mainThread)
        throw ThreadAccessingUIException(
            "a user-interface operation was called off the main thread");
}

void RuntimePerformInitializers(const std::vector<Initializer>& programEntries) {
    // The runtime's own classes need no initialising entries of their own:
    // their records are built on first use.
    for (Initializer entry : programEntries)
        entry();
}

void RuntimePerformFinalizers() {}

void RuntimeSetExceptionHelper(ExceptionHelper helper) {
    State().exceptionHelper = helper;
}

std::exception_ptr CallFunctionWithExceptionHandling(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeException&) {
        return std::current_exception();
    }
    return nullptr;
}

void RuntimeCallProgram(const std::function<void()>& f) {
    ExceptionHelper helper =
        State().exceptionHelper ? State().exceptionHelper : &CallFunctionWithExceptionHandling;
    if (std::exception_ptr escaped = helper(f))
        UnhandledException(escaped);
}

// The runtime's own classes build their records on first use, and the
// control and shell plug-ins are linked in: there is nothing left to ready.
void RuntimeInitExternalClasses() {}
void InitPluginEntrypoints() {}

void RunFrameworkInitialization(void (*lateStartup)()) {
    RequireMainThread();
    State().lateStartup = lateStartup;
    RuntimePlatform().Note("framework initialization handed the late start-up");
}

void RuntimeRun() {
    RequireMainThread();
    ProcessState& s = State();
    if (s.quitRequested)
        return;
    RuntimePlatform().Note("event loop runs");
    RuntimePlatform().RunEventLoop([] {
        if (auto late = std::exchange(State().lateStartup, nullptr))
            RuntimeCallProgram(late);
    });
}

void Quit(int code) {
    ProcessState& s = State();
    s.exitCode = code;
    s.quitRequested = true;
    if (s.platform) {
        s.platform->Note("quit " + std::to_string(code));
        s.platform->QuitEventLoop();
    }
}

void RuntimeQuitFromMenu() {
    Quit(0);
}

int RuntimeExit() {
    return State().exitCode;
}

namespace {
std::string Describe(const std::exception_ptr& exception) {
    const std::string shutDown = " was not handled. The application must shut down.";
    if (!exception)
        return "An exception" + shutDown;
    try {
        std::rethrow_exception(exception);
    } catch (const RuntimeException& e) {
        return std::string("An exception of class ") + e.ClassName() + shutDown + "\n" + e.what();
    } catch (const std::exception& e) {
        return "An exception" + shutDown + "\n" + e.what();
    } catch (...) {
        return "An exception of unknown kind" + shutDown;
    }
}
} // namespace

void UnhandledException(const std::exception_ptr& exception) {
    // The status is settled before the report, so a report that fails in
    // turn cannot leave the run looking like a success.
    State().exitCode = 1;
    State().quitRequested = true;
    const std::string report = Describe(exception);
    std::fprintf(stderr, "tamzel: %s\n", report.c_str());
    std::fflush(stderr);
    if (State().platform) {
        State().platform->Note("unhandled exception");
        State().platform->ShowMessage(report);
    }
    Quit(1);
}

void RuntimeBackgroundTask() {
    if (State().platform)
        State().platform->ProcessPendingEvents();
}
