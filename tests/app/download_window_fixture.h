#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/mainform.h"
#include "qlx50_sim.h"
#include "scripted_file_dialogs.h"
#include "support/download_commands.h"
#include "support/temp_dir.h"

class QPushButton;
class QTreeWidget;

namespace qlxtest {

// HOME and XDG_DATA_HOME of the test's own, so that the documents folder
// and the trash a cancelled download uses are the test's; restored when it
// ends.
class OwnHome {
public:
    explicit OwnHome(const std::string& home);
    ~OwnHome();
    OwnHome(const OwnHome&) = delete;
    OwnHome& operator=(const OwnHome&) = delete;

private:
    QByteArray home_, dataHome_;
    bool hadDataHome_;
};

// What the folder browser showed.
struct FolderBrowserShown {
    std::string caption;
    std::string instruction;
    std::string start;  // canonical path
};

// The main window on its download page, connected to a simulated QLX-50
// holding the simulator's references (No. 1 to 6, 10 and 32) and measured
// curves (slots 0 to 11, 20 to 22 and 40). The folder browser takes its
// answers from `folderAnswers` (nothing left or no value: cancelled); every
// message dialog is answered OK and recorded.
class DownloadWindow : public ::testing::Test {
protected:
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 1, std::nullopt, {}}};
    TempDir dir;
    std::string home;
    std::string destination;  // an empty folder the user may pick
    ScriptedFileDialogs dialogs;
    qlx::Settings settings;
    std::unique_ptr<OwnHome> ownHome;
    std::unique_ptr<qlx::TMainForm> form;
    std::vector<std::string> shown;  // "dialog: text" of each message shown
    std::vector<FolderBrowserShown> browsers;
    std::deque<std::optional<std::string>> folderAnswers;

    void SetUp() override;
    void TearDown() override;

    // A click on a button of the window as the user makes it: the window is
    // active, so the button takes the focus.
    void Press(QPushButton* button);
    // A click on a column header of a list view.
    void ClickHeader(QTreeWidget* view, int column);
    // A Ctrl+click on the row whose caption is `number`, adding it to the
    // selection.
    void CtrlClickRow(QTreeWidget* view, int number);
    // The progress dialog's cancel button is pressed once the dialog has
    // advanced `step` steps (during the step-th unit of work).
    void CancelAtStep(int step);
    // The maximum of every progress dialog that opened since the last call.
    std::vector<int> ProgressMaxima();

    // Commands of the operations that have ended, without waiting out a
    // time limit.
    std::vector<std::string> Commands();
    // The folder a run of today gets: prefix + the date in the system's short
    // date format (as the run folder's name makes it) + suffix.
    static std::string RunFolderName(const std::string& prefix, const std::string& suffix = {});
    std::string InTrash(const std::string& name) const;

private:
    QTimer canceller_;
    QTimer progressWatch_;
    std::vector<int> progressMaxima_;
    bool progressSeen_ = false;
};

// Texts of the rows of a list view (UTF-8), in the order it shows them.
std::vector<std::vector<std::string>> Rows(const QTreeWidget* view);
std::vector<int> Numbers(const QTreeWidget* view);
std::vector<int> SelectedNumbers(const QTreeWidget* view);

// The bytes a downloaded curve file holds: the curve's first `blocks`
// channel blocks as the instrument sends them, each line ended by LF.
std::string FileImage(const qlx::CurveLines& slot, int blocks = 4);

}  // namespace qlxtest
