#include "qt_button.h"

#include "qt_drop.h"
#include "qt_guard.h"
#include "qt_picture.h"

#include "runtime/file.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QStyleOptionToolButton>

#include <algorithm>

QtBevelButton::QtBevelButton(RectControl& control, QWidget* parent)
    : QToolButton(parent), control_(&control) {
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(this, &QToolButton::clicked, this, [this] {
        if (Ref<RectControl> keep = control_)
            CallRuntimeFromQt([&] { keep->Raise(ControlEvent::Action); });
    });
}

void QtBevelButton::Update(const BevelButton& control) {
    const QPixmap pixmap = QtPixmapOf(control.Icon().get());
    setIcon(QIcon(pixmap));
    // The picture at its own size, not scaled to the style's icon size.
    setIconSize(pixmap.deviceIndependentSize().toSize());
    setAcceptDrops(!control.AcceptedFileTypes().empty());
}

void QtBevelButton::initStyleOption(QStyleOptionToolButton* option) const {
    QToolButton::initStyleOption(option);
    // A flat tool button draws a raised panel, a white box, while the pointer
    // is over it. Qt counts the pointer over it from the moment a window
    // opens beneath a pointer that has not moved, until the first leave: the
    // picture at rest would have two looks. It has one; a press still shows.
    option->state &= ~QStyle::State_MouseOver;
}

bool QtBevelButton::Accepts(const QMimeData* mime) const {
    if (!control_ || !mime)
        return false;
    const auto paths = QtDroppedPaths(*mime);
    return std::any_of(paths.begin(), paths.end(), [this](const std::optional<std::string>& p) {
        return p && control_->AcceptsFile(*p);
    });
}

void QtBevelButton::dragEnterEvent(QDragEnterEvent* event) {
    if (Accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void QtBevelButton::dragMoveEvent(QDragMoveEvent* event) {
    if (Accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void QtBevelButton::dropEvent(QDropEvent* event) {
    if (!Accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    // The drop is answered now, as the program that dragged waits for the
    // answer, and its list is read now, while that program still offers it;
    // the program's handler may have to wait for a batch to end.
    event->acceptProposedAction();
    CallRuntimeFromQtWhenIdle(
        [paths = QtDroppedPaths(*event->mimeData()), self = QPointer<QtBevelButton>(this)] {
            Ref<RectControl> keep = self ? self->control_ : nullptr;
            if (!keep)
                return; // its window closed meanwhile
            std::vector<Ref<FolderItem>> items;
            for (const auto& path : paths)
                items.push_back(path ? RuntimeNewObject<FolderItem>(*path) : nullptr);
            Ref<DragItem> drag = RuntimeNewObject<DragItem>(std::move(items));
            keep->Raise(ControlEvent::DropObject, drag.get(), 0);
        });
}
