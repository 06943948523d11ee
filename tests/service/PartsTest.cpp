// The small parts at the edge: settings, origins, limits, secrets.

#include "Config.h"
#include "Limits.h"
#include "Origin.h"
#include "Secrets.h"
#include "Validation.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace zifferix::service {
namespace {

Environment fakeEnvironment(std::map<std::string, std::string> variables,
                            std::map<std::string, std::string> files) {
    return {[variables](const std::string& name) -> std::optional<std::string> {
                const auto found = variables.find(name);
                return found == variables.end() ? std::nullopt
                                                : std::optional<std::string>(found->second);
            },
            [files](const std::string& path) -> std::optional<std::string> {
                const auto found = files.find(path);
                return found == files.end() ? std::nullopt
                                            : std::optional<std::string>(found->second);
            }};
}

TEST(ConfigTest, TheCommandLineWinsOverTheFileWhichWinsOverTheDefaults) {
    const auto env = fakeEnvironment(
        {{"HOME", "/home/l"}},
        {{kDefaultConfigFile, "# Schule\nmax_days = 200\npassword = geheim # Admin\n"
                              "listen = 0.0.0.0:9000\n"}});
    std::string error;
    const auto fromFile = configure({}, env, error);
    ASSERT_TRUE(fromFile) << error;
    EXPECT_EQ(fromFile->maxDays, 200);
    EXPECT_EQ(fromFile->password, "geheim");
    EXPECT_EQ(fromFile->host, "0.0.0.0");
    EXPECT_EQ(fromFile->port, 9000);
    EXPECT_EQ(fromFile->stateDir, "/home/l/.local/state/zifferix-klassen");
    const auto overridden =
        configure({"--max-days=30", "--listen=127.0.0.1:0", "--state=/tmp/s"}, env, error);
    ASSERT_TRUE(overridden) << error;
    EXPECT_EQ(overridden->maxDays, 30);
    EXPECT_EQ(overridden->port, 0);
    EXPECT_EQ(overridden->stateDir, "/tmp/s");
}

TEST(ConfigTest, TheStateFolderFollowsSystemdThenXdg) {
    const struct {
        std::map<std::string, std::string> variables;
        std::string dir;
    } cases[] = {
        {{{"STATE_DIRECTORY", "/var/lib/zifferix-klassen"}, {"HOME", "/h"}},
         "/var/lib/zifferix-klassen"},
        {{{"XDG_STATE_HOME", "/x"}, {"HOME", "/h"}}, "/x/zifferix-klassen"},
        {{{"HOME", "/h"}}, "/h/.local/state/zifferix-klassen"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(configure({}, fakeEnvironment(c.variables, {}), error)->stateDir, c.dir);
    }
}

TEST(ConfigTest, WrongSettingsAreRefused) {
    const struct {
        std::vector<std::string> arguments;
        std::string file;
    } cases[] = {
        {{"--max-days=0"}, ""},
        {{"--max-days=x"}, ""},
        {{"--listen=8080"}, ""},
        {{"--listen=h:70000"}, ""},
        {{"--frei=1"}, ""},
        {{"stray"}, ""},
        {{"--rate-limit=-1"}, ""},
        {{"--config=/nicht/da"}, ""},
        {{}, "max_days = viele\n"},
        {{}, "site = /srv\n"},
        {{}, "kein gleichheitszeichen\n"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto env = fakeEnvironment({}, {{kDefaultConfigFile, c.file}});
        EXPECT_FALSE(configure(c.arguments, env, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(OriginTest, OnlyTheSitesOwnPagesAreAccepted) {
    const struct {
        std::string origin;
        std::string host;
        std::string forwarded;
        bool same;
    } cases[] = {
        {"http://schule.example", "schule.example", "", true},
        {"https://schule.example", "schule.example:443", "", true},
        {"http://SCHULE.example:8181", "schule.example:8181", "", true},
        {"http://schule.example:8181", "schule.example:8182", "", false},
        {"https://schule.example", "127.0.0.1:8181", "schule.example", true},
        {"https://boese.example", "127.0.0.1:8181", "schule.example", false},
        {"https://boese.example", "schule.example", "", false},
        {"null", "schule.example", "", false},
        {"https://schule.example.boese.example", "schule.example", "", false},
        {"https://x@schule.example", "schule.example", "", false},
        {"https://schule.example", "", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sameSite(c.origin, c.host, c.forwarded), c.same) << c.origin << " " << c.host;
    }
}

TEST(OriginTest, ThePeerCountsUnlessItIsTheProxyOnThisMachine) {
    EXPECT_EQ(clientAddress("10.0.0.5", "1.2.3.4"), "10.0.0.5");
    EXPECT_EQ(clientAddress("127.0.0.1", "1.2.3.4, 10.1.1.1"), "10.1.1.1");
    EXPECT_EQ(clientAddress("::1", ""), "::1");
}

TEST(LimitsTest, ABucketEmptiesAndRefillsWithTime) {
    Buckets buckets(2, 3);
    const auto start = Buckets::Clock::time_point{} + std::chrono::hours(1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(buckets.take("a", start));
    }
    EXPECT_FALSE(buckets.take("a", start));
    EXPECT_FALSE(buckets.has("a", start));
    EXPECT_TRUE(buckets.take("b", start)) << "another key has its own bucket";
    EXPECT_TRUE(buckets.take("a", start + std::chrono::milliseconds(500)));
    EXPECT_FALSE(buckets.take("a", start + std::chrono::milliseconds(500)));
}

TEST(LimitsTest, AFloodOfKeysKeepsTheMemoryBounded) {
    Buckets buckets(1, 2, 100);
    const auto start = Buckets::Clock::time_point{} + std::chrono::hours(1);
    for (int i = 0; i < 10000; ++i) {
        buckets.take("10.0." + std::to_string(i), start + std::chrono::milliseconds(i));
    }
    EXPECT_LE(buckets.keys(), 100u);
}

TEST(LimitsTest, AFactorOfZeroLiftsTheLimits) {
    Limits limits(0);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_TRUE(limits.perAddress.take("a"));
    }
}

TEST(SecretsTest, IdsAndSecretsHaveTheirFormAndDiffer) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string id = newClassId();
        const std::string secret = newSecret();
        EXPECT_TRUE(isClassId(id)) << id;
        EXPECT_EQ(secret.size(), 43u);
        EXPECT_EQ(secret.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                           "0123456789-_"),
                  std::string::npos);
        EXPECT_TRUE(seen.insert(id).second);
        EXPECT_TRUE(seen.insert(secret).second);
    }
}

TEST(SecretsTest, TheHashIsSha256AndTheComparisonExact) {
    EXPECT_EQ(sha256Hex("alt"), "4d48fba6cf5f7d6abfb35e695f453297870a7a56568ceae968f06d04701b0047");
    EXPECT_TRUE(sameInConstantTime("abc", "abc"));
    EXPECT_FALSE(sameInConstantTime("abc", "abd"));
    EXPECT_FALSE(sameInConstantTime("abc", "ab"));
    EXPECT_FALSE(sameInConstantTime("", "a"));
}

} // namespace
} // namespace zifferix::service
