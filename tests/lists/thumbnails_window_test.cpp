// Thumbnails in the favourites list, with a frame grabber double that takes its time.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "lists/thumbnail_maker.h"
#include "playback/cmovie.h"
#include "widgets/command_ids.h"
#include "widgets/timer.h"
#include "window/video_area.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace {

// The colour of a file's frame: its number in the red channel ("c017.avi" → 17), the
// position in the blue channel, and in the green channel 100 for an .mpg, else 0.
platform::RgbImage frameOf(const QString &file, double position, int w, int h)
{
    const int number = QFileInfo(file).completeBaseName().mid(1).toInt();
    const char green = file.endsWith(QLatin1String(".mpg")) ? char(100) : char(0);
    platform::RgbImage img;
    img.width = w;
    img.height = h;
    img.pixels.resize(w * h * 3);
    for (int i = 0; i < w * h; ++i) {
        img.pixels[i * 3] = char(number);
        img.pixels[i * 3 + 1] = green;
        img.pixels[i * 3 + 2] = char(int(position) * 50);
    }
    return img;
}

} // namespace

class Thumbnails : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        grabber = [this](const QString &file, double position, int w, int h, const platform::GrabLimits &limits) {
            for (int waited = 0; waited < delayMs; waited += 5) {
                if (limits.cancelled && limits.cancelled->load())
                    return platform::FrameGrab{platform::GrabStatus::Cancelled, {}};
                QThread::msleep(5);
            }
            return platform::FrameGrab{platform::GrabStatus::Ok, frameOf(file, position, w, h)};
        };
        start();
        ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
        ASSERT_FALSE(player->options()->Check_loadthum()->isChecked()) << "thumbnails are on";
    }
    QStringList clips(int n)
    {
        QStringList names;
        for (int i = 0; i < n; ++i) {
            names.append(QStringLiteral("c%1.avi").arg(i, 3, 10, QChar(u'0')));
            touch("v/" + names.last());
        }
        return names;
    }
    // The red channel of entry i's picture: the number of the file it was made from.
    int pictureOf(int i) const
    {
        return qRed(player->favourites()->Image_okini()->picture(i).toImage().pixel(50, 37));
    }
    bool done() const { return player->favourites()->thumbnails()->pendingCount() == 0; }
    std::atomic<int> delayMs{20};
};

TEST_F(Thumbnails, PicturesComeInListOrderWhileTheWindowAnswers)
{
    FavouritesPage &f = *player->favourites();
    const QStringList names = clips(150);
    QTimer beat;
    beat.setInterval(100);
    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        worst = std::max(worst, clock.elapsed() - last);
        last = clock.elapsed();
    });
    clock.start();
    beat.start();
    ASSERT_TRUE(f.add_selected_files(work("v"), names));
    EXPECT_EQ(f.List_okini()->count(), 150) << "entries appear at once, with the placeholder";
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }, 20000));
    worst = std::max(worst, clock.elapsed() - last);
    EXPECT_LE(worst, 250) << "longest gap between two beats of a 100 ms timer, in ms";
    for (int i = 1; i <= 150; ++i)
        ASSERT_EQ(pictureOf(i), i - 1) << "entry " << i << " shows its own file's frame";
    EXPECT_EQ(QFileInfo(app("image/c149.bmp")).size(), 22554);
}

TEST_F(Thumbnails, RemovingOrClearingMidwayNeverPutsAPictureOnAnotherEntry)
{
    FavouritesPage &f = *player->favourites();
    const QStringList names = clips(20);
    f.add_selected_files(work("v"), names);
    f.remove_okini_item(2); // c001 goes while its picture is being made
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }, 10000));
    ASSERT_EQ(f.List_okini()->count(), 19);
    for (int i = 1; i <= 19; ++i)
        EXPECT_EQ(pictureOf(i), i == 1 ? 0 : i) << "entry " << i;

    // Cleared for another list while pictures are due: none lands on the new entries.
    for (const QString &n : names)
        QFile::remove(app("image/" + QFileInfo(n).completeBaseName() + ".bmp"));
    f.add_selected_files(work("v"), names.mid(0, 10));
    f.del_all_list();
    touch("w/z050.avi");
    f.add_okini_item(work("w"), "z050.avi");
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }, 10000));
    EXPECT_EQ(pictureOf(1), 50);
}

TEST_F(Thumbnails, ClosingWithPicturesDueReturnsAtOnceAndLeavesNoTemporaryFile)
{
    delayMs = 200;
    player->favourites()->add_selected_files(work("v"), clips(100));
    QElapsedTimer t;
    t.start();
    close();
    EXPECT_LT(t.elapsed(), 1000);
    for (const QString &f : QDir(app("image")).entryList(QDir::Files))
        EXPECT_TRUE(f.endsWith(".bmp")) << f.toStdString();
}

TEST_F(Thumbnails, CaptureTakesTheCurrentFrameOnTheFavouritesPageOnly)
{
    Player &p = *player;
    FavouritesPage &f = *p.favourites();
    f.add_okini_item(work("v"), clips(1).first());
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }));
    p.listPane()->Tab1()->select(1);
    p.openMedia(work("v/c000.avi"), 0);
    engines.movie()->pos = 2.0;
    p.commands().trigger(command::capture);
    EXPECT_TRUE(done()) << "nothing is captured on the file page";

    p.listPane()->Tab1()->select(2);
    f.selectOkini(1);
    p.openMedia(work("v/c000.avi"), 0);
    ASSERT_EQ(p.video()->movie()->okini_index, 1);
    engines.movie()->pos = 1.0;
    p.commands().trigger(command::capture);
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }));
    EXPECT_EQ(qBlue(f.Image_okini()->picture(1).toImage().pixel(50, 37)), 50);
    engines.movie()->pos = 2.0;
    p.commands().trigger(command::capture); // within the same second
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }));
    EXPECT_EQ(qBlue(f.Image_okini()->picture(1).toImage().pixel(50, 37)), 100) << "the new frame, not the cached one";
    f.refresh_okini(1);
    EXPECT_EQ(qBlue(f.Image_okini()->picture(1).toImage().pixel(50, 37)), 100) << "read back from the file";
}

TEST_F(Thumbnails, TheImageFolderBesideTheFilesOrInTheProgramFolder)
{
    FavouritesPage &f = *player->favourites();
    f.add_okini_item(work("a"), touch("a/c001.avi").mid(work("a/").size()));
    player->options()->Check_imagedirchange()->setChecked(true);
    f.add_okini_item(work("b"), touch("b/c002.avi").mid(work("b/").size()));
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }));
    EXPECT_TRUE(QFileInfo::exists(app("image/c001.bmp")));
    EXPECT_TRUE(QFileInfo::exists(work("b/image/c002.bmp"))) << "a new image folder gets a real frame at once";
    EXPECT_EQ(pictureOf(2), 2);
}

TEST_F(Thumbnails, EntriesOfOneTitleShareTheFirstFilesPictureWhateverTheWorkerIsDoing)
{
    FavouritesPage &f = *player->favourites();
    delayMs = 60;
    touch("v1/c042.avi");
    touch("v2/c042.mpg");
    auto greenOf = [&](int i) { return qGreen(f.Image_okini()->picture(i).toImage().pixel(50, 37)); };

    // Waiting behind other entries: the later file joins the queued job and does not take it.
    ASSERT_TRUE(f.add_selected_files(work("v"), clips(3)));
    f.add_okini_item(work("v1"), "c042.avi");
    f.add_okini_item(work("v2"), "c042.mpg");
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }, 10000));
    ASSERT_EQ(f.List_okini()->count(), 5);
    EXPECT_EQ(pictureOf(4), 42);
    EXPECT_EQ(greenOf(4), 0) << "c042.avi shows c042.avi's frame";
    EXPECT_EQ(greenOf(5), 0) << "c042.mpg shares the bitmap made first";
    EXPECT_EQ(qGreen(loadThumbnail(app("image/c042.bmp")).pixel(50, 37)), 0);

    // Being made when the second entry comes: it waits for the same picture.
    f.del_all_list();
    QFile::remove(app("image/c042.bmp"));
    delayMs = 300;
    f.add_okini_item(work("v1"), "c042.avi");
    QTest::qWait(60); // the worker has taken the job
    f.add_okini_item(work("v2"), "c042.mpg");
    ASSERT_TRUE(testsupport::waitFor([&] { return done(); }, 10000));
    EXPECT_EQ(greenOf(1), 0);
    EXPECT_EQ(greenOf(2), 0);
    EXPECT_EQ(qGreen(loadThumbnail(app("image/c042.bmp")).pixel(50, 37)), 0) << "the bitmap is not made again";
}
