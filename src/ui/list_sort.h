#pragma once

#include <QCollator>
#include <QLocale>
#include <QStringList>
#include <vector>

namespace qlx {

// Sorting of the download page's list views (references: "No.", "カーブ名";
// measured curves: "No.", "測定日時", "カーブ名"), over rows of the texts
// they show: item 0 the caption, then the sub-items.

// The text compare of columns 1 and up: case-insensitive, in the locale's
// order.
QCollator ListCollator(const QLocale& locale = QLocale::system());

// < 0 when row a comes before row b. Column 0 compares the captions as
// integers (a text that is no number counts as 0), the larger number first
// when `flag` is false, last when it is true. Other columns compare with the
// collator (a missing sub-item counts as " "), descending when `flag` is
// false, ascending when it is true.
int CompareListRows(const QStringList& a, const QStringList& b, int column, bool flag, const QCollator& collator);

// The sort state of one list view: the column last clicked (0 at first)
// and one direction flag per column (all false at first).
class ListSortState {
public:
    explicit ListSortState(int columns) : flags_(static_cast<size_t>(columns), false) {}

    int column() const { return column_; }
    bool flag(int column) const { return flags_.at(static_cast<size_t>(column)); }

    // A click on a column header: sorts the rows by that column with its
    // flag, then flips the flag, so the first click on a column sorts
    // descending and the next ascending. Rows that compare equal keep their
    // order.
    void Click(int column, std::vector<QStringList>& rows, const QCollator& collator);

private:
    int column_ = 0;
    std::vector<bool> flags_;
};

}  // namespace qlx
