#pragma once
// What the Qt backend's tests share: a fixture that leaves no window behind,
// lookups of the real widgets, and a driver for modal dialogs.

#include "qt_probe_window.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

class QtBackendTest : public ::testing::Test {
  protected:
    // Closes every window the test left open and lets Qt delete its widgets.
    void TearDown() override;
};

// Lets deleteLater() happen now.
void FlushDeferredDeletes();

// The top-level widget of the open window whose class is `className`.
QWidget* WindowWidget(const std::string& className);

template <class T> T* ChildNamed(QWidget* root, const std::string& name) {
    return root ? root->findChild<T*>(QString::fromStdString(name)) : nullptr;
}

// Acts on the next modal dialog as soon as it shows; whatever `act` does or
// fails to do, the dialog is closed (rejected) afterwards, so a failed check
// never leaves a test waiting on it.
class ModalDriver {
  public:
    explicit ModalDriver(std::function<void(QWidget*)> act);
    bool Acted() const { return acted_; }

  private:
    void Poll();

    std::function<void(QWidget*)> act_;
    QTimer timer_;
    bool acted_ = false;
};
