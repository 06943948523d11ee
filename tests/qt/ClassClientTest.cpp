// The desktop in a class: what it asks the class service at start and the name it remembers,
// against a real HTTP server on the loopback.

#include "qt/ClassClient.h"
#include "HttpResponder.h"
#include "qt/ResultOutbox.h"
#include "qt/StateFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

using qt::ClassFound;
using qt_test::Answer;
using qt_test::HttpResponder;
using namespace std::chrono_literals;

constexpr auto kClass = "abcdefgh2345";

struct ClassClientTest : ::testing::Test {
    QTemporaryDir home;
    QString state = home.path() + "/zifferix";
    QNetworkAccessManager network;
    HttpResponder server;
    qt::ResultOutbox outbox{network, state};

    qt::ClassClient client(std::chrono::milliseconds timeout = 3s) {
        return {network, outbox, QUrl(server.site("/zifferix/")), kClass, state, timeout};
    }

    ClassFound fetched(qt::ClassClient& from) {
        std::optional<ClassFound> found;
        int calls = 0;
        from.fetch([&](const ClassFound& answer) {
            found = answer;
            ++calls;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return found.has_value(); }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(calls, 1);
        return found.value_or(ClassFound{});
    }
};

TEST_F(ClassClientTest, AnOpenClassGivesItsNameAndTheChildrensFirstNames) {
    server.answer({200, R"({"name":"3b Dienstag","kinder":["Mia","Ben","Zoë"]})"});
    auto asking = client();
    const ClassFound found = fetched(asking);
    EXPECT_EQ(found.state, ClassFound::State::Open);
    EXPECT_EQ(found.info.name, "3b Dienstag");
    EXPECT_EQ(found.info.children, (std::vector<std::string>{"Mia", "Ben", "Zoë"}));
    EXPECT_EQ(found.info.child, "");
    ASSERT_EQ(server.requests().size(), 1U);
    EXPECT_EQ(server.requests()[0].method, "GET");
    EXPECT_EQ(server.requests()[0].path, "/zifferix/api/klassen/abcdefgh2345");
    EXPECT_FALSE(server.requests()[0].headers.contains("origin"));
}

TEST_F(ClassClientTest, EveryOtherAnswerIsAGoneClassOrNoAnswer) {
    const struct {
        Answer answer;
        ClassFound::State state;
    } cases[] = {
        {{404, R"({"fehler":"Diese Klasse gibt es nicht."})"}, ClassFound::State::Gone},
        {{500, R"({"fehler":"kaputt"})"}, ClassFound::State::Unreachable},
        {{503, ""}, ClassFound::State::Unreachable},
        {{429, R"({"fehler":"zu viele"})"}, ClassFound::State::Unreachable},
        {{200, "<html>Anmeldung im WLAN</html>"}, ClassFound::State::Unreachable},
        {{200, R"({"name":5,"kinder":[]})"}, ClassFound::State::Unreachable},
        {{200, R"({"name":"3b","kinder":"Mia"})"}, ClassFound::State::Unreachable},
        {{200, R"(["3b"])"}, ClassFound::State::Unreachable},
        {{200, R"({"name":"3b"})"}, ClassFound::State::Open},
    };
    for (const auto& c : cases) {
        server.answer(c.answer);
        auto asking = client();
        EXPECT_EQ(fetched(asking).state, c.state) << c.answer.status << " " << c.answer.body.data();
    }
}

TEST_F(ClassClientTest, NamesThatNoChildCouldHaveAreLeftOutOfTheList) {
    server.answer({200, R"({"name":"3b","kinder":["Mia",""," Ben","Lea\u0007",7,)"
                        R"("ABCDEFGHIJKLMNOPQRSTUVWXY","ABCDEFGHIJKLMNOPQRSTUVWX"]})"});
    auto asking = client();
    EXPECT_EQ(fetched(asking).info.children,
              (std::vector<std::string>{"Mia", "ABCDEFGHIJKLMNOPQRSTUVWX"}));
}

TEST_F(ClassClientTest, AServiceThatDoesNotAnswerIsGivenUpWithinTheTimeOut) {
    server.silence();
    auto asking = client(300ms);
    QElapsedTimer took;
    took.start();
    EXPECT_EQ(fetched(asking).state, ClassFound::State::Unreachable);
    EXPECT_LT(took.elapsed(), 2000);
}

TEST_F(ClassClientTest, AServiceThatIsDownIsNoAnswerAtOnce) {
    server.close();
    auto asking = client();
    QElapsedTimer took;
    took.start();
    EXPECT_EQ(fetched(asking).state, ClassFound::State::Unreachable);
    EXPECT_LT(took.elapsed(), 2000);
}

TEST_F(ClassClientTest, TheNameAChildGaveIsRememberedForTheClassUntilAnotherIsGiven) {
    auto first = client();
    first.joined("Mia");
    QFile file(state + "/klassen/abcdefgh2345.name");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "Mia\n");
    EXPECT_EQ(file.permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions{});

    server.answer({200, R"({"name":"3b","kinder":["Mia","Ben"]})"});
    auto second = client();
    EXPECT_EQ(fetched(second).info.child, "Mia");
    second.joined("Zoë Ünal");
    server.close();
    auto offline = client();
    EXPECT_EQ(fetched(offline).info.child, "Zoë Ünal");
    offline.joined("");
    EXPECT_EQ(offline.remembered(), "");
}

TEST_F(ClassClientTest, AGoneClassHasNoRememberedName) {
    client().joined("Mia");
    server.answer({404, R"({"fehler":"Diese Klasse gibt es nicht."})"});
    auto asking = client();
    const ClassFound found = fetched(asking);
    EXPECT_EQ(found.state, ClassFound::State::Gone);
    EXPECT_EQ(found.info.child, "");
}

TEST_F(ClassClientTest, AskingForTheClassWritesNothing) {
    server.answer({200, R"({"name":"3b","kinder":["Mia"]})"});
    auto asking = client();
    fetched(asking);
    asking.joined("   ");
    EXPECT_FALSE(QDir(state).exists());
}

TEST_F(ClassClientTest, AnEndedGameGoesToTheClassBesideThePage) {
    auto joined = client();
    joined.ended(R"({"kind":"Mia","spiel":"berg","stufe":2,"punkte":-10,"ergebnis":"verlassen",)"
                 R"("reihe":true,"sekunden":3,"aufgaben":[]})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !outbox.busy(); }, 5000));
    ASSERT_EQ(server.requests().size(), 1U);
    EXPECT_EQ(server.requests()[0].method, "POST");
    EXPECT_EQ(server.requests()[0].path, "/zifferix/api/klassen/abcdefgh2345/ergebnisse");
    EXPECT_TRUE(server.requests()[0].body.contains(R"("ergebnis":"verlassen")"));
}

TEST(StateFolder, IsXdgStateHomesZifferixElseTheOneInTheHomeFolder) {
    const bool wasSet = qEnvironmentVariableIsSet("XDG_STATE_HOME");
    const QByteArray before = qgetenv("XDG_STATE_HOME");
    const QString home = QDir::homePath();
    const struct {
        const char* given;
        QString folder;
    } cases[] = {
        {"/var/tmp/zustand", "/var/tmp/zustand/zifferix"},
        {"", home + "/.local/state/zifferix"},
        {"relativ/zustand", home + "/.local/state/zifferix"},
    };
    for (const auto& c : cases) {
        qputenv("XDG_STATE_HOME", c.given);
        EXPECT_EQ(qt::stateFolder(), c.folder) << c.given;
    }
    if (wasSet) {
        qputenv("XDG_STATE_HOME", before);
    } else {
        qunsetenv("XDG_STATE_HOME");
    }
}

} // namespace
