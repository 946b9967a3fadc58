// The records of the runtime's own classes, with the events each declares.

#include "application.h"
#include "dialog.h"
#include "file.h"
#include "shell.h"
#include "window.h"

// The runtime keeps each record and registers the kept one, so the registry
// and ClassInfo() hand out the same address however the compiler copies.
#define TAMZEL_DEFINE_RECORD(Class, Parent)                                                        \
    const ClassRecord& Class::ClassInfo() {                                                        \
        static const ClassRecord& record =                                                         \
            RuntimeKeepClass(ClassRecord{#Class, &Parent::ClassInfo(), {}, {}});                   \
        return record;                                                                             \
    }

TAMZEL_DEFINE_RECORD(Delegate, Object)
TAMZEL_DEFINE_RECORD(MethodDelegate, Object)
TAMZEL_DEFINE_RECORD(Picture, Object)
TAMZEL_DEFINE_RECORD(RectControl, Object)
TAMZEL_DEFINE_RECORD(BevelButton, RectControl)
TAMZEL_DEFINE_RECORD(Label, RectControl)
TAMZEL_DEFINE_RECORD(GroupBox, RectControl)
TAMZEL_DEFINE_RECORD(ImageWell, RectControl)
TAMZEL_DEFINE_RECORD(Window, Object)
TAMZEL_DEFINE_RECORD(MenuItem, Object)
TAMZEL_DEFINE_RECORD(QuitMenuItem, MenuItem)
TAMZEL_DEFINE_RECORD(AppleMenuItem, MenuItem)
TAMZEL_DEFINE_RECORD(MenuBar, MenuItem)
TAMZEL_DEFINE_RECORD(Application, Object)
TAMZEL_DEFINE_RECORD(FolderItem, Object)
TAMZEL_DEFINE_RECORD(FileType, Object)
TAMZEL_DEFINE_RECORD(DragItem, Object)
TAMZEL_DEFINE_RECORD(FolderItemDialog, Object)
TAMZEL_DEFINE_RECORD(OpenDialog, FolderItemDialog)
TAMZEL_DEFINE_RECORD(SelectFolderDialog, FolderItemDialog)
TAMZEL_DEFINE_RECORD(Shell, Object)
TAMZEL_DEFINE_RECORD(Sound, Object)
