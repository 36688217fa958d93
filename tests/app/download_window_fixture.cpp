#include "download_window_fixture.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "comm/download_names.h"
#include "support/settled_commands.h"
#include "ui/dlg_sinkou.h"

namespace qlxtest {

OwnHome::OwnHome(const std::string& home)
    : home_(qgetenv("HOME")),
      dataHome_(qgetenv("XDG_DATA_HOME")),
      hadDataHome_(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
{
    qputenv("HOME", QByteArray::fromStdString(home));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home + "/.local/share"));
}

OwnHome::~OwnHome()
{
    qputenv("HOME", home_);
    if (hadDataHome_)
        qputenv("XDG_DATA_HOME", dataHome_);
    else
        qunsetenv("XDG_DATA_HOME");
}

namespace {

QString Canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

}  // namespace

void DownloadWindow::SetUp()
{
    home = dir.file("home");
    destination = dir.file("保存先");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home + "/Documents")));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(destination)));
    ownHome = std::make_unique<OwnHome>(home);

    settings.ComPortName = sim.devicePath();
    form = std::make_unique<qlx::TMainForm>(settings, dialogs);
    // The 25 ms pause before each command paces the real instrument; the
    // simulator needs none, and the tests run several full downloads.
    form->Instrument.Pause = [](int) {};
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->ui.PageControl->setCurrentIndex(1);

    const std::pair<const char*, qlx::TExtendMsgDlg*> boxes[] = {
        {"Rs232cOpenErr", &form->MsgDlgs.Rs232cOpenErrMsgDlg},
        {"Rs232cErr", &form->MsgDlgs.Rs232cErrMsgDlg},
        {"UpDownloadEnd", &form->MsgDlgs.UpDownloadEndDlg},
    };
    for (const auto& [name, dlg] : boxes) {
        dlg->SetShowStep([this, name = std::string(name)](qlx::MsgBoxWindow& box) {
            shown.push_back(name + ": " + box.findChild<QLabel*>(QStringLiteral("Message"))->text().toStdString());
            box.Button(qlx::MsgBtn::OK)->click();
        });
    }
    form->InstrumentDialogs.SetFolderStep([this](QFileDialog& dlg) {
        const auto* instruction = dlg.findChild<QLabel*>(QStringLiteral("FolderInstruction"));
        browsers.push_back({dlg.windowTitle().toStdString(), instruction ? instruction->text().toStdString() : "",
                            Canonical(dlg.directory().absolutePath()).toStdString()});
        std::optional<std::string> answer;
        if (!folderAnswers.empty()) {
            answer = folderAnswers.front();
            folderAnswers.pop_front();
        }
        if (!answer)
            return false;
        dlg.selectFile(QString::fromStdString(*answer));
        return true;
    });

    progressWatch_.setInterval(0);
    QObject::connect(&progressWatch_, &QTimer::timeout, [this] {
        qlx::TDlgSinkou* d = qlx::TDlgSinkou::Instance();
        if (d && !progressSeen_)
            progressMaxima_.push_back(d->pbSinkou->maximum());
        progressSeen_ = d != nullptr;
    });
    progressWatch_.start();
}

void DownloadWindow::TearDown()
{
    progressWatch_.stop();
    canceller_.stop();
    form.reset();
    ownHome.reset();
}

void DownloadWindow::Press(QPushButton* button)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

void DownloadWindow::ClickHeader(QTreeWidget* view, int column)
{
    QHeaderView* header = view->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void DownloadWindow::CtrlClickRow(QTreeWidget* view, int number)
{
    const QList<QTreeWidgetItem*> found = view->findItems(QString::number(number), Qt::MatchExactly, 0);
    ASSERT_EQ(found.size(), 1);
    view->scrollToItem(found[0]);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, view->visualItemRect(found[0]).center());
    ASSERT_TRUE(found[0]->isSelected());
}

void DownloadWindow::CancelAtStep(int step)
{
    canceller_.disconnect();
    canceller_.setInterval(0);
    QObject::connect(&canceller_, &QTimer::timeout, [this, step] {
        qlx::TDlgSinkou* d = qlx::TDlgSinkou::Instance();
        if (d && d->pbSinkou->value() >= step) {
            d->btnToriyame->click();
            canceller_.stop();
        }
    });
    canceller_.start();
}

std::vector<int> DownloadWindow::ProgressMaxima()
{
    std::vector<int> maxima;
    maxima.swap(progressMaxima_);
    return maxima;
}

std::vector<std::string> DownloadWindow::Commands() { return SettledCommands(sim); }

std::string DownloadWindow::RunFolderName(const std::string& prefix, const std::string& suffix)
{
    const QDate today = QDate::currentDate();
    return prefix +
           qlx::RunFolderDate({today.year(), today.month(), today.day()},
                              QLocale::system().dateFormat(QLocale::ShortFormat).toStdString()) +
           suffix;
}

std::string DownloadWindow::InTrash(const std::string& name) const
{
    return home + "/.local/share/Trash/files/" + name;
}

std::vector<std::vector<std::string>> Rows(const QTreeWidget* view)
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        std::vector<std::string> texts;
        for (int c = 0; c < view->columnCount(); ++c)
            texts.push_back(view->topLevelItem(i)->text(c).toStdString());
        rows.push_back(texts);
    }
    return rows;
}

std::vector<int> Numbers(const QTreeWidget* view)
{
    std::vector<int> numbers;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        numbers.push_back(view->topLevelItem(i)->text(0).toInt());
    return numbers;
}

std::vector<int> SelectedNumbers(const QTreeWidget* view)
{
    std::vector<int> numbers;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        if (view->topLevelItem(i)->isSelected())
            numbers.push_back(view->topLevelItem(i)->text(0).toInt());
    return numbers;
}

std::string FileImage(const qlx::CurveLines& slot, int blocks)
{
    std::string bytes;
    for (int i = 0; i < blocks * qlx::kBlockSize; ++i)
        bytes += slot[static_cast<size_t>(i)] + "\n";
    return bytes;
}

}  // namespace qlxtest
