#pragma once

// What a request's body must be before anything is stored: pure checks, no storage, no HTTP.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zifferix::service {

enum class Outcome { Won, Lost, Left };

struct ProblemBody {
    std::string problem;
    std::string answer;
    bool right = false;
    double seconds = 0;
};

struct ResultBody {
    std::string id;
    std::string child;
    std::string game;
    int level = 1;
    long long points = 0;
    Outcome outcome = Outcome::Left;
    bool inRow = false;
    double seconds = 0;
    std::vector<ProblemBody> problems;
};

struct ClassBody {
    std::string name;
    std::vector<std::string> children;
    std::optional<int> days;
    std::optional<std::string> password;
};

// A result or a new class from its JSON body; on a fault nothing and a German message.
std::optional<ResultBody> parseResult(std::string_view body, std::string& fehler);
std::optional<ClassBody> parseClass(std::string_view body, std::string& fehler);

// How an outcome is written in JSON and in the database: "gewonnen", "verloren", "verlassen".
std::string_view outcomeName(Outcome outcome);
std::optional<Outcome> outcomeNamed(std::string_view name);

// The forms of the ids in a link: a class "abcdefgh2345", a result's uuid v4.
bool isClassId(std::string_view text);
bool isResultId(std::string_view text);

// A child's name as the routes and the bodies take it: 1..24 characters, no control character.
bool isChildName(std::string_view text);

} // namespace zifferix::service
