#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/file_dialogs.h"
#include "support/temp_dir.h"

namespace {

using qlxtest::ReadAll;
using qlxtest::TempDir;
using qlxtest::WriteAll;

// Stands for the Enter key as the answer: the question's default button.
constexpr QMessageBox::StandardButton kEnter = QMessageBox::NoButton;

// Plays the user of the real save dialog: types the name `typed`, then answers
// every question with `answer` (or Enter), recording the questions' texts.
class SaveDialogUser {
public:
    // `fileType`: the file type chosen before typing (none: the default).
    SaveDialogUser(QString typed, QMessageBox::StandardButton answer, QString fileType = {})
        : typed_(std::move(typed)), answer_(answer), fileType_(std::move(fileType))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Act(); });
        timer_.start(20);
    }
    QStringList questions;
    // Clicks the dialog's check box (when it has one) before accepting, and
    // notes its caption.
    bool clickOption = false;
    QString optionCaption;

private:
    void Act()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!fileType_.isEmpty()) {
                auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                types->setCurrentIndex(types->findText(fileType_));
                // as the user's choice, which sends both
                emit types->activated(types->currentIndex());
                emit types->textActivated(fileType_);
            }
            if (auto* option = dialog->findChild<QCheckBox*>(); option && clickOption) {
                optionCaption = option->text();
                option->click();
            }
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed_);
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            questions << box->text();
            if (answer_ == kEnter)
                QTest::keyClick(box, Qt::Key_Return);
            else
                box->button(answer_)->click();
        }
    }

    QString typed_;
    QMessageBox::StandardButton answer_;
    QString fileType_;
    QTimer timer_;
};

qlx::FileDialogRequest ListSaveRequest(const TempDir& dir)
{
    qlx::FileDialogRequest request{QStringLiteral("save"), QStringLiteral("リファレンス・リスト(*.q5lst)"), QString(),
                                   QString::fromStdString(dir.path().string()), QString()};
    request.requiredExtension = QStringLiteral(".q5lst");
    return request;
}

// A name typed without the extension stands for the file with it: the
// questions are about that file, so an existing list is never replaced
// without the overwrite question.
TEST(QtFileDialogsSave, RequiredExtensionIsAddedBeforeTheQuestions)
{
    TempDir dir;
    WriteAll(dir.file("list.q5lst"), "old");
    qlx::QtFileDialogs dialogs(nullptr);
    {
        SaveDialogUser user(QStringLiteral("list"), QMessageBox::No);
        EXPECT_FALSE(dialogs.SaveFile(ListSaveRequest(dir)));
        ASSERT_EQ(user.questions.size(), 1);
        EXPECT_TRUE(user.questions[0].startsWith(QStringLiteral("list.q5lst は既に存在します。")))
            << user.questions[0].toStdString();
    }
    EXPECT_EQ(ReadAll(dir.file("list.q5lst")), "old");

    SaveDialogUser user(QStringLiteral("other"), QMessageBox::Yes);
    EXPECT_EQ(dialogs.SaveFile(ListSaveRequest(dir)), QString::fromStdString(dir.file("other.q5lst")));
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_TRUE(user.questions[0].startsWith(QStringLiteral("other.q5lst は存在しません。")))
        << user.questions[0].toStdString();
}

// Typing a new name and pressing Enter twice saves; Enter on the overwrite
// question never replaces a file.
TEST(QtFileDialogsSave, EnterCreatesANewFileButNeverOverwrites)
{
    TempDir dir;
    WriteAll(dir.file("list.q5lst"), "old");
    qlx::QtFileDialogs dialogs(nullptr);
    {
        SaveDialogUser user(QStringLiteral("fresh"), kEnter);
        EXPECT_EQ(dialogs.SaveFile(ListSaveRequest(dir)), QString::fromStdString(dir.file("fresh.q5lst")));
        ASSERT_EQ(user.questions.size(), 1);
        EXPECT_TRUE(user.questions[0].startsWith(QStringLiteral("fresh.q5lst は存在しません。")))
            << user.questions[0].toStdString();
    }
    SaveDialogUser user(QStringLiteral("list"), kEnter);
    EXPECT_FALSE(dialogs.SaveFile(ListSaveRequest(dir)));
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_TRUE(user.questions[0].startsWith(QStringLiteral("list.q5lst は既に存在します。")))
        << user.questions[0].toStdString();
    EXPECT_EQ(ReadAll(dir.file("list.q5lst")), "old");
}

// With a choice of file types a name typed without extension gets the
// extension of the type chosen, the default type's at first.
TEST(QtFileDialogsSave, NameWithoutExtensionTakesTheChosenTypes)
{
    TempDir dir;
    const qlx::FileDialogRequest request{QStringLiteral("picture"), QStringLiteral("ビットマップ (*.bmp);;PNG (*.png)"),
                                         QStringLiteral("bmp"), QString::fromStdString(dir.path().string()), QString()};
    qlx::QtFileDialogs dialogs(nullptr);
    {
        SaveDialogUser user(QStringLiteral("page"), QMessageBox::Yes);
        EXPECT_EQ(dialogs.SaveFile(request), QString::fromStdString(dir.file("page.bmp")));
    }
    SaveDialogUser user(QStringLiteral("page"), QMessageBox::Yes, QStringLiteral("PNG (*.png)"));
    EXPECT_EQ(dialogs.SaveFile(request), QString::fromStdString(dir.file("page.png")));
}

// The check box below the file name: its state comes back with a chosen
// file and stays as it was when the user says no to the question.
TEST(QtFileDialogsSave, OptionCheckBoxStateComesBackWithTheChosenFile)
{
    TempDir dir;
    qlx::QtFileDialogs dialogs(nullptr);
    const QString caption = QStringLiteral("位相を 0 で書き出す");
    bool checked = false;
    {
        SaveDialogUser user(QStringLiteral("fresh"), QMessageBox::Yes);
        user.clickOption = true;
        EXPECT_EQ(dialogs.SaveFileWithOption(ListSaveRequest(dir), caption, checked),
                  QString::fromStdString(dir.file("fresh.q5lst")));
        EXPECT_EQ(user.optionCaption, caption);
        EXPECT_TRUE(checked);
    }
    SaveDialogUser user(QStringLiteral("other"), QMessageBox::No);
    user.clickOption = true;
    EXPECT_FALSE(dialogs.SaveFileWithOption(ListSaveRequest(dir), caption, checked));
    EXPECT_TRUE(checked) << "a refused save keeps the state";
}

}  // namespace
