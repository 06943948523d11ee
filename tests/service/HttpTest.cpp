// The routes over HTTP: a server on a free port, cpp-httplib's client against it.

#include "Server.h"

#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace zifferix::service {
namespace {

constexpr long long kNow = 1'800'000'000;

const std::string kResult =
    R"({"id":"0b7e1c9a-1234-4abc-8def-0123456789ab","kind":"Mia","spiel":"uhr","stufe":1,)"
    R"("punkte":120,"ergebnis":"gewonnen","reihe":false,"sekunden":61.5,"aufgaben":)"
    R"([{"aufgabe":"7 mal 8","antwort":"56","richtig":true,"sekunden":2.4}]})";

QJsonObject json(const std::string& body) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(body)).object();
}

std::string field(const std::string& body, const char* key) {
    return json(body).value(QLatin1String(key)).toString().toStdString();
}

class Service {
  public:
    explicit Service(Config config)
        : storage_(db_.target()), server_(storage_, config, [this] { return now.load(); }) {
        port_ = server_.bind("127.0.0.1", 0);
        thread_ = std::thread([this] { server_.run(); });
        while (!server_.running()) {
            std::this_thread::yield();
        }
    }
    ~Service() {
        server_.stop();
        thread_.join();
    }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    httplib::Client client() const { return httplib::Client("127.0.0.1", port_); }

    // A new class: its id and its teacher's secret.
    std::pair<std::string, std::string> open(const std::string& body = R"({"name":"3b"})") {
        const auto res = client().Post("/api/klassen", body, "application/json");
        return {field(res->body, "klasse"), field(res->body, "geheim")};
    }

    std::atomic<long long> now{kNow};

  private:
    testing::TestDatabase db_;
    Storage storage_;
    Server server_;
    int port_ = -1;
    std::thread thread_;
};

httplib::Headers bearer(const std::string& secret) {
    return {{"Authorization", "Bearer " + secret}};
}

class HttpTest : public ::testing::Test {
  protected:
    Service service{Config{}};
    httplib::Client client = service.client();
};

TEST_F(HttpTest, EveryAnswerForbidsCachingAndSniffingAndAllowsNoOtherSite) {
    const auto res = client.Get("/api/gesund");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(json(res->body).value(QLatin1String("max_tage")).toInt(), 365);
    EXPECT_EQ(res->get_header_value("Cache-Control"), "no-store");
    EXPECT_EQ(res->get_header_value("X-Content-Type-Options"), "nosniff");
    EXPECT_FALSE(res->has_header("Access-Control-Allow-Origin"));
    const auto foreign = client.Get("/api/gesund", {{"Origin", "https://boese.example"}});
    EXPECT_EQ(foreign->status, 403);
    EXPECT_FALSE(field(foreign->body, "fehler").empty());
    const auto unknown = client.Get("/api/nichts");
    EXPECT_EQ(unknown->status, 404);
    EXPECT_EQ(field(unknown->body, "fehler"), "Diese Adresse gibt es nicht.");
    EXPECT_EQ(client.Get("/api/openapi.yaml")->body.rfind("openapi: 3", 0), 0u);
}

TEST_F(HttpTest, AChildsPageSeesTheNamesAndAddsResultsExactlyOnce) {
    const auto [id, secret] = service.open(R"({"name":"3b","kinder":["Mia","Ben"]})");
    const auto seen = client.Get("/api/klassen/" + id);
    EXPECT_EQ(seen->status, 200);
    EXPECT_EQ(seen->body, R"({"kinder":["Mia","Ben"],"name":"3b"})");
    const std::string path = "/api/klassen/" + id + "/ergebnisse";
    const struct {
        std::string body;
        std::string type;
        int status;
    } cases[] = {
        {kResult, "application/json", 201},
        {kResult, "application/json; charset=utf-8", 200},
        {kResult, "text/plain", 415},
        {"{", "application/json", 400},
        {R"({"id":"x"})", "application/json", 400},
        {std::string(70000, ' '), "application/json", 413},
    };
    for (const auto& c : cases) {
        const auto res = client.Post(path, c.body, c.type.c_str());
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, c.status) << c.type << " " << c.body.substr(0, 20);
        EXPECT_EQ(json(res->body).isEmpty(), false);
    }
    EXPECT_EQ(
        client.Post("/api/klassen/aaaaaaaaaaaa/ergebnisse", kResult, "application/json")->status,
        404);
    const auto board = client.Get("/api/klassen/" + id + "/tafel", bearer(secret));
    EXPECT_EQ(json(board->body).value(QLatin1String("stand")).toInt(), 1);
}

TEST(HttpSecretTest, ATeachersRouteWithoutTheRightSecretIsAnsweredLikeAMissingClass) {
    Config config;
    config.rateFactor = 10; // more wrong secrets than one address may try
    Service service(config);
    auto client = service.client();
    const auto [id, secret] = service.open();
    const auto [otherId, otherSecret] = service.open();
    const std::string routes[] = {"/tafel", "/kinder/Mia", "/export.csv"};
    const httplib::Headers wrongs[] = {
        {}, bearer(""), bearer(otherSecret), bearer(secret + "A"), {{"Authorization", secret}}};
    std::string first;
    for (const auto& route : routes) {
        for (const auto& headers : wrongs) {
            const auto res = client.Get("/api/klassen/" + id + route, headers);
            EXPECT_EQ(res->status, 404) << route;
            first = first.empty() ? res->body : first;
            EXPECT_EQ(res->body, first);
        }
        EXPECT_EQ(client.Get("/api/klassen/" + id + route, bearer(secret))->status, 200);
    }
    EXPECT_EQ(client.Delete("/api/klassen/" + id, bearer(otherSecret))->status, 404);
    EXPECT_EQ(client.Get("/api/klassen/" + id + "/tafel", bearer(secret))->status, 200);
    EXPECT_EQ(field(first, "fehler"), "Diese Klasse gibt es nicht.");
}

TEST_F(HttpTest, ManyWrongSecretsFromOneAddressAreSlowedDown) {
    const auto [id, secret] = service.open();
    int refused = 0;
    for (int i = 0; i < 15; ++i) {
        refused += client.Get("/api/klassen/" + id + "/tafel", bearer("falsch"))->status == 429;
    }
    EXPECT_GE(refused, 4);
    EXPECT_EQ(client.Get("/api/klassen/" + id + "/tafel", bearer(secret))->status, 429);
}

TEST_F(HttpTest, TheBoardAnswers304UntilSomethingChanges) {
    const auto [id, secret] = service.open();
    const std::string board = "/api/klassen/" + id + "/tafel";
    const auto before = client.Get(board, bearer(secret));
    const std::string tag = before->get_header_value("ETag");
    EXPECT_EQ(tag, "\"0\"");
    auto headers = bearer(secret);
    headers.emplace("If-None-Match", tag);
    EXPECT_EQ(client.Get(board, headers)->status, 304);
    client.Post("/api/klassen/" + id + "/ergebnisse", kResult, "application/json");
    const auto after = client.Get(board, headers);
    EXPECT_EQ(after->status, 200);
    EXPECT_EQ(after->get_header_value("ETag"), "\"1\"");
}

TEST_F(HttpTest, TheTeacherExportsAndDeletes) {
    const auto [id, secret] = service.open(R"({"name":"3b","kinder":["Mia"]})");
    const std::string base = "/api/klassen/" + id;
    client.Post(base + "/ergebnisse", kResult, "application/json");
    const auto csv = client.Get(base + "/export.csv", bearer(secret));
    EXPECT_EQ(csv->get_header_value("Content-Type"), "text/csv; charset=utf-8");
    EXPECT_EQ(csv->get_header_value("Content-Disposition").rfind("attachment", 0), 0u);
    EXPECT_NE(csv->body.find("Mia;uhr;1;120;gewonnen;"), std::string::npos);
    const auto child = client.Get(base + "/kinder/Mia", bearer(secret));
    EXPECT_EQ(json(child->body).value(QLatin1String("spiele")).toArray().size(), 1);
    EXPECT_EQ(client.Delete(base + "/kinder/Mia", bearer(secret))->status, 204);
    EXPECT_EQ(client.Get(base + "/kinder/Mia", bearer(secret))->body,
              R"({"name":"Mia","spiele":[]})");
    EXPECT_EQ(client.Delete(base, bearer(secret))->status, 204);
    EXPECT_EQ(client.Get(base + "/tafel", bearer(secret))->status, 404);
    EXPECT_EQ(client.Get(base)->status, 404);
}

TEST_F(HttpTest, AClassPastItsTimeIsAnsweredLikeAMissingOne) {
    const auto [id, secret] = service.open(R"({"name":"3b","tage":1})");
    service.now = kNow + 86400;
    EXPECT_EQ(client.Get("/api/klassen/" + id)->status, 404);
    EXPECT_EQ(
        client.Post("/api/klassen/" + id + "/ergebnisse", kResult, "application/json")->status,
        404);
    EXPECT_EQ(client.Get("/api/klassen/" + id + "/tafel", bearer(secret))->status, 404);
}

TEST_F(HttpTest, AFloodOfResultsForOneClassIsAnswered429) {
    const auto [id, secret] = service.open();
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    int refused = 0;
    for (int i = 0; i < 200; ++i) {
        refused += client.Post("/api/klassen/" + id + "/ergebnisse", kResult, "application/json")
                       ->status == 429;
    }
    EXPECT_GT(refused, 50);
}

TEST(HttpPasswordTest, OpeningAClassNeedsTheServersPasswordWhenItHasOne) {
    Config config;
    config.password = "Schulhof";
    config.maxDays = 30;
    Service service(config);
    auto client = service.client();
    EXPECT_EQ(json(client.Get("/api/gesund")->body).value(QLatin1String("passwort")).toBool(),
              true);
    const struct {
        std::string body;
        int status;
    } cases[] = {
        {R"({"name":"3b"})", 403},
        {R"({"name":"3b","passwort":"schulhof"})", 403},
        {R"({"name":"3b","passwort":"Schulhof","tage":31})", 400},
        {R"({"name":"3b","passwort":"Schulhof"})", 201},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(client.Post("/api/klassen", c.body, "application/json")->status, c.status)
            << c.body;
    }
    const auto opened =
        client.Post("/api/klassen", R"({"name":"3b","passwort":"Schulhof"})", "application/json");
    EXPECT_EQ(field(opened->body, "ablauf"), "2027-02-14T08:00:00Z") << "30 days, the most";
}

TEST(HttpSiteTest, TheTeachersPageHasAStrictContentSecurityPolicy) {
    QTemporaryDir site;
    for (const char* name : {"index.html", "lehrer.html"}) {
        QFile file(QDir(site.path()).filePath(QLatin1String(name)));
        file.open(QIODevice::WriteOnly);
        file.write("<!doctype html>");
    }
    Config config;
    config.site = site.path().toStdString();
    Service service(config);
    auto client = service.client();
    const auto teacher = client.Get("/lehrer.html");
    EXPECT_EQ(teacher->status, 200);
    EXPECT_EQ(teacher->get_header_value("Content-Security-Policy").rfind("default-src 'self';", 0),
              0u);
    EXPECT_NE(teacher->get_header_value("Content-Security-Policy").find("frame-ancestors 'none'"),
              std::string::npos);
    EXPECT_EQ(client.Get("/")->status, 200);
    EXPECT_EQ(client.Get("/api/gesund")->status, 200);
}

} // namespace
} // namespace zifferix::service
