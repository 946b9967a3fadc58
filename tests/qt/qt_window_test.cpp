// Windows: size, buttons, title, placement, and closing.

#include "qt_test_support.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>

#include <cstdlib>

namespace {
PropertyValues MainWindowProperties() {
    return {{"Width", std::int64_t{600}},
            {"Height", std::int64_t{361}},
            {"Title", std::string("Tamzel")},
            {"Resizeable", false},
            {"HasCloseButton", true},
            {"HasMinimizeButton", true},
            {"HasMaximizeButton", false},
            {"HasFullScreenButton", false},
            {"DefaultLocation", std::int64_t{2}},
            {"Visible", true}};
}

using QtWindowTest = QtBackendTest;
} // namespace

TEST_F(QtWindowTest, FixedWindowHasItsContentSizeTitleAndButtons) {
    OpenProbeWindow({"MainProbe", MainWindowProperties(), ProbeQuitMenuBar(), {}, {}});
    auto* widget = qobject_cast<QMainWindow*>(WindowWidget("MainProbe"));
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->windowTitle(), "Tamzel");

    // The content area is the window's 600x361; the menu bar sits above it.
    ASSERT_NE(widget->menuWidget(), nullptr);
    EXPECT_EQ(widget->centralWidget()->size(), QSize(600, 361));
    EXPECT_EQ(widget->size(), QSize(600, 361 + widget->menuWidget()->height()));
    EXPECT_EQ(widget->centralWidget()->y(), widget->menuWidget()->height());
    EXPECT_EQ(widget->minimumSize(), widget->maximumSize()) << "a fixed window cannot be resized";

    const Qt::WindowFlags flags = widget->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
}

TEST_F(QtWindowTest, AboutWindowIsCentredOverTheMainWindowWithOnlyACloseButton) {
    OpenProbeWindow({"MainProbe", MainWindowProperties(), ProbeQuitMenuBar(), {}, {}});
    OpenProbeWindow({"AboutProbe",
                     {{"Width", std::int64_t{283}},
                      {"Height", std::int64_t{350}},
                      {"Title", std::string()},
                      {"Resizeable", false},
                      {"HasCloseButton", true},
                      {"HasMinimizeButton", false},
                      {"HasMaximizeButton", false},
                      {"DefaultLocation", std::int64_t{1}},
                      {"Visible", true}},
                     nullptr,
                     {},
                     {}});
    QWidget* main = WindowWidget("MainProbe");
    auto* about = qobject_cast<QMainWindow*>(WindowWidget("AboutProbe"));
    ASSERT_NE(main, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->size(), QSize(283, 350)) << "no menu bar of its own";
    EXPECT_EQ(about->menuWidget(), nullptr);
    EXPECT_TRUE(about->windowTitle().isEmpty());
    const Qt::WindowFlags flags = about->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    // Centred to the pixel: odd sizes leave half a pixel either way.
    const QRect a = about->frameGeometry(), m = main->frameGeometry();
    EXPECT_LE(std::abs((a.left() + a.right()) - (m.left() + m.right())), 1);
    EXPECT_LE(std::abs((a.top() + a.bottom()) - (m.top() + m.bottom())), 1);
}

TEST_F(QtWindowTest, ResizeableWindowOffersMaximiseAndTakesNewSizes) {
    OpenProbeWindow({"SizableProbe",
                     {{"Width", std::int64_t{200}},
                      {"Height", std::int64_t{100}},
                      {"Resizeable", true},
                      {"Visible", true}},
                     nullptr,
                     {},
                     {}});
    QWidget* widget = WindowWidget("SizableProbe");
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(widget->size(), QSize(200, 100));
    widget->resize(300, 250);
    EXPECT_EQ(widget->size(), QSize(300, 250));
}

TEST_F(QtWindowTest, InvisibleWindowWaitsForShow) {
    Ref<ProbeWindow> window = OpenProbeWindow(
        {"HiddenProbe", {{"Width", std::int64_t{100}}, {"Height", std::int64_t{80}}}, {}, {}, {}});
    QWidget* widget = WindowWidget("HiddenProbe");
    ASSERT_NE(widget, nullptr);
    EXPECT_FALSE(widget->isVisible());
    window->Show();
    EXPECT_TRUE(widget->isVisible());
}

TEST_F(QtWindowTest, ClosingTheWidgetClosesTheRuntimeWindowOnce) {
    int closes = 0;
    Ref<ProbeWindow> window = OpenProbeWindow(
        {"ClosingProbe",
         {{"Width", std::int64_t{100}}, {"Height", std::int64_t{80}}, {"Visible", true}},
         {},
         {},
         [&] { ++closes; }});
    QPointer<QWidget> widget = WindowWidget("ClosingProbe");
    ASSERT_TRUE(widget);
    widget->close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(window->IsOpen());
    EXPECT_FALSE(widget->isVisible());
    FlushDeferredDeletes();
    EXPECT_FALSE(widget) << "the widget goes once the runtime let the window go";
    window->Close();
    EXPECT_EQ(closes, 1);
}
