#pragma once
// The process: start-up, the event loop, quitting and the exit status, and
// what happens to an exception nobody handled.
//
// Every user-interface operation of the runtime calls RequireMainThread()
// first, so a call from another thread raises ThreadAccessingUIException
// before it has done anything.

#include "exceptions.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Platform;

// Chooses the backend. Called once, before RuntimeInit; the runtime owns it.
void RuntimeSelectBackend(std::unique_ptr<Platform> platform);
// The chosen backend. Raises UnsupportedOperationException when none was
// chosen.
Platform& RuntimePlatform();

// Records the calling thread as the main thread. The backend must have been
// chosen before.
void RuntimeInit();
// Raises ThreadAccessingUIException unless called on the main thread.
void RequireMainThread();

// Runs the executable's initialiser table: the runtime's own entries would
// come first (it has none: its class records are built on first use), then
// `programEntries`, in order. An entry that raises ends the table there.
using Initializer = void (*)();
void RuntimePerformInitializers(const std::vector<Initializer>& programEntries);
void RuntimePerformFinalizers();

// The function through which the runtime calls the program's code: it calls
// `f` and returns the RuntimeException that escaped it, or a null pointer when
// none did. An exception of any other kind passes on.
using ExceptionHelper = std::exception_ptr (*)(const std::function<void()>& f);
void RuntimeSetExceptionHelper(ExceptionHelper helper);
std::exception_ptr CallFunctionWithExceptionHandling(const std::function<void()>& f);

// Calls program code from the runtime (an event, a menu action, the late
// start-up) through the exception helper; what escapes is reported with
// UnhandledException.
void RuntimeCallProgram(const std::function<void()>& f);

// Readies the runtime's own classes, and its control and shell plug-ins. Both
// are ready from the start in this runtime; start-up calls them all the same,
// at the point from which it relies on them.
void RuntimeInitExternalClasses();
void InitPluginEntrypoints();

// Calls `lateStartup` back exactly once, on the main thread, once the backend
// is ready (from within the event loop).
void RunFrameworkInitialization(void (*lateStartup)());

// Runs the event loop; returns when the application quits.
void RuntimeRun();

// Quits the application with `code` as the exit status.
void Quit(int code = 0);
// Quits after the runtime's own Quit item: exit status 0.
void RuntimeQuitFromMenu();
// The exit status: the code given to Quit, 0 after the Quit item, 1 after an
// unhandled exception.
int RuntimeExit();

// Reports an exception nobody handled, of any kind: its class and message on
// standard error and in a message box. The application then quits with
// status 1; that status holds even when showing the report raises in turn,
// which then passes on to the caller.
void UnhandledException(const std::exception_ptr& exception);

// Lets pending paint and timer events run (never user input, so a batch
// cannot re-enter itself).
void RuntimeBackgroundTask();

// String concatenation, as the runtime provides it.
inline std::string RuntimeAddString(const std::string& a, const std::string& b) {
    return a + b;
}
