#include "forms/Basic.h"
#include "NumberTexts.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace forms;

TEST(Val, ReadsTheLeadingNumberWithAPointAndSkipsBlanks) {
    EXPECT_EQ(Val("12"), 12);
    EXPECT_EQ(Val("  1 2 3"), 123);
    EXPECT_EQ(Val("3.5 Äpfel"), 3.5);
    EXPECT_EQ(Val("-7"), -7);
    EXPECT_EQ(Val("1e3"), 1000);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val(".5"), 0.5);
}

TEST(Val, IsZeroWhenTheTextHoldsNoNumber) {
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("1e999"), 0);
}

TEST(Val, StopsAtTheGermanComma) {
    EXPECT_EQ(Val("2,5"), 2);
}

TEST(Str, WritesABlankBeforeNumbersThatAreNotNegative) {
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(-7), "-7");
    EXPECT_EQ(Str(2.5), " 2.5");
    EXPECT_EQ(Str(-0.25f), "-0.25");
}

TEST(CStr, WritesTheGermanCommaWithoutBlankOrTrailingZeros) {
    EXPECT_EQ(CStr(27), "27");
    EXPECT_EQ(CStr(-7.0f), "-7");
    EXPECT_EQ(CStr(2.5), "2,5");
    EXPECT_EQ(CStr(35 * std::pow(10.0, -2)), "0,35");
    EXPECT_EQ(CStr(0.123 * 1e6), "123000");
}

TEST(CStr, NeverUsesAnExponent) {
    EXPECT_EQ(CStr(1 * std::pow(10.0, -5)), "0,00001");
    EXPECT_EQ(CStr(999 * std::pow(10.0, -7)), "0,0000999");
    EXPECT_EQ(CStr(1e20), "100000000000000000000");
    EXPECT_EQ(CStr(1.5e-12f), "0,0000000000015");
}

TEST(CStr, KeepsSevenDigitsOfASingleAndFifteenOfADouble) {
    EXPECT_EQ(CStr(0.1f), "0,1");
    EXPECT_EQ(CStr(static_cast<double>(0.1f)), "0,100000001490116");
    EXPECT_EQ(CStr(1.0 / 3), "0,333333333333333");
}

TEST(CStr, RoundsToNearestAndHalfwayToEvenAsEveryBuildDoes) {
    for (const testing_support::NumberText& t : testing_support::numberTexts()) {
        EXPECT_EQ(testing_support::cstrOf(t), t.cstr) << t.value;
    }
}

TEST(CSng, ReadsTheNearestSingleAsEveryBuildDoes) {
    for (const testing_support::TypedNumber& t : testing_support::typedNumbers()) {
        EXPECT_EQ(CSng(t.text), t.value) << t.text;
    }
}

TEST(CSng, ReadsANumberWithTheGermanComma) {
    EXPECT_EQ(CSng("2,5"), 2.5f);
    EXPECT_EQ(CSng("0,35"), 0.35f);
    EXPECT_EQ(CSng(",5"), 0.5f);
    EXPECT_EQ(CSng("7,"), 7.0f);
    EXPECT_EQ(CSng("123000"), 123000.0f);
}

TEST(CSng, GivesNothingForTextThatIsNoNumber) {
    EXPECT_FALSE(CSng(","));
    EXPECT_FALSE(CSng(""));
    EXPECT_FALSE(CSng("1,2,3"));
    EXPECT_FALSE(CSng("2.5"));
    EXPECT_FALSE(CSng(std::string(60, '9')));
}

TEST(Int, RoundsDown) {
    EXPECT_EQ(Int(9.99999f), 9.0f);
    EXPECT_EQ(Int(-0.5f), -1.0f);
    EXPECT_EQ(Int(0.99999994f * 10) + 1, 10.0f);
    static_assert(Int(7) == 7, "a whole number stays as it is");
}

TEST(SingleEquals, RoundsTheDoubleToSingleBeforeComparing) {
    const double threeCentimetresInDecimetres = 3 * std::pow(10.0, -1);
    EXPECT_NE(static_cast<double>(0.3f), threeCentimetresInDecimetres);
    EXPECT_TRUE(SingleEquals(0.3f, threeCentimetresInDecimetres));
    EXPECT_TRUE(SingleEquals(0.003f, 3 * std::pow(10.0, -3)));
    EXPECT_TRUE(SingleEquals(12.0f, Val("012")));
    EXPECT_FALSE(SingleEquals(0.3f, 0.31));
    EXPECT_FALSE(SingleEquals(16777216.0f, 16777218.0)) << "distinct singles stay distinct";
}
