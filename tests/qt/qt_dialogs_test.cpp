// Qt's own file dialogs and the message box, driven as a user would.

#include "qt_test_support.h"

#include "runtime/platform.h"

#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>

namespace {
class QtDialogsTest : public QtBackendTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        for (const char* name : {"a.txt", "b c.txt"}) {
            QFile file(dir_.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(QDir(dir_.path()).mkdir("sub"));
    }

    DialogSettings Settings(bool multi) const {
        DialogSettings s;
        s.actionButtonCaption = "Select";
        s.title = "Choose files to encode";
        s.promptText = "Pick the files to turn into BinHex";
        s.initialDirectory = dir_.path().toStdString();
        s.multiSelect = multi;
        return s;
    }

    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

    QTemporaryDir dir_;
};

// Checks what the file dialog shows, then types `names` and accepts.
void ExpectShownAndChoose(QWidget* modal, const DialogSettings& s, QFileDialog::FileMode mode,
                          const QString& names) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), s.title);
    EXPECT_EQ(dialog->fileMode(), mode);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(QDir(dialog->directory()).absolutePath().toStdString(), s.initialDirectory);
    auto* prompt = dialog->findChild<QLabel*>("promptText");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text().toStdString(), s.promptText);
    EXPECT_TRUE(prompt->isVisible());
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QPushButton* accept = buttons->button(QDialogButtonBox::Open);
    ASSERT_NE(accept, nullptr);
    EXPECT_EQ(accept->text(), "Select");
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(names);
    accept->click();
}

void Cancel(QWidget* modal) {
    auto* buttons = modal->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);
    buttons->button(QDialogButtonBox::Cancel)->click();
}
} // namespace

TEST_F(QtDialogsTest, OpenDialogShowsItsTextsAndReturnsThePickedFiles) {
    const DialogSettings s = Settings(true);
    ModalDriver driver([&](QWidget* modal) {
        ExpectShownAndChoose(modal, s, QFileDialog::ExistingFiles, R"("b c.txt" "a.txt")");
    });
    auto chosen = RuntimePlatform().ShowOpenDialog(s);
    ASSERT_TRUE(driver.Acted());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (std::vector<std::string>{Path("b c.txt"), Path("a.txt")}));
}

TEST_F(QtDialogsTest, SingleChoiceOpenDialogReturnsOneFile) {
    const DialogSettings s = Settings(false);
    ModalDriver driver([&](QWidget* modal) {
        ExpectShownAndChoose(modal, s, QFileDialog::ExistingFile, "b c.txt");
    });
    auto chosen = RuntimePlatform().ShowOpenDialog(s);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, std::vector<std::string>{Path("b c.txt")});
}

TEST_F(QtDialogsTest, CancelledOpenDialogReturnsNothing) {
    ModalDriver driver(Cancel);
    EXPECT_FALSE(RuntimePlatform().ShowOpenDialog(Settings(true)).has_value());
    EXPECT_TRUE(driver.Acted());
}

TEST_F(QtDialogsTest, FolderDialogReturnsThePickedFolder) {
    DialogSettings s = Settings(false);
    s.title = "Choose a folder";
    ModalDriver driver([&](QWidget* modal) {
        ExpectShownAndChoose(modal, s, QFileDialog::Directory, "sub");
        EXPECT_TRUE(qobject_cast<QFileDialog*>(modal)->testOption(QFileDialog::ShowDirsOnly));
    });
    auto chosen = RuntimePlatform().ShowFolderDialog(s);
    ASSERT_TRUE(driver.Acted());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, Path("sub"));
}

TEST_F(QtDialogsTest, CancelledFolderDialogReturnsNothing) {
    ModalDriver driver(Cancel);
    EXPECT_FALSE(RuntimePlatform().ShowFolderDialog(Settings(false)).has_value());
    EXPECT_TRUE(driver.Acted());
}

TEST_F(QtDialogsTest, MessageBoxShowsTheTextAsItIs) {
    const std::string text = "3 files encoded & saved <b>here</b>";
    ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), text);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_TRUE(box->isModal());
        ASSERT_NE(box->button(QMessageBox::Ok), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    RuntimePlatform().ShowMessage(text);
    EXPECT_TRUE(driver.Acted());
}

// Selects the rows of `names` in the dialog's list, once it lists them all.
void SelectRows(QFileDialog& dialog, const QStringList& names) {
    auto* list = dialog.findChild<QListView*>("listView");
    ASSERT_NE(list, nullptr);
    QAbstractItemModel* model = list->model();
    QModelIndexList rows;
    const QDeadlineTimer patience(30000);
    while (rows.size() < names.size() && !patience.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        rows.clear();
        for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
            const QModelIndex index = model->index(row, 0, list->rootIndex());
            if (names.contains(index.data().toString()))
                rows << index;
        }
    }
    ASSERT_EQ(rows.size(), names.size());
    list->selectionModel()->clearSelection();
    for (const QModelIndex& index : rows)
        list->selectionModel()->select(index,
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

TEST_F(QtDialogsTest, TypedNamesWinOverASelectionThatLagsBehind) {
    // While the user types, Qt's completer can leave the list's selection
    // short of the names in the field; what was typed is the choice.
    ModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        edit->setFocus();
        edit->setText(R"("b c.txt" "a.txt")");
        SelectRows(*dialog, {"a.txt"});
        ASSERT_EQ(edit->text(), R"("b c.txt" "a.txt")") << "the field keeps what was typed";
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    });
    auto chosen = RuntimePlatform().ShowOpenDialog(Settings(true));
    ASSERT_TRUE(driver.Acted());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (std::vector<std::string>{Path("b c.txt"), Path("a.txt")}));
}

TEST_F(QtDialogsTest, ANameWithADoubleQuoteIsChosenFromTheList) {
    // The field cannot carry such a name back, so the list's selection holds.
    const QString name = R"(say "hi".txt)";
    QFile quoted(dir_.filePath(name));
    ASSERT_TRUE(quoted.open(QIODevice::WriteOnly));
    quoted.close();
    ModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        SelectRows(*dialog, {name, "a.txt"});
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    });
    auto chosen = RuntimePlatform().ShowOpenDialog(Settings(true));
    ASSERT_TRUE(driver.Acted());
    ASSERT_TRUE(chosen.has_value());
    std::sort(chosen->begin(), chosen->end());
    EXPECT_EQ(*chosen, (std::vector<std::string>{Path("a.txt"), Path(R"(say "hi".txt)")}));
}
