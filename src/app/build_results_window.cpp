// The results window: captions, layout and initial states. Unlike the main
// window's pages it is laid out by layouts, so that the table grows with
// the window.
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/results_chart.h"
#include "app/results_choices.h"
#include "app/results_window_ui.h"

namespace qlx {

namespace {

constexpr int kRowHeight = 18;

QDateEdit* DateEdit(QWidget* parent, const QDate& date)
{
    auto* e = new QDateEdit(date, parent);
    e->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    e->setCalendarPopup(true);
    e->setEnabled(false);
    return e;
}

}  // namespace

ResultsWindowUi BuildResultsWindow(QWidget& window)
{
    ResultsWindowUi u;
    window.setWindowTitle(QStringLiteral("測定履歴"));
    auto* layout = new QVBoxLayout(&window);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("データベース:"), &window));
    u.SourceBox = new QComboBox(&window);
    u.SourceBox->addItem(QStringLiteral("このステーション"));
    u.SourceBox->addItem(QStringLiteral("ライン全体 (PostgreSQL)"));
    top->addWidget(u.SourceBox);
    top->addStretch();
    u.RefreshButton = new QPushButton(QStringLiteral("最新の表示(&U)"), &window);
    u.SettingsButton = new QPushButton(QStringLiteral("記録の設定(&O)..."), &window);
    top->addWidget(u.RefreshButton);
    top->addWidget(u.SettingsButton);
    layout->addLayout(top);

    auto* filters = new QGroupBox(QStringLiteral("絞り込み"), &window);
    auto* f = new QHBoxLayout(filters);
    u.PeriodCheck = new QCheckBox(QStringLiteral("期間(&P)"), filters);
    const QDate today = QDate::currentDate();
    u.FromDateEdit = DateEdit(filters, today.addDays(-7));
    u.ToDateEdit = DateEdit(filters, today);
    f->addWidget(u.PeriodCheck);
    f->addWidget(u.FromDateEdit);
    f->addWidget(new QLabel(QStringLiteral("～"), filters));
    f->addWidget(u.ToDateEdit);
    f->addSpacing(16);
    f->addWidget(new QLabel(QStringLiteral("リファレンス(&R):"), filters));
    u.ReferenceBox = new QComboBox(filters);
    u.ReferenceBox->addItem(QStringLiteral("すべて"));
    u.ReferenceBox->setMinimumContentsLength(14);
    f->addWidget(u.ReferenceBox);
    f->addSpacing(16);
    f->addWidget(new QLabel(QStringLiteral("判定(&J):"), filters));
    u.VerdictBox = new QComboBox(filters);
    for (const VerdictChoice& c : VerdictChoices())
        u.VerdictBox->addItem(c.caption);
    f->addWidget(u.VerdictBox);
    f->addStretch();
    layout->addWidget(filters);

    auto* yield = new QGroupBox(QStringLiteral("歩留まり"), &window);
    auto* y = new QGridLayout(yield);
    y->addWidget(new QLabel(QStringLiteral("表示中の記録:"), yield), 0, 0);
    u.YieldLabel = new QLabel(yield);
    y->addWidget(u.YieldLabel, 0, 1);
    u.SinceResetHeading = new QLabel(yield);
    y->addWidget(u.SinceResetHeading, 1, 0);
    u.SinceResetLabel = new QLabel(yield);
    y->addWidget(u.SinceResetLabel, 1, 1);
    u.ResetCounterButton = new QPushButton(QStringLiteral("カウンター・リセット(&C)..."), yield);
    y->addWidget(u.ResetCounterButton, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    y->setColumnStretch(1, 1);
    layout->addWidget(yield);

    u.Chart = new ResultsChart(&window);
    layout->addWidget(u.Chart);

    u.RecordTable = new QTableView(&window);
    u.RecordTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    u.RecordTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    u.RecordTable->setAlternatingRowColors(true);
    u.RecordTable->setWordWrap(false);
    // Fixed row heights: a million rows are laid out without asking a row
    // for its size.
    u.RecordTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    u.RecordTable->verticalHeader()->setDefaultSectionSize(kRowHeight);
    u.RecordTable->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(u.RecordTable, 1);

    auto* bottom = new QHBoxLayout;
    u.RecordCountLabel = new QLabel(&window);
    bottom->addWidget(u.RecordCountLabel);
    u.StatusLabel = new QLabel(&window);
    u.StatusLabel->setStyleSheet(QStringLiteral("color: #c00000"));
    bottom->addWidget(u.StatusLabel, 1);
    bottom->addWidget(new QLabel(QStringLiteral("文字コード:"), &window));
    u.CsvEncodingBox = new QComboBox(&window);
    u.CsvEncodingBox->addItem(QStringLiteral("Shift-JIS"));
    u.CsvEncodingBox->addItem(QStringLiteral("UTF-8"));
    bottom->addWidget(u.CsvEncodingBox);
    u.CsvExportButton = new QPushButton(QStringLiteral("CSV形式で保存(&S)..."), &window);
    bottom->addWidget(u.CsvExportButton);
    layout->addLayout(bottom);

    window.resize(980, 680);
    return u;
}

}  // namespace qlx
