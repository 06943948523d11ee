#include "start/Layout.h"
#include "forms/Form.h"
#include "forms/Runtime.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace testing_support;

namespace {

// A screen's two layouts: the design on a large screen, the small one at 800 pixels or less,
// and always the exact design again when it is put back, however often.
TEST(ScreenLayout, TakesTheLayoutOfTheScreenAndPutsTheDesignBackExactly) {
    FakeServices fakes;
    forms::Runtime runtime{fakes.services()};
    forms::Form form(runtime, "form");
    forms::Label label{form, "label"};
    forms::Line line{form, "line"};
    const forms::Placement design{1485, 945, 11490, 2790};
    const forms::Segment ends{0, 9000, 4300, 9000};
    zifferix::ScreenLayout layout({{label, design, zifferix::layout::shrunk(design, {.dx = -100})}},
                                  {{line, ends, zifferix::layout::shrunk(ends)}},
                                  {{label, 20, 18}});
    const auto where = [&] {
        return std::tuple(label.placement(), line.segment(), label.Font.Size);
    };
    const auto large = std::tuple(design, ends, 20.0);
    const auto small = std::tuple(forms::Placement{1058, 729, 8957, 2151},
                                  forms::Segment{0, 6940, 3352, 6940}, 18.0);
    EXPECT_EQ(where(), large) << "the design from the start";
    for (int game = 0; game < 100; ++game) {
        for (const int width : {19200, 12000, 12000}) {
            layout.fit(width);
            EXPECT_EQ(where(), width == 12000 ? small : large);
            EXPECT_EQ(layout.small(), width == 12000);
        }
        layout.restore();
        EXPECT_EQ(where(), large);
        layout.restore();
        EXPECT_EQ(where(), large) << "putting back twice changes nothing";
    }
}

} // namespace
