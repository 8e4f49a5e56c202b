// The desktop's media controls in the player's terms: loop and shuffle of the play modes,
// the speed a rate asks for, relative seeks, the volume.
#include "app/mpris_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mpris;

TEST(MprisRules, LoopAndShuffleOfThePlayModes)
{
    EXPECT_EQ(loopStatusOf(PlayMode::Normal), "None");
    EXPECT_EQ(loopStatusOf(PlayMode::Continuous), "Playlist");
    EXPECT_EQ(loopStatusOf(PlayMode::Loop), "Track");
    EXPECT_EQ(loopStatusOf(PlayMode::Random), "Playlist");
    EXPECT_TRUE(shuffleOf(PlayMode::Random));
    for (PlayMode m : {PlayMode::Normal, PlayMode::Continuous, PlayMode::Loop})
        EXPECT_FALSE(shuffleOf(m));

    EXPECT_EQ(modeForLoopStatus("None", PlayMode::Random), PlayMode::Normal);
    EXPECT_EQ(modeForLoopStatus("Track", PlayMode::Continuous), PlayMode::Loop);
    EXPECT_EQ(modeForLoopStatus("Playlist", PlayMode::Loop), PlayMode::Continuous);
    EXPECT_EQ(modeForLoopStatus("Playlist", PlayMode::Random), PlayMode::Random) << "shuffling stays";
    EXPECT_FALSE(modeForLoopStatus("Forever", PlayMode::Normal));
    EXPECT_FALSE(modeForLoopStatus("none", PlayMode::Normal)) << "the names are exact";

    EXPECT_EQ(modeForShuffle(true, PlayMode::Normal), PlayMode::Random);
    EXPECT_EQ(modeForShuffle(false, PlayMode::Random), PlayMode::Continuous);
    EXPECT_EQ(modeForShuffle(false, PlayMode::Loop), PlayMode::Loop);
    EXPECT_EQ(modeForShuffle(false, PlayMode::Normal), PlayMode::Normal);
    // Every mode survives its own loop and shuffle read back.
    for (PlayMode m : {PlayMode::Normal, PlayMode::Continuous, PlayMode::Loop, PlayMode::Random})
        EXPECT_EQ(modeForShuffle(shuffleOf(m), *modeForLoopStatus(loopStatusOf(m), m)), m);
}

TEST(MprisRules, ARateSnapsToTheNearestSpeedTiesTowardNormal)
{
    EXPECT_EQ(speedForRate(1.0), PlaySpeed::Normal);
    EXPECT_EQ(speedForRate(2.0), PlaySpeed::Double);
    EXPECT_EQ(speedForRate(1.5), PlaySpeed::OneAndHalf);
    EXPECT_EQ(speedForRate(0.5), PlaySpeed::Half);
    EXPECT_EQ(speedForRate(0.74), PlaySpeed::Half);
    EXPECT_EQ(speedForRate(0.75), PlaySpeed::Normal) << "a tie between 0.5 and 1.0";
    EXPECT_EQ(speedForRate(1.25), PlaySpeed::Normal) << "a tie between 1.0 and 1.5";
    EXPECT_EQ(speedForRate(1.75), PlaySpeed::OneAndHalf) << "a tie between 1.5 and 2.0";
    EXPECT_EQ(speedForRate(1.76), PlaySpeed::Double);
    EXPECT_EQ(speedForRate(0.01), PlaySpeed::Half);
    EXPECT_EQ(speedForRate(16.0), PlaySpeed::Double);
    EXPECT_FALSE(speedForRate(0.0)) << "0 pauses";
    EXPECT_FALSE(speedForRate(-1.0));
    EXPECT_FALSE(speedForRate(std::nan("")));
}

TEST(MprisRules, ASeekNeverLandsBeforeTheStartAndPastTheEndAsksForTheNext)
{
    const qint64 s = 1'000'000;
    EXPECT_EQ(seekBy(2 * s, 3 * s, 10 * s), (SeekTarget{false, 5 * s}));
    EXPECT_EQ(seekBy(2 * s, -5 * s, 10 * s), (SeekTarget{false, 0}));
    EXPECT_EQ(seekBy(9 * s, 1 * s, 10 * s), (SeekTarget{false, 10 * s})) << "the end itself is a position";
    EXPECT_TRUE(seekBy(9 * s, 1 * s + 1, 10 * s).next);
}

TEST(MprisRules, VolumeIsTheBarsSettingRoundedAndClamped)
{
    EXPECT_EQ(volumeSetting(0.5), 50);
    EXPECT_EQ(volumeSetting(0.555), 56);
    EXPECT_EQ(volumeSetting(1.0), 100);
    EXPECT_EQ(volumeSetting(1.7), 100);
    EXPECT_EQ(volumeSetting(-0.2), 0);
    EXPECT_EQ(volumeSetting(std::numeric_limits<double>::infinity()), 0);
}
