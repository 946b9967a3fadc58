#pragma once
// The Qt backend's own class; only the backend's files see it.

#include "qt_platform.h"

#include <QPointer>

#include <map>
#include <memory>

class QApplication;
class QWidget;
class QtWindowWidget;

class QtPlatform : public Platform {
  public:
    QtPlatform(int& argc, char** argv, QtPlatformOptions options);
    ~QtPlatform() override;

    std::string Name() const override { return "qt"; }
    void RunEventLoop(const std::function<void()>& ready) override;
    void QuitEventLoop() override;
    void ProcessPendingEvents() override;

    void WindowCreated(Window& window) override;
    void WindowChanged(Window& window) override;
    void WindowShown(Window& window) override;
    void WindowClosed(Window& window) override;
    void ControlCreated(Window& window, RectControl& control) override;
    void ControlChanged(RectControl& control) override;

    std::optional<std::vector<std::string>> ShowOpenDialog(const DialogSettings& settings) override;
    std::optional<std::string> ShowFolderDialog(const DialogSettings& settings) override;
    void ShowMessage(const std::string& text) override;

    void PlaySound(const std::string& path) override;
    void OpenURL(const std::string& url) override;
    std::shared_ptr<PictureImage> LoadPicture(const std::string& path) override;
    std::string ResourcesPath() override;

  private:
    QtWindowWidget* WidgetOf(const Window& window) const;
    void ForgetControlsOf(Window& window);

    std::unique_ptr<QApplication> ownedApp_;
    QtPlatformOptions options_;
    std::map<const Window*, QPointer<QtWindowWidget>> windows_;
    std::map<const RectControl*, QPointer<QWidget>> controls_;
};
