#pragma once

// What Qt's JSON reader lets through and a result must not have.

#include <string>
#include <string_view>

namespace zifferix::service {

// For text Qt has read as JSON: no object names a key twice (Qt would keep the last) and no
// \u escape is half of a surrogate pair (Qt would make it U+FFFD). On a fault a German message.
bool strictJson(std::string_view json, std::string& fehler);

} // namespace zifferix::service
