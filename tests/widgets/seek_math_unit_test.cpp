// The random play order and the arithmetic of the seek bar, the volume bars and the
// RealMedia volume.
#include "playback/random_picker.h"
#include "widgets/seek_math.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <set>

namespace {

// A draw source that gives the listed values, then repeats the last.
RandomPicker::Draw values(std::deque<double> v)
{
    return [v]() mutable {
        const double d = v.front();
        if (v.size() > 1)
            v.pop_front();
        return d;
    };
}

} // namespace

TEST(PickRandom, FewRowsAndOneRow)
{
    RandomPicker picker(values({0.5}));
    EXPECT_EQ(picker.pickRandom(0), -1);
    EXPECT_EQ(picker.pickRandom(-3), -1);
    EXPECT_EQ(picker.pickRandom(1), 0);
    EXPECT_EQ(picker.pickRandom(1), 0);
    EXPECT_TRUE(picker.history().empty()) << "one row is played again without being recorded";
}

TEST(PickRandom, EveryRowOnceBeforeAnyRepeats)
{
    std::mt19937 gen(7);
    RandomPicker picker([&] { return std::uniform_real_distribution<double>(0, 1)(gen); });
    for (int round = 0; round < 3; ++round) {
        std::set<int> seen;
        for (int i = 0; i < 5; ++i)
            seen.insert(picker.pickRandom(5));
        EXPECT_EQ(seen.size(), 5u) << "round " << round;
    }
}

TEST(PickRandom, ASourceStuckOnAPlayedRowGivesItUnrecordedAfterAHundredDraws)
{
    int draws = 0;
    RandomPicker picker([&] {
        ++draws;
        return 0.25; // row 1 of 4, always
    });
    EXPECT_EQ(picker.pickRandom(4), 1);
    draws = 0;
    EXPECT_EQ(picker.pickRandom(4), 1);
    EXPECT_EQ(draws, 100);
    EXPECT_EQ(picker.history(), std::vector<int>{1}) << "the repeat is not recorded";
}

TEST(PickRandom, AFullHistoryStartsAgainOnManyRows)
{
    // 600 rows: after 513 picks the history is full; it starts again instead of leaving
    // only the rows never recorded.
    int next = 0;
    RandomPicker picker([&] { return (next++ % 600 + 0.5) / 600.0; });
    for (int i = 0; i < RandomPicker::kHistory; ++i)
        EXPECT_EQ(picker.pickRandom(600), i);
    EXPECT_EQ(picker.history().size(), 513u);
    EXPECT_EQ(picker.pickRandom(600), 513);
    EXPECT_EQ(picker.history(), std::vector<int>{513});
}

TEST(SeekMath, PointerOnTheTrack)
{
    // A 3135-wide slider: the track runs from 160 to 2975.
    EXPECT_DOUBLE_EQ(seek::trackFraction(160, 3135), 0.0);
    EXPECT_DOUBLE_EQ(seek::trackFraction(2975, 3135), 1.0);
    EXPECT_LT(seek::trackFraction(100, 3135), 0.0) << "not clamped";
    EXPECT_EQ(seek::moviePointer(seek::trackFraction(160, 3135), 300.0), 0);
    // Whole seconds, halves to even, as the timer rounds.
    EXPECT_EQ(seek::moviePointer(0.5, 5.0), 200);
    EXPECT_EQ(seek::moviePointer(0.5, 7.0), 400);
    EXPECT_EQ(seek::realPointer(0.5, 3001), 1500);
    EXPECT_EQ(seek::realPointer(0.25, 10), 2);
    // The drawn thumb stands where a click on it seeks.
    for (int v : {0, 1234, 30000, 33000}) {
        const int x = seek::trackPosition(v, 33000, 3135);
        EXPECT_NEAR(seek::moviePointer(seek::trackFraction(x, 3135), 330.0), v, 100) << v;
    }
    // In full screen the bar has no margins: its middle on a 10-minute file is 5:00.
    EXPECT_EQ(seek::fullScreenPointer(9600, 19200, 60000.0), 30000);
}

TEST(SeekMath, SectionsEitherWayRound)
{
    // From 1000 to 3000, dragged either way.
    EXPECT_EQ(seek::endSection(1000, 3000, 50000), (seek::Section{1000, 2000}));
    EXPECT_EQ(seek::endSection(3000, 1000, 50000), (seek::Section{1000, 2000}));
    // Ending left of the track marks 0 .. s; right of it, s .. Max.
    EXPECT_EQ(seek::endSection(3000, -200, 50000), (seek::Section{0, 3000}));
    EXPECT_EQ(seek::endSection(3000, 52000, 50000), (seek::Section{3000, 47000}));
    EXPECT_EQ(seek::endSection(3000, 3000, 50000), (seek::Section{3000, 0}));
}

TEST(SeekMath, MarkerStaysOnTheTrack)
{
    // Slider at 1000, 3135 wide; the drag started at container x 2000.
    EXPECT_EQ(seek::markerSpan(2000, 1500, 1000, 3135), (seek::Marker{2000, 500}));
    EXPECT_EQ(seek::markerSpan(2000, 3100, 1000, 3135), (seek::Marker{2000, 1000 + 3135 - 2000 - 160}));
    EXPECT_EQ(seek::markerSpan(2000, 500, 1000, 3135), (seek::Marker{1500, 500}));
    EXPECT_EQ(seek::markerSpan(2000, 100, 1000, 3135), (seek::Marker{1160, 840}));
}

TEST(SeekMath, VolumeFromThePointer)
{
    // A bar 1095 wide: its far right is exactly 100.
    EXPECT_EQ(seek::volumeFromPointer(1015, 1095), 100);
    EXPECT_EQ(seek::volumeFromPointer(1095, 1095), 100);
    // Width 280: 200 of travel; 2.5 and 3.5 round to even.
    EXPECT_EQ(seek::volumeFromPointer(5, 280), 2);
    EXPECT_EQ(seek::volumeFromPointer(7, 280), 4);
    EXPECT_EQ(seek::volumeFromPointer(0, 280), 0);
    EXPECT_FALSE(seek::volumeFromPointer(-5, 280).has_value()) << "left of the bar is refused";
    EXPECT_EQ(seek::graphVolume(100), 0);
    EXPECT_EQ(seek::graphVolume(50), -2500);
    EXPECT_EQ(seek::graphVolume(0), -5000);
}

TEST(SeekMath, RealMediaLevels)
{
    // Start-up level 65535 (startWaveVolume 32768).
    EXPECT_EQ(seek::realWaveLevel(0, 32768), 0x00000000u) << "-0.5 rounds to 0, never to FFFF";
    EXPECT_EQ(seek::realWaveLevel(50, 32768), 0x7FFF7FFFu);
    EXPECT_EQ(seek::realWaveLevel(100, 32768), 0xFFFEFFFEu);
    // Start-up level 0: every setting is the middle.
    EXPECT_EQ(seek::realWaveLevel(0, -32767), 0x7FFF7FFFu);
    EXPECT_EQ(seek::realWaveLevel(100, -32767), 0x7FFF7FFFu);
}

TEST(SeekMath, BothChannelsGetTheSameLevel)
{
    EXPECT_EQ(bothChannels(0x5678), 0x56785678u);
    EXPECT_EQ(bothChannels(65535), 0xFFFFFFFFu);
    EXPECT_EQ(bothChannels(0), 0u);
    EXPECT_EQ(bothChannels(32767), 0x7FFF7FFFu);
}
