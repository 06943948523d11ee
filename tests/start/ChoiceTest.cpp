// Choosing on the start screen by name, as a link or the command line does: the names table,
// and the start screen's choice made as a child's clicks make it.

#include "start/Choices.h"
#include "support/ProgramHarness.h"

#include <gtest/gtest.h>

#include <set>

using testing_support::ProgramHarness;
using namespace zifferix;

namespace {

// Every game with every level, and every game alone.
std::vector<Choice> everyLink() {
    std::vector<Choice> links;
    for (std::size_t game = 0; game < kGameNames.size(); ++game) {
        links.push_back({game, std::nullopt});
        for (std::size_t level = 0; level < kLevelNames.size(); ++level) {
            links.push_back({game, level});
        }
    }
    return links;
}

TEST(LinkNames, AreShortLowerCaseWordsThatTheTablesHoldOnce) {
    std::set<std::string_view> seen;
    for (const auto& table : {std::vector(kGameNames.begin(), kGameNames.end()),
                              std::vector(kLevelNames.begin(), kLevelNames.end())}) {
        for (const Named& entry : table) {
            EXPECT_TRUE(seen.insert(entry.name).second) << entry.name;
            EXPECT_LE(entry.name.size(), 6u) << entry.name;
            for (char c : entry.name) {
                EXPECT_TRUE(c >= 'a' && c <= 'z') << entry.name;
            }
        }
    }
}

TEST(LinkNames, ReadAGameWithOrWithoutALevelAndWithOrWithoutTheHash) {
    const struct {
        std::string_view link;
        Choice choice;
    } cases[] = {
        {"waage-normal", {4, 1}},
        {"#waage-normal", {4, 1}},
        {"uhr-leicht", {0, 0}},
        {"#spiel-schwer", {7, 2}},
        {"zahlen", {6, std::nullopt}},
        {"#ballon", {5, std::nullopt}},
        {"glas-schwer", {2, 2}},
        {"uhr-leicht-mehrzeit", {0, 0, true, false}},
        {"#glas-kontrast-mehrzeit", {2, std::nullopt, true, true}},
        {"#kontrast", {std::nullopt, std::nullopt, false, true}},
        {"mehrzeit", {std::nullopt, std::nullopt, true, false}},
        {"#waage-normal-vorlesen", {4, 1, false, false, true}},
        {"vorlesen-kontrast", {std::nullopt, std::nullopt, false, true, true}},
        {"uhr-vorlesen-normalzeit", {0, std::nullopt, false, false, true, true}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(choiceOfLink(c.link), c.choice) << c.link;
    }
}

TEST(LinkNames, ReadNothingFromAnUnknownOrHalfName) {
    for (std::string_view link :
         {"", "#", "Waage", "waage-", "waage-voll", "-normal", "normal", "waage-normal-leicht",
          "waage normal", "wa%61ge", "#uhr-5", "mehrzeit-mehrzeit", "leicht-mehrzeit",
          "kontrast-uhr", "uhr-kontrast-leicht", "vorlesen-vorlesen", "#Vorlesen"}) {
        EXPECT_EQ(choiceOfLink(link), std::nullopt) << link;
    }
}

TEST(LinkNames, AreWrittenAsTheyAreRead) {
    for (std::size_t game = 0; game < kGameNames.size(); ++game) {
        EXPECT_EQ(choiceOfLink(linkOf(game)), (Choice{game, std::nullopt}));
        for (std::size_t level = 0; level < kLevelNames.size(); ++level) {
            EXPECT_EQ(choiceOfLink("#" + linkOf(game, level)), (Choice{game, level}));
        }
    }
    EXPECT_EQ(linkOf(4, 1), "waage-normal");
}

// The start screen's options in the names' order, and which of them are chosen.
std::vector<forms::OptionButton*> gameOptions(frmstart& s) {
    return {&s.opt1, &s.opt2, &s.opt3, &s.opt4, &s.opt5, &s.opt6, &s.opt8, &s.opt10};
}
std::vector<forms::OptionButton*> levelOptions(frmstart& s) {
    return {&s.optEinfach, &s.optMittel, &s.optSchwer};
}
std::vector<bool> values(const std::vector<forms::OptionButton*>& options) {
    std::vector<bool> chosen;
    for (const forms::OptionButton* option : options) {
        chosen.push_back(option->Value());
    }
    return chosen;
}
std::vector<bool> only(std::size_t count, std::optional<std::size_t> chosen) {
    std::vector<bool> expected(count, false);
    if (chosen) {
        expected[*chosen] = true;
    }
    return expected;
}

TEST(ChoosingEveryName, ChoosesItsGameAndLevelAsClicksWouldWithTheFocusOnTheStartButton) {
    for (const Choice& link : everyLink()) {
        ProgramHarness h;
        h.run();
        frmstart& s = h.start();
        const std::string name = linkOf(*link.game, link.level);
        ASSERT_TRUE(h.program.choose(link)) << name;
        EXPECT_EQ(values(gameOptions(s)), only(8, link.game)) << name;
        EXPECT_EQ(values(levelOptions(s)), only(3, link.level)) << name;
        EXPECT_EQ(h.shared().Schwierigkeit, link.level ? *link.level + 1 : 0) << name;
        EXPECT_EQ(s.ActiveControl(), &s.cmdAnfang) << name;
        EXPECT_EQ(h.active(), &s) << name << ": nothing starts by itself";
    }
}

class ChoosingByName : public ::testing::Test {
  protected:
    ProgramHarness h;
    frmstart& s = h.start();

    void SetUp() override { h.run(); }
    bool choose(std::string_view link) { return h.program.choose(*choiceOfLink(link)); }
};

TEST_F(ChoosingByName, OnePressThenStartsTheChosenGameAtTheChosenLevel) {
    ASSERT_TRUE(choose("waage-normal"));
    h.type("\r");
    EXPECT_EQ(h.active(), &h.program.screen(Game::Waage));
    EXPECT_EQ(h.shared().Schwierigkeit, 2);
    EXPECT_EQ(h.shared().AllesHintereinander, 0);
}

TEST_F(ChoosingByName, TheRowStartsWithTheClockRace) {
    ASSERT_TRUE(choose("spiel-schwer"));
    h.click(s.cmdAnfang);
    EXPECT_EQ(h.active(), &h.program.screen(Game::Uhr));
    EXPECT_EQ(h.shared().AllesHintereinander, 1);
    EXPECT_EQ(h.shared().Schwierigkeit, 3);
}

TEST_F(ChoosingByName, AGameAloneLeavesTheLevelToTheChild) {
    h.click(s.optSchwer);
    ASSERT_TRUE(choose("berg"));
    EXPECT_EQ(values(gameOptions(s)), only(8, 1));
    EXPECT_EQ(values(levelOptions(s)), only(3, 2)) << "the child's level stays";
    h.click(s.cmdAnfang);
    EXPECT_EQ(h.active(), &h.program.screen(Game::Berg));
}

TEST_F(ChoosingByName, AnotherChoiceReplacesTheLastOne) {
    choose("uhr-schwer");
    choose("glas-leicht");
    EXPECT_EQ(values(gameOptions(s)), only(8, 2));
    EXPECT_EQ(values(levelOptions(s)), only(3, 0));
    EXPECT_EQ(h.shared().Schwierigkeit, 1);
}

TEST_F(ChoosingByName, ChoosesNothingWhileAGameOrAMessageIsInFront) {
    h.fakes.messageBox.holdOpen = true; // open after its handler, as in the browser
    h.click(s.cmdAnfang);               // no level: the message
    ASSERT_TRUE(h.runtime.messageOpen());
    EXPECT_FALSE(choose("waage-normal"));
    h.fakes.messageBox.dismiss();
    EXPECT_EQ(values(gameOptions(s)), only(8, std::nullopt));

    h.startGame(s.opt2, s.optMittel);
    EXPECT_FALSE(choose("waage-leicht"));
    EXPECT_EQ(h.active(), &h.program.screen(Game::Berg));
    EXPECT_EQ(values(levelOptions(s)), only(3, std::nullopt));
}

} // namespace

// A problem read aloud takes time to hear: reading aloud gives more time, unless the link asks
// for the normal time; more time asked for is more time.
TEST(LinkNames, ReadingAloudGivesMoreTimeUnlessTheLinkAsksForTheNormal) {
    const std::pair<std::string_view, bool> cases[] = {
        {"uhr-vorlesen", true},
        {"uhr-vorlesen-normalzeit", false},
        {"uhr-mehrzeit-normalzeit", true},
        {"uhr-leicht", false},
    };
    for (const auto& [link, more] : cases) {
        EXPECT_EQ(choiceOfLink(link)->givesMoreTime(), more) << link;
    }
}
