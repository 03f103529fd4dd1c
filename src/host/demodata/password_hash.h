#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantik {

using Sha256Digest = std::array<std::uint8_t, 32>;

/// PBKDF2 iterations for new and changed passwords; a stored hash with fewer is
/// raised to this at the user's next log-in.
inline constexpr int kPasswordIterations = 600000;

/// SHA-256 (FIPS 180-4) of a byte string.
Sha256Digest sha256(std::string_view data);

/// HMAC-SHA256 (RFC 2104) of a message under a key of any length.
Sha256Digest hmacSha256(std::string_view key, std::string_view message);

/// PBKDF2 (RFC 8018) with HMAC-SHA256, one 32-byte block, as lower-case hex
/// (64 characters). This is how tbcoUsers.PasswordHash is made from the password,
/// PasswordSalt (used as its text bytes) and Iterations; the log-in checks a
/// password by recomputing it. Iterations below 1 count as 1.
std::string pbkdf2Sha256Hex(std::string_view password, std::string_view salt, int iterations);

/// Any derived-key length, for checks against published vectors with longer keys.
std::string pbkdf2Sha256Hex(std::string_view password, std::string_view salt, int iterations, int keyLength);

/// Lower-case hex of a byte string.
std::string toHex(std::string_view bytes);

} // namespace vantik
