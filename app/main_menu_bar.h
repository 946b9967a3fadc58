#pragma once
// The program's one menu bar: File, Edit and Help, shared by the
// application and the main window.

#include "runtime/menu.h"

class MainMenuBar : public MenuBar {
  public:
    // The shared bar, built on the first call. A failed build leaves no bar
    // behind, and the next call builds a whole new one.
    static Ref<MainMenuBar> Instance();
    static Ref<MainMenuBar>& implicitInstance();
    static void implicitInstance_Init();
    static void ctblinit();
    static const ClassRecord& ClassInfo();
    const ClassRecord& Record() const override { return ClassInfo(); }

    // Builds the three menus, in order.
    void Constructor() override;
    virtual void Untitled0();
    virtual void Untitled1();
    virtual void Untitled2();
};
