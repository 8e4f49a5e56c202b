// Today's containers on the real engine: H.264 in mp4 and mkv, VP9 in webm.
#include "support/player_fixture.h"

#include "playback/cmovie.h"
#include "playback/playback.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"

using testsupport::clip;
using testsupport::waitFor;

TEST_F(PlayerTest, ModernClipsPlayToTheirEndInContinuousMode)
{
    realEngine = true;
    Player &p = start();
    p.playback()->tmrPosition()->setInterval(100000); // the test ticks by hand
    p.playback()->mode_Click(1);
    for (const char *name : {"modern.mp4", "modern.webm", "modern.mkv"}) {
        p.openMedia(clip(name), 0);
        EXPECT_FALSE(p.playback()->nowPlaying().isRealMedia()) << name;
        ASSERT_NE(p.video()->movie()->mobjPosition, nullptr) << name;
        const auto d = p.video()->movie()->mobjPosition->duration();
        ASSERT_TRUE(d.has_value()) << name;
        EXPECT_NEAR(*d, 2.0, 0.2) << name;
        EXPECT_EQ(p.controls()->SeekBar()->max(), static_cast<int>(*d * 100)) << name;
        ASSERT_TRUE(waitFor([&] { return p.video()->movie()->mobjPosition->currentPosition().value_or(0) >= *d; }, 8000))
            << name;
        p.playback()->tmrPosition_Timer();
        EXPECT_EQ(p.controls()->SeekBar()->value(), p.controls()->SeekBar()->max()) << name;
    }
}

TEST_F(PlayerTest, CommandLineOpensAnMkv)
{
    realEngine = true;
    Player &p = start({clip("modern.mkv")});
    EXPECT_EQ(p.video()->movie()->fileName, clip("modern.mkv"));
    EXPECT_EQ(p.windowTitle(), "modern");
    EXPECT_TRUE(p.playback()->tmrPosition()->enabled());
    EXPECT_TRUE(waitFor([&] { return p.video()->movie()->mobjPosition->currentPosition().value_or(0) > 0.1; }, 5000));
}
