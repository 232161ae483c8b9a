#include "colorbox/random_source.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <utility>

namespace tintavo {

namespace {

// splitmix64 finaliser: a bijective mix in which every input bit affects
// every output bit, so neighbouring seeds give unrelated streams.
quint64 mix64(quint64 z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr quint64 kGoldenGamma = 0x9E3779B97F4A7C15ULL;

// Counts clock seeds taken in this process; the clock alone repeats within a tick.
std::atomic<quint64> g_seedCounter{0};

} // namespace

int channelFromUnit(double u)
{
    if (!(u > 0.0)) // also catches NaN
        return 0;
    if (u >= 1.0)
        return 255;
    const double scaled = u * 256.0;
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    double rounded = below;
    if (fraction > 0.5)
        rounded = below + 1.0;
    else if (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)
        rounded = below + 1.0;
    const int channel = static_cast<int>(rounded);
    return channel > 255 ? 255 : channel;
}

RandomSource::RandomSource() : RandomSource(Clock(&RandomSource::systemClock)) {}

RandomSource::RandomSource(Clock clock) : m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = &RandomSource::systemClock;
    seedFromClock();
}

RandomSource::RandomSource(quint64 seedValue) : m_clock(&RandomSource::systemClock)
{
    seed(seedValue);
}

void RandomSource::seed(quint64 value)
{
    m_seed = value;
    m_state = value;
}

void RandomSource::seedFromClock()
{
    const quint64 count = g_seedCounter.fetch_add(1, std::memory_order_relaxed);
    seed(mix64(m_clock() ^ mix64(count * kGoldenGamma + kGoldenGamma)));
}

double RandomSource::next()
{
    // splitmix64 as the generator: one addition and one mix per draw, and it
    // passes the usual statistical batteries, which is plenty for colours.
    m_state += kGoldenGamma;
    return static_cast<double>(mix64(m_state) >> 11) * 0x1.0p-53;
}

quint64 RandomSource::systemClock()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<quint64>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

} // namespace tintavo
