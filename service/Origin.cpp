#include "Origin.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zifferix::service {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// "host:port" without the scheme's own port.
std::string authority(std::string_view text, std::string_view scheme) {
    struct DefaultPort {
        std::string_view scheme;
        std::string_view port;
    };
    constexpr std::array<DefaultPort, 2> kDefaults{{{"http", ":80"}, {"https", ":443"}}};
    std::string result = lower(trimmed(text));
    for (const DefaultPort& known : kDefaults) {
        if ((scheme.empty() || scheme == known.scheme) && result.ends_with(known.port)) {
            result.resize(result.size() - known.port.size());
        }
    }
    return result;
}

} // namespace

bool sameSite(std::string_view origin, std::string_view host, std::string_view forwardedHost) {
    const auto separator = origin.find("://");
    if (separator == std::string_view::npos) {
        return false; // "null" and anything else that names no site
    }
    const std::string scheme = lower(origin.substr(0, separator));
    std::string_view rest = origin.substr(separator + 3);
    if (rest.empty() || rest.find_first_of("/?#@") != std::string_view::npos) {
        return false;
    }
    const std::string site = authority(rest, scheme);
    const std::string_view firstForwarded = forwardedHost.substr(0, forwardedHost.find(','));
    return (!host.empty() && site == authority(host, scheme)) ||
           (!firstForwarded.empty() && site == authority(firstForwarded, scheme));
}

std::string clientAddress(std::string_view peer, std::string_view forwardedFor) {
    const bool local = peer == "127.0.0.1" || peer == "::1" || peer == "::ffff:127.0.0.1";
    if (!local || trimmed(forwardedFor).empty()) {
        return std::string(peer);
    }
    const auto comma = forwardedFor.rfind(',');
    return std::string(
        trimmed(comma == std::string_view::npos ? forwardedFor : forwardedFor.substr(comma + 1)));
}

} // namespace zifferix::service
