#include "picture.h"

#include "file.h"
#include "platform.h"
#include "process.h"

Ref<Picture> Picture::OpenFromApp(const std::string& fileName) {
    RequireMainThread();
    Ref<FolderItem> resources = SpecialFolder::Resources();
    if (!resources)
        return nullptr;
    Ref<FolderItem> file = resources->Child(fileName, true);
    if (!file || !file->Exists())
        return nullptr;
    auto image = RuntimePlatform().LoadPicture(file->NativePath());
    if (!image)
        return nullptr;
    return RuntimeNewObject<Picture>(fileName, std::move(image));
}
