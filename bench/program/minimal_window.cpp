// The yardstick for the program's start-up: a plain Qt program with a window
// of the same kind (fixed 600 by 361, three menus, one line of text).

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Yardstick");
    for (const char* menu : {"&File", "&Edit", "Help"})
        window.menuBar()->addMenu(menu)->addAction("Item");
    auto* label = new QLabel("You can drag & drop files on the Classic Mac, or click to browse.");
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    window.setCentralWidget(label);
    window.setFixedSize(600, 361);
    window.show();
    return app.exec();
}
