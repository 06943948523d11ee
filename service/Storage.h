#pragma once

// The class rules over the database: who may read what, exactly-once results, the board's
// sums, deletion. Times are seconds since 1970 (UTC), handed in, so tests choose them.

#include "Database.h"
#include "Pool.h"
#include "Records.h"
#include "Writer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zifferix::service {

class Storage {
  public:
    explicit Storage(Target target);

    Database& database() { return db_; }

    OpenedClass openClass(const ClassBody& body, int days, long long now);

    // What a child's page sees; nothing once the class has expired.
    std::optional<PublicClass> publicClass(const std::string& id, long long now);

    Added addResult(const std::string& classId, const ResultBody& result, long long now);

    // The class if it is open and the secret is its teacher's; a wrong secret and no class are
    // one answer.
    std::optional<ClassHead> teacherClass(const std::string& id, const std::string& secret,
                                          long long now);

    // The counter the board's ETag is; nothing for a class that is not there.
    std::optional<long long> stand(const std::string& id);

    Board board(const std::string& id, const ClassHead& head);
    std::vector<StoredResult> results(const std::string& id);
    std::vector<StoredResult> results(const std::string& id, const std::string& child);

    void deleteChild(const std::string& id, const std::string& child);
    void deleteClass(const std::string& id);

    // Deletes every class past its time with all it holds; how many went.
    int purge(long long now);

  private:
    // One result, inside a transaction the caller holds.
    Added store(const std::string& classId, const ResultBody& result, long long now);
    std::vector<StoredResult> gamesWhere(const std::string& condition,
                                         const std::vector<QVariant>& values);

    // The database is used by a few threads of its own, whatever the number of connections
    // the HTTP server has open: PostgreSQL sees that many connections from each service.
    static constexpr std::size_t kDatabaseThreads = 8;

    Database db_;
    std::unique_ptr<Writer> writer_; // SQLite's one writer; PostgreSQL writes from every thread
    Pool pool_{kDatabaseThreads, 4096};
};

} // namespace zifferix::service
