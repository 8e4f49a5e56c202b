// Fitting the picture into the video area and the clip masks, through the real main window
// with the engine doubles (15 twips per pixel on the test screen).
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
#include "window/video_area.h"

#include <QRadioButton>
#include <QScreen>
#include <QSlider>

class VideoFitting : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        ASSERT_EQ(twips::toPixelsX(15), 1) << "the values below assume 15 twips per pixel";
        ASSERT_EQ(twips::toPixelsY(15), 1);
    }
    // Opens a 320 × 240 video.
    void openVideo()
    {
        engines.media[work("clip.avi")] = fakes::FakeMedia{5.0, true, true, QSize(320, 240)};
        player->openMedia(touch("clip.avi"), 0);
        ASSERT_NE(engines.movie(), nullptr);
        ASSERT_NE(engines.movie()->surfaceWidget, nullptr);
    }
    void placeDisplay(int width, int height) { twips::place(player->video()->display(), 0, 0, width, height); }
    QRect picture() const { return engines.movie()->surfaceWidget->geometry(); }
};

TEST_F(VideoFitting, KeepAspectCentresThePictureAcrossInAWideArea)
{
    player->options()->setFitMode(1);
    openVideo();
    placeDisplay(6000, 3600);
    EXPECT_EQ(picture(), QRect(40, 0, 320, 240));
}

TEST_F(VideoFitting, KeepAspectCentresThePictureUpAndDownInATallArea)
{
    player->options()->setFitMode(1);
    openVideo();
    placeDisplay(4800, 6000);
    EXPECT_EQ(picture(), QRect(0, 80, 320, 240));
}

TEST_F(VideoFitting, FullWindowStretchesThePictureOverTheArea)
{
    player->options()->setFitMode(2);
    openVideo();
    placeDisplay(6000, 3600);
    EXPECT_EQ(picture(), QRect(0, 0, 400, 240));
}

TEST_F(VideoFitting, ChoosingAnotherFittingOptionFitsThePictureAnew)
{
    player->options()->setFitMode(1);
    openVideo();
    placeDisplay(6000, 3600);
    ASSERT_EQ(picture(), QRect(40, 0, 320, 240));
    player->options()->use_fullWindow()->click();
    EXPECT_EQ(picture(), QRect(0, 0, 400, 240));
    player->options()->Keep_Aspect()->click();
    EXPECT_EQ(picture(), QRect(40, 0, 320, 240));
}

TEST_F(VideoFitting, RealMediaIsLetterboxedWithKeepAspectAndStretchedOtherwise)
{
    engines.media[work("a.rm")] = fakes::FakeMedia{5.0, true, true, QSize(320, 240)};
    player->options()->setFitMode(1);
    player->openMedia(touch("a.rm"), 0);
    placeDisplay(6000, 3600);
    EXPECT_EQ(player->video()->rmovie()->geometry(), QRect(40, 0, 320, 240));
    placeDisplay(4800, 6000);
    EXPECT_EQ(player->video()->rmovie()->geometry(), QRect(0, 80, 320, 240));
    player->options()->use_fullWindow()->click();
    EXPECT_EQ(player->video()->rmovie()->geometry(), player->video()->display()->geometry());
}

TEST_F(VideoFitting, BeforeAnyFileOnlyTheMasksFollowTheArea)
{
    player->options()->setFitMode(1);
    player->options()->Scroll_upper()->setValue(10);
    player->options()->scroll_under()->setValue(10);
    placeDisplay(6000, 3600);
    VideoArea &v = *player->video();
    // No source size yet: a tenth of the area at each edge.
    ASSERT_TRUE(v.clip_upper()->isVisibleTo(player.get()));
    EXPECT_EQ(v.clip_upper()->geometry(), QRect(0, 0, 400, 24));
    ASSERT_TRUE(v.clip_under()->isVisibleTo(player.get()));
    EXPECT_EQ(v.clip_under()->geometry(), QRect(0, 216, 400, 24));
}

TEST_F(VideoFitting, KeepAspectClipsTheEdgesOfALetterboxedPicture)
{
    player->options()->setFitMode(1);
    openVideo();
    placeDisplay(4800, 6000);
    player->options()->Scroll_upper()->setValue(10);
    player->options()->scroll_under()->setValue(10);
    VideoArea &v = *player->video();
    // The picture lies from 1200 to 4800 twips; each mask is 360 twips of it.
    EXPECT_EQ(v.clip_upper()->geometry(), QRect(0, 80, 320, 24));
    EXPECT_EQ(v.clip_under()->geometry(), QRect(0, 296, 320, 24));
    EXPECT_TRUE(v.clip_upper()->isVisibleTo(player.get()));
    EXPECT_TRUE(v.clip_under()->isVisibleTo(player.get()));
}

TEST_F(VideoFitting, KeepAspectFittedToTheHeightClipsAShareOfTheWidthFittedPicture)
{
    player->options()->setFitMode(1);
    openVideo();
    placeDisplay(6000, 3600);
    player->options()->Scroll_upper()->setValue(10);
    EXPECT_EQ(player->video()->clip_upper()->geometry(), QRect(0, 0, 400, 30)); // 450 twips
}

TEST_F(VideoFitting, WithoutKeepAspectTheMasksAreAShareOfTheArea)
{
    player->options()->setFitMode(2);
    openVideo();
    placeDisplay(6000, 3600);
    player->options()->Scroll_upper()->setValue(10);
    player->options()->scroll_under()->setValue(25);
    VideoArea &v = *player->video();
    EXPECT_EQ(v.clip_upper()->geometry(), QRect(0, 0, 400, 24));
    EXPECT_EQ(v.clip_under()->geometry(), QRect(0, 180, 400, 60));
}

TEST_F(VideoFitting, ASliderAtZeroHidesItsMask)
{
    openVideo();
    placeDisplay(6000, 3600);
    player->options()->Scroll_upper()->setValue(10);
    ASSERT_TRUE(player->video()->clip_upper()->isVisibleTo(player.get()));
    player->options()->Scroll_upper()->setValue(0);
    EXPECT_FALSE(player->video()->clip_upper()->isVisibleTo(player.get()));
    EXPECT_FALSE(player->video()->clip_under()->isVisibleTo(player.get())) << "the other slider stayed at 0";
}

TEST_F(VideoFitting, TheMasksLieOverThePicture)
{
    openVideo();
    placeDisplay(6000, 3600);
    player->options()->Scroll_upper()->setValue(10);
    const QWidget *w = player->video()->clip_upper();
    const QObjectList &siblings = player->children();
    EXPECT_GT(siblings.indexOf(w), siblings.indexOf(player->video()->display())) << "stacked above the video area";
    EXPECT_GT(siblings.indexOf(w), siblings.indexOf(player->video()->rmovie()));
}

TEST_F(VideoFitting, TheMasksLieOverARealMediaPicture)
{
    player->options()->setFitMode(1);
    player->openMedia(touch("a.rm"), 0);
    placeDisplay(6000, 3600);
    player->options()->Scroll_upper()->setValue(10);
    const QWidget *w = player->video()->clip_upper();
    const QObjectList &siblings = player->children();
    EXPECT_GT(siblings.indexOf(w), siblings.indexOf(player->video()->rmovie()));
    // The control fills the area, so the mask is a tenth of it.
    EXPECT_EQ(w->geometry(), QRect(0, 0, 400, 24));
}

TEST_F(VideoFitting, HalfScaleOfA640By480VideoAsksForA4800By3600Area)
{
    engines.media[work("big.avi")] = fakes::FakeMedia{5.0, true, true, QSize(640, 480)};
    player->openMedia(touch("big.avi"), 0);
    player->hideListPane(); // the test screen is 800 × 600: the pane would not leave room for 100 %
    player->video()->setVideoScale(0.5);
    EXPECT_EQ(twips::width(player->video()->display()), 4800);
    EXPECT_EQ(twips::height(player->video()->display()), 3600);
    player->video()->setVideoScale(1.0);
    EXPECT_EQ(player->video()->display()->size(), QSize(640, 480));
}

TEST_F(VideoFitting, ScaleBeforeTheSizeIsKnownIsAWideAreaAsHighAsTheVideoArea)
{
    player->hideListPane();
    player->setWindowHeight(5000);
    const int height = twips::height(player->video()->display());
    player->video()->setVideoScale(1.0);
    EXPECT_EQ(twips::height(player->video()->display()), height);
    EXPECT_NEAR(twips::width(player->video()->display()), height * 1.3, 15);
}

TEST_F(VideoFitting, AScaleBeyondTheScreenShrinksTheWindowToItKeepingTheAspect)
{
    engines.media[work("big.avi")] = fakes::FakeMedia{5.0, true, true, QSize(640, 480)};
    player->openMedia(touch("big.avi"), 0);
    player->video()->setVideoScale(2.0);
    const QRect avail = player->screen()->availableGeometry();
    const QSize d = player->video()->display()->size();
    EXPECT_LE(player->frameGeometry().width(), avail.width());
    EXPECT_LE(player->frameGeometry().height(), avail.height());
    EXPECT_NEAR(double(d.width()) / d.height(), 640.0 / 480.0, 0.02);
}
