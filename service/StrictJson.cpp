#include "StrictJson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <set>
#include <vector>

namespace zifferix::service {
namespace {

struct Frame {
    bool object = false;
    bool wantsKey = false;
    std::set<std::string> keys;
};

int hex(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) {
        return -1;
    }
    int value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

// The string that starts at `at` (its quote): where it ends, or npos for a lone surrogate.
std::size_t stringEnd(std::string_view json, std::size_t at) {
    for (std::size_t i = at + 1; i < json.size(); ++i) {
        if (json[i] == '"') {
            return i;
        }
        if (json[i] != '\\') {
            continue;
        }
        ++i;
        if (i >= json.size() || json[i] != 'u') {
            continue;
        }
        const int unit = hex(json, i + 1);
        i += 4;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return std::string_view::npos;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const bool paired = i + 2 < json.size() && json[i + 1] == '\\' && json[i + 2] == 'u';
            const int low = paired ? hex(json, i + 3) : -1;
            if (low < 0xDC00 || low > 0xDFFF) {
                return std::string_view::npos;
            }
            i += 6;
        }
    }
    return std::string_view::npos;
}

// A key as Qt reads it, escapes and all.
std::string keyText(std::string_view quoted) {
    if (quoted.find('\\') == std::string_view::npos) {
        return std::string(quoted.substr(1, quoted.size() - 2));
    }
    const QByteArray list =
        "[" + QByteArray(quoted.data(), static_cast<qsizetype>(quoted.size())) + "]";
    return QJsonDocument::fromJson(list).array().at(0).toString().toStdString();
}

} // namespace

bool strictJson(std::string_view json, std::string& fehler) {
    std::vector<Frame> frames;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '{' || c == '[') {
            frames.push_back({c == '{', c == '{', {}});
        } else if ((c == '}' || c == ']') && !frames.empty()) {
            frames.pop_back();
        } else if (c == ',' && !frames.empty()) {
            frames.back().wantsKey = frames.back().object;
        } else if (c == '"') {
            const std::size_t end = stringEnd(json, i);
            if (end == std::string_view::npos) {
                fehler = "Der Text enthält ein halbes Ersatzzeichen (\\u-Escape).";
                return false;
            }
            if (!frames.empty() && frames.back().wantsKey) {
                frames.back().wantsKey = false;
                const std::string key = keyText(json.substr(i, end - i + 1));
                if (!frames.back().keys.insert(key).second) {
                    fehler = "Das Feld „" + key + "“ steht zweimal darin.";
                    return false;
                }
            }
            i = end;
        }
    }
    return true;
}

} // namespace zifferix::service
