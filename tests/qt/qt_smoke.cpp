// A program as small as a test: it starts on the Qt backend, runs its late
// start-up once from inside the event loop and ends as its scenario says.
//   qt_smoke quit N      late start-up quits with N
//   qt_smoke menu-quit   the Quit item of the window's menu bar is chosen
//   qt_smoke close-main  the main window is closed while the About window is
//                        open; the main window's Close handler quits with 0

#include "qt_probe_window.h"

#include "runtime/qt/qt_platform.h"

#include "runtime/process.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <string>

namespace {
std::string scenario;
int quitCode = 0;
int lateStartups = 0;

// Exit codes that tell what went wrong.
constexpr int kNotFound = 90, kTwice = 91, kHung = 92, kUnknown = 93;

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
