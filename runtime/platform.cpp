// The defaults a backend inherits: where the program's files are.

#include "platform.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsDirectory(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()))
        return pw->pw_dir;
    return "/";
}

// XDG_DESKTOP_DIR from the user-dirs file, with $HOME expanded, or empty.
std::string XdgDesktopDirectory(const std::string& home) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string file =
        (config && *config ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
    std::ifstream in(file);
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=\"";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0 || line.back() != '"')
            continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        return value;
    }
    return {};
}
} // namespace

std::string ExecutableDirectory() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/'));
}

std::string BundledToolsDirectory() {
    // The executable's folder has no symbolic links or dot-dots left in it,
    // so its parent is the tree's root; the PATH element then reads plainly.
    const std::string bin = ExecutableDirectory();
    return bin.empty() ? bin : bin.substr(0, bin.find_last_of('/')) + "/libexec/tamzel";
}

std::string Platform::DesktopPath() {
    const std::string home = HomeDirectory();
    for (const std::string& candidate : {XdgDesktopDirectory(home), home + "/Desktop"})
        if (IsDirectory(candidate))
            return candidate;
    return home;
}

std::string Platform::ResourcesPath() {
    // The same layout in the build tree and in an installed tree:
    // bin/tamzel and share/tamzel/resources/.
    return ExecutableDirectory() + "/../share/tamzel/resources";
}

void Platform::ExecuteShell(int, const std::string& command) {
    RunShellCommand(command);
}
