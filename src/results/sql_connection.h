#pragma once

#include <QSqlDatabase>
#include <QString>

namespace qlx {

// A Qt SQL connection under a name of its own, closed and removed when the
// object goes. Qt ties a connection to the thread that made it: each thread
// makes and uses its own. Queries on it must be gone before it is.
class SqlConnection {
public:
    explicit SqlConnection(const QString& driver);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }
    const QString& name() const { return name_; }

private:
    QString name_;
};

}  // namespace qlx
