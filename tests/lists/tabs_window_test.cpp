// The list pane's pages, the tab strips, their files and menus, and the file list.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "widgets/timer.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "platform/my_module.h"
#include "playback/cmovie.h"
#include "widgets/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QTest>
#include <QUrl>

using testsupport::readFile;
using testsupport::writeFile;

class Tabs : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
    }
    QString lastMessage() const { return dialogs->asked.isEmpty() ? QString() : dialogs->asked.last().text; }
};

TEST_F(Tabs, TabFilesLoadRelativeTagsAgainstTheProgramFolder)
{
    close();
    QDir().mkpath(app("movies"));
    writeFile(app("tabdir.ini"), "\"movies\",\"./movies/\"\r\n\"srv\",\"/srv/video/\"\r\n");
    writeFile(app("TabM3u.ini"), "\"a\",\"./lists/a.m3u\"\r\n");
    Player &p = start();
    ASSERT_EQ(p.files()->TabDir()->count(), 3);
    EXPECT_EQ(p.files()->TabDir()->caption(1), "current");
    EXPECT_EQ(p.files()->TabDir()->caption(2), "movies");
    EXPECT_EQ(p.files()->TabDir()->tag(2), app("movies/"));
    EXPECT_EQ(p.files()->TabDir()->tag(3), "/srv/video/");
    ASSERT_EQ(p.favourites()->TabM3u()->count(), 2);
    EXPECT_EQ(p.favourites()->TabM3u()->caption(1), QString::fromUtf8("お気に入り"));
    EXPECT_EQ(p.favourites()->TabM3u()->tag(1), app("okini.ini"));
    EXPECT_EQ(p.favourites()->TabM3u()->tag(2), app("lists/a.m3u"));

    p.options()->Check_soutai()->setChecked(true);
    close();
    EXPECT_EQ(readFile(app("tabdir.ini")), "\"movies\",\"./movies/\"\r\n\"srv\",\"/srv/video/\"\r\n");
    EXPECT_EQ(readFile(app("TabM3u.ini")), "\"a\",\"./lists/a.m3u\"\r\n");
}

TEST_F(Tabs, MissingTabFilesLeaveOnlyTheFirstTabs)
{
    EXPECT_EQ(player->files()->TabDir()->count(), 1);
    EXPECT_EQ(player->favourites()->TabM3u()->count(), 1);
}

TEST_F(Tabs, FirstTabsCanNeitherBeDeletedNorRenamed)
{
    Player &p = *player;
    p.commands().trigger(command::fileTabDelete);
    EXPECT_EQ(lastMessage(), "currentを削除できません");
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("削除不可"));
    p.commands().trigger(command::fileTabRename);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("currentのタブ名は変更できません"));
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("タブ名変更不可"));
    p.commands().trigger(command::okiniTabDelete);
    EXPECT_EQ(lastMessage(), "okini.iniを削除できません");
    p.commands().trigger(command::okiniTabRename);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("お気に入りのタブ名は変更できません"));
    EXPECT_EQ(p.files()->TabDir()->count(), 1);
    EXPECT_EQ(p.files()->TabDir()->caption(1), "current");
    EXPECT_EQ(p.favourites()->TabM3u()->count(), 1);
    EXPECT_EQ(p.favourites()->TabM3u()->caption(1), QString::fromUtf8("お気に入り"));
    for (const auto &a : dialogs->asked)
        EXPECT_EQ(a.kind, "message");
}

TEST_F(Tabs, RenamingATabAsksWithItsFolder)
{
    Player &p = *player;
    p.files()->TabDir()->add(2, QString(), "old", "/srv/video/");
    p.files()->TabDir()->select(2);
    dialogs->inputs.push_back(QString::fromUtf8("動画"));
    p.commands().trigger(command::fileTabRename);
    EXPECT_EQ(p.files()->TabDir()->caption(2), QString::fromUtf8("動画"));
    EXPECT_EQ(p.files()->TabDir()->tag(2), "/srv/video/");
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("タブ名変更"));
    EXPECT_EQ(dialogs->asked.last().text, QString::fromUtf8("タブ名を変更します。\n\n/srv/video/\n"));
    EXPECT_EQ(dialogs->asked.last().initial, "old");
    EXPECT_FALSE(p.windowModes()->isRenaming());
    p.commands().trigger(command::fileTabRename); // cancelled: the caption stays
    EXPECT_EQ(p.files()->TabDir()->caption(2), QString::fromUtf8("動画"));
}

TEST_F(Tabs, AddingDirectoryTabs)
{
    Player &p = *player;
    QDir().mkpath(work("Movies/2024.summer"));
    QDir().mkpath(work("movies"));
    p.files()->File()->setPath(work("Movies/2024.summer"));
    p.files()->TabDir()->setTag(1, work("Movies/2024.summer"));
    // The folder that tab 1 shows may get a tab of its own.
    dialogs->folders.push_back(work("Movies/2024.summer"));
    p.commands().trigger(command::fileTabAdd);
    ASSERT_EQ(p.files()->TabDir()->count(), 2);
    EXPECT_EQ(p.files()->TabDir()->caption(2), "2024");
    EXPECT_EQ(p.files()->TabDir()->tag(2), work("Movies/2024.summer"));
    EXPECT_EQ(p.files()->TabDir()->selectedIndex(), 2);
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("タブに追加するフォルダを選択してください"));
    EXPECT_EQ(dialogs->asked.last().initial, work("Movies/2024.summer"));
    // A folder another tab shows is not added twice, with or without its trailing "/".
    dialogs->folders.push_back(work("Movies/2024.summer/"));
    p.commands().trigger(command::fileTabAdd);
    EXPECT_EQ(p.files()->TabDir()->count(), 2);
    // Letter case makes another folder.
    p.files()->File()->setPath(work("movies"));
    dialogs->folders.push_back(work("movies"));
    p.commands().trigger(command::fileTabAdd);
    EXPECT_EQ(p.files()->TabDir()->count(), 3);
    EXPECT_EQ(p.files()->File()->path(), work("movies"));
    // Cancelled: nothing.
    p.commands().trigger(command::fileTabAdd);
    EXPECT_EQ(p.files()->TabDir()->count(), 3);
    // Deleting a further tab removes it and nothing else.
    p.files()->TabDir()->select(2);
    p.commands().trigger(command::fileTabDelete);
    EXPECT_EQ(p.files()->TabDir()->count(), 2);
    EXPECT_EQ(p.files()->File()->path(), work("movies"));
}

TEST_F(Tabs, ChangingATabsFolder)
{
    Player &p = *player;
    QDir().mkpath(work("new"));
    dialogs->folders.push_back(work("new"));
    p.commands().trigger(command::fileTabChangeFolder);
    EXPECT_EQ(p.files()->TabDir()->tag(1), work("new"));
    EXPECT_EQ(p.files()->TabDir()->caption(1), "current");
    EXPECT_EQ(p.files()->File()->path(), work("new"));
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("変更するフォルダを選択してください"));
}

TEST_F(Tabs, DirectoryTabThatCannotBeShownKeepsTheFolder)
{
    Player &p = *player;
    p.files()->File()->setPath(work());
    p.files()->TabDir()->add(2, QString(), "gone", work("gone"));
    p.files()->TabDir()->select(2);
    p.files()->TabDir_MouseUp(Qt::LeftButton);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("アクセスに失敗しました"));
    EXPECT_EQ(p.files()->File()->path(), work().chopped(1));
}

TEST_F(Tabs, M3uTabIsRefusedWhenAnyTabHasTheFile)
{
    Player &p = *player;
    dialogs->files.push_back(app("okini.ini"));
    p.commands().trigger(command::okiniTabAdd);
    EXPECT_EQ(p.favourites()->TabM3u()->count(), 1);
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("m3uファイルをタブに追加"));
    EXPECT_EQ(dialogs->asked.last().initial, app());
    EXPECT_EQ(dialogs->asked.last().options.filterNames, QStringList{"m3u(*.m3u)"});
    const QString m3u = writeFile(work("b.m3u"), (touch("b.avi") + "\r\n").toUtf8());
    dialogs->files.push_back(m3u);
    p.commands().trigger(command::okiniOpenM3u); // the favourites popup runs the same command
    ASSERT_EQ(p.favourites()->TabM3u()->count(), 2);
    EXPECT_EQ(p.favourites()->TabM3u()->caption(2), "b");
    EXPECT_EQ(p.favourites()->TabM3u()->tag(2), m3u);
    EXPECT_EQ(p.favourites()->TabM3u()->selectedIndex(), 2);
    EXPECT_EQ(p.favourites()->gStrM3uName(), m3u);
    EXPECT_EQ(p.favourites()->List_okini()->count(), 1);
    dialogs->files.push_back(m3u);
    p.commands().trigger(command::okiniTabAdd);
    EXPECT_EQ(p.favourites()->TabM3u()->count(), 2);
}

TEST_F(Tabs, NewM3uTabKeepsTheEntriesAddedToTheListShown)
{
    Player &p = *player;
    ASSERT_TRUE(testsupport::waitFor([&] { return !p.favourites()->tmr_okini()->enabled(); }, 3000));
    ASSERT_EQ(p.favourites()->gStrM3uName(), app("okini.ini"));
    const QString a = touch("a.avi");
    p.favourites()->add_okini_item(work().chopped(1), "a.avi");
    dialogs->files.push_back(writeFile(work("b.m3u"), ""));
    p.commands().trigger(command::okiniTabAdd);
    EXPECT_EQ(readFile(app("okini.ini")), (a + "\r\n").toUtf8());
    // The same for pointing a tab at another file.
    p.favourites()->add_okini_item(work().chopped(1), "a.avi");
    dialogs->files.push_back(writeFile(work("c.m3u"), ""));
    p.commands().trigger(command::okiniTabChangeM3u);
    EXPECT_EQ(readFile(work("b.m3u")), (a + "\r\n").toUtf8());
    EXPECT_EQ(p.favourites()->TabM3u()->tag(2), work("c.m3u"));
    EXPECT_EQ(p.favourites()->TabM3u()->caption(2), "b");
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("変更するm3uを選択"));
}

TEST_F(Tabs, SwitchingFavouritesTabsSavesAndLoads)
{
    Player &p = *player;
    ASSERT_TRUE(testsupport::waitFor([&] { return !p.favourites()->tmr_okini()->enabled(); }, 3000));
    const QString a = touch("a.avi");
    const QString m3u = writeFile(work("b.m3u"), (touch("b.avi") + "\r\n").toUtf8());
    p.favourites()->TabM3u()->add(2, QString(), "b", m3u);
    p.listPane()->Tab1()->select(2);
    p.favourites()->add_okini_item(work().chopped(1), "a.avi");

    // The tab already shown: nothing saved, nothing reloaded. (The first load left an
    // empty okini.ini when it turned the thumbnail view on.)
    p.favourites()->TabM3u_MouseUp(Qt::LeftButton);
    EXPECT_EQ(readFile(app("okini.ini")), "");
    EXPECT_EQ(p.favourites()->List_okini()->count(), 1);

    p.favourites()->TabM3u()->select(2);
    p.favourites()->TabM3u_MouseUp(Qt::LeftButton);
    EXPECT_EQ(readFile(app("okini.ini")), (a + "\r\n").toUtf8());
    EXPECT_EQ(p.favourites()->gStrM3uName(), m3u);
    ASSERT_EQ(p.favourites()->List_okini()->count(), 1);
    EXPECT_EQ(p.favourites()->List_okini()->text(1), "b.avi");
}

TEST_F(Tabs, RightClickSelectsTheTabUnderThePointerFirst)
{
    Player &p = *player;
    p.listPane()->Tab1()->select(2);
    p.favourites()->TabM3u()->add(2, QString(), "second", work("x.m3u"));
    p.listPane()->layoutListPane();
    QTabBar *bar = p.favourites()->TabM3u()->tabBar();
    const QPoint at = bar->tabRect(1).center();
    QTest::mousePress(bar, Qt::RightButton, Qt::NoModifier, at);
    EXPECT_EQ(p.favourites()->TabM3u()->selectedIndex(), 2);
    QTest::mouseRelease(bar, Qt::RightButton, Qt::NoModifier, at);
    ASSERT_TRUE(testsupport::waitFor([&] { return p.favourites()->m_tab_okini()->isVisible(); }, 2000));
    EXPECT_EQ(p.favourites()->gStrM3uName(), work("x.m3u"));
    p.favourites()->m_tab_okini()->hide();
}

TEST_F(Tabs, SetFilePathAsksAgainWhileTheUserSaysYes)
{
    Player &p = *player;
    dialogs->answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    EXPECT_FALSE(p.files()->setFilePath(work("not/there")));
    EXPECT_EQ(dialogs->asked.size(), 2);
    EXPECT_EQ(dialogs->beeps, 2);
    EXPECT_EQ(lastMessage(), QString::fromUtf8("デバイスの準備ができてません。 もう一度試しますか"));
    EXPECT_TRUE(p.files()->setFilePath(work()));
}

TEST_F(Tabs, CurrentFolderCommandOfTheFilePopup)
{
    Player &p = *player;
    QDir().mkpath(work("elsewhere"));
    p.files()->TabDir()->add(2, QString(), "x", "/srv/");
    p.files()->TabDir()->select(2);
    const QString before = p.files()->TabDir()->tag(1);
    dialogs->folders.push_back(work("elsewhere"));
    p.commands().trigger(command::fileOpenFolder);
    EXPECT_EQ(p.files()->File()->path(), work("elsewhere"));
    EXPECT_EQ(p.files()->TabDir()->selectedIndex(), 1);
    EXPECT_EQ(p.files()->TabDir()->tag(1), before);
    p.commands().trigger(command::fileOpenFolder); // cancelled: no retry question
    EXPECT_EQ(dialogs->asked.last().kind, "folder");
}

TEST_F(Tabs, DeferredFirstLoadReadsTheFavourites)
{
    close();
    const QString a = touch("a.avi");
    writeFile(app("okini.ini"), (a + "\r\n").toUtf8());
    Player &p = start();
    EXPECT_TRUE(p.favourites()->tmr_okini()->enabled());
    ASSERT_TRUE(testsupport::waitFor([&] { return !p.favourites()->tmr_okini()->enabled(); }, 3000));
    EXPECT_EQ(p.favourites()->List_okini()->count(), 1);
    EXPECT_EQ(p.favourites()->gStrM3uName(), app("okini.ini"));
    EXPECT_FALSE(p.options()->Check_loadthum()->isChecked());
    close();
    EXPECT_EQ(readFile(app("okini.ini")), (a + "\r\n").toUtf8());
}

TEST_F(Tabs, ClosingBeforeTheFirstLoadLeavesTheFavouritesAlone)
{
    close();
    writeFile(app("okini.ini"), (touch("a.avi") + "\r\n").toUtf8());
    const QByteArray before = readFile(app("okini.ini"));
    make();
    ASSERT_TRUE(player->Form_Load());
    close(); // before tmr_okini fired
    EXPECT_EQ(readFile(app("okini.ini")), before);
}

TEST_F(Tabs, PagesShowTheirOwnControls)
{
    Player &p = *player;
    auto shown = [&](QWidget *w) { return w->isVisibleTo(&p); };
    p.listPane()->Tab1()->select(2);
    EXPECT_TRUE(shown(p.favourites()->List_okini()));
    EXPECT_TRUE(shown(p.favourites()->TabM3u()));
    EXPECT_FALSE(shown(p.files()->File()));
    EXPECT_FALSE(shown(p.files()->TabDir()));
    p.listPane()->Tab1()->select(3);
    EXPECT_TRUE(shown(p.search()->List_Find()));
    EXPECT_TRUE(shown(p.listPane()->find()));
    EXPECT_FALSE(shown(p.favourites()->List_okini()));
    p.listPane()->Tab1()->select(4);
    EXPECT_TRUE(p.listPane()->config()->isVisibleTo(p.listPane()->list()));
    EXPECT_FALSE(shown(p.search()->List_Find()));
    p.listPane()->Tab1()->select(1);
    EXPECT_TRUE(shown(p.files()->File()));
    EXPECT_TRUE(shown(p.files()->TabDir()));
    EXPECT_FALSE(p.listPane()->config()->isVisibleTo(p.listPane()->list()));
}

TEST_F(Tabs, FileListShowsMediaFilesInAnyLetterCase)
{
    Player &p = *player;
    touch("b.AVI");
    touch("a.mpg");
    touch("c.Rm");
    touch("notes.txt");
    touch(".hidden.avi");
    touch("z.mp4");
    touch("y.mp3");
    p.files()->File()->setPath(work());
    EXPECT_EQ(p.files()->File()->listCount(), 4);
    EXPECT_EQ(p.files()->File()->list(0), "a.mpg");
    EXPECT_EQ(p.files()->File()->list(1), "b.AVI");
    EXPECT_EQ(p.files()->File()->list(2), "c.Rm");
    EXPECT_EQ(p.files()->File()->list(3), "z.mp4");
}

TEST_F(Tabs, DoubleClickOnTheFileListPlaysTheRow)
{
    Player &p = *player;
    touch("a.avi");
    p.files()->File()->setPath(work());
    p.listPane()->Tab1()->select(2);
    p.files()->File()->setListIndex(0);
    p.files()->File_Click();
    EXPECT_EQ(p.listPane()->Tab1()->selectedIndex(), 1);
    p.files()->File_DblClick();
    EXPECT_EQ(p.video()->movie()->fileName, work("a.avi"));
}

TEST_F(Tabs, FileDroppedOnTheFileListPlaysAndIsSelected)
{
    Player &p = *player;
    touch("sub/a.avi");
    const QString b = touch("sub/b.avi");
    p.files()->File_Drop({work("notes.txt")});
    EXPECT_TRUE(engines.movies.empty());
    p.files()->File_Drop({b, work("sub/a.avi")});
    EXPECT_EQ(p.files()->File()->path(), work("sub"));
    EXPECT_EQ(p.video()->movie()->fileName, b);
    EXPECT_EQ(p.files()->File()->fileName(), "b.avi");
}

TEST_F(Tabs, LongFileNamesGetATooltip)
{
    // 4935 twips wide: 4875 for the text, 250 less with a scroll bar.
    EXPECT_FALSE(fileRowNeedsToolTip(4800, 4935, 7000, 20, 15, 5));
    EXPECT_TRUE(fileRowNeedsToolTip(4900, 4935, 7000, 20, 15, 5));
    EXPECT_TRUE(fileRowNeedsToolTip(4800, 4935, 7000, 20, 15, 100));
    EXPECT_FALSE(fileRowNeedsToolTip(4600, 4935, 7000, 20, 15, 100));
}

TEST_F(Tabs, FavouritesClickResumesThePausedEntryAndDoubleClickPlays)
{
    Player &p = *player;
    const QString a = touch("a.avi");
    p.favourites()->add_okini_item(work().chopped(1), "a.avi");
    p.listPane()->Tab1()->select(1);
    p.favourites()->List_okini()->select(1);
    p.favourites()->List_okini_Click();
    EXPECT_EQ(p.listPane()->Tab1()->selectedIndex(), 2);
    p.favourites()->List_okini_MouseDown(Qt::RightButton);
    p.favourites()->List_okini_DblClick();
    EXPECT_TRUE(p.video()->movie()->fileName.isEmpty()) << "only after a left-button press";
    p.favourites()->List_okini_MouseDown(Qt::LeftButton);
    p.favourites()->List_okini_DblClick();
    EXPECT_EQ(p.video()->movie()->fileName, a);
    p.video()->movie()->MediaPlay(2);
    p.favourites()->List_okini_Click();
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
}

TEST_F(Tabs, TabFileWithOneCp932LineKeepsEveryCaptionAndPath)
{
    close();
    const QByteArray utf8Line = QString::fromUtf8("\"動画\",\"/srv/動画/\"\r\n").toUtf8();
    // "テスト" in CP932, as a tab file made on Windows holds it.
    const QByteArray sjisLine("\"\x83\x65\x83\x58\x83\x67\",\"/srv/\x83\x65\x83\x58\x83\x67/\"\r\n");
    writeFile(app("tabdir.ini"), utf8Line + sjisLine);
    writeFile(app("TabM3u.ini"), sjisLine + utf8Line);
    Player &p = start();
    ASSERT_EQ(p.files()->TabDir()->count(), 3);
    EXPECT_EQ(p.files()->TabDir()->caption(2), QString::fromUtf8("動画"));
    EXPECT_EQ(p.files()->TabDir()->tag(3), QString::fromUtf8("/srv/テスト/"));
    close();
    const QByteArray converted = QString::fromUtf8("\"テスト\",\"/srv/テスト/\"\r\n").toUtf8();
    EXPECT_EQ(readFile(app("tabdir.ini")), utf8Line + converted);
    EXPECT_EQ(readFile(app("TabM3u.ini")), converted + utf8Line);
}
