#include "Options.h"

#include <charconv>
#include <cmath>

namespace zifferix {
namespace {

// A factor with a point or a German comma, such as "1.5" or "1,5".
std::optional<double> factor(std::string_view text) {
    std::string number(text);
    for (char& c : number) {
        if (c == ',') {
            c = '.';
        }
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (number.empty() || error != std::errc{} || stop != end || !std::isfinite(value) ||
        value < kSmallestZoom || value > kLargestZoom) {
        return std::nullopt;
    }
    return value;
}

Options refuse(std::string error) {
    Options options;
    options.action = Options::Action::Refuse;
    options.error = std::move(error);
    return options;
}

} // namespace

Options parseOptions(const std::vector<std::string_view>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.action = Options::Action::Help;
            return options;
        }
        if (argument == "--version") {
            options.action = Options::Action::Version;
            return options;
        }
        std::optional<std::string_view> value;
        if (argument.starts_with("--zoom=")) {
            value = argument.substr(7);
        } else if (argument == "--zoom" && i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return refuse("unbekannte Angabe „" + std::string(argument) +
                          "“ (zifferix --help zeigt, was geht)");
        }
        options.zoom = factor(*value);
        if (!options.zoom) {
            return refuse("--zoom braucht einen Faktor von 1 bis 4, nicht „" + std::string(*value) +
                          "“");
        }
    }
    return options;
}

std::string usage() {
    return "Aufruf: zifferix [--zoom=F]\n"
           "Zifferix, das Kopfrechnen-Training für die Schule.\n"
           "\n"
           "  --zoom=F     alles F-mal so groß wie entworfen, F von 1 bis 4, etwa 1,5\n"
           "               (ohne diese Angabe füllen die Bildschirme den Monitor)\n"
           "  --help       diese Hilfe zeigen\n"
           "  --version    die Version zeigen\n";
}

std::string version() {
    return std::string("zifferix ") + ZIFFERIX_VERSION + "\n";
}

} // namespace zifferix
