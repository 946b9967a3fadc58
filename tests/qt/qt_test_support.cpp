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

ModalDriver::ModalDriver(std::function<void(QWidget*)> act) : act_(std::move(act)) {
    // Polling, because the dialog only exists once the code under test has
    // entered its modal loop; nothing is timed.
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
}

void ModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    timer_.stop();
    acted_ = true;
    try {
        act_(modal);
    } catch (...) {
        ADD_FAILURE() << "the dialog driver threw";
    }
    if (modal->isVisible()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}
