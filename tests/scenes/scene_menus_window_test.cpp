// Scene bookmarks through the real main window: registering, jumping and clearing from
// the menus over the video, and jumping from the favourites popup.
#include "support/player_fixture.h"

#include "lists/favourites_page.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "scenes/scene_menus.h"
#include "widgets/timer.h"
#include "window/video_area.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

using testsupport::readFile;

class Scenes : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        // Two-minute clips (the engines copy these when they are made, at start-up).
        for (const char *name : {"a.avi", "other/a.mpg", "b.avi", "b.rm", "c.avi", "d.avi"})
            engines.media[work(name)] = {120.0};
        start();
        player->playback()->tmrPosition()->setInterval(100000); // the test ticks by hand
        player->favourites()->tmr_okini()->setEnabled(false);
    }
    SceneMenus &scenes() { return *player->scenes(); }
    fakes::FakeBackend &movie() { return *engines.movie(); }
    fakes::FakeBackend &real() { return *engines.real(); }
    // Opens a two-minute clip of that name in the work folder.
    QString open(const QString &name)
    {
        const QString path = touch(name);
        player->openMedia(path, 0);
        return path;
    }
    // Moves the engine to `seconds` and lets a tick carry it to the seek bar.
    void playTo(fakes::FakeBackend &engine, double seconds)
    {
        engine.pos = seconds;
        player->playback()->tmrPosition_Timer();
    }
    QByteArray record(const QString &sceneFile, int slot)
    {
        return readFile(app("seen/" + sceneFile)).split('\n').value(slot).trimmed();
    }
    QStringList sceneFiles() { return QDir(app("seen")).entryList(QDir::Files); }
};

TEST_F(Scenes, RegisterJumpAndShareTheSceneFileByTitle)
{
    open("a.avi");
    EXPECT_FALSE(scenes().m_seen_load()->isEnabled()) << "no scene file yet";
    EXPECT_FALSE(scenes().m_change_seen()->isEnabled());
    EXPECT_FALSE(scenes().m_delete_seen()->isEnabled());
    EXPECT_TRUE(scenes().m_regst()->isEnabled());

    playTo(movie(), 65.4);
    scenes().m_reg_seen()[3]->trigger();
    EXPECT_EQ(record("a.txt", 3), "\"[3] 1:05\",\"65.4\"");
    EXPECT_EQ(record("a.txt", 0), "\"[0] -----\",\"\"");
    EXPECT_EQ(readFile(app("seen/a.txt")).count("\r\n"), 10);

    // The menus follow the file at once.
    EXPECT_TRUE(scenes().m_seen_load()->isEnabled());
    EXPECT_EQ(scenes().m_seen()[3]->text(), "[3] 1:05");
    EXPECT_TRUE(scenes().m_seen()[3]->isEnabled());
    EXPECT_EQ(scenes().m_reg_seen()[3]->text(), "[3] 1:05 に上書き");
    EXPECT_EQ(scenes().m_chg_seen()[3]->text(), "[3] 1:05 のシーン名変更");
    EXPECT_EQ(scenes().m_del_seen()[3]->text(), "[3] 1:05 を削除");
    EXPECT_TRUE(scenes().m_del_seen()[3]->isEnabled());
    for (int k : {0, 4, 9}) {
        EXPECT_EQ(scenes().m_seen()[std::size_t(k)]->text(), QStringLiteral("[%1] -----").arg(k));
        EXPECT_EQ(scenes().m_reg_seen()[std::size_t(k)]->text(), QStringLiteral("[%1] -----").arg(k));
        EXPECT_FALSE(scenes().m_seen()[std::size_t(k)]->isEnabled());
        EXPECT_FALSE(scenes().m_del_seen()[std::size_t(k)]->isEnabled());
        EXPECT_TRUE(scenes().m_reg_seen()[std::size_t(k)]->isEnabled()) << "any slot can be registered";
    }

    // The jump lands on whole seconds; a slot not in use jumps nowhere.
    playTo(movie(), 10.0);
    scenes().m_seen()[3]->trigger();
    EXPECT_DOUBLE_EQ(movie().pos, 65.0);
    movie().pos = 10.0;
    scenes().m_seen_Click(4);
    EXPECT_DOUBLE_EQ(movie().pos, 10.0);

    // Overwriting a slot keeps the others.
    playTo(movie(), 7.25);
    scenes().m_reg_seen()[0]->trigger();
    EXPECT_EQ(record("a.txt", 0), "\"[0] 0:07\",\"7.25\"");
    EXPECT_EQ(record("a.txt", 3), "\"[3] 1:05\",\"65.4\"");

    // a.mpg in another folder has the same title: the same scenes.
    open("other/a.mpg");
    EXPECT_EQ(scenes().m_seen()[3]->text(), "[3] 1:05");
    EXPECT_TRUE(scenes().m_seen()[3]->isEnabled());
    scenes().m_seen()[3]->trigger();
    EXPECT_DOUBLE_EQ(movie().pos, 65.0);

    // b.avi has none.
    open("b.avi");
    EXPECT_EQ(scenes().m_seen()[3]->text(), "[3] -----");
    EXPECT_FALSE(scenes().m_seen()[3]->isEnabled());
    EXPECT_EQ(sceneFiles(), QStringList{"a.txt"});
}

TEST_F(Scenes, ClearingTheLastSceneRemovesTheFile)
{
    open("a.avi");
    playTo(movie(), 20.0);
    scenes().m_reg_seen()[2]->trigger();
    playTo(movie(), 30.0);
    scenes().m_reg_seen()[5]->trigger();

    // One of two: the cleared slot is written "----" with no position.
    scenes().m_del_seen()[2]->trigger();
    EXPECT_EQ(record("a.txt", 2), "\"----\",\"\"");
    EXPECT_EQ(record("a.txt", 5), "\"[5] 0:30\",\"30\"");
    EXPECT_EQ(scenes().m_seen()[2]->text(), "----");
    EXPECT_EQ(scenes().m_reg_seen()[2]->text(), "----");
    EXPECT_FALSE(scenes().m_seen()[2]->isEnabled());
    EXPECT_FALSE(scenes().m_del_seen()[2]->isEnabled());

    // The last one: the file goes and every slot is never used again.
    scenes().m_del_seen()[5]->trigger();
    EXPECT_FALSE(QFile::exists(app("seen/a.txt")));
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(scenes().m_seen()[std::size_t(k)]->text(), QStringLiteral("[%1] -----").arg(k));
        EXPECT_FALSE(scenes().m_seen()[std::size_t(k)]->isEnabled());
    }
    EXPECT_FALSE(scenes().m_seen_load()->isEnabled());
    EXPECT_FALSE(scenes().m_delete_seen()->isEnabled());
}

TEST_F(Scenes, NothingIsWrittenWithNoFileOpen)
{
    scenes().m_reg_seen()[0]->trigger();
    scenes().m_del_seen_Click(1);
    EXPECT_TRUE(sceneFiles().isEmpty());

    // Nor after the file was stopped and closed by a failed open.
    open("a.avi");
    player->openMedia(touch("broken.avi"), 0);
    scenes().m_reg_seen()[0]->trigger();
    EXPECT_TRUE(sceneFiles().isEmpty());
}

TEST_F(Scenes, RealMediaKeepsMillisecondsUnderTheTitleOfItsSource)
{
    const QString rm = touch("b.rm");
    player->openMedia("file://" + rm, 0);
    ASSERT_TRUE(player->playback()->nowPlaying().isRealMedia());
    playTo(real(), 65.432);
    scenes().m_reg_seen()[1]->trigger();
    EXPECT_EQ(sceneFiles(), QStringList{"b.txt"});
    EXPECT_EQ(record("b.txt", 1), "\"[1] 1:05\",\"65432\"");
    playTo(real(), 3.0);
    scenes().m_seen()[1]->trigger();
    EXPECT_DOUBLE_EQ(real().pos, 65.432) << "RealMedia lands on the millisecond";
}

TEST_F(Scenes, EitherEngineReadsTheOthersPositions)
{
    // b.avi and b.rm share b.txt: slot 0 in seconds, slot 1 in milliseconds.
    open("b.avi");
    playTo(movie(), 30.7);
    scenes().m_reg_seen()[0]->trigger();

    const QString rm = touch("b.rm");
    player->openMedia(rm, 0);
    EXPECT_EQ(scenes().m_seen()[0]->text(), "[0] 0:30");
    playTo(real(), 65.432);
    scenes().m_reg_seen()[1]->trigger();
    EXPECT_EQ(record("b.txt", 0), "\"[0] 0:30\",\"30.7\"");
    EXPECT_EQ(record("b.txt", 1), "\"[1] 1:05\",\"65432\"");
    scenes().m_seen()[0]->trigger();
    EXPECT_DOUBLE_EQ(real().pos, 31.0) << "seconds, rounded, not 31 ms";

    player->openMedia(work("b.avi"), 0);
    scenes().m_seen()[1]->trigger();
    EXPECT_DOUBLE_EQ(movie().pos, 65.0) << "milliseconds cut to whole seconds, not the end of the clip";
    scenes().m_seen()[0]->trigger();
    EXPECT_DOUBLE_EQ(movie().pos, 31.0);
}

TEST_F(Scenes, FavouritesPopupOpensTheEntryThenJumps)
{
    FavouritesPage &fav = *player->favourites();
    const QString c = open("c.avi");
    playTo(movie(), 40.2);
    scenes().m_reg_seen()[2]->trigger();
    open("d.avi");
    fav.add_okini_item(work().chopped(1), "d.avi");
    fav.add_okini_item(work().chopped(1), "c.avi");

    // No entry selected: nothing to jump into.
    fav.List_okini_MouseUp(Qt::RightButton);
    EXPECT_FALSE(fav.m_seen_load_okini()->isEnabled());
    fav.m_item()->hide();

    // d.avi has no scene file.
    fav.selectOkini(1);
    fav.List_okini_MouseUp(Qt::RightButton);
    EXPECT_FALSE(fav.m_seen_load_okini()->isEnabled());
    fav.m_item()->hide();

    fav.selectOkini(2);
    fav.List_okini_MouseUp(Qt::RightButton);
    ASSERT_TRUE(testsupport::waitFor([&] { return fav.m_item()->isVisible(); }, 2000));
    EXPECT_TRUE(fav.m_item()->actions().contains(fav.m_seen_load_okini()->menuAction()));
    EXPECT_EQ(fav.m_seen_load_okini()->title(), "シーン");
    EXPECT_TRUE(fav.m_seen_load_okini()->isEnabled());
    EXPECT_EQ(scenes().m_seen_okini()[2]->text(), "[2] 0:40");
    EXPECT_TRUE(scenes().m_seen_okini()[2]->isEnabled());
    EXPECT_EQ(scenes().m_seen_okini()[1]->text(), "[1] -----");
    EXPECT_FALSE(scenes().m_seen_okini()[1]->isEnabled());
    fav.m_item()->hide();

    const std::size_t loads = movie().loads.size();
    scenes().m_seen_okini()[2]->trigger();
    EXPECT_EQ(movie().loads.size(), loads + 1);
    EXPECT_EQ(movie().loads.back(), c);
    EXPECT_EQ(player->video()->movie()->fileName, c);
    EXPECT_DOUBLE_EQ(movie().pos, 40.0);

    // The open file is not opened again.
    movie().pos = 5.0;
    scenes().m_seen_okini()[2]->trigger();
    EXPECT_EQ(movie().loads.size(), loads + 1);
    EXPECT_DOUBLE_EQ(movie().pos, 40.0);
}
