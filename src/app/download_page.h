#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "app/window_ui.h"
#include "comm/download_lists.h"
#include "comm/downloads.h"
#include "ui/list_sort.h"

namespace qlx {

class InstrumentSession;
struct Settings;

// The download page: the listings of the instrument's reference and
// measured curves in the two list views, sorting them by a column, and the
// downloads of everything or of the selected rows into dated folders. The
// remembered folders (RefDownloadDir, ImpDownloadDir) live in the window's
// settings; the operations run on the window's instrument session.
class DownloadPage : public QObject {
    Q_OBJECT
public:
    DownloadPage(DownloadPageUi& page, MainMenus& menus, Settings& settings, InstrumentSession& instrument,
                 QObject* parent);

    // Every handler acts only while its button holds the focus; the two
    // download-all handlers also when `sender` is their menu item.

    // References: list, download all, download the selected rows, sort.
    void RefCurveListButtonClick();
    void AllRefNoDownLoadButtonClick(QObject* sender);
    void ListSelRefNoDownLoadButtonClick();
    void RefCurveListViewColumnClick(int column);

    // Measured curves: the same four.
    void ImpCurveListButtonClick();
    void AllImpDownLoadButtonClick(QObject* sender);
    void ListSelImpDownLoadButtonClick();
    void ImpCurveListViewColumnClick(int column);

private:
    void ShowRefList();
    void ShowImpList();
    Outcome DownloadRefs(std::optional<std::vector<int>> selection);
    Outcome DownloadImps(std::optional<std::vector<int>> selection);

    DownloadPageUi& page_;
    MainMenus& menus_;
    Settings& settings_;
    InstrumentSession& instrument_;
    // The lists as last read completely; a failed or cancelled listing
    // leaves them (and the views) as they were.
    RefNames refNames_{};
    ImpEntries impEntries_{};
    ListSortState refSort_{2};
    ListSortState impSort_{3};
};

}  // namespace qlx
