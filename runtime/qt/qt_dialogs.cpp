// Qt's own file dialogs, not the desktop's: only they show the title, the
// prompt and the action button's caption on every desktop, and tests can
// drive them.

#include "qt_backend.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
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
    std::vector<std::string> chosen;
    for (const QString& file : dialog.selectedFiles())
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
