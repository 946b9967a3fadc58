#include "file.h"

#include "platform.h"
#include "process.h"

#include <climits>
#include <cstdlib>
#include <map>
#include <sys/stat.h>

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string FolderItem::ShellPath() const {
    return ShellQuote(path_);
}

bool FolderItem::Exists() const {
    struct stat st;
    return !path_.empty() && ::stat(path_.c_str(), &st) == 0;
}

Ref<FolderItem> FolderItem::Child(const std::string& name, bool resolveAliases) const {
    if (name.empty() || name.find('/') != std::string::npos)
        return nullptr;
    std::string path = path_;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    if (resolveAliases) {
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
            char resolved[PATH_MAX];
            // A dangling link stands for nothing: keep the link's own path,
            // which does not exist either.
            if (::realpath(path.c_str(), resolved))
                path = resolved;
        }
    }
    return RuntimeNewObject<FolderItem>(path);
}

namespace SpecialFolder {
Ref<FolderItem> Desktop() {
    return RuntimeNewObject<FolderItem>(RuntimePlatform().DesktopPath());
}

Ref<FolderItem> Resources() {
    std::string path = RuntimePlatform().ResourcesPath();
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return nullptr;
    return RuntimeNewObject<FolderItem>(path);
}
} // namespace SpecialFolder

namespace {
std::map<std::string, RegisteredFileType>& FileTypes() {
    static auto* types = new std::map<std::string, RegisteredFileType>;
    return *types;
}
} // namespace

bool RuntimeRegisterFileType(const std::string& name, const std::string& macCreator,
                             const std::string& macType, const std::string& extensions,
                             const std::string& uti) {
    if (name.empty())
        return false;
    FileTypes()[name] = {name, macCreator, macType, extensions, uti};
    RuntimePlatform().FileTypeRegistered(name, macCreator, macType, extensions, uti);
    return true;
}

void RuntimeDeregisterFileType(const std::string& name) {
    FileTypes().erase(name);
    RuntimePlatform().FileTypeDeregistered(name);
}

const RegisteredFileType* RuntimeFindFileType(const std::string& name) {
    auto it = FileTypes().find(name);
    return it == FileTypes().end() ? nullptr : &it->second;
}

bool RuntimeFileMatchesType(const std::string& typeName, const std::string& path) {
    const RegisteredFileType* type = RuntimeFindFileType(typeName);
    if (!type)
        return false;
    std::string::size_type start = 0;
    const std::string& patterns = type->extensions;
    while (start <= patterns.size()) {
        auto end = patterns.find(';', start);
        if (end == std::string::npos)
            end = patterns.size();
        std::string pattern = patterns.substr(start, end - start);
        if (pattern == ".*" || pattern == "*")
            return true;
        if (!pattern.empty() && path.size() >= pattern.size() &&
            path.compare(path.size() - pattern.size(), pattern.size(), pattern) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

FileType::~FileType() {
    // A type held until the program's static objects go may outlive the
    // backend; a destructor must not throw for that.
    try {
        Deregister();
    } catch (const RuntimeException&) {
    }
}

#define TAMZEL_FILETYPE_SETTER(Member, field, Type)                                                \
    void FileType::Member(Type v) {                                                                \
        Deregister();                                                                              \
        field = v;                                                                                 \
    }
TAMZEL_FILETYPE_SETTER(Name, name_, const std::string&)
TAMZEL_FILETYPE_SETTER(Extensions, extensions_, const std::string&)
TAMZEL_FILETYPE_SETTER(MacType, macType_, const std::string&)
TAMZEL_FILETYPE_SETTER(MacCreator, macCreator_, const std::string&)
TAMZEL_FILETYPE_SETTER(MimeType, mimeType_, const std::string&)
TAMZEL_FILETYPE_SETTER(Imported, imported_, bool)
TAMZEL_FILETYPE_SETTER(ConformsTo, conformsTo_, const std::string&)
#undef TAMZEL_FILETYPE_SETTER

void FileType::Register() {
    if (registered_)
        return;
    if (RuntimeRegisterFileType(Name(), MacCreator(), MacType(), Extensions(), UTI()))
        registered_ = true;
}

void FileType::Deregister() {
    if (!registered_)
        return;
    RuntimeDeregisterFileType(name_);
    registered_ = false;
}

std::string FileType::Operator_Convert() {
    Register();
    return Name();
}

bool DragItem::FolderItemAvailable() const {
    return current_ < items_.size() && items_[current_];
}

Ref<FolderItem> DragItem::FolderItem() const {
    return current_ < items_.size() ? items_[current_] : nullptr;
}

bool DragItem::NextItem() {
    if (current_ + 1 >= items_.size())
        return false;
    ++current_;
    return true;
}
