#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace zifferix::service {

// Well-formed UTF-8 only: no overlong forms, no surrogates, nothing above U+10FFFF.
bool validUtf8(std::string_view text);

// How many characters (code points) well-formed UTF-8 holds.
std::size_t characters(std::string_view text);

// A control character (C0, DEL or C1) anywhere in well-formed UTF-8.
bool hasControl(std::string_view text);

} // namespace zifferix::service
