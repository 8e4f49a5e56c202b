// The list editor Form_List on the favourites tabs, the directory tabs and the favourites
// entries: what it reads, how its rows move, what "save" writes and what the main window
// shows afterwards, and how closing it (or ending the program meanwhile) goes.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "app/shutdown_signals.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/form_list.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "widgets/command_ids.h"
#include "widgets/save_soon.h"
#include "widgets/timer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>

#include <csignal>

using testsupport::readFile;
using testsupport::writeFile;

class ListEditor : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        // The first favourites load, now.
        testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); });
    }
    Form_List &editor() { return *player->listPane()->listEditor(); }
    QList<std::pair<QString, QString>> rows()
    {
        QList<std::pair<QString, QString>> out;
        for (int i = 1; i <= editor().rowCount(); ++i)
            out.append({editor().rowText(i), editor().rowPath(i)});
        return out;
    }
    QStringList captions(const TabStrip *strip)
    {
        QStringList out;
        for (int i = 1; i <= strip->count(); ++i)
            out.append(strip->caption(i));
        return out;
    }
    QString okiniFile(const QString &name, const QStringList &paths)
    {
        return writeFile(work(name), paths.join("\r\n").toUtf8() + "\r\n");
    }
};

TEST_F(ListEditor, TheMenusOpenItOnTheirListAndHideTheMainWindow)
{
    EXPECT_EQ(player->favourites()->m_custom_list()->text(), QString::fromUtf8("リスト位置編集"));
    for (const auto &[id, mode] : {std::pair{command::okiniTabCustom, 0}, std::pair{command::fileTabCustom, 1},
                                   std::pair{command::okiniCustomList, 2}}) {
        ASSERT_TRUE(player->commands().action(id)->isEnabled()) << id.toStdString();
        ASSERT_TRUE(player->commands().trigger(id)) << id.toStdString();
        EXPECT_EQ(editor().mode(), mode);
        EXPECT_TRUE(editor().isVisible());
        EXPECT_FALSE(player->isVisible());
        EXPECT_EQ(editor().windowTitle(), QString::fromUtf8("リスト編集"));
        editor().bt_exit()->click();
        EXPECT_FALSE(editor().isVisible());
        EXPECT_TRUE(player->isVisible());
    }
    EXPECT_EQ(editor().bt_save()->text(), "save");
    EXPECT_EQ(editor().bt_exit()->text(), "ex i t");
    EXPECT_EQ(editor().ListView()->columnCount(), 2);
}

// The first row up trades with the last, the last down with the first, the selection
// following; with no row selected the buttons do nothing. "save" writes TabM3u.ini as the
// rows stand (a relative path stays relative) and the favourites page shows its tabs anew,
// on the first tab.
TEST_F(ListEditor, RowsWrapAroundAndSaveWritesTheTabs)
{
    close();
    writeFile(app("TabM3u.ini"), "\"a\",\"./a.m3u\"\r\n\"b\",\"/lists/b.m3u\"\r\n\"c\",\"/lists/c.m3u\"\r\n");
    start();
    player->options()->Check_soutai()->setChecked(true); // saved relative where it can be
    player->commands().trigger(command::okiniTabCustom);
    using Rows = QList<std::pair<QString, QString>>;
    EXPECT_EQ(rows(), (Rows{{"a", "./a.m3u"}, {"b", "/lists/b.m3u"}, {"c", "/lists/c.m3u"}}));

    editor().bt_up()->click(); // nothing selected
    editor().bt_del()->click();
    EXPECT_EQ(rows().size(), 3);
    editor().selectRow(1);
    editor().bt_up()->click();
    EXPECT_EQ(rows(), (Rows{{"c", "/lists/c.m3u"}, {"b", "/lists/b.m3u"}, {"a", "./a.m3u"}}));
    EXPECT_EQ(editor().selectedRow(), 3);
    editor().bt_down()->click();
    EXPECT_EQ(rows(), (Rows{{"a", "./a.m3u"}, {"b", "/lists/b.m3u"}, {"c", "/lists/c.m3u"}}));
    EXPECT_EQ(editor().selectedRow(), 1);
    editor().bt_down()->click();
    EXPECT_EQ(rows(), (Rows{{"b", "/lists/b.m3u"}, {"a", "./a.m3u"}, {"c", "/lists/c.m3u"}}));
    EXPECT_EQ(editor().selectedRow(), 2);
    editor().selectRow(3);
    editor().bt_del()->click();

    editor().bt_save()->click();
    EXPECT_TRUE(editor().isVisible()); // "save" keeps it open
    EXPECT_EQ(readFile(app("TabM3u.ini")), "\"b\",\"/lists/b.m3u\"\r\n\"a\",\"./a.m3u\"\r\n");
    EXPECT_EQ(captions(player->favourites()->TabM3u()), (QStringList{QString::fromUtf8("お気に入り"), "b", "a"}));
    EXPECT_EQ(player->favourites()->TabM3u()->tag(3), app("a.m3u"));
    EXPECT_EQ(player->favourites()->TabM3u()->selectedIndex(), 1);
    EXPECT_EQ(player->favourites()->gStrM3uName(), app("okini.ini"));
}

// Saving the tabs shows okini.ini again, but an m3u shown before keeps the entry added to
// it since it was last saved.
TEST_F(ListEditor, SavingTheTabsKeepsTheM3uShown)
{
    FavouritesPage &f = *player->favourites();
    const QString m3u = okiniFile("x.m3u", {touch("one.avi")});
    f.switchOkiniList(m3u);
    f.add_okini_file(touch("added.avi"));
    ASSERT_EQ(f.List_okini()->count(), 2);
    player->commands().trigger(command::okiniTabCustom);
    editor().bt_save()->click();
    EXPECT_EQ(readFile(m3u), (work("one.avi") + "\r\n" + work("added.avi") + "\r\n").toUtf8());
    EXPECT_EQ(f.gStrM3uName(), app("okini.ini"));
}

// The directory tabs are tabdir.ini (the file the file page reads): no file of another
// spelling is made. After "save" the file page shows the first tab's folder.
TEST_F(ListEditor, DirectoryTabsAreTabdirIni)
{
    close();
    QDir().mkpath(work("m1"));
    QDir().mkpath(work("m2"));
    writeFile(app("tabdir.ini"), ("\"m1\",\"" + work("m1/") + "\"\r\n\"m2\",\"" + work("m2/") + "\"\r\n").toUtf8());
    start();
    FilePage &files = *player->files();
    files.TabDir()->select(3);
    files.TabDir_MouseUp(Qt::LeftButton);
    ASSERT_EQ(QDir(files.File()->path()).absolutePath(), QDir(work("m2")).absolutePath());
    player->commands().trigger(command::fileTabCustom);
    EXPECT_EQ(rows().size(), 2);
    editor().selectRow(2);
    editor().bt_up()->click();
    editor().bt_save()->click();
    EXPECT_EQ(readFile(app("tabdir.ini")),
              ("\"m2\",\"" + work("m2/") + "\"\r\n\"m1\",\"" + work("m1/") + "\"\r\n").toUtf8());
    EXPECT_EQ(captions(files.TabDir()), (QStringList{"current", "m2", "m1"}));
    EXPECT_EQ(files.TabDir()->selectedIndex(), 1);
    EXPECT_EQ(QDir(files.File()->path()).absolutePath(), QDir(files.TabDir()->tag(1)).absolutePath());
    for (const char *other : {"TabDir.ini", "TabM3U.ini"})
        EXPECT_FALSE(QFileInfo::exists(app(other))) << other;
}

// The favourites entries: a file gone since the list was read is listed and written back;
// F2 renames an entry in the list file, not the file on disk; the list shown is read anew.
TEST_F(ListEditor, EntriesWithAMissingFileAndARenameByF2)
{
    FavouritesPage &f = *player->favourites();
    const QString a = touch("v/a.avi"), b = touch("v/b.avi");
    f.switchOkiniList(okiniFile("x.m3u", {a, "# a comment", b}));
    ASSERT_EQ(f.List_okini()->count(), 2);
    QFile::remove(b);
    player->commands().trigger(command::okiniCustomList);
    using Rows = QList<std::pair<QString, QString>>;
    EXPECT_EQ(rows(), (Rows{{"a.avi", work("v")}, {"b.avi", work("v")}}));

    editor().selectRow(1);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(editor().ListView(), &press);
    QApplication::sendEvent(editor().ListView(), &release);
    QLineEdit *edit = editor().ListView()->viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(edit) << "F2 opened no editor";
    edit->setText("renamed.avi");
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits after the key
    EXPECT_EQ(editor().rowText(1), "renamed.avi");

    editor().bt_save()->click();
    EXPECT_EQ(readFile(work("x.m3u")), (work("v/renamed.avi") + "\r\n" + work("v/b.avi") + "\r\n").toUtf8());
    EXPECT_TRUE(QFileInfo::exists(a)); // the file on disk keeps its name
    EXPECT_EQ(f.gStrM3uName(), work("x.m3u"));
    EXPECT_EQ(f.List_okini()->count(), 0); // neither renamed.avi nor b.avi exists
    // Reading the edit again is no change of the list: nothing is due to be saved over it.
    EXPECT_FALSE(f.listSave()->isPending());
}

// Files dropped on the list: media files of the entries' kind, once each; folders,
// other files and what is listed already are left out. Other modes take no drop.
TEST_F(ListEditor, DroppedMediaFilesAreAppendedOnce)
{
    FavouritesPage &f = *player->favourites();
    const QString a = touch("a.avi");
    f.switchOkiniList(okiniFile("x.m3u", {a}));
    player->commands().trigger(command::okiniCustomList);
    QDir().mkpath(work("folder.avi"));
    editor().ListView_OLEDragDrop({a, touch("b.MPG"), touch("c.txt"), work("folder.avi"), touch("avi"),
                                   work("gone.avi"), work("b.MPG")});
    using Rows = QList<std::pair<QString, QString>>;
    EXPECT_EQ(rows(), (Rows{{"a.avi", work().chopped(1)}, {"b.MPG", work().chopped(1)}}));

    // A drop through the view as the desktop makes it.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(touch("d.mkv"))});
    QWidget *viewport = editor().ListView()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(rows().size(), 3);

    editor().bt_exit()->click();
    player->commands().trigger(command::okiniTabCustom);
    editor().ListView_OLEDragDrop({touch("e.avi")});
    EXPECT_TRUE(rows().isEmpty());
}

// Opened while a long list is still being read, the editor has the whole list: the save
// before it reads the rest first.
TEST_F(ListEditor, OpenedWhileTenThousandEntriesLoadItListsThemAll)
{
    QDir().mkpath(work("many"));
    QStringList lines;
    for (int i = 0; i < 10000; ++i) {
        const QString name = work(QStringLiteral("many/%1.avi").arg(i, 5, 10, QLatin1Char('0')));
        QFile(name).open(QIODevice::WriteOnly);
        lines.append(name);
    }
    const QString list = okiniFile("long.m3u", lines);
    bool openedMidLoad = false;
    QTimer::singleShot(0, player.get(), [&] {
        openedMidLoad = player->favourites()->isLoadingOkini();
        player->commands().trigger(command::okiniCustomList);
    });
    player->favourites()->switchOkiniList(list);
    testsupport::waitFor([&] { return player->listPane()->listEditor() != nullptr; });
    ASSERT_TRUE(player->listPane()->listEditor());
    EXPECT_TRUE(openedMidLoad) << "the load ended before the editor opened";
    EXPECT_EQ(editor().rowCount(), 10000);
    EXPECT_EQ(editor().rowText(10000), "09999.avi");
    EXPECT_EQ(player->favourites()->List_okini()->count(), 10000);
    editor().bt_save()->click();
    EXPECT_EQ(readFile(list), (lines.join("\r\n") + "\r\n").toUtf8());
}

// Closing the editor brings the main window back first, so the program goes on (with no
// window shown Qt would end it without its shutdown). The program itself is in the gui
// tests.
TEST_F(ListEditor, ClosingTheEditorKeepsTheProgram)
{
    player->commands().trigger(command::fileTabCustom);
    ASSERT_FALSE(player->isVisible());
    editor().close();
    EXPECT_TRUE(player->isVisible());
    EXPECT_FALSE(editor().isVisible());
    EXPECT_FALSE(QFileInfo::exists(app("config.ini"))); // no shutdown ran
}

// The end of the session (SIGTERM) while the editor is open runs the shutdown, closes the
// editor and shows no window again, so the program ends (the gui tests see it end).
TEST_F(ListEditor, SigtermWhileItIsOpenEndsTheProgram)
{
    endOnSignals(player.get());
    player->commands().trigger(command::okiniCustomList);
    ASSERT_TRUE(editor().isVisible());
    ::raise(SIGTERM);
    EXPECT_TRUE(testsupport::waitFor([&] { return QFileInfo::exists(app("config.ini")); }));
    EXPECT_FALSE(editor().isVisible());
    EXPECT_FALSE(player->isVisible());
    for (QWindow *w : QGuiApplication::topLevelWindows())
        if (w->isVisible())
            ADD_FAILURE() << "still shown: " << w->objectName().toStdString() << " " << w->title().toStdString();
    struct sigaction sa {};
    sa.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &sa, nullptr);
}
