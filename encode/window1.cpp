#include "window1.h"

#include "app/main_menu_bar.h"
#include "hqx_code.h"
#include "mac_picture.h"
#include "runtime/process.h"
#include "window_building.h"

namespace {
const Color kGrey{153, 153, 153, 0};

const PropertyValues kWindowValues = WindowValues({
    {"Width", std::int64_t{600}},
    {"Height", std::int64_t{361}},
    {"Title", std::string("Tamzel")},
    {"HasMinimizeButton", true},
    {"DefaultLocation", std::int64_t{2}},
});

// What the main window's three controls have beyond every control's values.
PropertyValues With(PropertyValues own) {
    PropertyValues all = ControlValues({
        {"Bold", false},
        {"Italic", false},
        {"Underline", false},
        {"FontUnit", std::int64_t{0}},
    });
    all.insert(all.end(), own.begin(), own.end());
    return all;
}

const PropertyValues kBevelButton1Values = With({
    {"Name", std::string("BevelButton1")},
    {"Left", std::int64_t{200}},
    {"Top", std::int64_t{83}},
    {"Width", std::int64_t{200}},
    {"Height", std::int64_t{234}},
    {"TabIndex", std::int64_t{1}},
    {"Transparent", true},
    {"Caption", std::string()},
    {"Value", false},
    {"FontName", std::string("System")},
    {"FontSize", 0.0},
    {"TextColor", kBlack},
    {"CaptionDelta", std::int64_t{0}},
    {"CaptionAlignment", std::int64_t{3}},
    {"CaptionPosition", std::int64_t{1}},
    {"IconAlignment", std::int64_t{1}},
    {"IconDeltaX", std::int64_t{0}},
    {"IconDeltaY", std::int64_t{0}},
    {"BevelStyle", std::int64_t{6}},
    {"MenuStyle", std::int64_t{0}},
    {"ButtonStyle", std::int64_t{0}},
    {"HasBackgroundColor", false},
    {"BackgroundColor", kGrey},
    {"AllowFocus", true},
});

const PropertyValues kGroupBox1Values = With({
    {"Name", std::string("GroupBox1")},
    {"Left", std::int64_t{69}},
    {"Top", std::int64_t{59}},
    {"Width", std::int64_t{462}},
    {"Height", std::int64_t{282}},
    {"TabIndex", std::int64_t{5}},
    {"Transparent", true},
    {"Caption", std::string()},
    {"FontName", std::string("System")},
    {"FontSize", 0.0},
});

const PropertyValues kLabel1Values = With({
    {"Name", std::string("Label1")},
    {"Left", std::int64_t{78}},
    {"Top", std::int64_t{14}},
    {"Width", std::int64_t{445}},
    {"Height", std::int64_t{36}},
    {"TabIndex", std::int64_t{6}},
    {"Transparent", false},
    {"Value", std::string()},
    {"FontName", std::string("Helvetica")},
    {"FontSize", 15.0},
    {"TextColor", kBlack},
    {"TextAlignment", std::int64_t{2}},
    {"Selectable", false},
    {"Multiline", false},
    {"DataField", std::string()},
    {"DataSource", std::string()},
});

template <class R> MethodInfo Accessor(const char* name, const char* result, R (Window1::*m)()) {
    return {name, {}, result, "", [m](Object& o) { (void)(dynamic_cast<Window1&>(o).*m)(); }};
}

ClassRecord MakeRecord() {
    ClassRecord r{
        "Window1.Window1", &Window::ClassInfo(), {"Close", "CreateControls", "Layout"}, {}};
    auto call = [](void (Window1::*m)()) {
        return [m](Object& o) { (dynamic_cast<Window1&>(o).*m)(); };
    };
    r.methods = {
        {"Layout", {}, "", "", call(&Window1::Layout)},
        {"CreateControls", {}, "", "", call(&Window1::CreateControls)},
        {"_CreateControls0", {}, "", "Hidden", call(&Window1::CreateControls0)},
        Accessor("BevelButton1", "BevelButton", &Window1::BevelButton1),
        Accessor("GroupBox1", "GroupBox", &Window1::GroupBox1),
        Accessor("Label1", "Label", &Window1::Label1),
        {"BevelButton1_Action", {"BevelButton"}, "", "", {}},
        {"BevelButton1_Open", {"BevelButton"}, "", "", {}},
        {"BevelButton1_DropObject", {"BevelButton", "DragItem", "Integer"}, "", "", {}},
        {"Label1_Open", {"Label"}, "", "", {}},
        Accessor("Help", "MenuItem", &Window1::Help),
        Accessor("AboutTamzel", "AppleMenuItem", &Window1::AboutTamzel),
        Accessor("Email", "MenuItem", &Window1::Email),
        Accessor("UntitledSeparator", "MenuItem", &Window1::UntitledSeparator),
        Accessor("EditMenu", "MenuItem", &Window1::EditMenu),
        Accessor("EditSelectAll", "MenuItem", &Window1::EditSelectAll),
        Accessor("EditSeparator2", "MenuItem", &Window1::EditSeparator2),
        Accessor("EditClear", "MenuItem", &Window1::EditClear),
        Accessor("EditPaste", "MenuItem", &Window1::EditPaste),
        Accessor("EditCopy", "MenuItem", &Window1::EditCopy),
        Accessor("EditCut", "MenuItem", &Window1::EditCut),
        Accessor("EditSeparator1", "MenuItem", &Window1::EditSeparator1),
        Accessor("EditUndo", "MenuItem", &Window1::EditUndo),
        Accessor("FileMenu", "MenuItem", &Window1::FileMenu),
        Accessor("FileEncode", "MenuItem", &Window1::FileEncode),
        Accessor("FileQuit", "QuitMenuItem", &Window1::FileQuit),
        {"Event_Close", {}, "", "", call(&Window1::Event_Close)},
        {"IsEventImplemented", {"String"}, "Boolean", "", {}},
    };
    return r;
}

} // namespace

void Window1::ctblinit() {
    (void)Lookup();
}

const ClassRecord& Window1::Lookup() {
    static const ClassRecord& record = RuntimeKeepClass(MakeRecord());
    return record;
}

Ref<Window1> Window1::Instance() {
    return ImplicitWindow<Window1>("Window1.Window1");
}

void Window1::Layout() {
    {
        Ref<MainMenuBar> bar = MainMenuBar::Instance();
        MenuBar(Ref<::MenuBar>(bar));
    }
    SetProperties(this, kWindowValues);
}

void Window1::CreateControls() {
    CreateControls0();
}

void Window1::CreateControls0() {
    CreateNamedControl<::BevelButton>(*this, "BevelButton1");
    NamedControl<::BevelButton>(*this, "BevelButton1")->Icon(x_Mac::Mac());
    SetProperties(NamedControl<::BevelButton>(*this, "BevelButton1").get(), kBevelButton1Values);
    {
        Ref<::BevelButton> button = NamedControl<::BevelButton>(*this, "BevelButton1");
        Ref<Delegate> action = RuntimeCreateDelegate(this, &Window1::BevelButton1_Action);
        Ref<Delegate> open = RuntimeCreateDelegate(this, &Window1::BevelButton1_Open);
        Ref<Delegate> drop = RuntimeCreateDelegate(this, &Window1::BevelButton1_DropObject);
        RuntimeAddEventHandler(button.get(), ControlEvent::Action, action);
        RuntimeAddEventHandler(button.get(), ControlEvent::Open, open);
        RuntimeAddEventHandler(button.get(), ControlEvent::DropObject, drop);
    }

    CreateNamedControl<::GroupBox>(*this, "GroupBox1");
    SetProperties(NamedControl<::GroupBox>(*this, "GroupBox1").get(), kGroupBox1Values);

    CreateNamedControl<::Label>(*this, "Label1");
    SetProperties(NamedControl<::Label>(*this, "Label1").get(), kLabel1Values);
    {
        Ref<::Label> label = NamedControl<::Label>(*this, "Label1");
        Ref<Delegate> open = RuntimeCreateDelegate(this, &Window1::Label1_Open);
        RuntimeAddEventHandler(label.get(), ControlEvent::Open, open);
    }
}

void Window1::BevelButton1_Action(::BevelButton*) {
    HQX_code::HQX();
}

void Window1::BevelButton1_Open(::BevelButton* button) {
    RequireObject(button, "BevelButton1")->AcceptFileDrop("ALLFILES");
}

void Window1::Label1_Open(::Label* label) {
    RequireObject(label, "Label1");
    label->Text("You can drag && drop files on the Classic Mac, or click to browse.");
    label->TextSize(15);
    label->TextFont("Helvetica");
}

void Window1::Event_Close() {
    Quit(0);
}

bool Window1::IsEventImplemented(const std::string& eventName) {
    return RuntimeIsEventHandled(this, "Window1.Window1", eventName, true);
}
