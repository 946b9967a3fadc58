#include "app.h"

#include "about.h"
#include "encode/hqx_code.h"
#include "runtime/shell.h"

static_assert(std::char_traits<char>::length(kContactURL) == 27);

namespace {
ClassRecord MakeRecord() {
    ClassRecord r{"App", &Application::ClassInfo(), {}, {}};
    auto call = [](bool (App::*m)()) {
        return [m](Object& o) { (void)(dynamic_cast<App&>(o).*m)(); };
    };
    r.methods = {
        {"_AboutTamzel_Action", {}, "Boolean", "", call(&App::AboutTamzel_Action)},
        {"_Email_Action", {}, "Boolean", "", call(&App::Email_Action)},
        {"_FileEncode_Action", {}, "Boolean", "", call(&App::FileEncode_Action)},
        {"Constructor", {}, "", "", [](Object& o) { dynamic_cast<App&>(o).Constructor(); }},
        {"IsEventImplemented", {"String"}, "Boolean", "", {}},
    };
    return r;
}
} // namespace

const ClassRecord& App::ClassInfo() {
    static const ClassRecord& record = RuntimeKeepClass(MakeRecord());
    return record;
}

void App::ctblinit() {
    (void)ClassInfo();
}

Ref<App> App::Instance() {
    return RuntimeCheckCast<App>(GetAppObject());
}

bool App::AboutTamzel_Action() {
    Ref<About> about = About::Instance();
    RequireObject(about, "About window")->Show();
    return false;
}

bool App::Email_Action() {
    ShowURL(kContactURL);
    return false;
}

bool App::FileEncode_Action() {
    HQX_code::HQX();
    return false;
}

bool App::IsEventImplemented(const std::string& eventName) {
    return RuntimeIsEventHandled(this, "App", eventName, true);
}
