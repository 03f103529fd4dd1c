#include "host/demodata/demo_random.h"

namespace vantik {

namespace {

std::uint64_t splitmix64(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

inline std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

// The upper half of the 128-bit product a * b, from 32-bit halves: not every
// compiler has a 128-bit integer, and the demo files must not depend on which
// one built the generator.
std::uint64_t productHigh(std::uint64_t a, std::uint64_t b)
{
    constexpr std::uint64_t kLow = 0xffffffffULL;
    const std::uint64_t aLow = a & kLow, aHigh = a >> 32;
    const std::uint64_t bLow = b & kLow, bHigh = b >> 32;
    const std::uint64_t lowHigh = aLow * bHigh;
    const std::uint64_t highLow = aHigh * bLow;
    // At most 2^64 - 1: the carry out of the lower half is kept.
    const std::uint64_t middle = ((aLow * bLow) >> 32) + (highLow & kLow) + lowHigh;
    return aHigh * bHigh + (highLow >> 32) + (middle >> 32);
}

} // namespace

DemoRandom::DemoRandom(std::uint64_t seed)
{
    for (auto& word : m_state)
        word = splitmix64(seed);
}

DemoRandom::DemoRandom(std::uint64_t seed, std::uint64_t item, std::uint64_t stream)
{
    std::uint64_t mixer = seed;
    std::uint64_t key = splitmix64(mixer) ^ item;
    key = splitmix64(key) ^ (stream * 0xd1342543de82ef95ULL);
    for (auto& word : m_state)
        word = splitmix64(key);
}

std::uint64_t DemoRandom::next()
{
    const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotl(m_state[3], 45);
    return result;
}

std::uint64_t DemoRandom::below(std::uint64_t n)
{
    return productHigh(next(), n);
}

long long DemoRandom::between(long long low, long long high)
{
    if (high <= low)
        return low;
    return low + static_cast<long long>(below(std::uint64_t(high - low) + 1));
}

double DemoRandom::unit()
{
    return double(next() >> 11) * 0x1.0p-53;
}

std::size_t DemoRandom::weighted(std::initializer_list<int> weights)
{
    long long total = 0;
    for (const int w : weights)
        total += w;
    long long draw = static_cast<long long>(below(std::uint64_t(total)));
    std::size_t index = 0;
    for (const int w : weights) {
        if (draw < w)
            return index;
        draw -= w;
        ++index;
    }
    return weights.size() - 1;
}

} // namespace vantik
