#include "qt_window.h"

#include "qt_backend.h"
#include "qt_guard.h"
#include "qt_menus.h"
#include "qt_properties.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

namespace {
Qt::WindowFlags WindowButtons(const PropertyStore& p, bool resizeable) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (BoolProperty(p, "HasCloseButton", true))
        flags |= Qt::WindowCloseButtonHint;
    if (BoolProperty(p, "HasMinimizeButton", true))
        flags |= Qt::WindowMinimizeButtonHint;
    // A window of fixed size has nothing to maximise to. The desktop has no
    // full-screen button of its own, so HasFullScreenButton maps to nothing.
    if (resizeable && BoolProperty(p, "HasMaximizeButton", true))
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

bool Resizeable(const PropertyStore& p) {
    return BoolProperty(p, "Resizeable", BoolProperty(p, "Resizable", true));
}

// The window a DefaultLocation of 1 centres over: the oldest other open
// window on screen, which is the program's main window.
QWidget* ParentWindowOf(const QWidget& self) {
    for (const Ref<Window>& other : RuntimeOpenWindows()) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* candidate = dynamic_cast<QtWindowWidget*>(top);
            if (candidate && candidate != &self && candidate->isVisible() &&
                candidate->objectName() == QString::fromStdString(other->Record().name))
                return candidate;
        }
    }
    return nullptr;
}
} // namespace

QtWindowWidget::QtWindowWidget(Window& window) : window_(&window), content_(new QWidget(this)) {
    setObjectName(QString::fromStdString(window.Record().name));
    content_->setObjectName("content");
    setCentralWidget(content_);
}

void QtWindowWidget::Update(const Window& window) {
    const PropertyStore& p = window.Properties();
    setWindowTitle(QString::fromStdString(TextProperty(p, "Title")));

    const bool resizeable = Resizeable(p);
    const Qt::WindowFlags flags = WindowButtons(p, resizeable);
    if (windowFlags() != flags) {
        // Changing flags hides a shown window.
        const bool wasVisible = isVisible();
        setWindowFlags(flags);
        if (wasVisible)
            show();
    }

    UpdateMenuBar(window);

    // Width and Height are the content area's: the menu bar, where the
    // desktop puts it inside the window, comes on top of them, so every
    // control stays where it was laid out.
    const QSize size(IntProperty(p, "Width", 300), IntProperty(p, "Height", 300));
    if (resizeable) {
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        content_->setMinimumSize(0, 0);
        content_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const QWidget* bar = menuWidget();
        resize(size.width(), size.height() + (bar ? bar->sizeHint().height() : 0));
    } else {
        content_->setFixedSize(size);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    layout()->activate();
}

void QtWindowWidget::UpdateMenuBar(const Window& window) {
    Ref<MenuBar> bar = window.MenuBar();
    if (bar == builtFrom_)
        return;
    builtFrom_ = bar;
    // Replacing the menu bar deletes the old one, and with it its actions.
    setMenuBar(bar ? BuildQtMenuBar(*bar, this) : nullptr);
}

void QtWindowWidget::Place(const Window& window) {
    if (placed_)
        return;
    placed_ = true;
    QRect area;
    // move() places the frame, which is not there before the first show:
    // take the decoration to be the same as the window we centre over.
    QSize frame = size();
    switch (IntProperty(window.Properties(), "DefaultLocation", 0)) {
    case 1:
        if (const QWidget* parent = ParentWindowOf(*this)) {
            area = parent->frameGeometry();
            frame += area.size() - parent->size();
            break;
        }
        [[fallthrough]];
    case 2:
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        break;
    default:
        return; // where the desktop puts new windows
    }
    if (area.isValid())
        move(area.x() + (area.width() - frame.width()) / 2,
             area.y() + (area.height() - frame.height()) / 2);
}

void QtWindowWidget::closeEvent(QCloseEvent* event) {
    if (!window_ || !window_->IsOpen()) {
        event->accept();
        return;
    }
    // The runtime closes the window (raising its Close event, which may quit
    // the program); WindowClosed then takes the widget away.
    event->ignore();
    Ref<Window> keep(window_);
    CallRuntimeFromQt([&] { keep->Close(); });
}

QtWindowWidget* QtPlatform::WidgetOf(const Window& window) const {
    auto it = windows_.find(&window);
    return it == windows_.end() ? nullptr : it->second.data();
}

void QtPlatform::WindowCreated(Window& window) {
    auto* widget = new QtWindowWidget(window);
    windows_[&window] = widget;
    widget->Update(window);
}

void QtPlatform::WindowChanged(Window& window) {
    if (QtWindowWidget* widget = WidgetOf(window))
        widget->Update(window);
}

void QtPlatform::WindowShown(Window& window) {
    QtWindowWidget* widget = WidgetOf(window);
    if (!widget)
        return;
    widget->Update(window);
    widget->Place(window);
    widget->show();
    widget->raise();
    widget->activateWindow();
}

void QtPlatform::WindowClosed(Window& window) {
    ForgetControlsOf(window);
    QtWindowWidget* widget = WidgetOf(window);
    windows_.erase(&window);
    if (!widget)
        return;
    widget->Detach();
    widget->hide();
    // Not deleted here: the close may have come from one of the widget's own
    // event handlers, which is still on the stack.
    widget->deleteLater();
}
