#include "results/sql_connection.h"

#include <atomic>

namespace qlx {

namespace {
std::atomic<int> connectionCount{0};
}

SqlConnection::SqlConnection(const QString& driver)
    : name_(QStringLiteral("qlx-results-%1").arg(connectionCount.fetch_add(1)))
{
    QSqlDatabase::addDatabase(driver, name_);
}

SqlConnection::~SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

}  // namespace qlx
