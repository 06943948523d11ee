// Random clicks, keys, time and closed windows over every screen, for many thousand events.
// Now and then the monkey answers right, as a child reading the screen would, so that it also
// wins games and hands over in the row. Nothing may crash, hang or leak, and the shared state
// and the points table must stay sound. Run under AddressSanitizer and UBSan in its preset.

#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

#include "support/Storm.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>

using namespace testing_support;
using zifferix::Game;

namespace {

class Monkey {
  public:
    Monkey(unsigned seed, int screenWidth) : dice_(seed), screenWidth_(screenWidth) { restart(); }

    void play(int events) {
        for (int i = 0; i < events; ++i) {
            step();
            check();
            noteReached();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }

    int restarts = 0;
    int wins = 0;
    // Each game and the row (as game 7) by the level it was played at.
    std::set<std::pair<int, int>> reached;

  private:
    void restart() {
        h_ = std::make_unique<ProgramHarness>(screenWidth_);
        h_->random().generator.seed(dice_());
        h_->run();
        ++restarts;
    }

    int roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(dice_); }

    void step() {
        ProgramHarness& h = *h_;
        if (h.runtime.ended()) {
            restart();
            return;
        }
        forms::Form* form = h.active();
        ASSERT_NE(form, nullptr);
        const int what = roll(100);
        if (what < 20) {
            const auto& controls = form->controls();
            h.click(*controls[static_cast<std::size_t>(roll(static_cast<int>(controls.size())))]);
        } else if (what < 40) {
            static constexpr int kKeys[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
                                            13,  13,  8,   ',', '.', '-', 'a', ' ', 22,  0xE4};
            h.runtime.keyPress(kKeys[roll(std::size(kKeys))]);
        } else if (what < 45) {
            h.runtime.navigate(static_cast<forms::Navigation>(roll(6)));
        } else if (what < 47) {
            static constexpr char32_t kLetters[] = {U'l', U's', U'h', U'x', U'a'};
            h.runtime.mnemonic(kLetters[roll(std::size(kLetters))]);
        } else if (what < 48) {
            // The start screen's close box ends the program; rarely let the child do it.
            if (form != &h.start() || roll(20) == 0) {
                h.runtime.close(*form);
            }
        } else if (what < 52 && form == &h.start()) {
            showGame(h, zifferix::kRow[roll(zifferix::kRow.size())],
                     static_cast<Level>(roll(3) + 1), roll(2) == 0);
        } else if (what < 80) {
            answerRight(h, *form);
        } else {
            h.advance(roll(4) == 0 ? roll(30000) : roll(300));
        }
    }

    void answerRight(ProgramHarness& h, forms::Form& form) {
        const forms::Integer bestBefore = total(h);
        if (const std::optional<std::string> answer = answerFor(h.program, form)) {
            h.type(*answer + "\r");
        }
        wins += total(h) != bestBefore ? 1 : 0;
    }

    void noteReached() {
        ProgramHarness& h = *h_;
        if (h.runtime.ended()) {
            return;
        }
        const zifferix::Module1& shared = h.shared();
        const std::optional<Game> game = gameOf(h.program, h.active());
        if (game && shared.Schwierigkeit >= 1 && shared.Schwierigkeit <= 3) {
            reached.emplace(shared.AllesHintereinander == 1 ? 7 : static_cast<int>(*game),
                            shared.Schwierigkeit);
        }
    }

    static forms::Integer total(ProgramHarness& h) {
        return static_cast<forms::Integer>(forms::Val(h.start().lblGesamt.Caption));
    }

    void check() {
        ProgramHarness& h = *h_;
        if (h.runtime.ended()) {
            return;
        }
        const zifferix::Module1& shared = h.shared();
        ASSERT_GE(shared.Schwierigkeit, 0);
        ASSERT_LE(shared.Schwierigkeit, 3);
        ASSERT_TRUE(shared.AllesHintereinander == 0 || shared.AllesHintereinander == 1);
        ASSERT_GT(shared.Punkte, -2000);
        ASSERT_LT(shared.Punkte, 2000);
        ASSERT_NE(h.active(), nullptr);

        zifferix::frmstart& s = h.start();
        double sum = 0;
        for (forms::Label* points : {&s.lblPunkte1, &s.lblPunkte2, &s.lblPunkte3, &s.lblPunkte4,
                                     &s.lblPunkte5, &s.lblPunkte6, &s.lblPunkte8, &s.lblPunkte10}) {
            ASSERT_GE(forms::Val(points->Caption), 0);
            sum += forms::Val(points->Caption);
        }
        if (h.active() == &s) {
            ASSERT_EQ(s.lblGesamt.Caption, forms::CStr(sum));
            ASSERT_FALSE(h.runtime.animating()) << "the start screen stands still";
            ASSERT_EQ(s.cmdEnde.Left, layout(1500, 1069));
            // Every game has put its design layout back before it was left.
            auto& spider = static_cast<zifferix::frmNetz&>(h.program.screen(Game::Netz));
            ASSERT_EQ(spider.Image2.placement(), (forms::Placement{4545, 3705, 2865, 3240}));
            ASSERT_EQ(spider.ln5.segment(), (forms::Segment{11220, -165, 6015, 5190}));
            auto& balance = static_cast<zifferix::frmwaage&>(h.program.screen(Game::Waage));
            ASSERT_EQ(balance.cmdEnde.placement(), (forms::Placement{13710, 9735, 1230, 555}));
            ASSERT_EQ(balance.Label1.Left, 11835);
            auto& clock = static_cast<zifferix::frmUhr&>(h.program.screen(Game::Uhr));
            ASSERT_EQ(clock.start.Left, 6360);
            ASSERT_EQ(clock.Image2.Left, 2903);
            auto& mountain = static_cast<zifferix::frmBerg&>(h.program.screen(Game::Berg));
            ASSERT_EQ(mountain.txtEing.placement(), (forms::Placement{5295, 1785, 2415, 735}));
            ASSERT_EQ(mountain.ln4.segment(), (forms::Segment{10000, 7000, 14000, 5000}));
        }
        auto& glass = static_cast<zifferix::frmbruchteile&>(h.program.screen(Game::Bruchteile));
        ASSERT_GE(glass.shpGlas.Height, 0);
        ASSERT_LE(glass.shpGlas.Height, 6000);
        auto& balloon = static_cast<zifferix::frmBallon&>(h.program.screen(Game::Ballon));
        ASSERT_GE(balloon.shpBall.Width, 20);
        ASSERT_LE(balloon.shpBall.Width, 2392);
        auto& fly = static_cast<zifferix::frmWander&>(h.program.screen(Game::Wander));
        if (h.active() == &fly) {
            for (forms::Label* n : {&fly.lblZahl1, &fly.lblZahl2, &fly.lblZahl3}) {
                ASSERT_GT(n->Left, -500);
                ASSERT_LT(n->Left, fly.ScaleWidth + 500);
            }
        }
    }

    int layout(int large, int small) const { return screenWidth_ <= kSmallScreen ? small : large; }

    std::mt19937 dice_;
    int screenWidth_;
    std::unique_ptr<ProgramHarness> h_;
};

constexpr int kRound = 25000;

class MonkeyRun : public ::testing::TestWithParam<std::tuple<unsigned, int>> {};

TEST_P(MonkeyRun, ThousandsOfRandomEventsNeverBreakTheProgram) {
    const auto [seed, width] = GetParam();
    Monkey monkey(seed, width);
    monkey.play(kRound);
    RecordProperty("wins", monkey.wins);
    EXPECT_GT(monkey.wins, 0) << "the monkey should also reach the ends of games";
}

INSTANTIATE_TEST_SUITE_P(Seeds, MonkeyRun,
                         ::testing::Combine(::testing::Values(1u, 2u, 3u, 4u),
                                            ::testing::Values(kLargeScreen, kSmallScreen)));

// For as long as bench/storm.sh asks (ZIFFERIX_STORM_SECONDS), seed after seed on both screens;
// between two monkeys the memory in use comes back to where it was.
TEST(LongMonkeyRun, RandomEventsForAsLongAsAskedNeverBreakTheProgram) {
    const int seconds = stormSeconds();
    if (seconds == 0) {
        GTEST_SKIP() << "only for as long as ZIFFERIX_STORM_SECONDS asks";
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    const unsigned first = stormSeed();
    std::set<std::pair<int, int>> reached;
    StormReport report{"desktop", first};
    for (unsigned seed = first; std::chrono::steady_clock::now() < end; ++seed) {
        int wins = 0;
        {
            Monkey monkey(seed, seed % 2 == 0 ? kLargeScreen : kSmallScreen);
            monkey.play(kRound);
            ASSERT_FALSE(HasFatalFailure()) << "repeat with ZIFFERIX_SEED=" << seed;
            reached.insert(monkey.reached.begin(), monkey.reached.end());
            wins = monkey.wins;
        }
        report.round(kRound, wins);
    }
    report.finish(reached.size());
    EXPECT_EQ(reached.size(), 24u) << "every game at every level and the row";
    EXPECT_LE(report.heapLast, report.heapFirst + report.heapFirst / 10) << "memory in use";
}

} // namespace
