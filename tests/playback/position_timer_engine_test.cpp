// The position timer on real clips, with both engines.
#include "support/player_fixture.h"

#include "playback/playback.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"

#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "widgets/controls.h"

using testsupport::clip;
using testsupport::waitFor;

class TimerEngine : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        realEngine = true;
        start();
        player->playback()->tmrPosition()->setInterval(100000); // the test ticks by hand
    }
    double position() const
    {
        return player->video()->movie()->mobjPosition ? player->video()->movie()->mobjPosition->currentPosition().value_or(-1) : -1;
    }
};

TEST_F(TimerEngine, ThreeSecondClipInNormalModeStopsAtZeroAndTheTimerRuns)
{
    Player &p = *player;
    p.playback()->mode_Click(0);
    p.openMedia(clip("short3.avi"), 0);
    const double d = *p.video()->movie()->mobjPosition->duration();
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(p.video()->movie()->PlayState, 1) << "the start of a file is no end";
    ASSERT_TRUE(waitFor([&] { return position() >= d; }, 8000));
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(p.controls()->SeekBar()->value(), p.controls()->SeekBar()->max());
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    testsupport::pump(300);
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 0);
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    EXPECT_TRUE(p.playback()->tmrPosition()->enabled());
    testsupport::pump(500);
    EXPECT_LT(position(), 0.05) << "stopped at the start";
}

TEST_F(TimerEngine, LoopModeRestartsTheSameClipWithoutReopening)
{
    Player &p = *player;
    p.playback()->mode_Click(2);
    p.openMedia(clip("short3.avi"), 0);
    int loads = 0;
    QObject::connect(p.video()->movie()->backend(), &MediaBackend::loaded, [&] { ++loads; });
    const double d = *p.video()->movie()->mobjPosition->duration();
    ASSERT_TRUE(waitFor([&] { return position() >= d; }, 8000));
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 0);
    ASSERT_TRUE(waitFor([&] { return position() > 0.3 && position() < 2.0; }, 3000));
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    EXPECT_EQ(p.video()->movie()->fileName, clip("short3.avi"));
}

TEST_F(TimerEngine, RealMediaClipEndsHalfASecondBeforeItsLength)
{
    Player &p = *player;
    p.playback()->mode_Click(0);
    p.openMedia(clip("short3.rm"), 0);
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    ASSERT_TRUE(waitFor(
        [&] {
            const int len = p.video()->rmovie()->invoke(RealControl::Length).toInt();
            return len > 0 && p.video()->rmovie()->invoke(RealControl::Position).toInt() >= len - 500;
        },
        8000));
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    EXPECT_EQ(p.video()->rmovie()->playState(), RealControl::Stopped);
    EXPECT_NEAR(p.controls()->SeekBar()->max(), 3030, 60);
}
