#pragma once
// One value read from an SQLite file through a connection of its own.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace quorvane::test {

// Invalid when the file or the query cannot be read.
inline QVariant SqliteValue(const QString& path, const QString& sql) {
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "sqlite-check");
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(sql) && query.next()) value = query.value(0);
    }
    QSqlDatabase::removeDatabase("sqlite-check");
    return value;
}

// A count read that way, -1 when it cannot be read.
inline qint64 SqliteCount(const QString& path, const QString& sql) {
    const QVariant value = SqliteValue(path, sql);
    return value.isValid() ? value.toLongLong() : -1;
}

}  // namespace quorvane::test
