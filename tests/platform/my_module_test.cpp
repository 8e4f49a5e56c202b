#include "platform/app_dir.h"
#include "platform/file_system.h"
#include "platform/my_module.h"
#include "platform/twips.h"
#include "platform/wave_out.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ScreenMetrics, TwipsPerPixelFromDpi)
{
    EXPECT_EQ(myModule::twipsPerPixelForDpi(96), 15);
    EXPECT_EQ(myModule::twipsPerPixelForDpi(120), 12);
    EXPECT_EQ(myModule::twipsPerPixelForDpi(144), 10);
    EXPECT_EQ(myModule::twipsPerPixelForDpi(0), 15);
}

TEST(ScreenMetrics, UnmappedWindowHasNoFrame)
{
    QWidget w;
    myModule::initScreenMetrics(&w);
    EXPECT_EQ(myModule::twipsPerPixelX, 15); // offscreen screens report 96 DPI
    EXPECT_EQ(myModule::captionHeight, 0);
    EXPECT_EQ(myModule::frameWidth, 0);
    EXPECT_EQ(myModule::frameHeight, 0);
}

TEST(Twips, PlacesAndReadsBackInTwips)
{
    myModule::twipsPerPixelX = myModule::twipsPerPixelY = 15;
    QWidget parent;
    QWidget child(&parent);
    twips::place(&child, 1000, -60, 3135, 375);
    EXPECT_EQ(child.geometry(), QRect(67, -4, 209, 25)); // rounded to the nearest pixel
    EXPECT_EQ(twips::left(&child), 1005);
    EXPECT_EQ(twips::top(&child), -60);
    twips::setWidth(&child, 40000); // wider than 16 bits of twips allow
    EXPECT_EQ(twips::width(&child), 40005);
    twips::setHeight(&child, -100);
    EXPECT_EQ(child.height(), 0);
}

TEST(ExpandLongPath, KeepsExistingComponentsAndEmptiesMissingOnes)
{
    QTemporaryDir dir;
    const QString base = dir.path();
    testsupport::writeFile(base + "/My Movies/a b.avi", "x");
    EXPECT_EQ(myModule::expandLongPath(base + "/My Movies/a b.avi"), base + "/My Movies/a b.avi");
    EXPECT_EQ(myModule::expandLongPath(base + "/nope/a b.avi"), base + "//");
    EXPECT_EQ(myModule::expandLongPath(base + "/My Movies/missing.avi"), base + "/My Movies/");
    EXPECT_EQ(myModule::expandLongPath(""), "");
}

TEST(FileSystem, HiddenMeansOwnNameStartsWithDot)
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath(".local/share/a.avi"), "x");
    testsupport::writeFile(dir.filePath("v/.hidden.avi"), "x");
    EXPECT_TRUE(platform::normalEntryExists(dir.filePath(".local/share/a.avi")));
    EXPECT_FALSE(platform::normalEntryExists(dir.filePath("v/.hidden.avi")));
    EXPECT_TRUE(platform::entryExists(dir.filePath("v/.hidden.avi")));
    EXPECT_TRUE(platform::entryExists(dir.filePath("v/")));
    EXPECT_FALSE(platform::entryExists(""));
}

TEST(AppDir, OverridePortableMarkerAndXdgFallback)
{
    QTemporaryDir dir;
    const QString exe = dir.filePath("bin");
    QDir().mkpath(exe);
    EXPECT_EQ(platform::resolveAppDir(exe, "/tmp/state", "", "/home/u"), "/tmp/state/");
    EXPECT_EQ(platform::resolveAppDir(exe, "", "/xdg/data", "/home/u"), "/xdg/data/plovana/");
    EXPECT_EQ(platform::resolveAppDir(exe, "", "", "/home/u"), "/home/u/.local/share/plovana/");
    EXPECT_EQ(platform::resolveAppDir(exe, "", "relative/data", "/home/u"), "/home/u/.local/share/plovana/");
    testsupport::writeFile(exe + "/plovana.portable", "");
    EXPECT_EQ(platform::resolveAppDir(exe, "", "/xdg/data", "/home/u"), exe + "/");
}

TEST(WaveOut, AlsaScaleMapsRangeEnds)
{
    EXPECT_EQ(platform::alsaToWave(0, 0, 87), 0);
    EXPECT_EQ(platform::alsaToWave(87, 0, 87), 65535);
    EXPECT_EQ(platform::waveToAlsa(65535, 0, 87), 87);
    EXPECT_EQ(platform::waveToAlsa(0, -10, 10), -10);
    EXPECT_EQ(platform::alsaToWave(5, 5, 5), 0); // an element without a range
}
