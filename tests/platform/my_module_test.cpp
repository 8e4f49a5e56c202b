#include "platform/app_dir.h"
#include "platform/file_system.h"
#include "platform/my_module.h"
#include "platform/wave_out.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ScreenMetrics, TwipsPerPixelFromDpi)
{
    EXPECT_EQ(myModule::twipsPerPixelForDpi(96), 15);
    EXPECT_EQ(myModule::twipsPerPixelForDpi(120), 12);
    EXPECT_EQ(myModule::twipsPerPixelForDpi(144), 10);
    EXPECT_EQ(myModule::twipsPerPixelForDpi(0), 15);
}

TEST(ScreenMetrics, FrameOfAMappedWindow)
{
    // A window manager's frame: 4 px at the sides and the bottom, a 24 px caption above.
    const QRect outer(96, 176, 808, 628), inner(100, 200, 800, 600);
    myModule::setScreenMetrics(96, 96, &outer, &inner);
    EXPECT_EQ(myModule::frameWidth, 60);
    EXPECT_EQ(myModule::frameHeight, 60);
    EXPECT_EQ(myModule::captionHeight, 300);
    myModule::setScreenMetrics(96, 96);
    EXPECT_EQ(myModule::frameWidth, 0);
    EXPECT_EQ(myModule::captionHeight, 0);
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
