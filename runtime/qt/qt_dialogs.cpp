// Qt's own file dialogs, not the desktop's: only they show the title, the
// prompt and the action button's caption on every desktop, and tests can
// drive them.

#include "qt_backend.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace {
QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

std::string Bytes(const QString& path) {
    const QByteArray b = QFile::encodeName(path);
    return std::string(b.constData(), std::size_t(b.size()));
}

// QFileDialog has no prompt of its own: it goes in a row of its own above
// the dialog's grid.
void AddPrompt(QFileDialog& dialog, const std::string& prompt) {
    auto* label = new QLabel(Text(prompt), &dialog);
    label->setObjectName("promptText");
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) {
        if (dialog.layout())
            dialog.layout()->addWidget(label);
        return;
    }
    struct Cell {
        QLayoutItem* item;
        int row, column, rowSpan, columnSpan;
    };
    std::vector<Cell> cells;
    for (int i = grid->count() - 1; i >= 0; --i) {
        Cell cell{nullptr, 0, 0, 0, 0};
        grid->getItemPosition(i, &cell.row, &cell.column, &cell.rowSpan, &cell.columnSpan);
        cell.item = grid->takeAt(i);
        cells.push_back(cell);
    }
    const int rows = grid->rowCount();
    for (int row = rows - 1; row >= 0; --row)
        grid->setRowStretch(row + 1, grid->rowStretch(row));
    grid->setRowStretch(0, 0);
    for (const Cell& cell : cells)
        grid->addItem(cell.item, cell.row + 1, cell.column, cell.rowSpan, cell.columnSpan);
    grid->addWidget(label, 0, 0, 1, grid->columnCount());
}

// The names typed as "a" "b" in the file-name field, when every one of them
// is a file in the dialog's folder. Qt's own answer follows the list's
// selection, which its completer can leave short of what was typed; a
// clicked selection fills the field with the same names, so both agree.
QStringList TypedFiles(const QFileDialog& dialog) {
    const auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    if (!edit || !edit->text().contains('"'))
        return {};
    const QStringList parts = edit->text().split('"');
    if (parts.size() % 2 == 0)
        return {}; // an odd number of quotes: a name holds one itself
    QStringList files;
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        if (!parts[i - 1].trimmed().isEmpty())
            return {};
        const QFileInfo file(dialog.directory(), parts[i]);
        if (parts[i].isEmpty() || !file.isFile())
            return {};
        files << file.absoluteFilePath();
    }
    if (!parts.last().trimmed().isEmpty())
        return {};
    return files;
}

void Configure(QFileDialog& dialog, const DialogSettings& settings) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(Text(settings.title));
    if (!settings.actionButtonCaption.empty())
        dialog.setLabelText(QFileDialog::Accept, Text(settings.actionButtonCaption));
    if (!settings.initialDirectory.empty())
        dialog.setDirectory(
            QFile::decodeName(QByteArray::fromStdString(settings.initialDirectory)));
    if (!settings.promptText.empty())
        AddPrompt(dialog, settings.promptText);
    dialog.setWindowModality(Qt::ApplicationModal);
}
} // namespace

std::optional<std::vector<std::string>> QtPlatform::ShowOpenDialog(const DialogSettings& settings) {
    QFileDialog dialog(QApplication::activeWindow());
    Configure(dialog, settings);
    dialog.setFileMode(settings.multiSelect ? QFileDialog::ExistingFiles
                                            : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QStringList files = TypedFiles(dialog);
    if (files.isEmpty())
        files = dialog.selectedFiles();
    std::vector<std::string> chosen;
    for (const QString& file : files)
        chosen.push_back(Bytes(file));
    return chosen;
}

std::optional<std::string> QtPlatform::ShowFolderDialog(const DialogSettings& settings) {
    QFileDialog dialog(QApplication::activeWindow());
    Configure(dialog, settings);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Bytes(dialog.selectedFiles().front());
}

void QtPlatform::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(), Text(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
