#pragma once

#include <QtGlobal>

#include <functional>

namespace tintavo {

// Turns a uniform number 0 <= u < 1 into a colour channel: u × 256 rounded to
// the nearest integer, an exact half going to the even neighbour, and 256
// folded back to 255. Both ends therefore get an uneven share (0 half as
// often, 255 one and a half times as often as any other value); the colour
// box has always drawn its random colours this way. Values outside [0, 1)
// and NaN are clamped instead of producing an out-of-range channel.
int channelFromUnit(double u);

// The colour box's source of random numbers: uniform in [0, 1), seeded from
// the clock. Re-seeding from the clock is cheap and is done before every draw
// of a random fill; each seed mixes the clock reading with a per-process
// counter, so two seeds taken within the same clock tick still differ.
class RandomSource
{
public:
    // Nanoseconds (or any unit) since some epoch; swapped in tests to freeze time.
    using Clock = std::function<quint64()>;

    // Seeded from the system clock.
    RandomSource();
    // Seeded from `clock`, which is also used by every later seedFromClock().
    explicit RandomSource(Clock clock);
    // A fixed seed, for reproducible streams; seedFromClock() uses the system clock.
    explicit RandomSource(quint64 seed);

    void seed(quint64 value);
    void seedFromClock();
    // The seed last given, so that a stream can be replayed.
    quint64 lastSeed() const { return m_seed; }

    // The next uniform number, 0 <= u < 1, with 53 random bits.
    double next();
    // The next channel value 0..255, see channelFromUnit.
    int nextChannel() { return channelFromUnit(next()); }

    static quint64 systemClock();

private:
    Clock m_clock;
    quint64 m_seed = 0;
    quint64 m_state = 0;
};

} // namespace tintavo
