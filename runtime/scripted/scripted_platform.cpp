#include "scripted_platform.h"

#include "runtime/application.h"
#include "runtime/process.h"
#include "runtime/window.h"

#include <fstream>

namespace {
// A picture is anything readable; its size is not decoded here.
class ScriptedImage : public PictureImage {
  public:
    int Width() const override { return 0; }
    int Height() const override { return 0; }
};

Ref<RectControl> FindControl(const std::string& windowClass, const std::string& control) {
    Ref<Window> window = GetImplicitWindow(windowClass);
    RequireObject(window, "window to act on");
    Ref<RectControl> c = RuntimeCheckCast<RectControl>(window->ControlByName(control));
    return RequireObject(c, "control to act on");
}
} // namespace

ScriptedPlatform& ScriptedPlatform::ChooseMenuItem(const std::string& name) {
    return Do([name] {
        Ref<Application> app = GetAppObject();
        Ref<MenuItem> item = app && app->MenuBar() ? app->MenuBar()->Lookup(name) : nullptr;
        RuntimeMenuItemChosen(RequireObject(item, "menu item to choose"));
    });
}

ScriptedPlatform& ScriptedPlatform::Click(const std::string& windowClass,
                                          const std::string& control) {
    return Do([=] { FindControl(windowClass, control)->Raise(ControlEvent::Action); });
}

ScriptedPlatform& ScriptedPlatform::Drop(const std::string& windowClass, const std::string& control,
                                         DropItems items) {
    return Do([=, this] {
        Ref<RectControl> target = FindControl(windowClass, control);
        // Like a real drop target, the control takes a drop only when it
        // accepts at least one of the files.
        std::vector<Ref<FolderItem>> files;
        bool accepted = false;
        for (const auto& item : items) {
            files.push_back(item ? RuntimeNewObject<FolderItem>(*item) : nullptr);
            accepted = accepted || (item && target->AcceptsFile(*item));
        }
        if (!accepted) {
            journal_.push_back("drop refused");
            return;
        }
        Ref<DragItem> drag = RuntimeNewObject<DragItem>(std::move(files));
        target->Raise(ControlEvent::DropObject, drag.get(), 0);
    });
}

ScriptedPlatform& ScriptedPlatform::CloseWindow(const std::string& windowClass) {
    return Do([windowClass] {
        Ref<Window> window = GetImplicitWindow(windowClass);
        RequireObject(window, "window to close")->Close();
    });
}

ScriptedPlatform& ScriptedPlatform::Do(std::function<void()> step) {
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedPlatform& ScriptedPlatform::AnswerFiles(std::vector<std::string> paths) {
    fileAnswers_.emplace_back(std::move(paths));
    return *this;
}
ScriptedPlatform& ScriptedPlatform::CancelFiles() {
    fileAnswers_.emplace_back(std::nullopt);
    return *this;
}
ScriptedPlatform& ScriptedPlatform::AnswerFolder(std::string path) {
    folderAnswers_.emplace_back(std::move(path));
    return *this;
}
ScriptedPlatform& ScriptedPlatform::CancelFolder() {
    folderAnswers_.emplace_back(std::nullopt);
    return *this;
}
ScriptedPlatform& ScriptedPlatform::SetDesktop(std::string path) {
    desktop_ = std::move(path);
    return *this;
}
ScriptedPlatform& ScriptedPlatform::SetResources(std::string path) {
    resources_ = std::move(path);
    return *this;
}
ScriptedPlatform& ScriptedPlatform::OnCommand(std::function<void(const std::string&)> hook) {
    commandHook_ = std::move(hook);
    return *this;
}
ScriptedPlatform& ScriptedPlatform::RunCommands(bool on) {
    runCommands_ = on;
    return *this;
}

std::vector<std::string> ScriptedPlatform::Lines(const std::string& prefix) const {
    std::vector<std::string> lines;
    for (const auto& l : journal_)
        if (l.rfind(prefix, 0) == 0)
            lines.push_back(l);
    return lines;
}

void ScriptedPlatform::RunEventLoop(const std::function<void()>& ready) {
    ready();
    for (std::size_t i = 0; i < steps_.size() && !quit_; ++i)
        RuntimeCallProgram(steps_[i]);
    if (!quit_)
        journal_.push_back("script ended");
}

void ScriptedPlatform::WindowCreated(Window& w) {
    journal_.push_back("window created: " + w.Record().name);
}
void ScriptedPlatform::WindowShown(Window& w) {
    journal_.push_back("window shown: " + w.Record().name);
}
void ScriptedPlatform::WindowClosed(Window& w) {
    journal_.push_back("window closed: " + w.Record().name);
}
void ScriptedPlatform::ControlCreated(Window& w, RectControl& c) {
    journal_.push_back("control created: " + w.Record().name + " " + c.ControlName());
}

std::optional<std::vector<std::string>> ScriptedPlatform::ShowOpenDialog(const DialogSettings& s) {
    journal_.push_back("open dialog: " + s.title + "|" + s.promptText + "|" +
                       s.actionButtonCaption + "|" + s.initialDirectory + "|" +
                       (s.multiSelect ? "1" : "0"));
    if (fileAnswers_.empty() || !fileAnswers_.front()) {
        if (!fileAnswers_.empty())
            fileAnswers_.pop_front();
        return std::nullopt;
    }
    std::vector<std::string> answer = std::move(*fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPlatform::ShowFolderDialog(const DialogSettings& s) {
    journal_.push_back("folder dialog: " + s.title + "|" + s.promptText + "|" +
                       s.actionButtonCaption + "|" + s.initialDirectory);
    if (folderAnswers_.empty() || !folderAnswers_.front()) {
        if (!folderAnswers_.empty())
            folderAnswers_.pop_front();
        return std::nullopt;
    }
    std::string answer = std::move(*folderAnswers_.front());
    folderAnswers_.pop_front();
    return answer;
}

void ScriptedPlatform::ShowMessage(const std::string& text) {
    journal_.push_back("msgbox: " + text);
}

void ScriptedPlatform::ExecuteShell(int runnerId, const std::string& command) {
    journal_.push_back("shell " + std::to_string(runnerId) + ": " + command);
    if (commandHook_)
        commandHook_(command);
    if (runCommands_)
        RunShellCommand(command);
}

void ScriptedPlatform::PlaySound(const std::string& path) {
    journal_.push_back("sound: " + path);
}
void ScriptedPlatform::OpenURL(const std::string& url) {
    journal_.push_back("url: " + url);
}

std::shared_ptr<PictureImage> ScriptedPlatform::LoadPicture(const std::string& path) {
    journal_.push_back("picture: " + path);
    if (!std::ifstream(path))
        return nullptr;
    return std::make_shared<ScriptedImage>();
}

std::string ScriptedPlatform::DesktopPath() {
    return desktop_ ? *desktop_ : Platform::DesktopPath();
}
std::string ScriptedPlatform::ResourcesPath() {
    return resources_ ? *resources_ : Platform::ResourcesPath();
}

void ScriptedPlatform::FileTypeRegistered(const std::string& name, const std::string& creator,
                                          const std::string& type, const std::string& extensions,
                                          const std::string& uti) {
    journal_.push_back("filetype registered: " + name + "|" + creator + "|" + type + "|" +
                       extensions + "|" + uti);
}
void ScriptedPlatform::FileTypeDeregistered(const std::string& name) {
    journal_.push_back("filetype deregistered: " + name);
}
