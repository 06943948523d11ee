// A game's result as the class service takes it: well-formed JSON whatever the names hold.

#include "start/ClassResults.h"
#include "support/Json.h"

#include <gtest/gtest.h>

using testing_support::Json;
using zifferix::Game;
using zifferix::GameEnd;
using zifferix::GameResult;
using zifferix::resultJson;

namespace {

GameResult aResult() {
    return {.game = Game::Netz,
            .level = 2,
            .points = 35,
            .end = GameEnd::Won,
            .inRow = false,
            .seconds = 61.5,
            .problems = {{"7 mal 8", "56", true, 2.4}, {"12 mal 3", "35", false, 3}}};
}

TEST(ResultJson, HoldsTheResultAsTheServiceTakesIt) {
    EXPECT_EQ(resultJson(aResult(), "Mia"),
              R"({"kind":"Mia","spiel":"spinne","stufe":2,"punkte":35,"ergebnis":"gewonnen",)"
              R"("reihe":false,"sekunden":61.5,"aufgaben":[)"
              R"({"aufgabe":"7 mal 8","antwort":"56","richtig":true,"sekunden":2.4},)"
              R"({"aufgabe":"12 mal 3","antwort":"35","richtig":false,"sekunden":3}]})")
        << "without an id: the view adds its own";
}

// Every text is escaped so that it reads back as it was; what is no UTF-8 reads as U+FFFD.
struct Escape {
    const char* text;
    const char* written; // as it stands in the body
    const char* readBack;
};
const Escape kEscapes[] = {
    {"Mia", R"("Mia")", "Mia"},
    {"Jürgen Öztürk-Weiß", "\"Jürgen Öztürk-Weiß\"", "Jürgen Öztürk-Weiß"},
    {"say \"hi\"", R"("say \"hi\"")", "say \"hi\""},
    {"back\\slash", R"("back\\slash")", "back\\slash"},
    {"tab\there", R"("tab\u0009here")", "tab\there"},
    {"line\nbreak\r", R"("line\u000abreak\u000d")", "line\nbreak\r"},
    {"\x01\x1f\x7f", R"("\u0001\u001f\u007f")", "\x01\x1f\x7f"},
    {"<b onclick=alert(1)>", R"("<b onclick=alert(1)>")", "<b onclick=alert(1)>"},
    {"=1+1", R"("=1+1")", "=1+1"},
    {"😀 €", "\"😀 €\"", "😀 €"},
    {"broken \xC3(", "\"broken \xEF\xBF\xBD(\"", "broken \xEF\xBF\xBD("},
    {"\xFF\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"",
     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
};

TEST(ResultJson, EscapesQuotesBackslashesAndControlCharactersAndPassesUtf8Through) {
    for (const Escape& e : kEscapes) {
        SCOPED_TRACE(e.text);
        GameResult r = aResult();
        r.problems = {{e.text, e.text, false, 1}};
        const std::string json = resultJson(r, e.text);
        EXPECT_NE(json.find(std::string("{\"kind\":") + e.written + ","), std::string::npos)
            << json;
        const std::optional<Json> read = Json::read(json);
        ASSERT_TRUE(read.has_value()) << json;
        EXPECT_EQ((*read)["kind"].text(), e.readBack);
        EXPECT_EQ((*read)["aufgaben"][0]["aufgabe"].text(), e.readBack);
    }
}

// Seconds to a tenth with a point, in the service's range, whatever the locale.
struct Seconds {
    double seconds;
    const char* written;
};
const Seconds kSeconds[] = {
    {0, "0"},         {61.5, "61.5"},   {2.44, "2.4"},         {2.46, "2.5"},
    {1.96, "2"},      {0.04, "0"},      {12345.67, "12345.7"}, {-3, "0"},
    {86400, "86400"}, {90000, "86400"}, {std::nan(""), "0"},   {1e300, "86400"},
};

TEST(ResultJson, WritesSecondsToATenthWithAPoint) {
    for (const Seconds& s : kSeconds) {
        GameResult r = aResult();
        r.seconds = s.seconds;
        r.problems = {{"1 mal 1", "1", true, s.seconds}};
        const std::string json = resultJson(r, "Mia");
        EXPECT_NE(json.find(std::string("\"reihe\":false,\"sekunden\":") + s.written + ","),
                  std::string::npos)
            << s.seconds << ": " << json;
        EXPECT_NE(json.find(std::string("\"richtig\":true,\"sekunden\":") + s.written + "}"),
                  std::string::npos)
            << s.seconds << ": " << json;
    }
}

// Nothing is refused for its size: names, problems and answers are cut where the service's
// limits are, and the most problems it takes are sent.
TEST(ResultJson, KeepsToTheServicesLimits) {
    GameResult r = aResult();
    r.problems.assign(520, {std::string(130, 'x'), std::string(40, '9'), true, 1});
    r.points = 32000;
    r.level = 7;
    const Json json = *Json::read(resultJson(r, std::string(30, 'a')));
    EXPECT_EQ(json["kind"].text(), std::string(24, 'a'));
    EXPECT_EQ(json["aufgaben"].array().size(), 500u);
    EXPECT_EQ(json["aufgaben"][0]["aufgabe"].text(), std::string(100, 'x'));
    EXPECT_EQ(json["aufgaben"][0]["antwort"].text(), std::string(24, '9'));
    EXPECT_EQ(json["stufe"].number(), 3);

    std::string umlauts;
    for (int i = 0; i < 30; ++i) {
        umlauts += "ü";
    }
    const Json cut = *Json::read(resultJson(r, umlauts));
    EXPECT_EQ(forms::utf8::characterCount(cut["kind"].text()), 24u) << "characters, not bytes";
}

} // namespace
