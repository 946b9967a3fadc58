// A stand-in for another program the user drags files from: a small window
// titled "Drag source" whose left mouse press starts a drag of the files
// named on the command line, as a text/uri-list.
//
// It reports on standard output, one line each, so a driving script can poll
// for outcomes instead of sleeping:
//   drag started
//   action copy|move|link|none   each time the drop target's answer changes
//   drag ended copy|move|link|none
// It stays running after the drop: the target asks this process for the
// list again once the button is released. The script that started it ends it.
//
// Usage: e2e_drag_source FILE...

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace {

const char* ActionName(Qt::DropAction action) {
    switch (action) {
    case Qt::CopyAction:
        return "copy";
    case Qt::MoveAction:
        return "move";
    case Qt::LinkAction:
        return "link";
    default:
        return "none";
    }
}

void Report(const char* what, const char* detail = nullptr) {
    if (detail)
        std::printf("%s %s\n", what, detail);
    else
        std::printf("%s\n", what);
    std::fflush(stdout);
}

// RFC 2483: one percent-encoded file: URL a line, each ending in CR LF, as
// file managers put them on the wire.
QByteArray UriList(const QStringList& files) {
    QByteArray list;
    for (const QString& file : files)
        list += QUrl::fromLocalFile(QDir::current().absoluteFilePath(file)).toEncoded() + "\r\n";
    return list;
}

class DragSource : public QWidget {
  public:
    explicit DragSource(QByteArray uriList) : uriList_(std::move(uriList)) {
        setWindowTitle("Drag source");
        setFixedSize(160, 120);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        auto* mime = new QMimeData;
        mime->setData("text/uri-list", uriList_);
        // Deleted by Qt once the drop is over, which may be after exec()
        // returns when the target is another program.
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        connect(drag, &QDrag::actionChanged, this,
                [](Qt::DropAction action) { Report("action", ActionName(action)); });
        Report("drag started");
        const Qt::DropAction done = drag->exec(Qt::CopyAction, Qt::CopyAction);
        Report("drag ended", ActionName(done));
    }

  private:
    QByteArray uriList_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList files = QApplication::arguments().mid(1);
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: e2e_drag_source FILE...\n");
        return 2;
    }
    DragSource window(UriList(files));
    // The bottom right of the test's 1280x1024 screen, clear of the program's
    // window, which Qt centres when no window manager places it.
    window.move(1080, 864);
    window.show();
    return app.exec();
}
