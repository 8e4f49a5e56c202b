// The favourites list and its list files through the real main window.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/list_pane.h"
#include "widgets/timer.h"

#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "lists/thumbnail_maker.h"
#include "playback/cmovie.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTimer>
#include <QUrl>

using testsupport::readFile;
using testsupport::writeFile;

// Readable sizes in failure messages.
void PrintTo(const QSize &s, std::ostream *os) { *os << s.width() << " x " << s.height(); }

class Favourites : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        player->favourites()->tmr_okini()->setEnabled(false);
        // Without config.ini the first list load unchecks "サムネイルをロードしない".
        player->options()->Check_loadthum()->setChecked(false);
    }
    OkiniList &list() { return *player->favourites()->List_okini(); }
    QStringList paths()
    {
        QStringList p;
        for (int i = 1; i <= list().count(); ++i)
            p.append(list().folder(i) + list().text(i));
        return p;
    }
    QString writeList(const QString &name, const QStringList &lines)
    {
        return writeFile(work(name), lines.join("\r\n").toUtf8() + "\r\n");
    }
};

TEST_F(Favourites, ExtendedM3uLoadsExactlyOneEntry)
{
    const QString clip = touch("a.avi");
    player->favourites()->load_okini(writeList("x.m3u", {"#EXTM3U", "#EXTINF:10,Title", clip}));
    EXPECT_EQ(paths(), QStringList{clip});
    EXPECT_EQ(player->favourites()->gStrM3uName(), work("x.m3u"));
    EXPECT_EQ(list().text(1), "a.avi");
    EXPECT_EQ(list().folder(1), work());
}

TEST_F(Favourites, CommaInAPathIsOneEntry)
{
    const QString clip = touch("a, b/c,d.avi");
    player->favourites()->load_okini(writeList("x.m3u", {clip}));
    EXPECT_EQ(paths(), QStringList{clip});
}

TEST_F(Favourites, MissingAndHiddenFilesAreDroppedButHiddenFoldersAreNot)
{
    const QString shown = touch(".local/share/videos/a.avi");
    touch("v/.hidden.avi");
    player->favourites()->load_okini(writeList("x.m3u", {shown, work("v/.hidden.avi"), work("v/gone.avi"), "noslash.avi", ""}));
    EXPECT_EQ(paths(), QStringList{shown});
}

TEST_F(Favourites, SoutaiSavesRelativeLinesAndLoadsThemBack)
{
    QDir().mkpath(work("lists"));
    const QString inside = touch("lists/clips/x.avi");
    const QString parent = touch("y.avi");
    QTemporaryDir other;
    const QString elsewhere = writeFile(other.filePath("tree/z.avi"), "");
    player->options()->Check_soutai()->setChecked(true);
    for (const QString &p : {inside, parent, elsewhere})
        player->favourites()->add_okini_item(p.left(p.lastIndexOf('/')), p.mid(p.lastIndexOf('/') + 1));
    const QString m3u = work("lists/a.m3u");
    player->favourites()->save_okini(m3u);
    EXPECT_EQ(readFile(m3u), ("./clips/x.avi\r\n../y.avi\r\n" + elsewhere + "\r\n").toUtf8());
    player->favourites()->del_all_list();
    EXPECT_EQ(list().count(), 0);
    player->favourites()->load_okini(m3u);
    EXPECT_EQ(paths(), (QStringList{inside, parent, elsewhere}));
}

TEST_F(Favourites, EmptyListSavesAndLoadsAnEmptyFile)
{
    player->favourites()->save_okini(work("empty.m3u"));
    EXPECT_EQ(readFile(work("empty.m3u")), "");
    player->favourites()->load_okini(work("empty.m3u"));
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(player->favourites()->gStrM3uName(), work("empty.m3u"));
}

TEST_F(Favourites, MissingListFileLoadsNothingAndIsCreatedByTheNextSave)
{
    player->favourites()->load_okini(work("new.m3u"));
    EXPECT_EQ(player->favourites()->gStrM3uName(), work("new.m3u"));
    const QString clip = touch("a.avi");
    player->favourites()->add_okini_item(work().chopped(1), "a.avi");
    player->favourites()->save_okini(player->favourites()->gStrM3uName());
    EXPECT_EQ(readFile(work("new.m3u")), (clip + "\r\n").toUtf8());
}

TEST_F(Favourites, LoadingTwiceListsEveryEntryTwice)
{
    const QString a = touch("a.avi"), b = touch("b.mpg");
    const QString m3u = writeList("x.m3u", {a, b});
    player->favourites()->load_okini(m3u);
    player->favourites()->load_okini(m3u);
    EXPECT_EQ(paths(), (QStringList{a, b, a, b}));
}

TEST_F(Favourites, ListWrittenByAnotherPlayerLoadsEveryExistingEntry)
{
    const QString a = touch("lists/sub/a.avi");
    const QString b = touch(QString::fromUtf8("My Clips/動画 b.mpg"));
    const QString c = touch("lists/c.wmv");
    const QString m3u = writeList("lists/other.m3u",
                                  {"#EXTM3U", "#EXTINF:123,A", "sub/a.avi", "#EXTINF:-1,B",
                                   "file://" + QString(QUrl::toPercentEncoding(b, "/")),
                                   "c.wmv", "http://example.com/stream", "missing.avi"});
    player->favourites()->load_okini(m3u);
    EXPECT_EQ(paths(), (QStringList{a, b, c}));
}

TEST_F(Favourites, SaveFailureLeavesTheOldListWhole)
{
    const QString a = touch("a.avi");
    const QString m3u = writeList("x.m3u", {a, a, a});
    // The list folder is replaced by a file: the save cannot create its temporary file.
    player->favourites()->add_okini_item(work().chopped(1), "a.avi");
    player->favourites()->save_okini(work("x.m3u/inside.m3u"));
    EXPECT_EQ(readFile(m3u), (a + "\r\n" + a + "\r\n" + a + "\r\n").toUtf8());
}

TEST_F(Favourites, NothingSelectedGivesIndexZero)
{
    EXPECT_EQ(player->favourites()->get_okini_index(), 0);
    player->favourites()->add_okini_item(work().chopped(1), "a.avi");
    EXPECT_EQ(player->favourites()->get_okini_index(), 0);
    list().select(1);
    EXPECT_EQ(player->favourites()->get_okini_index(), 1);
}

TEST_F(Favourites, SaveM3uWritesTheListWhereTheDialogSays)
{
    const QString a = touch("a.avi");
    player->favourites()->add_okini_item(work().chopped(1), "a.avi");
    dialogs->files.push_back(work("saved.m3u"));
    player->commands().trigger(command::okiniSaveM3u);
    EXPECT_EQ(readFile(work("saved.m3u")), (a + "\r\n").toUtf8());
    ASSERT_FALSE(dialogs->asked.isEmpty());
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("m3uファイルに保存"));
    EXPECT_EQ(dialogs->asked.last().initial, app());
    EXPECT_EQ(dialogs->asked.last().options.defaultExt, "m3u");
    player->commands().trigger(command::okiniSaveM3u); // cancelled: nothing written
    EXPECT_EQ(QDir(work()).entryList({"*.m3u"}).size(), 1);
}

TEST_F(Favourites, ThumbnailsOnShowsPlaceholdersAndRebuildsTheList)
{
    const QString a = touch("a.wmv");
    player->favourites()->load_okini(writeList("x.m3u", {a}));
    player->options()->Check_loadthum()->setChecked(true);
    EXPECT_EQ(player->favourites()->thumbnailView(), OkiniView::Report);
    EXPECT_FALSE(player->favourites()->m_chage_list()->isEnabled());
    EXPECT_FALSE(list().thumbnails());
    player->options()->Check_loadthum()->setChecked(false);
    EXPECT_EQ(player->favourites()->thumbnailView(), OkiniView::Thumbnails);
    EXPECT_TRUE(list().thumbnails());
    EXPECT_TRUE(player->favourites()->m_chage_list()->isEnabled());
    EXPECT_EQ(paths(), QStringList{a});
    EXPECT_EQ(list().icon(1), 1);
    EXPECT_EQ(list().icons(), player->favourites()->Image_okini());
    EXPECT_EQ(player->favourites()->Image_okini()->count(), 1);
    // The file holds no video: its thumbnail file is the placeholder, so it is not tried again.
    ASSERT_TRUE(testsupport::waitFor([&] { return player->favourites()->thumbnails()->pendingCount() == 0; }));
    EXPECT_EQ(QFileInfo(app("image/a.bmp")).size(), 22554);
    player->commands().trigger(command::okiniView);
    EXPECT_EQ(player->favourites()->thumbnailView(), OkiniView::Report);
    player->commands().trigger(command::okiniView);
    EXPECT_EQ(player->favourites()->thumbnailView(), OkiniView::Thumbnails);
}

TEST_F(Favourites, RemovingAnEntryAndRelinkingTheIcons)
{
    player->options()->Check_loadthum()->setChecked(true);
    player->options()->Check_loadthum()->setChecked(false);
    for (const char *n : {"a.avi", "b.avi", "c.avi"})
        player->favourites()->add_okini_item(work().chopped(1), n);
    player->favourites()->remove_okini_item(2);
    player->favourites()->remove_okini_item(0);
    player->favourites()->remove_okini_item(9);
    EXPECT_EQ(list().count(), 2);
    EXPECT_EQ(list().icon(2), 3) << "later icons are not renumbered by a removal";
    player->favourites()->relink_okini_icons();
    EXPECT_EQ(list().icon(2), 2);
    EXPECT_EQ(player->favourites()->Image_okini()->count(), 2);
}

// The names-only view (the thumbnail view without pictures): every entry gets the same cell,
// a thumbnail's width, whatever its own name and whatever the last entry's name, so that a
// name too long for it is elided at the same place as every other.
TEST_F(Favourites, NamesOnlyViewGivesEveryEntryTheSameCellWhateverTheLastName)
{
    player->options()->Check_loadthum()->setChecked(true); // no pictures
    player->listPane()->Tab1()->select(2);
    list().setThumbnails(true);
    const QString spaced = QStringLiteral("a rather long name with spaces in it that goes on and on.avi");
    const QString unspaced = QStringLiteral("averylongnamewithoutanyspacesatallthatgoesonandon.avi");
    const auto cells = [&](const QString &last) {
        list().clear();
        for (const QString &name : {QStringLiteral("short.avi"), spaced, unspaced,
                                    QStringLiteral("日本語のとても長いファイル名のテストです動画.mp4"), last})
            player->favourites()->add_okini_item(work().chopped(1), name);
        QAbstractItemView *view = list().currentView();
        view->doItemsLayout();
        QList<QSize> sizes;
        for (int row = 0; row < list().count(); ++row)
            sizes.append(view->visualRect(list().model()->index(row, 0)).size());
        return sizes;
    };
    const QList<QSize> shortLast = cells(QStringLiteral("x.avi"));
    const QList<QSize> longLast = cells(spaced);
    ASSERT_EQ(shortLast.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(shortLast[i], shortLast[0]) << "entry " << i + 1;
        EXPECT_EQ(longLast[i], shortLast[0]) << "entry " << i + 1 << " with a long last name";
    }
    const QFontMetrics metrics = list().currentView()->fontMetrics();
    EXPECT_GE(shortLast[0].width(), 100) << "a thumbnail's width";
    EXPECT_LT(shortLast[0].width(), metrics.horizontalAdvance(spaced)) << "the long names are elided";
    EXPECT_LT(shortLast[0].height(), 2 * metrics.height()) << "on one line";
}

class LongList : public Favourites
{
protected:
    void SetUp() override
    {
        Favourites::SetUp();
        QStringList lines;
        for (int i = 0; i < 10000; ++i)
            lines.append(touch(QStringLiteral("many/clip%1.avi").arg(i)));
        m3u = writeList("long.m3u", lines);
        whole = readFile(m3u);
    }
    QString m3u;
    QByteArray whole;
};

TEST_F(LongList, LoadsWithoutFreezingTheWindowAndShowsProgress)
{
    QTimer beat;
    beat.setInterval(100);
    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    bool progress = false;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        worst = std::max(worst, clock.elapsed() - last);
        last = clock.elapsed();
    });
    QObject::connect(player->listPane()->AddMeter(), &QProgressBar::valueChanged, [&] {
        progress = progress || player->listPane()->AddMeter()->isVisible();
    });
    clock.start();
    beat.start();
    player->favourites()->load_okini(m3u);
    worst = std::max(worst, clock.elapsed() - last);
    EXPECT_EQ(list().count(), 10000);
    EXPECT_LE(worst, 250) << "longest gap between two beats of a 100 ms timer, in ms";
    EXPECT_TRUE(progress);
    EXPECT_FALSE(player->listPane()->AddMeter()->isVisible());
    EXPECT_FALSE(player->favourites()->isLoadingOkini());
}

TEST_F(LongList, ClosingDuringTheLoadNeverWritesAHalfList)
{
    QTimer::singleShot(30, player.get(), [this] { player->close(); });
    player->favourites()->load_okini(m3u);
    EXPECT_EQ(readFile(m3u), whole);
}

TEST_F(LongList, SwitchingTabsDuringTheLoadSavesTheWholeList)
{
    const QString other = writeList("other.m3u", {touch("o.avi")});
    player->favourites()->TabM3u()->add(2, QString(), "other", other);
    QTimer::singleShot(30, player.get(), [this] {
        player->favourites()->TabM3u()->select(2);
        player->favourites()->TabM3u_MouseUp(Qt::LeftButton);
    });
    player->favourites()->load_okini(m3u);
    EXPECT_EQ(readFile(m3u), whole);
    EXPECT_EQ(paths(), QStringList{work("o.avi")}) << "nothing of the long list is appended to the other one";
    EXPECT_EQ(player->favourites()->gStrM3uName(), other);
}

TEST_F(Favourites, OneCp932LineAmongUtf8LinesLosesNoEntry)
{
    const QString a = touch(QString::fromUtf8("動画/テスト.avi"));
    const QString b = touch(QString::fromUtf8("動画/b.avi"));
    const QString c = touch(QString::fromUtf8("テ.avi"));
    // The third line comes from a Windows list: "テ" in CP932.
    const QByteArray bytes = a.toUtf8() + "\r\n" + b.toUtf8() + "\r\n" + work().toUtf8() + "\x83\x65.avi\r\n";
    const QString m3u = writeFile(work("mixed.m3u"), bytes);
    player->favourites()->load_okini(m3u);
    EXPECT_EQ(paths(), (QStringList{a, b, c}));
    player->favourites()->save_okini(m3u);
    EXPECT_EQ(readFile(m3u), (a + "\r\n" + b + "\r\n" + c + "\r\n").toUtf8());
}
