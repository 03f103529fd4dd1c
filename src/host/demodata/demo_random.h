#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace vantik {

/// xoshiro256** seeded through splitmix64. The demo database must come out the
/// same for a seed on every machine and library version, which std::
/// distributions do not promise; every draw here is plain integer arithmetic
/// (and IEEE doubles built from 53 bits).
class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed);
    /// A generator of its own for one item, e.g. (seed, admission index, table tag):
    /// items can then be generated in any order, on any thread, with the same result.
    DemoRandom(std::uint64_t seed, std::uint64_t item, std::uint64_t stream);

    std::uint64_t next();
    /// Uniform in [0, n); 0 when n is 0.
    std::uint64_t below(std::uint64_t n);
    /// Uniform in [low, high], both included.
    long long between(long long low, long long high);
    /// Uniform in [0, 1).
    double unit();
    bool chance(double probability) { return unit() < probability; }
    /// Index chosen with the given non-negative weights.
    std::size_t weighted(std::initializer_list<int> weights);

    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N])
    {
        return items[below(N)];
    }

private:
    std::uint64_t m_state[4];
};

} // namespace vantik
