#include "hqx_code.h"

#include "command_line.h"
#include "completion_chime.h"
#include "runtime/dialog.h"
#include "runtime/file.h"
#include "runtime/process.h"
#include "runtime/shell.h"

#include <cstdint>

namespace {
constexpr std::int64_t kBatchLimit = 3000;
}

void HQX_code::HQX() {
    Ref<OpenDialog> fileDialog = RuntimeNewObject<OpenDialog>();
    fileDialog->Constructor();
    fileDialog->ActionButtonCaption("Select");
    fileDialog->Title("Choose a File");
    fileDialog->PromptText("Choose files to encode to HQX:");
    fileDialog->MultiSelect(true);
    fileDialog->InitialDirectory(SpecialFolder::Desktop());
    if (!fileDialog->ShowModal())
        return;

    if (fileDialog->Count() > kBatchLimit) {
        MsgBox("Tamzel works best when you choose fewer than 3,000 files at a time.  Please try "
               "again with a smaller batch.");
        return;
    }

    Ref<SelectFolderDialog> folderDialog = RuntimeNewObject<SelectFolderDialog>();
    folderDialog->Constructor();
    folderDialog->ActionButtonCaption("Select");
    folderDialog->Title("Choose a Folder");
    folderDialog->PromptText("Choose destination for your encoded files:");
    folderDialog->InitialDirectory(SpecialFolder::Desktop());
    Ref<FolderItem> destination = folderDialog->ShowModal();
    if (!destination)
        return;

    Ref<Shell> shell = RuntimeNewObject<Shell>();
    for (std::int64_t i = 0; !(i > fileDialog->Count() - 1); ++i) {
        Ref<FolderItem> file = RequireObject(fileDialog->Item(i), "chosen file");
        std::string filePath = file->ShellPath();
        shell->Execute(BatchEncodeCommand(filePath, destination->ShellPath()));
        RuntimeBackgroundTask();
    }
    PlayCompletionChime();
}
