// Page 2, "アップロード": the upload of the open reference curve and the
// reference list grid with its buttons.
#include <QHeaderView>
#include <QTabWidget>
#include <QTableWidget>

#include "app/builder_widgets.h"
#include "app/window_builder_parts.h"

namespace qlx::build {

namespace {

void BuildRefListGrid(QWidget* group, UploadPageUi& u)
{
    QTableWidget* grid = u.RefListStringGrid = Place(new QTableWidget(64, 3, group), 14, 150, 798, 380);
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("カーブ名"), QStringLiteral("ファイル名"), QStringLiteral("ファイルの場所")});
    grid->setCornerButtonEnabled(false);
    QStringList rows;
    for (int r = 1; r <= 64; ++r)
        rows << QString::number(r);
    grid->setVerticalHeaderLabels(rows);
    // The style's minimum would otherwise make the rows taller than 15.
    grid->verticalHeader()->setMinimumSectionSize(15);
    grid->verticalHeader()->setDefaultSectionSize(15);
    grid->verticalHeader()->setFixedWidth(25);
    grid->horizontalHeader()->setFixedHeight(17);
    // The heading of the row-number column sits in the grid's corner.
    const int frame = grid->frameWidth();
    QLabel* numberHeading = Caption(grid, QStringLiteral("No."), frame, frame, 25, 17);
    numberHeading->setAlignment(Qt::AlignCenter);
    grid->setColumnWidth(0, 133);
    grid->setColumnWidth(1, 229);
    grid->setColumnWidth(2, 655);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 3; ++c)
            grid->setItem(r, c, new QTableWidgetItem);
}

}  // namespace

void BuildUploadPage(QTabWidget* pages, UploadPageUi& u)
{
    u.UploadPage = new QWidget;
    pages->addTab(u.UploadPage, QStringLiteral("アップロード"));
    QWidget* p = u.UploadPage;

    QGroupBox* group = Group(p, QStringLiteral("リファレンス・カーブ"), 8, 8, 826, 580);
    Caption(group, QStringLiteral("開いているリファレンス・カーブをアップロード"), 14, 26, 300);
    Caption(group, QStringLiteral("リファレンスNo. "), 30, 54, 90);
    u.UploadRefNoLabeledEdit = Place(new QLineEdit(QStringLiteral("1"), group), 122, 52, 40, 20);
    u.UploadRefNoUpDown = Spinner(group, Qt::Vertical, 164, 52, 16, 20, 1, 64, 1);
    u.OpenRefCurveUploadButton = Button(group, QStringLiteral("OK"), 200, 50, 80, 24);
    u.OpenRefCurveUploadButton->setEnabled(false);

    Caption(group, QStringLiteral("リファレンス・リストを使用してアップロード"), 14, 94, 300);
    Caption(group, QStringLiteral("リファレンス・リスト・ファイル名"), 30, 122, 170);
    u.RefListFileNameEdit = ReadOnlyEdit(group, 204, 120, 250);
    u.NewRefListButton =
        IconButton(group, QStyle::SP_FileIcon, QStringLiteral("リファレンス・リストを新規作成"), 470, 119);
    u.RefListSaveButton =
        IconButton(group, QStyle::SP_DialogSaveButton, QStringLiteral("リファレンス・リストを保存"), 496, 119);
    u.RefListOpenButton =
        IconButton(group, QStyle::SP_DialogOpenButton, QStringLiteral("リファレンス・リストを開く"), 522, 119);
    // A click on these buttons must give them the focus, which their
    // handlers check.
    for (QToolButton* b : {u.NewRefListButton, u.RefListSaveButton, u.RefListOpenButton})
        b->setFocusPolicy(Qt::StrongFocus);
    BuildRefListGrid(group, u);

    u.RefListRowInsertButton = Button(group, QStringLiteral("行挿入"), 14, 540, 80, 26);
    u.RefListRowDeleteButton = Button(group, QStringLiteral("行削除"), 100, 540, 80, 26);
    u.RefListUploadButton = Button(group, QStringLiteral("OK"), 732, 540, 80, 26);
}

}  // namespace qlx::build
