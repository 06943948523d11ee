#include "forms/Basic.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace forms {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Runs f with the C library's number conversions in the "C" locale, whatever locale the
// process runs in (Qt sets it from the environment): a point is the decimal sign. The C
// library's conversions are exact on every build, glibc's and the browser's alike.
template <class F> auto inCLocale(F f) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const locale_t previous = uselocale(c);
    auto result = f();
    uselocale(previous);
    return result;
}

// Writes v rounded to `digits` significant digits in plain decimal notation.
std::string plainDecimal(double v, int digits, char decimalSign) {
    if (!std::isfinite(v) || v == 0.0) {
        return "0";
    }
    // d.ddddde+xx, correctly rounded to nearest, ties to even.
    char buf[64] = {};
    inCLocale([&] { return std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v); });
    const bool negative = buf[0] == '-';
    const char* p = buf + (negative ? 1 : 0);
    std::string mantissa(1, *p++);
    if (*p == '.') {
        ++p;
        while (isDigit(*p)) {
            mantissa.push_back(*p++);
        }
    }
    ++p; // the 'e'
    const int exponent = std::atoi(p);
    while (mantissa.size() > 1 && mantissa.back() == '0') {
        mantissa.pop_back();
    }
    if (mantissa == "0") {
        return "0";
    }
    const int wholeDigits = exponent + 1;
    std::string whole;
    std::string fraction;
    if (wholeDigits <= 0) {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-wholeDigits), '0') + mantissa;
    } else if (static_cast<std::size_t>(wholeDigits) >= mantissa.size()) {
        whole = mantissa + std::string(wholeDigits - mantissa.size(), '0');
    } else {
        whole = mantissa.substr(0, static_cast<std::size_t>(wholeDigits));
        fraction = mantissa.substr(static_cast<std::size_t>(wholeDigits));
    }
    std::string text = negative ? "-" : "";
    text += whole;
    if (!fraction.empty()) {
        text += decimalSign;
        text += fraction;
    }
    return text;
}

// Reads all of a number in C notation, correctly rounded; nothing when the text holds more
// than the number or the number is out of range.
template <class T, class Convert>
std::optional<T> parse(const std::string& number, Convert convert) {
    errno = 0;
    char* end = nullptr;
    const T v = inCLocale([&] { return convert(number.c_str(), &end); });
    if (end != number.c_str() + number.size() || errno == ERANGE || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

// Reads a number in C notation; 0 when out of range.
double toDouble(const std::string& number) {
    return parse<double>(number, [](const char* s, char** end) { return std::strtod(s, end); })
        .value_or(0.0);
}

std::string withBlank(double v, std::string text) {
    return v >= 0 ? " " + text : text;
}

constexpr int kSingleDigits = 7;
constexpr int kDoubleDigits = 15;

} // namespace

Double Val(std::string_view text) {
    std::string number;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
    };
    auto takeDigits = [&] {
        bool any = false;
        for (skipBlanks(); i < text.size() && isDigit(text[i]); skipBlanks()) {
            number.push_back(text[i++]);
            any = true;
        }
        return any;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.push_back(text[i++]);
    }
    bool digits = takeDigits();
    if (i < text.size() && text[i] == '.') {
        number.push_back(text[i++]);
        digits = takeDigits() || digits;
    }
    if (!digits) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponent.push_back(text[j++]);
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                exponent.push_back(text[j++]);
            }
            number += exponent;
        }
    }
    return toDouble(number);
}

std::string Str(Double v) {
    return withBlank(v, plainDecimal(v, kDoubleDigits, '.'));
}
std::string Str(Single v) {
    return withBlank(v, plainDecimal(v, kSingleDigits, '.'));
}
std::string Str(int v) {
    return withBlank(v, std::to_string(v));
}

std::string CStr(Double v) {
    return plainDecimal(v, kDoubleDigits, ',');
}
std::string CStr(Single v) {
    return plainDecimal(v, kSingleDigits, ',');
}
std::string CStr(int v) {
    return std::to_string(v);
}

std::optional<Single> CSng(std::string_view text) {
    std::string number;
    bool digits = false;
    bool comma = false;
    for (char c : text) {
        if (isDigit(c)) {
            number.push_back(c);
            digits = true;
        } else if (c == ',' && !comma) {
            number.push_back('.');
            comma = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    return parse<Single>(number, [](const char* s, char** end) { return std::strtof(s, end); });
}

} // namespace forms
