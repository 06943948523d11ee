// What both views share beneath their toolkits: keys and text, captions, the frame clock,
// geometry and colours, messages and random numbers.

#include "TestForm.h"
#include "forms/Caption.h"
#include "forms/Contrast.h"
#include "forms/FrameClock.h"
#include "forms/Geometry.h"
#include "forms/Keys.h"
#include "forms/Message.h"
#include "forms/Random.h"
#include "forms/ReadingAloud.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

using forms::Key;
using forms::KeyName;
using testing_support::FakeServices;
using testing_support::TestForm;

namespace {

class Keyboard : public ::testing::Test {
  protected:
    Keyboard() {
        form.box.Entry = forms::TextEntry::Decimal;
        form.box.onKeyPress = [this](int& key) { keys.push_back(key); };
        form.ok.onClick = [this] { ++okPressed; };
        runtime.start(form);
    }

    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    TestForm form{runtime, "form"};
    forms::Keyboard desktop{runtime};
    forms::Keyboard page{runtime, true};
    std::vector<int> keys;
    int okPressed = 0;
};

Key named(KeyName name) {
    Key key;
    key.name = name;
    return key;
}
Key character(std::string text) {
    Key key = named(KeyName::Character);
    key.text = std::move(text);
    return key;
}
// The same key with a change: held, with Alt, on the keypad.
template <class Change> Key with(Key key, Change change) {
    change(key);
    return key;
}

TEST_F(Keyboard, NamedKeysBecomeTheCodesAndMovesTheRuntimeKnows) {
    const std::pair<Key, int> codes[] = {
        {named(KeyName::Enter), 13},
        {named(KeyName::Backspace), 8},
        {named(KeyName::Escape), 27},
        {character("7"), '7'},
        {with(character("."), [](Key& k) { k.keypad = true; }), ','},
    };
    for (const auto& [key, code] : codes) {
        keys.clear();
        EXPECT_TRUE(desktop.press(key));
        EXPECT_EQ(keys, std::vector<int>{code});
    }
    keys.clear();
    for (const KeyName swallowed : {KeyName::Editing, KeyName::Alt}) {
        EXPECT_TRUE(desktop.press(named(swallowed))) << "taken, so the toolkit does nothing";
    }
    EXPECT_FALSE(desktop.press(with(character("v"), [](Key& k) { k.ctrl = true; })));
    EXPECT_FALSE(desktop.press(named(KeyName::Other)));
    EXPECT_TRUE(keys.empty());

    EXPECT_TRUE(desktop.press(named(KeyName::Tab)));
    EXPECT_EQ(form.ActiveControl(), &form.ok);
    desktop.press(with(named(KeyName::Tab), [](Key& k) { k.shift = true; }));
    EXPECT_EQ(form.ActiveControl(), &form.box);
}

TEST_F(Keyboard, AHeldEnterOrSpacePressesAButtonOnce) {
    runtime.focus(form.ok);
    for (const Key& key : {named(KeyName::Enter), character(" ")}) {
        Key held = key;
        held.repeat = true;
        desktop.press(key);
        desktop.press(held);
        desktop.press(held);
    }
    EXPECT_EQ(okPressed, 2);
}

// On a Mac or an iPad, Option+L types "¬" and Option+O "ø": the key's place tells the letter.
TEST_F(Keyboard, AltPressesByTheLetterTypedOrElseByTheKeysPlace) {
    EXPECT_TRUE(desktop.press(with(character("o"), [](Key& k) { k.alt = true; })));
    EXPECT_TRUE(page.press(with(character("ø"), [](Key& k) { k.alt = true, k.place = 'o'; })));
    EXPECT_EQ(okPressed, 2);
    EXPECT_FALSE(page.press(with(character("q"), [](Key& k) { k.alt = true; })))
        << "no button has that letter: the key is left to the toolkit";
    runtime.focus(form.box);
    page.press(with(character("@"), [](Key& k) { k.alt = k.altGraph = true, k.place = 'q'; }));
    EXPECT_EQ(form.box.Text, "@") << "AltGr types";
}

TEST_F(Keyboard, APointTypesTheCommaOfADecimalBoxWhereTheViewSaysSo) {
    desktop.text("1.5");
    EXPECT_EQ(form.box.Text, "1.5");
    form.box.Text.clear();
    page.text("1.5");
    page.press(character("."));
    page.paste("2.5");
    EXPECT_EQ(form.box.Text, "1,5,2,5");
    form.box.Text.clear();
    page.text(std::string(1000, '9'));
    EXPECT_EQ(form.box.Text.size(), 64u) << "a keyboard's text is cut, not typed for ever";
}

TEST(Captions, MarkTheAltLetterAndShowWithoutTheMarks) {
    struct Case {
        const char* caption;
        const char* text;
        std::size_t at;
        char32_t letter;
    };
    const Case cases[] = {
        {"&Los und hopp", "Los und hopp", 0, U'l'},
        {"An&fang", "Anfang", 2, U'f'},
        {"Tom && Jerry", "Tom & Jerry", std::string::npos, 0},
        {"&Äpfel", "Äpfel", 0, U'ä'},
        {"&a&b", "ab", 0, U'a'},
        {"Ende&", "Ende&", std::string::npos, 0},
    };
    for (const Case& c : cases) {
        const forms::Caption read = forms::readCaption(c.caption);
        EXPECT_EQ(read.text, c.text) << c.caption;
        EXPECT_EQ(read.at, c.at) << c.caption;
        EXPECT_EQ(read.letter, c.letter) << c.caption;
    }
}

TEST(FrameClock, TimePassesOnlyWhileATimerRunsAndAStallCausesNoBurst) {
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    TestForm form{runtime, "form"};
    int ticks = 0;
    form.timer.Interval = 500;
    form.timer.onTimer = [&] { ++ticks; };
    runtime.start(form);
    forms::FrameClock clock{runtime};
    EXPECT_FALSE(clock.untilNextTick(1000)) << "idle: nothing to wake for";

    runtime.run([&] { form.timer.Enabled = true; });
    EXPECT_EQ(clock.untilNextTick(1000), 500.0);
    EXPECT_EQ(clock.untilNextTick(1200), 300.0);
    clock.frame(1500);
    clock.frame(2000);
    EXPECT_EQ(ticks, 2) << "two ticks in a second";
    clock.frame(60000);
    EXPECT_EQ(ticks, 3) << "a stall of a minute passes one tick on, not a hundred";
    EXPECT_EQ(clock.untilNextTick(60000), 500.0 - forms::FrameClock::kLongestFrame);
}

TEST(Geometry, NeighboursMeetOnAPixelAtAnyZoomAndShapesKeepTheirForm) {
    const forms::Zoom zoom(1.40625);
    const forms::PixelRect left = forms::pixelRect(zoom, 100, 0, 1007, 300);
    const forms::PixelRect right = forms::pixelRect(zoom, 1107, 0, 1000, 300);
    EXPECT_EQ(left.left + left.width, right.left) << "no gap, no overlap";

    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    TestForm form{runtime, "form"};
    forms::Shape circle{form, "circle"};
    circle.Kind = forms::ShapeKind::Circle;
    circle.BorderWidth = 2;
    const forms::Outline o = forms::outlineOf(circle, forms::Zoom(), 200, 100);
    EXPECT_EQ(o, (forms::Outline{forms::Outline::Figure::Ellipse, 51, 1, 98, 98, 2}))
        << "centred, the pen inside";

    forms::Line line{form, "line"};
    line.X1 = 1500, line.Y1 = 300, line.X2 = 0, line.Y2 = 300, line.BorderWidth = 3;
    EXPECT_EQ(forms::pixelRect(forms::Zoom(), line), (forms::PixelRect{-3, 17, 107, 7}));
    EXPECT_EQ(forms::endsOf(line, forms::Zoom()), (forms::LineEnds{103, 3, 3, 3, 3}));
}

TEST(Geometry, AControlShowsItsOwnBackgroundOnlyWhereItsKindSays) {
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    TestForm form{runtime, "form"};
    forms::Label label{form, "label"};
    forms::Frame frame{form, "frame"};
    forms::OptionButton option{frame, "option"};
    EXPECT_TRUE(forms::lookOf(label).own);
    label.Transparent = true;
    EXPECT_FALSE(forms::lookOf(label).own);
    EXPECT_FALSE(forms::lookOf(form.ok).own);
    form.ok.Graphical = true;
    EXPECT_TRUE(forms::lookOf(form.ok).own);
    frame.BackColor = option.BackColor = 0x808000;
    EXPECT_FALSE(forms::lookOf(option).own) << "the frame shows through";
    option.BackColor = 0xFF;
    EXPECT_TRUE(forms::lookOf(option).own);
}

// More contrast: a middle tone behind text goes darker or lighter until black or white text
// beats it 7:1; a text colour moves only as far as it must, keeping its hue where it can.
TEST(Contrast, MovesColoursOnlyAsFarAsTheyMustStandOut) {
    using namespace forms;
    EXPECT_NEAR(contrastRatio(colors::Black, colors::White), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0x808000, colors::White), 4.77, 0.01) << "the start screen's teal";
    const struct {
        Color back;
        bool kept;
    } backgrounds[] = {
        {0x808000, false}, {0x0040C0, false}, {0xC0FFFF, true}, {colors::Black, true}};
    for (const auto& b : backgrounds) {
        const Color strong = strongBackground(b.back);
        EXPECT_EQ(strong == b.back, b.kept) << std::hex << b.back;
        EXPECT_GE(
            std::max(contrastRatio(strong, colors::Black), contrastRatio(strong, colors::White)),
            7.0);
    }
    const Color teal = strongBackground(0x808000);
    EXPECT_LT(luminance(teal), luminance(0x808000)) << "white text wins: darker";
    for (const Color fore : {colors::Green, colors::Yellow, colors::Orange, Color{0x000080}}) {
        const Color moved = standingOut(fore, teal, kTextContrast);
        EXPECT_GE(contrastRatio(moved, teal), kTextContrast) << std::hex << fore;
    }
    EXPECT_EQ(standingOut(colors::Yellow, teal, kTextContrast), colors::Yellow) << "already plain";
    EXPECT_EQ(edgeAgainst(colors::White), colors::Black);
    EXPECT_EQ(edgeAgainst(teal), colors::White);
}

// What a screen reader hears besides the controls: said in order, once; a control that keeps
// the focus while its description changes says the new one, one that takes it is read whole.
TEST(Speech, SaysWhatChangedAndTheNewDescriptionOfTheControlThatKeepsTheFocus) {
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    TestForm form{runtime, "form"};
    runtime.start(form);
    runtime.run([&] { form.ok.SetFocus(); });
    runtime.takeSpoken();
    runtime.run([&] {
        form.box.AccessibleDescription = "7 mal 8";
        form.box.SetFocus();
    });
    EXPECT_EQ(runtime.takeSpoken(), "") << "the box took the focus: it is read whole";
    runtime.run([&] {
        runtime.speech().say("Richtig.");
        form.box.AccessibleDescription = "3 mal 4";
    });
    EXPECT_EQ(runtime.takeSpoken(), "Richtig. 3 mal 4");
    EXPECT_EQ(runtime.takeSpoken(), "") << "once";
    runtime.run([&] { form.box.Describe("3 mal 4"); });
    EXPECT_EQ(runtime.takeSpoken(), "3 mal 4") << "the same problem posed again";
    runtime.run([&] {
        form.ok.SetFocus();
        form.ok.AccessibleDescription = "startet";
    });
    EXPECT_EQ(runtime.takeSpoken(), "");
    for (int i = 0; i < 100; ++i) {
        runtime.speech().say(std::to_string(i));
    }
    EXPECT_TRUE(runtime.takeSpoken().starts_with("84 85")) << "unheard, only the last are kept";
}

// Read aloud, nothing piles up: a new problem cuts off the old one, a verdict is said whole
// before what follows it, of what may wait only the newest waits, and "again" is said at once.
TEST(ReadingAloud, CutsOffOldProblemsButNeverAVerdict) {
    struct Step {
        enum { Hear, Done, Again } what;
        forms::Said said;
    };
    const forms::Said verdict{"Falsch.", "Falsch.", false, ""};
    const forms::Said problem{"3 mal 4", "3 mal 4", true, ""};
    const forms::Said next{"Richtig. 5 mal 6", "Richtig. 5 mal 6", true, ""};
    const forms::Said late5{"Noch 5 Sekunden.", "", false, "Noch 5 Sekunden. 3 mal 4"};
    const forms::Said late4{"Noch 4 Sekunden.", "", false, "Noch 4 Sekunden. 3 mal 4"};
    const struct {
        const char* what;
        std::vector<Step> steps;
        std::vector<std::string> voice;
    } cases[] = {
        {"the verdict first, then the problem",
         {{Step::Hear, verdict}, {Step::Hear, problem}, {Step::Done, {}}},
         {"Falsch.", "3 mal 4"}},
        {"a new problem cuts off the old",
         {{Step::Hear, problem}, {Step::Hear, next}},
         {"3 mal 4", "Richtig. 5 mal 6"}},
        {"the time left waits, and only the newest",
         {{Step::Hear, problem},
          {Step::Hear, late5},
          {Step::Hear, late4},
          {Step::Done, {}},
          {Step::Done, {}}},
         {"3 mal 4", "Noch 4 Sekunden. 3 mal 4"}},
        {"a problem that waits is not given up for the time left",
         {{Step::Hear, verdict},
          {Step::Hear, problem},
          {Step::Hear, late5},
          {Step::Done, {}},
          {Step::Done, {}}},
         {"Falsch.", "3 mal 4"}},
        {"the time left that waited names an old problem once a new one comes",
         {{Step::Hear, problem}, {Step::Hear, late5}, {Step::Hear, next}, {Step::Done, {}}},
         {"3 mal 4", "Richtig. 5 mal 6"}},
        {"again, at once, and what waited is old",
         {{Step::Hear, verdict}, {Step::Hear, problem}, {Step::Again, problem}, {Step::Done, {}}},
         {"Falsch.", "3 mal 4"}},
    };
    struct RecordingVoice : forms::Voice {
        std::vector<std::string> said;
        void say(const std::string& text) override { said.push_back(text); }
    };
    for (const auto& c : cases) {
        RecordingVoice voice;
        forms::ReadingAloud reading{voice};
        for (const Step& step : c.steps) {
            if (step.what == Step::Hear) {
                reading.hear(step.said);
            } else if (step.what == Step::Done) {
                reading.done();
            } else {
                reading.again(step.said.read);
            }
        }
        EXPECT_EQ(voice.said, c.voice) << c.what;
    }
}

// Said again on request: the problem in the box, or else the pictures' texts as sentences (a
// heading ended, a line broken by hand joined) and the focused button.
TEST(ReadingAloud, SaysAgainTheProblemOrThePicturesAndTheFocusedButton) {
    struct PictureForm : TestForm {
        using TestForm::TestForm;
        forms::Image picture{*this, "picture"};
    };
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    PictureForm form{runtime, "form"};
    form.picture.Picture = {"instructions.html", 100, 100};
    form.ok.Caption = "&Los";
    runtime.pictureText = [](const forms::Picture&) {
        return std::string(
            "Raus mit dem Ball\nGib die Zahl in\ndas Feld ein.\n  \nKein Zeitlimit\n");
    };
    runtime.start(form);
    runtime.run([&] { form.ok.SetFocus(); });
    EXPECT_EQ(form.Spoken(),
              "Raus mit dem Ball. Gib die Zahl in das Feld ein. Kein Zeitlimit. Los.");
    runtime.run([&] {
        form.box.Describe("3 mal 4");
        form.box.SetFocus();
    });
    EXPECT_EQ(form.Spoken(), "3 mal 4");
}

TEST(Messages, TheStyleChoosesTheIcon) {
    EXPECT_EQ(forms::iconOf(288), forms::MessageIcon::Question) << "256 + 32";
    EXPECT_EQ(forms::iconOf(16), forms::MessageIcon::Critical);
    EXPECT_EQ(forms::iconOf(48), forms::MessageIcon::Warning);
    EXPECT_EQ(forms::iconOf(64 + 1), forms::MessageIcon::Information);
    EXPECT_EQ(forms::iconOf(0), forms::MessageIcon::None);
}

TEST(SeededRandom, AFixedSeedRepeatsItsRunAndEveryValueIsExactBelowOne) {
    forms::SeededRandom random{[] { return std::vector<std::uint32_t>{1}; }};
    random.fix(2026);
    std::vector<float> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(random.next());
        ASSERT_GE(first.back(), 0.0f);
        ASSERT_LT(first.back(), 1.0f);
        ASSERT_EQ(first.back() * 0x1p24f, std::floor(first.back() * 0x1p24f)) << "24 bits";
    }
    random.randomize();
    for (const float value : first) {
        ASSERT_EQ(random.next(), value);
    }
    EXPECT_EQ(forms::SeededRandom::fromBits(0xFFFFFFFF), 1.0f - 0x1p-24f);
}

} // namespace
