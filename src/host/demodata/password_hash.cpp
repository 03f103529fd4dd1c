#include "host/demodata/password_hash.h"

#include <algorithm>
#include <cstring>

namespace vantik {

namespace {

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

constexpr std::uint32_t kInitialState[8] = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19,
};

inline std::uint32_t rotr(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

void compress(std::uint32_t state[8], const std::uint8_t block[64])
{
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = (std::uint32_t(block[4 * i]) << 24) | (std::uint32_t(block[4 * i + 1]) << 16)
            | (std::uint32_t(block[4 * i + 2]) << 8) | std::uint32_t(block[4 * i + 3]);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g))
            + kRoundConstants[i] + w[i];
        const std::uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

class Sha256 {
public:
    Sha256() { std::copy(std::begin(kInitialState), std::end(kInitialState), m_state); }

    void update(const std::uint8_t* data, std::size_t length)
    {
        m_length += length;
        while (length > 0) {
            const std::size_t take = std::min(length, sizeof m_buffer - m_used);
            std::memcpy(m_buffer + m_used, data, take);
            m_used += take;
            data += take;
            length -= take;
            if (m_used == sizeof m_buffer) {
                compress(m_state, m_buffer);
                m_used = 0;
            }
        }
    }

    void update(std::string_view data) { update(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()); }

    Sha256Digest finish()
    {
        const std::uint64_t bits = m_length * 8;
        const std::uint8_t pad = 0x80;
        update(&pad, 1);
        const std::uint8_t zero = 0;
        while (m_used != 56)
            update(&zero, 1);
        std::uint8_t lengthBytes[8];
        for (int i = 0; i < 8; ++i)
            lengthBytes[i] = std::uint8_t(bits >> (56 - 8 * i));
        update(lengthBytes, 8);
        Sha256Digest digest;
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 4; ++j)
                digest[4 * i + j] = std::uint8_t(m_state[i] >> (24 - 8 * j));
        return digest;
    }

private:
    std::uint32_t m_state[8];
    std::uint8_t m_buffer[64];
    std::size_t m_used = 0;
    std::uint64_t m_length = 0;
};

// HMAC with the key's inner and outer pads hashed once: PBKDF2 then costs two
// compressions per iteration instead of four.
class HmacSha256 {
public:
    explicit HmacSha256(std::string_view key)
    {
        std::uint8_t block[64] = {};
        if (key.size() > sizeof block) {
            const Sha256Digest hashed = sha256(key);
            std::memcpy(block, hashed.data(), hashed.size());
        } else {
            std::memcpy(block, key.data(), key.size());
        }
        std::uint8_t pad[64];
        for (int i = 0; i < 64; ++i)
            pad[i] = block[i] ^ 0x36;
        m_inner.update(pad, sizeof pad);
        for (int i = 0; i < 64; ++i)
            pad[i] = block[i] ^ 0x5c;
        m_outer.update(pad, sizeof pad);
    }

    Sha256Digest mac(const std::uint8_t* message, std::size_t length) const
    {
        Sha256 inner = m_inner;
        inner.update(message, length);
        const Sha256Digest innerDigest = inner.finish();
        Sha256 outer = m_outer;
        outer.update(innerDigest.data(), innerDigest.size());
        return outer.finish();
    }

private:
    Sha256 m_inner;
    Sha256 m_outer;
};

} // namespace

Sha256Digest sha256(std::string_view data)
{
    Sha256 hash;
    hash.update(data);
    return hash.finish();
}

Sha256Digest hmacSha256(std::string_view key, std::string_view message)
{
    return HmacSha256(key).mac(reinterpret_cast<const std::uint8_t*>(message.data()), message.size());
}

std::string pbkdf2Sha256Hex(std::string_view password, std::string_view salt, int iterations, int keyLength)
{
    iterations = std::max(iterations, 1);
    const HmacSha256 prf(password);
    std::string derived;
    std::string saltBlock(salt);
    saltBlock.resize(salt.size() + 4);
    for (std::uint32_t blockIndex = 1; int(derived.size()) < keyLength; ++blockIndex) {
        for (int i = 0; i < 4; ++i)
            saltBlock[salt.size() + i] = char(std::uint8_t(blockIndex >> (24 - 8 * i)));
        Sha256Digest u = prf.mac(reinterpret_cast<const std::uint8_t*>(saltBlock.data()), saltBlock.size());
        Sha256Digest t = u;
        for (int i = 1; i < iterations; ++i) {
            u = prf.mac(u.data(), u.size());
            for (std::size_t j = 0; j < t.size(); ++j)
                t[j] ^= u[j];
        }
        derived.append(reinterpret_cast<const char*>(t.data()), t.size());
    }
    derived.resize(std::size_t(std::max(keyLength, 0)));
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
