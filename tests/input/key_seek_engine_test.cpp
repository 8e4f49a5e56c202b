// Held fast-forward and rewind keys on the real engines: the ordinary one jumps a second
// every 100 ms while the key is held, the RealMedia control 3 s a press.
#include "support/key_events.h"
#include "support/player_fixture.h"

#include "input/key_commands.h"
#include "playback/cmovie.h"
#include "playback/now_playing.h"
#include "playback/playback.h"
#include "playback/real_control.h"
#include "widgets/timer.h"
#include "window/video_area.h"

#include <QElapsedTimer>

using namespace keytest;
using testsupport::clip;
using testsupport::waitFor;

class KeySeekEngine : public RealEnginePlayerTest
{
protected:
    // Holds a key for `ms` as a keyboard does: a press, then the auto-repeat's release and
    // press pairs every 30 ms, then the release.
    void hold(Qt::Key key, int ms)
    {
        press(*player, key);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            testsupport::pump(30);
            release(*player, key, Qt::NoModifier, true);
            press(*player, key, Qt::NoModifier, true);
        }
        release(*player, key);
    }
    // The ordinary engine's file, paused at `at` seconds (the position then moves only by
    // the keys).
    void openPausedAt(const QString &file, double at)
    {
        player->openMedia(file, 0);
        ASSERT_TRUE(waitFor([&] { return position() >= 0; }, 5000));
        ASSERT_TRUE(player->playback()->nowPlaying().togglePlay(file));
        ASSERT_EQ(player->video()->movie()->PlayState, 2);
        player->video()->movie()->mobjPosition->setCurrentPosition(at);
        ASSERT_TRUE(waitFor([&] { return std::abs(position() - at) < 0.05; }, 3000));
    }
};

TEST_F(KeySeekEngine, HeldForASecondItSkipsAboutTenSecondsThenStops)
{
    openPausedAt(clip("long.avi"), 20.0);
    hold(Qt::Key_X, 1000);
    const double afterHold = position();
    // The press's jump and one a tick: ten in a second, give or take a loaded machine's ticks.
    EXPECT_GT(afterHold, 20.0 + 6.0);
    EXPECT_LT(afterHold, 20.0 + 13.0);
    EXPECT_FALSE(player->playback()->state().keySeeking());
    EXPECT_EQ(player->playback()->tmrPosition()->interval(), 500);
    testsupport::pump(1000);
    EXPECT_NEAR(position(), afterHold, 0.05) << "no jump after the release";
}

TEST_F(KeySeekEngine, RewindNearTheStartStopsAtTheStart)
{
    openPausedAt(clip("long.avi"), 2.0);
    hold(Qt::Key_Z, 600);
    testsupport::pump(300);
    EXPECT_GE(position(), 0.0);
    EXPECT_LT(position(), 0.2) << "at the start, not counted back from the end";
    EXPECT_EQ(player->video()->movie()->fileName, clip("long.avi"));
    EXPECT_EQ(player->video()->movie()->PlayState, 2);
}

TEST_F(KeySeekEngine, ATapOnRealMediaJumpsThreeSeconds)
{
    RealControl *rmovie = player->video()->rmovie();
    player->openMedia(clip("clip.rm"), 0);
    ASSERT_TRUE(waitFor([&] { return rmovie->invoke(RealControl::Position).toInt() > 300; }, 5000));
    rmovie->invoke(RealControl::Pause);
    player->playback()->nowPlaying().syncStatus();
    rmovie->invoke(RealControl::Seek, 500);
    ASSERT_TRUE(waitFor([&] { return std::abs(rmovie->invoke(RealControl::Position).toInt() - 500) < 50; }, 3000));
    tap(*player, Qt::Key_X);
    ASSERT_TRUE(waitFor([&] { return rmovie->invoke(RealControl::Position).toInt() > 3000; }, 3000));
    EXPECT_NEAR(rmovie->invoke(RealControl::Position).toInt(), 3500, 60);
    // The release came before the next tick: no second jump.
    testsupport::pump(1500);
    EXPECT_NEAR(rmovie->invoke(RealControl::Position).toInt(), 3500, 60);
}
