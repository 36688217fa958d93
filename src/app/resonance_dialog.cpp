#include "app/resonance_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QTableWidget>

#include "app/local_path.h"
#include "app/sjis_validator.h"
#include "model/curve_lines.h"
#include "model/file_io.h"
#include "ui/app_font.h"
#include "ui/place_window.h"

namespace qlx {

namespace {

constexpr int kWidth = 520;
constexpr int kRowHeight = 20;
constexpr int kLabelColumn = 112;
constexpr int kValueColumn = 126;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w, int h, bool wrap = false)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, w, h);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// "測定カーブ: WOOFER-16A (file)" from the curve's name line and file.
QString CurveCaption(const char* kind, bool present, const CurveLines& lines, const std::string& path)
{
    if (!present)
        return QStringLiteral("%1: なし").arg(QString::fromUtf8(kind));
    QString caption =
        QStringLiteral("%1: %2").arg(QString::fromUtf8(kind), TextOfSjis(BracketPayload(lines[NameLine])).trimmed());
    if (!path.empty())
        caption += QStringLiteral("  (%1)").arg(FromLocal(FileNameOf(path)));
    return caption;
}

void SetCell(QTableWidget* table, int row, int column, const ResonanceCell& cell)
{
    auto* item = new QTableWidgetItem(Text(cell.text));
    item->setToolTip(Text(cell.note));
    item->setFlags(Qt::ItemIsEnabled);
    switch (cell.state) {
    case CellState::kValue: item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    case CellState::kFlagged:
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        item->setForeground(QColor(176, 88, 0));
        break;
    case CellState::kMissing:
        item->setTextAlignment(Qt::AlignCenter);
        item->setForeground(QColor(128, 128, 128));
        break;
    }
    table->setItem(row, column, item);
}

}  // namespace

ResonanceDialog::ResonanceDialog(const CurveState& curves, std::unique_ptr<QSettings> programFile, QWidget* parent)
    // A tool window: above the main window only, not above other programs.
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      curves_(curves),
      programFile_(std::move(programFile)),
      memory_(*programFile_)
{
    setWindowTitle(QStringLiteral("共振パラメータ"));
    setFont(AppFont(12));
    Build();
    Refresh();
}

ResonanceDialog::~ResonanceDialog() = default;

void ResonanceDialog::Build()
{
    const int inner = kWidth - 24;
    ui.channelLabel = Label(this, QString(), 12, 10, inner, 16);
    ui.measuredNameLabel = Label(this, QString(), 12, 30, inner, 16);
    ui.referenceNameLabel = Label(this, QString(), 12, 48, inner, 16);

    Label(this, QStringLiteral("Re"), 12, 75, 24, 16);
    ui.reEdit = new QLineEdit(this);
    ui.reEdit->setObjectName(QStringLiteral("reEdit"));
    ui.reEdit->setGeometry(36, 72, 64, 20);
    ui.reEdit->setAlignment(Qt::AlignRight);
    ui.reEdit->setMaxLength(8);
    ui.reEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}(\\.[0-9]{0,3})?")), ui.reEdit));
    ui.reEdit->setToolTip(QStringLiteral("ボイスコイルの直流抵抗 (テスターで測った値)"));
    connect(ui.reEdit, &QLineEdit::textEdited, this, &ResonanceDialog::ReEdited);
    Label(this, QStringLiteral("Ω  ボイスコイルの直流抵抗 (テスターで測った値)"), 106, 75, inner - 94, 16);

    const int rows = 1 + kResonanceQuantityCount;
    auto* t = ui.valueTable = new QTableWidget(rows, 3, this);
    t->setObjectName(QStringLiteral("valueTable"));
    t->setHorizontalHeaderLabels(
        {QStringLiteral("測定カーブ"), QStringLiteral("リファレンス"), QStringLiteral("偏差 (%)")});
    QStringList labels{QStringLiteral("算出方法")};
    for (int i = 0; i < kResonanceQuantityCount; ++i)
        labels << Text(QuantityLabel(static_cast<ResonanceQuantity>(i)));
    t->setVerticalHeaderLabels(labels);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->verticalHeader()->setDefaultSectionSize(kRowHeight);
    t->verticalHeader()->setFixedWidth(kLabelColumn);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    for (int c = 0; c < 3; ++c)
        t->setColumnWidth(c, kValueColumn);
    const int tableHeight = kRowHeight + 2 + rows * kRowHeight + 2 * t->frameWidth();
    t->setGeometry(12, 100, kLabelColumn + 3 * kValueColumn + 2 * t->frameWidth(), tableHeight);

    int y = 100 + tableHeight + 8;
    ui.methodLabel = Label(this, QString(), 12, y, inner, 32, true);
    y += 36;
    ui.reNoteLabel = Label(this, QString(), 12, y, inner, 32, true);
    y += 36;
    ui.legendLabel = Label(this, QStringLiteral("* は参考値、— は値なし。理由は値にマウスを重ねると表示されます。"), 12,
                           y, inner, 16);
    y += 20;
    ui.systemNoteLabel = Label(this,
                               QStringLiteral("f0・Zmax・Q は治具や箱に取り付けた状態での系の共振の値で、"
                                              "単体ユニットのフリーエア・パラメータではありません。"),
                               12, y, inner, 32, true);
    y += 40;
    ui.closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    ui.closeButton->setObjectName(QStringLiteral("closeButton"));
    ui.closeButton->setGeometry(kWidth - 12 - 75, y, 75, 25);
    ui.closeButton->setAutoDefault(false);
    connect(ui.closeButton, &QPushButton::clicked, this, &QDialog::hide);
    setFixedSize(kWidth, y + 25 + 12);
}

void ResonanceDialog::ShowModeless()
{
    Refresh();
    // Beside the main window, so that the graph it explains stays in sight.
    if (parentWidget())
        ShowModelessBeside(*this, *parentWidget()->window());
    else
        ShowModelessCentred(*this);
}

void ResonanceDialog::Refresh()
{
    if (curves_.RefFilePath != refFile_) {
        refFile_ = curves_.RefFilePath;
        const std::optional<double> re = memory_.Get(refFile_);
        ui.reEdit->setText(re ? Text(ReText(*re)) : QString());
    }
    ShowTable();
}

std::optional<double> ResonanceDialog::CurrentRe() const
{
    return ParseReText(ui.reEdit->text().toStdString()).Value();
}

void ResonanceDialog::ReEdited()
{
    // Only what the user types is stored; showing a remembered Re is no edit.
    memory_.Set(refFile_, CurrentRe());
    ShowTable();
}

void ResonanceDialog::ShowTable()
{
    const ReEntry re = ParseReText(ui.reEdit->text().toStdString());
    table_ = BuildResonanceTable(MeasuredInput(curves_), ReferenceInput(curves_), re);

    ui.channelLabel->setText(QStringLiteral("チャンネル %1").arg(curves_.SelectedChannel + 1));
    ui.measuredNameLabel->setText(CurveCaption("測定カーブ", curves_.ImpLoaded, curves_.ImpLines, curves_.ImpFilePath));
    ui.referenceNameLabel->setText(
        CurveCaption("リファレンス", curves_.RefLoaded, curves_.RefLines, curves_.RefFilePath));
    SetCell(ui.valueTable, 0, 0, table_.measuredMethod);
    SetCell(ui.valueTable, 0, 1, table_.referenceMethod);
    SetCell(ui.valueTable, 0, 2, {"", CellState::kMissing, ""});
    for (int i = 0; i < kResonanceQuantityCount; ++i) {
        const ResonanceRow& row = table_.rows[i];
        SetCell(ui.valueTable, 1 + i, 0, row.measured);
        SetCell(ui.valueTable, 1 + i, 1, row.reference);
        SetCell(ui.valueTable, 1 + i, 2, row.deviation);
    }
    ui.methodLabel->setText(Text(table_.methodNote));
    ui.reNoteLabel->setText(Text(ReNote(re, !refFile_.empty())));
}

}  // namespace qlx
