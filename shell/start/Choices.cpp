#include "start/Choices.h"

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
    for (; i < words.size(); ++i) {
        if (words[i] == kMoreTimeName && !choice.moreTime) {
            choice.moreTime = true;
        } else if (words[i] == kContrastName && !choice.contrast) {
            choice.contrast = true;
        } else {
            return std::nullopt;
        }
    }
    if (!choice.game && !choice.moreTime && !choice.contrast) {
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
