// Files dropped on the picture button: each goes to the binhex tool at
// once, one command line after another on the drop's own runner.

#include "command_line.h"
#include "completion_chime.h"
#include "runtime/process.h"
#include "runtime/shell.h"
#include "window1.h"

void Window1::BevelButton1_DropObject(::BevelButton*, DragItem* obj, std::int64_t) {
    Ref<Shell> shell = New<Shell>();
    RequireObject(obj, "dropped items");
    if (obj->FolderItemAvailable()) {
        do {
            // Only the first item was tested; a later one without a file is
            // skipped rather than failing the rest of the drop.
            Ref<FolderItem> file = obj->FolderItem();
            if (!file)
                continue;
            shell->Execute(DropEncodeCommand(file->NativePath()));
            RuntimeBackgroundTask();
        } while (obj->NextItem());
    }
    PlayCompletionChime();
}
