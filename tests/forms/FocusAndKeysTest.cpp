#include "TestForm.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

using testing_support::FakeServices;

namespace {

constexpr int kEnter = 13;
constexpr int kBackspace = 8;

// Two groups of options in frames, a box and three buttons.
class Panel : public forms::Form {
  public:
    explicit Panel(forms::Runtime& runtime) : Form(runtime, "panel") {
        for (forms::OptionButton* o : {&red, &green, &blue, &small, &large}) {
            o->onClick = [this, o] { clicked.push_back(o->name()); };
        }
        go.Caption = "&Los";
        go.onClick = [this] { clicked.push_back("go"); };
        quit.Caption = "&Aus && vorbei";
        quit.onClick = [this] { clicked.push_back("quit"); };
        amp.Caption = "Tom && Jerry";
        amp.onClick = [this] { clicked.push_back("amp"); };
        green.Caption = "&grün";
        box.onKeyPress = [this](int& key) {
            seen.push_back(box.Text);
            if (onKey) {
                onKey(key);
            }
        };
    }

    forms::CommandButton go{*this, "go"};
    forms::Frame colours{*this, "colours"};
    forms::OptionButton red{colours, "red"};
    forms::OptionButton green{colours, "green"};
    forms::OptionButton blue{colours, "blue"};
    forms::Frame sizes{*this, "sizes"};
    forms::OptionButton small{sizes, "small"};
    forms::OptionButton large{sizes, "large"};
    forms::TextBox box{*this, "box"};
    forms::CommandButton quit{*this, "quit"};
    forms::CommandButton amp{*this, "amp"};
    forms::Label caption{*this, "caption"};

    std::vector<std::string> clicked;
    std::vector<std::string> seen; // the box's text at each key
    std::function<void(int&)> onKey;
};

class FocusAndKeys : public ::testing::Test {
  protected:
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    Panel panel{runtime};

    void start() { runtime.start(panel); }
    std::string focused() const {
        return panel.ActiveControl() != nullptr ? panel.ActiveControl()->name() : "";
    }
    void type(std::string_view keys) {
        for (char c : keys) {
            runtime.keyPress(static_cast<unsigned char>(c));
        }
    }
};

TEST_F(FocusAndKeys, ABoxGetsTheFocusFirstSoAChildCanTypeAtOnce) {
    start();
    EXPECT_EQ(focused(), "box");
}

TEST_F(FocusAndKeys, WithoutABoxTheFirstControlInTabOrderGetsTheFocus) {
    panel.box.Visible = false;
    start();
    EXPECT_EQ(focused(), "go");
}

TEST_F(FocusAndKeys, AHiddenFocusedControlPassesTheFocusOnInTabOrder) {
    start();
    runtime.run([&] { panel.box.Visible = false; });
    EXPECT_EQ(focused(), "quit");
    runtime.run([&] { panel.quit.Enabled = false; });
    EXPECT_EQ(focused(), "amp");
}

TEST_F(FocusAndKeys, ABoxThatAppearsInAFormWithoutFocusGetsIt) {
    panel.go.Enabled = false;
    panel.colours.Enabled = false;
    panel.sizes.Visible = false;
    panel.box.Visible = false;
    panel.quit.Enabled = false;
    panel.amp.Visible = false;
    start();
    ASSERT_EQ(focused(), "");

    runtime.run([&] {
        panel.go.Enabled = true;
        panel.box.Visible = true;
    });
    EXPECT_EQ(focused(), "box");
}

TEST_F(FocusAndKeys, SetFocusOnAHiddenOrDisabledControlDoesNothing) {
    start();
    runtime.run([&] {
        panel.quit.Enabled = false;
        panel.quit.SetFocus();
        panel.amp.Visible = false;
        panel.amp.SetFocus();
        panel.colours.Enabled = false;
        panel.red.SetFocus();
    });
    EXPECT_EQ(focused(), "box");
    runtime.run([&] { panel.go.SetFocus(); });
    EXPECT_EQ(focused(), "go");
}

TEST_F(FocusAndKeys, TabFollowsTheTabOrderAndAGroupOfOptionsIsOneStop) {
    start();
    runtime.run([&] { panel.quit.Enabled = false; });
    std::vector<std::string> stops;
    for (int i = 0; i < 6; ++i) {
        runtime.navigate(forms::Navigation::Next);
        stops.push_back(focused());
    }
    EXPECT_EQ(stops, (std::vector<std::string>{"amp", "go", "red", "small", "box", "amp"}));
    runtime.navigate(forms::Navigation::Previous);
    EXPECT_EQ(focused(), "box");
    EXPECT_TRUE(panel.clicked.empty());
}

TEST_F(FocusAndKeys, TabEntersAGroupOfOptionsAtItsChosenOne) {
    start();
    runtime.run([&] {
        panel.blue.setValue(true);
        panel.go.SetFocus();
    });
    runtime.navigate(forms::Navigation::Next);
    EXPECT_EQ(focused(), "blue");
}

TEST_F(FocusAndKeys, ArrowKeysChooseTheNeighbouringOptionOfTheGroup) {
    start();
    runtime.click(panel.small);
    runtime.click(panel.red);
    runtime.navigate(forms::Navigation::Down);
    EXPECT_TRUE(panel.green.Value());
    EXPECT_FALSE(panel.red.Value());
    runtime.navigate(forms::Navigation::Up);
    runtime.navigate(forms::Navigation::Up);
    EXPECT_TRUE(panel.blue.Value());
    EXPECT_EQ(focused(), "blue");
    EXPECT_TRUE(panel.small.Value());
    EXPECT_EQ(panel.clicked, (std::vector<std::string>{"small", "red", "green", "red", "blue"}));
}

TEST_F(FocusAndKeys, OptionsAreExclusiveWithinTheirFrameOnly) {
    start();
    runtime.click(panel.large);
    runtime.click(panel.red);
    runtime.click(panel.green);
    EXPECT_FALSE(panel.red.Value());
    EXPECT_TRUE(panel.green.Value());
    EXPECT_TRUE(panel.large.Value());
    EXPECT_FALSE(panel.small.Value());
}

TEST_F(FocusAndKeys, TheBoxHandlerSeesTheTextBeforeTheKeyAndMaySwallowIt) {
    panel.onKey = [](int& key) {
        if (key < '0' || key > '9') {
            key = 0;
        }
    };
    start();
    type("1a2");
    EXPECT_EQ(panel.box.Text, "12");
    EXPECT_EQ(panel.seen, (std::vector<std::string>{"", "1", "1"}));
}

TEST_F(FocusAndKeys, MaxLengthStopsTypingButTheHandlerStillHearsTheKey) {
    panel.box.MaxLength = 3;
    start();
    type("12345");
    EXPECT_EQ(panel.box.Text, "123");
    EXPECT_EQ(panel.seen.size(), 5u);
}

TEST_F(FocusAndKeys, BackspaceRemovesOneCharacterEvenAnUmlaut) {
    start();
    type("12");
    runtime.keyPress(U'ä');
    EXPECT_EQ(panel.box.Text, "12ä");
    runtime.keyPress(kBackspace);
    EXPECT_EQ(panel.box.Text, "12");
}

TEST_F(FocusAndKeys, ControlKeysAreNeverTyped) {
    start();
    type("7");
    runtime.keyPress(22); // Ctrl+V
    runtime.keyPress(kEnter);
    runtime.keyPress(27);
    runtime.keyPress(127);
    EXPECT_EQ(panel.box.Text, "7");
}

TEST_F(FocusAndKeys, EnterOrSpaceOnAFocusedButtonClicksIt) {
    start();
    runtime.click(panel.go);
    runtime.keyPress(kEnter);
    runtime.keyPress(' ');
    runtime.keyPress('x');
    EXPECT_EQ(panel.clicked, (std::vector<std::string>{"go", "go", "go"}));
}

TEST_F(FocusAndKeys, AltWithTheMarkedLetterClicksThatButtonOrOption) {
    start();
    runtime.mnemonic(U'L');
    runtime.mnemonic(U'a');
    runtime.mnemonic(U'G');
    runtime.mnemonic(U'J'); // "Tom && Jerry" marks no letter
    EXPECT_EQ(panel.clicked, (std::vector<std::string>{"go", "quit", "green"}));
    EXPECT_TRUE(panel.green.Value());

    runtime.run([&] { panel.quit.Enabled = false; });
    runtime.mnemonic(U'a');
    EXPECT_EQ(panel.clicked.size(), 3u);

    panel.blue.Caption = "&Ölblau";
    runtime.mnemonic(U'ö');
    EXPECT_TRUE(panel.blue.Value());
}

TEST_F(FocusAndKeys, ClicksOnHiddenOrDisabledControlsAreIgnored) {
    panel.go.Enabled = false;
    panel.colours.Enabled = false;
    panel.amp.Visible = false;
    start();
    runtime.click(panel.go);
    runtime.click(panel.red);
    runtime.click(panel.amp);
    runtime.focus(panel.go);
    EXPECT_TRUE(panel.clicked.empty());
    EXPECT_FALSE(panel.red.Value());
    EXPECT_EQ(focused(), "box");
}

TEST_F(FocusAndKeys, ALabelSizedToItsCaptionIsMeasuredAgainOnlyWhenItChanges) {
    panel.caption.AutoSize = true;
    panel.caption.Font = forms::Font{"Arial", 10, false};
    panel.caption.Caption = "12";
    start();
    EXPECT_EQ(panel.caption.Width, 240);
    EXPECT_EQ(panel.caption.Height, 230);

    runtime.run([&] { panel.caption.Width = 5000; });
    runtime.run([] {});
    EXPECT_EQ(panel.caption.Width, 5000);

    runtime.run([&] { panel.caption.Caption = "123"; });
    EXPECT_EQ(panel.caption.Width, 360);
}

} // namespace

namespace {

// A paste goes into a box as typed characters, never to a button, and never as an Enter.
TEST_F(FocusAndKeys, APasteTypesIntoTheBoxOnlyWithoutLineBreaksAndCutShort) {
    start();
    runtime.focus(panel.go);
    runtime.paste(" \r");
    EXPECT_TRUE(panel.clicked.empty()) << "a space in the clipboard presses no button";

    runtime.focus(panel.box);
    runtime.paste("12\r\n3\tä");
    EXPECT_EQ(panel.box.Text, "123ä");
    EXPECT_EQ(panel.seen.size(), 4u) << "each character through KeyPress, the rest left out";
    panel.box.Text.clear();
    runtime.paste(std::string(100000, '7'));
    EXPECT_EQ(panel.box.Text, std::string(64, '7'));
}

} // namespace
