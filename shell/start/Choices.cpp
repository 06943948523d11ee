#include "start/Choices.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace zifferix {

std::optional<Choice> choiceOfLink(std::string_view link) {
    if (link.starts_with('#')) {
        link.remove_prefix(1);
    }
    std::vector<std::string_view> words;
    for (std::size_t dash = link.find('-');; dash = link.find('-')) {
        words.push_back(link.substr(0, dash));
        if (dash == std::string_view::npos) {
            break;
        }
        link.remove_prefix(dash + 1);
    }
    Choice choice;
    std::size_t i = 0;
    if ((choice.game = named(kGameNames, words[0]))) {
        ++i;
        if (i < words.size() && (choice.level = named(kLevelNames, words[i]))) {
            ++i;
        }
    }
    const std::pair<std::string_view, bool Choice::*> additions[] = {
        {kMoreTimeName, &Choice::moreTime},
        {kContrastName, &Choice::contrast},
        {kReadAloudName, &Choice::readAloud},
        {kNormalTimeName, &Choice::normalTime},
    };
    for (; i < words.size(); ++i) {
        const auto* addition = std::find_if(std::begin(additions), std::end(additions),
                                            [&](const auto& a) { return a.first == words[i]; });
        if (addition == std::end(additions) || choice.*(addition->second)) {
            return std::nullopt;
        }
        choice.*(addition->second) = true;
    }
    if (choice == Choice{}) {
        return std::nullopt;
    }
    return choice;
}

std::string linkOf(std::size_t game, std::optional<std::size_t> level) {
    std::string link(kGameNames.at(game).name);
    if (level) {
        link += "-" + std::string(kLevelNames.at(*level).name);
    }
    return link;
}

} // namespace zifferix
