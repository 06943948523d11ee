// The storage on SQLite and, under with_postgres.sh, on PostgreSQL: the same suite on both.

#include "Storage.h"

#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

namespace zifferix::service {
namespace {

constexpr long long kNow = 1'800'000'000; // 2027-01-15
constexpr long long kDay = 86400;

std::string uuid(int n) {
    char text[40];
    std::snprintf(text, sizeof text, "1234abcd-0000-4000-8000-%012d", n);
    return text;
}

ResultBody result(int n, const std::string& child, const std::string& game, Outcome outcome,
                  long long points, std::vector<ProblemBody> problems = {}) {
    ResultBody body;
    body.id = uuid(n);
    body.child = child;
    body.game = game;
    body.level = 2;
    body.points = points;
    body.outcome = outcome;
    body.seconds = 42.5;
    body.problems = std::move(problems);
    return body;
}

ProblemBody wrong(const std::string& problem) {
    return {problem, "1", false, 1.5};
}

ProblemBody right(const std::string& problem) {
    return {problem, "56", true, 2.25};
}

class StorageTest : public ::testing::Test {
  protected:
    OpenedClass open(std::vector<std::string> children = {"Mia", "Ben"}, int days = 90) {
        return storage.openClass({"3b Dienstag", std::move(children), days, {}}, days, kNow);
    }
    long long count(const std::string& sql) const { return db.count(sql); }

    testing::TestDatabase db;
    Storage storage{db.target()};
};

TEST_F(StorageTest, ASecondCopyOfAResultIsAnsweredAlreadyThereAndStoresNothing) {
    const auto opened = open();
    const auto first = result(1, "Mia", "uhr", Outcome::Won, 120, {right("7 mal 8")});
    auto copy = first;
    copy.points = 999;
    copy.problems.push_back(wrong("6 mal 7"));
    EXPECT_EQ(storage.addResult(opened.id, first, kNow), Added::Stored);
    EXPECT_EQ(storage.addResult(opened.id, copy, kNow + 5), Added::AlreadyThere);
    EXPECT_EQ(count("SELECT COUNT(*) FROM results"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM problems"), 1);
    EXPECT_EQ(count("SELECT points FROM results"), 120);
    EXPECT_EQ(storage.stand(opened.id), 1);
}

TEST_F(StorageTest, AResultForAClassThatIsNotOpenIsRefused) {
    const auto opened = open({}, 1);
    const struct {
        std::string classId;
        long long at;
    } cases[] = {
        {"aaaaaaaaaaaa", kNow},
        {opened.id, kNow + kDay},
        {opened.id, kNow + 30 * kDay},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storage.addResult(c.classId, result(1, "Mia", "uhr", Outcome::Lost, 5), c.at),
                  Added::NoClass)
            << c.classId << " at " << c.at;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM results"), 0);
}

TEST_F(StorageTest, AnExpiredClassIsGoneEverywhereBeforeThePurge) {
    const auto opened = open({"Mia"}, 2);
    const long long later = kNow + 2 * kDay;
    EXPECT_TRUE(storage.publicClass(opened.id, later - 1));
    EXPECT_TRUE(storage.teacherClass(opened.id, opened.secret, later - 1));
    EXPECT_FALSE(storage.publicClass(opened.id, later));
    EXPECT_FALSE(storage.teacherClass(opened.id, opened.secret, later));
    EXPECT_EQ(storage.addResult(opened.id, result(1, "Mia", "berg", Outcome::Won, 3), later),
              Added::NoClass);
}

TEST_F(StorageTest, DeletingAChildTakesItsResultsAndProblemsAndNothingElse) {
    const auto opened = open();
    storage.addResult(opened.id, result(1, "Mia", "uhr", Outcome::Won, 10, {wrong("a")}), kNow);
    storage.addResult(opened.id, result(2, "Mia", "berg", Outcome::Lost, 0, {wrong("b")}), kNow);
    storage.addResult(opened.id, result(3, "Ben", "uhr", Outcome::Won, 7, {right("c")}), kNow);
    storage.deleteChild(opened.id, "Mia");
    EXPECT_EQ(count("SELECT COUNT(*) FROM results WHERE child = 'Mia'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM problems"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM children"), 1);
    EXPECT_EQ(storage.publicClass(opened.id, kNow)->children, std::vector<std::string>{"Ben"});
}

TEST_F(StorageTest, DeletingAClassLeavesNothingOfItAndKeepsTheOthers) {
    const auto gone = open();
    const auto kept = open({"Ida"});
    storage.addResult(gone.id, result(1, "Mia", "uhr", Outcome::Won, 10, {wrong("a")}), kNow);
    storage.addResult(kept.id, result(2, "Ida", "uhr", Outcome::Won, 10, {wrong("a")}), kNow);
    storage.deleteClass(gone.id);
    const struct {
        const char* table;
        long long left;
    } tables[] = {{"classes", 1}, {"children", 1}, {"results", 1}, {"problems", 1}};
    for (const auto& t : tables) {
        EXPECT_EQ(count(std::string("SELECT COUNT(*) FROM ") + t.table), t.left) << t.table;
    }
    EXPECT_FALSE(storage.teacherClass(gone.id, gone.secret, kNow));
    EXPECT_TRUE(storage.teacherClass(kept.id, kept.secret, kNow));
}

TEST_F(StorageTest, ADeletedNameIsLeftNowhereInSQLitesFiles) {
    if (testing::onPostgres()) {
        GTEST_SKIP() << "PostgreSQL's files are the server's";
    }
    const auto opened = open({"Zacharias-Leopoldine"});
    storage.addResult(opened.id,
                      result(1, "Zacharias-Leopoldine", "uhr", Outcome::Won, 1,
                             {wrong("Aufgabe-Zacharias-Leopoldine")}),
                      kNow);
    storage.deleteClass(opened.id);
    const QDir dir = QFileInfo(db.target().name).dir();
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files)) {
        QFile content(file.filePath());
        ASSERT_TRUE(content.open(QIODevice::ReadOnly));
        EXPECT_FALSE(content.readAll().contains("Zacharias-Leopoldine"))
            << file.fileName().toStdString();
    }
}

TEST_F(StorageTest, ThePurgeDeletesOnlyClassesPastTheirTime) {
    const auto shortOne = open({"Mia"}, 1);
    const auto longOne = open({"Ben"}, 30);
    storage.addResult(shortOne.id, result(1, "Mia", "uhr", Outcome::Won, 1, {wrong("x")}), kNow);
    EXPECT_EQ(storage.purge(kNow + kDay - 1), 0);
    EXPECT_EQ(storage.purge(kNow + kDay), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM classes"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM problems"), 0);
    EXPECT_TRUE(storage.publicClass(longOne.id, kNow + kDay));
}

TEST_F(StorageTest, OnlyTheTeachersSecretOpensTheClass) {
    const auto opened = open();
    const auto other = open();
    const struct {
        std::string id;
        std::string secret;
        bool opens;
    } cases[] = {
        {opened.id, opened.secret, true},
        {opened.id, other.secret, false},
        {opened.id, opened.secret + "x", false},
        {opened.id, opened.secret.substr(1), false},
        {opened.id, "", false},
        {"aaaaaaaaaaaa", opened.secret, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storage.teacherClass(c.id, c.secret, kNow).has_value(), c.opens) << c.secret;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM classes WHERE secret_hash LIKE '%" +
                    opened.secret.substr(0, 10) + "%'"),
              0);
}

TEST_F(StorageTest, TheBoardSumsEachChildsGames) {
    const auto opened = open({"Mia", "Ben", "Ola"});
    const struct {
        int n;
        const char* child;
        const char* game;
        Outcome outcome;
        long long points;
        long long at;
    } games[] = {
        {1, "Mia", "uhr", Outcome::Won, 80, kNow + 1},
        {2, "Mia", "uhr", Outcome::Won, 120, kNow + 2},
        {3, "Mia", "uhr", Outcome::Lost, 500, kNow + 3},
        {4, "Mia", "waage", Outcome::Left, 9, kNow + 4},
        {5, "Ben", "berg", Outcome::Lost, 40, kNow + 5},
        {6, "Zoe", "zahlen", Outcome::Won, -5, kNow + 6},
        {7, "Ali", "uhr", Outcome::Won, 1, kNow + 7},
    };
    for (const auto& g : games) {
        storage.addResult(opened.id, result(g.n, g.child, g.game, g.outcome, g.points), g.at);
    }
    const auto head = storage.teacherClass(opened.id, opened.secret, kNow + 8);
    ASSERT_TRUE(head);
    const Board board = storage.board(opened.id, *head);
    EXPECT_EQ(board.head.stand, 7);
    std::vector<std::string> names;
    for (const auto& child : board.children) {
        names.push_back(child.name);
    }
    // The teacher's list in its order, then who else played, by name.
    EXPECT_EQ(names, (std::vector<std::string>{"Mia", "Ben", "Ola", "Ali", "Zoe"}));
    const struct {
        std::size_t child;
        std::size_t game;
        const char* name;
        std::optional<long long> best;
        long long played;
        long long won;
        long long last;
    } expected[] = {
        {0, 0, "uhr", 120, 3, 2, kNow + 3},
        {0, 1, "waage", std::nullopt, 1, 0, kNow + 4},
        {1, 0, "berg", std::nullopt, 1, 0, kNow + 5},
        {4, 0, "zahlen", -5, 1, 1, kNow + 6},
    };
    for (const auto& e : expected) {
        const auto& [game, stats] = board.children[e.child].games.at(e.game);
        EXPECT_EQ(game, e.name);
        EXPECT_EQ(stats.best, e.best) << e.name;
        EXPECT_EQ(stats.played, e.played) << e.name;
        EXPECT_EQ(stats.won, e.won) << e.name;
        EXPECT_EQ(stats.last, e.last) << e.name;
    }
    EXPECT_EQ(board.children[0].games.size(), 2u);
    EXPECT_TRUE(board.children[2].games.empty());
}

TEST_F(StorageTest, TheHardestProblemsAreThoseMostChildrenGotWrong) {
    const auto opened = open();
    storage.addResult(
        opened.id,
        result(1, "Mia", "uhr", Outcome::Lost, 0,
               {wrong("7 mal 8"), wrong("7 mal 8"), wrong("6 mal 9"), right("2 mal 2")}),
        kNow);
    storage.addResult(opened.id, result(2, "Ben", "uhr", Outcome::Lost, 0, {wrong("6 mal 9")}),
                      kNow);
    storage.addResult(
        opened.id,
        result(3, "Ida", "spinne", Outcome::Won, 0, {wrong("6 mal 9"), right("7 mal 8")}), kNow);
    const Board board =
        storage.board(opened.id, *storage.teacherClass(opened.id, opened.secret, kNow));
    ASSERT_EQ(board.hardest.size(), 2u);
    EXPECT_EQ(board.hardest[0].problem, "6 mal 9");
    EXPECT_EQ(board.hardest[0].children, 3);
    EXPECT_EQ(board.hardest[0].wrong, 3);
    EXPECT_EQ(board.hardest[1].problem, "7 mal 8");
    EXPECT_EQ(board.hardest[1].children, 1);
    EXPECT_EQ(board.hardest[1].wrong, 2);
}

TEST_F(StorageTest, TheStandGrowsWithEveryChangeAndOnlyThen) {
    const auto opened = open();
    EXPECT_EQ(storage.stand(opened.id), 0);
    storage.addResult(opened.id, result(1, "Mia", "uhr", Outcome::Won, 1), kNow);
    EXPECT_EQ(storage.stand(opened.id), 1);
    storage.addResult(opened.id, result(1, "Mia", "uhr", Outcome::Won, 1), kNow);
    EXPECT_EQ(storage.stand(opened.id), 1);
    storage.addResult(opened.id, result(2, "Ben", "uhr", Outcome::Won, 1), kNow);
    EXPECT_EQ(storage.stand(opened.id), 2);
    storage.deleteChild(opened.id, "Ben");
    EXPECT_EQ(storage.stand(opened.id), 3);
    EXPECT_EQ(storage.stand("aaaaaaaaaaaa"), std::nullopt);
}

TEST_F(StorageTest, AChildsGamesComeBackWithEveryProblemExactly) {
    const auto opened = open({"<img src=x onerror=a>"});
    const std::string name = "<img src=x onerror=a>";
    std::vector<ProblemBody> problems;
    for (int i = 0; i < 120; ++i) {
        problems.push_back(
            {"=" + std::to_string(i) + " mal 7 ü", std::to_string(i * 7), i % 3 != 0, i * 0.25});
    }
    storage.addResult(opened.id, result(1, name, "spinne", Outcome::Left, -7, problems), kNow);
    storage.addResult(opened.id, result(2, name, "glas", Outcome::Won, 3), kNow + 1);
    const auto games = storage.results(opened.id, name);
    ASSERT_EQ(games.size(), 2u);
    const ResultBody& first = games[0].result;
    EXPECT_EQ(first.child, name);
    EXPECT_EQ(first.outcome, Outcome::Left);
    EXPECT_EQ(first.points, -7);
    EXPECT_EQ(first.level, 2);
    EXPECT_DOUBLE_EQ(first.seconds, 42.5);
    ASSERT_EQ(first.problems.size(), problems.size());
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(first.problems[i].problem, problems[i].problem);
        EXPECT_EQ(first.problems[i].answer, problems[i].answer);
        EXPECT_EQ(first.problems[i].right, problems[i].right);
        EXPECT_DOUBLE_EQ(first.problems[i].seconds, problems[i].seconds);
    }
    EXPECT_EQ(games[1].result.game, "glas");
    EXPECT_EQ(games[1].received, kNow + 1);
}

TEST_F(StorageTest, ResultsSentAtOnceFromManyThreadsAreEachStoredOnce) {
    const auto opened = open();
    std::vector<std::thread> senders;
    for (int thread = 0; thread < 4; ++thread) {
        senders.emplace_back([&, thread] {
            // Every result twice, once by this thread and once by its neighbour.
            for (int i = 0; i < 40; ++i) {
                const int n = ((thread + i % 2) % 4) * 100 + i / 2;
                storage.addResult(opened.id, result(n, "Mia", "uhr", Outcome::Won, n, {wrong("a")}),
                                  kNow);
            }
        });
    }
    for (auto& sender : senders) {
        sender.join();
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM results"), 80);
    EXPECT_EQ(count("SELECT COUNT(*) FROM problems"), 80);
    EXPECT_EQ(storage.stand(opened.id), 80);
}

} // namespace
} // namespace zifferix::service
