// Curve fields of the impedance page and the open/save commands of the
// measured and the reference curve.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/file_dialogs.h"
#include "app/local_path.h"
#include "app/mainform.h"
#include "app/sjis_validator.h"
#include "app/up_down.h"
#include "judge/threshold_editors.h"
#include "model/curve_file.h"
#include "model/file_io.h"

namespace qlx {

namespace {

struct CurveDialogTexts {
    const char* openTitle;
    const char* openFilter;
    const char* saveTitle;
    const char* saveFilter;
};

const CurveDialogTexts& DialogTexts(CurveKind kind)
{
    static const CurveDialogTexts measured{"測定カーブを開く", "測定カーブ(*.q5imp)", "測定カーブに名前を付けて保存",
                                           "測定カーブ(*.q5imp)"};
    static const CurveDialogTexts reference{"リファレンス・カーブを開く", "インピーダンス・カーブ ( *.q5imp )",
                                            "リファレンス・カーブに名前を付けて保存",
                                            "インピーダンス・カーブ(*.q5imp)"};
    return kind == CurveKind::Measured ? measured : reference;
}

QString ExistingFolder(const std::string& folder) { return DirExists(folder) ? FromLocal(folder) : QString(); }

}  // namespace

CurveLines& TMainForm::LinesOf(CurveKind kind)
{
    return kind == CurveKind::Measured ? curves.ImpLines : curves.RefLines;
}

void TMainForm::ConnectCurveFields()
{
    for (QLineEdit* e : {ImpNameEdit, RefNameEdit}) {
        e->setValidator(new SjisByteLimitValidator(kNameBytes, e));
        e->installEventFilter(this);
    }
    connect(ImpNameEdit, &QLineEdit::textChanged, this, [this] { SetNameFromEdit(CurveKind::Measured); });
    connect(RefNameEdit, &QLineEdit::textChanged, this, [this] { SetNameFromEdit(CurveKind::Reference); });
    connect(ImpMemo, &QPlainTextEdit::textChanged, this, [this] { SetMemoFromEdit(CurveKind::Measured); });
    connect(RefMemo, &QPlainTextEdit::textChanged, this, [this] { SetMemoFromEdit(CurveKind::Reference); });
    connect(RefProtectCheckBox, &QCheckBox::clicked, this, [this](bool on) { curves.SetProtect(on); });
    connect(RefTerminalBox, &QComboBox::activated, this, [this](int index) {
        curves.SetRefTerminal(index);
        RedrawGraph();
    });
}

void TMainForm::SetNameFromEdit(CurveKind kind)
{
    QLineEdit* edit = kind == CurveKind::Measured ? ImpNameEdit : RefNameEdit;
    // The validator has already refused text that is too long or unmappable.
    if (std::optional<std::string> bytes = SjisBytesOf(edit->text()))
        LinesOf(kind)[NameLine] = NameLineFor(*bytes);
}

void TMainForm::SetMemoFromEdit(CurveKind kind)
{
    QPlainTextEdit* memo = kind == CurveKind::Measured ? ImpMemo : RefMemo;
    QString& shown = kind == CurveKind::Measured ? impMemoShown_ : refMemoShown_;
    std::optional<std::string> bytes = MemoBytesOf(memo->toPlainText());
    if (!bytes || static_cast<int>(bytes->size()) > kMemoBytes) {
        // Past 600 bytes (or a character Shift-JIS cannot hold): take the
        // change back, keeping the caret where the user was.
        const int caret = memo->textCursor().position();
        const QSignalBlocker block(memo);
        memo->setPlainText(shown);
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(std::min<int>(std::max(0, caret - 1), static_cast<int>(shown.size())));
        memo->setTextCursor(cursor);
        return;
    }
    shown = memo->toPlainText();
    LinesOf(kind)[MemoSlot] = *bytes;
}

void TMainForm::TrimNameEdit(QLineEdit* edit)
{
    const QString trimmed = edit->text().trimmed();
    if (trimmed != edit->text())
        edit->setText(trimmed);
}

void TMainForm::ShowCurveFields(CurveKind kind)
{
    const bool measured = kind == CurveKind::Measured;
    const CurveLines& lines = LinesOf(kind);
    QLineEdit* name = measured ? ImpNameEdit : RefNameEdit;
    QPlainTextEdit* memo = measured ? ImpMemo : RefMemo;
    QLineEdit* file = measured ? ImpFileNameEdit : RefFileNameEdit;
    const std::string& path = measured ? curves.ImpFilePath : curves.RefFilePath;

    // Filling the fields must not rewrite the lines: a name or memo whose
    // bytes have no exact text form would otherwise be changed on display.
    {
        const QSignalBlocker b1(name);
        const QSignalBlocker b2(memo);
        name->setText(TextOfSjis(BracketPayload(lines[NameLine])));
        memo->setPlainText(MemoTextOfSjis(lines[MemoSlot]));
    }
    (measured ? impMemoShown_ : refMemoShown_) = memo->toPlainText();
    file->setText(FromLocal(DisplayName(path)));
    if (measured) {
        ImpTerminalEdit->setText(QString::fromLatin1(TerminalCaption(lines[TerminalLine])));
    } else {
        const QSignalBlocker b(RefProtectCheckBox);
        RefProtectCheckBox->setChecked(curves.Protected());
        RefTerminalBox->setCurrentIndex(TerminalIndex(lines[TerminalLine]));
    }
}

void TMainForm::OpenCurve(CurveKind kind, const std::string& givenPath)
{
    const bool measured = kind == CurveKind::Measured;
    std::string& folder = measured ? settings.ImpCurveDir : settings.RefCurveDir;
    std::string path = givenPath;
    if (path.empty()) {
        const CurveDialogTexts& t = DialogTexts(kind);
        FileDialogRequest request{QString::fromUtf8(t.openTitle), QString::fromUtf8(t.openFilter), QString(),
                                  ExistingFolder(folder), QString()};
        std::optional<QString> chosen = dialogs_.OpenFile(request);
        if (!chosen)
            return;
        path = LocalPath(*chosen);
    }

    // The file is read whole before anything changes, so a failed read leaves
    // the curve, its path and the remembered folder as they were.
    CurveLines lines = LinesOf(kind);
    if (IoResult r = ReadCurveFile(path, lines); !r) {
        dialogs_.Error(QString::fromStdString(r.error));
        return;
    }
    folder = FolderOf(path);
    LinesOf(kind) = lines;
    if (measured) {
        curves.ImpFilePath = path;
        curves.ImpLoaded = true;
        ImpFileSaveMenu->setEnabled(true);
        ImpFileSaveAsMenu->setEnabled(true);
        FileImpCsvSaveMenu->setEnabled(true);
        curves.DecodeImpHeader();
    } else {
        curves.RefFilePath = path;
        curves.RefLoaded = true;
        RefFileSaveMenu->setEnabled(true);
        RefFileSaveAsMenu->setEnabled(true);
        curves.DecodeRefHeader();
    }
    SetSpinnerPositions(PositionsForChannel(curves, 0));
    ShowCurveFields(kind);
    CurveLoaded(kind);
    if (!measured)
        OpenRefCurveUploadButton->setEnabled(true);
    EnableCursorReadouts();
    ShowPage(0);
}

void TMainForm::SaveCurve(CurveKind kind)
{
    const bool measured = kind == CurveKind::Measured;
    std::string& path = measured ? curves.ImpFilePath : curves.RefFilePath;
    if (!FileExists(path)) {
        path.clear();
        std::string& folder = measured ? settings.ImpCurveDir : settings.RefCurveDir;
        const CurveDialogTexts& t = DialogTexts(kind);
        QString& saveName = measured ? impSaveName_ : refSaveName_;
        FileDialogRequest request{QString::fromUtf8(t.saveTitle), QString::fromUtf8(t.saveFilter),
                                  QStringLiteral("q5imp"), ExistingFolder(folder), saveName};
        std::optional<QString> chosen = dialogs_.SaveFile(request);
        if (chosen) {
            saveName = QFileInfo(*chosen).fileName();
            path = LocalPath(*chosen);
            folder = FolderOf(path);
            (measured ? ImpFileNameEdit : RefFileNameEdit)->setText(FromLocal(DisplayName(path)));
        }
    }
    if (path.empty())
        return;
    if (IoResult r = WriteCurveFile(path, LinesOf(kind)); !r)
        dialogs_.Error(QString::fromStdString(r.error));
    ShowPage(0);
}

void TMainForm::SaveCurveAs(CurveKind kind)
{
    const bool measured = kind == CurveKind::Measured;
    std::string& folder = measured ? settings.ImpCurveDir : settings.RefCurveDir;
    const CurveDialogTexts& t = DialogTexts(kind);
    FileDialogRequest request{QString::fromUtf8(t.saveTitle), QString::fromUtf8(t.saveFilter), QStringLiteral("q5imp"),
                              ExistingFolder(folder), QString()};
    std::optional<QString> chosen = dialogs_.SaveFile(request);
    if (!chosen)
        return;
    (measured ? impSaveName_ : refSaveName_) = QFileInfo(*chosen).fileName();
    const std::string path = LocalPath(*chosen);
    folder = FolderOf(path);
    (measured ? curves.ImpFilePath : curves.RefFilePath) = path;
    if (IoResult r = WriteCurveFile(path, LinesOf(kind)); !r)
        dialogs_.Error(QString::fromStdString(r.error));
    (measured ? ImpFileNameEdit : RefFileNameEdit)->setText(FromLocal(DisplayName(path)));
    ShowPage(0);
}

void TMainForm::OpenStartFile(const std::string& path, bool referenceList)
{
    if (referenceList)
        OpenRefListFromStart(path);
    else
        OpenCurve(CurveKind::Measured, path);
}

}  // namespace qlx
