// The picture button: clicks and drops reach the real widget's handlers.

#include "qt_test_support.h"

#include "runtime/file.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QToolButton>
#include <QtTest/QTest>

namespace {
const char* const kNil = "<nil>";

class QtButtonTest : public QtBackendTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RuntimeRegisterFileType("probe/text", "", "", ".txt", ""));
        OpenProbeWindow(
            {"ButtonProbe",
             {{"Width", std::int64_t{300}}, {"Height", std::int64_t{200}}, {"Visible", true}},
             {},
             [this](ProbeWindow& w) {
                 button_ = AddProbeControl<BevelButton>(w, "EncodeButton",
                                                        {{"Left", std::int64_t{20}},
                                                         {"Top", std::int64_t{30}},
                                                         {"Width", std::int64_t{120}},
                                                         {"Height", std::int64_t{90}}});
                 button_->AcceptFileDrop("probe/text");
                 button_->AddEventHandler(
                     ControlEvent::Action,
                     RuntimeNewObject<Delegate>([this](const EventArgs&) { ++clicks_; }));
                 button_->AddEventHandler(
                     ControlEvent::DropObject,
                     RuntimeNewObject<Delegate>([this](const EventArgs& a) { Dropped(a); }));
             },
             {}});
        widget_ = ChildNamed<QToolButton>(WindowWidget("ButtonProbe"), "EncodeButton");
        ASSERT_NE(widget_, nullptr);
    }
    void TearDown() override {
        QtBackendTest::TearDown();
        RuntimeDeregisterFileType("probe/text");
    }

    void Dropped(const EventArgs& a) {
        ++drops_;
        DragItem* item = a.dragItem;
        do
            dropped_.push_back(item->FolderItemAvailable() ? item->FolderItem()->NativePath()
                                                           : kNil);
        while (item->NextItem());
    }

    // Sends a drag over the button and a drop on it; true when the button
    // took the drag.
    bool DragAndDrop(const QMimeData& data) {
        const QPoint at = widget_->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget_, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget_, &drop);
        EXPECT_EQ(enter.isAccepted(), drop.isAccepted());
        return enter.isAccepted();
    }

    Ref<BevelButton> button_;
    QToolButton* widget_ = nullptr;
    int clicks_ = 0, drops_ = 0;
    std::vector<std::string> dropped_;
};

} // namespace

TEST_F(QtButtonTest, SitsAtItsPlaceAndTakesDrops) {
    EXPECT_EQ(widget_->geometry(), QRect(20, 30, 120, 90));
    EXPECT_TRUE(widget_->isVisible());
    EXPECT_TRUE(widget_->acceptDrops());
}

TEST_F(QtButtonTest, ClickRaisesAction) {
    widget_->click();
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(drops_, 0);
}

TEST_F(QtButtonTest, DropOfFilesReachesTheHandlerInOrderWithTheirBytes) {
    // A web address among files is an item that carries no file.
    QMimeData data;
    data.setData("text/uri-list", "file:///tmp/b%20c.txt\r\n"
                                  "https://example.com/x.txt\r\n"
                                  "# a comment line\r\n"
                                  "file:///tmp/a.txt\r\n"
                                  "file://localhost/tmp/%FF%27%24q.txt\r\n"
                                  "file:///tmp/other.dat\r\n");
    ASSERT_TRUE(DragAndDrop(data));
    EXPECT_EQ(drops_, 1);
    const std::vector<std::string> expected = {"/tmp/b c.txt", kNil, "/tmp/a.txt",
                                               "/tmp/\xff'$q.txt", "/tmp/other.dat"};
    EXPECT_EQ(dropped_, expected);
}

struct RefusedDrop {
    const char* what;
    const char* format;
    QByteArray data;
};

TEST_F(QtButtonTest, DropsWithNoAcceptedFileAreRefused) {
    const RefusedDrop cases[] = {
        {"text", "text/plain", "/tmp/a.txt"},
        {"a web address", "text/uri-list", "https://example.com/a.txt\r\n"},
        {"a file on another host", "text/uri-list", "file://elsewhere/tmp/a.txt\r\n"},
        {"a file of another type", "text/uri-list", "file:///tmp/a.dat\r\n"},
        {"nothing", "text/uri-list", ""},
    };
    for (const RefusedDrop& c : cases) {
        SCOPED_TRACE(c.what);
        QMimeData data;
        data.setData(c.format, c.data);
        EXPECT_FALSE(DragAndDrop(data));
    }
    EXPECT_EQ(drops_, 0);
}

TEST_F(QtButtonTest, ButtonWithoutFileTypesTakesNoDrops) {
    OpenProbeWindow({"PlainButtonProbe",
                     {{"Width", std::int64_t{100}}, {"Height", std::int64_t{100}}},
                     {},
                     [](ProbeWindow& w) { AddProbeControl<BevelButton>(w, "Plain", {}); },
                     {}});
    auto* plain = ChildNamed<QToolButton>(WindowWidget("PlainButtonProbe"), "Plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->acceptDrops());
}

TEST_F(QtButtonTest, ExceptionInAHandlerIsReportedAndStaysOutOfQt) {
    button_->AddEventHandler(ControlEvent::Action, RuntimeNewObject<Delegate>([](const EventArgs&) {
                                 throw std::logic_error("broken handler");
                             }));
    QString shown;
    ModalDriver driver([&](QWidget* box) {
        if (auto* label = box->findChild<QLabel*>("qt_msgbox_label"))
            shown = label->text();
    });
    widget_->click();
    EXPECT_TRUE(driver.Acted());
    EXPECT_TRUE(shown.contains("broken handler")) << shown.toStdString();
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST_F(QtButtonTest, LooksTheSameAtRestBeforeDuringAndAfterThePointerIsOverIt) {
    QWindow* window = WindowWidget("ButtonProbe")->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint over = widget_->mapTo(widget_->window(), widget_->rect().center());
    const QPoint away(2, 2);
    QTest::mouseMove(window, away);
    const QImage rest = widget_->grab().toImage();

    // The pointer arrives over the picture, as when the window opens under it.
    QTest::mouseMove(window, over);
    ASSERT_TRUE(widget_->underMouse());
    EXPECT_TRUE(widget_->grab().toImage() == rest) << "the pointer over it";
    QTest::mouseMove(window, away);
    ASSERT_FALSE(widget_->underMouse());
    EXPECT_TRUE(widget_->grab().toImage() == rest) << "after the pointer has left";

    // A press shows, so the grabs do see the button's state.
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, over);
    EXPECT_FALSE(widget_->grab().toImage() == rest) << "pressed";
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, over);
    EXPECT_EQ(clicks_, 1);
}
