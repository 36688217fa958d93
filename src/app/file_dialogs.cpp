#include "app/file_dialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>

namespace qlx {

namespace {

const QString kTitle = QStringLiteral("QLX-50 Manager");

void Configure(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(request.filter);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    // With a choice of file types a name typed without extension gets the
    // extension of the type chosen ("*.png"), the default one at first.
    if (!request.defaultSuffix.isEmpty() && dialog.nameFilters().size() > 1)
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            static const QRegularExpression kOnePattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
            if (const QRegularExpressionMatch m = kOnePattern.match(filter); m.hasMatch())
                dialog.setDefaultSuffix(m.captured(1));
        });
}

// `enterAnswer` is the default button, what Enter chooses.
bool Ask(QWidget* parent, const QString& text, QMessageBox::StandardButton enterAnswer)
{
    return QMessageBox::question(parent, kTitle, text, QMessageBox::Yes | QMessageBox::No, enterAnswer) ==
           QMessageBox::Yes;
}

// The save dialog, with a check box below the file name when `optionText`
// is given (Qt's own dialog then, as a native one takes no extra widgets).
std::optional<QString> Save(QWidget* parent, const FileDialogRequest& request, const QString* optionText, bool* checked)
{
    QFileDialog dialog(parent);
    Configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The overwrite question is asked below together with the create question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QCheckBox* option = nullptr;
    if (optionText) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        option = new QCheckBox(*optionText, &dialog);
        option->setChecked(*checked);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(option, grid->rowCount(), 0, 1, grid->columnCount());
        else if (dialog.layout())
            dialog.layout()->addWidget(option);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = dialog.selectedFiles().first();
    if (!request.requiredExtension.isEmpty() && !path.endsWith(request.requiredExtension, Qt::CaseSensitive))
        path += request.requiredExtension;
    const QString name = QFileInfo(path).fileName();
    // Enter after typing a new name creates it (the usual way to save); Enter
    // never replaces an existing file.
    if (QFileInfo::exists(path)) {
        if (!Ask(parent, QStringLiteral("%1 は既に存在します。\n上書きしますか?").arg(name), QMessageBox::No))
            return std::nullopt;
    } else if (!Ask(parent, QStringLiteral("%1 は存在しません。\n作成しますか?").arg(name), QMessageBox::Yes)) {
        return std::nullopt;
    }
    if (option)
        *checked = option->isChecked();
    return path;
}

}  // namespace

std::optional<QString> QtFileDialogs::OpenFile(const FileDialogRequest& request)
{
    QFileDialog dialog(parent_);
    Configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtFileDialogs::SaveFile(const FileDialogRequest& request)
{
    return Save(parent_, request, nullptr, nullptr);
}

std::optional<QString> QtFileDialogs::SaveFileWithOption(const FileDialogRequest& request, const QString& optionText,
                                                         bool& checked)
{
    return Save(parent_, request, &optionText, &checked);
}

void QtFileDialogs::Error(const QString& text) { QMessageBox::warning(parent_, kTitle, text); }

}  // namespace qlx
