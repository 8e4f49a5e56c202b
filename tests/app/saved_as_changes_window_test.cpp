// State files saved as they change: within two seconds of a change, one write for a burst,
// no write of a file that did not change, a failing write that keeps the old file and is
// tried again at the next change.
#include "support/player_fixture.h"

#include "app/config_autosave.h"
#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "playback/playback.h"
#include "playback/resume.h"
#include "widgets/command_ids.h"
#include "widgets/save_soon.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// The file's inode: a replace (the atomic save) gives a new one, an untouched file keeps it.
ino_t inodeOf(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class SavedAsChanges : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    }
    FavouritesPage &fav() { return *player->favourites(); }
    int lines(const QString &file) { return testsupport::readFile(file).count("\r\n"); }
};

TEST_F(SavedAsChanges, AThousandAddsAreOneWriteWithinTwoSeconds)
{
    QStringList names;
    for (int i = 0; i < 1000; ++i) {
        names.append(QStringLiteral("c%1.avi").arg(i, 4, 10, QChar(u'0')));
        touch("v/" + names.last());
    }
    const int before = fav().listSave()->saves();
    QElapsedTimer adding;
    adding.start();
    ASSERT_TRUE(fav().add_selected_files(work("v"), names));
    ASSERT_TRUE(testsupport::waitFor([&] { return !fav().isAdding(); }, 10000));
    // An add that outlasts the wait (a slow machine, a sanitizer build) is saved as far as
    // it has come, and once more at its end: one write then for each wait it spans.
    const int waits = 1 + static_cast<int>(adding.elapsed() / 1000);
    EXPECT_TRUE(testsupport::waitFor([&] { return lines(app("okini.ini")) == 1000; }, 2000))
        << "the list on disk within two seconds";
    testsupport::pump(1500);
    if (waits == 1)
        EXPECT_EQ(fav().listSave()->saves() - before, 1) << "one write for the whole burst";
    else
        EXPECT_LE(fav().listSave()->saves() - before, waits) << "one write a wait while the add ran";
}

TEST_F(SavedAsChanges, AChangeThenShutdownWithinTheWaitIsWrittenOnceWithTheChange)
{
    fav().add_okini_item(work("v"), QFileInfo(touch("v/a.avi")).fileName());
    close(); // at once: the save soon after the change has not run
    EXPECT_EQ(testsupport::readFile(app("okini.ini")), (work("v/a.avi") + "\r\n").toUtf8());
}

TEST_F(SavedAsChanges, ReadingAListIsNoChange)
{
    // A list of another player's, with comments: shown, it is not written over.
    const QByteArray m3u = "#EXTM3U\r\n# a comment\r\n" + touch("v/a.avi").toUtf8() + "\r\n";
    testsupport::writeFile(work("other.m3u"), m3u);
    dialogs->files.push_back(work("other.m3u"));
    player->commands().trigger(command::okiniTabAdd);
    ASSERT_EQ(fav().gStrM3uName(), work("other.m3u"));
    ASSERT_TRUE(testsupport::waitFor([&] { return !fav().isLoadingOkini(); }));
    testsupport::pump(1500);
    EXPECT_FALSE(fav().listSave()->isPending());
    EXPECT_EQ(testsupport::readFile(work("other.m3u")), m3u);
    // The new tab is a change of TabM3u.ini.
    EXPECT_TRUE(testsupport::readFile(app("TabM3u.ini")).contains("other.m3u"));
}

TEST_F(SavedAsChanges, AFailingSaveKeepsTheOldFileAndTheNextChangeTriesAgain)
{
    // The list lives in a folder that is, for a while, a plain file: nothing can be written
    // there (also as root), and the list itself sits aside unharmed.
    QDir().mkpath(work("lists"));
    const QByteArray old = touch("v/a.avi").toUtf8() + "\r\n";
    testsupport::writeFile(work("lists/l.m3u"), old);
    dialogs->files.push_back(work("lists/l.m3u"));
    player->commands().trigger(command::okiniTabAdd);
    ASSERT_TRUE(testsupport::waitFor([&] { return !fav().isLoadingOkini() && fav().List_okini()->count() == 1; }));
    ASSERT_TRUE(QDir().rename(work("lists"), work("aside")));
    testsupport::writeFile(work("lists"), "not a folder");
    fav().add_okini_item(work("v"), QFileInfo(touch("v/b.avi")).fileName());
    testsupport::pump(1600);
    EXPECT_EQ(testsupport::readFile(work("aside/l.m3u")), old) << "the old list is whole";
    QFile::remove(work("lists"));
    ASSERT_TRUE(QDir().rename(work("aside"), work("lists")));
    fav().add_okini_item(work("v"), QFileInfo(touch("v/c.avi")).fileName());
    EXPECT_TRUE(testsupport::waitFor([&] { return lines(work("lists/l.m3u")) == 3; }, 2500))
        << "the next change writes the whole list";
}

TEST_F(SavedAsChanges, TheOptionsAndTheWindowReachConfigIniSoon)
{
    Player &p = *player;
    p.options()->Check_SeekTop()->setChecked(!p.options()->Check_SeekTop()->isChecked());
    const QByteArray want = p.options()->Check_SeekTop()->isChecked() ? "SeekTop=1" : "SeekTop=0";
    EXPECT_TRUE(testsupport::waitFor([&] { return testsupport::readFile(app("config.ini")).contains(want); }, 2500));
    p.playback()->mode_Click(2);
    EXPECT_TRUE(testsupport::waitFor([&] { return testsupport::readFile(app("config.ini")).contains("PlayMode=2"); }, 2500));
}

TEST_F(SavedAsChanges, AFileThatDidNotChangeIsNotWrittenAgainAtShutdown)
{
    // A first run leaves every file; the second changes nothing and replaces none.
    fav().add_okini_item(work("v"), QFileInfo(touch("v/a.avi")).fileName());
    restart();
    ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    const QStringList files{"okini.ini", "config.ini", "TabM3u.ini", "tabdir.ini", "searchData.ini", "resume.ini"};
    QMap<QString, ino_t> before;
    for (const QString &f : files)
        before.insert(f, inodeOf(app(f)));
    testsupport::pump(1500);
    close();
    for (const QString &f : files) {
        ASSERT_NE(before.value(f), 0u) << f.toStdString();
        EXPECT_EQ(inodeOf(app(f)), before.value(f)) << f.toStdString() << " was written again";
    }
}

TEST(SaveSoon, ABurstIsOneSaveAndABusyOwnerHoldsItBack)
{
    int saves = 0;
    bool busy = false;
    SaveSoon s([&] { return ++saves > 0; }, [&] { return busy; }, nullptr, std::chrono::milliseconds(50));
    for (int i = 0; i < 100; ++i)
        s.changed();
    EXPECT_TRUE(testsupport::waitFor([&] { return saves == 1; }, 1000));
    testsupport::pump(120);
    EXPECT_EQ(saves, 1);
    busy = true;
    s.changed();
    testsupport::pump(400);
    EXPECT_EQ(saves, 1) << "held back while the owner is busy";
    busy = false;
    EXPECT_TRUE(testsupport::waitFor([&] { return saves == 2; }, 1000));
    s.changed();
    s.stop();
    testsupport::pump(150);
    EXPECT_EQ(saves, 2) << "stopped: shutdown writes the file itself";
}

TEST_F(SavedAsChanges, WithResumeOnTheRecordIsWrittenWhileAFilePlays)
{
    Player &p = *player;
    p.resume()->setKeepInterval(200);
    const QString file = touch("v/a.avi");
    p.openMedia(file, 0);
    engines.movie()->pos = 3;
    testsupport::pump(500);
    EXPECT_FALSE(QFileInfo::exists(app("resume.ini"))) << "the option is off";
    p.options()->check_resume()->setChecked(true);
    engines.movie()->pos = 12;
    EXPECT_TRUE(testsupport::waitFor(
        [&] { return testsupport::readFile(app("resume.ini")).contains("\"" + file.toUtf8() + "\"\r\n12\r\n"); }, 2000))
        << testsupport::readFile(app("resume.ini")).toStdString();
}
