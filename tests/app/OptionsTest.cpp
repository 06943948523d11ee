#include "app/Options.h"

#include <gtest/gtest.h>

using zifferix::Options;
using zifferix::parseOptions;

namespace {

TEST(CommandLine, TakesAZoomFrom1To4WithAPointOrAComma) {
    EXPECT_EQ(parseOptions({}).action, Options::Action::Run);
    EXPECT_FALSE(parseOptions({}).zoom);
    EXPECT_EQ(parseOptions({"--zoom=1"}).zoom, 1.0);
    EXPECT_EQ(parseOptions({"--zoom=1.5"}).zoom, 1.5);
    EXPECT_EQ(parseOptions({"--zoom", "2,25"}).zoom, 2.25);
    EXPECT_EQ(parseOptions({"--zoom=4"}).zoom, 4.0);
    EXPECT_EQ(parseOptions({"--zoom=2", "--help"}).action, Options::Action::Help);
    EXPECT_EQ(parseOptions({"--version"}).action, Options::Action::Version);
}

TEST(CommandLine, ChoosesAGameAndALevelByTheirNamesInEitherForm) {
    const struct {
        std::vector<std::string_view> arguments;
        zifferix::Choice choice;
    } cases[] = {
        {{"--spiel=waage", "--stufe=normal"}, {4, 1}},
        {{"--spiel", "uhr", "--stufe", "schwer"}, {0, 2}},
        {{"--stufe=leicht", "--spiel", "spiel"}, {7, 0}},
        {{"--spiel=zahlen"}, {6, std::nullopt}},
        {{"--stufe", "normal"}, {std::nullopt, 1}},
        {{"--zoom=2", "--spiel=glas"}, {2, std::nullopt}},
        {{"--mehr-zeit", "--spiel=uhr", "--kontrast"}, {0, std::nullopt, true, true}},
        {{"--vorlesen", "--normale-zeit"}, {std::nullopt, std::nullopt, false, false, true, true}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        const Options options = parseOptions(c.arguments);
        EXPECT_EQ(options.action, Options::Action::Run);
        EXPECT_EQ(options.choice, c.choice);
    }
}

TEST(CommandLine, RefusesAnUnknownGameOrLevelInOneLineThatNamesTheChoices) {
    const struct {
        std::vector<std::string_view> arguments;
        std::string_view names;
    } cases[] = {
        {{"--spiel=schach"}, "uhr, berg, glas, spinne, waage, ballon, zahlen, spiel"},
        {{"--spiel", "Waage"}, "uhr, berg, glas, spinne, waage, ballon, zahlen, spiel"},
        {{"--stufe=voll"}, "leicht, normal, schwer"},
        {{"--spiel=uhr", "--stufe="}, "leicht, normal, schwer"},
    };
    for (const auto& c : cases) {
        const Options options = parseOptions(c.arguments);
        EXPECT_EQ(options.action, Options::Action::Refuse) << c.arguments[0];
        EXPECT_NE(options.error.find(c.names), std::string::npos) << options.error;
        EXPECT_EQ(options.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, HelpNamesEveryGameAndLevel) {
    for (const auto& table :
         {std::vector(zifferix::kGameNames.begin(), zifferix::kGameNames.end()),
          std::vector(zifferix::kLevelNames.begin(), zifferix::kLevelNames.end())}) {
        for (const zifferix::Named& entry : table) {
            EXPECT_NE(zifferix::usage().find(entry.name), std::string::npos) << entry.name;
        }
    }
    EXPECT_NE(zifferix::usage().find("--spiel=SPIEL"), std::string::npos);
    EXPECT_NE(zifferix::usage().find("--stufe=STUFE"), std::string::npos);
}

TEST(CommandLine, RefusesAnUnknownOptionOrABadFactorInOneLine) {
    for (const auto& bad : std::vector<std::vector<std::string_view>>{{"--zoom=0.99"},
                                                                      {"--zoom=4.01"},
                                                                      {"--zoom="},
                                                                      {"--zoom=zwei"},
                                                                      {"--zoom=nan"},
                                                                      {"--zoom=1.5x"},
                                                                      {"--zoom"},
                                                                      {"--spiel"},
                                                                      {"--spielen=uhr"},
                                                                      {"--colour"},
                                                                      {"game"}}) {
        const Options options = parseOptions(bad);
        EXPECT_EQ(options.action, Options::Action::Refuse) << bad[0];
        EXPECT_FALSE(options.error.empty());
        EXPECT_EQ(options.error.find('\n'), std::string::npos);
    }
}

} // namespace

namespace {

using zifferix::ClassAddress;

TEST(ClassLinks, NameTheFolderOfThePageAndTheClassWithOrWithoutIndexHtml) {
    const struct {
        std::string_view link;
        ClassAddress address;
    } cases[] = {
        {"https://schule.example/zifferix/index.html#klasse=abcdefgh2345",
         {"https://schule.example/zifferix/", "abcdefgh2345"}},
        {"https://schule.example/zifferix/#klasse=abcdefgh2345",
         {"https://schule.example/zifferix/", "abcdefgh2345"}},
        {"https://schule.example/zifferix#klasse=abcdefgh2345",
         {"https://schule.example/zifferix/", "abcdefgh2345"}},
        {"http://192.168.1.20:8181/index.html#klasse=zzzzzz777777",
         {"http://192.168.1.20:8181/", "zzzzzz777777"}},
        {"HTTP://Schule.Example#klasse=aaaaaaaaaaaa", {"http://schule.example/", "aaaaaaaaaaaa"}},
        {"http://[::1]:8080/z/index.html?x=1#klasse=aaaaaaaaaaaa",
         {"http://[::1]:8080/z/", "aaaaaaaaaaaa"}},
        {"https://schule.example/index.html#uhr-leicht&klasse=bbbbbbbbbbbb",
         {"https://schule.example/", "bbbbbbbbbbbb"}},
    };
    for (const auto& c : cases) {
        const Options options = parseOptions({"--klasse=" + std::string(c.link)});
        EXPECT_EQ(options.action, Options::Action::Run) << c.link << ": " << options.error;
        ASSERT_TRUE(options.klasse) << c.link;
        EXPECT_EQ(*options.klasse, c.address) << c.link;
    }
    EXPECT_EQ(parseOptions({"--klasse", "https://s.example/#klasse=abcdefgh2345"}).klasse,
              (ClassAddress{"https://s.example/", "abcdefgh2345"}));
    EXPECT_FALSE(parseOptions({"--spiel=uhr"}).klasse);
}

TEST(ClassLinks, ARefusedLinkSaysWhatIsWrongInOneLine) {
    const struct {
        std::string_view link;
        std::string_view problem;
    } cases[] = {
        {"ftp://schule.example/#klasse=abcdefgh2345", "http:// oder https://"},
        {"schule.example/#klasse=abcdefgh2345", "http:// oder https://"},
        {"javascript://x/#klasse=abcdefgh2345", "http:// oder https://"},
        {"https://schule.example/ #klasse=abcdefgh2345", "Leerzeichen"},
        {"https:///zifferix/#klasse=abcdefgh2345", "Rechners"},
        {"https://ich@schule.example/#klasse=abcdefgh2345", "Rechners"},
        {"https://schule.example:99999/#klasse=abcdefgh2345", "Rechners"},
        {"https://schule.example:/#klasse=abcdefgh2345", "Rechners"},
        {"http://[::1/#klasse=abcdefgh2345", "Rechners"},
        {"http://[::1]x/#klasse=abcdefgh2345", "Rechners"},
        {"http://[]/#klasse=abcdefgh2345", "Rechners"},
        {"https://schule.example/links.html#klasse=abcdefgh2345", "index.html"},
        {"https://schule.example/zifferix/", "#klasse="},
        {"https://schule.example/#tafel=abcdefgh2345.geheim", "#klasse="},
        {"https://schule.example/#klasse=abcdefgh234", "12 Zeichen"},
        {"https://schule.example/#klasse=abcdefgh23456", "12 Zeichen"},
        {"https://schule.example/#klasse=ABCDEFGH2345", "12 Zeichen"},
        {"https://schule.example/#klasse=abcdefgh2301", "12 Zeichen"},
        {"https://schule.example/#klasse=", "12 Zeichen"},
    };
    for (const auto& c : cases) {
        const Options options = parseOptions({"--klasse=" + std::string(c.link)});
        EXPECT_EQ(options.action, Options::Action::Refuse) << c.link;
        EXPECT_FALSE(options.klasse) << c.link;
        EXPECT_NE(options.error.find("--klasse"), std::string::npos) << options.error;
        EXPECT_NE(options.error.find(c.problem), std::string::npos) << options.error;
        EXPECT_EQ(options.error.find('\n'), std::string::npos) << options.error;
    }
    EXPECT_EQ(parseOptions({"--klasse"}).action, Options::Action::Refuse);
    EXPECT_NE(zifferix::usage().find("--klasse=LINK"), std::string::npos);
}

} // namespace
