#pragma once

// The database a test runs on: SQLite in a temporary folder, or, when ZIFFERIX_TEST_POSTGRES
// names one (with_postgres.sh), that PostgreSQL emptied before each test.

#include "Database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace zifferix::service::testing {

inline bool onPostgres() {
    const char* url = std::getenv("ZIFFERIX_TEST_POSTGRES");
    return url && *url;
}

class TestDatabase {
  public:
    TestDatabase() {
        std::string error;
        const char* url = std::getenv("ZIFFERIX_TEST_POSTGRES");
        target_ = *targetFor(onPostgres() ? url : "", dir_.path().toStdString(), error);
        if (onPostgres()) {
            run({"SET client_min_messages = warning",
                 "DROP TABLE IF EXISTS misses, tallies, problems, results, children, classes,"
                 " schema_version"});
        }
    }

    const Target& target() const { return target_; }

    // Statements on a connection of its own, beside the service's: to build an older schema
    // or to look at what is stored.
    void run(const std::vector<std::string>& statements) const {
        beside([&](QSqlQuery& query) {
            for (const std::string& statement : statements) {
                query.exec(QString::fromStdString(statement));
            }
        });
    }

    // The first column of a query's first row as a number; -1 if it has none.
    long long count(const std::string& sql) const {
        long long value = -1;
        beside([&](QSqlQuery& query) {
            if (query.exec(QString::fromStdString(sql)) && query.next()) {
                value = query.value(0).toLongLong();
            }
        });
        return value;
    }

  private:
    template <typename Work> void beside(Work work) const {
        const QString name = QStringLiteral("test-beside");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(target_.driver, name);
            db.setDatabaseName(target_.name);
            db.setHostName(target_.host);
            db.setPort(target_.port);
            db.setUserName(target_.user);
            db.open();
            QSqlQuery query(db);
            work(query);
        }
        QSqlDatabase::removeDatabase(name);
    }

    QTemporaryDir dir_;
    Target target_;
};

} // namespace zifferix::service::testing
