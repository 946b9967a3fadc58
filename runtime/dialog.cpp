#include "dialog.h"

#include "platform.h"
#include "process.h"

OpenDialog::OpenDialog() {
    RequireMainThread();
}

void OpenDialog::MultiSelect(bool on) {
    RequireMainThread();
    settings_.multiSelect = on;
}

Ref<FolderItem> OpenDialog::ShowModal() {
    RequireMainThread();
    chosen_.clear();
    auto chosen = RuntimePlatform().ShowOpenDialog(settings_);
    if (!chosen || chosen->empty())
        return nullptr;
    chosen_ = std::move(*chosen);
    return RuntimeNewObject<FolderItem>(chosen_.front());
}

std::int64_t OpenDialog::Count() const {
    RequireMainThread();
    return static_cast<std::int64_t>(chosen_.size());
}

Ref<FolderItem> OpenDialog::Item(std::int64_t index) const {
    RequireMainThread();
    if (index < 0 || index >= Count())
        throw OutOfBoundsException("no chosen file at index " + std::to_string(index));
    return RuntimeNewObject<FolderItem>(chosen_[static_cast<std::size_t>(index)]);
}

SelectFolderDialog::SelectFolderDialog() {
    RequireMainThread();
}

Ref<FolderItem> SelectFolderDialog::ShowModal() {
    RequireMainThread();
    auto chosen = RuntimePlatform().ShowFolderDialog(settings_);
    // An empty path names no folder; taking it would send the encoded files
    // wherever the tool's default lies.
    if (!chosen || chosen->empty())
        return nullptr;
    return RuntimeNewObject<FolderItem>(*chosen);
}

void MsgBox(const std::string& text) {
    RequireMainThread();
    RuntimePlatform().ShowMessage(text);
}
