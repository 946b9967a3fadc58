#include "qt_label.h"

#include "qt_properties.h"

#include <QApplication>
#include <QLabel>

namespace {
// "&&" is how the program writes a literal "&" (a single one would be a
// mnemonic elsewhere); QLabel shows text as it is, so it gets one "&".
QString DisplayText(const std::string& text, bool multiline) {
    QString shown = QString::fromStdString(text);
    shown.replace("&&", "&");
    if (multiline) {
        shown.replace("\r\n", "\n");
        shown.replace('\r', '\n');
    }
    return shown;
}

Qt::Alignment HorizontalAlignment(int textAlignment) {
    switch (textAlignment) {
    case 2:
        return Qt::AlignHCenter;
    case 3:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

// Sizes are in the program's points, laid out for a 72-dpi screen where a
// point is a pixel: as pixel sizes, a caption fits the frame it was laid out
// in at any screen resolution.
QFont LabelFont(const Label& label) {
    const PropertyStore& p = label.Properties();
    std::string family = label.TextFont().empty() ? TextProperty(p, "FontName") : label.TextFont();
    double size = label.TextSize() != 0 ? label.TextSize() : NumberProperty(p, "FontSize", 0);
    QFont font = QApplication::font();
    // "System" is the desktop's own font; other names go to fontconfig,
    // which finds a metric-compatible face for Helvetica.
    if (!family.empty() && family != "System")
        font.setFamily(QString::fromStdString(family));
    if (size > 0)
        font.setPixelSize(qRound(size));
    font.setBold(BoolProperty(p, "Bold", false));
    font.setItalic(BoolProperty(p, "Italic", false));
    font.setUnderline(BoolProperty(p, "Underline", false));
    return font;
}
} // namespace

void QtUpdateLabel(QLabel& widget, const Label& label) {
    const PropertyStore& p = label.Properties();
    const bool multiline = BoolProperty(p, "Multiline", false);
    // The program sets the text after creation; until then the label shows
    // its initial Value.
    const std::string text = label.Text().empty() ? TextProperty(p, "Value") : label.Text();
    widget.setTextFormat(Qt::PlainText);
    widget.setText(DisplayText(text, multiline));
    widget.setWordWrap(multiline);
    widget.setAlignment(HorizontalAlignment(IntProperty(p, "TextAlignment", 0)) | Qt::AlignTop);
    widget.setFont(LabelFont(label));
    if (const auto* color = std::get_if<Color>(p.Find("TextColor"))) {
        QPalette palette = widget.palette();
        palette.setColor(QPalette::WindowText, QColor(color->red, color->green, color->blue));
        widget.setPalette(palette);
    }
}
