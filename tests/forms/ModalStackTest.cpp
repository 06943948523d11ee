#include "TestForm.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

using testing_support::FakeServices;
using testing_support::TestForm;

namespace {

class ModalStack : public ::testing::Test {
  protected:
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    std::vector<std::string> log;
    TestForm start{runtime, "start", &log};
    TestForm a{runtime, "a", &log};
    TestForm b{runtime, "b", &log};
    TestForm c{runtime, "c", &log};

    void SetUp() override { runtime.start(start); }
};

TEST_F(ModalStack, ShowActivatesAtOnceAndTheCallerGoesOnOnlyWhenTheFormHides) {
    start.ok.onClick = [&] { a.Show([&] { log.push_back("start goes on"); }); };
    runtime.click(start.ok);
    EXPECT_EQ(runtime.activeForm(), &a);
    EXPECT_EQ(log, (std::vector<std::string>{"activate start", "activate a"}));

    a.ok.onClick = [&] {
        a.Hide();
        log.push_back("rest of the handler");
    };
    runtime.click(a.ok);
    EXPECT_EQ(log, (std::vector<std::string>{"activate start", "activate a", "rest of the handler",
                                             "start goes on", "activate start"}));
    EXPECT_EQ(runtime.activeForm(), &start);
}

TEST_F(ModalStack, ANestedRowUnwindsFromTheTopWithoutActivatingTheFormsOnTheWay) {
    start.ok.onClick = [&] { a.Show([&] { log.push_back("start resumes"); }); };
    a.ok.onClick = [&] { b.Show([&] { a.Hide(); }); };
    b.ok.onClick = [&] { c.Show([&] { b.Hide(); }); };
    runtime.click(start.ok);
    runtime.click(a.ok);
    runtime.click(b.ok);
    ASSERT_EQ(runtime.activeForm(), &c);
    log.clear();

    runtime.run([&] { c.Hide(); });

    EXPECT_EQ(log, (std::vector<std::string>{"start resumes", "activate start"}));
    EXPECT_EQ(a.activations, 1);
    EXPECT_EQ(b.activations, 1);
    EXPECT_FALSE(a.Visible());
    EXPECT_FALSE(b.Visible());
    EXPECT_EQ(runtime.activeForm(), &start);
}

TEST_F(ModalStack, AFormThatHidesAndThenShowsTheNextInOneHandlerWaitsForIt) {
    start.ok.onClick = [&] { a.Show([&] { log.push_back("start resumes"); }); };
    a.ok.onClick = [&] {
        a.Hide();
        b.Show([&] { a.Hide(); });
    };
    runtime.click(start.ok);
    runtime.click(a.ok);
    EXPECT_EQ(runtime.activeForm(), &b);
    EXPECT_FALSE(a.Visible());
    log.clear();

    runtime.run([&] { b.Hide(); });
    EXPECT_EQ(log, (std::vector<std::string>{"start resumes", "activate start"}));
}

TEST_F(ModalStack, AFormLeftVisibleOnTopIsActivatedAgain) {
    start.ok.onClick = [&] { a.Show(); };
    a.ok.onClick = [&] { b.Show([&] { log.push_back("a resumes"); }); };
    runtime.click(start.ok);
    runtime.click(a.ok);
    log.clear();

    runtime.run([&] { b.Hide(); });
    EXPECT_EQ(log, (std::vector<std::string>{"a resumes", "activate a"}));
    EXPECT_EQ(runtime.activeForm(), &a);
    EXPECT_EQ(start.activations, 1);
}

TEST_F(ModalStack, AFormHiddenBeneathAnotherWaitsUntilThatOneHides) {
    start.ok.onClick = [&] { a.Show([&] { log.push_back("start resumes"); }); };
    a.ok.onClick = [&] { b.Show([&] { log.push_back("a's continuation"); }); };
    runtime.click(start.ok);
    runtime.click(a.ok);
    log.clear();

    runtime.run([&] { a.Hide(); });
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(runtime.activeForm(), &b);

    runtime.run([&] { b.Hide(); });
    EXPECT_EQ(log,
              (std::vector<std::string>{"a's continuation", "start resumes", "activate start"}));
}

TEST_F(ModalStack, AFormThatHidesWhenActivatedReturnsAtOnce) {
    a.onActivate = [&] { a.Hide(); };
    start.ok.onClick = [&] { a.Show([&] { log.push_back("start resumes"); }); };
    runtime.click(start.ok);
    EXPECT_EQ(log, (std::vector<std::string>{"activate start", "activate a", "start resumes",
                                             "activate start"}));
    EXPECT_EQ(runtime.activeForm(), &start);
}

TEST_F(ModalStack, OnlyTheTopFormTakesInput) {
    int clicks = 0;
    start.other.onClick = [&] { ++clicks; };
    start.ok.onClick = [&] { a.Show(); };
    runtime.click(start.ok);

    runtime.click(start.other);
    runtime.close(start);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(start.Visible());
}

TEST_F(ModalStack, ShowingAFormThatIsAlreadyOpenDoesNothing) {
    start.ok.onClick = [&] { a.Show(); };
    a.ok.onClick = [&] { a.Show([&] { log.push_back("never"); }); };
    runtime.click(start.ok);
    runtime.click(a.ok);
    EXPECT_EQ(a.activations, 1);
    runtime.run([&] { a.Hide(); });
    EXPECT_EQ(std::count(log.begin(), log.end(), "never"), 0);
    EXPECT_EQ(runtime.activeForm(), &start);
}

TEST_F(ModalStack, TheCloseBoxHidesAFormUnlessTheFormSaysOtherwise) {
    start.ok.onClick = [&] { a.Show([&] { log.push_back("start resumes"); }); };
    runtime.click(start.ok);
    runtime.close(a);
    EXPECT_FALSE(a.Visible());
    EXPECT_EQ(runtime.activeForm(), &start);
}

TEST_F(ModalStack, EndStopsTheProgramAtOnce) {
    int clicks = 0;
    int ticks = 0;
    start.other.onClick = [&] { ++clicks; };
    start.timer.Interval = 100;
    start.timer.onTimer = [&] { ++ticks; };
    runtime.run([&] { start.timer.Enabled = true; });
    start.ok.onClick = [&] { start.quit(); };

    runtime.click(start.ok);

    EXPECT_TRUE(runtime.ended());
    EXPECT_EQ(fakes.programEnd.calls, 1);
    EXPECT_FALSE(runtime.animating());
    runtime.click(start.other);
    runtime.advance(1000);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ticks, 0);
}

// A browser's message is still open when its handler has returned: until the child dismisses
// it, nothing is clicked or typed and no time passes; then the handler's rest runs.
TEST_F(ModalStack, AMessageStillOpenAfterItsHandlerHoldsInputAndTimeUntilDismissed) {
    fakes.messageBox.holdOpen = true;
    int ticks = 0;
    runtime.run([&] {
        start.timer.Interval = 100;
        start.timer.Enabled = true;
        start.timer.onTimer = [&] { ++ticks; };
    });
    start.ok.onClick = [&] { start.message("Halt", [&] { log.push_back("dismissed"); }); };
    runtime.click(start.ok);
    ASSERT_TRUE(runtime.messageOpen());

    runtime.click(start.ok);
    runtime.focus(start.box);
    runtime.keyPress('1');
    runtime.advance(1000);
    EXPECT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(start.box.Text, "");
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(runtime.nextDue()) << "no frames while the message is open";

    fakes.messageBox.dismiss();
    EXPECT_FALSE(runtime.messageOpen());
    EXPECT_EQ(log.back(), "dismissed");
    runtime.advance(100);
    EXPECT_EQ(ticks, 1);
}

} // namespace
