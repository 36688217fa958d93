#include "ui/qt_instrument_ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QStandardPaths>

#include "ui/app_font.h"
#include "ui/dlg_sinkou.h"

namespace qlx {

QtInstrumentUi::QtInstrumentUi(MainMsgDlgs& dialogs, QWidget* parent) : dialogs_(dialogs), parent_(parent) {}

int QtInstrumentUi::ShowMessage(MsgDlg dialog, const std::string& message)
{
    TExtendMsgDlg& dlg = dialogs_.Get(dialog);
    if (message.empty())
        return dlg.Execute();
    // The replacement text is for this showing only: the next caller that
    // shows the dialog as designed must not see an earlier caller's text.
    const QString designed = dlg.Message();
    dlg.SetMessage(QString::fromStdString(message));
    const int result = dlg.Execute();
    dlg.SetMessage(designed);
    return result;
}

bool QtInstrumentUi::ProgressOpen(const std::string& caption, int minimum, int maximum)
{
    return TDlgSinkou::Open(true, QString::fromStdString(caption), minimum, maximum);
}

bool QtInstrumentUi::ProgressStep() { return TDlgSinkou::Step(true); }

void QtInstrumentUi::ProgressClose() { TDlgSinkou::Close(); }

std::optional<std::string> QtInstrumentUi::ChooseFolder(const std::string& title, const std::string& status,
                                                        const std::string& initialFolder)
{
    QString start = QString::fromStdString(initialFolder);
    if (start.isEmpty() || !QDir(start).exists())
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    QFileDialog dialog(parent_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFont(AppFont(12));
    dialog.setWindowTitle(QString::fromStdString(status.empty() ? title : status));
    dialog.setDirectory(start);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        // The instruction goes above the folder view, as in a folder browser.
        auto* instruction = new QLabel(QString::fromStdString(title));
        instruction->setObjectName(QStringLiteral("FolderInstruction"));
        instruction->setWordWrap(true);
        grid->addWidget(instruction, grid->rowCount(), 0, 1, grid->columnCount());
    }

    const bool accepted = folderStep_ ? folderStep_(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

bool QtInstrumentUi::MoveToTrash(const std::string& path)
{
    // Qt 6.4 cannot set up the home trash while its parent, the data folder
    // (~/.local/share), does not exist: it then moves the item into "files"
    // of the working folder and reports success. A desktop makes that folder
    // at the first login; make it here too.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const QString source = QString::fromStdString(path);
    QString inTrash;
    if (!QFile::moveToTrash(source, &inTrash))
        return false;
    if (QDir::isAbsolutePath(inTrash))
        return true;
    // Misplaced all the same: it goes back, its note in "info" away.
    const QFileInfo moved(inTrash);
    const QString filesFolder = moved.path();
    const QString infoFolder = QDir::cleanPath(filesFolder + QStringLiteral("/../info"));
    QFile::remove(infoFolder + QLatin1Char('/') + moved.fileName() + QStringLiteral(".trashinfo"));
    QDir().rename(inTrash, source);
    QDir().rmdir(filesFolder);
    QDir().rmdir(infoFolder);
    return false;
}

void QtInstrumentUi::ProcessEvents() { QCoreApplication::processEvents(); }

}  // namespace qlx
