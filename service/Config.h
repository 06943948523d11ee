#pragma once

// The service's settings: the command line over the config file over the defaults.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zifferix::service {

struct Config {
    std::string host = "127.0.0.1";
    int port = 8181;
    std::string stateDir;
    std::string database; // empty: SQLite in the state folder
    std::string site;     // empty: the API only
    int maxDays = 365;
    std::string password; // empty: anyone may open a class
    double rateFactor = 1;
};

struct Environment {
    std::function<std::optional<std::string>(const std::string&)> variable;
    // The file's text, or nothing if there is no such file.
    std::function<std::optional<std::string>(const std::string&)> file;
};

// The process's own environment and files.
Environment processEnvironment();

inline constexpr const char* kDefaultConfigFile = "/etc/zifferix/klassen.conf";

// The settings from the arguments (without the program's name); on a fault nothing and a message.
std::optional<Config> configure(const std::vector<std::string>& arguments, const Environment& env,
                                std::string& error);

// `key = value` lines with `#` comments into the settings.
bool readConfigFile(const std::string& text, Config& config, std::string& error);

std::string usage();

} // namespace zifferix::service
