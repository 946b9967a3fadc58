#pragma once
// Controls inside a window: the picture button, the label, the group box and
// the image well.

#include "delegate.h"
#include "object.h"
#include "picture.h"
#include "property.h"

#include <string>
#include <vector>

class Window;
class DragItem;

enum class ControlEvent { Open, Action, DropObject };

class RectControl : public Object {
  public:
    // The control's default construction; no-op beyond what creation did.
    virtual void Constructor();

    Window* Owner() const { return owner_; }
    void SetOwner(Window* w) { owner_ = w; }
    const std::string& ControlName() const { return name_; }
    void SetControlName(const std::string& name) { name_ = name; }

    const PropertyStore& Properties() const { return properties_; }
    void ApplyProperties(const PropertyValues& values);

    // The control accepts drops of files of the registered type `typeName`.
    void AcceptFileDrop(const std::string& typeName);
    const std::vector<std::string>& AcceptedFileTypes() const { return acceptedTypes_; }
    // Whether a dropped file at `path` matches a type the control accepts.
    bool AcceptsFile(const std::string& path) const;

    void AddEventHandler(ControlEvent event, Ref<Delegate> handler);
    bool HasHandler(ControlEvent event) const;
    // Raises the event: each attached handler runs, in attachment order.
    void Raise(ControlEvent event, DragItem* item = nullptr, std::int64_t integer = 0);

    TAMZEL_CLASS_RECORD()

  protected:
    void Changed();

  private:
    Window* owner_ = nullptr;
    std::string name_;
    PropertyStore properties_;
    std::vector<std::string> acceptedTypes_;
    std::vector<std::pair<ControlEvent, Ref<Delegate>>> handlers_;
};

void RuntimeAddEventHandler(RectControl* control, ControlEvent event, Ref<Delegate> handler);

class BevelButton : public RectControl {
  public:
    void Icon(Ref<Picture> picture);
    const Ref<Picture>& Icon() const { return icon_; }
    TAMZEL_CLASS_RECORD()

  private:
    Ref<Picture> icon_;
};

class Label : public RectControl {
  public:
    void Text(const std::string& text);
    const std::string& Text() const { return text_; }
    void TextSize(double size);
    double TextSize() const { return textSize_; }
    void TextFont(const std::string& font);
    const std::string& TextFont() const { return textFont_; }
    TAMZEL_CLASS_RECORD()

  private:
    std::string text_;
    double textSize_ = 0;
    std::string textFont_;
};

class GroupBox : public RectControl {
  public:
    TAMZEL_CLASS_RECORD()
};

class ImageWell : public RectControl {
  public:
    void Image(Ref<Picture> picture);
    const Ref<Picture>& Image() const { return image_; }
    TAMZEL_CLASS_RECORD()

  private:
    Ref<Picture> image_;
};
