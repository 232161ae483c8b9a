#include "colorbox/random_source.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <set>

using namespace tintavo;

namespace {

struct UnitCase
{
    double u;
    int channel;
};

TEST(ChannelFromUnit, RoundsHalvesToEvenAndFolds256)
{
    const UnitCase rows[] = {
        {0.0, 0},
        {0.4 / 256, 0},
        {0.5 / 256, 0}, // tie: 0 is even
        {0.6 / 256, 1},
        {1.0 / 256, 1},
        {1.5 / 256, 2}, // tie: up to 2
        {2.5 / 256, 2}, // tie: down to 2
        {3.5 / 256, 4},
        {127.5 / 256, 128},
        {128.5 / 256, 128},
        {254.5 / 256, 254},
        {254.6 / 256, 255},
        {255.0 / 256, 255},
        {255.5 / 256, 255}, // tie rounds to 256, folded back
        {std::nextafter(1.0, 0.0), 255},
    };
    for (const UnitCase &row : rows)
        EXPECT_EQ(channelFromUnit(row.u), row.channel) << "u*256=" << row.u * 256;
}

TEST(ChannelFromUnit, OutOfRangeInputStaysAChannel)
{
    EXPECT_EQ(channelFromUnit(-0.25), 0);
    EXPECT_EQ(channelFromUnit(1.0), 255);
    EXPECT_EQ(channelFromUnit(7.0), 255);
    EXPECT_EQ(channelFromUnit(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(channelFromUnit(std::numeric_limits<double>::infinity()), 255);
    EXPECT_EQ(channelFromUnit(-std::numeric_limits<double>::infinity()), 0);
}

TEST(RandomSource, DrawsLieInTheUnitInterval)
{
    RandomSource random(quint64{2024});
    for (int i = 0; i < 100000; ++i) {
        const double u = random.next();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

TEST(RandomSource, ChannelsFollowTheRoundingShares)
{
    // A fixed seed keeps the test reproducible; the bounds are wide (many
    // standard deviations) and only separate the three shares.
    constexpr int kDraws = 1 << 20;
    std::array<int, 256> histogram{};
    RandomSource random(quint64{0x5EED});
    for (int i = 0; i < kDraws; ++i)
        ++histogram[static_cast<size_t>(random.nextChannel())];

    const double mean = kDraws / 256.0;
    EXPECT_GT(histogram[0], 0.40 * mean);
    EXPECT_LT(histogram[0], 0.60 * mean);
    EXPECT_GT(histogram[255], 1.35 * mean);
    EXPECT_LT(histogram[255], 1.65 * mean);
    for (int v = 1; v < 255; ++v) {
        EXPECT_GT(histogram[static_cast<size_t>(v)], 0.85 * mean) << v;
        EXPECT_LT(histogram[static_cast<size_t>(v)], 1.15 * mean) << v;
    }
}

TEST(RandomSource, SameSeedSameStream)
{
    RandomSource a(quint64{77});
    RandomSource b(quint64{77});
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(a.next(), b.next());
}

TEST(RandomSource, ReseedingWithinOneClockTickDoesNotRepeat)
{
    RandomSource random([] { return quint64{1'700'000'000'000'000'000}; });
    std::set<quint64> seeds;
    std::set<double> firstDraws;
    for (int i = 0; i < 1000; ++i) {
        random.seedFromClock();
        seeds.insert(random.lastSeed());
        firstDraws.insert(random.next());
    }
    EXPECT_EQ(seeds.size(), 1000u);
    EXPECT_EQ(firstDraws.size(), 1000u);
}

TEST(RandomSource, TwoSourcesOnTheSameTickDiffer)
{
    const auto frozen = [] { return quint64{42}; };
    RandomSource a(frozen);
    RandomSource b(frozen);
    EXPECT_NE(a.lastSeed(), b.lastSeed());
    EXPECT_NE(a.next(), b.next());
}

TEST(RandomSource, SystemClockSeedsWork)
{
    RandomSource a;
    RandomSource b;
    EXPECT_NE(a.lastSeed(), b.lastSeed());
    EXPECT_GT(RandomSource::systemClock(), 0u);
}

} // namespace
