// Random Qt input over the real view on the offscreen platform, as a child gives it at the
// desktop: keys and mouse clicks on the widgets of the window in front, held keys, an input
// method's text, time passing with the frame driver and in leaps, windows resized and closed, and
// every message answered in its own event loop. Now and then the monkey answers right, so that it
// also wins games. Run under AddressSanitizer and UBSan in the sanitize preset, it covers the
// view's code as the desktop monkey covers the logic's.

#include "app/Screens.h"
#include "start/Zifferix.h"
#include "start/frmstart.h"
#include "support/Answers.h"
#include "support/Storm.h"
#include "qt/QtServices.h"
#include "qt/View.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <random>

using namespace testing_support;

namespace {

// One run of the program with the real view and services, on seeded chance.
struct Desktop {
    explicit Desktop(std::uint32_t seed)
        : random([seed] {
              return std::vector<std::uint32_t>{seed, ~seed};
          }) {
        services.messageBox.parent = [this] { return ui.activeWindow(); };
        program.run();
        ui.afterEvent();
    }

    qt::QtServices services{std::nullopt};
    forms::SeededRandom random;
    forms::Runtime runtime{
        {services.messageBox, services.screen, services.textMetrics, random, services.programEnd}};
    zifferix::Zifferix program{runtime, zifferix::screens()};
    qt::View ui{runtime, &services.screen};
};

struct MonkeyKey {
    Qt::Key key;
    Qt::KeyboardModifier modifier;
    const char* text;
};
// Digits, the comma and points, the keys that do more than type, Alt with the buttons' letters
// and with others, a paste, a letter with an umlaut.
constexpr MonkeyKey kKeys[] = {
    {Qt::Key_0, Qt::NoModifier, "0"},          {Qt::Key_1, Qt::NoModifier, "1"},
    {Qt::Key_2, Qt::NoModifier, "2"},          {Qt::Key_3, Qt::NoModifier, "3"},
    {Qt::Key_4, Qt::NoModifier, "4"},          {Qt::Key_5, Qt::NoModifier, "5"},
    {Qt::Key_6, Qt::NoModifier, "6"},          {Qt::Key_7, Qt::NoModifier, "7"},
    {Qt::Key_8, Qt::KeypadModifier, "8"},      {Qt::Key_9, Qt::NoModifier, "9"},
    {Qt::Key_Comma, Qt::NoModifier, ","},      {Qt::Key_Period, Qt::NoModifier, "."},
    {Qt::Key_Period, Qt::KeypadModifier, "."}, {Qt::Key_Return, Qt::NoModifier, "\r"},
    {Qt::Key_Enter, Qt::KeypadModifier, "\r"}, {Qt::Key_Escape, Qt::NoModifier, "\x1b"},
    {Qt::Key_Tab, Qt::NoModifier, "\t"},       {Qt::Key_Backtab, Qt::ShiftModifier, ""},
    {Qt::Key_Left, Qt::NoModifier, ""},        {Qt::Key_Right, Qt::NoModifier, ""},
    {Qt::Key_Up, Qt::NoModifier, ""},          {Qt::Key_Down, Qt::NoModifier, ""},
    {Qt::Key_Backspace, Qt::NoModifier, "\b"}, {Qt::Key_Space, Qt::NoModifier, " "},
    {Qt::Key_Minus, Qt::NoModifier, "-"},      {Qt::Key_L, Qt::AltModifier, "l"},
    {Qt::Key_A, Qt::AltModifier, "a"},         {Qt::Key_H, Qt::AltModifier, "h"},
    {Qt::Key_S, Qt::AltModifier, "s"},         {Qt::Key_F, Qt::AltModifier, "f"},
    {Qt::Key_X, Qt::AltModifier, "x"},         {Qt::Key_V, Qt::ControlModifier, "\x16"},
    {Qt::Key_Adiaeresis, Qt::NoModifier, "ä"},
};
// What an input method commits: nothing, digits, an emoji, right-to-left text.
const char* const kCommits[] = {"", "42", "3,5", "😀", "مرحبا ١٢", "\u05d0\u05d1 7"};
constexpr int kSizes[][2] = {{1024, 768},  {800, 600}, {1280, 1024}, {640, 480},
                             {1920, 1080}, {700, 900}, {1366, 633}};

class ViewMonkey {
  public:
    explicit ViewMonkey(unsigned seed) : dice_(seed) {
        restart();
        // A child answers every message, by its button or a key, in the message's own loop.
        answerer_.setInterval(20);
        QObject::connect(&answerer_, &QTimer::timeout, [this] { answerMessage(); });
        answerer_.start();
    }

    void play(int events) {
        for (int i = 0; i < events && !::testing::Test::HasFatalFailure(); ++i) {
            step();
            check();
        }
    }

    int wins = 0;
    int restarts = 0;

  private:
    int roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(dice_); }

    void restart() {
        desktop_.reset();
        desktop_ = std::make_unique<Desktop>(static_cast<std::uint32_t>(dice_()));
        ++restarts;
    }

    QWidget* front() const { return desktop_->ui.activeWindow(); }

    void step() {
        if (desktop_->runtime.ended()) {
            restart();
            return;
        }
        QWidget* window = front();
        ASSERT_NE(window, nullptr);
        const int what = roll(100);
        if (what < 20) {
            clickSomewhere(*window);
        } else if (what < 40) {
            const MonkeyKey& k = kKeys[roll(std::size(kKeys))];
            pressKey(k, roll(8) == 0 ? 1 + roll(4) : 0);
        } else if (what < 42) {
            QInputMethodEvent commit;
            commit.setCommitString(QString::fromUtf8(kCommits[roll(std::size(kCommits))]));
            QApplication::sendEvent(focus(), &commit);
        } else if (what < 44) {
            const auto& size = kSizes[roll(std::size(kSizes))];
            window->resize(size[0], size[1]);
        } else if (what < 45) {
            // The start screen's close box ends the program; rarely let the child do it.
            if (desktop_->runtime.activeForm() != &desktop_->program.start() || roll(20) == 0) {
                window->close();
            }
        } else if (what < 50) {
            startAGame();
        } else if (what < 80) {
            answerRight();
        } else if (what < 92) {
            QTest::qWait(roll(50));
        } else {
            desktop_->runtime.advance(roll(4) == 0 ? roll(30000) : roll(500));
            desktop_->ui.afterEvent();
        }
    }

    // A game or the row and a level clicked on the start screen, and its start button.
    void startAGame() {
        zifferix::frmstart& start = desktop_->program.start();
        if (desktop_->runtime.activeForm() != &start) {
            return;
        }
        forms::OptionButton* games[] = {&start.opt1, &start.opt2, &start.opt3, &start.opt4,
                                        &start.opt5, &start.opt6, &start.opt8, &start.opt10};
        forms::OptionButton* levels[] = {&start.optEinfach, &start.optMittel, &start.optSchwer};
        for (forms::Control* c : {static_cast<forms::Control*>(games[roll(std::size(games))]),
                                  static_cast<forms::Control*>(levels[roll(std::size(levels))]),
                                  static_cast<forms::Control*>(&start.cmdAnfang)}) {
            if (desktop_->runtime.activeForm() != &start) {
                return;
            }
            QWidget* w = desktop_->ui.window(start)->widgetFor(c);
            QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        }
    }

    QWidget* focus() const {
        QWidget* focused = QApplication::focusWidget();
        return focused != nullptr ? focused : front();
    }

    // At a random point of the window, to whichever widget is there; or on one of its widgets.
    void clickSomewhere(QWidget& window) {
        const QList<QWidget*> widgets = window.findChildren<QWidget*>();
        if (roll(2) == 0 && !widgets.isEmpty()) {
            QWidget* w = widgets[roll(static_cast<int>(widgets.size()))];
            if (w->isVisible()) {
                QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            }
            return;
        }
        const QPoint at(roll(std::max(1, window.width())), roll(std::max(1, window.height())));
        QWidget* under = window.childAt(at);
        QWidget* target = under != nullptr ? under : &window;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&window, at));
    }

    // A key, or a key held down that the keyboard repeats.
    void pressKey(const MonkeyKey& k, int repeats) {
        const QString text = QString::fromUtf8(k.text);
        for (int i = 0; i <= repeats; ++i) {
            QKeyEvent press(QEvent::KeyPress, k.key, k.modifier, text, i > 0);
            QApplication::sendEvent(focus(), &press);
            if (desktop_->runtime.ended()) {
                return;
            }
        }
        QKeyEvent release(QEvent::KeyRelease, k.key, k.modifier, text);
        QApplication::sendEvent(focus(), &release);
    }

    void answerRight() {
        forms::Form* form = desktop_->runtime.activeForm();
        const std::optional<std::string> answer =
            form != nullptr ? answerFor(desktop_->program, *form) : std::nullopt;
        if (!answer) {
            return;
        }
        const std::string before = desktop_->program.start().lblGesamt.Caption;
        for (const char c : *answer) {
            // Digits, the comma and the minus: Qt names these keys by their characters.
            const char text[] = {c, '\0'};
            pressKey({static_cast<Qt::Key>(c), Qt::NoModifier, text}, 0);
        }
        pressKey({Qt::Key_Return, Qt::NoModifier, "\r"}, 0);
        wins += !desktop_->runtime.ended() && before != desktop_->program.start().lblGesamt.Caption
                    ? 1
                    : 0;
    }

    void answerMessage() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (roll(2) == 0) {
            QTest::keyClick(box, roll(2) == 0 ? Qt::Key_Return : Qt::Key_Escape);
        } else if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
        }
    }

    // The window in front is the active form's, shown and taking input; the others wait.
    void check() {
        if (desktop_->runtime.ended()) {
            return;
        }
        const forms::Form* active = desktop_->runtime.activeForm();
        ASSERT_NE(active, nullptr);
        const qt::FormWindow* window = desktop_->ui.window(*active);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible()) << active->name();
        ASSERT_TRUE(window->isEnabled()) << active->name();
        const zifferix::Module1& shared = desktop_->program.shared();
        ASSERT_GE(shared.Schwierigkeit, 0);
        ASSERT_LE(shared.Schwierigkeit, 3);
        ASSERT_GT(shared.Punkte, -2000);
        ASSERT_LT(shared.Punkte, 2000);
    }

    std::mt19937 dice_;
    std::unique_ptr<Desktop> desktop_;
    QTimer answerer_;
};

class ViewMonkeyRun : public ::testing::TestWithParam<unsigned> {};

TEST_P(ViewMonkeyRun, ThousandsOfRandomQtEventsNeverBreakTheViewOrTheProgram) {
    ViewMonkey monkey(GetParam());
    monkey.play(3000);
    RecordProperty("wins", monkey.wins);
    EXPECT_GT(monkey.wins, 0) << "the monkey should also reach the ends of games";
}

INSTANTIATE_TEST_SUITE_P(Seeds, ViewMonkeyRun, ::testing::Values(1u, 2u, 3u));

} // namespace
