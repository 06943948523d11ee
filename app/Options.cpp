#include "app/Options.h"

#include <algorithm>
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

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

// A class's id: 60 random bits as 12 characters of lowercase base32.
bool isClassId(std::string_view id) {
    return id.size() == 12 && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '2' && c <= '7');
           });
}

bool isPort(std::string_view port) {
    unsigned number = 0;
    const auto [stop, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    return error == std::errc{} && stop == port.data() + port.size() && number >= 1 &&
           number <= 65535;
}

// A host name, an IPv4 address or a bracketed IPv6 one, with a port or none. Bytes beyond ASCII
// are an international domain name's.
bool isAuthority(std::string_view authority) {
    const bool bracketed = authority.starts_with('[');
    const auto close = bracketed ? authority.find(']') : 0;
    if (close == std::string_view::npos) {
        return false;
    }
    const auto colon = authority.find(':', close);
    if (colon != std::string_view::npos && !isPort(authority.substr(colon + 1))) {
        return false;
    }
    if (bracketed) {
        const std::string_view inside = authority.substr(1, close - 1);
        return !inside.empty() && (close + 1 == authority.size() || colon == close + 1) &&
               std::all_of(inside.begin(), inside.end(),
                           [](char c) { return isAsciiAlnum(c) || c == ':' || c == '.'; });
    }
    const std::string_view host = authority.substr(0, colon);
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return isAsciiAlnum(c) || c == '-' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
    });
}

// The page's folder from a link's path: "/zifferix/index.html", "/zifferix/" and "/zifferix"
// all name "/zifferix/"; another file's name names no page.
std::optional<std::string> siteFolder(std::string_view path) {
    if (path.empty()) {
        return "/";
    }
    constexpr std::string_view kPage = "index.html";
    if (path.ends_with(std::string("/") + std::string(kPage))) {
        path.remove_suffix(kPage.size());
    }
    if (path.ends_with('/')) {
        return std::string(path);
    }
    const std::string_view last = path.substr(path.rfind('/') + 1);
    if (last.find('.') != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(path) + "/";
}

// The id among the fragment's parts, "klasse=<KLASSE>", which may stand beside a game's link.
std::optional<std::string_view> classInFragment(std::string_view fragment) {
    constexpr std::string_view kKey = "klasse=";
    while (!fragment.empty()) {
        const auto amp = fragment.find('&');
        const std::string_view part = fragment.substr(0, amp);
        if (part.starts_with(kKey)) {
            return part.substr(kKey.size());
        }
        fragment = amp == std::string_view::npos ? std::string_view{} : fragment.substr(amp + 1);
    }
    return std::nullopt;
}

// The options that take a value, as --name=VALUE or --name VALUE.
enum class Valued { Zoom, Game, Level, Class };
struct ValuedOption {
    std::string_view name;
    Valued option;
};
constexpr ValuedOption kValued[] = {
    {"--zoom", Valued::Zoom},
    {"--spiel", Valued::Game},
    {"--stufe", Valued::Level},
    {"--klasse", Valued::Class},
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
    case Valued::Class: {
        ParsedClassLink link = parseClassLink(value);
        if (!link.address) {
            return "--klasse braucht den Link einer Klasse (" + link.problem + "), nicht " +
                   quoted(value);
        }
        options.klasse = std::move(link.address);
        break;
    }
    }
    return std::nullopt;
}

} // namespace

ParsedClassLink parseClassLink(std::string_view link) {
    const auto refused = [](std::string problem) {
        return ParsedClassLink{{}, std::move(problem)};
    };
    if (std::any_of(link.begin(), link.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7f; })) {
        return refused("ohne Leerzeichen");
    }
    const auto schemeEnd = link.find("://");
    const std::string scheme =
        schemeEnd == std::string_view::npos ? std::string() : lowered(link.substr(0, schemeEnd));
    if (scheme != "http" && scheme != "https") {
        return refused("mit http:// oder https://");
    }
    std::string_view rest = link.substr(schemeEnd + 3);
    const auto hash = rest.find('#');
    const std::string_view fragment =
        hash == std::string_view::npos ? std::string_view{} : rest.substr(hash + 1);
    rest = rest.substr(0, std::min(rest.find('?'), hash));
    const auto slash = rest.find('/');
    const std::string_view authority = rest.substr(0, slash);
    if (!isAuthority(authority) || authority.find('@') != std::string_view::npos) {
        return refused("mit dem Namen eines Rechners");
    }
    const auto folder =
        siteFolder(slash == std::string_view::npos ? std::string_view{} : rest.substr(slash));
    if (!folder) {
        return refused("auf index.html oder den Ordner der Seite");
    }
    const auto id = classInFragment(fragment);
    if (!id) {
        return refused("mit #klasse= am Ende");
    }
    if (!isClassId(*id)) {
        return refused("mit einer Klasse aus 12 Zeichen von a bis z und 2 bis 7");
    }
    return {ClassAddress{scheme + "://" + lowered(authority) + *folder, std::string(*id)}, {}};
}

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
           "[--kontrast] [--vorlesen] [--normale-zeit] [--klasse=LINK]\n"
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
           "  --klasse=LINK    spielt in einer Klasse mit, mit dem Link, den die Lehrerin oder\n"
           "                   der Lehrer gibt (…/index.html#klasse=…): jedes Spiel geht an\n"
           "                   die Tafel der Klasse; was noch nicht ankam, wartet in\n"
           "                   $XDG_STATE_HOME/zifferix (sonst ~/.local/state/zifferix)\n"
           "  --help           diese Hilfe zeigen\n"
           "  --version        die Version zeigen\n";
}

std::string version() {
    return std::string("zifferix ") + ZIFFERIX_VERSION + "\n";
}

} // namespace zifferix
