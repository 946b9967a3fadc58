#pragma once
// Files and folders, file types, and dropped items.
//
// Paths are byte strings, passed on exactly as the file system gave them.

#include "object.h"

#include <cstdint>
#include <string>
#include <vector>

class FolderItem : public Object {
  public:
    explicit FolderItem(std::string path) : path_(std::move(path)) {}

    // The path as the file system spells it.
    const std::string& NativePath() const { return path_; }
    // The path quoted for POSIX sh: one argument, every byte literal.
    std::string ShellPath() const;
    bool Exists() const;
    // The item `name` inside this folder; with `resolveAliases` a symbolic
    // link is followed to what it stands for. The item need not exist.
    Ref<FolderItem> Child(const std::string& name, bool resolveAliases = true) const;

    TAMZEL_CLASS_RECORD()

  private:
    std::string path_;
};

// Quotes `text` for POSIX sh with single quotes, which take every byte
// literally; an embedded single quote becomes '\''.
std::string ShellQuote(const std::string& text);

namespace SpecialFolder {
// The user's desktop folder as the desktop defines it, or the home folder
// when there is none.
Ref<FolderItem> Desktop();
// The resources folder that ships with the program, or nil when it is
// missing.
Ref<FolderItem> Resources();
} // namespace SpecialFolder

class FileType : public Object {
  public:
    ~FileType() override;
    // Each setter first withdraws a registration in force.
    void Name(const std::string& v);
    void Extensions(const std::string& v);
    void MacType(const std::string& v);
    void MacCreator(const std::string& v);
    void MimeType(const std::string& v);
    void Imported(bool v);
    void ConformsTo(const std::string& v);
    const std::string& Name() const { return name_; }
    const std::string& Extensions() const { return extensions_; }
    const std::string& MacType() const { return macType_; }
    const std::string& MacCreator() const { return macCreator_; }
    const std::string& MimeType() const { return mimeType_; }
    bool Imported() const { return imported_; }
    const std::string& ConformsTo() const { return conformsTo_; }
    const std::string& UTI() const { return uti_; }
    bool IsRegistered() const { return registered_; }

    // Registers the type unless it is registered already.
    void Register();
    // Withdraws the registration, when there is one.
    void Deregister();
    // The conversion to String: registers the type and returns its Name.
    std::string Operator_Convert();

    TAMZEL_CLASS_RECORD()

  private:
    std::string name_, extensions_, macType_, macCreator_, mimeType_, conformsTo_, uti_;
    bool imported_ = false, registered_ = false;
};

struct RegisteredFileType {
    std::string name, macCreator, macType, extensions, uti;
};
// The runtime's registry of file types, by name. Registration fails (false)
// for an empty name.
bool RuntimeRegisterFileType(const std::string& name, const std::string& macCreator,
                             const std::string& macType, const std::string& extensions,
                             const std::string& uti);
void RuntimeDeregisterFileType(const std::string& name);
const RegisteredFileType* RuntimeFindFileType(const std::string& name);
// Whether a file at `path` matches the registered type's extension patterns
// (";"-separated; ".*" matches every file).
bool RuntimeFileMatchesType(const std::string& typeName, const std::string& path);

// A cursor over the items of one drop. An item carries a file or nothing.
class DragItem : public Object {
  public:
    explicit DragItem(std::vector<Ref<::FolderItem>> items) : items_(std::move(items)) {}
    bool FolderItemAvailable() const;
    // The current item's file; nil when it carries none.
    Ref<::FolderItem> FolderItem() const;
    // Moves to the next item; false when there is none.
    bool NextItem();
    TAMZEL_CLASS_RECORD()

  private:
    std::vector<Ref<::FolderItem>> items_;
    std::size_t current_ = 0;
};

// A growable one-dimensional array of references.
template <class T> class RuntimeArray : public Object {
  public:
    std::int32_t Ubound() const { return static_cast<std::int32_t>(items_.size()) - 1; }
    void Insert(std::int32_t index, Ref<T> item) {
        if (index < 0 || index > Ubound() + 1)
            throw OutOfBoundsException("array index out of bounds");
        items_.insert(items_.begin() + index, std::move(item));
    }
    const Ref<T>& operator[](std::int32_t i) const {
        return items_.at(static_cast<std::size_t>(i));
    }

  private:
    std::vector<Ref<T>> items_;
};
template <class T> Ref<RuntimeArray<T>> CreateArray() {
    return RuntimeNewObject<RuntimeArray<T>>();
}
