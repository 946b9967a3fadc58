#pragma once
// The shell runner and the other ways out of the program: sound, URLs.

#include "file.h"
#include "object.h"

#include <string>

// Runs command lines one after another. Each Execute waits for its command
// to finish; nothing is read back.
class Shell : public Object {
  public:
    Shell();
    void Execute(const std::string& command);
    // A number unique to this runner within the run, for journals.
    int Id() const { return id_; }
    TAMZEL_CLASS_RECORD()

  private:
    int id_;
};

class Sound : public Object {
  public:
    explicit Sound(std::string path) : path_(std::move(path)) {}
    // A sound made from `file`.
    static Ref<Sound> Open(const Ref<FolderItem>& file);
    // Starts playing once; the playing goes on when the Sound is released.
    void Play();
    const std::string& Path() const { return path_; }
    TAMZEL_CLASS_RECORD()

  private:
    std::string path_;
};

// Opens `url` with the desktop's default handler.
void ShowURL(const std::string& url);
