#include "qt_probe_window.h"

#include <deque>

namespace {
// Records live for the whole run, as the runtime wants; one per class name.
const ClassRecord& RecordNamed(const std::string& name) {
    static std::deque<ClassRecord> records;
    for (const ClassRecord& r : records)
        if (r.name == name)
            return r;
    records.push_back(ClassRecord{name, &Window::ClassInfo(), {"Close"}, {}});
    RuntimeRegisterClass(records.back());
    return records.back();
}
} // namespace

ProbeWindow::ProbeWindow(Setup setup)
    : setup_(std::move(setup)), record_(&RecordNamed(setup_.className)) {}

void ProbeWindow::Layout() {
    SetProperties(this, setup_.properties);
    if (setup_.menuBar)
        MenuBar(setup_.menuBar);
}

void ProbeWindow::CreateControls() {
    if (setup_.createControls)
        setup_.createControls(*this);
}

void ProbeWindow::Event_Close() {
    if (setup_.onClose)
        setup_.onClose();
}

Ref<ProbeWindow> OpenProbeWindow(ProbeWindow::Setup setup) {
    Ref<ProbeWindow> window = RuntimeNewObject<ProbeWindow>(std::move(setup));
    window->Constructor();
    return window;
}

Ref<MenuBar> ProbeQuitMenuBar() {
    Ref<MenuBar> bar = ProbeMenuItem<MenuBar>("MainMenuBar", "");
    Ref<MenuItem> file = ProbeMenuItem("FileMenu", "&File");
    file->AddMenu(ProbeMenuItem<QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
    bar->AddMenu(file);
    return bar;
}
