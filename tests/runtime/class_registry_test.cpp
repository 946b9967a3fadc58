// Every class record of the runtime is the one its registry hands out by
// name: the very object ClassInfo() returns, never a copy of it. Built with
// every copy kept (see CMakeLists.txt), so a registry that held the address
// of a temporary copy would show it here.

#include "runtime/application.h"
#include "runtime/control.h"
#include "runtime/delegate.h"
#include "runtime/dialog.h"
#include "runtime/file.h"
#include "runtime/menu.h"
#include "runtime/picture.h"
#include "runtime/shell.h"
#include "runtime/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct Entry {
    const ClassRecord* record;
    const ClassRecord* parent;
};

template <class Class, class Parent> Entry Of() {
    return {&Class::ClassInfo(), &Parent::ClassInfo()};
}

std::vector<Entry> RuntimeClasses() {
    return {
        {&Object::ClassInfo(), nullptr},
        Of<Delegate, Object>(),
        Of<MethodDelegate, Object>(),
        Of<Picture, Object>(),
        Of<RectControl, Object>(),
        Of<BevelButton, RectControl>(),
        Of<Label, RectControl>(),
        Of<GroupBox, RectControl>(),
        Of<ImageWell, RectControl>(),
        Of<Window, Object>(),
        Of<MenuItem, Object>(),
        Of<QuitMenuItem, MenuItem>(),
        Of<AppleMenuItem, MenuItem>(),
        Of<MenuBar, MenuItem>(),
        Of<Application, Object>(),
        Of<FolderItem, Object>(),
        Of<FileType, Object>(),
        Of<DragItem, Object>(),
        Of<FolderItemDialog, Object>(),
        Of<OpenDialog, FolderItemDialog>(),
        Of<SelectFolderDialog, FolderItemDialog>(),
        Of<Shell, Object>(),
        Of<Sound, Object>(),
    };
}

TEST(ClassRegistry, FindsEveryRuntimeClassAtTheAddressOfItsRecord) {
    for (const Entry& e : RuntimeClasses()) {
        const std::string name = e.record->name;
        EXPECT_EQ(RuntimeFindClass(name), e.record) << name;
        EXPECT_EQ(e.record->parent, e.parent) << name;
    }
}
} // namespace
