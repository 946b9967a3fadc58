#pragma once
// The scripted backend: runs the program's code against a script of user
// actions and dialog answers, and keeps a journal of every effect in order.
//
// The script. Steps run one after another inside the event loop, after the
// late start-up; the loop ends when the program quits or the steps run out.
//   ChooseMenuItem(name)              the user chooses the menu item of that Name
//   Click(windowClass, control)       a click on the control of the open window
//   Drop(windowClass, control, items) a drop; each item is a path, or nullopt
//                                     for an item that carries no file
//   CloseWindow(windowClass)          the user closes the open window
//   Do(function)                      anything else a test wants to run there
// Dialog answers are taken in order, one per dialog shown; a dialog with no
// answer left is cancelled:
//   AnswerFiles(paths) / CancelFiles()  for the file dialog
//   AnswerFolder(path) / CancelFolder() for the folder dialog
//
// The journal, one line per effect:
//   "shell <runner>: <command>"           a command handed to a shell runner
//   "open dialog: <title>|<prompt>|<caption>|<initial folder>|<multi 0/1>"
//   "folder dialog: <title>|<prompt>|<caption>|<initial folder>"
//   "msgbox: <text>"    "sound: <path>"    "url: <url>"    "picture: <path>"
//   "window created|shown|closed: <class>" "control created: <class> <name>"
//   "filetype registered: <name>|<creator>|<type>|<extensions>|<uti>"
//   "filetype deregistered: <name>"        "drop refused"
//   and the runtime's own notes ("quit 0", "event loop runs",
//   "runner created: <runner>", ...).
// Commands are only recorded, unless RunCommands(true) hands them to the
// real /bin/sh as well. SetDesktop and SetResources stand in for the
// user's folders; by default they follow the executable and the desktop.

#include "runtime/platform.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ScriptedPlatform : public Platform {
  public:
    using DropItems = std::vector<std::optional<std::string>>;

    ScriptedPlatform& ChooseMenuItem(const std::string& name);
    ScriptedPlatform& Click(const std::string& windowClass, const std::string& control);
    ScriptedPlatform& Drop(const std::string& windowClass, const std::string& control,
                           DropItems items);
    ScriptedPlatform& CloseWindow(const std::string& windowClass);
    ScriptedPlatform& Do(std::function<void()> step);

    ScriptedPlatform& AnswerFiles(std::vector<std::string> paths);
    ScriptedPlatform& CancelFiles();
    ScriptedPlatform& AnswerFolder(std::string path);
    ScriptedPlatform& CancelFolder();

    ScriptedPlatform& SetDesktop(std::string path);
    ScriptedPlatform& SetResources(std::string path);
    ScriptedPlatform& RunCommands(bool on);
    // Runs `hook` on every command after it is journalled; a hook that throws
    // makes the runner's Execute raise.
    ScriptedPlatform& OnCommand(std::function<void(const std::string&)> hook);

    const std::vector<std::string>& Journal() const { return journal_; }
    // The journal lines that start with `prefix`.
    std::vector<std::string> Lines(const std::string& prefix) const;

    std::string Name() const override { return "scripted"; }
    void RunEventLoop(const std::function<void()>& ready) override;
    void QuitEventLoop() override { quit_ = true; }
    void WindowCreated(Window&) override;
    void WindowShown(Window&) override;
    void WindowClosed(Window&) override;
    void ControlCreated(Window&, RectControl&) override;
    std::optional<std::vector<std::string>> ShowOpenDialog(const DialogSettings&) override;
    std::optional<std::string> ShowFolderDialog(const DialogSettings&) override;
    void ShowMessage(const std::string& text) override;
    void ExecuteShell(int runnerId, const std::string& command) override;
    void PlaySound(const std::string& path) override;
    void OpenURL(const std::string& url) override;
    std::shared_ptr<PictureImage> LoadPicture(const std::string& path) override;
    std::string DesktopPath() override;
    std::string ResourcesPath() override;
    void FileTypeRegistered(const std::string& name, const std::string& creator,
                            const std::string& type, const std::string& extensions,
                            const std::string& uti) override;
    void FileTypeDeregistered(const std::string& name) override;
    void Note(const std::string& text) override { journal_.push_back(text); }

  private:
    std::vector<std::function<void()>> steps_;
    std::deque<std::optional<std::vector<std::string>>> fileAnswers_;
    std::deque<std::optional<std::string>> folderAnswers_;
    std::vector<std::string> journal_;
    std::optional<std::string> desktop_, resources_;
    std::function<void(const std::string&)> commandHook_;
    bool runCommands_ = false;
    bool quit_ = false;
};
