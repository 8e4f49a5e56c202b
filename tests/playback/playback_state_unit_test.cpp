// The observable playback state: each change reported once, no report without a change,
// and the numbers config.ini keeps for the speeds and the play modes.
#include "playback/playback_state.h"

#include <gtest/gtest.h>
#include <QSignalSpy>

TEST(PlaybackState, EachChangeIsReportedOnceAndOnlyWhenTheValueChanges)
{
    PlaybackState s;
    QSignalSpy status(&s, &PlaybackState::statusChanged), position(&s, &PlaybackState::positionChanged),
        file(&s, &PlaybackState::fileChanged), engine(&s, &PlaybackState::engineChanged),
        speed(&s, &PlaybackState::speedChanged), mode(&s, &PlaybackState::playModeChanged),
        volume(&s, &PlaybackState::volumeChanged), muted(&s, &PlaybackState::mutedChanged),
        section(&s, &PlaybackState::sectionChanged), key(&s, &PlaybackState::keySeekChanged),
        duration(&s, &PlaybackState::durationChanged), code(&s, &PlaybackState::durationCodeChanged);

    EXPECT_EQ(s.status(), PlayStatus::Closed);
    EXPECT_FALSE(s.isOpen());
    s.setStatus(PlayStatus::Playing);
    s.setStatus(PlayStatus::Playing);
    EXPECT_EQ(status.count(), 1);
    EXPECT_EQ(status.takeFirst().at(0).value<PlayStatus>(), PlayStatus::Playing);
    EXPECT_TRUE(s.isOpen());

    s.setFile("/v/a.avi", MediaEngine::Ordinary);
    s.setFile("/v/a.avi", MediaEngine::Ordinary);
    EXPECT_EQ(file.count(), 1);
    EXPECT_EQ(engine.count(), 0) << "the engine did not change";
    s.setFile("/v/a.rm", MediaEngine::RealMedia);
    EXPECT_EQ(file.count(), 2);
    EXPECT_EQ(engine.count(), 1);
    EXPECT_EQ(s.unitsPerSecond(), 1000);

    for (int i = 0; i < 3; ++i) {
        s.setPosition(12.5);
        s.setDuration(300);
        s.setDurationCode(-1);
        s.setSpeed(PlaySpeed::Half);
        s.setPlayMode(PlayMode::Loop);
        s.setVolume(40);
        s.setMuted(true);
        s.setSection({100, 200});
        s.setKeySeek(-1.0);
    }
    for (QSignalSpy *spy : {&position, &duration, &code, &speed, &mode, &volume, &muted, &section, &key})
        EXPECT_EQ(spy->count(), 1);
    EXPECT_EQ(s.section(), (SeekSection{100, 200}));
    EXPECT_EQ(s.keySeek(), -1.0);
    EXPECT_TRUE(s.keySeeking());
    s.setKeySeek(0.0); // a step of nothing is no seek
    EXPECT_FALSE(s.keySeeking());
    EXPECT_EQ(key.count(), 2);
}

TEST(PlaybackState, ASeekIsReportedEvenToTheSamePosition)
{
    PlaybackState s;
    QSignalSpy seeked(&s, &PlaybackState::seeked), position(&s, &PlaybackState::positionChanged);
    s.seekedTo(3);
    s.seekedTo(3);
    EXPECT_EQ(seeked.count(), 2);
    EXPECT_EQ(position.count(), 1);
    EXPECT_EQ(s.position(), 3);
}

TEST(PlaybackState, SpeedsAndModesByTheNumbersConfigIniKeeps)
{
    EXPECT_EQ(speedFromIndex(0), PlaySpeed::Double);
    EXPECT_EQ(speedFromIndex(2), PlaySpeed::Normal);
    EXPECT_EQ(speedFromIndex(3), PlaySpeed::Half);
    EXPECT_FALSE(speedFromIndex(-1));
    EXPECT_FALSE(speedFromIndex(4));
    EXPECT_EQ(speedRate(PlaySpeed::Double), 2.0);
    EXPECT_EQ(speedRate(PlaySpeed::OneAndHalf), 1.5);
    EXPECT_EQ(speedRate(PlaySpeed::Half), 0.5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(speedIndex(*speedFromIndex(i)), i);
        EXPECT_EQ(playModeIndex(*playModeFromIndex(i)), i);
    }
    EXPECT_EQ(playModeFromIndex(3), PlayMode::Random);
    EXPECT_FALSE(playModeFromIndex(7));
}
