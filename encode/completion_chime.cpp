#include "completion_chime.h"

#include "runtime/file.h"
#include "runtime/shell.h"

void PlayCompletionChime() {
    Ref<FolderItem> resources = SpecialFolder::Resources();
    if (!resources)
        return; // A program without its resources still encodes; it is only quiet.
    Ref<FolderItem> chime = resources->Child("Mac_Chime.m4a", true);
    if (!chime || !chime->Exists())
        return;
    if (Ref<Sound> sound = Sound::Open(chime))
        sound->Play();
}
