#include "qt_backend.h"

#include "qt_guard.h"
#include "qt_window.h"

#include <QApplication>
#include <QTimer>

std::unique_ptr<Platform> CreateQtPlatform(int& argc, char** argv, QtPlatformOptions options) {
    return std::make_unique<QtPlatform>(argc, argv, std::move(options));
}

QtPlatform::QtPlatform(int& argc, char** argv, QtPlatformOptions options)
    : options_(std::move(options)) {
    if (!QCoreApplication::instance())
        ownedApp_ = std::make_unique<QApplication>(argc, argv);
    // Closing the last window is the program's decision (its Close handler
    // quits), not Qt's.
    QApplication::setQuitOnLastWindowClosed(false);
    // The name, not the display name: Qt appends a display name to every
    // other title (" — Tamzel"), where the program's titles must stay exactly
    // as it gives them; the name only stands in for an empty one.
    if (!options_.applicationName.empty())
        QCoreApplication::setApplicationName(QString::fromStdString(options_.applicationName));
}

QtPlatform::~QtPlatform() {
    for (auto& [window, widget] : windows_)
        if (widget) {
            widget->Detach();
            delete widget.data();
        }
    windows_.clear();
    controls_.clear();
    // Windows closed just before the end wait for a deferred delete that no
    // event loop will run any more.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ownedApp_.reset();
}

void QtPlatform::RunEventLoop(const std::function<void()>& ready) {
    QTimer::singleShot(0, QCoreApplication::instance(), [ready] { CallRuntimeFromQt(ready); });
    // The exit status is the runtime's (RuntimeExit), whatever Qt returns.
    QApplication::exec();
}

void QtPlatform::QuitEventLoop() {
    // Ends every loop running, a modal dialog's included.
    QCoreApplication::exit(0);
}

void QtPlatform::ProcessPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::string QtPlatform::ResourcesPath() {
    return options_.resourcesPath.empty() ? Platform::ResourcesPath() : options_.resourcesPath;
}
