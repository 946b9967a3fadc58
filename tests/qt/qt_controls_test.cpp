// Labels, group boxes, image wells and pictures.

#include "qt_test_support.h"

#include "runtime/picture.h"
#include "runtime/platform.h"

#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
struct LabelCase {
    const char* what;
    PropertyValues properties;
    std::string text; // set by the program after creation; empty: not set
    QString shown;
    bool wrap;
    Qt::Alignment horizontal;
};

class QtControlsTest : public QtBackendTest {
  protected:
    QWidget* OpenWith(const std::function<void(ProbeWindow&)>& controls) {
        OpenProbeWindow(
            {"ControlsProbe",
             {{"Width", std::int64_t{400}}, {"Height", std::int64_t{300}}, {"Visible", true}},
             {},
             controls,
             {}});
        return WindowWidget("ControlsProbe");
    }

    Ref<Picture> Probe(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = dir_.filePath("probe.png");
        EXPECT_TRUE(image.save(path));
        auto decoded = RuntimePlatform().LoadPicture(path.toStdString());
        EXPECT_NE(decoded, nullptr);
        return decoded ? RuntimeNewObject<Picture>("probe.png", decoded) : nullptr;
    }

    QTemporaryDir dir_;
};

PropertyValues Frame() {
    return {{"Left", std::int64_t{10}},
            {"Top", std::int64_t{20}},
            {"Width", std::int64_t{200}},
            {"Height", std::int64_t{40}}};
}

PropertyValues With(PropertyValues base, const PropertyValues& more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
}
} // namespace

TEST_F(QtControlsTest, LabelsShowTheirTextAsTheProgramMeansIt) {
    const LabelCase cases[] = {
        {"initial value", With(Frame(), {{"Value", std::string("Drop files here")}}), "",
         "Drop files here", false, Qt::AlignLeft},
        {"text set later wins", With(Frame(), {{"Value", std::string("old")}}), "new", "new", false,
         Qt::AlignLeft},
        {"doubled ampersand", Frame(), "Encode && Decode", "Encode & Decode", false, Qt::AlignLeft},
        {"multiline", With(Frame(), {{"Multiline", true}, {"TextAlignment", std::int64_t{2}}}),
         "one\rtwo\r\nthree", "one\ntwo\nthree", true, Qt::AlignHCenter},
        {"right", With(Frame(), {{"TextAlignment", std::int64_t{3}}}), "r", "r", false,
         Qt::AlignRight},
        {"markup stays text", Frame(), "<b>x</b>", "<b>x</b>", false, Qt::AlignLeft},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget* window = OpenWith([&](ProbeWindow& w) {
            Ref<Label> label = AddProbeControl<Label>(w, "Caption", c.properties);
            if (!c.text.empty())
                label->Text(c.text);
        });
        auto* label = ChildNamed<QLabel>(window, "Caption");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), c.shown);
        EXPECT_EQ(label->wordWrap(), c.wrap);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, c.horizontal);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(label->geometry(), QRect(10, 20, 200, 40));
        QtBackendTest::TearDown();
    }
}

TEST_F(QtControlsTest, LabelFontsFollowNameSizeAndBold) {
    QWidget* window = OpenWith([](ProbeWindow& w) {
        AddProbeControl<Label>(
            w, "Named",
            With(Frame(),
                 {{"FontName", std::string("Helvetica")}, {"FontSize", 10.0}, {"Bold", true}}));
        Ref<Label> later = AddProbeControl<Label>(w, "Later", Frame());
        later->TextFont("Helvetica");
        later->TextSize(13);
        AddProbeControl<Label>(
            w, "System", With(Frame(), {{"FontName", std::string("System")}, {"FontSize", 0.0}}));
    });
    auto* named = ChildNamed<QLabel>(window, "Named");
    auto* later = ChildNamed<QLabel>(window, "Later");
    auto* system = ChildNamed<QLabel>(window, "System");
    ASSERT_TRUE(named && later && system);
    EXPECT_EQ(named->font().family(), "Helvetica");
    EXPECT_EQ(named->font().pixelSize(), 10) << "a point of the layout is a pixel";
    EXPECT_TRUE(named->font().bold());
    EXPECT_EQ(later->font().family(), "Helvetica");
    EXPECT_EQ(later->font().pixelSize(), 13);
    EXPECT_FALSE(later->font().bold());
    EXPECT_EQ(system->font().family(), QApplication::font().family());
    EXPECT_EQ(system->font().pointSizeF(), QApplication::font().pointSizeF());
}

TEST_F(QtControlsTest, GroupBoxIsACaptionlessBox) {
    QWidget* window =
        OpenWith([](ProbeWindow& w) { AddProbeControl<GroupBox>(w, "Box", Frame()); });
    auto* box = ChildNamed<QGroupBox>(window, "Box");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->title().isEmpty());
    EXPECT_EQ(box->geometry(), QRect(10, 20, 200, 40));
}

TEST_F(QtControlsTest, HiddenAndDisabledControlsSaySo) {
    QWidget* window = OpenWith([](ProbeWindow& w) {
        AddProbeControl<Label>(w, "Hidden", With(Frame(), {{"Visible", false}}));
        AddProbeControl<Label>(w, "Disabled", With(Frame(), {{"Enabled", false}}));
    });
    auto* hidden = ChildNamed<QLabel>(window, "Hidden");
    auto* disabled = ChildNamed<QLabel>(window, "Disabled");
    ASSERT_TRUE(hidden && disabled);
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_TRUE(disabled->isVisible());
    EXPECT_FALSE(disabled->isEnabled());
}

TEST_F(QtControlsTest, PicturesShowAtTheirNaturalSize) {
    Ref<Picture> picture = Probe(48, 32);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 48);
    EXPECT_EQ(picture->Height(), 32);
    QWidget* window = OpenWith([&](ProbeWindow& w) {
        AddProbeControl<BevelButton>(w, "Button", Frame())->Icon(picture);
        AddProbeControl<ImageWell>(w, "Well", Frame())->Image(picture);
    });
    auto* button = ChildNamed<QToolButton>(window, "Button");
    auto* well = ChildNamed<QLabel>(window, "Well");
    ASSERT_TRUE(button && well);
    EXPECT_EQ(button->iconSize(), QSize(48, 32));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(well->pixmap().size(), QSize(48, 32));
    EXPECT_EQ(well->alignment(), Qt::AlignCenter);
}

TEST_F(QtControlsTest, ShippedTiffPicturesDecodeAndOthersDoNot) {
    auto mac = RuntimePlatform().LoadPicture(TAMZEL_RESOURCES_DIR "/Mac.tiff");
    ASSERT_NE(mac, nullptr) << "TIFF needs Qt's image-formats plugin";
    EXPECT_GT(mac->Width(), 0);
    EXPECT_GT(mac->Height(), 0);
    EXPECT_EQ(RuntimePlatform().LoadPicture(dir_.filePath("missing.png").toStdString()), nullptr);
    QFile junk(dir_.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_EQ(RuntimePlatform().LoadPicture(junk.fileName().toStdString()), nullptr);
}
