// Stands where the program stands, in bin/ of a build or installed tree, and
// prints what the runtime finds from there: the resources folder, each file
// the program loads from it, and the binhex that the shell runner would run.
// installed_tree_test.sh reads what it prints.

#include "runtime/file.h"
#include "runtime/process.h"
#include "runtime/scripted/scripted_platform.h"
#include "runtime/shell.h"

#include <cstdio>
#include <memory>

int main() {
    auto platform = std::make_unique<ScriptedPlatform>();
    platform->RunCommands(true);
    RuntimeSelectBackend(std::move(platform));
    RuntimeInit();

    Ref<FolderItem> resources = SpecialFolder::Resources();
    std::printf("resources: %s\n", resources ? resources->NativePath().c_str() : "");
    for (const char* name : {"Mac.tiff", "Tamzel 2.tiff", "Mac_Chime.m4a"}) {
        Ref<FolderItem> file = resources ? resources->Child(name) : nullptr;
        std::printf("%s: %s\n", name, file && file->Exists() ? "found" : "missing");
    }
    std::fflush(stdout);

    // The runner discards the command's standard output; its standard error
    // is ours.
    RuntimeNewObject<Shell>()->Execute("printf 'binhex: %s\\n' \"$(command -v binhex)\" >&2");
    return 0;
}
