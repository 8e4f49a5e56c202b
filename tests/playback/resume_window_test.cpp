// Resume through the real main window, with doubles for the engines: what an exit writes to
// resume.ini and what the next start makes of it.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "window/video_area.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QItemSelectionModel>

class ResumeTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        player->options()->check_resume()->setChecked(true);
        // The file list shows the work folder, now and after a restart.
        player->files()->TabDir()->setTag(1, work());
        player->files()->File()->setPath(work());
    }
    QByteArray resumeFile() { return testsupport::readFile(app("resume.ini")); }
    QByteArray records(const QString &path, const char *pos, int state)
    {
        return "\"" + path.toUtf8() + "\"\r\n" + pos + "\r\n" + QByteArray::number(state) + "\r\n";
    }
    fakes::FakeBackend *engine() { return engines.movie(); }
    CMovie &movie() { return *player->video()->movie(); }
    // Opens the file and lets it play to the position.
    void playAt(const QString &file, double pos)
    {
        player->openMedia(file, 0);
        ASSERT_TRUE(engine());
        engine()->pos = pos;
    }
    void waitForFavourites()
    {
        ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    }
};

TEST_F(ResumeTest, NothingOpenWritesTheNothingFormAndResumesNothing)
{
    close();
    EXPECT_EQ(resumeFile(), QByteArray("\"\"\r\n0\r\n4\r\n"));
    start();
    EXPECT_TRUE(movie().fileName.isEmpty());
    EXPECT_TRUE(!engine() || engine()->loads.empty());
}

TEST_F(ResumeTest, PlayingFileGoesOnFromItsPosition)
{
    const QString file = touch("a.avi");
    engines.media[file] = {120.0};
    playAt(file, 83.52);
    close();
    EXPECT_EQ(resumeFile(), records(file, "83.52", 1));
    Player &p = start();
    ASSERT_TRUE(engine());
    ASSERT_EQ(engine()->loads.size(), 1u);
    EXPECT_EQ(engine()->loads.front(), file);
    EXPECT_DOUBLE_EQ(engine()->pos, 83.52);
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.files()->File()->fileName(), "a.avi"); // selected in the file list shown
}

TEST_F(ResumeTest, ResumeOffPlaysNothing)
{
    const QString file = touch("a.avi");
    playAt(file, 2);
    player->options()->check_resume()->setChecked(false);
    close();
    EXPECT_EQ(resumeFile(), records(file, "2", 1)); // written all the same
    start();
    EXPECT_TRUE(!engine() || engine()->loads.empty());
}

TEST_F(ResumeTest, PausedFileIsSelectedAndPlayGoesOnFromThePosition)
{
    const QString file = touch("b.avi");
    touch("a.avi");
    engines.media[file] = {120.0};
    playAt(file, 61.25);
    movie().MediaPlay(2);
    ASSERT_EQ(movie().PlayState, 2);
    close();
    EXPECT_EQ(resumeFile(), records(file, "61.25", 2));

    Player &p = start();
    EXPECT_TRUE(!engine() || engine()->loads.empty()) << "a paused file is not opened at start-up";
    EXPECT_EQ(p.video()->movie()->fileName, file);
    EXPECT_EQ(p.files()->File()->fileName(), "b.avi");
    p.playPause();
    ASSERT_TRUE(engine());
    ASSERT_EQ(engine()->loads.size(), 1u);
    EXPECT_EQ(engine()->loads.front(), file);
    EXPECT_DOUBLE_EQ(engine()->pos, 61.25);
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
}

TEST_F(ResumeTest, IdleRestartWritesThePausedRecordsBack)
{
    const QString file = touch("a.avi");
    engines.media[file] = {120.0};
    playAt(file, 7.5);
    movie().MediaPlay(2);
    close();
    const QByteArray first = resumeFile();
    ASSERT_EQ(first, records(file, "7.5", 2));
    restart();
    close();
    EXPECT_EQ(resumeFile(), first);
    // Another file opened meanwhile replaces it.
    start();
    const QString other = touch("other.avi");
    playAt(other, 1);
    close();
    EXPECT_EQ(resumeFile(), records(other, "1", 1));
}

TEST_F(ResumeTest, StoppedFileIsNotResumed)
{
    playAt(touch("a.avi"), 3);
    player->stop_Click();
    close();
    EXPECT_EQ(resumeFile(), QByteArray("\"\"\r\n0\r\n4\r\n"));
}

TEST_F(ResumeTest, RelativeToTheProgramFolderFoundAgainAfterTheFolderMoved)
{
    player->options()->Check_soutai()->setChecked(true);
    const QString file = testsupport::writeFile(app("video/a.avi"), "");
    playAt(file, 83.52);
    close();
    EXPECT_EQ(resumeFile(), QByteArray("\"./video/a.avi\"\r\n83.52\r\n1\r\n"));

    // The whole program folder moves: the relative record names the file at its new place.
    QTemporaryDir other;
    const QString newApp = other.path() + "/moved/";
    ASSERT_TRUE(QDir().mkpath(newApp));
    QFile::copy(app("resume.ini"), newApp + "resume.ini");
    QFile::copy(app("config.ini"), newApp + "config.ini");
    testsupport::writeFile(newApp + "video/a.avi", "");
    PlayerServices s;
    s.movieBackend = engines.movieFactory();
    s.realBackend = engines.realFactory();
    s.dialogs = dialogs;
    s.waveOut = waveOut;
    s.appDir = newApp;
    s.workingDir = workDir.path();
    player = std::make_unique<Player>(std::move(s));
    ASSERT_TRUE(player->Form_Load());
    ASSERT_TRUE(engine());
    ASSERT_FALSE(engine()->loads.empty());
    EXPECT_EQ(engine()->loads.back(), newApp + "video/a.avi");
}

TEST_F(ResumeTest, FavouritesEntrySelectedByFullPathOnceTheListHasLoaded)
{
    // Two entries with the same name in different folders: the second is the one resumed.
    const QString first = testsupport::writeFile(work("one/x.avi"), "");
    const QString second = testsupport::writeFile(work("two/x.avi"), "");
    close();
    testsupport::writeFile(app("okini.ini"), (first + "\r\n" + second + "\r\n").toUtf8());
    start();
    player->listPane()->Tab1()->select(2);
    waitForFavourites();
    ASSERT_EQ(player->favourites()->List_okini()->count(), 2);
    player->favourites()->List_okini()->select(2);
    playAt(second, 4);
    player->playPause();
    close();
    EXPECT_EQ(resumeFile(), records(second, "4", 2));

    Player &p = start();
    EXPECT_EQ(p.listPane()->shownPage(), ListPage::Favourites);
    waitForFavourites();
    EXPECT_EQ(p.favourites()->get_okini_index(), 2);
    EXPECT_EQ(p.favourites()->List_okini()->currentView()->selectionModel()->selectedRows().size(), 1);
}
