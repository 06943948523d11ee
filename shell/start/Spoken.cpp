#include "start/Spoken.h"

namespace zifferix::spoken {
namespace {

bool named(int n) {
    return n >= 1 && n < static_cast<int>(kNumerals.size());
}

} // namespace

std::string number(std::string_view shown) {
    while (shown.starts_with(' ')) {
        shown.remove_prefix(1);
    }
    return std::string(shown);
}

std::string count(int n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string fraction(int numerator, int denominator) {
    if (!named(numerator) || !named(denominator)) {
        return std::to_string(numerator) + " durch " + std::to_string(denominator);
    }
    std::string part(kParts[static_cast<std::size_t>(denominator)]);
    if (denominator == 2 && numerator > 1) {
        part += "e"; // drei Halbe
    }
    return std::string(kNumerals[static_cast<std::size_t>(numerator)]) + " " + part;
}

std::string missingSummand(std::string_view a, std::string_view b, std::string_view c) {
    return number(a) + " plus " + number(b) + " ist gleich " + number(c) + " plus wie viel?";
}

std::string signedSum(std::initializer_list<std::string_view> numbers) {
    std::string sum;
    for (std::string_view shown : numbers) {
        std::string n = number(shown);
        const bool negative = n.starts_with('-');
        if (negative) {
            n.erase(0, 1);
        }
        if (sum.empty()) {
            sum = negative ? "minus " + n : n;
        } else {
            sum += (negative ? " minus " : " plus ") + n;
        }
    }
    return sum;
}

} // namespace zifferix::spoken
