// The measured and the reference curve: their fields on the impedance page
// and their open, save and save-as commands, each over the curve kind's
// descriptor.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/file_dialogs.h"
#include "app/local_path.h"
#include "app/mainform.h"
#include "app/resonance_dialog.h"
#include "app/sjis_validator.h"
#include "judge/threshold_editors.h"
#include "model/curve_file.h"
#include "model/file_io.h"

namespace qlx {

namespace {

QString ExistingFolder(const std::string& folder) { return DirExists(folder) ? FromLocal(folder) : QString(); }

}  // namespace

void TMainForm::DescribeCurveKinds()
{
    const ImpedancePageUi& p = ui.imp;
    const MainMenus& m = ui.menus;

    CurveDescriptor& imp = Curve(CurveKind::Measured);
    imp.lines = &curves.ImpLines;
    imp.filePath = &curves.ImpFilePath;
    imp.folder = &settings.ImpCurveDir;
    imp.loaded = &curves.ImpLoaded;
    imp.decodeHeader = &CurveState::DecodeImpHeader;
    imp.nameEdit = p.ImpNameEdit;
    imp.memo = p.ImpMemo;
    imp.fileNameEdit = p.ImpFileNameEdit;
    imp.showHeaderFields = [this] {
        ui.imp.ImpTerminalEdit->setText(QString::fromLatin1(TerminalCaption(curves.ImpLines[TerminalLine])));
    };
    imp.texts = {QStringLiteral("測定カーブを開く"), QStringLiteral("測定カーブ(*.q5imp)"),
                 QStringLiteral("測定カーブに名前を付けて保存"), QStringLiteral("測定カーブ(*.q5imp)")};
    imp.enabledActions = {m.ImpFileSaveMenu, m.ImpFileSaveAsMenu, m.FileImpCsvSaveMenu, m.FileImpZmaSaveMenu};

    CurveDescriptor& ref = Curve(CurveKind::Reference);
    ref.lines = &curves.RefLines;
    ref.filePath = &curves.RefFilePath;
    ref.folder = &settings.RefCurveDir;
    ref.loaded = &curves.RefLoaded;
    ref.decodeHeader = &CurveState::DecodeRefHeader;
    ref.nameEdit = p.RefNameEdit;
    ref.memo = p.RefMemo;
    ref.fileNameEdit = p.RefFileNameEdit;
    ref.showHeaderFields = [this] {
        const QSignalBlocker b(ui.imp.RefProtectCheckBox);
        ui.imp.RefProtectCheckBox->setChecked(curves.Protected());
        ui.imp.RefTerminalBox->setCurrentIndex(TerminalIndex(curves.RefLines[TerminalLine]));
    };
    ref.texts = {QStringLiteral("リファレンス・カーブを開く"), QStringLiteral("インピーダンス・カーブ ( *.q5imp )"),
                 QStringLiteral("リファレンス・カーブに名前を付けて保存"),
                 QStringLiteral("インピーダンス・カーブ(*.q5imp)")};
    ref.enabledActions = {m.RefFileSaveMenu, m.RefFileSaveAsMenu};
    ref.enabledWidgets = {ui.upload.OpenRefCurveUploadButton};
}

void TMainForm::ConnectCurveFields()
{
    for (CurveDescriptor* d : {&Curve(CurveKind::Measured), &Curve(CurveKind::Reference)}) {
        d->nameEdit->setValidator(new SjisByteLimitValidator(kNameBytes, d->nameEdit));
        d->nameEdit->installEventFilter(this);
        connect(d->nameEdit, &QLineEdit::textChanged, this, [this, d] { SetNameFromEdit(*d); });
        connect(d->memo, &QPlainTextEdit::textChanged, this, [this, d] { SetMemoFromEdit(*d); });
    }
    connect(ui.imp.RefProtectCheckBox, &QCheckBox::clicked, this, [this](bool on) { curves.SetProtect(on); });
    connect(ui.imp.RefTerminalBox, &QComboBox::activated, this, [this](int index) {
        curves.SetRefTerminal(index);
        RedrawGraph();
    });
}

void TMainForm::SetNameFromEdit(CurveDescriptor& d)
{
    // The validator has already refused text that is too long or unmappable.
    if (std::optional<std::string> bytes = SjisBytesOf(d.nameEdit->text()))
        (*d.lines)[NameLine] = NameLineFor(*bytes);
}

void TMainForm::SetMemoFromEdit(CurveDescriptor& d)
{
    QPlainTextEdit* memo = d.memo;
    const std::optional<std::string> bytes = MemoBytesOf(memo->toPlainText());
    if (!bytes || !EditFits((*d.lines)[MemoSlot].size(), bytes->size(), kMemoBytes)) {
        // Past 600 bytes (or a character Shift-JIS cannot hold): take the
        // change back, keeping the caret where the user was. A memo a file
        // brought in over the limit can always be shortened.
        const int caret = memo->textCursor().position();
        const QSignalBlocker block(memo);
        memo->setPlainText(d.memoShown);
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(std::min<int>(std::max(0, caret - 1), static_cast<int>(d.memoShown.size())));
        memo->setTextCursor(cursor);
        return;
    }
    d.memoShown = memo->toPlainText();
    (*d.lines)[MemoSlot] = *bytes;
}

void TMainForm::TrimNameEdit(QLineEdit* edit)
{
    // Only the blank pads a name field; any other space (an ideographic one)
    // belongs to the name.
    const QString text = edit->text();
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    if (first > 0 || last < text.size())
        edit->setText(text.mid(first, last - first));
}

void TMainForm::ShowCurveFields(CurveDescriptor& d)
{
    const CurveLines& lines = *d.lines;
    // Filling the fields must not rewrite the lines: a name or memo whose
    // bytes have no exact text form would otherwise be changed on display.
    {
        const QSignalBlocker b1(d.nameEdit);
        const QSignalBlocker b2(d.memo);
        d.nameEdit->setText(TextOfSjis(BracketPayload(lines[NameLine])));
        d.memo->setPlainText(MemoTextOfSjis(lines[MemoSlot]));
    }
    d.memoShown = d.memo->toPlainText();
    d.fileNameEdit->setText(FromLocal(DisplayName(*d.filePath)));
    d.showHeaderFields();
}

void TMainForm::CurveReplaced(CurveDescriptor& d)
{
    *d.loaded = true;
    for (QAction* a : d.enabledActions)
        a->setEnabled(true);
    ShowCurveFields(d);
    CurveLoaded();
    for (QWidget* w : d.enabledWidgets)
        w->setEnabled(true);
    EnableCursorReadouts();
    resonanceDialog->Refresh();
}

void TMainForm::OpenCurve(CurveKind kind, const std::string& givenPath)
{
    CurveDescriptor& d = Curve(kind);
    std::string path = givenPath;
    if (path.empty()) {
        const FileDialogRequest request{d.texts.openTitle, d.texts.openFilter, QString(), ExistingFolder(*d.folder),
                                        QString()};
        std::optional<QString> chosen = dialogs_.OpenFile(request);
        if (!chosen)
            return;
        path = LocalPath(*chosen);
    }

    // The file is read whole before anything changes, so a failed read leaves
    // the curve, its path and the remembered folder as they were.
    CurveLines lines = *d.lines;
    if (IoResult r = ReadCurveFile(path, lines); !r) {
        dialogs_.Error(QString::fromStdString(r.error));
        return;
    }
    *d.folder = FolderOf(path);
    *d.lines = lines;
    *d.filePath = path;
    (curves.*d.decodeHeader)();
    SetSpinnerPositions(PositionsForChannel(curves, 0));
    CurveReplaced(d);
    ShowPage(0);
}

void TMainForm::SaveCurve(CurveKind kind)
{
    CurveDescriptor& d = Curve(kind);
    std::string& path = *d.filePath;
    if (!FileExists(path)) {
        path.clear();
        const FileDialogRequest request{d.texts.saveTitle, d.texts.saveFilter, QStringLiteral("q5imp"),
                                        ExistingFolder(*d.folder), d.saveName};
        std::optional<QString> chosen = dialogs_.SaveFile(request);
        if (chosen) {
            d.saveName = QFileInfo(*chosen).fileName();
            path = LocalPath(*chosen);
            *d.folder = FolderOf(path);
            d.fileNameEdit->setText(FromLocal(DisplayName(path)));
        }
    }
    if (path.empty())
        return;
    if (IoResult r = WriteCurveFile(path, *d.lines); !r)
        dialogs_.Error(QString::fromStdString(r.error));
    ShowPage(0);
}

void TMainForm::SaveCurveAs(CurveKind kind)
{
    CurveDescriptor& d = Curve(kind);
    const FileDialogRequest request{d.texts.saveTitle, d.texts.saveFilter, QStringLiteral("q5imp"),
                                    ExistingFolder(*d.folder), QString()};
    std::optional<QString> chosen = dialogs_.SaveFile(request);
    if (!chosen)
        return;
    d.saveName = QFileInfo(*chosen).fileName();
    const std::string path = LocalPath(*chosen);
    *d.folder = FolderOf(path);
    *d.filePath = path;
    if (IoResult r = WriteCurveFile(path, *d.lines); !r)
        dialogs_.Error(QString::fromStdString(r.error));
    d.fileNameEdit->setText(FromLocal(DisplayName(path)));
    ShowPage(0);
}

}  // namespace qlx
