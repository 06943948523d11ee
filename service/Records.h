#pragma once

// What the storage gives back: a class, its board, its games.

#include "Validation.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zifferix::service {

// A class as its teacher just opened it: the only time the secret is seen.
struct OpenedClass {
    std::string id;
    std::string secret;
    std::string name;
    long long expires = 0;
};

struct PublicClass {
    std::string name;
    std::vector<std::string> children;
};

struct ClassHead {
    std::string name;
    long long expires = 0;
    long long stand = 0;
};

enum class Added { Stored, AlreadyThere, NoClass };

struct GameStats {
    std::optional<long long> best; // of the games won
    long long played = 0;
    long long won = 0;
    long long last = 0;
};

struct BoardChild {
    std::string name;
    std::vector<std::pair<std::string, GameStats>> games; // the games played, in the table's order
};

struct Hard {
    std::string problem;
    long long children = 0; // who answered it wrong
    long long wrong = 0;    // how often
};

struct Board {
    ClassHead head;
    std::vector<BoardChild> children;
    std::vector<Hard> hardest;
};

struct StoredResult {
    ResultBody result;
    long long received = 0;
};

} // namespace zifferix::service
