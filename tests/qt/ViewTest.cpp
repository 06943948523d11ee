#include "qt/View.h"
#include "app/Screens.h"
#include "balloon/frmBallon.h"
#include "glass/frmbruchteile.h"
#include "start/Zifferix.h"
#include "start/frmstart.h"
#include "support/FakeServices.h"
#include "qt/Convert.h"
#include "qt/QtServices.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace testing_support;
using zifferix::Game;

namespace {

// The program with the view on the offscreen platform: real text measurement, a fake screen
// width, scripted random values and a recorded End.
class ViewOfTheProgram : public ::testing::Test {
  protected:
    explicit ViewOfTheProgram(int screenWidth = 19200) {
        fakes.screen.width = screenWidth;
        fakes.screen.client = {screenWidth, 14000};
    }

    FakeServices fakes;
    forms::FittedScreen unzoomed{1.0};
    qt::QtTextMetrics textMetrics{unzoomed};
    forms::Runtime runtime{
        {fakes.messageBox, fakes.screen, textMetrics, fakes.random, fakes.programEnd}};
    zifferix::Zifferix program{runtime, zifferix::screens()};
    qt::View ui{runtime};

    void SetUp() override {
        program.run();
        ui.afterEvent();
    }

    zifferix::frmstart& start() { return program.start(); }
    qt::FormWindow& window(forms::Form& form) {
        qt::FormWindow* w = ui.window(form);
        EXPECT_NE(w, nullptr);
        return *w;
    }
    template <class W> W* widget(forms::Control& control) {
        return dynamic_cast<W*>(window(control.form()).widgetFor(&control));
    }
    void playGlass() {
        QTest::mouseClick(widget<QRadioButton>(start().opt3), Qt::LeftButton);
        QTest::mouseClick(widget<QRadioButton>(start().optEinfach), Qt::LeftButton);
        QTest::mouseClick(widget<QPushButton>(start().cmdAnfang), Qt::LeftButton);
    }
    // Starts the balloon ride by mouse and lets the balloon grow to its first problem.
    zifferix::frmBallon& playBalloon(forms::OptionButton& level) {
        QTest::mouseClick(widget<QRadioButton>(start().opt6), Qt::LeftButton);
        QTest::mouseClick(widget<QRadioButton>(level), Qt::LeftButton);
        QTest::mouseClick(widget<QPushButton>(start().cmdAnfang), Qt::LeftButton);
        advance(44 * 16);
        return static_cast<zifferix::frmBallon&>(program.screen(Game::Ballon));
    }
    void advance(int ms) {
        runtime.advance(ms);
        ui.afterEvent();
    }
    static QColor pixel(const QImage& image, int twipsX, int twipsY) {
        return image.pixelColor(forms::Zoom().px(twipsX), forms::Zoom().px(twipsY));
    }
};

TEST_F(ViewOfTheProgram, TheStartScreenBecomesAWindowWithAWidgetPerControl) {
    qt::FormWindow& w = window(start());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Zifferix 1");
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(0x00, 0x80, 0x80));

    auto* go = widget<QPushButton>(start().cmdAnfang);
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->geometry(), QRect(744, 566, 154, 86));
    EXPECT_EQ(go->text(), "&Los und hopp");
    EXPECT_EQ(go->toolTip(), "Startet das Programm");
    EXPECT_EQ(go->accessibleName(), "Los und hopp");
    EXPECT_EQ(go->palette().color(QPalette::Button), QColor(0xC0, 0x40, 0x00));
    EXPECT_TRUE(go->hasFocus() || !QApplication::focusWidget());

    auto* glass = widget<QRadioButton>(start().opt3);
    ASSERT_NE(glass, nullptr);
    EXPECT_EQ(glass->text(), "ein Glas füllen");
    EXPECT_EQ(glass->toolTip(), "Bruchteile");
    EXPECT_EQ(glass->parentWidget(), widget<QGroupBox>(start().Frame1));
    EXPECT_EQ(glass->y(), 108);

    auto* normal = widget<QRadioButton>(start().optMittel);
    EXPECT_EQ(normal->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(widget<QGroupBox>(start().Frame1)->title(), "Spielauswahl                   Punkte");
}

// What Orca reads: the options as radio buttons with their points, the start button with what it
// will start, the box with its problem, and each verdict from a notification that is shown anew.
TEST_F(ViewOfTheProgram, AScreenReaderHearsRadioButtonsTheProblemAndEachVerdict) {
    auto* spider = widget<QRadioButton>(start().opt4);
    QAccessibleInterface* option = QAccessible::queryAccessibleInterface(spider);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->role(), QAccessible::RadioButton);
    EXPECT_EQ(option->text(QAccessible::Name), QString("gegen die Spinne, 0 Punkte"));
    QTest::mouseClick(spider, Qt::LeftButton);
    QTest::mouseClick(widget<QRadioButton>(start().optEinfach), Qt::LeftButton);
    EXPECT_EQ(widget<QPushButton>(start().cmdAnfang)->accessibleDescription(),
              QString("gegen die Spinne, leicht"));
    QTest::mouseClick(widget<QPushButton>(start().cmdAnfang), Qt::LeftButton);
    EXPECT_FALSE(spider->isChecked()) << "the start button clears the chosen game";

    auto& game = program.screen(Game::Netz);
    auto* box = dynamic_cast<QLineEdit*>(window(game).widgetFor(game.ActiveControl()));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->accessibleName(), QString("Antwort"));
    EXPECT_TRUE(box->accessibleDescription().contains(" mal "));
    QTest::keyClicks(box, "1");
    QTest::keyClick(box, Qt::Key_Return);
    const QList<QLabel*> said = window(game).findChildren<QLabel*>("zifferix-announcer");
    ASSERT_EQ(said.size(), 1);
    QAccessibleInterface* notification = QAccessible::queryAccessibleInterface(said.front());
    EXPECT_EQ(notification->role(), QAccessible::Notification);
    EXPECT_EQ(notification->text(QAccessible::Name),
              QString("Falsch. Die Spinne knüpft weiter, 1 von 11 Fäden."));
}

// More contrast: the form's teal goes darker, the game options keep their colours where they
// stand out, and a button gets an edge.
TEST_F(ViewOfTheProgram, MoreContrastDarkensTheTealAndEdgesTheButtons) {
    const QColor designed = window(start()).palette().color(QPalette::Window);
    ui.setContrast(forms::Contrast::More);
    const QColor strong = window(start()).palette().color(QPalette::Window);
    EXPECT_LT(strong.lightness(), designed.lightness());
    EXPECT_TRUE(widget<QPushButton>(start().cmdAnfang)->styleSheet().contains("border: 2px"));
    ui.setContrast(forms::Contrast::AsDesigned);
    EXPECT_EQ(window(start()).palette().color(QPalette::Window), designed);
    EXPECT_TRUE(widget<QPushButton>(start().cmdAnfang)->styleSheet().isEmpty());
}

TEST_F(ViewOfTheProgram, LabelsSizedToTheirTextAreNeverClipped) {
    for (forms::Label* label : {&start().lblPunkte1, &start().lblGesamt}) {
        auto* q = widget<QLabel>(*label);
        ASSERT_NE(q, nullptr);
        EXPECT_GE(q->width(), q->sizeHint().width()) << label->name();
        EXPECT_EQ(q->text(), "0");
    }
}

TEST_F(ViewOfTheProgram, TheWelcomeTextIsDrawnIntoItsPicture) {
    const QImage image = window(start()).grab().toImage();
    int light = 0;
    const QRect picture = qt::qrect(forms::pixelRect(forms::Zoom(), 1485, 945, 11490, 2790));
    for (int y = picture.top(); y < picture.bottom(); y += 2) {
        for (int x = picture.left(); x < picture.right(); x += 2) {
            light += image.pixelColor(x, y).lightness() > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(light, 500) << "white and yellow letters on the teal background";
}

TEST_F(ViewOfTheProgram, MouseClicksStartAGameInItsOwnWindow) {
    playGlass();
    auto& glass = static_cast<zifferix::frmbruchteile&>(program.screen(Game::Bruchteile));
    EXPECT_EQ(runtime.activeForm(), &glass);
    qt::FormWindow& w = window(glass);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), "Bruchteile");
    EXPECT_TRUE(ui.driving());
    EXPECT_FALSE(window(start()).isEnabled()) << "the start screen waits beneath the game";
}

TEST_F(ViewOfTheProgram, AGrabbedImageShowsTheWaterWhereItShouldBe) {
    playGlass();
    auto& glass = static_cast<zifferix::frmbruchteile&>(program.screen(Game::Bruchteile));
    advance(667 * 16);
    const QImage image = window(glass).grab().toImage();
    EXPECT_EQ(pixel(image, 8500, 9500), QColor(0xC0, 0xC0, 0xFF)) << "water near the floor";
    EXPECT_EQ(pixel(image, 8500, 7000), QColor(0xC0, 0xFF, 0xFF)) << "air above the water";
    EXPECT_EQ(pixel(image, 7000, 6000).lightness(), 0) << "the left wall";
    EXPECT_TRUE(widget<QLineEdit>(glass.txtErgebnis)->isVisible());
}

TEST_F(ViewOfTheProgram, KeysGoThroughTheRuntimeAndPastingPutsNothingIn) {
    playGlass();
    auto& glass = static_cast<zifferix::frmbruchteile&>(program.screen(Game::Bruchteile));
    advance(667 * 16);
    auto* box = widget<QLineEdit>(glass.txtErgebnis);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->contextMenuPolicy(), Qt::NoContextMenu);

    QTest::keyClicks(box, "1x2");
    EXPECT_EQ(glass.txtErgebnis.Text, "12");
    EXPECT_EQ(box->text(), "12");

    QApplication::clipboard()->setText("999");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->text(), "12");

    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "");
    QTest::keyClick(box, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(box->text(), "7");
}

TEST_F(ViewOfTheProgram, AHeldEnterKeyPressesOnlyOnce) {
    QWidget* w = &window(start());
    QKeyEvent first(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(w, &first);
    QApplication::sendEvent(w, &repeated);
    QApplication::sendEvent(w, &repeated);
    EXPECT_EQ(fakes.messageBox.shown.size(), 1u);
}

TEST_F(ViewOfTheProgram, TheKeypadDecimalKeyTypesAComma) {
    auto& balloon = playBalloon(start().optMittel);
    auto* box = widget<QLineEdit>(balloon.txtEing);
    QTest::keyClick(box, Qt::Key_2);
    QTest::keyClick(box, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(box, Qt::Key_5);
    EXPECT_EQ(balloon.txtEing.Text, "2,5");
}

TEST_F(ViewOfTheProgram, TheBalloonIsGreenAndTheWeightIsDrawnBelowIt) {
    auto& balloon = playBalloon(start().optSchwer);
    const QImage image = window(balloon).grab().toImage();
    EXPECT_EQ(pixel(image, 1996, 7666), QColor(0x00, 0xC0, 0x00)) << "the balloon";
    EXPECT_LT(pixel(image, 2010, 10000).hslSaturation(), 40) << "the grey iron weight";
    EXPECT_EQ(pixel(image, 3000, 8000), QColor(0xFF, 0x80, 0x00)) << "the orange sky";
}

TEST_F(ViewOfTheProgram, ClosingAGameWindowLeavesTheGameAndClosingTheStartScreenEnds) {
    playGlass();
    auto& glass = program.screen(Game::Bruchteile);
    window(glass).close();
    EXPECT_FALSE(glass.Visible());
    EXPECT_FALSE(window(glass).isVisible());
    EXPECT_EQ(runtime.activeForm(), &start());
    EXPECT_FALSE(ui.driving()) << "an idle start screen costs no CPU";

    window(start()).close();
    EXPECT_EQ(fakes.programEnd.calls, 1);
}

TEST_F(ViewOfTheProgram, AltAndTheMarkedLetterPressesTheButton) {
    QTest::keyClick(&window(start()), Qt::Key_L, Qt::AltModifier);
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].title, "Fehler");
}

TEST_F(ViewOfTheProgram, ALabelWithATooltipShowsItOnHoverAndOthersLetTheMouseThrough) {
    qt::FormWindow& w = window(start());
    const QPoint overAutor =
        qt::qrect(forms::pixelRect(forms::Zoom(), 1500, 4005, 1545, 600)).center();
    QWidget* under = w.childAt(overAutor);
    ASSERT_EQ(under, widget<QLabel>(start().lblAutor));
    QHelpEvent hover(QEvent::ToolTip, under->mapFrom(&w, overAutor), w.mapToGlobal(overAutor));
    QApplication::sendEvent(under, &hover);
    EXPECT_EQ(QToolTip::text(), "Programmierer");
    QToolTip::hideText();

    auto* frame = widget<QGroupBox>(start().Frame1);
    const QPoint overTotal = frame->mapTo(
        &w, qt::qrect(forms::pixelRect(forms::Zoom(), 585, 5310, 2655, 375)).center());
    EXPECT_EQ(w.childAt(overTotal), frame) << "the label without a tooltip lets the mouse through";
}

class ViewOfTheProgramOnASmallScreen : public ViewOfTheProgram {
  protected:
    ViewOfTheProgramOnASmallScreen() : ViewOfTheProgram(12000) {}
};

TEST_F(ViewOfTheProgramOnASmallScreen, TheStartButtonMovesUpAndLeft) {
    EXPECT_EQ(widget<QPushButton>(start().cmdAnfang)->geometry().topLeft(), QPoint(600, 446));
}

TEST(MessageBox, IsAModalDialogWithTheQuestionIconAndOnlyAnOkButton) {
    qt::QtMessageBox messages;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Fehler");
        EXPECT_EQ(box->text(), "Du hast keinen Schwierigkeitsgrad gewählt!");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        checked = true;
        box->accept();
    });
    bool closed = false;
    messages.show("Du hast keinen Schwierigkeitsgrad gewählt!", 288, "Fehler",
                  [&] { closed = true; });
    EXPECT_TRUE(checked);
    EXPECT_TRUE(closed) << "dismissed when show returns";
}

// A form with one shape, to see how the view draws it.
class ShapeForm : public forms::Form {
  public:
    explicit ShapeForm(forms::Runtime& runtime) : Form(runtime, "shapes") {
        BackColor = forms::colors::White;
        shape.Move(1500, 1500, 6000, 3000); // 400 x 200 pixels
        shape.Kind = forms::ShapeKind::Circle;
        shape.FillSolid = true;
        shape.FillColor = forms::colors::Red;
        shape.BorderColor = forms::colors::Red;
    }
    forms::Shape shape{*this, "shape"};
};

TEST(ViewOfAShape, ACircleInAWideRectangleIsCentredWithTheSmallerSideAsDiameter) {
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    ShapeForm form{runtime};
    qt::View ui{runtime};
    runtime.start(form);
    ui.afterEvent();
    const QImage image = ui.window(form)->grab().toImage();
    const QColor red(0xFF, 0, 0);
    const QColor white(0xFF, 0xFF, 0xFF);
    EXPECT_EQ(image.pixelColor(300, 200), red) << "the centre";
    EXPECT_EQ(image.pixelColor(300, 110), red) << "just inside the top";
    EXPECT_EQ(image.pixelColor(210, 200), red) << "just inside the left";
    EXPECT_EQ(image.pixelColor(190, 200), white) << "left of the circle, inside the rectangle";
    EXPECT_EQ(image.pixelColor(410, 200), white) << "right of the circle";
    EXPECT_EQ(image.pixelColor(230, 125), white) << "the corner of the circle's square";
}

TEST(ZoomedView, FillsABigScreenWithEveryControlAtItsDesignPlaceTimesTheZoom) {
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    zifferix::Zifferix program{runtime, zifferix::screens()};
    forms::FittedScreen zoomed{1.40625};
    qt::View ui{runtime, &zoomed};
    program.run();
    ui.afterEvent();
    QWidget* go = ui.window(program.start())->widgetFor(&program.start().cmdAnfang);
    EXPECT_EQ(go->geometry(), QRect(1046, 796, 217, 121)) << "11160, 8490, 2310, 1290 twips";
    EXPECT_EQ(go->font().pixelSize(), 25) << "13.5 points";
}

TEST(ZoomedView, ReportsTheScreenInDesignTwipsSoTheSmallLayoutStaysAt800Pixels) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    ASSERT_EQ(screen.width(), 800) << "the offscreen platform's screen";
    EXPECT_EQ(qt::QtServices(std::nullopt).screen.widthTwips(), 12000);
    EXPECT_EQ(qt::QtServices(2.0).screen.widthTwips(), 6000);
}

// The window's own size is the room the screens are fitted to: a window manager's title bar and
// panels are off it.
TEST(ZoomedView, AWindowMadeLowerRefitsItsScreenToItsRoom) {
    qt::QtServices services(std::nullopt);
    FakeServices fakes(services.screen);
    forms::Runtime runtime{fakes.services()};
    zifferix::Zifferix program{runtime, zifferix::screens()};
    qt::View ui{runtime, &services.screen};
    program.run();
    ui.afterEvent();
    qt::FormWindow* w = ui.window(program.start());
    w->resize(1366, 633);
    QWidget* go = w->widgetFor(&program.start().cmdAnfang);
    EXPECT_EQ(ui.zoom().factor(), 633.0 / 546) << "the small layout, as large as it fits";
    EXPECT_LE(go->geometry().bottom(), 633);
    EXPECT_LE(go->geometry().right(), 1366);
    EXPECT_EQ(go->font().pixelSize(), forms::Zoom(633.0 / 546).fontPixels(13.5));
}

// A form whose timer counts its ticks.
class TickingForm : public forms::Form {
  public:
    explicit TickingForm(forms::Runtime& runtime) : Form(runtime, "ticking") {
        timer.Interval = 500;
        timer.Enabled = true;
        timer.onTimer = [this] { ++ticks; };
    }
    forms::Timer timer{*this, "timer"};
    int ticks = 0;
};

TEST(FrameDriver, LetsASlowTimerTickInRealTime) {
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    TickingForm form{runtime};
    qt::View ui{runtime};
    runtime.start(form);
    ui.afterEvent();
    QTest::qWait(1200);
    EXPECT_GE(form.ticks, 2) << "twice in 1.2 s, not slowed down by the frame limit";
    EXPECT_LE(form.ticks, 3);
}

} // namespace
