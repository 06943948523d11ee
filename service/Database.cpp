#include "Database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

#include <array>
#include <atomic>
#include <unordered_map>

namespace zifferix::service {
namespace {

// Each version's statements, in order; a fresh database runs them all. Types both databases
// know; booleans are 0 and 1, times seconds since 1970 (UTC).
constexpr std::array<const char*, 5> kVersion1{
    "CREATE TABLE classes (id TEXT PRIMARY KEY, name TEXT NOT NULL, secret_hash TEXT NOT NULL,"
    " created BIGINT NOT NULL, expires BIGINT NOT NULL)",
    "CREATE TABLE children (class_id TEXT NOT NULL REFERENCES classes(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL, pos INTEGER NOT NULL, PRIMARY KEY (class_id, name))",
    "CREATE TABLE results (id TEXT PRIMARY KEY,"
    " class_id TEXT NOT NULL REFERENCES classes(id) ON DELETE CASCADE, child TEXT NOT NULL,"
    " game TEXT NOT NULL, level INTEGER NOT NULL, points BIGINT NOT NULL, outcome TEXT NOT NULL,"
    " in_row INTEGER NOT NULL, seconds DOUBLE PRECISION NOT NULL, received BIGINT NOT NULL)",
    "CREATE TABLE problems (result_id TEXT NOT NULL REFERENCES results(id) ON DELETE CASCADE,"
    " pos INTEGER NOT NULL, problem TEXT NOT NULL, answer TEXT NOT NULL,"
    " correct INTEGER NOT NULL, PRIMARY KEY (result_id, pos))",
    "CREATE INDEX classes_expires ON classes (expires)",
};
// The board's counter of changes, each problem's time, and the board's sums kept as results come
// in (what each child did in each game; which problems each child missed), so the board reads a
// few rows however many results a class has.
constexpr std::array<const char*, 7> kVersion2{
    "ALTER TABLE classes ADD COLUMN stand BIGINT NOT NULL DEFAULT 0",
    "ALTER TABLE problems ADD COLUMN seconds DOUBLE PRECISION NOT NULL DEFAULT 0",
    "CREATE INDEX results_class_child ON results (class_id, child, received)",
    "CREATE TABLE tallies (class_id TEXT NOT NULL REFERENCES classes(id) ON DELETE CASCADE,"
    " child TEXT NOT NULL, game TEXT NOT NULL, best BIGINT, played BIGINT NOT NULL,"
    " won BIGINT NOT NULL, last BIGINT NOT NULL, PRIMARY KEY (class_id, child, game))",
    "CREATE TABLE misses (class_id TEXT NOT NULL REFERENCES classes(id) ON DELETE CASCADE,"
    " problem TEXT NOT NULL, child TEXT NOT NULL, wrong BIGINT NOT NULL,"
    " PRIMARY KEY (class_id, problem, child))",
    "INSERT INTO tallies (class_id, child, game, best, played, won, last)"
    " SELECT class_id, child, game, MAX(CASE WHEN outcome = 'gewonnen' THEN points END), COUNT(*),"
    " SUM(CASE WHEN outcome = 'gewonnen' THEN 1 ELSE 0 END), MAX(received) FROM results"
    " GROUP BY class_id, child, game",
    "INSERT INTO misses (class_id, problem, child, wrong)"
    " SELECT r.class_id, p.problem, r.child, COUNT(*) FROM problems p"
    " JOIN results r ON r.id = p.result_id WHERE p.correct = 0"
    " GROUP BY r.class_id, p.problem, r.child",
};
struct Migration {
    const char* const* statements;
    std::size_t count;
};
constexpr std::array<Migration, Database::kSchemaVersion> kMigrations{{
    {kVersion1.data(), kVersion1.size()},
    {kVersion2.data(), kVersion2.size()},
}};

std::atomic<unsigned> nextDatabase{0};

[[noreturn]] void fail(const char* what, const QSqlError& error) {
    // The driver's code only: a message may quote the values of a row.
    throw DatabaseError(std::string(what) + " (" + error.nativeErrorCode().toStdString() + ")");
}

} // namespace

std::optional<Target> targetFor(const std::string& url, const std::string& stateDir,
                                std::string& error) {
    if (url.empty()) {
        Target target;
        target.driver = QStringLiteral("QSQLITE");
        target.name =
            QDir(QString::fromStdString(stateDir)).filePath(QStringLiteral("klassen.sqlite"));
        return target;
    }
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    if (!parsed.isValid() || (parsed.scheme() != QLatin1String("postgresql") &&
                              parsed.scheme() != QLatin1String("postgres"))) {
        error = "the database URL must begin with postgresql://";
        return std::nullopt;
    }
    Target target;
    target.driver = QStringLiteral("QPSQL");
    target.name = parsed.path().mid(1);
    target.host = parsed.host();
    target.port = parsed.port();
    target.user = parsed.userName();
    target.password = parsed.password();
    QStringList options;
    for (const auto& [key, value] : QUrlQuery(parsed).queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host")) {
            target.host = value;
        } else if (key == QLatin1String("port")) {
            target.port = value.toInt();
        } else if (key == QLatin1String("user")) {
            target.user = value;
        } else if (key == QLatin1String("password")) {
            target.password = value;
        } else {
            options << key + QLatin1Char('=') + value;
        }
    }
    target.options = options.join(QLatin1Char(';'));
    if (target.name.isEmpty()) {
        error = "the database URL names no database";
        return std::nullopt;
    }
    return target;
}

struct Database::Connection {
    QString name;
    std::unordered_map<std::string, QSqlQuery> statements;

    explicit Connection(QString connectionName) : name(std::move(connectionName)) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() {
        statements.clear();
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    QSqlQuery& statement(const std::string& sql) {
        auto found = statements.find(sql);
        if (found == statements.end()) {
            QSqlQuery query(QSqlDatabase::database(name, false));
            query.setForwardOnly(true);
            if (!query.prepare(QString::fromStdString(sql))) {
                fail("cannot prepare a statement", query.lastError());
            }
            found = statements.emplace(sql, std::move(query)).first;
        }
        return found->second;
    }
};

namespace {
// This thread's connections, by database.
thread_local std::unordered_map<std::string, std::unique_ptr<Database::Connection>> connections;
} // namespace

Database::Database(Target target)
    : target_(std::move(target)), id_("zifferix-" + std::to_string(nextDatabase++)) {
    if (isSqlite()) {
        QDir().mkpath(QFileInfo(target_.name).absolutePath());
    }
    migrate();
    // The service's own threads use the database from here on.
    connections.erase(id_);
}

Database::~Database() {
    connections.erase(id_);
}

Database::Connection& Database::connection() {
    auto found = connections.find(id_);
    if (found != connections.end()) {
        return *found->second;
    }
    static std::atomic<unsigned> nextConnection{0};
    const QString name = QString::fromStdString(id_ + "-" + std::to_string(nextConnection++));
    auto held = std::make_unique<Connection>(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(target_.driver, name);
    db.setDatabaseName(target_.name);
    if (isSqlite()) {
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else {
        db.setHostName(target_.host);
        db.setPort(target_.port);
        db.setUserName(target_.user);
        db.setPassword(target_.password);
        db.setConnectOptions(target_.options);
    }
    if (!db.open()) {
        throw DatabaseError("cannot open the database: " + db.lastError().text().toStdString());
    }
    if (isSqlite()) {
        QSqlQuery pragma(db);
        for (const char* setting :
             {"PRAGMA journal_mode=WAL", "PRAGMA foreign_keys=ON", "PRAGMA secure_delete=ON",
              "PRAGMA synchronous=NORMAL", "PRAGMA journal_size_limit=67108864",
              "PRAGMA cache_size=-8192"}) {
            if (!pragma.exec(QString::fromLatin1(setting))) {
                fail("cannot set up SQLite", pragma.lastError());
            }
            pragma.finish();
        }
    }
    return *connections.emplace(id_, std::move(held)).first->second;
}

QSqlQuery& Database::execute(const std::string& sql, const std::vector<QVariant>& values,
                             const char* what) {
    QSqlQuery& query = connection().statement(sql);
    for (std::size_t i = 0; i < values.size(); ++i) {
        query.bindValue(static_cast<int>(i), values[i]);
    }
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        fail(what, error);
    }
    return query;
}

std::vector<Row> Database::rows(const std::string& sql, const std::vector<QVariant>& values) {
    QSqlQuery& query = execute(sql, values, "a query failed");
    std::vector<Row> result;
    const int columns = query.record().count();
    while (query.next()) {
        Row& row = result.emplace_back();
        row.reserve(static_cast<std::size_t>(columns));
        for (int column = 0; column < columns; ++column) {
            row.push_back(query.value(column));
        }
    }
    query.finish();
    return result;
}

int Database::change(const std::string& sql, const std::vector<QVariant>& values) {
    QSqlQuery& query = execute(sql, values, "a change failed");
    const int changed = query.numRowsAffected();
    query.finish();
    return changed;
}

void Database::transaction(const std::function<void()>& work) {
    std::unique_lock<std::mutex> writer(writers_, std::defer_lock);
    if (isSqlite()) {
        writer.lock();
    }
    QSqlDatabase db = QSqlDatabase::database(connection().name, false);
    if (!db.transaction()) {
        fail("cannot begin a transaction", db.lastError());
    }
    try {
        work();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        fail("cannot commit", error);
    }
}

void Database::checkpoint() {
    if (isSqlite()) {
        rows("PRAGMA wal_checkpoint(TRUNCATE)");
    }
}

// Unprepared: PostgreSQL prepares no CREATE or ALTER.
void Database::define(const char* sql) {
    QSqlQuery query(QSqlDatabase::database(connection().name, false));
    if (!query.exec(QString::fromLatin1(sql))) {
        fail("cannot define the schema", query.lastError());
    }
}

int Database::schemaVersion() {
    const auto found = rows("SELECT version FROM schema_version");
    return found.empty() ? 0 : found.front().front().toInt();
}

// In one transaction, so an older file is either upgraded or left as it was. Several services
// on one PostgreSQL wait for each other here.
void Database::migrate() {
    transaction([&] {
        if (!isSqlite()) {
            rows("SELECT pg_advisory_xact_lock(7316001)");
        }
        define("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
        const int version = schemaVersion();
        if (version > kSchemaVersion) {
            throw DatabaseError("the database is of a newer version (" + std::to_string(version) +
                                ") than this service knows");
        }
        for (int next = version + 1; next <= kSchemaVersion; ++next) {
            const Migration& migration = kMigrations[static_cast<std::size_t>(next - 1)];
            for (std::size_t i = 0; i < migration.count; ++i) {
                define(migration.statements[i]);
            }
        }
        if (version == 0) {
            change("INSERT INTO schema_version (version) VALUES (?)", {kSchemaVersion});
        } else if (version < kSchemaVersion) {
            change("UPDATE schema_version SET version = ?", {kSchemaVersion});
        }
    });
}

} // namespace zifferix::service
