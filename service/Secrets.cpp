#include "Secrets.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <array>
#include <cstddef>
#include <stdexcept>
#include <sys/random.h>

namespace zifferix::service {
namespace {

template <std::size_t N> std::array<unsigned char, N> randomBytes() {
    std::array<unsigned char, N> bytes{};
    std::size_t filled = 0;
    while (filled < N) {
        const ssize_t got = getrandom(bytes.data() + filled, N - filled, 0);
        if (got < 0) {
            throw std::runtime_error("getrandom failed");
        }
        filled += static_cast<std::size_t>(got);
    }
    return bytes;
}

} // namespace

std::string newClassId() {
    constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz234567";
    const auto bytes = randomBytes<8>();
    unsigned long long bits = 0;
    for (unsigned char byte : bytes) {
        bits = (bits << 8) | byte;
    }
    std::string id;
    for (int i = 0; i < 12; ++i) {
        id += kAlphabet[bits & 31];
        bits >>= 5;
    }
    return id;
}

std::string newSecret() {
    const auto bytes = randomBytes<32>();
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return raw.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals)
        .toStdString();
}

std::string sha256Hex(std::string_view text) {
    return QCryptographicHash::hash(
               QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
               QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

bool sameInConstantTime(std::string_view a, std::string_view b) {
    unsigned char differ = a.size() == b.size() ? 0 : 1;
    const std::size_t length = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < length; ++i) {
        differ |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return differ == 0;
}

} // namespace zifferix::service
