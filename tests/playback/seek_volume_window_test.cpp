// The seek bar (clicks, drags, Ctrl-marked sections), the first frame of the selected
// file, and the volume bars with mute, through the real main window.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "widgets/controls.h"
#include "widgets/seek_math.h"
#include "widgets/timer.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"

#include <QFile>

class SeekVolume : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        player->playback()->tmrPosition()->setInterval(100000); // the test ticks by hand
    }
    ControlBar &bar() { return *player->controls(); }
    fakes::FakeBackend &engine() { return *engines.movie(); }
    // The x (twips) on the seek bar that stands for a fraction of the clip.
    int at(double f) const
    {
        const int w = twips::width(player->controls()->SeekBar());
        return seek::kTrackMargin + static_cast<int>(f * (w - 2 * seek::kTrackMargin));
    }
    void click(double f, Qt::KeyboardModifiers shift = Qt::NoModifier)
    {
        bar().SeekBar_MouseDown(Qt::LeftButton, shift, at(f));
        bar().SeekBar_MouseUp(Qt::LeftButton, shift, at(f));
    }
};

TEST_F(SeekVolume, AClickSeeksAndClearsASection)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0); // 5 s: the bar counts 0..500
    p.playback()->state().setSection({100, 200});
    click(0.6);
    EXPECT_EQ(p.controls()->SeekBar()->selLength(), 0);
    EXPECT_EQ(p.controls()->SeekBar()->value(), 300);
    EXPECT_DOUBLE_EQ(engine().pos, 3.0);
    EXPECT_FALSE(p.video()->movie()->mblnInCommand);
    EXPECT_FALSE(engine().paused) << "a playing file plays on after the click";

    // While a tick or a command runs, a click moves nothing.
    p.video()->movie()->mblnInCommand = true;
    const int seeks = engine().seeks;
    click(0.2);
    EXPECT_EQ(engine().seeks, seeks);
    EXPECT_EQ(p.controls()->SeekBar()->value(), 300);
}

TEST_F(SeekVolume, CtrlDragMarksASectionEitherWayAndARightClickClearsIt)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    SeekSlider *s = p.controls()->SeekBar();
    bar().SeekBar_MouseDown(Qt::LeftButton, Qt::ControlModifier, at(0.8));
    EXPECT_TRUE(p.controls()->sel()->isVisibleTo(p.controls()->control()));
    bar().SeekBar_MouseMove(Qt::LeftButton, Qt::ControlModifier, at(0.2));
    EXPECT_LT(twips::left(p.controls()->sel()), twips::left(s) + at(0.8));
    bar().SeekBar_MouseUp(Qt::LeftButton, Qt::ControlModifier, at(0.2));
    EXPECT_EQ(s->selStart(), 100);
    EXPECT_EQ(s->selLength(), 300);
    EXPECT_EQ(s->value(), 100);
    EXPECT_DOUBLE_EQ(engine().pos, 1.0);
    EXPECT_FALSE(p.controls()->sel()->isVisibleTo(p.controls()->control()));

    bar().SeekBar_MouseDown(Qt::RightButton, Qt::NoModifier, at(0.5));
    EXPECT_EQ(s->selLength(), 0);

    // Ending left of the track marks from 0 to the start.
    bar().SeekBar_MouseDown(Qt::LeftButton, Qt::ControlModifier, at(0.4));
    bar().SeekBar_MouseUp(Qt::LeftButton, Qt::ControlModifier, 0);
    EXPECT_EQ(s->selStart(), 0);
    EXPECT_EQ(s->selLength(), 200);
}

TEST_F(SeekVolume, APausedFileStaysPausedAfterADrag)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    p.playPause(); // the file page shows it: pause
    p.files()->File()->setListIndex(0);
    p.video()->movie()->MediaPlay(2);
    ASSERT_EQ(p.video()->movie()->PlayState, 2);
    bar().SeekBar_MouseDown(Qt::LeftButton, Qt::NoModifier, at(0.2));
    bar().SeekBar_MouseMove(Qt::LeftButton, Qt::NoModifier, at(0.4));
    bar().SeekBar_MouseUp(Qt::LeftButton, Qt::NoModifier, at(0.4));
    EXPECT_TRUE(engine().paused);
    EXPECT_EQ(p.video()->movie()->PlayState, 2);
    EXPECT_DOUBLE_EQ(engine().pos, 2.0);
}

TEST_F(SeekVolume, TheFullScreenBarHasNoMargins)
{
    Player &p = *player;
    engines.media[work("long.avi")] = fakes::FakeMedia{600.0};
    p.openMedia(touch("long.avi"), 0);
    twips::setWidth(p.controls()->SeekBarForFullscreen(), 19200);
    bar().SeekBarForFullscreen_MouseDown(Qt::LeftButton, 9600);
    EXPECT_EQ(p.controls()->SeekBar()->value(), 30000);
    EXPECT_DOUBLE_EQ(engine().pos, 300.0);
    EXPECT_TRUE(p.playback()->tmrPosition()->enabled());
}

TEST_F(SeekVolume, FirstFrameOfTheSelectedFile)
{
    Player &p = *player;
    touch("v/a.avi");
    touch("v/b.avi");
    p.files()->setFilePath(work("v"));
    p.listPane()->Tab1()->select(1);
    p.commands().action(command::topSeek)->trigger(); // no selection: nothing
    EXPECT_TRUE(engines.movies.empty());

    p.files()->File()->setListIndex(1);
    p.commands().action(command::topSeek)->trigger();
    ASSERT_NE(engines.movie(), nullptr);
    EXPECT_EQ(engine().loads.back(), work("v/b.avi"));
    EXPECT_TRUE(engine().paused);
    EXPECT_EQ(p.video()->movie()->PlayState, 2);
    EXPECT_DOUBLE_EQ(engine().pos, 0.0);
    EXPECT_TRUE(p.video()->display()->isVisible());
    EXPECT_FALSE(p.video()->blackShape()->isVisible());

    QFile::remove(work("v/a.avi"));
    p.files()->File()->setListIndex(0);
    p.commands().action(command::topSeek)->trigger();
    EXPECT_EQ(engine().loads.size(), 1u) << "a deleted file is not opened";

    p.listPane()->Tab1()->select(3);
    p.playback()->seekTop();
    EXPECT_EQ(engine().loads.size(), 1u) << "the search page does nothing";
}

TEST_F(SeekVolume, MuteAtSeventyAndBack)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    const int w = twips::width(p.controls()->vol());
    bar().setVolumeFromPointer(Qt::LeftButton, (w - 80) * 70 / 100);
    EXPECT_EQ(p.controls()->vol()->value(), 70);
    EXPECT_EQ(p.video()->movie()->volume, -1500);
    bar().setVolumeFromPointer(Qt::RightButton, 10);
    EXPECT_EQ(p.controls()->vol()->value(), 0);
    EXPECT_EQ(p.controls()->volForFullscreen()->value(), 0);
    EXPECT_EQ(p.video()->movie()->volume, -10000);
    bar().setVolumeFromPointer(Qt::RightButton, 10);
    EXPECT_EQ(p.controls()->vol()->value(), 70);
    EXPECT_EQ(p.controls()->volForFullscreen()->value(), 70);
    EXPECT_EQ(p.video()->movie()->volume, -1500);
    bar().setVolumeFromPointer(Qt::LeftButton, w);
    EXPECT_EQ(p.controls()->vol()->value(), 100) << "the far right is exactly 100";
    bar().setVolumeFromPointer(Qt::LeftButton, -30);
    EXPECT_EQ(p.controls()->vol()->value(), 100) << "left of the bar is refused";
}

TEST_F(SeekVolume, RealMediaVolumeGoesThroughTheMixer)
{
    Player &p = *player;
    waveOut->current = 0xFFFFFFFFu;
    p.playback()->nowPlaying().readStartWaveVolume();
    p.controls()->setVolume(50);
    p.openMedia(touch("a.rm"), 0);
    ASSERT_TRUE(p.playback()->Timer_adjust_volume()->enabled());
    ASSERT_TRUE(testsupport::waitFor([&] { return waveOut->sets.size() >= 2; }, 3000));
    EXPECT_EQ(waveOut->sets.back(), 0x7FFF7FFFu);
    EXPECT_FALSE(p.playback()->Timer_adjust_volume()->enabled());
    bar().setVolumeFromPointer(Qt::RightButton, 0);
    EXPECT_EQ(waveOut->sets.back(), 0u) << "muted through the mixer";
}
