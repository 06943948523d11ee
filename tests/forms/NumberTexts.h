#pragma once

// Numbers and the text a child sees for them. The desktop's C library and the browser's must
// agree to the last digit, ties included, so both builds check this one table.

#include "forms/Basic.h"

#include <string>
#include <vector>

namespace testing_support {

struct NumberText {
    enum class As { Single, Double };
    As as;
    double value;
    const char* cstr; // CStr: no blank, a comma
};

inline const std::vector<NumberText>& numberTexts() {
    using As = NumberText::As;
    static const std::vector<NumberText> texts = {
        {As::Single, 1.0 / 3, "0,3333333"},
        {As::Single, 123456.789, "123456,8"},
        {As::Single, 16777215, "16777220"}, // halfway at the seventh digit: to even
        {As::Single, 12345675, "12345680"},
        {As::Single, 12345665, "12345660"},
        {As::Single, 0.000001, "0,000001"},
        {As::Single, 2.5e-7, "0,00000025"},
        {As::Single, 1e-45, "0,000000000000000000000000000000000000000000001401298"},
        {As::Single, 3.4e38, "340000000000000000000000000000000000000"},
        {As::Single, -0.1, "-0,1"},
        {As::Double, 0.1 + 0.2, "0,3"},
        {As::Double, 2.675, "2,675"},
        {As::Double, 1.0 / 3, "0,333333333333333"},
        {As::Double, 1e22, "10000000000000000000000"},
        {As::Double, 1.0000000000000004, "1"},
        {As::Double, 123456789012345678.0, "123456789012346000"},
        {As::Double, 1234567890123465.0, "1234567890123460"}, // halfway at the fifteenth digit
        {As::Double, 1234567890123475.0, "1234567890123480"},
        {As::Double, 9.9999999999999995e-8, "0,0000001"},
    };
    return texts;
}

inline std::string cstrOf(const NumberText& t) {
    return t.as == NumberText::As::Single ? forms::CStr(static_cast<forms::Single>(t.value))
                                          : forms::CStr(t.value);
}

// Typed text and the single it is read as, correctly rounded.
struct TypedNumber {
    const char* text;
    float value;
};

inline const std::vector<TypedNumber>& typedNumbers() {
    static const std::vector<TypedNumber> typed = {
        {"0,1", 0.1f},
        {"16777217", 16777216.0f}, // halfway between two singles: to even
        {"16777219", 16777220.0f},
        {"0,000001", 0.000001f},
        {"2,675", 2.675f},
        {"340282346638528859811704183484516925440", 3.4028234664e38f},
    };
    return typed;
}

} // namespace testing_support
