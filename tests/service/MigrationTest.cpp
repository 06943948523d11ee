// An older database is upgraded in place and keeps what it holds.

#include "Storage.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace zifferix::service {
namespace {

constexpr long long kNow = 1'800'000'000;

// A database as version 1 of the service left it: no board counter, no seconds per problem.
const std::vector<std::string> kVersion1 = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "INSERT INTO schema_version (version) VALUES (1)",
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
    // The secret "alt" (its SHA-256), a class open until 2027-03-10.
    "INSERT INTO classes VALUES ('altealteklas', '4a Mittwoch',"
    " '4d48fba6cf5f7d6abfb35e695f453297870a7a56568ceae968f06d04701b0047', 1790000000,"
    " 1810000000)",
    "INSERT INTO children VALUES ('altealteklas', 'Emil', 0)",
    "INSERT INTO results VALUES ('1234abcd-0000-4000-8000-000000000001', 'altealteklas', 'Emil',"
    " 'uhr', 1, 95, 'gewonnen', 0, 30.5, 1799990000)",
    "INSERT INTO problems VALUES ('1234abcd-0000-4000-8000-000000000001', 0, '7 mal 8', '54', 0)",
};

TEST(MigrationTest, AVersion1DatabaseIsUpgradedAndKeepsItsData) {
    testing::TestDatabase db;
    db.run(kVersion1);
    ASSERT_EQ(db.count("SELECT COUNT(*) FROM results"), 1);
    Storage storage(db.target());
    EXPECT_EQ(storage.database().schemaVersion(), Database::kSchemaVersion);
    EXPECT_EQ(db.count("SELECT version FROM schema_version"), 2);
    EXPECT_EQ(storage.stand("altealteklas"), 0);
    EXPECT_TRUE(storage.teacherClass("altealteklas", "alt", kNow));
    const auto games = storage.results("altealteklas", "Emil");
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].result.points, 95);
    ASSERT_EQ(games[0].result.problems.size(), 1u);
    EXPECT_EQ(games[0].result.problems[0].answer, "54");
    EXPECT_EQ(games[0].result.problems[0].seconds, 0);
    ASSERT_TRUE(storage.publicClass("altealteklas", kNow));
    EXPECT_EQ(storage.publicClass("altealteklas", kNow)->children,
              std::vector<std::string>{"Emil"});
    const Board board =
        storage.board("altealteklas", *storage.teacherClass("altealteklas", "alt", kNow));
    ASSERT_EQ(board.children.size(), 1u);
    ASSERT_EQ(board.children[0].games.size(), 1u);
    EXPECT_EQ(board.children[0].games[0].second.best, 95);
    EXPECT_EQ(board.children[0].games[0].second.played, 1);
    ASSERT_EQ(board.hardest.size(), 1u);
    EXPECT_EQ(board.hardest[0].problem, "7 mal 8");
    ResultBody next = games[0].result;
    next.id = "1234abcd-0000-4000-8000-000000000002";
    EXPECT_EQ(storage.addResult("altealteklas", next, kNow), Added::Stored);
    EXPECT_EQ(storage.stand("altealteklas"), 1);
}

TEST(MigrationTest, AnUpgradedDatabaseOpensAgainUnchanged) {
    testing::TestDatabase db;
    db.run(kVersion1);
    { Storage first(db.target()); }
    Storage again(db.target());
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM schema_version"), 1);
    EXPECT_EQ(again.results("altealteklas").size(), 1u);
}

TEST(MigrationTest, ADatabaseOfANewerServiceIsNotTouched) {
    testing::TestDatabase db;
    db.run({"CREATE TABLE schema_version (version INTEGER NOT NULL)",
            "INSERT INTO schema_version (version) VALUES (3)"});
    EXPECT_THROW(Storage{db.target()}, DatabaseError);
    EXPECT_EQ(db.count("SELECT version FROM schema_version"), 3);
}

} // namespace
} // namespace zifferix::service
