// Fitting and clipping on the real engine: the picture's size is known once openMedia
// returns, so the first fit is already the right one; the masks cover the real picture.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "app/options_page.h"
#include "playback/cmovie.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QImage>
#include <QSlider>

using testsupport::clip;
using testsupport::waitFor;

namespace {

class FittingEngine : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        realEngine = true;
        start();
    }
    // The window's pixels over the video area (the masks included).
    QImage videoArea() const
    {
        QWidget *d = player->video()->display();
        return testsupport::shownPicture(player.get()).copy(QRect(d->mapTo(player.get(), QPoint(0, 0)), d->size()));
    }
    static bool black(QColor c) { return c.red() < 30 && c.green() < 30 && c.blue() < 30; }
};

} // namespace

TEST_F(FittingEngine, AFourByThreeClipIsPillarboxedAsSoonAsItOpens)
{
    player->options()->setFitMode(1);
    player->hideListPane();
    twips::place(player->video()->display(), 0, 0, 6000, 3000); // 400 × 200 px: wider than 4:3
    player->openMedia(clip("onekey.avi"), 0); // 64 × 48, red
    QWidget *surface = player->video()->movie()->mobjWindow->window();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->geometry(), QRect(67, 0, 267, 200)) << "fitted before any frame";
    ASSERT_TRUE(waitFor(
        [&] {
            const QImage img = videoArea();
            const QColor mid = img.pixelColor(img.width() / 2, img.height() / 2);
            return mid.red() > 180 && mid.green() < 80 && black(img.pixelColor(10, img.height() / 2))
                   && black(img.pixelColor(img.width() - 10, img.height() / 2));
        },
        5000));
}

TEST_F(FittingEngine, OneHundredPercentMakesTheVideoAreaTheSourceSize)
{
    player->hideListPane();
    player->openMedia(clip("pattern.avi"), 0); // 352 × 144
    player->commands().action(command::size(3))->trigger();
    EXPECT_EQ(player->video()->display()->size(), QSize(352, 144));
}

TEST_F(FittingEngine, PixelsUnderAMaskAreBlackAndTheRestIsThePicture)
{
    player->options()->setFitMode(2); // the picture fills the area
    player->openMedia(clip("pattern.avi"), 0);
    player->options()->scroll_under()->setValue(25);
    ASSERT_TRUE(waitFor(
        [&] {
            const QImage img = videoArea();
            const QColor above = img.pixelColor(img.width() / 4, img.height() / 2);
            return above.red() > 200 && above.green() < 60 && above.blue() > 200;
        },
        5000));
    const QImage img = videoArea();
    EXPECT_TRUE(black(img.pixelColor(img.width() / 4, img.height() - 3)));
    EXPECT_TRUE(black(img.pixelColor(img.width() * 3 / 4, img.height() * 85 / 100)));
    EXPECT_FALSE(black(img.pixelColor(img.width() * 3 / 4, img.height() * 60 / 100)));
}
