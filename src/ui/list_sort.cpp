#include "ui/list_sort.h"

#include <algorithm>

namespace qlx {

namespace {

QString TextAt(const QStringList& row, int column)
{
    return column < row.size() ? row.at(column) : QStringLiteral(" ");
}

}  // namespace

QCollator ListCollator(const QLocale& locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

int CompareListRows(const QStringList& a, const QStringList& b, int column, bool flag, const QCollator& collator)
{
    int order = 0;
    if (column == 0) {
        const int x = TextAt(a, 0).toInt();
        const int y = TextAt(b, 0).toInt();
        order = x < y ? -1 : x > y ? 1 : 0;
    } else {
        const int c = collator.compare(TextAt(a, column), TextAt(b, column));
        order = c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    return flag ? order : -order;
}

void ListSortState::Click(int column, std::vector<QStringList>& rows, const QCollator& collator)
{
    column_ = column;
    const bool f = flag(column);
    std::stable_sort(rows.begin(), rows.end(), [&](const QStringList& a, const QStringList& b) {
        return CompareListRows(a, b, column, f, collator) < 0;
    });
    flags_.at(static_cast<size_t>(column)) = !f;
}

}  // namespace qlx
