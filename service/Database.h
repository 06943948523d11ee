#pragma once

// One database behind Qt SQL: SQLite in the state folder or PostgreSQL by its URL, one schema
// and one code path. Each thread has its own connection (Qt's rule) with its statements
// prepared once.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zifferix::service {

struct DatabaseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Target {
    QString driver; // QSQLITE or QPSQL
    QString name;   // the file or the database
    QString host;   // a host or a socket's folder
    int port = -1;
    QString user;
    QString password;
    QString options; // libpq's keywords, "k=v;k=v"
};

// The database a --database URL names; an empty URL is SQLite in the state folder.
std::optional<Target> targetFor(const std::string& url, const std::string& stateDir,
                                std::string& error);

using Row = std::vector<QVariant>;

class Database {
  public:
    static constexpr int kSchemaVersion = 2;

    // Opens the database and brings its schema to the current version; throws DatabaseError.
    explicit Database(Target target);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool isSqlite() const { return target_.driver == QLatin1String("QSQLITE"); }
    int schemaVersion();

    // A statement with `?` placeholders: its rows, or how many rows it changed.
    std::vector<Row> rows(const std::string& sql, const std::vector<QVariant>& values = {});
    int change(const std::string& sql, const std::vector<QVariant>& values = {});

    // Runs `work` in one transaction: committed when it returns, rolled back when it throws.
    // SQLite takes one writer at a time; this process's writers queue here, not in SQLite's
    // busy loop.
    void transaction(const std::function<void()>& work);

    // After deletions: SQLite's log folded into its file, so nothing deleted stays in the log.
    void checkpoint();

    struct Connection; // a thread's own, with its prepared statements

  private:
    Connection& connection();
    // The statement prepared once for this connection, bound and run; what failed names it.
    QSqlQuery& execute(const std::string& sql, const std::vector<QVariant>& values,
                       const char* what);
    void migrate();
    void define(const char* sql);

    Target target_;
    std::string id_;
    std::mutex writers_;
};

} // namespace zifferix::service
