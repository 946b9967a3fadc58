#pragma once
// The application object and its three menu actions.

#include "runtime/application.h"

class App : public Application {
  public:
    // The registered application object.
    static Ref<App> Instance();
    static void ctblinit();
    static const ClassRecord& ClassInfo();
    const ClassRecord& Record() const override { return ClassInfo(); }

    virtual bool AboutTamzel_Action();
    virtual bool Email_Action();
    virtual bool FileEncode_Action();
    virtual void Constructor() {}

    bool IsEventImplemented(const std::string& eventName);
};

// The developer's address, as the Contact Developer item opens it.
inline constexpr const char* kContactURL = "mailto:hello@tamzel.example";
