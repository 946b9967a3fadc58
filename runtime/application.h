#pragma once
// The application object.

#include "delegate.h"
#include "menu.h"
#include "object.h"

#include <cstdint>
#include <map>
#include <string>

struct VersionData {
    std::int64_t major = 0, minor = 0, bug = 0, nonRelease = 0, stageCode = 0;
    std::string longVersion, shortVersion, packageInfo;
};

class Application : public Object {
  public:
    void x_SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion,
                          std::int64_t bugVersion, std::int64_t nonReleaseVersion,
                          std::int64_t stageCode, const std::string& longVersion,
                          const std::string& shortVersion, const std::string& packageInfo);
    const VersionData& Version() const { return version_; }

    Ref<::MenuBar> MenuBar() const { return menuBar_; }
    void MenuBar(Ref<::MenuBar> bar);

    // Binds a bare handler to a menu-item Name; the runtime runs it on the
    // application object when the item is chosen.
    void AddMenuHandler(const std::string& name, MethodDelegate::Function handler);
    bool HasMenuHandler(const std::string& name) const { return handlers_.count(name) != 0; }
    // Runs the handler bound to `name`; false when there is none.
    bool RunMenuHandler(const std::string& name);

    TAMZEL_CLASS_RECORD()

  private:
    VersionData version_;
    Ref<::MenuBar> menuBar_;
    std::map<std::string, MethodDelegate::Function> handlers_;
};

void RuntimeRegisterAppObject(Ref<Application> app);
// The registered application object, or nil.
Ref<Application> GetAppObject();
