// The seek bar preview's arithmetic and its cache: the second a pointer stands for (the
// click's own arithmetic), the picture's size, the place on the screen, and the pictures
// kept by file and second within their budget.
#include "platform/media_detector.h"
#include "platform/profile.h"
#include "widgets/config_values.h"
#include "widgets/seek_math.h"
#include "window/preview_cache.h"
#include "window/seek_preview_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

platform::RgbImage picture(int width, int height, char fill = 0)
{
    return {width, height, QByteArray(qsizetype(width) * height * 3, fill)};
}

} // namespace

TEST(PreviewSecond, TheSeekBarsPointerIsWhereAClickSeeksCutToItsSecond)
{
    const int width = 4320; // twips: a track of 4000 from 160 to 4160
    // Every pointer position stands for the second a click there seeks to (whole seconds for
    // an ordinary file), within the clip.
    for (double duration : {330.0, 5.0, 7384.6}) {
        for (int x = -200; x <= width + 200; x += 7) {
            const int click = seek::moviePointer(seek::trackFraction(x, width), duration) / 100;
            const int expected = std::clamp(click, 0, static_cast<int>(std::floor(duration)));
            ASSERT_EQ(preview::seekBarSecond(x, width, duration, false), expected) << duration << " s at " << x;
        }
    }
    EXPECT_EQ(preview::seekBarSecond(160, width, 330, false), 0) << "the track's left end";
    EXPECT_EQ(preview::seekBarSecond(4160, width, 330, false), 330) << "the track's right end";
    EXPECT_EQ(preview::seekBarSecond(2160, width, 330, false), 165);
    EXPECT_EQ(preview::seekBarSecond(0, width, 330, false), 0) << "left of the track";
    EXPECT_EQ(preview::seekBarSecond(width, width, 330.6, false), 330) << "right of the track: the last second";
    // Rounded, not cut, as the click is: 25.5 % of the track of a 10 s clip is 2.55 s.
    EXPECT_EQ(preview::seekBarSecond(160 + 1000 + 20, width, 10, false), 3) << "2.55 s rounds to 3 s";
    // RealMedia seeks to the millisecond; the preview shows that millisecond's second.
    EXPECT_EQ(preview::seekBarSecond(160 + 1000 + 20, width, 10, true), 2) << "2.55 s is in second 2";
    EXPECT_EQ(preview::seekBarSecond(4160, width, 10.5, true), 10);
    // No length yet, or one the units cannot hold: nothing to stand for.
    EXPECT_EQ(preview::seekBarSecond(2000, width, 0, false), std::nullopt);
    EXPECT_EQ(preview::seekBarSecond(2000, width, std::nan(""), false), std::nullopt);
    EXPECT_EQ(preview::seekBarSecond(2000, width, 1e12, false), std::nullopt);
    EXPECT_EQ(preview::seekBarSecond(2000, 100, 330, false), 0) << "a bar narrower than its margins";
}

TEST(PreviewSecond, TheFullScreenBarHasNoMargins)
{
    EXPECT_EQ(preview::fullScreenSecond(0, 9000, 600, false), 0);
    EXPECT_EQ(preview::fullScreenSecond(4500, 9000, 600, false), 300) << "the middle of a 10-minute file";
    EXPECT_EQ(preview::fullScreenSecond(9000, 9000, 600, false), 600);
    EXPECT_EQ(preview::fullScreenSecond(9500, 9000, 600, false), 600) << "past the bar's end";
    EXPECT_EQ(preview::fullScreenSecond(-10, 9000, 600, false), 0);
    // Hundredths of a second (or milliseconds) and then the second they lie in.
    EXPECT_EQ(preview::fullScreenSecond(1, 9000, 600, false), 0);
    EXPECT_EQ(preview::fullScreenSecond(2999, 9000, 6, true), 1) << "1.999 s";
    EXPECT_EQ(preview::fullScreenSecond(4500, 9000, 0, false), std::nullopt);
    EXPECT_EQ(preview::fullScreenSecond(4500, 0, 600, false), 0);
}

TEST(PreviewPicture, SizeInDevicePixelsAndAtTheFilesAspect)
{
    EXPECT_EQ(preview::pictureWidth(1.0), 160);
    EXPECT_EQ(preview::pictureWidth(2.0), 320);
    EXPECT_EQ(preview::pictureWidth(1.25), 200);
    EXPECT_EQ(preview::pictureWidth(0.0), 160);
    EXPECT_EQ(preview::pictureWidth(std::nan("")), 160);

    using platform::heightAtAspect;
    EXPECT_EQ(heightAtAspect(160, 1920, 1080, 1, 1, 640), 90);
    EXPECT_EQ(heightAtAspect(160, 1920, 1080, 0, 1, 640), 90) << "unknown pixel aspect: square";
    EXPECT_EQ(heightAtAspect(160, 720, 576, 64, 45, 640), 90) << "PAL 16:9";
    EXPECT_EQ(heightAtAspect(160, 720, 480, 8, 9, 640), 120) << "NTSC 4:3";
    EXPECT_EQ(heightAtAspect(320, 176, 144, 1, 1, 1280), 262);
    EXPECT_EQ(heightAtAspect(160, 10, 1000, 1, 1, 640), 640) << "a tall picture is cut to the limit";
    EXPECT_EQ(heightAtAspect(160, 4000, 1, 1, 1, 640), 1);
    EXPECT_EQ(heightAtAspect(160, 0, 1080, 1, 1, 640), 1);
}

TEST(PreviewPlace, AboveThePointerAndInsideTheScreen)
{
    const QRect screen(0, 0, 1280, 800);
    const QSize size(162, 110);
    // Centred on the pointer, its bottom kGap above the bar's top.
    EXPECT_EQ(preview::place(600, 700, 725, size, screen), QPoint(600 - 81, 700 - preview::kGap - 110));
    // At either end of the bar the screen's edge holds it.
    EXPECT_EQ(preview::place(20, 700, 725, size, screen).x(), 0);
    EXPECT_EQ(preview::place(1275, 700, 725, size, screen).x(), 1280 - 162);
    // The full-screen bar at the top of the screen: no room above, so below it.
    EXPECT_EQ(preview::place(600, 3, 23, size, screen), QPoint(519, 23 + preview::kGap));
    // A second screen right of the first.
    const QRect right(1280, 0, 1920, 1080);
    EXPECT_EQ(preview::place(1290, 900, 925, size, right).x(), 1280);
    EXPECT_EQ(preview::place(3190, 900, 925, size, right).x(), 3200 - 162);
    // A screen too small for it: its top-left corner stays on the screen.
    EXPECT_EQ(preview::place(50, 60, 80, size, QRect(0, 0, 100, 100)), QPoint(0, 0));
}

TEST(PreviewCache, PicturesByFileSecondAndWidth)
{
    PreviewCache cache;
    EXPECT_EQ(cache.find("a.avi", 10, 160), nullptr);
    cache.insert("a.avi", 10, picture(160, 90, 'x'));
    ASSERT_NE(cache.find("a.avi", 10, 160), nullptr);
    EXPECT_EQ(cache.find("a.avi", 10, 160)->pixels.at(0), 'x');
    EXPECT_EQ(cache.find("a.avi", 11, 160), nullptr);
    EXPECT_EQ(cache.find("b.avi", 10, 160), nullptr);
    EXPECT_EQ(cache.find("a.avi", 10, 320), nullptr) << "made for another screen's pixel ratio";
    // The same second again replaces the picture.
    cache.insert("a.avi", 10, picture(320, 180, 'y'));
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(cache.bytes(), 320 * 180 * 3);
    ASSERT_NE(cache.find("a.avi", 10, 320), nullptr);
    EXPECT_EQ(cache.find("a.avi", 10, 320)->pixels.at(0), 'y');
    cache.clear();
    EXPECT_EQ(cache.count(), 0);
    EXPECT_EQ(cache.bytes(), 0);
    EXPECT_TRUE(cache.files().isEmpty());
}

TEST(PreviewCache, TheLastFourFilesUsedAreKept)
{
    PreviewCache cache;
    for (const char *f : {"1.avi", "2.avi", "3.avi", "4.avi"})
        cache.insert(f, 5, picture(160, 90));
    EXPECT_EQ(cache.files(), QStringList({"4.avi", "3.avi", "2.avi", "1.avi"}));
    // A find makes the file recent again: the next new file drops 2.avi, not 1.avi.
    ASSERT_NE(cache.find("1.avi", 5, 160), nullptr);
    cache.insert("5.avi", 5, picture(160, 90));
    EXPECT_EQ(cache.files(), QStringList({"5.avi", "1.avi", "4.avi", "3.avi"}));
    EXPECT_FALSE(cache.contains("2.avi", 5));
    EXPECT_TRUE(cache.contains("1.avi", 5));
    EXPECT_EQ(cache.count(), 4);
    EXPECT_EQ(cache.bytes(), 4 * 160 * 90 * 3);
}

TEST(PreviewCache, AtMostItsBudgetTheLeastRecentlyUsedGoFirst)
{
    const qsizetype one = 160 * 90 * 3;
    PreviewCache cache(10 * one);
    for (int s = 0; s < 10; ++s)
        cache.insert("a.avi", s, picture(160, 90));
    ASSERT_NE(cache.find("a.avi", 0, 160), nullptr); // used again: now the most recent
    cache.insert("b.avi", 0, picture(160, 90));
    cache.insert("b.avi", 1, picture(160, 90));
    EXPECT_EQ(cache.bytes(), 10 * one);
    EXPECT_TRUE(cache.contains("a.avi", 0));
    EXPECT_FALSE(cache.contains("a.avi", 1));
    EXPECT_FALSE(cache.contains("a.avi", 2));
    EXPECT_TRUE(cache.contains("a.avi", 3));
    // A file whose pictures all went is no longer among the files.
    PreviewCache small(2 * one);
    small.insert("a.avi", 0, picture(160, 90));
    small.insert("b.avi", 0, picture(160, 90));
    small.insert("b.avi", 1, picture(160, 90));
    EXPECT_EQ(small.files(), QStringList({"b.avi"}));
    // A picture larger than the whole budget is not kept, and nothing is given up for it.
    small.insert("c.avi", 0, picture(320, 180));
    EXPECT_FALSE(small.contains("c.avi", 0));
    EXPECT_EQ(small.count(), 2);

    // The default budget: 64 MB of pixels, whatever the pictures.
    PreviewCache big;
    for (int s = 0; s < 2000; ++s)
        big.insert("long.avi", s, picture(320, 180));
    EXPECT_LE(big.bytes(), 64 * 1024 * 1024);
    EXPECT_GT(big.bytes(), 64 * 1024 * 1024 - 320 * 180 * 3);
    EXPECT_TRUE(big.contains("long.avi", 1999));
    EXPECT_FALSE(big.contains("long.avi", 0));
}

TEST(PreviewOption, ConfigKeySeekPreviewIsOnWhenMissing)
{
    EXPECT_EQ(readConfig(platform::IniDocument()).SeekPreview, 1) << "a config.ini from before the option";
    EXPECT_EQ(readConfig(platform::IniDocument({"[option]", "SeekPreview=0"})).SeekPreview, 0);
    EXPECT_EQ(readConfig(platform::IniDocument({"[option]", "SeekPreview=1"})).SeekPreview, 1);
    // Written in [option] after SeekTop.
    ConfigValues c;
    c.SeekPreview = 0;
    platform::IniDocument ini;
    writeConfig(c, ini);
    const QStringList lines = ini.lines();
    const qsizetype seekTop = lines.indexOf("SeekTop=0");
    ASSERT_GE(seekTop, 0);
    EXPECT_EQ(lines.value(seekTop + 1), "SeekPreview=0");
    EXPECT_EQ(readConfig(ini).SeekPreview, 0);
}
