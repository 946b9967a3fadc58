#include "qt_test_support.h"

#include <QDialog>

void FlushDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtBackendTest::TearDown() {
    for (const Ref<Window>& window : RuntimeOpenWindows())
        window->Close();
    FlushDeferredDeletes();
}

QWidget* WindowWidget(const std::string& className) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QString::fromStdString(className) && top->isWindow() &&
            top->inherits("QMainWindow"))
            return top;
    return nullptr;
}

void ExpectActions(const QWidget& root, std::initializer_list<ExpectedAction> expected) {
    for (const ExpectedAction& e : expected) {
        SCOPED_TRACE(e.name);
        auto* action = root.findChild<QAction*>(e.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->data().toString(), e.name);
        EXPECT_EQ(action->text(), e.caption);
        EXPECT_EQ(action->shortcut(), QKeySequence(e.shortcut, QKeySequence::PortableText));
        EXPECT_EQ(action->menuRole(), e.role);
    }
}

ModalDriver::ModalDriver(std::vector<Action> acts) : acts_(std::move(acts)) {
    // Polling, because a dialog only exists once the code under test has
    // entered its modal loop; nothing is timed.
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
}

void ModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == last_)
        return;
    last_ = modal;
    const Action& act = acts_[next_++];
    if (next_ == acts_.size())
        timer_.stop();
    try {
        act(modal);
    } catch (...) {
        ADD_FAILURE() << "the dialog driver threw";
    }
    if (last_ && last_->isVisible()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}
