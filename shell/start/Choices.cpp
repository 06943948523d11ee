#include "start/Choices.h"

namespace zifferix {

std::optional<Choice> choiceOfLink(std::string_view link) {
    if (link.starts_with('#')) {
        link.remove_prefix(1);
    }
    const std::size_t dash = link.find('-');
    const std::optional<std::size_t> game = named(kGameNames, link.substr(0, dash));
    if (!game) {
        return std::nullopt;
    }
    if (dash == std::string_view::npos) {
        return Choice{game, std::nullopt};
    }
    const std::optional<std::size_t> level = named(kLevelNames, link.substr(dash + 1));
    if (!level) {
        return std::nullopt;
    }
    return Choice{game, level};
}

std::string linkOf(std::size_t game, std::optional<std::size_t> level) {
    std::string link(kGameNames.at(game).name);
    if (level) {
        link += "-" + std::string(kLevelNames.at(*level).name);
    }
    return link;
}

} // namespace zifferix
