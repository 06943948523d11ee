#include "Replies.h"

#include "start/Games.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zifferix::service {
namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

QJsonArray names(const std::vector<std::string>& list) {
    QJsonArray array;
    for (const std::string& name : list) {
        array.append(q(name));
    }
    return array;
}

QJsonObject gameObject(const StoredResult& stored) {
    const ResultBody& game = stored.result;
    QJsonArray problems;
    for (const ProblemBody& problem : game.problems) {
        problems.append(QJsonObject{{QStringLiteral("aufgabe"), q(problem.problem)},
                                    {QStringLiteral("antwort"), q(problem.answer)},
                                    {QStringLiteral("richtig"), problem.right},
                                    {QStringLiteral("sekunden"), problem.seconds}});
    }
    return QJsonObject{{QStringLiteral("id"), q(game.id)},
                       {QStringLiteral("spiel"), q(game.game)},
                       {QStringLiteral("stufe"), game.level},
                       {QStringLiteral("punkte"), static_cast<qint64>(game.points)},
                       {QStringLiteral("ergebnis"), q(outcomeName(game.outcome))},
                       {QStringLiteral("reihe"), game.inRow},
                       {QStringLiteral("sekunden"), game.seconds},
                       {QStringLiteral("am"), q(isoTime(stored.received))},
                       {QStringLiteral("aufgaben"), problems}};
}

} // namespace

std::string isoTime(long long seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODate).toStdString();
}

std::string errorJson(std::string_view fehler) {
    return compact({{QStringLiteral("fehler"), q(fehler)}});
}

std::string openedJson(const OpenedClass& opened) {
    return compact({{QStringLiteral("klasse"), q(opened.id)},
                    {QStringLiteral("geheim"), q(opened.secret)},
                    {QStringLiteral("name"), q(opened.name)},
                    {QStringLiteral("ablauf"), q(isoTime(opened.expires))}});
}

std::string publicJson(const PublicClass& found) {
    return compact({{QStringLiteral("name"), q(found.name)},
                    {QStringLiteral("kinder"), names(found.children)}});
}

std::string idJson(std::string_view id) {
    return compact({{QStringLiteral("id"), q(id)}});
}

std::string boardJson(const Board& board) {
    QJsonArray games;
    for (const GameInfo& game : kGames) {
        games.append(q(game.link));
    }
    QJsonArray children;
    for (const BoardChild& child : board.children) {
        QJsonObject played;
        for (const auto& [game, stats] : child.games) {
            played.insert(
                q(game),
                QJsonObject{{QStringLiteral("beste"),
                             stats.best ? QJsonValue(static_cast<qint64>(*stats.best))
                                        : QJsonValue(QJsonValue::Null)},
                            {QStringLiteral("gespielt"), static_cast<qint64>(stats.played)},
                            {QStringLiteral("gewonnen"), static_cast<qint64>(stats.won)},
                            {QStringLiteral("zuletzt"), q(isoTime(stats.last))}});
        }
        children.append(QJsonObject{{QStringLiteral("name"), q(child.name)},
                                    {QStringLiteral("spiele"), played}});
    }
    QJsonArray hardest;
    for (const Hard& hard : board.hardest) {
        hardest.append(QJsonObject{{QStringLiteral("aufgabe"), q(hard.problem)},
                                   {QStringLiteral("kinder"), static_cast<qint64>(hard.children)},
                                   {QStringLiteral("falsch"), static_cast<qint64>(hard.wrong)}});
    }
    return compact({{QStringLiteral("name"), q(board.head.name)},
                    {QStringLiteral("ablauf"), q(isoTime(board.head.expires))},
                    {QStringLiteral("stand"), static_cast<qint64>(board.head.stand)},
                    {QStringLiteral("spiele"), games},
                    {QStringLiteral("kinder"), children},
                    {QStringLiteral("schwierig"), hardest}});
}

std::string childJson(std::string_view name, const std::vector<StoredResult>& games) {
    QJsonArray list;
    for (const StoredResult& stored : games) {
        list.append(gameObject(stored));
    }
    return compact({{QStringLiteral("name"), q(name)}, {QStringLiteral("spiele"), list}});
}

std::string healthJson(bool password, int maxDays) {
    return compact({{QStringLiteral("ok"), true},
                    {QStringLiteral("passwort"), password},
                    {QStringLiteral("max_tage"), maxDays}});
}

} // namespace zifferix::service
