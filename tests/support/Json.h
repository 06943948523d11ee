#pragma once

// A strict reader of the JSON the program writes, for the tests: objects, arrays, strings,
// numbers and booleans; anything not well-formed, raw control characters included, reads as
// nothing.

#include "forms/Utf8.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace testing_support {

struct Json {
    using Array = std::vector<Json>;
    using Object = std::map<std::string, Json>;
    std::variant<bool, double, std::string, std::shared_ptr<Array>, std::shared_ptr<Object>> value;

    bool boolean() const { return std::get<bool>(value); }
    double number() const { return std::get<double>(value); }
    const std::string& text() const { return std::get<std::string>(value); }
    const Array& array() const { return *std::get<std::shared_ptr<Array>>(value); }
    const Json& operator[](const std::string& key) const {
        return std::get<std::shared_ptr<Object>>(value)->at(key);
    }
    const Json& operator[](std::size_t i) const { return array().at(i); }
    bool has(const std::string& key) const {
        return std::get<std::shared_ptr<Object>>(value)->contains(key);
    }

    static std::optional<Json> read(std::string_view text) {
        std::size_t at = 0;
        std::optional<Json> v = parse(text, at);
        return v && at == text.size() ? v : std::nullopt;
    }

  private:
    static bool eat(std::string_view text, std::size_t& at, std::string_view word) {
        const bool found = text.substr(at, word.size()) == word;
        at += found ? word.size() : 0;
        return found;
    }

    static std::optional<std::string> string(std::string_view text, std::size_t& at) {
        std::string s;
        while (at < text.size() && text[at] != '"') {
            if (static_cast<unsigned char>(text[at]) < 0x20) {
                return std::nullopt;
            }
            if (!eat(text, at, "\\")) {
                std::size_t length = 0;
                const char32_t c = forms::utf8::decodeAt(text, at, &length);
                if (c == 0) {
                    return std::nullopt;
                }
                forms::utf8::append(s, c);
                at += length;
                continue;
            }
            constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
            const std::size_t k = at < text.size() ? kFrom.find(text[at]) : kFrom.npos;
            if (k != kFrom.npos) {
                s += kTo[k];
                ++at;
            } else if (eat(text, at, "u") && at + 4 <= text.size()) {
                char* end = nullptr;
                const std::string hex(text.substr(at, 4));
                const long c = std::strtol(hex.c_str(), &end, 16);
                if (end != hex.c_str() + 4 || (c >= 0xD800 && c <= 0xDFFF)) {
                    return std::nullopt;
                }
                forms::utf8::append(s, static_cast<char32_t>(c));
                at += 4;
            } else {
                return std::nullopt;
            }
        }
        return eat(text, at, "\"") ? std::optional(s) : std::nullopt;
    }

    // Arrays and objects alike: items between brackets, separated by commas.
    template <class Item>
    static bool items(std::string_view text, std::size_t& at, char close, Item item) {
        if (eat(text, at, std::string_view(&close, 1))) {
            return true;
        }
        do {
            if (!item()) {
                return false;
            }
        } while (eat(text, at, ","));
        return eat(text, at, std::string_view(&close, 1));
    }

    static std::optional<Json> parse(std::string_view text, std::size_t& at) {
        if (eat(text, at, "true")) {
            return Json{true};
        }
        if (eat(text, at, "false")) {
            return Json{false};
        }
        if (eat(text, at, "\"")) {
            std::optional<std::string> s = string(text, at);
            return s ? std::optional(Json{*s}) : std::nullopt;
        }
        if (eat(text, at, "[")) {
            auto array = std::make_shared<Array>();
            const bool ok = items(text, at, ']', [&] {
                std::optional<Json> v = parse(text, at);
                return v && (array->push_back(*v), true);
            });
            return ok ? std::optional(Json{array}) : std::nullopt;
        }
        if (eat(text, at, "{")) {
            auto object = std::make_shared<Object>();
            const bool ok = items(text, at, '}', [&] {
                std::optional<std::string> key =
                    eat(text, at, "\"") ? string(text, at) : std::nullopt;
                std::optional<Json> v = key && eat(text, at, ":") ? parse(text, at) : std::nullopt;
                return v && object->emplace(*key, *v).second;
            });
            return ok ? std::optional(Json{object}) : std::nullopt;
        }
        // A number: -?digits(.digits)?, as the program writes them.
        const std::size_t from = at;
        eat(text, at, "-");
        const auto digits = [&] {
            const std::size_t start = at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
                ++at;
            }
            return at > start;
        };
        if (!digits() || (eat(text, at, ".") && !digits())) {
            return std::nullopt;
        }
        return Json{std::strtod(std::string(text.substr(from, at - from)).c_str(), nullptr)};
    }
};

} // namespace testing_support
