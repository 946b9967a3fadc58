// Controls: one Qt widget per runtime control, a child of its window's
// content area, at the control's own coordinates.

#include "qt_backend.h"

#include "qt_button.h"
#include "qt_label.h"
#include "qt_picture.h"
#include "qt_properties.h"
#include "qt_window.h"

#include <QGroupBox>
#include <QLabel>

namespace {
bool Is(const RectControl& control, const ClassRecord& record) {
    return control.Record().IsA(record);
}

QWidget* NewControlWidget(RectControl& control, QWidget* content) {
    if (Is(control, BevelButton::ClassInfo()))
        return new QtBevelButton(control, content);
    if (Is(control, Label::ClassInfo()) || Is(control, ImageWell::ClassInfo()))
        return new QLabel(content);
    if (Is(control, GroupBox::ClassInfo())) {
        // A plain box, no caption, drawn behind the controls it frames. It
        // is made after them, so on top of them it would take every click
        // and drop meant for them; a frame takes none.
        auto* box = new QGroupBox(content);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->lower();
        return box;
    }
    // A control this backend does not draw still takes its place.
    return new QWidget(content);
}

void UpdateControlWidget(QWidget& widget, const RectControl& control) {
    const PropertyStore& p = control.Properties();
    widget.setGeometry(IntProperty(p, "Left", 0), IntProperty(p, "Top", 0),
                       IntProperty(p, "Width", 0), IntProperty(p, "Height", 0));
    widget.setEnabled(BoolProperty(p, "Enabled", true));
    widget.setVisible(BoolProperty(p, "Visible", true));

    if (auto* button = dynamic_cast<QtBevelButton*>(&widget)) {
        button->Update(static_cast<const BevelButton&>(control));
    } else if (Is(control, Label::ClassInfo())) {
        QtUpdateLabel(static_cast<QLabel&>(widget), static_cast<const Label&>(control));
    } else if (Is(control, ImageWell::ClassInfo())) {
        auto& well = static_cast<QLabel&>(widget);
        well.setAlignment(Qt::AlignCenter);
        well.setPixmap(QtPixmapOf(static_cast<const ImageWell&>(control).Image().get()));
    }
}
} // namespace

void QtPlatform::ControlCreated(Window& window, RectControl& control) {
    QtWindowWidget* owner = WidgetOf(window);
    if (!owner)
        return;
    QWidget* widget = NewControlWidget(control, owner->Content());
    widget->setObjectName(QString::fromStdString(control.ControlName()));
    controls_[&control] = widget;
    UpdateControlWidget(*widget, control);
}

void QtPlatform::ControlChanged(RectControl& control) {
    auto it = controls_.find(&control);
    if (it != controls_.end() && it->second)
        UpdateControlWidget(*it->second, control);
}

void QtPlatform::ForgetControlsOf(Window& window) {
    for (const Ref<RectControl>& control : window.Controls()) {
        auto it = controls_.find(control.get());
        if (it == controls_.end())
            continue;
        if (auto* button = dynamic_cast<QtBevelButton*>(it->second.data()))
            button->Detach();
        controls_.erase(it);
    }
}
