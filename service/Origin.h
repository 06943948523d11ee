#pragma once

// Where a request comes from: another site's page is refused, and behind the school's proxy the
// address is the one the proxy saw.

#include <string>
#include <string_view>

namespace zifferix::service {

// Whether an Origin header names the site the request was sent to: its host and port are the
// Host header's or, behind a proxy, the X-Forwarded-Host header's (empty when not sent).
bool sameSite(std::string_view origin, std::string_view host, std::string_view forwardedHost);

// The address a limit counts: the peer's, or behind a proxy on this machine the last address
// the proxy put in X-Forwarded-For.
std::string clientAddress(std::string_view peer, std::string_view forwardedFor);

} // namespace zifferix::service
