#include "Storage.h"

#include "Secrets.h"

#include "start/Games.h"

#include <algorithm>
#include <map>
#include <set>

namespace zifferix::service {
namespace {

// Problems go in rows of this many per statement.
constexpr std::size_t kProblemsPerInsert = 50;

constexpr long long kSecondsPerDay = 86400;

std::string problemsInsert(std::size_t count) {
    std::string sql =
        "INSERT INTO problems (result_id, pos, problem, answer, correct, seconds) VALUES ";
    for (std::size_t i = 0; i < count; ++i) {
        sql += i == 0 ? "(?, ?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?, ?)";
    }
    return sql;
}

QVariant text(const std::string& value) {
    return QString::fromStdString(value);
}

std::string text(const QVariant& value) {
    return value.toString().toStdString();
}

std::size_t gameOrder(const std::string& game) {
    const auto found = std::find_if(kGames.begin(), kGames.end(),
                                    [&](const GameInfo& info) { return info.link == game; });
    return static_cast<std::size_t>(found - kGames.begin());
}

} // namespace

OpenedClass Storage::openClass(const ClassBody& body, int days, long long now) {
    return pool_.call([&] {
        OpenedClass opened{newClassId(), newSecret(), body.name, now + days * kSecondsPerDay};
        db_.transaction([&] {
            // 60 random bits: a clash is next to impossible, and then the next id is taken.
            while (!db_.rows("SELECT 1 FROM classes WHERE id = ?", {text(opened.id)}).empty()) {
                opened.id = newClassId();
            }
            db_.change("INSERT INTO classes (id, name, secret_hash, created, expires, stand)"
                       " VALUES (?, ?, ?, ?, ?, 0)",
                       {text(opened.id), text(opened.name), text(sha256Hex(opened.secret)), now,
                        opened.expires});
            for (std::size_t i = 0; i < body.children.size(); ++i) {
                db_.change("INSERT INTO children (class_id, name, pos) VALUES (?, ?, ?)",
                           {text(opened.id), text(body.children[i]), static_cast<int>(i)});
            }
        });
        return opened;
    });
}

std::optional<PublicClass> Storage::publicClass(const std::string& id, long long now) {
    return pool_.call([&]() -> std::optional<PublicClass> {
        const auto found =
            db_.rows("SELECT name FROM classes WHERE id = ? AND expires > ?", {text(id), now});
        if (found.empty()) {
            return std::nullopt;
        }
        PublicClass result{text(found.front()[0]), {}};
        for (const Row& row :
             db_.rows("SELECT name FROM children WHERE class_id = ? ORDER BY pos", {text(id)})) {
            result.children.push_back(text(row[0]));
        }
        return result;
    });
}

Storage::Storage(Target target) : db_(std::move(target)) {
    if (db_.isSqlite()) {
        writer_ = std::make_unique<Writer>(
            db_, [this](const std::string& classId, const ResultBody& result, long long now) {
                return store(classId, result, now);
            });
    }
}

Added Storage::addResult(const std::string& classId, const ResultBody& result, long long now) {
    if (writer_) {
        return writer_->add(classId, result, now);
    }
    return pool_.call([&] {
        Added added = Added::NoClass;
        db_.transaction([&] { added = store(classId, result, now); });
        return added;
    });
}

Added Storage::store(const std::string& classId, const ResultBody& result, long long now) {
    if (db_.rows("SELECT 1 FROM classes WHERE id = ? AND expires > ?", {text(classId), now})
            .empty()) {
        return Added::NoClass;
    }
    // The id is the key: a second copy of a result changes nothing.
    if (db_.change("INSERT INTO results (id, class_id, child, game, level, points, outcome,"
                   " in_row, seconds, received) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                   " ON CONFLICT (id) DO NOTHING",
                   {text(result.id), text(classId), text(result.child), text(result.game),
                    result.level, result.points, text(std::string(outcomeName(result.outcome))),
                    result.inRow ? 1 : 0, result.seconds, now}) == 0) {
        return Added::AlreadyThere;
    }
    for (std::size_t first = 0; first < result.problems.size(); first += kProblemsPerInsert) {
        const std::size_t count = std::min(kProblemsPerInsert, result.problems.size() - first);
        std::vector<QVariant> values;
        values.reserve(count * 6);
        for (std::size_t i = first; i < first + count; ++i) {
            const ProblemBody& problem = result.problems[i];
            values.insert(values.end(),
                          {text(result.id), static_cast<int>(i), text(problem.problem),
                           text(problem.answer), problem.right ? 1 : 0, problem.seconds});
        }
        db_.change(problemsInsert(count), values);
    }
    const bool won = result.outcome == Outcome::Won;
    db_.change("INSERT INTO tallies (class_id, child, game, best, played, won, last)"
               " VALUES (?, ?, ?, ?, 1, ?, ?) ON CONFLICT (class_id, child, game) DO UPDATE SET"
               " best = CASE WHEN excluded.best IS NULL THEN tallies.best"
               " WHEN tallies.best IS NULL OR excluded.best > tallies.best THEN excluded.best"
               " ELSE tallies.best END,"
               " played = tallies.played + 1, won = tallies.won + excluded.won,"
               " last = CASE WHEN excluded.last > tallies.last THEN excluded.last"
               " ELSE tallies.last END",
               {text(classId), text(result.child), text(result.game),
                won ? QVariant(result.points) : QVariant(QMetaType(QMetaType::LongLong)),
                won ? 1 : 0, now});
    for (const ProblemBody& problem : result.problems) {
        if (!problem.right) {
            db_.change("INSERT INTO misses (class_id, problem, child, wrong) VALUES (?, ?, ?, 1)"
                       " ON CONFLICT (class_id, problem, child) DO UPDATE SET"
                       " wrong = misses.wrong + 1",
                       {text(classId), text(problem.problem), text(result.child)});
        }
    }
    db_.change("UPDATE classes SET stand = stand + 1 WHERE id = ?", {text(classId)});
    return Added::Stored;
}

std::optional<ClassHead> Storage::teacherClass(const std::string& id, const std::string& secret,
                                               long long now) {
    return pool_.call([&]() -> std::optional<ClassHead> {
        const auto found = db_.rows(
            "SELECT name, expires, stand, secret_hash FROM classes WHERE id = ? AND expires > ?",
            {text(id), now});
        // Without a class the hash is still compared, against one no secret has.
        const std::string stored = found.empty() ? std::string(64, '-') : text(found.front()[3]);
        if (!sameInConstantTime(sha256Hex(secret), stored) || found.empty()) {
            return std::nullopt;
        }
        const Row& row = found.front();
        return ClassHead{text(row[0]), row[1].toLongLong(), row[2].toLongLong()};
    });
}

std::optional<long long> Storage::stand(const std::string& id) {
    return pool_.call([&]() -> std::optional<long long> {
        const auto found = db_.rows("SELECT stand FROM classes WHERE id = ?", {text(id)});
        if (found.empty()) {
            return std::nullopt;
        }
        return found.front()[0].toLongLong();
    });
}

Board Storage::board(const std::string& id, const ClassHead& head) {
    return pool_.call([&] {
        Board board{head, {}, {}};
        std::map<std::string, std::size_t> index;
        for (const Row& row :
             db_.rows("SELECT name FROM children WHERE class_id = ? ORDER BY pos", {text(id)})) {
            index.emplace(text(row[0]), board.children.size());
            board.children.push_back({text(row[0]), {}});
        }
        const auto sums =
            db_.rows("SELECT child, game, best, played, won, last FROM tallies WHERE class_id = ?",
                     {text(id)});
        // Children the teacher did not list come after the list, by name.
        std::set<std::string> others;
        for (const Row& row : sums) {
            if (!index.contains(text(row[0]))) {
                others.insert(text(row[0]));
            }
        }
        for (const std::string& name : others) {
            index.emplace(name, board.children.size());
            board.children.push_back({name, {}});
        }
        for (const Row& row : sums) {
            GameStats stats;
            if (!row[2].isNull()) {
                stats.best = row[2].toLongLong();
            }
            stats.played = row[3].toLongLong();
            stats.won = row[4].toLongLong();
            stats.last = row[5].toLongLong();
            board.children[index.at(text(row[0]))].games.emplace_back(text(row[1]), stats);
        }
        for (BoardChild& child : board.children) {
            std::sort(child.games.begin(), child.games.end(), [](const auto& a, const auto& b) {
                return gameOrder(a.first) < gameOrder(b.first);
            });
        }
        for (const Row& row :
             db_.rows("SELECT problem, COUNT(*), SUM(wrong) FROM misses WHERE class_id = ?"
                      " GROUP BY problem ORDER BY COUNT(*) DESC, SUM(wrong) DESC, problem LIMIT 20",
                      {text(id)})) {
            board.hardest.push_back({text(row[0]), row[1].toLongLong(), row[2].toLongLong()});
        }
        // Ties in the order the program gives, whatever the database's collation.
        std::stable_sort(board.hardest.begin(), board.hardest.end(),
                         [](const Hard& a, const Hard& b) {
                             return std::tie(b.children, b.wrong, a.problem) <
                                    std::tie(a.children, a.wrong, b.problem);
                         });
        return board;
    });
}

std::vector<StoredResult> Storage::gamesWhere(const std::string& condition,
                                              const std::vector<QVariant>& values) {
    std::vector<StoredResult> games;
    std::map<std::string, std::size_t> index;
    for (const Row& row : db_.rows("SELECT id, child, game, level, points, outcome, in_row,"
                                   " seconds, received FROM results WHERE " +
                                       condition + " ORDER BY received, id",
                                   values)) {
        StoredResult& stored = games.emplace_back();
        ResultBody& result = stored.result;
        result.id = text(row[0]);
        result.child = text(row[1]);
        result.game = text(row[2]);
        result.level = row[3].toInt();
        result.points = row[4].toLongLong();
        result.outcome = outcomeNamed(text(row[5])).value_or(Outcome::Left);
        result.inRow = row[6].toInt() != 0;
        result.seconds = row[7].toDouble();
        stored.received = row[8].toLongLong();
        index.emplace(result.id, games.size() - 1);
    }
    for (const Row& row :
         db_.rows("SELECT p.result_id, p.problem, p.answer, p.correct, p.seconds FROM problems p"
                  " JOIN results r ON r.id = p.result_id WHERE r." +
                      condition + " ORDER BY p.result_id, p.pos",
                  values)) {
        const auto found = index.find(text(row[0]));
        if (found != index.end()) {
            games[found->second].result.problems.push_back(
                {text(row[1]), text(row[2]), row[3].toInt() != 0, row[4].toDouble()});
        }
    }
    return games;
}

std::vector<StoredResult> Storage::results(const std::string& id) {
    return pool_.call([&] { return gamesWhere("class_id = ?", {text(id)}); });
}

std::vector<StoredResult> Storage::results(const std::string& id, const std::string& child) {
    return pool_.call([&] {
        return gamesWhere("class_id = ? AND child = ?", {text(id), text(child)});
    });
}

void Storage::deleteChild(const std::string& id, const std::string& child) {
    return pool_.call([&] {
        db_.transaction([&] {
            db_.change("DELETE FROM results WHERE class_id = ? AND child = ?",
                       {text(id), text(child)});
            db_.change("DELETE FROM children WHERE class_id = ? AND name = ?",
                       {text(id), text(child)});
            db_.change("DELETE FROM tallies WHERE class_id = ? AND child = ?",
                       {text(id), text(child)});
            db_.change("DELETE FROM misses WHERE class_id = ? AND child = ?",
                       {text(id), text(child)});
            db_.change("UPDATE classes SET stand = stand + 1 WHERE id = ?", {text(id)});
        });
        db_.checkpoint();
    });
}

void Storage::deleteClass(const std::string& id) {
    return pool_.call([&] {
        db_.transaction([&] { db_.change("DELETE FROM classes WHERE id = ?", {text(id)}); });
        db_.checkpoint();
    });
}

int Storage::purge(long long now) {
    return pool_.call([&] {
        int purged = 0;
        db_.transaction(
            [&] { purged = db_.change("DELETE FROM classes WHERE expires <= ?", {now}); });
        if (purged > 0) {
            db_.checkpoint();
        }
        return purged;
    });
}

} // namespace zifferix::service
