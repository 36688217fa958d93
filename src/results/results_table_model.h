#pragma once

#include <QAbstractTableModel>
#include <QSqlDatabase>

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "results/result_filter.h"

namespace qlx {

// The records a filter selects, newest first, for a table view. Only the
// count is asked at once; rows are fetched a page at a time as the view
// shows them, so a million records open as fast as a hundred. The rows are
// those in the database at the last SetFilter or Refresh.
class ResultsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        TimeColumn,
        StationColumn,
        OperatorColumn,
        ReferenceColumn,
        TerminalColumn,
        ChannelColumn,
        VerdictColumn,
        DeviationColumn,
        DeviationHzColumn,
        F0Column,
        QtsColumn,
        ColumnCount
    };
    static constexpr int kUuidRole = Qt::UserRole;         // the record's uuid
    static constexpr int kVerdictRole = Qt::UserRole + 1;  // stored verdict, or the outcome of a run without one
    static constexpr int kPageRows = 256;
    static constexpr std::size_t kCachedPages = 16;

    // `db` is an open connection on the station's file or the line database,
    // of the thread the model lives in.
    explicit ResultsTableModel(QSqlDatabase db, QObject* parent = nullptr);

    // Shows the records the filter selects. False (and an empty table) when
    // the database cannot be read; lastError() says why.
    bool SetFilter(const ResultFilter& filter);
    // Takes in the records written since.
    bool Refresh();
    const std::string& lastError() const { return lastError_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        QString uuid;
        QString time;
        QString station;
        QString operatorName;
        QString reference;
        QString terminal;
        QVariant channel;
        QString verdict;  // as shown
        QString verdictKey;
        QVariant deviation;
        QVariant deviationHz;
        QVariant f0;
        QVariant qts;
    };

    const Row* RowAt(int row) const;
    bool LoadPage(int page) const;

    QSqlDatabase db_;
    ResultFilter filter_;
    std::int64_t upToId_ = 0;  // the rows are records with ids up to this
    int count_ = 0;
    mutable std::map<int, std::vector<Row>> pages_;
    mutable std::list<int> recentPages_;  // most recently used first
    mutable std::string lastError_;
};

// What the table shows for a stored verdict or a run without one.
QString VerdictCaption(const QString& verdictOrOutcome);

}  // namespace qlx
