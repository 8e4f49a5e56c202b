// Files join the favourites: dropped, from the file page's selection, the playing file.
#include "support/player_fixture.h"

#include "input/main_menu.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "widgets/command_ids.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "window/video_area.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QProgressBar>
#include <QUrl>

using testsupport::readFile;
using testsupport::writeFile;

class AddingFiles : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    }
    QStringList names() const
    {
        QStringList n;
        for (int i = 1; i <= player->favourites()->List_okini()->count(); ++i)
            n.append(player->favourites()->List_okini()->text(i));
        return n;
    }
};

TEST_F(AddingFiles, DroppedMediaFilesAreAddedOthersIgnored)
{
    FavouritesPage &f = *player->favourites();
    QDir().mkpath(work("x.avi")); // a folder that passes the extension test
    f.List_okini_OLEDragDrop({touch("a.AVI"), touch("b.txt"), touch("d.mpg"), work("x.avi"), touch("noext")});
    EXPECT_EQ(names(), (QStringList{"a.AVI", "d.mpg"}));
    f.List_okini_OLEDragDrop({work("a.AVI")});
    EXPECT_EQ(names().size(), 2) << "a listed file is not added twice";
    EXPECT_FALSE(player->listPane()->AddMeter()->isVisible());
    // Paths are compared exactly: another letter case is another file.
    f.List_okini_OLEDragDrop({touch("A.avi")});
    EXPECT_EQ(names().size(), 3);
}

TEST_F(AddingFiles, AnM3uDropAsksKeepsTheListShownAndEndsTheDrop)
{
    FavouritesPage &f = *player->favourites();
    const QString a = touch("a.avi"), b = touch("b.avi"), c = touch("c.avi");
    const QString m3u = writeFile(work("x.m3u"), (b + "\r\n").toUtf8());
    f.List_okini_OLEDragDrop({a});
    dialogs->answers = {Dialogs::Answer::No};
    f.List_okini_OLEDragDrop({m3u, c});
    ASSERT_FALSE(dialogs->asked.isEmpty());
    EXPECT_EQ(dialogs->asked.last().text, QString::fromUtf8("m3uファイルを追加します。現在のリストをクリアしますか？"));
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("m3uファイルをロード"));
    EXPECT_EQ(names(), (QStringList{"a.avi", "b.avi"})) << "No keeps the list; c.avi after the m3u is not added";
    EXPECT_EQ(f.gStrM3uName(), m3u);
    EXPECT_EQ(readFile(app("okini.ini")), (a + "\r\n").toUtf8()) << "the list shown was saved first";

    f.List_okini_OLEDragDrop({c});
    dialogs->answers = {Dialogs::Answer::Yes};
    f.List_okini_OLEDragDrop({m3u});
    EXPECT_EQ(readFile(m3u), (a + "\r\n" + b + "\r\n" + c + "\r\n").toUtf8());
    EXPECT_EQ(names(), (QStringList{"a.avi", "b.avi", "c.avi"})) << "Yes clears, then the m3u loads";
}

TEST_F(AddingFiles, SelectedRowsJoinFromTheLastAndThePlayingFileOnce)
{
    Player &p = *player;
    for (const char *n : {"v/a.avi", "v/b.avi", "v/c.avi", "v/d.avi"})
        touch(n);
    p.files()->setFilePath(work("v"));
    p.listPane()->Tab1()->select(1);
    p.commands().trigger(command::addOkini);
    EXPECT_TRUE(names().isEmpty()) << "no selection adds nothing";
    EXPECT_FALSE(p.listPane()->AddMeter()->isVisible());
    for (int row : {0, 1, 3})
        p.files()->File()->item(row)->setSelected(true);
    p.commands().trigger(command::addOkini);
    EXPECT_EQ(names(), (QStringList{"d.avi", "b.avi", "a.avi"}));

    p.openMedia(work("v/c.avi"), 0);
    p.commands().trigger(command::addPlaying);
    p.commands().trigger(command::addPlaying);
    EXPECT_EQ(names(), (QStringList{"d.avi", "b.avi", "a.avi", "c.avi"}));
}

TEST_F(AddingFiles, ALongAddKeepsTheWindowAnsweringAndIsSavedWholeOnClose)
{
    Player &p = *player;
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many.append(QStringLiteral("c%1.avi").arg(i, 4, 10, QChar(u'0')));
    QDir().mkpath(work("many"));
    for (const QString &n : many)
        touch("many/" + n);
    bool refused = false;
    bool closed = false;
    QTimer::singleShot(20, &p, [&] {
        refused = !p.favourites()->add_selected_files(work("many"), {"x.avi"});
        p.close();
        closed = true;
    });
    p.favourites()->add_selected_files(work("many"), many);
    ASSERT_TRUE(closed) << "the add yielded to the window";
    EXPECT_TRUE(refused) << "a second add during the first is refused";
    EXPECT_EQ(readFile(app("okini.ini")).count("\r\n"), 3000) << "closing lets the add finish before the save";
}

TEST_F(AddingFiles, DropsOnThePageTabsAndOnTheVideo)
{
    Player &p = *player;
    const QString a = touch("a.avi"), b = touch("b.mpg");
    auto drop = [](QWidget *target, const QStringList &files) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &f : files)
            urls.append(QUrl::fromLocalFile(f));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        const bool accepted = enter.isAccepted();
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        return accepted;
    };
    EXPECT_TRUE(drop(p.listPane()->Tab1(), {a, b}));
    EXPECT_EQ(names(), (QStringList{"a.avi", "b.mpg"})) << "the page tabs take files for the favourites";
    EXPECT_TRUE(drop(p.video()->display(), {b}));
    ASSERT_NE(engines.movie(), nullptr);
    EXPECT_EQ(engines.movie()->loads.back(), b) << "a drop on the video plays the file";
}
