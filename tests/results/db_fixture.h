#pragma once

#include <gtest/gtest.h>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <string>

#include "results/sql_connection.h"
#include "support/temp_dir.h"

namespace qlx::test {

// A connection of the test's own on a results file, to look at what the
// program wrote without going through it.
class RawSqlite {
public:
    explicit RawSqlite(const std::string& path) : connection_(QStringLiteral("QSQLITE"))
    {
        connection_.db().setDatabaseName(QString::fromStdString(path));
        connection_.db().setConnectOptions("QSQLITE_BUSY_TIMEOUT=2000");
        EXPECT_TRUE(connection_.db().open()) << connection_.db().lastError().text().toStdString();
    }
    QSqlDatabase db() const { return connection_.db(); }

    // The single value a query gives; an invalid QVariant when it fails.
    QVariant Value(const QString& sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql) || !q.next())
            return {};
        return q.value(0);
    }
    // Executes a statement; the error text, "" on success.
    std::string Exec(const QString& sql) const
    {
        QSqlQuery q(db());
        return q.exec(sql) ? std::string() : q.lastError().text().toStdString();
    }

private:
    SqlConnection connection_;
};

}  // namespace qlx::test
