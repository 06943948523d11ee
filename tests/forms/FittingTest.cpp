// Which layout and zoom a view's area gets: the screens as large as they can be, every control
// inside, and a layout that stays put while a game is played.

#include "forms/Fitting.h"

#include <gtest/gtest.h>

#include <algorithm>

using forms::FittedScreen;
using forms::Fitting;
using forms::Layout;

namespace {

struct Viewport {
    const char* what;
    double width;
    double height;
    Layout layout;
    double factor;
    bool turn;
};

constexpr Layout kNormal = Layout::Normal;
constexpr Layout kSmall = Layout::Small;

const Viewport kViewports[] = {
    {"the screen the program was made for", 1024, 768, kNormal, 1.0, false},
    {"a full HD monitor", 1920, 1080, kNormal, 1080.0 / 710, false},
    {"a 4K monitor", 3840, 2160, kNormal, 2160.0 / 710, false},
    {"a 4K monitor's browser", 3840, 2000, kNormal, 2000.0 / 710, false},
    {"a laptop's browser", 1536, 730, kNormal, 730.0 / 710, false},
    {"a Chromebook's browser", 1366, 633, kSmall, 633.0 / 546, false},
    {"a small laptop's browser", 1280, 585, kSmall, 585.0 / 546, false},
    {"an upright iPad", 820, 1180, kSmall, 820.0 / 800, false},
    {"an older upright iPad", 810, 1080, kSmall, 810.0 / 800, false},
    {"an 800 x 600 screen", 800, 600, kSmall, 1.0, false},
    {"a phone turned sideways", 844, 390, kSmall, 390.0 / 546, false},
    {"the smallest phone sideways", 568, 320, kSmall, 320.0 / 546, false},
    {"a phone held upright", 390, 844, kSmall, 390.0 / 800, true},
    {"the smallest phone upright", 320, 568, kSmall, 320.0 / 800, true},
};

TEST(Fitting, ChoosesTheLayoutAndZoomThatShowEverythingLargest) {
    for (const Viewport& v : kViewports) {
        const Fitting f = forms::fit(v.width, v.height);
        SCOPED_TRACE(v.what);
        EXPECT_EQ(f.layout, v.layout);
        EXPECT_DOUBLE_EQ(f.zoom.factor(), v.factor);
        EXPECT_EQ(f.turn, v.turn);
        EXPECT_EQ(f.screenWidth > forms::kSmallScreenWidth, v.layout == kNormal)
            << "the screens see the layout in Screen.Width";
    }
}

// From the smallest phone to a 4K monitor, either way round: the layout's area lies inside the
// viewport, and one of its sides touches the viewport's edge.
TEST(Fitting, PutsEveryScreenWhollyInsideAnyViewport) {
    for (double width = 320; width <= 3840; width += 37) {
        for (double height = 320; height <= 2160; height += 29) {
            const Fitting f = forms::fit(width, height);
            const forms::LayoutArea area = forms::areaOf(f.layout);
            const double across = area.width * f.zoom.factor() / forms::kTwipsPerPixel;
            const double down = area.height * f.zoom.factor() / forms::kTwipsPerPixel;
            ASSERT_LE(across, width + 1e-9) << width << " x " << height;
            ASSERT_LE(down, height + 1e-9) << width << " x " << height;
            ASSERT_NEAR(std::max(across / width, down / height), 1.0, 1e-9);
            ASSERT_GE(f.client.Width, area.width);
            ASSERT_GE(f.client.Height, area.height);
        }
    }
}

TEST(FittedScreen, KeepsTheLayoutAFormTookAndZoomsItToFitANewArea) {
    FittedScreen screen;
    screen.setArea(1180, 820); // a landscape iPad
    screen.laidOut(screen.widthTwips());
    ASSERT_EQ(screen.layout(), kNormal);

    EXPECT_TRUE(screen.setArea(820, 1180)) << "turned upright in mid-game";
    EXPECT_EQ(screen.layout(), kNormal) << "the game keeps its layout";
    EXPECT_DOUBLE_EQ(screen.zoom().factor(), 820.0 / 1024);
    EXPECT_EQ(forms::layoutFor(screen.widthTwips()), kSmall) << "the next screen takes the best";

    screen.laidOut(screen.widthTwips());
    EXPECT_EQ(screen.layout(), kSmall);
    EXPECT_DOUBLE_EQ(screen.zoom().factor(), 820.0 / 800);
    EXPECT_EQ(screen.clientSizeTwips(), (forms::Size{12000, 17269}));
}

TEST(FittedScreen, AZoomGivenByHandHoldsForEveryAreaAndTheWidthChoosesTheLayout) {
    FittedScreen screen(2.0);
    for (const auto& [width, height, layout] :
         {std::tuple{1920.0, 1080.0, kNormal}, std::tuple{1600.0, 1200.0, kSmall}}) {
        EXPECT_FALSE(screen.setArea(width, height));
        screen.laidOut(screen.widthTwips());
        EXPECT_EQ(screen.zoom().factor(), 2.0);
        EXPECT_EQ(screen.widthTwips(), static_cast<int>(width * 15 / 2));
        EXPECT_EQ(screen.layout(), layout);
        EXPECT_FALSE(screen.asksToTurn());
    }
}

} // namespace
