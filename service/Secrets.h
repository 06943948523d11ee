#pragma once

// The class's id and the teacher's secret: random, and the secret kept only as its hash.

#include <string>
#include <string_view>

namespace zifferix::service {

// 12 characters of lowercase base32 (60 random bits).
std::string newClassId();

// 32 random bytes, base64url without padding (43 characters).
std::string newSecret();

// SHA-256 as 64 lowercase hex digits.
std::string sha256Hex(std::string_view text);

// Equal or not, in a time that depends on the lengths only.
bool sameInConstantTime(std::string_view a, std::string_view b);

} // namespace zifferix::service
