#include "app/Options.h"

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

// The options that take a value, as --name=VALUE or --name VALUE.
enum class Valued { Zoom, Game, Level };
struct ValuedOption {
    std::string_view name;
    Valued option;
};
constexpr ValuedOption kValued[] = {
    {"--zoom", Valued::Zoom},
    {"--spiel", Valued::Game},
    {"--stufe", Valued::Level},
};

// The option an argument names and its value, taking the next argument where it has none.
std::optional<std::pair<Valued, std::string_view>>
valued(const std::vector<std::string_view>& arguments, std::size_t& i) {
    const std::string_view argument = arguments[i];
    for (const ValuedOption& option : kValued) {
        if (argument.starts_with(option.name) && argument.size() > option.name.size() &&
            argument[option.name.size()] == '=') {
            return std::pair{option.option, argument.substr(option.name.size() + 1)};
        }
        if (argument == option.name && i + 1 < arguments.size()) {
            return std::pair{option.option, arguments[++i]};
        }
    }
    return std::nullopt;
}

std::string quoted(std::string_view value) {
    return "„" + std::string(value) + "“";
}

// Takes an option's value into the options; the refusal's line when it is no good.
std::optional<std::string> take(Options& options, Valued option, std::string_view value) {
    switch (option) {
    case Valued::Zoom:
        options.zoom = factor(value);
        if (!options.zoom) {
            return "--zoom braucht einen Faktor von 1 bis 4, nicht " + quoted(value);
        }
        break;
    case Valued::Game:
        options.choice.game = named(kGameNames, value);
        if (!options.choice.game) {
            return "--spiel braucht eines von " + namesOf(kGameNames) + ", nicht " + quoted(value);
        }
        break;
    case Valued::Level:
        options.choice.level = named(kLevelNames, value);
        if (!options.choice.level) {
            return "--stufe braucht eine von " + namesOf(kLevelNames) + ", nicht " + quoted(value);
        }
        break;
    }
    return std::nullopt;
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
        if (argument == "--mehr-zeit") {
            options.choice.moreTime = true;
            continue;
        }
        if (argument == "--kontrast") {
            options.choice.contrast = true;
            continue;
        }
        if (argument == "--vorlesen") {
            options.choice.readAloud = true;
            continue;
        }
        if (argument == "--normale-zeit") {
            options.choice.normalTime = true;
            continue;
        }
        const auto option = valued(arguments, i);
        if (!option) {
            return refuse("unbekannte Angabe " + quoted(argument) +
                          " (zifferix --help zeigt, was geht)");
        }
        if (auto error = take(options, option->first, option->second)) {
            return refuse(std::move(*error));
        }
    }
    return options;
}

std::string usage() {
    return "Aufruf: zifferix [--zoom=F] [--spiel=SPIEL] [--stufe=STUFE] [--mehr-zeit] "
           "[--kontrast] [--vorlesen] [--normale-zeit]\n"
           "Zifferix, das Kopfrechnen-Training für die Schule.\n"
           "\n"
           "  --zoom=F         alles F-mal so groß wie entworfen, F von 1 bis 4, etwa 1,5\n"
           "                   (ohne diese Angabe füllen die Bildschirme den Monitor)\n"
           "  --spiel=SPIEL    wählt auf dem Startbildschirm ein Spiel:\n"
           "                   " +
           namesOf(kGameNames) +
           "\n"
           "  --stufe=STUFE    wählt die Schwierigkeit: " +
           namesOf(kLevelNames) +
           "\n"
           "                   (los geht es erst mit „Los und hopp“)\n"
           "  --mehr-zeit      doppelt so viel Zeit bei der Uhr und beim Glas\n"
           "  --kontrast       mehr Kontrast: alle Texte und Ränder deutlich abgesetzt\n"
           "  --vorlesen       liest jede Aufgabe vor, mit der deutschen Stimme des Rechners;\n"
           "                   F2 oder ein Klick auf den Lautsprecher sagt sie noch einmal\n"
           "                   (dazu doppelt so viel Zeit, außer mit --normale-zeit)\n"
           "  --help           diese Hilfe zeigen\n"
           "  --version        die Version zeigen\n";
}

std::string version() {
    return std::string("zifferix ") + ZIFFERIX_VERSION + "\n";
}

} // namespace zifferix
