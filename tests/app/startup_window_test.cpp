// Start-up and shutdown of the real main window, with doubles for the engines.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "playback/playback.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include "lists/file_list_box.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "widgets/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

using testsupport::writeFile;

TEST_F(PlayerTest, FirstStartWithoutConfigUsesTheDefaults)
{
    Player &p = start();
    EXPECT_EQ(p.controls()->vol()->value(), 100);
    EXPECT_EQ(p.controls()->volForFullscreen()->value(), 100);
    EXPECT_EQ(p.playback()->getPlayMode(), PlayMode::Continuous); // 連続
    EXPECT_TRUE(p.commands().action(command::mode(1))->isChecked());
    EXPECT_EQ(p.commands().action(command::mode(1))->text(), QString::fromUtf8("連続"));
    EXPECT_TRUE(p.commands().action(command::speed(2))->isChecked());
    // The item shows its key (key.ini's default) beside its caption.
    EXPECT_EQ(p.commands().action(command::speed(2))->text(), QString::fromUtf8("等倍速\t1"));
    EXPECT_EQ(p.appDir(), app());
    EXPECT_EQ(p.options()->homeDir(), app());
    EXPECT_EQ(p.favourites()->OpenImagePath(), app());
    EXPECT_EQ(p.options()->text_home()->text(), app());
    EXPECT_EQ(p.files()->TabDir()->tag(1), app());
    EXPECT_EQ(p.favourites()->TabM3u()->tag(1), app("okini.ini"));
    EXPECT_TRUE(p.windowModes()->alwaysOnTop());
    EXPECT_TRUE(p.commands().action(command::topmost)->isChecked());
    EXPECT_TRUE(p.options()->Check_temae()->isChecked());
    EXPECT_FALSE(p.resizeLocked());
    EXPECT_EQ(p.windowTitle(), "Plovana");
    EXPECT_EQ(p.options()->Ver()->text(), versionCaption(PLOVANA_VERSION_MAJOR, PLOVANA_VERSION_MINOR, PLOVANA_VERSION_PATCH));
    EXPECT_TRUE(p.video()->logo()->isVisibleTo(p.video()->display()));
    EXPECT_TRUE(p.video()->Label_Logo()->isVisibleTo(p.video()->display()));
    EXPECT_EQ(p.video()->Label_Logo()->text(), "= Plovana =");
    EXPECT_FALSE(p.playback()->tmrPosition()->enabled());
    EXPECT_TRUE(p.favourites()->tmr_okini()->enabled());
    EXPECT_TRUE(engines.movies.empty()) << "no engine is started without a file";
}

TEST(StartupRules, VersionCaption)
{
    EXPECT_EQ(versionCaption(1, 2, 3), QString::fromUtf8("バージョン：　Ver.1.2.3"));
}

TEST_F(PlayerTest, SoftInfoShowsTheProjectsVersion)
{
    // The version of CMakeLists.txt's project(), which --version, the metainfo and the
    // package show too.
    Player &p = start();
    EXPECT_EQ(p.options()->Ver()->text(), QString::fromUtf8("バージョン：　Ver." PLOVANA_PROJECT_VERSION));
}

TEST_F(PlayerTest, DataFoldersAreCreatedOnceAndLeftAlone)
{
    start();
    EXPECT_TRUE(QDir(app("image")).exists());
    EXPECT_TRUE(QDir(app("seen")).exists());
    writeFile(app("image/a.bmp"), "bmp");
    writeFile(app("seen/a.txt"), "scene");
    restart();
    EXPECT_EQ(testsupport::readFile(app("image/a.bmp")), "bmp");
    EXPECT_EQ(testsupport::readFile(app("seen/a.txt")), "scene");
}

TEST_F(PlayerTest, CommandLinePathWithASpaceIsSelectedAndPlayed)
{
    touch("b.avi");
    const QString file = touch("My Movies/a b.avi");
    for (const QString &arg : {file, u'"' + file + u'"'}) {
        Player &p = restart({arg});
        EXPECT_EQ(p.files()->File()->path(), work("My Movies"));
        EXPECT_EQ(p.files()->TabDir()->tag(1), work("My Movies/"));
        EXPECT_EQ(p.listPane()->Tab1()->selectedIndex(), 1);
        EXPECT_EQ(p.files()->File()->fileName(), "a b.avi");
        EXPECT_EQ(p.files()->File()->topIndex(), p.files()->File()->listIndex());
        ASSERT_NE(engines.movie(), nullptr);
        EXPECT_EQ(engines.movie()->loads.back(), file);
        EXPECT_EQ(p.video()->movie()->fileName, file);
        EXPECT_EQ(p.windowTitle(), "a b");
        EXPECT_TRUE(p.playback()->tmrPosition()->enabled());
    }
}

TEST_F(PlayerTest, CommandLineRelativePathIsMadeAbsolute)
{
    const QString file = touch("sub/clip.mpg");
    Player &p = start({"sub/clip.mpg"});
    ASSERT_NE(engines.movie(), nullptr);
    EXPECT_EQ(engines.movie()->loads.back(), file);
    EXPECT_EQ(p.files()->File()->fileName(), "clip.mpg");
}

TEST_F(PlayerTest, CommandLineMissingFileIsIgnored)
{
    Player &p = start({work("nothing here.avi")});
    EXPECT_TRUE(engines.movies.empty());
    EXPECT_TRUE(p.video()->logo()->isVisibleTo(p.video()->display()));
    EXPECT_FALSE(p.playback()->tmrPosition()->enabled());
}

TEST_F(PlayerTest, CommandLineFileWithOtherExtensionShowsItAndFailsToOpen)
{
    touch("a.avi");
    touch("notes.txt");
    Player &p = start({work("notes.txt")});
    EXPECT_EQ(p.files()->File()->path(), work().chopped(1));
    EXPECT_EQ(p.files()->TabDir()->tag(1), work());
    // The open is called with an empty file name and ends like any failed open.
    EXPECT_TRUE(p.video()->movie()->fileName.isEmpty());
    EXPECT_FALSE(p.video()->logo()->isVisibleTo(p.video()->display()));
    EXPECT_FALSE(p.playback()->tmrPosition()->enabled());
}

TEST_F(PlayerTest, ShutdownRunsOnceAndStopsPlayback)
{
    const QString file = touch("a.avi");
    Player &p = start({file});
    ASSERT_TRUE(engines.movie()->isLoaded());
    p.Form_Unload();
    EXPECT_FALSE(engines.movie() && engines.movie()->isLoaded());
    EXPECT_FALSE(p.playback()->tmrPosition()->enabled());
    p.Form_Unload(); // a second call (the close after a signal) does nothing
}

TEST_F(PlayerTest, CommandLineUnquotedPathWithSpacesPlays)
{
    const QString file = touch("my dir/clip one.avi");
    // A shell passes an unquoted path with spaces as three arguments.
    Player &p = start({work("my"), "dir/clip", "one.avi"});
    ASSERT_NE(engines.movie(), nullptr);
    EXPECT_EQ(engines.movie()->loads.back(), file);
    EXPECT_EQ(p.files()->File()->fileName(), "clip one.avi");
    // Relative, the same three arguments resolve against the working folder.
    restart({"my", "dir/clip", "one.avi"});
    EXPECT_EQ(engines.movie()->loads.back(), file);
}
