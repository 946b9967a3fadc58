#include "about.h"

#include "encode/window_building.h"

namespace {
const PropertyValues kWindowValues = WindowValues({
    {"Width", std::int64_t{283}},
    {"Height", std::int64_t{350}},
    {"Title", std::string()},
    {"HasMinimizeButton", false},
    {"DefaultLocation", std::int64_t{1}},
});

PropertyValues LabelValues(const char* name, std::int64_t top, std::int64_t height,
                           std::int64_t tabIndex, const char* text, double size, bool bold,
                           bool multiline) {
    return ControlValues({
        {"Left", std::int64_t{12}},
        {"Top", top},
        {"Width", std::int64_t{260}},
        {"Height", height},
        {"Name", std::string(name)},
        {"TabIndex", tabIndex},
        {"Transparent", false},
        {"Value", std::string(text)},
        {"FontName", std::string("System")},
        {"FontSize", size},
        {"Bold", bold},
        {"Multiline", multiline},
        {"TextAlignment", std::int64_t{2}},
        {"FontUnit", std::int64_t{0}},
        {"Italic", false},
        {"Underline", false},
        {"TextColor", kBlack},
        {"Selectable", false},
        {"DataField", std::string()},
        {"DataSource", std::string()},
    });
}

const PropertyValues kImageWell1Values = ControlValues({
    {"Left", std::int64_t{29}},
    {"Top", std::int64_t{12}},
    {"Width", std::int64_t{225}},
    {"Height", std::int64_t{225}},
    {"Name", std::string("ImageWell1")},
    {"TabIndex", std::int64_t{0}},
    {"Transparent", true},
});
const PropertyValues kLabel1Values = LabelValues("Label1", 249, 33, 1, "Tamzel", 14, true, false);
const PropertyValues kLabel2Values =
    LabelValues("Label2", 280, 17, 2, "Version 3.0", 10, false, false);
const PropertyValues kLabel3Values =
    LabelValues("Label3", 302, 28, 3, kMakersNotice, 10, false, true);

ClassRecord MakeRecord() {
    ClassRecord r{"About.About", &Window::ClassInfo(), {"CreateControls", "Layout"}, {}};
    auto call = [](auto m) { return [m](Object& o) { (void)(dynamic_cast<About&>(o).*m)(); }; };
    r.methods = {
        {"Layout", {}, "", "", call(&About::Layout)},
        {"CreateControls", {}, "", "", call(&About::CreateControls)},
        {"_CreateControls0", {}, "", "Hidden", call(&About::CreateControls0)},
        {"ImageWell1", {}, "ImageWell", "", call(&About::ImageWell1)},
        {"Label1", {}, "Label", "", call(&About::Label1)},
        {"Label2", {}, "Label", "", call(&About::Label2)},
        {"Label3", {}, "Label", "", call(&About::Label3)},
        {"IsEventImplemented", {"String"}, "Boolean", "", {}},
    };
    return r;
}

} // namespace

void About::ctblinit() {
    (void)Lookup();
}

const ClassRecord& About::Lookup() {
    static const ClassRecord& record = RuntimeKeepClass(MakeRecord());
    return record;
}

Ref<About> About::Instance() {
    return ImplicitWindow<About>("About.About");
}

void About::Layout() {
    SetProperties(this, kWindowValues);
}

void About::CreateControls() {
    CreateControls0();
}

void About::CreateControls0() {
    CreateNamedControl<::ImageWell>(*this, "ImageWell1");
    NamedControl<::ImageWell>(*this, "ImageWell1")->Image(x_Tamzel2::Tamzel2());
    SetProperties(NamedControl<::ImageWell>(*this, "ImageWell1").get(), kImageWell1Values);

    const std::pair<const char*, const PropertyValues*> labels[] = {
        {"Label1", &kLabel1Values}, {"Label2", &kLabel2Values}, {"Label3", &kLabel3Values}};
    for (const auto& [name, values] : labels) {
        CreateNamedControl<::Label>(*this, name);
        SetProperties(NamedControl<::Label>(*this, name).get(), *values);
    }
}

// Like the main window's accessors: found afresh and class-checked on every
// call, nil when the window holds no control of that name (after a close).
Ref<ImageWell> About::ImageWell1() {
    return RuntimeCheckCast<::ImageWell>(ControlByName("ImageWell1"));
}
Ref<Label> About::Label1() {
    return RuntimeCheckCast<::Label>(ControlByName("Label1"));
}
Ref<Label> About::Label2() {
    return RuntimeCheckCast<::Label>(ControlByName("Label2"));
}
Ref<Label> About::Label3() {
    return RuntimeCheckCast<::Label>(ControlByName("Label3"));
}

bool About::IsEventImplemented(const std::string& eventName) {
    return RuntimeIsEventHandled(this, "About.About", eventName, true);
}

namespace x_Tamzel2 {
Ref<Picture> Tamzel2() {
    static Ref<Picture>& pic = *new Ref<Picture>(); // never released, like the program
    return CachedAppPicture(pic, "Tamzel 2.tiff");
}
} // namespace x_Tamzel2
