// The seek bar and the first frame on the real engine.
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

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using testsupport::clip;
using testsupport::waitFor;

class SeekEngine : public RealEnginePlayerTest
{
protected:
    int at(double f) const
    {
        const int w = twips::width(player->controls()->SeekBar());
        return seek::kTrackMargin + static_cast<int>(f * (w - 2 * seek::kTrackMargin));
    }
};

TEST_F(SeekEngine, AClickLeftOfTheTrackGoesToTheStartNotTheEnd)
{
    Player &p = *player;
    p.playback()->mode_Click(1);
    p.playback()->tmrPosition()->setInterval(100);
    p.openMedia(clip("clip.avi"), 0);
    ASSERT_TRUE(waitFor([&] { return position() > 1.5; }, 5000));
    p.controls()->SeekBar_MouseDown(Qt::LeftButton, Qt::NoModifier, 0);
    p.controls()->SeekBar_MouseUp(Qt::LeftButton, Qt::NoModifier, 0);
    testsupport::pump(400);
    EXPECT_GE(position(), 0.0);
    EXPECT_LT(position(), 1.0) << "a negative target is kept at 0, not counted from the end";
    EXPECT_EQ(p.video()->movie()->fileName, clip("clip.avi")) << "no end of file, so nothing else opened";
}

TEST_F(SeekEngine, ACtrlMarkedSecondRepeats)
{
    Player &p = *player;
    p.playback()->mode_Click(0);
    p.playback()->tmrPosition()->setInterval(100);
    p.openMedia(clip("clip.avi"), 0); // 5 s
    ASSERT_TRUE(waitFor([&] { return position() > 0.2; }, 5000));
    p.controls()->SeekBar_MouseDown(Qt::LeftButton, Qt::ControlModifier, at(0.2));
    p.controls()->SeekBar_MouseMove(Qt::LeftButton, Qt::ControlModifier, at(0.4));
    p.controls()->SeekBar_MouseUp(Qt::LeftButton, Qt::ControlModifier, at(0.4));
    ASSERT_EQ(p.controls()->SeekBar()->selStart(), 100);
    ASSERT_EQ(p.controls()->SeekBar()->selLength(), 100);
    int backJumps = 0;
    double last = position(), highest = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3500) {
        testsupport::pump(50);
        const double now = position();
        if (now < last - 0.3)
            ++backJumps;
        last = now;
        highest = std::max(highest, now);
    }
    EXPECT_GE(backJumps, 2) << "the section 1 s .. 2 s played more than once";
    EXPECT_LT(highest, 2.5) << "never far past the section's end";
}

TEST_F(SeekEngine, FirstFrameOfTheSelectedFileIsShownPaused)
{
    Player &p = *player;
    QFile::copy(clip("firstred.avi"), work("firstred.avi"));
    p.files()->setFilePath(work());
    p.listPane()->Tab1()->select(1);
    p.files()->File()->setListIndex(0);
    p.commands().action(command::topSeek)->trigger();
    EXPECT_EQ(p.video()->movie()->PlayState, 2);
    ASSERT_TRUE(waitFor(
        [&] {
            const QImage img = testsupport::shownPicture(p.video()->display());
            const QColor c = img.pixelColor(img.width() / 2, img.height() / 2);
            return c.red() > 200 && c.green() < 60 && c.blue() < 60;
        },
        5000))
        << "the red first second";
    testsupport::pump(500);
    EXPECT_LT(position(), 0.1) << "paused at the start";
    EXPECT_TRUE(p.video()->display()->isVisible());
}
