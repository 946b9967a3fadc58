#pragma once
// The About window: the emblem, the product name, the version text and the
// maker's notice.

#include "runtime/control.h"
#include "runtime/window.h"

class About : public Window {
  public:
    // The open About window, or a new one; never shows it.
    static Ref<About> Instance();
    static void ctblinit();
    static const ClassRecord& Lookup();
    static const ClassRecord& ClassInfo() { return Lookup(); }
    const ClassRecord& Record() const override { return Lookup(); }

    void Layout() override;
    void CreateControls() override;
    virtual void CreateControls0();
    // The window's controls, found by name on every call; nil when missing.
    virtual Ref<::ImageWell> ImageWell1();
    virtual Ref<::Label> Label1();
    virtual Ref<::Label> Label2();
    virtual Ref<::Label> Label3();

    bool IsEventImplemented(const std::string& eventName);
};

namespace x_Tamzel2 {
// The emblem, "Tamzel 2.tiff"; nil while it cannot be loaded. Once loaded it
// is kept for the rest of the run.
Ref<Picture> Tamzel2();
} // namespace x_Tamzel2

// The maker's notice: two lines separated by a carriage return.
inline constexpr const char* kMakersNotice =
    "\xC2\xA9 2026 The Tamzel developers.\rFree to use and to share.";
