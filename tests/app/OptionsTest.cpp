#include "Options.h"

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

TEST(CommandLine, RefusesAnUnknownOptionOrABadFactorInOneLine) {
    for (const auto& bad : std::vector<std::vector<std::string_view>>{{"--zoom=0.99"},
                                                                      {"--zoom=4.01"},
                                                                      {"--zoom="},
                                                                      {"--zoom=zwei"},
                                                                      {"--zoom=nan"},
                                                                      {"--zoom=1.5x"},
                                                                      {"--zoom"},
                                                                      {"--colour"},
                                                                      {"game"}}) {
        const Options options = parseOptions(bad);
        EXPECT_EQ(options.action, Options::Action::Refuse) << bad[0];
        EXPECT_FALSE(options.error.empty());
        EXPECT_EQ(options.error.find('\n'), std::string::npos);
    }
}

} // namespace
