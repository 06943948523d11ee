#include "Validation.h"

#include "StrictJson.h"
#include "Utf8.h"

#include "start/Games.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>

namespace zifferix::service {
namespace {

constexpr std::size_t kMaxProblems = 500;
constexpr std::size_t kMaxChildren = 60;
constexpr std::size_t kMaxChildName = 24;
constexpr std::size_t kMaxClassName = 60;
constexpr std::size_t kMaxProblem = 100;
constexpr std::size_t kMaxAnswer = 24;
constexpr std::size_t kMaxPassword = 200;
constexpr int kLevels = static_cast<int>(kRowBonus.size()); // leicht, normal, voll schwer
constexpr double kMaxPoints = 100000;
constexpr double kMaxSeconds = 86400;

constexpr std::array<std::pair<Outcome, std::string_view>, 3> kOutcomes{{
    {Outcome::Won, "gewonnen"},
    {Outcome::Lost, "verloren"},
    {Outcome::Left, "verlassen"},
}};

constexpr std::array<std::string_view, 9> kResultKeys{
    "id", "kind", "spiel", "stufe", "punkte", "ergebnis", "reihe", "sekunden", "aufgaben"};
constexpr std::array<std::string_view, 4> kProblemKeys{"aufgabe", "antwort", "richtig", "sekunden"};
constexpr std::array<std::string_view, 4> kClassKeys{"name", "kinder", "tage", "passwort"};

// A fault found while reading: the message for the page.
struct Fault {
    std::string text;
};

template <std::size_t N>
void onlyKnownKeys(const QJsonObject& object, const std::array<std::string_view, N>& keys) {
    for (const QString& key : object.keys()) {
        const std::string name = key.toStdString();
        if (std::find(keys.begin(), keys.end(), name) == keys.end()) {
            throw Fault{"Unbekanntes Feld „" + name + "“."};
        }
    }
}

QJsonObject parseObject(std::string_view body) {
    if (!validUtf8(body)) {
        throw Fault{"Der Text ist kein gültiges UTF-8."};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(body.data(), static_cast<qsizetype>(body.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        throw Fault{"Das ist kein gültiges JSON."};
    }
    if (!document.isObject()) {
        throw Fault{"Erwartet wird ein JSON-Objekt."};
    }
    if (std::string fehler; !strictJson(body, fehler)) {
        throw Fault{fehler};
    }
    return document.object();
}

QJsonValue need(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined()) {
        throw Fault{std::string("Es fehlt das Feld „") + key + "“."};
    }
    return value;
}

std::string text(const QJsonValue& value, const char* key, std::size_t least, std::size_t most,
                 bool trim) {
    if (!value.isString()) {
        throw Fault{std::string("„") + key + "“ muss ein Text sein."};
    }
    const QString string = trim ? value.toString().trimmed() : value.toString();
    std::string utf8 = string.toStdString();
    const std::size_t length = characters(utf8);
    if (length < least || length > most) {
        throw Fault{std::string("„") + key + "“ muss " + std::to_string(least) + " bis " +
                    std::to_string(most) + " Zeichen lang sein."};
    }
    if (hasControl(utf8)) {
        throw Fault{std::string("„") + key + "“ enthält ein Steuerzeichen."};
    }
    return utf8;
}

double number(const QJsonValue& value, const char* key, double least, double most) {
    if (!value.isDouble() || !std::isfinite(value.toDouble()) || value.toDouble() < least ||
        value.toDouble() > most) {
        throw Fault{std::string("„") + key + "“ muss eine Zahl von " +
                    std::to_string(static_cast<long long>(least)) + " bis " +
                    std::to_string(static_cast<long long>(most)) + " sein."};
    }
    return value.toDouble();
}

long long whole(const QJsonValue& value, const char* key, double least, double most) {
    const double n = number(value, key, least, most);
    if (std::floor(n) != n) {
        throw Fault{std::string("„") + key + "“ muss eine ganze Zahl sein."};
    }
    return static_cast<long long>(n);
}

bool flag(const QJsonValue& value, const char* key) {
    if (!value.isBool()) {
        throw Fault{std::string("„") + key + "“ muss true oder false sein."};
    }
    return value.toBool();
}

QJsonArray list(const QJsonValue& value, const char* key, std::size_t most) {
    if (!value.isArray()) {
        throw Fault{std::string("„") + key + "“ muss eine Liste sein."};
    }
    const QJsonArray array = value.toArray();
    if (static_cast<std::size_t>(array.size()) > most) {
        throw Fault{std::string("„") + key + "“ darf höchstens " + std::to_string(most) +
                    " Einträge haben."};
    }
    return array;
}

ProblemBody problem(const QJsonValue& value) {
    if (!value.isObject()) {
        throw Fault{"Jede Aufgabe muss ein JSON-Objekt sein."};
    }
    const QJsonObject object = value.toObject();
    onlyKnownKeys(object, kProblemKeys);
    return {text(need(object, "aufgabe"), "aufgabe", 1, kMaxProblem, false),
            text(need(object, "antwort"), "antwort", 0, kMaxAnswer, false),
            flag(need(object, "richtig"), "richtig"),
            number(need(object, "sekunden"), "sekunden", 0, kMaxSeconds)};
}

ResultBody result(const QJsonObject& object) {
    onlyKnownKeys(object, kResultKeys);
    ResultBody body;
    const QJsonValue id = need(object, "id");
    body.id = id.toString().toStdString();
    if (!id.isString() || !isResultId(body.id)) {
        throw Fault{"„id“ muss eine UUID (Version 4, klein geschrieben) sein."};
    }
    body.child = text(need(object, "kind"), "kind", 1, kMaxChildName, true);
    body.game = text(need(object, "spiel"), "spiel", 1, kMaxChildName, false);
    if (std::none_of(kGames.begin(), kGames.end(),
                     [&](const GameInfo& game) { return game.link == body.game; })) {
        throw Fault{"Dieses Spiel gibt es nicht."};
    }
    body.level = static_cast<int>(whole(need(object, "stufe"), "stufe", 1, kLevels));
    body.points = whole(need(object, "punkte"), "punkte", -kMaxPoints, kMaxPoints);
    const QJsonValue outcome = need(object, "ergebnis");
    const auto named = outcomeNamed(outcome.toString().toStdString());
    if (!outcome.isString() || !named) {
        throw Fault{"„ergebnis“ muss „gewonnen“, „verloren“ oder „verlassen“ sein."};
    }
    body.outcome = *named;
    body.inRow = flag(need(object, "reihe"), "reihe");
    body.seconds = number(need(object, "sekunden"), "sekunden", 0, kMaxSeconds);
    for (const QJsonValue& item : list(need(object, "aufgaben"), "aufgaben", kMaxProblems)) {
        body.problems.push_back(problem(item));
    }
    return body;
}

ClassBody newClass(const QJsonObject& object) {
    onlyKnownKeys(object, kClassKeys);
    ClassBody body;
    body.name = text(need(object, "name"), "name", 1, kMaxClassName, true);
    if (object.contains(QLatin1String("kinder"))) {
        QSet<QString> seen;
        for (const QJsonValue& item :
             list(object.value(QLatin1String("kinder")), "kinder", kMaxChildren)) {
            std::string name = text(item, "kinder", 1, kMaxChildName, true);
            const QString key = QString::fromStdString(name);
            if (seen.contains(key)) {
                throw Fault{"Jeder Name darf in der Liste nur einmal stehen."};
            }
            seen.insert(key);
            body.children.push_back(std::move(name));
        }
    }
    if (object.contains(QLatin1String("tage"))) {
        body.days = static_cast<int>(whole(object.value(QLatin1String("tage")), "tage", 1, 36500));
    }
    if (object.contains(QLatin1String("passwort"))) {
        body.password =
            text(object.value(QLatin1String("passwort")), "passwort", 0, kMaxPassword, false);
    }
    return body;
}

template <typename Body, typename Read>
std::optional<Body> parse(std::string_view body, std::string& fehler, Read read) {
    try {
        return read(parseObject(body));
    } catch (const Fault& fault) {
        fehler = fault.text;
        return std::nullopt;
    }
}

} // namespace

std::optional<ResultBody> parseResult(std::string_view body, std::string& fehler) {
    return parse<ResultBody>(body, fehler, result);
}

std::optional<ClassBody> parseClass(std::string_view body, std::string& fehler) {
    return parse<ClassBody>(body, fehler, newClass);
}

std::string_view outcomeName(Outcome outcome) {
    return kOutcomes[static_cast<std::size_t>(outcome)].second;
}

std::optional<Outcome> outcomeNamed(std::string_view name) {
    for (const auto& [outcome, text] : kOutcomes) {
        if (text == name) {
            return outcome;
        }
    }
    return std::nullopt;
}

bool isClassId(std::string_view text) {
    return text.size() == 12 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '2' && c <= '7');
           });
}

bool isResultId(std::string_view text) {
    constexpr std::string_view kForm = "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx";
    if (text.size() != kForm.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kForm.size(); ++i) {
        const char c = text[i];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        const bool fits = kForm[i] == 'x'   ? hex
                          : kForm[i] == 'y' ? (c == '8' || c == '9' || c == 'a' || c == 'b')
                                            : c == kForm[i];
        if (!fits) {
            return false;
        }
    }
    return true;
}

bool isChildName(std::string_view text) {
    const std::size_t length = validUtf8(text) ? characters(text) : 0;
    return length >= 1 && length <= kMaxChildName && !hasControl(text);
}

} // namespace zifferix::service
