#pragma once
// A runtime window on the desktop: a QMainWindow whose central widget is the
// window's content area, in which controls sit at their own coordinates.

#include "runtime/window.h"

#include <QMainWindow>

class QtWindowWidget : public QMainWindow {
  public:
    explicit QtWindowWidget(Window& window);

    // The area the window's controls are laid out in.
    QWidget* Content() const { return content_; }
    // Called when the runtime lets the window go: later Qt events on the
    // widget no longer reach it.
    void Detach() { window_ = nullptr; }

    // Brings size, title, buttons and menu bar in line with the window.
    void Update(const Window& window);
    // Puts the window where its DefaultLocation says, the first time only.
    void Place(const Window& window);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateMenuBar(const Window& window);

    Window* window_;
    QWidget* content_;
    Ref<MenuBar> builtFrom_;
    bool placed_ = false;
};
