#pragma once
// The one interface a backend implements. The runtime owns all state; a
// backend only turns requests into a desktop (runtime/qt) or into journal
// entries (runtime/scripted). Only the operations that must differ are pure;
// the rest have defaults that suit a backend with no screen.

#include "dialog.h"
#include "picture.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Window;
class RectControl;

class Platform {
  public:
    virtual ~Platform() = default;
    virtual std::string Name() const = 0;

    // Runs the event loop: `ready` is called once, on the main thread, once
    // the backend is ready; the loop returns after QuitEventLoop.
    virtual void RunEventLoop(const std::function<void()>& ready) = 0;
    virtual void QuitEventLoop() = 0;
    // Lets pending paint and timer events run, never user input.
    virtual void ProcessPendingEvents() {}

    // Windows and controls: called after the runtime changed its objects.
    virtual void WindowCreated(Window&) {}
    virtual void WindowChanged(Window&) {}
    virtual void WindowShown(Window&) {}
    virtual void WindowClosed(Window&) {}
    virtual void ControlCreated(Window&, RectControl&) {}
    virtual void ControlChanged(RectControl&) {}

    // Modal dialogs: the chosen paths, or nothing on Cancel.
    virtual std::optional<std::vector<std::string>> ShowOpenDialog(const DialogSettings&) = 0;
    virtual std::optional<std::string> ShowFolderDialog(const DialogSettings&) = 0;
    virtual void ShowMessage(const std::string& text) = 0;

    // Runs one command line and waits for it. The default is the POSIX
    // runner (/bin/sh -c, standard output discarded, standard error passed
    // through, the folder of the program's bundled tools first on PATH).
    virtual void ExecuteShell(int runnerId, const std::string& command);
    virtual void PlaySound(const std::string& path) = 0;
    virtual void OpenURL(const std::string& url) = 0;
    // The decoded picture at `path`, or nullptr.
    virtual std::shared_ptr<PictureImage> LoadPicture(const std::string& path) = 0;

    // Where the program's files are; the defaults follow the executable and
    // the XDG user directories.
    virtual std::string DesktopPath();
    virtual std::string ResourcesPath();

    // Notes for journals.
    virtual void FileTypeRegistered(const std::string&, const std::string&, const std::string&,
                                    const std::string&, const std::string&) {}
    virtual void FileTypeDeregistered(const std::string&) {}
    virtual void Note(const std::string&) {}
};

// The POSIX runner the default ExecuteShell uses.
void RunShellCommand(const std::string& command);
// The folder that holds the running executable.
std::string ExecutableDirectory();
// The folder of the tools that ship with the program (binhex), or empty when
// the executable's folder is unknown: libexec/tamzel beside the executable's
// bin folder, in the build tree as in an installed tree. They live apart from
// bin/ so that they neither clash with nor shadow other programs of the same
// name on the user's PATH.
std::string BundledToolsDirectory();
