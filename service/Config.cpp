#include "Config.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

namespace zifferix::service {
namespace {

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

template <typename Number> bool numberFrom(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [rest, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && rest == end && !text.empty();
}

bool setListen(const std::string& value, Config& config, std::string& error) {
    const auto colon = value.rfind(':');
    int port = 0;
    if (colon == std::string::npos || colon == 0 || !numberFrom(value.substr(colon + 1), port) ||
        port < 0 || port > 65535) {
        error = "listen wants HOST:PORT, not " + value;
        return false;
    }
    config.host = value.substr(0, colon);
    if (config.host.size() > 2 && config.host.front() == '[' && config.host.back() == ']') {
        config.host = config.host.substr(1, config.host.size() - 2);
    }
    config.port = port;
    return true;
}

bool setMaxDays(const std::string& value, Config& config, std::string& error) {
    if (!numberFrom(value, config.maxDays) || config.maxDays < 1 || config.maxDays > 36500) {
        error = "max_days wants a number of days from 1 to 36500, not " + value;
        return false;
    }
    return true;
}

bool setRate(const std::string& value, Config& config, std::string& error) {
    std::istringstream stream(value);
    stream >> config.rateFactor;
    if (!stream || !stream.eof() || config.rateFactor < 0) {
        error = "rate_limit wants a factor of 0 or more, not " + value;
        return false;
    }
    return true;
}

template <std::string Config::*field>
bool setText(const std::string& value, Config& config, std::string&) {
    config.*field = value;
    return true;
}

struct Setting {
    std::string_view key; // in the file; the option is --key with '-' for '_'
    bool (*set)(const std::string&, Config&, std::string&);
    bool inFile;
};

constexpr std::array<Setting, 7> kSettings{{
    {"listen", setListen, true},
    {"max_days", setMaxDays, true},
    {"rate_limit", setRate, true},
    {"password", setText<&Config::password>, true},
    {"database", setText<&Config::database>, true},
    {"state", setText<&Config::stateDir>, false},
    {"site", setText<&Config::site>, false},
}};

const Setting* settingNamed(std::string_view key) {
    for (const Setting& setting : kSettings) {
        if (setting.key == key) {
            return &setting;
        }
    }
    return nullptr;
}

std::string defaultStateDir(const Environment& env) {
    if (auto dir = env.variable("STATE_DIRECTORY"); dir && !dir->empty()) {
        // systemd may hand several, separated by ':'; the first is the service's own.
        return dir->substr(0, dir->find(':'));
    }
    if (auto dir = env.variable("XDG_STATE_HOME"); dir && !dir->empty()) {
        return *dir + "/zifferix-klassen";
    }
    return env.variable("HOME").value_or(".") + "/.local/state/zifferix-klassen";
}

} // namespace

Environment processEnvironment() {
    return {[](const std::string& name) -> std::optional<std::string> {
                const char* value = std::getenv(name.c_str());
                return value ? std::optional<std::string>(value) : std::nullopt;
            },
            [](const std::string& path) -> std::optional<std::string> {
                std::ifstream in(path, std::ios::binary);
                if (!in) {
                    return std::nullopt;
                }
                std::ostringstream text;
                text << in.rdbuf();
                return text.str();
            }};
}

bool readConfigFile(const std::string& text, Config& config, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string content = trimmed(line.substr(0, line.find('#')));
        if (content.empty()) {
            continue;
        }
        const auto equals = content.find('=');
        const Setting* setting = equals == std::string::npos
                                     ? nullptr
                                     : settingNamed(trimmed(content.substr(0, equals)));
        if (!setting || !setting->inFile) {
            error = "line " + std::to_string(number) + " of the config file is no known setting";
            return false;
        }
        if (!setting->set(trimmed(content.substr(equals + 1)), config, error)) {
            return false;
        }
    }
    return true;
}

std::optional<Config> configure(const std::vector<std::string>& arguments, const Environment& env,
                                std::string& error) {
    std::vector<std::pair<const Setting*, std::string>> options;
    std::optional<std::string> configFile;
    for (const std::string& argument : arguments) {
        const auto equals = argument.find('=');
        if (argument.rfind("--", 0) != 0 || equals == std::string::npos) {
            error = "unknown argument " + argument.substr(0, argument.find('='));
            return std::nullopt;
        }
        std::string key = argument.substr(2, equals - 2);
        std::replace(key.begin(), key.end(), '-', '_');
        const std::string value = argument.substr(equals + 1);
        if (key == "config") {
            configFile = value;
        } else if (const Setting* setting = settingNamed(key)) {
            options.emplace_back(setting, value);
        } else {
            error = "unknown option --" + argument.substr(2, equals - 2);
            return std::nullopt;
        }
    }
    Config config;
    const std::string path = configFile.value_or(kDefaultConfigFile);
    if (const auto text = env.file(path)) {
        if (!readConfigFile(*text, config, error)) {
            error = path + ": " + error;
            return std::nullopt;
        }
    } else if (configFile) {
        error = "cannot read the config file " + path;
        return std::nullopt;
    }
    for (const auto& [setting, value] : options) {
        if (!setting->set(value, config, error)) {
            return std::nullopt;
        }
    }
    if (config.stateDir.empty()) {
        config.stateDir = defaultStateDir(env);
    }
    return config;
}

std::string usage() {
    return "usage: zifferix-klassen [--listen=HOST:PORT] [--state=DIR] [--database=URL]\n"
           "                        [--config=FILE] [--site=DIR] [--max-days=N]\n"
           "                        [--rate-limit=FACTOR]\n"
           "Stores a class's results and answers the teacher's board.\n";
}

} // namespace zifferix::service
