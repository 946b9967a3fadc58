// A program as small as a test: it starts on the Qt backend, runs its late
// start-up once from inside the event loop and ends as its scenario says.
//   qt_smoke quit N      late start-up quits with N
//   qt_smoke menu-quit   the Quit item of the window's menu bar is chosen
//   qt_smoke close-main  the main window is closed while the About window is
//                        open; the main window's Close handler quits with 0
//   qt_smoke about-ctrl-q  Ctrl+Q is pressed in the About window, which has no
//                        menu bar: the application's bar, on the main window,
//                        quits with 0

#include "qt_probe_window.h"

#include "runtime/qt/qt_platform.h"

#include "runtime/application.h"
#include "runtime/process.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include <cstdlib>
#include <string>

namespace {
std::string scenario;
int quitCode = 0;
int lateStartups = 0;

// Exit codes that tell what went wrong.
constexpr int kNotFound = 90, kTwice = 91, kHung = 92, kUnknown = 93, kKeyIgnored = 94;

QWidget* Widget(const char* className) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == className && top->inherits("QMainWindow"))
            return top;
    return nullptr;
}

PropertyValues Sized(std::int64_t w, std::int64_t h, std::int64_t location) {
    return {{"Width", w},
            {"Height", h},
            {"Resizeable", false},
            {"DefaultLocation", location},
            {"Visible", true}};
}

// Presses Ctrl+Q in the About window once the desktop has made it active; a
// key that quits nothing ends the run with a code of its own.
void PressCtrlQOnceActive() {
    QWidget* about = Widget("AboutProbe");
    if (!about)
        return Quit(kNotFound);
    if (QApplication::activeWindow() != about) {
        QTimer::singleShot(10, [] { PressCtrlQOnceActive(); });
        return;
    }
    QWidget* main = Widget("MainProbe");
    auto* quit = main ? main->findChild<QAction*>("FileQuit") : nullptr;
    if (!quit)
        return Quit(kNotFound);
    bool quitChosen = false;
    const auto watch =
        QObject::connect(quit, &QAction::triggered, [&quitChosen] { quitChosen = true; });
    QTest::keyClick(about, Qt::Key_Q, Qt::ControlModifier);
    QObject::disconnect(watch);
    if (!quitChosen)
        Quit(kKeyIgnored);
}

void LateStartup() {
    ++lateStartups;
    // A hang becomes a failure with a code of its own instead of a timeout.
    QTimer::singleShot(30000, [] { Quit(kHung); });
    if (scenario == "quit") {
        Quit(quitCode);
    } else if (scenario == "menu-quit") {
        OpenProbeWindow({"MainProbe", Sized(600, 361, 2), ProbeQuitMenuBar(), {}, {}});
        // Chosen as a user would: from the event loop, on the real action.
        QTimer::singleShot(0, [] {
            QWidget* main = Widget("MainProbe");
            auto* quit = main ? main->findChild<QAction*>("FileQuit") : nullptr;
            if (!quit)
                return Quit(kNotFound);
            quit->trigger();
        });
    } else if (scenario == "close-main") {
        OpenProbeWindow({"MainProbe", Sized(600, 361, 2), ProbeQuitMenuBar(), {}, [] { Quit(0); }});
        OpenProbeWindow({"AboutProbe", Sized(283, 350, 1), {}, {}, {}});
        QTimer::singleShot(0, [] {
            QWidget* main = Widget("MainProbe");
            if (!main || !Widget("AboutProbe"))
                return Quit(kNotFound);
            main->close();
        });
    } else if (scenario == "about-ctrl-q") {
        Ref<MenuBar> bar = ProbeQuitMenuBar();
        Ref<Application> app = RuntimeNewObject<Application>();
        app->MenuBar(bar);
        RuntimeRegisterAppObject(app);
        OpenProbeWindow({"MainProbe", Sized(600, 361, 2), bar, {}, {}});
        OpenProbeWindow({"AboutProbe", Sized(283, 350, 1), {}, {}, {}});
        PressCtrlQOnceActive();
    } else {
        Quit(kUnknown);
    }
}
} // namespace

int main(int argc, char** argv) {
    scenario = argc > 1 ? argv[1] : "";
    quitCode = argc > 2 ? std::atoi(argv[2]) : 0;
    RuntimeSelectBackend(CreateQtPlatform(argc, argv));
    RuntimeInit();
    RunFrameworkInitialization(&LateStartup);
    RuntimeRun();
    return lateStartups == 1 ? RuntimeExit() : kTwice;
}
