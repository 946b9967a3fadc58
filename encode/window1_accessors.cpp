// The main window's typed accessors: each finds its object by name afresh
// and checks its class; nothing is cached.

#include "window1.h"

Ref<BevelButton> Window1::BevelButton1() {
    return RuntimeCheckCast<::BevelButton>(ControlByName("BevelButton1"));
}
Ref<GroupBox> Window1::GroupBox1() {
    return RuntimeCheckCast<::GroupBox>(ControlByName("GroupBox1"));
}
Ref<Label> Window1::Label1() {
    return RuntimeCheckCast<::Label>(ControlByName("Label1"));
}

template <class T> Ref<T> Window1::MenuItemNamed(const char* name) {
    Ref<::MenuBar> bar = MenuBar();
    if (!bar)
        RaiseNilObjectException("the window's menu bar");
    return RuntimeCheckCast<T>(bar->Lookup(name));
}

#define TAMZEL_MENU_ACCESSOR(Member, Class)                                                        \
    Ref<Class> Window1::Member() {                                                                 \
        return MenuItemNamed<Class>(#Member);                                                      \
    }
TAMZEL_MENU_ACCESSOR(Help, MenuItem)
TAMZEL_MENU_ACCESSOR(AboutTamzel, AppleMenuItem)
TAMZEL_MENU_ACCESSOR(Email, MenuItem)
TAMZEL_MENU_ACCESSOR(UntitledSeparator, MenuItem)
TAMZEL_MENU_ACCESSOR(EditMenu, MenuItem)
TAMZEL_MENU_ACCESSOR(EditSelectAll, MenuItem)
TAMZEL_MENU_ACCESSOR(EditSeparator2, MenuItem)
TAMZEL_MENU_ACCESSOR(EditClear, MenuItem)
TAMZEL_MENU_ACCESSOR(EditPaste, MenuItem)
TAMZEL_MENU_ACCESSOR(EditCopy, MenuItem)
TAMZEL_MENU_ACCESSOR(EditCut, MenuItem)
TAMZEL_MENU_ACCESSOR(EditSeparator1, MenuItem)
TAMZEL_MENU_ACCESSOR(EditUndo, MenuItem)
TAMZEL_MENU_ACCESSOR(FileMenu, MenuItem)
TAMZEL_MENU_ACCESSOR(FileEncode, MenuItem)
TAMZEL_MENU_ACCESSOR(FileQuit, QuitMenuItem)
#undef TAMZEL_MENU_ACCESSOR
