#pragma once
// The Qt 6 backend: windows, menus, dialogs, drops, message boxes and sounds
// on a real desktop. The program's main() is the only place that names it:
//
//     RuntimeSelectBackend(CreateQtPlatform(argc, argv));
//
// This header stays free of Qt so that main() needs no Qt headers either.

#include "runtime/platform.h"

#include <memory>
#include <string>

struct QtPlatformOptions {
    // Where the program's pictures and sounds are; empty means the default
    // next to the executable.
    std::string resourcesPath;
    // The program's name as its users know it. The desktop shows it where a
    // window may not go untitled (an empty title on X11, a message box) and
    // in the window's class; without it Qt would show the executable's name.
    std::string applicationName = "Tamzel";
};

// Creates the QApplication (unless one exists already, which it then uses)
// and the backend over it. `argc` must outlive the backend, as Qt keeps a
// reference to it.
std::unique_ptr<Platform> CreateQtPlatform(int& argc, char** argv, QtPlatformOptions options = {});
