// The download page: listings, sorting and downloads of the curves stored
// in the instrument.
#include "app/download_page.h"

#include <QAction>
#include <QDate>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

#include "app/settings.h"
#include "comm/instrument_session.h"
#include "model/sjis.h"

namespace qlx {

namespace {

QString Shown(const std::string& sjis) { return QString::fromStdString(SjisToUtf8(sjis)); }

// Replaces the rows of a list view and enables it with its selected-mode
// button.
void Fill(QTreeWidget* view, QPushButton* selectedButton, const std::vector<QStringList>& rows)
{
    view->clear();
    QList<QTreeWidgetItem*> items;
    for (const QStringList& texts : rows)
        items << new QTreeWidgetItem(texts);
    view->addTopLevelItems(items);
    view->setEnabled(true);
    selectedButton->setEnabled(true);
}

// Sorts the rows of a list view by a clicked column. The rows keep their
// items, so a selection moves with its rows.
void SortByColumn(QTreeWidget* view, ListSortState& state, int column)
{
    const int columns = view->columnCount();
    std::vector<QStringList> rows;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QStringList texts;
        for (int c = 0; c < columns; ++c)
            texts << view->topLevelItem(i)->text(c);
        texts << QString::number(i);  // where the row came from; past every compared column
        rows.push_back(texts);
    }
    state.Click(column, rows, ListCollator());

    // Taking the items out drops their selection: it is noted before and
    // given back after.
    std::vector<QTreeWidgetItem*> selected;
    for (QTreeWidgetItem* item : view->selectedItems())
        selected.push_back(item);
    QTreeWidgetItem* current = view->currentItem();
    const QList<QTreeWidgetItem*> items = view->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> sorted;
    for (const QStringList& texts : rows)
        sorted << items.at(texts.at(columns).toInt());
    view->addTopLevelItems(sorted);
    if (current)
        view->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* item : selected)
        item->setSelected(true);
}

// The numbers (captions) of the selected rows, in the order the list shows
// them.
std::vector<int> SelectedNumbers(const QTreeWidget* view)
{
    std::vector<int> numbers;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        if (view->topLevelItem(i)->isSelected())
            numbers.push_back(view->topLevelItem(i)->text(0).toInt());
    return numbers;
}

// The folder the user confirmed is remembered whatever the end of the run.
void Remember(std::string& folder, const DownloadRecord& record)
{
    if (!record.chosenFolder.empty())
        folder = record.chosenFolder;
}

// What a download needs besides the selection: the remembered folder, and
// today's date with the system's short date format for the run folder.
DownloadRequest Request(const std::string& rememberedFolder, std::optional<std::vector<int>> selection)
{
    const QDate today = QDate::currentDate();
    DownloadRequest request;
    request.rememberedFolder = rememberedFolder;
    request.selection = std::move(selection);
    request.today = {today.year(), today.month(), today.day()};
    request.shortDateFormat = QLocale::system().dateFormat(QLocale::ShortFormat).toStdString();
    return request;
}

}  // namespace

DownloadPage::DownloadPage(DownloadPageUi& page, MainMenus& menus, Settings& settings, InstrumentSession& instrument,
                           QObject* parent)
    : QObject(parent), page_(page), menus_(menus), settings_(settings), instrument_(instrument)
{
    connect(page.RefCurveListButton, &QPushButton::clicked, this, &DownloadPage::RefCurveListButtonClick);
    connect(page.AllRefNoDownLoadButton, &QPushButton::clicked, this,
            [this] { AllRefNoDownLoadButtonClick(page_.AllRefNoDownLoadButton); });
    connect(menus.RefDownloadMenu, &QAction::triggered, this,
            [this] { AllRefNoDownLoadButtonClick(menus_.RefDownloadMenu); });
    connect(page.ListSelRefNoDownLoadButton, &QPushButton::clicked, this,
            &DownloadPage::ListSelRefNoDownLoadButtonClick);
    connect(page.RefCurveListView->header(), &QHeaderView::sectionClicked, this,
            &DownloadPage::RefCurveListViewColumnClick);

    connect(page.ImpCurveListButton, &QPushButton::clicked, this, &DownloadPage::ImpCurveListButtonClick);
    connect(page.AllImpDownLoadButton, &QPushButton::clicked, this,
            [this] { AllImpDownLoadButtonClick(page_.AllImpDownLoadButton); });
    connect(menus.ImpDownloadMenu, &QAction::triggered, this,
            [this] { AllImpDownLoadButtonClick(menus_.ImpDownloadMenu); });
    connect(page.ListSelImpDownLoadButton, &QPushButton::clicked, this, &DownloadPage::ListSelImpDownLoadButtonClick);
    connect(page.ImpCurveListView->header(), &QHeaderView::sectionClicked, this,
            &DownloadPage::ImpCurveListViewColumnClick);
}

// ---- references ----------------------------------------------------------------

void DownloadPage::RefCurveListButtonClick()
{
    if (!page_.RefCurveListButton->hasFocus())
        return;
    instrument_.ComPortName = settings_.ComPortName;
    OpResult<RefNames> names = ListReferences(instrument_);
    if (!names)
        return;
    refNames_ = std::move(names).value();
    ShowRefList();
}

void DownloadPage::ShowRefList()
{
    std::vector<QStringList> rows;
    for (int n = 1; n <= kStoredCurveSlots; ++n)
        rows.push_back({QString::number(n), Shown(refNames_[static_cast<size_t>(n - 1)])});
    Fill(page_.RefCurveListView, page_.ListSelRefNoDownLoadButton, rows);
}

void DownloadPage::AllRefNoDownLoadButtonClick(QObject* sender)
{
    if (sender != menus_.RefDownloadMenu && !page_.AllRefNoDownLoadButton->hasFocus())
        return;
    DownloadRefs(std::nullopt);
}

void DownloadPage::ListSelRefNoDownLoadButtonClick()
{
    if (!page_.ListSelRefNoDownLoadButton->hasFocus())
        return;
    std::vector<int> numbers = SelectedNumbers(page_.RefCurveListView);
    if (numbers.empty())
        return;
    // A run refused because another operation holds the line leaves the
    // selection for the next try.
    if (DownloadRefs(std::move(numbers)) != Outcome::Busy)
        page_.RefCurveListView->clearSelection();
}

void DownloadPage::RefCurveListViewColumnClick(int column) { SortByColumn(page_.RefCurveListView, refSort_, column); }

Outcome DownloadPage::DownloadRefs(std::optional<std::vector<int>> selection)
{
    instrument_.ComPortName = settings_.ComPortName;
    DownloadRecord record;
    // Every end was shown to the user already; what stays is the folder.
    const OpResult<> r =
        DownloadReferences(instrument_, Request(settings_.RefDownloadDir, std::move(selection)), record);
    Remember(settings_.RefDownloadDir, record);
    return r.outcome();
}

// ---- measured curves -------------------------------------------------------------

void DownloadPage::ImpCurveListButtonClick()
{
    if (!page_.ImpCurveListButton->hasFocus())
        return;
    instrument_.ComPortName = settings_.ComPortName;
    OpResult<ImpEntries> entries = ListMeasured(instrument_);
    if (!entries)
        return;
    impEntries_ = std::move(entries).value();
    ShowImpList();
}

void DownloadPage::ShowImpList()
{
    std::vector<QStringList> rows;
    for (int n = 1; n <= kStoredCurveSlots; ++n) {
        const auto e = static_cast<size_t>(ImpRowStampEntry(n));
        rows.push_back({QString::number(n), Shown(StampDateText(impEntries_[e])), Shown(impEntries_[e + 1])});
    }
    Fill(page_.ImpCurveListView, page_.ListSelImpDownLoadButton, rows);
}

void DownloadPage::AllImpDownLoadButtonClick(QObject* sender)
{
    if (sender != menus_.ImpDownloadMenu && !page_.AllImpDownLoadButton->hasFocus())
        return;
    DownloadImps(std::nullopt);
}

void DownloadPage::ListSelImpDownLoadButtonClick()
{
    if (!page_.ListSelImpDownLoadButton->hasFocus())
        return;
    std::vector<int> rows = SelectedNumbers(page_.ImpCurveListView);
    if (rows.empty())
        return;
    if (DownloadImps(std::move(rows)) != Outcome::Busy)
        page_.ImpCurveListView->clearSelection();
}

void DownloadPage::ImpCurveListViewColumnClick(int column) { SortByColumn(page_.ImpCurveListView, impSort_, column); }

Outcome DownloadPage::DownloadImps(std::optional<std::vector<int>> selection)
{
    instrument_.ComPortName = settings_.ComPortName;
    DownloadRecord record;
    const OpResult<> r = DownloadMeasured(instrument_, Request(settings_.ImpDownloadDir, std::move(selection)), record);
    Remember(settings_.ImpDownloadDir, record);
    return r.outcome();
}

}  // namespace qlx
