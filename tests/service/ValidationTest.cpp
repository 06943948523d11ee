// What a body must be before anything is stored.

#include "Validation.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace zifferix::service {
namespace {

const std::string kProblem =
    R"({"aufgabe":"7 mal 8","antwort":"56","richtig":true,"sekunden":2.4})";

// A valid result with one field replaced (or, with an empty value, left out).
std::string resultWith(const std::string& key = "", const std::string& value = "") {
    const std::pair<std::string, std::string> fields[] = {
        {"id", R"("0b7e1c9a-1234-4abc-8def-0123456789ab")"},
        {"kind", R"("Mia")"},
        {"spiel", R"("uhr")"},
        {"stufe", "1"},
        {"punkte", "120"},
        {"ergebnis", R"("gewonnen")"},
        {"reihe", "false"},
        {"sekunden", "61.5"},
        {"aufgaben", "[" + kProblem + "]"},
    };
    std::string body = "{";
    for (const auto& [name, given] : fields) {
        const std::string& used = name == key ? value : given;
        if (!used.empty()) {
            body += (body.size() > 1 ? "," : "") + ("\"" + name + "\":") + used;
        }
    }
    return body + "}";
}

TEST(ValidationTest, AWellFormedResultIsReadWhole) {
    std::string fehler;
    const auto read = parseResult(resultWith(), fehler);
    ASSERT_TRUE(read) << fehler;
    EXPECT_EQ(read->id, "0b7e1c9a-1234-4abc-8def-0123456789ab");
    EXPECT_EQ(read->child, "Mia");
    EXPECT_EQ(read->game, "uhr");
    EXPECT_EQ(read->level, 1);
    EXPECT_EQ(read->points, 120);
    EXPECT_EQ(read->outcome, Outcome::Won);
    EXPECT_FALSE(read->inRow);
    EXPECT_DOUBLE_EQ(read->seconds, 61.5);
    ASSERT_EQ(read->problems.size(), 1u);
    EXPECT_EQ(read->problems[0].problem, "7 mal 8");
    EXPECT_TRUE(read->problems[0].right);
}

TEST(ValidationTest, EveryFieldOfAResultIsChecked) {
    const struct {
        std::string key;
        std::string value;
        bool accepted;
    } cases[] = {
        {"id", "", false},
        {"id", R"("0B7E1C9A-1234-4ABC-8DEF-0123456789AB")", false},
        {"id", R"("0b7e1c9a-1234-1abc-8def-0123456789ab")", false},
        {"id", R"("0b7e1c9a-1234-4abc-cdef-0123456789ab")", false},
        {"id", "7", false},
        {"kind", R"("")", false},
        {"kind", R"("   ")", false},
        {"kind", R"("Mia\u0007")", false},
        {"kind", R"("Mi\u0085a")", false},
        {"kind", R"("abcdefghijklmnopqrstuvwx")", true},
        {"kind", R"("abcdefghijklmnopqrstuvwxy")", false},
        {"kind", R"("äöüßäöüßäöüßäöüßäöüßäöüß")", true},
        {"kind", R"("<img src=x>")", true},
        {"kind", "[]", false},
        {"spiel", R"("schach")", false},
        {"spiel", R"("zahlen")", true},
        {"stufe", "0", false},
        {"stufe", "3", true},
        {"stufe", "4", false},
        {"stufe", "1.5", false},
        {"stufe", R"("1")", false},
        {"punkte", "-100000", true},
        {"punkte", "100001", false},
        {"punkte", "1e300", false},
        {"punkte", "true", false},
        {"ergebnis", R"("verlassen")", true},
        {"ergebnis", R"("unentschieden")", false},
        {"reihe", "0", false},
        {"reihe", "true", true},
        {"sekunden", "-0.1", false},
        {"sekunden", "86400", true},
        {"sekunden", "86400.5", false},
        {"sekunden", "null", false},
        {"aufgaben", "[]", true},
        {"aufgaben", "{}", false},
        {"aufgaben", "[1]", false},
        {"aufgaben", R"([{"aufgabe":"","antwort":"1","richtig":true,"sekunden":1}])", false},
        {"aufgaben", R"([{"aufgabe":"a","antwort":"","richtig":false,"sekunden":1}])", true},
        {"aufgaben", R"([{"aufgabe":"a","antwort":"1","richtig":1,"sekunden":1}])", false},
        {"aufgaben", R"([{"aufgabe":"a","antwort":"1","richtig":true}])", false},
        {"aufgaben", R"([{"aufgabe":"a","antwort":"1","richtig":true,"sekunden":1,"x":1}])", false},
        {"aufgaben",
         "[" + std::string(R"({"aufgabe":")") + std::string(101, 'a') +
             R"(","antwort":"1","richtig":true,"sekunden":1}])",
         false},
    };
    for (const auto& c : cases) {
        std::string fehler;
        const bool accepted = parseResult(resultWith(c.key, c.value), fehler).has_value();
        EXPECT_EQ(accepted, c.accepted) << c.key << " = " << c.value;
        EXPECT_EQ(fehler.empty(), c.accepted) << c.key << " = " << c.value;
    }
}

TEST(ValidationTest, ABodyThatIsNoResultIsRefusedWithAGermanMessage) {
    std::string many = "[";
    for (int i = 0; i < 501; ++i) {
        many += (i ? "," : "") + kProblem;
    }
    const struct {
        std::string body;
        std::string fehler;
    } cases[] = {
        {"", "Das ist kein gültiges JSON."},
        {"[1]", "Erwartet wird ein JSON-Objekt."},
        {"{\"kind\":\"M\xC3\"}", "Der Text ist kein gültiges UTF-8."},
        {resultWith("spiel", "\"uhr\",\"extra\":1"), "Unbekanntes Feld „extra“."},
        {resultWith("aufgaben", many + "]"), "„aufgaben“ darf höchstens 500 Einträge haben."},
        {resultWith("kind", ""), "Es fehlt das Feld „kind“."},
    };
    for (const auto& c : cases) {
        std::string fehler;
        EXPECT_FALSE(parseResult(c.body, fehler));
        EXPECT_EQ(fehler, c.fehler);
    }
}

TEST(ValidationTest, WhatQtsReaderWouldSmoothOverIsRefused) {
    const std::string twice = R"({"aufgabe":"a","antwort":"1","richtig":true,"richtig":false,)"
                              R"("sekunden":1})";
    const struct {
        std::string body;
        bool accepted;
    } cases[] = {
        {resultWith("kind", R"("Mia","kind":"Ben")"), false},
        {resultWith("kind", R"("Mia","ki\u006ed":"Ben")"), false},
        {resultWith("aufgaben", "[" + twice + "]"), false},
        {resultWith("kind", R"("Mi\ud800")"), false},
        {resultWith("kind", R"("Mi\udc00a")"), false},
        {resultWith("kind", R"("Mi\ud800\u0041")"), false},
        {resultWith("kind", R"("Mi\ud83d\ude00")"), true},
        {resultWith("kind", R"("Mi\\ud800")"), true},
        {resultWith("kind", R"("\"kind\":")"), true},
    };
    for (const auto& c : cases) {
        std::string fehler;
        EXPECT_EQ(parseResult(c.body, fehler).has_value(), c.accepted) << c.body << ": " << fehler;
    }
}

TEST(ValidationTest, ANewClassIsCheckedAndItsNamesTrimmed) {
    const struct {
        std::string body;
        bool accepted;
    } cases[] = {
        {R"({"name":"3b Dienstag"})", true},
        {R"({"name":"  3b  ","kinder":[" Mia ","Ben"],"tage":30,"passwort":"x"})", true},
        {R"({"name":""})", false},
        {R"({"kinder":[]})", false},
        {R"({"name":"3b","kinder":["Mia","Mia "]})", false},
        {R"({"name":"3b","kinder":[""]})", false},
        {R"({"name":"3b","kinder":"Mia"})", false},
        {R"({"name":"3b","tage":0})", false},
        {R"({"name":"3b","tage":2.5})", false},
        {R"({"name":"3b","passwort":5})", false},
        {R"({"name":"3b","lehrer":"X"})", false},
        {"{\"name\":\"" + std::string(61, 'k') + "\"}", false},
    };
    for (const auto& c : cases) {
        std::string fehler;
        EXPECT_EQ(parseClass(c.body, fehler).has_value(), c.accepted) << c.body << ": " << fehler;
    }
    std::string fehler;
    const auto trimmed =
        parseClass(R"({"name":"  3b  ","kinder":[" Mia ","Ben"],"tage":30})", fehler);
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->name, "3b");
    EXPECT_EQ(trimmed->children, (std::vector<std::string>{"Mia", "Ben"}));
    EXPECT_EQ(trimmed->days, 30);
    EXPECT_FALSE(trimmed->password);
}

TEST(ValidationTest, OnlyWellFormedUtf8IsValid) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},
        {"Größe ½ € 𝄞", true},
        {"\xC0\xAF", false},         // overlong '/'
        {"\xE0\x80\xAF", false},     // overlong
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\xF0\x9D\x84", false},     // cut short
        {"\x80", false},             // a lone continuation
        {"a\xFF", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(validUtf8(c.text), c.valid) << c.text;
    }
    EXPECT_EQ(characters("Größe"), 5u);
}

} // namespace
} // namespace zifferix::service
