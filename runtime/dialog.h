#pragma once
// Modal file and folder dialogs, and the message box.

#include "file.h"
#include "object.h"

#include <cstdint>
#include <string>
#include <vector>

// What a dialog shows; the backend reads it when the dialog is shown.
struct DialogSettings {
    std::string actionButtonCaption, title, promptText, initialDirectory;
    bool multiSelect = false;
};

class FolderItemDialog : public Object {
  public:
    void ActionButtonCaption(const std::string& v) { settings_.actionButtonCaption = v; }
    void Title(const std::string& v) { settings_.title = v; }
    void PromptText(const std::string& v) { settings_.promptText = v; }
    void InitialDirectory(const Ref<FolderItem>& folder) {
        settings_.initialDirectory = folder ? folder->NativePath() : std::string();
    }
    const DialogSettings& Settings() const { return settings_; }
    // Shows the dialog modally: the first chosen item when the user accepted,
    // nil when the user cancelled.
    virtual Ref<FolderItem> ShowModal() = 0;
    TAMZEL_CLASS_RECORD()

  protected:
    DialogSettings settings_;
};

class OpenDialog : public FolderItemDialog {
  public:
    OpenDialog();
    virtual void Constructor() {}
    void MultiSelect(bool on);
    Ref<FolderItem> ShowModal() override;
    // The number of files chosen in the last showing; readable after the
    // dialog has closed.
    std::int64_t Count() const;
    // The chosen file at `index`, from 0.
    Ref<FolderItem> Item(std::int64_t index) const;
    TAMZEL_CLASS_RECORD()

  private:
    std::vector<std::string> chosen_;
};

class SelectFolderDialog : public FolderItemDialog {
  public:
    SelectFolderDialog();
    virtual void Constructor() {}
    Ref<FolderItem> ShowModal() override;
    TAMZEL_CLASS_RECORD()
};

// Shows `text` in a modal message box.
void MsgBox(const std::string& text);
