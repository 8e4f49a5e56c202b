// The real main window on the real libmpv engine.
#include "support/player_fixture.h"

#include "playback/playback.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"

#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "playback/video_surface.h"
#include "widgets/controls.h"

#include <QLabel>

using testsupport::clip;
using testsupport::waitFor;

class PlayerEngine : public RealEnginePlayerTest
{
};

TEST_F(PlayerEngine, LongFileSetsTheSeekBarFromItsDuration)
{
    player->openMedia(clip("long.avi"), 0);
    EXPECT_EQ(QString::number(player->playback()->state().durationCode()), "-1");
    EXPECT_EQ(player->controls()->SeekBar()->max(), 33000);
    EXPECT_EQ(player->controls()->lblMedia[3]->caption(), "5:30");
}

TEST_F(PlayerEngine, BrokenFileDoesNotCrashAndLeavesTheTimerOff)
{
    player->openMedia(clip("clip.avi"), 0);
    player->stop_Click();
    player->openMedia(clip("broken.avi"), 0);
    EXPECT_EQ(QString::number(player->playback()->state().durationCode()), "0");
    EXPECT_TRUE(player->video()->movie()->fileName.isEmpty());
    EXPECT_FALSE(player->video()->logo()->isVisibleTo(player->video()->display()));
    EXPECT_FALSE(player->playback()->tmrPosition()->enabled());
    EXPECT_EQ(player->controls()->SeekBar()->max(), 500);
}

TEST_F(PlayerEngine, OpeningThePausedFileResumesAtThePausedPosition)
{
    player->openMedia(clip("clip.avi"), 0);
    ASSERT_TRUE(waitFor([&] { return position() > 1.0; }, 5000));
    player->video()->movie()->MediaPlay(2);
    testsupport::pump(200);
    const double paused = position();
    player->openMedia(clip("clip.avi"), 0);
    EXPECT_EQ(player->video()->movie()->PlayState, 1);
    EXPECT_GE(position(), paused - 0.05);
    EXPECT_GT(position(), 0.9);
}

TEST_F(PlayerEngine, RealMediaGoesToTheRealControl)
{
    player->openMedia(clip("upper.RM"), 0);
    EXPECT_TRUE(player->playback()->nowPlaying().isRealMedia());
    EXPECT_TRUE(player->video()->rmovie()->isVisibleTo(player.get()));
    ASSERT_TRUE(waitFor([&] { return player->video()->rmovie()->invoke(RealControl::Position).toInt() > 300; }, 5000));
    player->openMedia(clip("clip.rmvb"), 0);
    EXPECT_FALSE(player->playback()->nowPlaying().isRealMedia());
    EXPECT_FALSE(player->video()->rmovie()->isVisibleTo(player.get()));
    EXPECT_EQ(player->video()->movie()->fileName, clip("clip.rmvb"));
    EXPECT_EQ(player->video()->rmovie()->invoke(RealControl::PlayStateId).toInt(), 0);
}

TEST_F(PlayerEngine, PictureAppearsInTheVideoArea)
{
    int frames = 0;
    QObject::connect(player.get(), &Player::framePainted, [&] { ++frames; });
    player->openMedia(clip("pattern.avi"), 0);
    QWidget *d = player->video()->display();
    ASSERT_TRUE(waitFor(
        [&] {
            const QImage img = testsupport::shownPicture(d);
            const QColor left = img.pixelColor(img.width() / 4, img.height() / 2);
            const QColor right = img.pixelColor(img.width() * 3 / 4, img.height() / 2);
            return left.red() > 200 && left.green() < 60 && left.blue() > 200 && right.green() > 200
                   && right.red() < 60;
        },
        5000));
    EXPECT_GT(frames, 0);
    player->stop_Click();
    EXPECT_TRUE(player->video()->logo()->isVisibleTo(d));
}

TEST_F(PlayerEngine, NextFileNeverShowsThePictureOfTheFileBefore)
{
    player->openMedia(clip("pattern.avi"), 0);
    auto isPattern = [](const QImage &img) {
        const QColor c = img.pixelColor(img.width() / 4, img.height() / 2);
        return c.red() > 200 && c.green() < 60 && c.blue() > 200;
    };
    ASSERT_TRUE(waitFor([&] { return isPattern(testsupport::shownPicture(player->video()->display())); }, 5000));
    // Every frame painted once the next file has loaded must be the next file's.
    QImage first;
    bool loaded = false;
    auto *surface = player->video()->display()->findChild<VideoSurface *>();
    ASSERT_NE(surface, nullptr);
    const auto l = QObject::connect(player->video()->movie()->backend(), &MediaBackend::loaded, [&] { loaded = true; });
    const auto c = QObject::connect(player.get(), &Player::framePainted, [&] {
        if (loaded && first.isNull())
            first = surface->lastFrame();
    });
    player->openMedia(clip("long.avi"), 0);
    ASSERT_TRUE(waitFor([&] { return !first.isNull(); }, 5000));
    QObject::disconnect(c);
    QObject::disconnect(l);
    EXPECT_FALSE(isPattern(first));
}
