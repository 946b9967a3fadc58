#include "control.h"

#include "file.h"
#include "platform.h"
#include "process.h"
#include "window.h"

#include <algorithm>

void RectControl::Constructor() {
    RequireMainThread();
}

void RectControl::Changed() {
    if (owner_)
        RuntimePlatform().ControlChanged(*this);
}

void RectControl::ApplyProperties(const PropertyValues& values) {
    RequireMainThread();
    properties_.Apply(values);
    Changed();
}

void RectControl::AcceptFileDrop(const std::string& typeName) {
    RequireMainThread();
    if (std::find(acceptedTypes_.begin(), acceptedTypes_.end(), typeName) == acceptedTypes_.end())
        acceptedTypes_.push_back(typeName);
    Changed();
}

bool RectControl::AcceptsFile(const std::string& path) const {
    return std::any_of(acceptedTypes_.begin(), acceptedTypes_.end(),
                       [&](const std::string& t) { return RuntimeFileMatchesType(t, path); });
}

void RectControl::AddEventHandler(ControlEvent event, Ref<Delegate> handler) {
    RequireMainThread();
    RequireObject(handler, "event handler");
    handlers_.emplace_back(event, std::move(handler));
}

bool RectControl::HasHandler(ControlEvent event) const {
    return std::any_of(handlers_.begin(), handlers_.end(),
                       [&](const auto& h) { return h.first == event; });
}

void RectControl::Raise(ControlEvent event, DragItem* item, std::int64_t integer) {
    Ref<RectControl> keep(this);
    Ref<DragItem> keepItem(item);
    auto handlers = handlers_;
    for (const auto& [e, d] : handlers)
        if (e == event)
            RuntimeCallProgram([&, d = d] { d->Invoke(EventArgs{this, item, integer}); });
}

void RuntimeAddEventHandler(RectControl* control, ControlEvent event, Ref<Delegate> handler) {
    RequireObject(control, "control")->AddEventHandler(event, std::move(handler));
}

void BevelButton::Icon(Ref<Picture> picture) {
    RequireMainThread();
    icon_ = std::move(picture);
    Changed();
}

void Label::Text(const std::string& text) {
    RequireMainThread();
    text_ = text;
    Changed();
}

void Label::TextSize(double size) {
    RequireMainThread();
    textSize_ = size;
    Changed();
}

void Label::TextFont(const std::string& font) {
    RequireMainThread();
    textFont_ = font;
    Changed();
}

void ImageWell::Image(Ref<Picture> picture) {
    RequireMainThread();
    image_ = std::move(picture);
    Changed();
}
