// "Wie heißt du?": a child who came in by a class's link says its name before the start screen,
// by tapping it in the teacher's list or by typing it.

#include "forms/Caption.h"
#include "forms/Fitting.h"
#include "start/name/Names.h"
#include "start/name/frmName.h"
#include "support/FakeClass.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;
using zifferix::ClassInfo;
using zifferix::frmName;

namespace {

const std::vector<std::string> kChildren{"Mia", "Ben", "Özlem", "Jan-Luca"};

frmName& nameScreen(ProgramHarness& h) {
    for (forms::Form* form : h.runtime.forms()) {
        if (form->name() == "frmName") {
            return static_cast<frmName&>(*form);
        }
    }
    throw std::logic_error("no name screen");
}

class NameScreen : public ::testing::Test {
  protected:
    ClassHarness h{{"3b Dienstag", kChildren, ""}};
    frmName& n = nameScreen(h);

    void SetUp() override {
        h.listening = true;
        h.run();
    }
    std::string heard() const {
        std::string all;
        for (const std::string& s : h.heard) {
            all += s + "\n";
        }
        return all;
    }
};

TEST_F(NameScreen, ComesBeforeTheStartScreenAndAsksWhoThePlayerIs) {
    EXPECT_EQ(h.active(), &n);
    EXPECT_EQ(n.Caption, "Wie heißt du?");
    EXPECT_EQ(n.lblFrage.Caption, "Wie heißt du?");
    EXPECT_EQ(n.lblKlasse.Caption, "3b Dienstag");
    EXPECT_LT(n.lblKlasse.Font.Size, n.lblFrage.Font.Size) << "the class's name small";
    EXPECT_NE(h.said().find("Wie heißt du?"), std::string::npos);
    ASSERT_EQ(n.cmdKind.size(), kChildren.size());
    for (std::size_t i = 0; i < kChildren.size(); ++i) {
        EXPECT_EQ(forms::readCaption(n.cmdKind[i]->Caption).text, kChildren[i]);
    }
    EXPECT_EQ(n.ActiveControl(), n.cmdKind.front().get()) << "a child who taps needs no keys";
    EXPECT_FALSE(n.txtName.AccessibleName.empty());
    EXPECT_FALSE(n.txtName.AccessibleDescription.empty());
}

TEST_F(NameScreen, ATappedNameJoinsAndTheStartScreenGreetsTheChild) {
    h.click(*n.cmdKind[2]);
    EXPECT_EQ(h.link.names, std::vector<std::string>{"Özlem"});
    EXPECT_EQ(h.program.child(), "Özlem");
    ASSERT_EQ(h.active(), &h.start());
    EXPECT_TRUE(h.start().lblKind.Visible);
    EXPECT_EQ(h.start().lblKind.Caption, "Hallo Özlem!");
    EXPECT_TRUE(h.start().cmdNichtDu.Visible);
    EXPECT_EQ(forms::readCaption(h.start().cmdNichtDu.Caption).text, "Nicht du?");
    EXPECT_NE(heard().find("Hallo Özlem!"), std::string::npos);
}

// Typed names: what the box takes, and what "Los" or Enter makes of it.
struct Typed {
    const char* keys;
    const char* taken; // "" for not taken
};
const Typed kTyped[] = {
    {"Lena\r", "Lena"},
    {"Jürgen Öztürk-Weiß\r", "Jürgen Öztürk-Weiß"},
    {"  Ole   Malte  \r", "Ole Malte"},
    {"Ben2<b>!\r", "Benb"},
    {"mia\r", "Mia"}, // as the teacher wrote it
    {"Maximilian-Alexander Sebastian\r", "Maximilian-Alexander Seb"},
    {"\r", ""},
    {"   \r", ""},
    {"--\r", ""},
    {"Zoë\b\bé\r", "Zé"},
};

TEST(NameScreenOfAClass, TakesATypedNameOfLettersBlanksAndHyphensAtMost24) {
    for (const Typed& t : kTyped) {
        SCOPED_TRACE(t.keys);
        ClassHarness c({"3b", kChildren, ""});
        c.run();
        frmName& screen = nameScreen(c);
        c.click(screen.txtName);
        c.write(t.keys);
        if (std::string(t.taken).empty()) {
            EXPECT_EQ(c.active(), &screen) << "not taken";
            EXPECT_TRUE(c.link.names.empty());
            EXPECT_NE(c.said().find("Schreib zuerst deinen Namen."), std::string::npos);
            continue;
        }
        EXPECT_EQ(c.link.names, std::vector<std::string>{t.taken});
        EXPECT_EQ(c.active(), &c.start());
    }
}

TEST_F(NameScreen, TheLosButtonAndAltLTakeTheTypedNameAsEnterDoes) {
    h.click(n.txtName);
    h.write("Paul");
    h.click(n.cmdLos);
    h.click(h.start().cmdNichtDu);
    h.click(n.txtName);
    h.write("Ida");
    EXPECT_TRUE(h.runtime.mnemonic(U'l'));
    EXPECT_EQ(h.link.names, (std::vector<std::string>{"Paul", "Ida"}));
    EXPECT_EQ(h.active(), &h.start());
}

TEST_F(NameScreen, NichtDuBringsItBackAndAnotherNameReplacesTheFirst) {
    h.click(*n.cmdKind[0]);
    h.click(h.start().cmdNichtDu);
    ASSERT_EQ(h.active(), &n);
    EXPECT_TRUE(n.txtName.Text.empty());
    h.click(*n.cmdKind[1]);
    EXPECT_EQ(h.link.names, (std::vector<std::string>{"Mia", "Ben"}));
    EXPECT_EQ(h.start().lblKind.Caption, "Hallo Ben!");

    h.click(h.start().cmdNichtDu);
    h.runtime.close(n);
    EXPECT_EQ(h.active(), &h.start()) << "closed: the name stays";
    EXPECT_EQ(h.program.child(), "Ben");
    EXPECT_EQ(h.fakes.programEnd.calls, 0);
}

TEST_F(NameScreen, ClosedBeforeANameIsChosenItEndsTheProgram) {
    h.runtime.close(n);
    EXPECT_EQ(h.fakes.programEnd.calls, 1);
    EXPECT_TRUE(h.link.names.empty());
}

TEST_F(NameScreen, EveryButtonAndTheBoxAreReachedByTab) {
    std::vector<const forms::Control*> reached;
    for (std::size_t i = 0; i < kChildren.size() + 2; ++i) {
        reached.push_back(n.ActiveControl());
        h.runtime.navigate(forms::Navigation::Next);
    }
    EXPECT_EQ(n.ActiveControl(), reached.front()) << "round again";
    std::vector<const forms::Control*> expected;
    for (const auto& button : n.cmdKind) {
        expected.push_back(button.get());
    }
    expected.push_back(&n.txtName);
    expected.push_back(&n.cmdLos);
    EXPECT_EQ(reached, expected);
}

TEST_F(NameScreen, ALinksChoiceWhileTheNameIsAskedIsMadeWhenTheStartScreenComes) {
    zifferix::Choice choice;
    choice.game = 3;
    choice.level = 0;
    EXPECT_TRUE(h.program.choose(choice));
    EXPECT_EQ(h.active(), &n);
    h.click(*n.cmdKind[0]);
    EXPECT_TRUE(h.start().opt4.Value());
    EXPECT_TRUE(h.start().optEinfach.Value());
    EXPECT_EQ(h.shared().Schwierigkeit, 1);
    EXPECT_EQ(h.start().ActiveControl(), &h.start().cmdAnfang);
}

TEST(NameScreenOfAClass, IsNotAskedWhenTheViewRemembersTheName) {
    ClassHarness h({"3b", kChildren, "Ben"});
    h.run();
    EXPECT_EQ(h.active(), &h.start());
    EXPECT_EQ(h.start().lblKind.Caption, "Hallo Ben!");
    EXPECT_TRUE(h.link.names.empty()) << "nothing new to remember";
}

TEST(NameScreenOfAClass, OutsideAClassTheStartScreenShowsNoName) {
    ProgramHarness h;
    h.run();
    EXPECT_EQ(h.active(), &h.start());
    EXPECT_FALSE(h.start().lblKind.Visible);
    EXPECT_FALSE(h.start().cmdNichtDu.Visible);
    EXPECT_EQ(h.runtime.forms().size(), 1u) << "no name screen is made";
}

TEST(NameScreenOfAClass, WithoutAListTheBoxHasTheFocus) {
    ClassHarness h({"3b", {}, ""});
    h.run();
    frmName& n = nameScreen(h);
    EXPECT_TRUE(n.cmdKind.empty());
    EXPECT_EQ(n.ActiveControl(), &n.txtName);
    h.type("Tom\r");
    EXPECT_EQ(h.link.names, std::vector<std::string>{"Tom"});
}

// Up to 60 names, in both layouts: every control inside the area, no two buttons overlapping,
// each large enough to tap.
TEST(NameScreenOfAClass, SixtyNamesFitTheStartScreensDesignSize) {
    for (const std::size_t count : {1u, 7u, 28u, 60u, 75u}) {
        std::vector<std::string> children;
        for (std::size_t i = 0; i < count; ++i) {
            children.push_back("Kind " + std::to_string(i + 1));
        }
        for (const int width : {kLargeScreen, kSmallScreen}) {
            SCOPED_TRACE(std::to_string(count) + " names at " + std::to_string(width));
            ClassHarness h({"3b", children, ""}, width);
            h.run();
            frmName& n = nameScreen(h);
            ASSERT_EQ(n.cmdKind.size(), std::min<std::size_t>(count, frmName::kMostNames));
            const forms::LayoutArea area = forms::areaOf(forms::layoutFor(width));
            for (const forms::Control* c : n.controls()) {
                EXPECT_GE(c->Left, 0) << c->name();
                EXPECT_GE(c->Top, 0) << c->name();
                EXPECT_LE(c->Left + c->Width, area.width) << c->name();
                EXPECT_LE(c->Top + c->Height, area.height) << c->name();
            }
            for (std::size_t i = 0; i < n.cmdKind.size(); ++i) {
                const forms::Placement a = n.cmdKind[i]->placement();
                EXPECT_GE(a.Height, 24 * forms::kTwipsPerPixel) << "large enough to tap";
                for (std::size_t k = i + 1; k < n.cmdKind.size(); ++k) {
                    const forms::Placement b = n.cmdKind[k]->placement();
                    const bool apart = a.Left + a.Width <= b.Left || b.Left + b.Width <= a.Left ||
                                       a.Top + a.Height <= b.Top || b.Top + b.Height <= a.Top;
                    EXPECT_TRUE(apart) << i << " and " << k;
                }
                EXPECT_LE(a.Top + a.Height, n.lblName.Top) << "above the box's row";
            }
        }
    }
}

// In a class the start screen has the child's name and "Nicht du?" beside the start button, in
// both layouts, the longest name too, and Alt+N or Tab reach it.
TEST(NameScreenOfAClass, TheStartScreenHasRoomForTheNameAndNichtDu) {
    for (const int width : {kLargeScreen, kSmallScreen}) {
        SCOPED_TRACE(width);
        ClassHarness h({"3b", {}, "Maximilian-Alexander Seb"}, width);
        h.run();
        zifferix::frmstart& s = h.start();
        const forms::LayoutArea area = forms::areaOf(forms::layoutFor(width));
        const forms::Control* added[] = {&s.lblKind, &s.cmdNichtDu};
        for (const forms::Control* c : added) {
            EXPECT_TRUE(c->Visible);
            EXPECT_LE(c->Left + c->Width, area.width) << c->name();
            EXPECT_LE(c->Top + c->Height, area.height) << c->name();
            for (const forms::Control* other : s.controls()) {
                if (other == c || other->container() != nullptr || !other->Visible) {
                    continue;
                }
                const bool apart =
                    c->Left + c->Width <= other->Left || other->Left + other->Width <= c->Left ||
                    c->Top + c->Height <= other->Top || other->Top + other->Height <= c->Top;
                EXPECT_TRUE(apart) << c->name() << " and " << other->name();
            }
        }
        const forms::Size text = h.fakes.textMetrics.measure(s.lblKind.Font, s.lblKind.Caption);
        EXPECT_LE(text.Width, 2 * s.lblKind.Width) << "two lines at most";

        for (int i = 0; i < 5 && s.ActiveControl() != &s.cmdNichtDu; ++i) {
            h.runtime.navigate(forms::Navigation::Previous);
        }
        EXPECT_EQ(s.ActiveControl(), &s.cmdNichtDu);
        EXPECT_TRUE(h.runtime.mnemonic(U'n'));
        EXPECT_EQ(h.active(), &nameScreen(h));
    }
}

struct Rule {
    const char* typed;
    const char* taken;
};
const Rule kRules[] = {
    {"Mia", "Mia"},
    {" Mia ", "Mia"},
    {"Anna  Lena", "Anna Lena"},
    {"Ärzte-Ölaf", "Ärzte-Ölaf"},
    {"Łukasz", "Łukasz"},
    {"Дима", "Дима"},
    {"R2-D2", "R-D"},
    {"a\tb\nc", "abc"},
    {"", ""},
    {"- -", ""},
    {"123", ""},
    {"ÄÖÜäöüßÄÖÜäöüßÄÖÜäöüßÄÖÜä", "ÄÖÜäöüßÄÖÜäöüßÄÖÜäöüßÄÖÜ"},
};

TEST(Names, AreTrimmedCutAndMadeOfLetters) {
    for (const Rule& r : kRules) {
        EXPECT_EQ(zifferix::names::taken(r.typed), r.taken) << r.typed;
    }
    const std::vector<std::string> listed{"Mia", "Özlem"};
    EXPECT_EQ(zifferix::names::asListed("öZLEM", listed), "Özlem") << "the teacher's spelling";
    EXPECT_EQ(zifferix::names::asListed("Miap", listed), "Miap");
}

} // namespace
