#pragma once
// What the Qt backend's tests share: a fixture that leaves no window behind,
// lookups of the real widgets, and a driver for modal dialogs.

#include "qt_probe_window.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>
#include <vector>

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

// What a menu action must carry: the item's Name, its caption, its shortcut
// as Qt's portable text ("" for none) and its role.
struct ExpectedAction {
    const char* name;
    const char* caption;
    const char* shortcut;
    QAction::MenuRole role;
};
void ExpectActions(const QWidget& root, std::initializer_list<ExpectedAction> expected);

// Acts on the modal dialogs that show next, one action for each in turn;
// whatever an action does or fails to do, its dialog is closed (rejected)
// afterwards, so a failed check never leaves a test waiting on it.
class ModalDriver {
  public:
    using Action = std::function<void(QWidget*)>;
    explicit ModalDriver(Action act) : ModalDriver(std::vector<Action>{std::move(act)}) {}
    explicit ModalDriver(std::vector<Action> acts);
    // True once every action has had its dialog.
    bool Acted() const { return next_ == acts_.size(); }

  private:
    void Poll();

    std::vector<Action> acts_;
    std::size_t next_ = 0;
    // The dialog acted on last: the next one is any other, even when it
    // reuses the same address.
    QPointer<QWidget> last_;
    QTimer timer_;
};
