#include "ui/qt_instrument_ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
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

void QtInstrumentUi::ProcessEvents() { QCoreApplication::processEvents(); }

}  // namespace qlx
