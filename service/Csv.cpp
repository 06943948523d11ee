#include "Csv.h"

#include <QDateTime>

#include <array>
#include <cstdio>

namespace zifferix::service {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kHeader =
    "Kind;Spiel;Stufe;Punkte;Ergebnis;Gespielt am;Aufgabe;Antwort;Richtig;Sekunden\r\n";
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

std::string localTime(long long seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        .toStdString();
}

} // namespace

std::string csvText(std::string_view text) {
    std::string cell;
    if (!text.empty() && kFormulaStarts.find(text.front()) != std::string_view::npos) {
        cell += '\'';
    }
    cell += text;
    if (cell.find_first_of(";\"\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string csvNumber(double value) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.3f", value);
    std::string number = buffer.data();
    while (number.back() == '0') {
        number.pop_back();
    }
    if (number.back() == '.') {
        number.pop_back();
    }
    if (const auto point = number.find('.'); point != std::string::npos) {
        number[point] = ',';
    }
    return number == "-0" ? "0" : number;
}

std::string csvExport(const std::vector<StoredResult>& results) {
    std::string csv(kBom);
    csv += kHeader;
    for (const StoredResult& stored : results) {
        const ResultBody& game = stored.result;
        const std::string head = csvText(game.child) + ';' + csvText(game.game) + ';' +
                                 std::to_string(game.level) + ';' + std::to_string(game.points) +
                                 ';' + csvText(outcomeName(game.outcome)) + ';' +
                                 localTime(stored.received) + ';';
        // A game without a problem still has its line.
        if (game.problems.empty()) {
            csv += head + ";;;\r\n";
        }
        for (const ProblemBody& problem : game.problems) {
            csv += head + csvText(problem.problem) + ';' + csvText(problem.answer) + ';' +
                   (problem.right ? "ja" : "nein") + ';' + csvNumber(problem.seconds) + "\r\n";
        }
    }
    return csv;
}

} // namespace zifferix::service
