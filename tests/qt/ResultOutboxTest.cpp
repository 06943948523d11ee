// The desktop's results on their way to the class service: kept at once in the state folder,
// sent one at a time, removed when stored, kept and tried again while the service is away,
// set aside when it refuses them for good; against a real HTTP server on the loopback.

#include "qt/ResultOutbox.h"
#include "HttpResponder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

using qt_test::Answer;
using qt_test::HttpResponder;
using namespace std::chrono_literals;

constexpr auto kResult = R"({"kind":"Mia","spiel":"uhr","stufe":1,"punkte":120,)"
                         R"("ergebnis":"gewonnen","reihe":false,"sekunden":61.5,)"
                         R"("aufgaben":[{"aufgabe":"7 mal 8","antwort":"56","richtig":true,)"
                         R"("sekunden":2.4}]})";

QJsonObject json(const QByteArray& text) {
    return QJsonDocument::fromJson(text).object();
}

QStringList files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

struct ResultOutboxTest : ::testing::Test {
    QTemporaryDir home;
    QString state = home.path() + "/zifferix";
    QNetworkAccessManager network;
    HttpResponder server;
    std::unique_ptr<qt::ResultOutbox> outbox = started();

    std::unique_ptr<qt::ResultOutbox> started() {
        return std::make_unique<qt::ResultOutbox>(network, state, qt::Backoff{40ms, 160ms});
    }
    QUrl results() const { return QUrl(server.site("/api/klassen/abcdefgh2345/ergebnisse")); }
    void settle() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !outbox->busy(); }, 10000));
    }
    QStringList waiting() const { return files(state + "/warten"); }
    QStringList refused() const { return files(state + "/abgelehnt"); }
};

TEST_F(ResultOutboxTest, AResultIsKeptAtOnceWithItsOwnIdAndRemovedWhenStored) {
    const QString id = outbox->add(results(), kResult);
    EXPECT_TRUE(QRegularExpression("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-"
                                   "[0-9a-f]{12}$")
                    .match(id)
                    .hasMatch())
        << id.toStdString();
    EXPECT_EQ(waiting(), QStringList{id + ".json"});
    settle();
    EXPECT_EQ(waiting(), QStringList{});
    ASSERT_EQ(server.requests().size(), 1U);
    const qt_test::Request& sent = server.requests()[0];
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.path, "/api/klassen/abcdefgh2345/ergebnisse");
    EXPECT_EQ(sent.headers.value("content-type"), "application/json");
    QJsonObject expected = json(kResult);
    expected.insert("id", id);
    EXPECT_EQ(json(sent.body), expected);
}

TEST_F(ResultOutboxTest, WhatTheAnswerSaysDecidesWhetherAResultIsSentAgainOrSetAside) {
    enum class Then { Removed, Retried, SetAside };
    const struct {
        int status;
        Then then;
    } cases[] = {
        {201, Then::Removed},  {200, Then::Removed},  {500, Then::Retried},  {502, Then::Retried},
        {503, Then::Retried},  {429, Then::Retried},  {408, Then::Retried},  {400, Then::SetAside},
        {404, Then::SetAside}, {413, Then::SetAside}, {415, Then::SetAside}, {403, Then::SetAside},
    };
    for (const auto& c : cases) {
        const std::size_t before = server.requests().size();
        server.answer({c.status, R"({"fehler":"Nein."})"});
        const QString id = outbox->add(results(), kResult);
        settle();
        const std::size_t asked = server.requests().size() - before;
        EXPECT_EQ(asked, c.then == Then::Retried ? 2U : 1U) << c.status;
        EXPECT_EQ(waiting(), QStringList{}) << c.status;
        EXPECT_EQ(refused().contains(id + ".json"), c.then == Then::SetAside) << c.status;
        EXPECT_EQ(json(server.requests().back().body).value("id").toString(), id);
    }
    EXPECT_EQ(refused().size(), 5);
}

TEST_F(ResultOutboxTest, AResultWaitsWhileTheServiceIsDownAndGoesWhenItIsBack) {
    server.close();
    const QString first = outbox->add(results(), kResult);
    const QString second = outbox->add(results(), kResult);
    QTest::qWait(300);
    EXPECT_TRUE(outbox->busy());
    EXPECT_EQ(waiting().size(), 2);
    ASSERT_TRUE(server.listen(server.port()));
    settle();
    EXPECT_EQ(waiting(), QStringList{});
    ASSERT_EQ(server.requests().size(), 2U);
    EXPECT_EQ(json(server.requests()[0].body).value("id").toString(), first);
    EXPECT_EQ(json(server.requests()[1].body).value("id").toString(), second);
}

TEST_F(ResultOutboxTest, WhatWaitedIsSentAtTheNextRunOldestFirst) {
    server.close();
    QStringList ids;
    for (int i = 0; i < 3; ++i) {
        ids << outbox->add(results(), kResult);
        QTest::qWait(20); // the files' times tell their order
    }
    outbox.reset();
    EXPECT_EQ(waiting().size(), 3);

    ASSERT_TRUE(server.listen(server.port()));
    outbox = started();
    outbox->resume();
    settle();
    EXPECT_EQ(waiting(), QStringList{});
    QStringList arrived;
    for (const qt_test::Request& request : server.requests()) {
        arrived << json(request.body).value("id").toString();
    }
    EXPECT_EQ(arrived, ids);
}

TEST_F(ResultOutboxTest, EachTryWaitsLongerUpToTheLongestWait) {
    server.answerAlways({503, R"({"fehler":"Wartung"})"});
    outbox->add(results(), kResult);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() >= 5; }, 10000));
    const qint64 waits[] = {40, 80, 160, 160};
    for (std::size_t i = 0; i < std::size(waits); ++i) {
        // A coarse timer may fire a twentieth early.
        const auto& tries = server.requests();
        EXPECT_GE(tries[i + 1].at - tries[i].at, waits[i] * 9 / 10) << i;
    }
    EXPECT_EQ(waiting().size(), 1);
}

TEST_F(ResultOutboxTest, AResultThatIsNoJsonObjectIsNeitherKeptNorSent) {
    for (const QByteArray& bad : {QByteArray("[1,2]"), QByteArray("{\"kind\":"), QByteArray()}) {
        EXPECT_TRUE(outbox->add(results(), bad).isEmpty());
    }
    QTest::qWait(100);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(QDir(state).exists());
}

TEST_F(ResultOutboxTest, AnUnreadableWaitingFileIsSetAsideAtTheNextRun) {
    ASSERT_TRUE(QDir().mkpath(outbox->waitingFolder()));
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"0a1b2c3d-0000-4000-8000-000000000001.json", "{kaputt"},
        {"0a1b2c3d-0000-4000-8000-000000000002.json",
         R"({"an":"file:///etc/passwd","ergebnis":{"id":"0a1b2c3d-0000-4000-8000-000000000002"}})"},
        {"0a1b2c3d-0000-4000-8000-000000000003.json",
         R"({"an":"http://127.0.0.1:1/","ergebnis":{"id":"ein-anderes"}})"},
    };
    for (const auto& c : cases) {
        QFile file(outbox->waitingFolder() + "/" + c.name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
    }
    outbox->resume();
    settle();
    EXPECT_EQ(waiting(), QStringList{});
    EXPECT_EQ(refused().size(), 3);
    EXPECT_TRUE(server.requests().empty());
}

} // namespace
