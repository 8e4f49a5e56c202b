// The position timer of the real main window, with doubles for the engines.
#include "support/player_fixture.h"

#include "playback/playback.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"

#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "widgets/controls.h"

#include <QProgressBar>

class PositionTimer : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
    }
    fakes::FakeBackend &engine() { return *engines.movie(); }
    fakes::FakeBackend &realEngine() { return *engines.real(); }
    void tick() { player->playback()->tmrPosition_Timer(); }
};

TEST_F(PositionTimer, FollowsThePositionRoundingHalvesToEven)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    engine().pos = 2.5;
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 250);
    EXPECT_EQ(p.controls()->lblMedia[4]->caption(), " 0:02 ");
    EXPECT_EQ(p.controls()->time_forFullscreen()->caption(), " 0:02 ");
    engine().pos = 0.125; // 12.5 hundredths
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 12);
    engine().pos = 0.375; // 37.5
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 38);
    EXPECT_TRUE(p.playback()->tmrPosition()->enabled());
    EXPECT_FALSE(p.video()->movie()->mblnInCommand);
}

TEST_F(PositionTimer, NothingOpenKeepsTheBarAndLabelsAndIsNoEnd)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    engine().pos = 3;
    tick();
    p.video()->movie()->MediaClose();
    p.video()->movie()->PlayState = 1;
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 300);
    EXPECT_EQ(p.controls()->lblMedia[4]->caption(), " 0:03 ");
    EXPECT_EQ(p.video()->movie()->PlayState, 1) << "0 >= 0 must not count as the end of a file";
}

TEST_F(PositionTimer, NormalModeStopsAndRewindsAtTheEndAndKeepsRunning)
{
    Player &p = *player;
    p.playback()->mode_Click(0);
    p.openMedia(touch("a.avi"), 0);
    engine().playToEnd();
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 500);
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    EXPECT_DOUBLE_EQ(engine().pos, 0);
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 0);
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    EXPECT_TRUE(p.playback()->tmrPosition()->enabled());
}

TEST_F(PositionTimer, LoopModeRestartsWithoutReopening)
{
    Player &p = *player;
    p.playback()->mode_Click(2);
    p.openMedia(touch("a.avi"), 0);
    const auto loads = engine().loads.size();
    engine().playToEnd();
    engine().paused = true; // a finished file pauses at its end
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 0);
    EXPECT_DOUBLE_EQ(engine().pos, 0);
    EXPECT_FALSE(engine().paused);
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    EXPECT_EQ(engine().loads.size(), loads);
}

TEST_F(PositionTimer, ContinuousAndRandomModesHandTheEndToTheNextItem)
{
    Player &p = *player;
    for (int m : {1, 3}) {
        p.playback()->mode_Click(m);
        p.openMedia(touch("a.avi"), 0);
        engine().playToEnd();
        tick();
        // Stepping to the next item is the play order's; the file is not stopped here.
        EXPECT_EQ(p.video()->movie()->PlayState, 1) << m;
    }
}

TEST_F(PositionTimer, SelectedSectionRepeats)
{
    Player &p = *player;
    engines.media[work("long.avi")] = {30.0};
    p.openMedia(touch("long.avi"), 0);
    p.playback()->state().setSection({1000, 200});
    engine().pos = 11.0;
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 1100);
    engine().pos = 12.5;
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->value(), 1000);
    EXPECT_DOUBLE_EQ(engine().pos, 10.0);
}

TEST_F(PositionTimer, SectionAtTheEndOfTheFileDoesNotRepeat)
{
    Player &p = *player;
    p.playback()->mode_Click(0);
    p.openMedia(touch("a.avi"), 0);
    p.playback()->state().setSection({400, 200});
    engine().playToEnd();
    tick();
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    EXPECT_DOUBLE_EQ(engine().pos, 0);
}

TEST_F(PositionTimer, HeldKeySkipRepeatsEveryHundredMilliseconds)
{
    Player &p = *player;
    engines.media[work("long.avi")] = {60.0};
    p.openMedia(touch("long.avi"), 0);
    engine().pos = 10;
    p.playback()->state().setKeySeek(5);
    tick();
    EXPECT_EQ(p.playback()->tmrPosition()->interval(), 100);
    EXPECT_DOUBLE_EQ(engine().pos, 15);
    tick();
    EXPECT_DOUBLE_EQ(engine().pos, 20);
    EXPECT_EQ(p.playback()->state().keySeek(), 5.0) << "the key command ends the skip";
    p.playback()->state().setKeySeek(-2);
    tick();
    EXPECT_DOUBLE_EQ(engine().pos, 18);
}

TEST_F(PositionTimer, RealMediaSkipJumpsOncePerRequest)
{
    Player &p = *player;
    engines.media[work("a.rm")] = {60.0};
    p.openMedia(touch("a.rm"), 0);
    realEngine().pos = 10;
    p.playback()->state().setKeySeek(2);
    tick();
    EXPECT_EQ(p.playback()->tmrPosition()->interval(), 1000);
    EXPECT_DOUBLE_EQ(realEngine().pos, 16.0); // 2 × 3000 ms further
    EXPECT_FALSE(p.playback()->state().keySeeking()) << "one jump a request";
}

TEST_F(PositionTimer, RealMediaEndsHalfASecondEarlyButNeverAtZero)
{
    Player &p = *player;
    p.playback()->mode_Click(0);
    p.openMedia(touch("a.rm"), 0);
    realEngine().pos = 4.4;
    tick();
    EXPECT_EQ(p.controls()->SeekBar()->max(), 5000);
    EXPECT_EQ(p.controls()->SeekBar()->value(), 4400);
    EXPECT_EQ(p.controls()->lblMedia[3]->caption(), "0:05");
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    realEngine().pos = 4.5;
    tick();
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    EXPECT_EQ(p.video()->rmovie()->playState(), RealControl::Stopped);

    // A clip whose length is not known yet: total time 0:00, and position 0 is no end.
    engines.media[work("b.rm")] = {0.0};
    p.openMedia(touch("b.rm"), 0);
    realEngine().media[work("b.rm")] = {0.0};
    realEngine().current.duration = 0;
    realEngine().pos = 0;
    tick();
    EXPECT_EQ(p.controls()->lblMedia[3]->caption(), "0:00");
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
}
