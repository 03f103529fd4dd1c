#include "host/demodata/password_hash.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <stdexcept>

// The system's crypto library does the hashing: it is vetted, and it runs a
// log-in's 600,000 iterations several times faster than plain C++ can.

namespace vantik {

namespace {

const unsigned char* bytes(std::string_view text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

} // namespace

Sha256Digest sha256(std::string_view data)
{
    Sha256Digest digest{};
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available from the crypto library.");
    return digest;
}

Sha256Digest hmacSha256(std::string_view key, std::string_view message)
{
    Sha256Digest digest{};
    unsigned int length = 0;
    // An empty key is a key of no bytes, never "no key given".
    static const char kNoBytes = 0;
    if (!HMAC(EVP_sha256(), key.empty() ? &kNoBytes : key.data(), int(key.size()), bytes(message), message.size(),
              digest.data(), &length))
        throw std::runtime_error("HMAC-SHA256 is not available from the crypto library.");
    return digest;
}

std::string pbkdf2Sha256Hex(std::string_view password, std::string_view salt, int iterations, int keyLength)
{
    std::string derived(std::size_t(std::max(keyLength, 0)), '\0');
    if (derived.empty())
        return std::string();
    static const char kNoBytes = 0;
    if (PKCS5_PBKDF2_HMAC(password.empty() ? &kNoBytes : password.data(), int(password.size()), bytes(salt), int(salt.size()),
                          std::max(iterations, 1), EVP_sha256(), int(derived.size()),
                          reinterpret_cast<unsigned char*>(derived.data()))
        != 1)
        throw std::runtime_error("PBKDF2 is not available from the crypto library.");
    return toHex(derived);
}

std::string pbkdf2Sha256Hex(std::string_view password, std::string_view salt, int iterations)
{
    return pbkdf2Sha256Hex(password, salt, iterations, 32);
}

std::string toHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = std::uint8_t(c);
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0x0f];
    }
    return hex;
}

} // namespace vantik
