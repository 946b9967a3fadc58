// The program's own main window on the Qt backend: the real widgets, a real
// click and real drops, and the commands that reach a stand-in binhex through
// the real /bin/sh. The stand-in sits next to this test's executable, where
// the shell runner looks first, and records each call's arguments.

#include "qt_test_support.h"

#include "app/about.h"
#include "app/startup.h"
#include "encode/window1.h"
#include "tests/shell/binhex_probe_log.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest/QTest>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>

namespace {
using Call = std::vector<std::string>;

class QtProgramTest : public QtBackendTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        log_ = Path("probe.log");
        ::setenv("TAMZEL_PROBE_LOG", log_.c_str(), 1);
        // As start-up does, once: the button takes files of every type, and
        // the application object holds the menu bar and its handlers.
        static const bool started = [] {
            RuntimePerformInitializers(ProgramInitializers());
            EarlyStartup();
            return true;
        }();
        ASSERT_TRUE(started);
        window_ = Window1::Instance();
        main_ = WindowWidget("Window1.Window1");
        ASSERT_NE(main_, nullptr);
        button_ = ChildNamed<QToolButton>(main_, "BevelButton1");
        ASSERT_NE(button_, nullptr);
    }

    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string MakeFile(const std::string& name) const {
        std::ofstream(Path(name)) << name;
        return Path(name);
    }

    // Every call the stand-in binhex saw, in order, each as its arguments.
    std::vector<Call> Calls() const { return ReadProbeLog(log_); }

    QTemporaryDir dir_;
    std::string log_;
    Ref<Window1> window_;
    QWidget* main_ = nullptr;
    QToolButton* button_ = nullptr;
};

// Selects everything the file dialog lists, once it lists `files` entries,
// and accepts, as Ctrl+A and the accept button do.
void SelectAllAndAccept(QWidget* modal, int files) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto* list = dialog->findChild<QListView*>("listView");
    ASSERT_NE(list, nullptr);
    // The listing is read in the background, and handed over as it is asked for.
    QAbstractItemModel* model = list->model();
    const QDeadlineTimer patience(30000);
    while (model->rowCount(list->rootIndex()) < files && !patience.hasExpired()) {
        if (model->canFetchMore(list->rootIndex()))
            model->fetchMore(list->rootIndex());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_EQ(list->model()->rowCount(list->rootIndex()), files);
    list->selectAll();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
}

// Types a folder's path into the folder dialog and accepts it.
ModalDriver::Action ChooseFolder(const std::string& folder) {
    return [folder](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Choose a Folder");
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(folder));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    };
}

// Shows `folder` in the file dialog, then selects all of it and accepts.
ModalDriver::Action ChooseAllFilesIn(const std::string& folder, int files) {
    return [folder, files](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Choose a File");
        dialog->setDirectory(QString::fromStdString(folder));
        SelectAllAndAccept(dialog, files);
    };
}

// Lets Qt activate `window`, as the desktop does once it is shown; false when
// it never became the active window.
bool BecomesActive(QWidget* window) {
    const QDeadlineTimer patience(10000);
    while (QApplication::activeWindow() != window && !patience.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return QApplication::activeWindow() == window;
}

// Sends a drag of `files` over the button and drops them, as Qt delivers an
// XDND drop from another program; true when the button took it.
bool DropOn(QWidget* button, const std::vector<std::string>& files) {
    QList<QUrl> urls;
    for (const std::string& f : files)
        urls << QUrl::fromLocalFile(QString::fromStdString(f));
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = button->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

// Notes, each time the chime starts, how many commands had reached the tool.
class ChimeWatch : public QObject {
  public:
    explicit ChimeWatch(std::function<std::size_t()> commands) : commands_(std::move(commands)) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    const std::vector<std::size_t>& CommandsBeforeEachChime() const { return chimes_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The backend makes one player per sound, a child of the application,
        // and names it once made.
        if (watched == QCoreApplication::instance() && event->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            connect(child, &QObject::objectNameChanged, this, [this](const QString& name) {
                if (name == "soundPlayer")
                    chimes_.push_back(commands_());
            });
        }
        return false;
    }

  private:
    std::function<std::size_t()> commands_;
    std::vector<std::size_t> chimes_;
};

} // namespace

TEST_F(QtProgramTest, TheWindowShowsItsCaptionPictureAndMenus) {
    auto* window = qobject_cast<QMainWindow*>(main_);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Tamzel");
    EXPECT_EQ(window->centralWidget()->size(), QSize(600, 361));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    auto* label = ChildNamed<QLabel>(main_, "Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "You can drag & drop files on the Classic Mac, or click to browse.");
    EXPECT_EQ(label->font().family(), "Helvetica");
    // Helvetica itself, or the face made to its metrics that fontconfig puts
    // in its place: never a wider fallback that would not fit the frame.
    const QString face = QFontInfo(label->font()).family().section(" [", 0, 0); // less the foundry
    EXPECT_TRUE(QStringList({"Helvetica", "Nimbus Sans", "Nimbus Sans L"}).contains(face))
        << face.toStdString();
    EXPECT_EQ(label->font().pixelSize(), 15);
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
        << "the caption fits its frame";
    EXPECT_FALSE(button_->icon().isNull()) << "the computer's picture";
    EXPECT_TRUE(button_->acceptDrops());
    // A click or a drop goes to the widget under the pointer: on all of the
    // picture that is the button, not the frame around it.
    for (QPoint at : {button_->rect().center(), QPoint(1, 1),
                      QPoint(button_->width() - 2, button_->height() - 2)}) {
        const QPoint inWindow = button_->mapTo(main_, at);
        EXPECT_EQ(main_->childAt(inWindow), button_) << inWindow.x() << "," << inWindow.y();
    }

    ASSERT_NE(window->menuBar(), nullptr);
    QStringList menus;
    for (QAction* top : window->menuBar()->actions())
        menus << top->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "Help"}));
    ExpectActions(*main_, {
                              {"FileQuit", "&Quit", "Ctrl+Q", QAction::QuitRole},
                              {"FileEncode", "Encode", "Ctrl+E", QAction::NoRole},
                              {"EditUndo", "&Undo", "Ctrl+Z", QAction::NoRole},
                              {"EditCut", "Cu&t", "Ctrl+X", QAction::NoRole},
                              {"EditCopy", "&Copy", "Ctrl+C", QAction::NoRole},
                              {"EditPaste", "&Paste", "Ctrl+V", QAction::NoRole},
                              {"EditClear", "&Delete", "", QAction::NoRole},
                              {"EditSelectAll", "Select &All", "Ctrl+A", QAction::NoRole},
                              {"Email", "Contact Developer", "", QAction::NoRole},
                              {"AboutTamzel", "About Tamzel", "", QAction::AboutRole},
                          });
    // No handler of the program's own takes the Edit items: they show
    // disabled, where Quit always works.
    for (const char* edit :
         {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"})
        EXPECT_FALSE(main_->findChild<QAction*>(edit)->isEnabled()) << edit;
    EXPECT_TRUE(main_->findChild<QAction*>("FileQuit")->isEnabled());
    for (const char* separator : {"EditSeparator1", "EditSeparator2", "UntitledSeparator"}) {
        auto* action = main_->findChild<QAction*>(separator);
        ASSERT_NE(action, nullptr) << separator;
        EXPECT_TRUE(action->isSeparator()) << separator;
    }
}

TEST_F(QtProgramTest, AClickRunsTheBatchAndEveryChosenFileReachesTheTool) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("in"))));
    const std::vector<std::string> files = {MakeFile("in/a b.txt"), MakeFile("in/it's \"$x`.txt"),
                                            MakeFile("in/plain")};
    const std::string destination = Path("out \\ folder");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(destination)));

    ModalDriver driver({ChooseAllFilesIn(Path("in"), 3), ChooseFolder(destination)});
    button_->click();
    EXPECT_TRUE(driver.Acted());

    std::vector<Call> calls = Calls();
    ASSERT_EQ(calls.size(), files.size());
    std::vector<std::string> encoded;
    for (const Call& call : calls) {
        ASSERT_EQ(call.size(), 4u);
        EXPECT_EQ(call[0], "encode");
        EXPECT_EQ(call[2], "-C");
        EXPECT_EQ(call[3], destination);
        encoded.push_back(call[1]);
    }
    std::sort(encoded.begin(), encoded.end());
    EXPECT_EQ(encoded, files);
}

TEST_F(QtProgramTest, MoreThan3000ChosenFilesShowTheMessageAndRunNothing) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("many"))));
    for (int i = 0; i < 3001; ++i)
        std::ofstream(Path("many/" + std::to_string(i)));

    QString shown, title;
    ModalDriver driver({ChooseAllFilesIn(Path("many"), 3001), [&](QWidget* modal) {
                            auto* box = qobject_cast<QMessageBox*>(modal);
                            ASSERT_NE(box, nullptr) << "a message, not the folder dialog";
                            shown = box->text();
                            title = box->windowTitle();
                            box->button(QMessageBox::Ok)->click();
                        }});
    button_->click();
    EXPECT_TRUE(driver.Acted());
    EXPECT_EQ(shown.toStdString(), "Tamzel works best when you choose fewer than 3,000 files at a "
                                   "time.  Please try again with a smaller batch.");
    EXPECT_EQ(title, "Tamzel") << "the program's name, never the executable's";
    EXPECT_TRUE(Calls().empty());
}

TEST_F(QtProgramTest, TheAboutWindowStaysUntitledAndTheDesktopCallsItTamzel) {
    Ref<About> about = About::Instance();
    about->Show();
    QWidget* widget = WindowWidget("About.About");
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->windowTitle().isEmpty());
    // Where the desktop puts a name in place of an empty title (X11), and in
    // the window's class, this is the one it takes.
    EXPECT_EQ(QGuiApplication::applicationName(), "Tamzel");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Tamzel");
    EXPECT_EQ(main_->windowTitle(), "Tamzel");
}

TEST_F(QtProgramTest, DroppedFilesReachTheToolInOrderAsOneArgumentEach) {
    const std::vector<std::string> files = {MakeFile("z.txt"), MakeFile("a b \"$HOME\".txt"),
                                            MakeFile("back\\slash`x`.txt")};
    ASSERT_TRUE(DropOn(button_, files));

    std::vector<Call> expected;
    for (const std::string& f : files)
        expected.push_back({"encode", f});
    EXPECT_EQ(Calls(), expected);
}

TEST_F(QtProgramTest, FilesDroppedDuringABatchWaitForItAndKeepTheirOrder) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("in"))));
    const std::size_t batch = 4;
    for (std::size_t i = 0; i < batch; ++i)
        MakeFile("in/" + std::to_string(i));
    const std::string destination = Path("out");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(destination)));
    const std::vector<std::string> dropped = {MakeFile("first drop"), MakeFile("second drop")};

    // Timers run in the batch's yield after each command: one drop comes
    // after the batch's first command, the other after its second.
    std::vector<std::size_t> commandsAtDrop;
    QTimer dropper;
    dropper.setInterval(0);
    QObject::connect(&dropper, &QTimer::timeout, [&] {
        const std::size_t seen = Calls().size();
        if (seen == 0 || seen <= commandsAtDrop.size() || commandsAtDrop.size() == dropped.size())
            return;
        commandsAtDrop.push_back(seen);
        EXPECT_TRUE(DropOn(button_, {dropped[commandsAtDrop.size() - 1]}));
    });
    dropper.start();
    ChimeWatch chimes([this] { return Calls().size(); });

    ModalDriver driver({ChooseAllFilesIn(Path("in"), int(batch)), ChooseFolder(destination)});
    button_->click();
    EXPECT_TRUE(driver.Acted());
    ASSERT_EQ(commandsAtDrop.size(), dropped.size());
    EXPECT_LT(commandsAtDrop.back(), batch) << "both drops came mid-batch";

    const std::vector<Call> calls = Calls();
    ASSERT_EQ(calls.size(), batch + dropped.size());
    for (std::size_t i = 0; i < batch; ++i)
        EXPECT_EQ(calls[i].size(), 4u) << "command " << i << " is the batch's";
    EXPECT_EQ(calls[batch], (Call{"encode", dropped[0]}));
    EXPECT_EQ(calls[batch + 1], (Call{"encode", dropped[1]}));
    // The batch's chime, then each drop's after its own command.
    EXPECT_EQ(chimes.CommandsBeforeEachChime(),
              (std::vector<std::size_t>{batch, batch + 1, batch + 2}));
}

TEST_F(QtProgramTest, TheMenuShortcutsActWithTheAboutWindowActiveAndNotInsideADialog) {
    About::Instance()->Show();
    QWidget* about = WindowWidget("About.About");
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(BecomesActive(about));
    std::map<std::string, int> triggered;
    for (const char* name : {"FileEncode", "FileQuit", "EditSelectAll"}) {
        auto* action = main_->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        QObject::connect(action, &QAction::triggered, [&triggered, name] { ++triggered[name]; });
    }

    // Ctrl+E in the About window runs the batch once; inside its file dialog
    // Ctrl+E is the dialog's, and starts no second batch. Any other dialog
    // is closed at once, so that a second batch cannot leave the test waiting.
    QPointer<QWidget> fileDialog;
    int otherDialogs = 0;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !fileDialog || modal == fileDialog)
            return;
        ++otherDialogs;
        modal->close();
    });
    guard.start(5);
    ModalDriver driver([&](QWidget* modal) {
        fileDialog = modal;
        EXPECT_EQ(modal->windowTitle(), "Choose a File");
        QTest::keyClick(modal, Qt::Key_E, Qt::ControlModifier);
        QCoreApplication::processEvents();
    });
    QTest::keyClick(about, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(driver.Acted()) << "Ctrl+E opened no file dialog";
    EXPECT_EQ(triggered["FileEncode"], 1);
    EXPECT_EQ(otherDialogs, 0);
    EXPECT_TRUE(Calls().empty()) << "the dialog was cancelled";

    // An Edit item that nothing handles stays disabled, its key with it.
    about->activateWindow();
    ASSERT_TRUE(BecomesActive(about));
    QTest::keyClick(about, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(triggered["EditSelectAll"], 0);
    // Last: the Quit item quits the runtime.
    QTest::keyClick(about, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(triggered["FileQuit"], 1);
}

TEST_F(QtProgramTest, ContactDeveloperWithNoMailProgramGivesTheAddress) {
    // The offscreen desktop opens no URL at all, as a desktop without a mail
    // program opens no mailto: one.
    auto* email = main_->findChild<QAction*>("Email");
    ASSERT_NE(email, nullptr);
    QString shown;
    ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        EXPECT_EQ(box->windowTitle(), "Tamzel");
    });
    email->trigger();
    EXPECT_TRUE(driver.Acted()) << "no message";
    EXPECT_EQ(shown, "No mail program could be opened. Write to hello@tamzel.example.");
}
