#include "application.h"

#include "platform.h"
#include "process.h"

namespace {
Ref<Application>& AppObject() {
    static auto* app = new Ref<Application>;
    return *app;
}
} // namespace

void Application::x_SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion,
                                   std::int64_t bugVersion, std::int64_t nonReleaseVersion,
                                   std::int64_t stageCode, const std::string& longVersion,
                                   const std::string& shortVersion,
                                   const std::string& packageInfo) {
    version_ = {majorVersion, minorVersion, bugVersion,   nonReleaseVersion,
                stageCode,    longVersion,  shortVersion, packageInfo};
    RuntimePlatform().Note("version " + std::to_string(majorVersion) + "." +
                           std::to_string(minorVersion) + "." + std::to_string(bugVersion) +
                           " set on " + Record().name);
}

void Application::MenuBar(Ref<::MenuBar> bar) {
    RequireMainThread();
    menuBar_ = std::move(bar);
    RuntimePlatform().Note("menu bar installed on " + Record().name);
}

void Application::AddMenuHandler(const std::string& name, MethodDelegate::Function handler) {
    // The menu dispatch reads the table on the main thread.
    RequireMainThread();
    handlers_[name] = std::move(handler);
    RuntimePlatform().Note("menu handler bound: " + name);
}

bool Application::RunMenuHandler(const std::string& name) {
    auto it = handlers_.find(name);
    if (it == handlers_.end())
        return false;
    auto handler = it->second;
    return handler(*this);
}

void RuntimeRegisterAppObject(Ref<Application> app) {
    RequireObject(app, "application object");
    RuntimePlatform().Note("application object registered: " + app->Record().name);
    AppObject() = std::move(app);
}

Ref<Application> GetAppObject() {
    return AppObject();
}
