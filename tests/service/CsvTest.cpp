// The export as a spreadsheet opens it.

#include "Csv.h"

#include <gtest/gtest.h>

namespace zifferix::service {
namespace {

TEST(CsvTest, TextCellsThatASpreadsheetWouldComputeGetALeadingQuote) {
    const struct {
        std::string text;
        std::string cell;
    } cases[] = {
        {"Mia", "Mia"},
        {"=1+1", "'=1+1"},
        {"+49", "'+49"},
        {"-5", "'-5"},
        {"@SUMME(A1)", "'@SUMME(A1)"},
        {"\tx", "'\tx"},
        {"\rx", "\"'\rx\""},
        {"a;b", "\"a;b\""},
        {"sag \"hi\"", "\"sag \"\"hi\"\"\""},
        {"zwei\nZeilen", "\"zwei\nZeilen\""},
        {"<img src=x onerror=alert(1)>", "<img src=x onerror=alert(1)>"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(csvText(c.text), c.cell) << c.text;
    }
}

TEST(CsvTest, NumbersHaveADecimalComma) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{2.4, "2,4"}, {3, "3"}, {0, "0"}, {61.25, "61,25"}, {0.1234, "0,123"}};
    for (const auto& c : cases) {
        EXPECT_EQ(csvNumber(c.value), c.text) << c.value;
    }
}

TEST(CsvTest, TheExportHasABomAGermanHeaderAndOneLinePerProblem) {
    ResultBody game;
    game.id = "0b7e1c9a-1234-4abc-8def-0123456789ab";
    game.child = "=Mia";
    game.game = "uhr";
    game.level = 3;
    game.points = -20;
    game.outcome = Outcome::Lost;
    game.problems = {{"7 mal 8", "56", true, 2.4}, {"6 mal 7", "-1", false, 10}};
    ResultBody empty = game;
    empty.child = "Ben";
    empty.problems.clear();
    const std::string csv = csvExport({{game, 0}, {empty, 0}});
    const std::string bom = "\xEF\xBB\xBF";
    ASSERT_EQ(csv.rfind(bom, 0), 0u);
    std::vector<std::string> lines;
    for (std::size_t at = bom.size(); at < csv.size();) {
        const auto end = csv.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every line ends in CRLF";
        lines.push_back(csv.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Kind;Spiel;Stufe;Punkte;Ergebnis;Gespielt am;Aufgabe;Antwort;Richtig;"
                        "Sekunden");
    const std::string when = lines[1].substr(lines[1].find("verloren;") + 9, 19);
    EXPECT_EQ(lines[1], "'=Mia;uhr;3;-20;verloren;" + when + ";7 mal 8;56;ja;2,4");
    EXPECT_EQ(lines[2], "'=Mia;uhr;3;-20;verloren;" + when + ";6 mal 7;'-1;nein;10");
    EXPECT_EQ(lines[3], "Ben;uhr;3;-20;verloren;" + when + ";;;;");
}

} // namespace
} // namespace zifferix::service
