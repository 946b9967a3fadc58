#include "shell.h"

#include "platform.h"
#include "process.h"

namespace {
int nextRunnerId = 1;
}

Shell::Shell() : id_(nextRunnerId++) {
    // A runner that never gets a command still shows in a journal.
    RuntimePlatform().Note("runner created: " + std::to_string(id_));
}

void Shell::Execute(const std::string& command) {
    RuntimePlatform().ExecuteShell(id_, command);
}

Ref<Sound> Sound::Open(const Ref<FolderItem>& file) {
    RequireObject(file, "sound file");
    return RuntimeNewObject<Sound>(file->NativePath());
}

void Sound::Play() {
    RuntimePlatform().PlaySound(path_);
}

void ShowURL(const std::string& url) {
    RequireMainThread();
    RuntimePlatform().OpenURL(url);
}
