// The popups of the file list, the search results and the favourites through the real main
// window: the selection they act on, their enabling and information line, and the file
// commands in them (play, rename, delete, delete all, move, properties, the folder).
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_menu_target.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "scenes/scene_menus.h"
#include "widgets/command_ids.h"
#include "widgets/timer.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QTest>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

// A file of the given size that takes no room on disk.
QString sizedFile(const QString &path, qint64 bytes)
{
    writeFile(path, "");
    QFile f(path);
    if (f.open(QIODevice::ReadWrite))
        f.resize(bytes);
    return path;
}

QList<int> selectedRows(const QListWidget *list)
{
    QList<int> rows;
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->isSelected())
            rows.append(r);
    return rows;
}

} // namespace

class ItemMenus : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        player->favourites()->tmr_okini()->setEnabled(false);
        // "サムネイルをロードしない": the entries come without pictures unless a test turns them on.
        player->options()->Check_loadthum()->setChecked(true);
    }
    void TearDown() override
    {
        for (QMenu *m : {files().m_FileMenu(), fav().m_item()})
            m->hide();
        PlayerTest::TearDown();
    }

    FilePage &files() { return *player->files(); }
    FileListBox &File() { return *player->files()->File(); }
    FavouritesPage &fav() { return *player->favourites(); }
    OkiniList &okini() { return *player->favourites()->List_okini(); }
    QListWidget &found() { return *player->search()->List_Find(); }

    // The work folder in the file list, with these (empty) files.
    void showFiles(const QStringList &names)
    {
        for (const QString &n : names)
            touch(n);
        ASSERT_TRUE(File().setPath(work()));
        player->listPane()->showFilePage();
        player->listPane()->selectPage(1);
    }
    void selectRows(const QList<int> &rows)
    {
        File().clearSelection();
        for (int r : rows)
            File().item(r)->setSelected(true);
    }
    QPoint rowPoint(const QListWidget &list, int row) { return list.visualItemRect(list.item(row)).center(); }
    QPoint belowLastRow(const QListWidget &list)
    {
        return QPoint(5, list.visualItemRect(list.item(list.count() - 1)).bottom() + 20);
    }

    // Entries for the favourites list, one per name, in the work folder.
    void addEntries(const QStringList &names)
    {
        for (const QString &n : names) {
            if (!QFileInfo::exists(work(n)))
                touch(n);
            fav().add_okini_item(work().chopped(1), n);
        }
    }
    QStringList entryNames()
    {
        QStringList out;
        for (int i = 1; i <= okini().count(); ++i)
            out.append(okini().text(i));
        return out;
    }
    void selectEntries(const QList<int> &entries)
    {
        QItemSelectionModel *sel = okini().currentView()->selectionModel();
        sel->clearSelection();
        for (int i : entries)
            sel->select(okini().model()->index(i - 1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // Search results as the search leaves them: names in the list, folders beside them.
    void showResults(const QStringList &paths)
    {
        QList<std::pair<QString, QString>> rows;
        for (const QString &p : paths)
            rows.append({p.left(p.lastIndexOf('/') + 1), p.mid(p.lastIndexOf('/') + 1)});
        player->search()->showResults(rows);
        player->listPane()->Tab1()->select(3);
    }

    QString lastMessage()
    {
        for (auto it = dialogs->asked.crbegin(); it != dialogs->asked.crend(); ++it)
            if (it->kind == "message")
                return it->text;
        return QString();
    }
};

// ---- The file list's selection

TEST_F(ItemMenus, RightClickOnAnUnselectedRowKeepsOnlyIt)
{
    showFiles({"a.avi", "b.avi", "c.avi", "d.avi", "e.avi"});
    selectRows({0, 1, 2});
    files().File_MouseUp(Qt::RightButton, rowPoint(File(), 3));
    EXPECT_EQ(selectedRows(&File()), QList<int>{3});
    EXPECT_TRUE(files().m_FileMenu()->isVisible());
    files().m_FileMenu()->hide();

    // A selected row keeps the whole selection; below the last row nothing changes.
    selectRows({0, 1, 2});
    files().File_MouseUp(Qt::RightButton, rowPoint(File(), 1));
    EXPECT_EQ(selectedRows(&File()), (QList<int>{0, 1, 2}));
    files().m_FileMenu()->hide();
    files().File_MouseUp(Qt::RightButton, belowLastRow(File()));
    EXPECT_EQ(selectedRows(&File()), (QList<int>{0, 1, 2}));
}

TEST_F(ItemMenus, PressOnRowTwoAndReleaseOnRowFiveSelectsTheRowsPassedOver)
{
    showFiles({"a.avi", "b.avi", "c.avi", "d.avi", "e.avi", "f.avi", "g.avi"});
    QWidget *vp = File().viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, rowPoint(File(), 2));
    // The list's own drag selection is off: the move selects nothing, the release toggles.
    QMouseEvent move(QEvent::MouseMove, rowPoint(File(), 5), vp->mapToGlobal(rowPoint(File(), 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(vp, &move);
    EXPECT_EQ(selectedRows(&File()), QList<int>{2});
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, rowPoint(File(), 5));
    EXPECT_EQ(selectedRows(&File()), (QList<int>{2, 3, 4, 5}));

    // Back over rows already selected: they are toggled off again (press 5, release 3).
    File().setCurrentRow(5, QItemSelectionModel::NoUpdate);
    files().File_MouseUp(Qt::LeftButton, rowPoint(File(), 3));
    EXPECT_EQ(selectedRows(&File()), (QList<int>{2, 5}));
    // Released below the last row: nothing.
    files().File_MouseUp(Qt::LeftButton, belowLastRow(File()));
    EXPECT_EQ(selectedRows(&File()), (QList<int>{2, 5}));
}

// ---- The file popup

TEST_F(ItemMenus, FilePopupInItsOrderWithItsCaptions)
{
    QStringList captions;
    for (QAction *a : files().m_FileMenu()->actions())
        captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    // "お気に入りに追加" shows its binding's key (the default D) beside it.
    EXPECT_EQ(captions, (QStringList{"currentディレクトリの変更(F4)", "-", "再生(Enter)", "シーン", "お気に入りに追加(Ctrl+D)\tD",
                                     "名前を変更(F2)", "-", "プロパティ", "-", ""}));
    EXPECT_EQ(files().m_FileMenu()->actions().at(1), files().sep6());
    EXPECT_EQ(files().m_FileMenu()->actions().at(3), files().m_seen_load_file()->menuAction());
    EXPECT_EQ(files().m_FileMenu()->actions().last(), files().m_info());
}

TEST_F(ItemMenus, FilePopupEnablesByCountAndShowsSizeAndCount)
{
    sizedFile(work("a.avi"), 5000000);
    sizedFile(work("b.avi"), 5000000);
    sizedFile(work("c.avi"), 2345678);
    sizedFile(work("d.avi"), 123456);
    showFiles({});
    const auto popUpWith = [&](const QList<int> &rows) {
        selectRows(rows);
        files().File_MouseUp(Qt::RightButton, belowLastRow(File()));
        files().m_FileMenu()->hide();
    };
    const auto enabled = [&] {
        return QList<bool>{files().m_rename()->isEnabled(), files().m_propaty()->isEnabled(),
                           files().m_filePlay()->isEnabled(), files().m_addOkini()->isEnabled()};
    };

    popUpWith({0, 1, 2});
    EXPECT_EQ(files().m_info()->text(), "12MByte - 3個のファイル");
    EXPECT_EQ(enabled(), (QList<bool>{false, false, false, true}));

    popUpWith({3});
    EXPECT_EQ(files().m_info()->text(), "123,456Byte");
    EXPECT_EQ(enabled(), (QList<bool>{true, true, true, true}));

    popUpWith({});
    EXPECT_EQ(files().m_info()->text(), "");
    EXPECT_EQ(enabled(), (QList<bool>{false, false, false, false}));
}

TEST_F(ItemMenus, FilePopupPlaysTheSelectedFileAndItsScenes)
{
    showFiles({"a.avi", "b.avi"});
    // A scene of b.avi: the popup's "シーン" shows it when b.avi is the selected row.
    writeFile(app("seen/b.txt"), "\"[0] -----\",\"\"\r\n\"[1] 0:03\",\"3.2\"\r\n");
    selectRows({1});
    File().setCurrentRow(1, QItemSelectionModel::NoUpdate);
    files().File_MouseUp(Qt::RightButton, rowPoint(File(), 1));
    EXPECT_TRUE(files().m_seen_load_file()->isEnabled());
    EXPECT_EQ(player->scenes()->m_seen_file()[1]->text(), "[1] 0:03");
    files().m_FileMenu()->hide();

    player->commands().trigger(command::filePlay);
    EXPECT_EQ(player->video()->movie()->fileName, work("b.avi"));

    // A jump from the popup into a file that is not open opens it first.
    player->stop_Click();
    player->commands().trigger(command::sceneFile(1));
    EXPECT_EQ(player->video()->movie()->fileName, work("b.avi"));
    EXPECT_DOUBLE_EQ(engines.movie()->pos, 3.0);

    selectRows({0});
    files().File_MouseUp(Qt::RightButton, rowPoint(File(), 0));
    EXPECT_FALSE(files().m_seen_load_file()->isEnabled()) << "a.avi has no scenes";
}

TEST_F(ItemMenus, PropertiesAndInfoOfAFile)
{
    showFiles({"a.avi", "b.avi"});
    selectRows({1});
    player->commands().trigger(command::fileProperties);
    EXPECT_EQ(shell->propertiesAsked, QStringList{work("b.avi")});
    EXPECT_TRUE(shell->foldersOpened.isEmpty()) << "the request is not waited for";
    // No file manager answered: the file's folder opens instead.
    shell->failOldest();
    EXPECT_EQ(shell->foldersOpened, QStringList{work().chopped(1)});

    player->commands().trigger(command::fileInfo);
    player->commands().trigger(command::okiniInfo);
    EXPECT_EQ(shell->foldersOpened, (QStringList{work().chopped(1), File().path(), File().path()}));

    EXPECT_TRUE(player->commands().trigger(command::properties));
    EXPECT_EQ(shell->propertiesAsked.size(), 2);
}

// ---- The file popup over the search results

TEST_F(ItemMenus, OverTheResultsTheFileItemsHideUntilItCloses)
{
    QDir().mkpath(work("deep/er"));
    const QString r1 = sizedFile(work("deep/er/r1.avi"), 2000000);
    const QString r2 = sizedFile(work("deep/r2.avi"), 1000000);
    showFiles({"a.avi"});
    showResults({r1, r2});
    found().item(0)->setSelected(true);
    found().item(1)->setSelected(true);

    // A real right click on a selected result.
    QTest::mouseClick(found().viewport(), Qt::RightButton, Qt::NoModifier, rowPoint(found(), 1));
    ASSERT_TRUE(testsupport::waitFor([&] { return files().m_FileMenu()->isVisible(); }, 2000));
    EXPECT_EQ(selectedRows(&found()), (QList<int>{0, 1}));
    EXPECT_FALSE(files().m_OpenDirectory()->isVisible());
    EXPECT_FALSE(files().sep6()->isVisible());
    EXPECT_FALSE(files().m_seen_load_file()->menuAction()->isVisible());
    EXPECT_EQ(files().m_info()->text(), "3MByte - 2個のファイル");
    EXPECT_FALSE(files().m_rename()->isEnabled());
    files().m_FileMenu()->hide();
    EXPECT_TRUE(files().m_OpenDirectory()->isVisible());
    EXPECT_TRUE(files().sep6()->isVisible());
    EXPECT_TRUE(files().m_seen_load_file()->menuAction()->isVisible());

    // One result (an unselected one, clicked): the single-file commands act on it, not on
    // the hidden file list.
    found().item(0)->setSelected(false);
    QTest::mouseClick(found().viewport(), Qt::RightButton, Qt::NoModifier, rowPoint(found(), 0));
    ASSERT_TRUE(testsupport::waitFor([&] { return files().m_FileMenu()->isVisible(); }, 2000));
    EXPECT_EQ(selectedRows(&found()), (QList<int>{0}));
    EXPECT_EQ(files().m_info()->text(), "2MByte");
    files().m_FileMenu()->hide();
    // A chosen item runs after the popup has closed, on the list it was opened over.
    player->commands().trigger(command::fileProperties);
    player->commands().trigger(command::filePlay);
    EXPECT_EQ(shell->propertiesAsked, QStringList{r1});
    EXPECT_EQ(player->video()->movie()->fileName, r1);
    shell->failOldest();
    EXPECT_EQ(shell->foldersOpened, QStringList{work("deep/er")});
    player->commands().trigger(command::fileInfo); // the file list's folder, as from the file list
    EXPECT_EQ(shell->foldersOpened.last(), File().path());

    player->stop_Click();
    files().popUpFileMenu(player->search()->findTarget(), QPoint(0, 0));
    files().m_FileMenu()->hide();
    dialogs->inputs.push_back("renamed.avi");
    player->commands().trigger(command::fileRename);
    EXPECT_TRUE(QFileInfo::exists(work("a.avi"))) << "not the file list's file";
    EXPECT_TRUE(QFileInfo::exists(work("deep/er/renamed.avi")));
    EXPECT_FALSE(QFileInfo::exists(r1));
    EXPECT_EQ(found().item(0)->text(), "renamed.avi");
    EXPECT_EQ(player->search()->findRowPath(0), work("deep/er/renamed.avi"));

    // Once the popup's work is done the items act on the file list again.
    testsupport::pump(10);
    EXPECT_EQ(&files().menuTarget(), &files().fileTarget());
}

TEST_F(ItemMenus, OpenedAgainAtOnceThePopupStaysOnTheResults)
{
    const QString r = touch("deep/r.avi");
    showFiles({"a.avi"});
    selectRows({0});
    showResults({r});
    found().item(0)->setSelected(true);
    FileMenuTarget &results = player->search()->findTarget();
    files().popUpFileMenu(results, QPoint(0, 0));
    files().m_FileMenu()->hide();
    files().popUpFileMenu(results, QPoint(0, 0)); // the closing click opened it again
    testsupport::pump(10);
    player->commands().trigger(command::fileProperties);
    EXPECT_EQ(shell->propertiesAsked, QStringList{r});
}

TEST_F(ItemMenus, DraggingOverTheResultsTogglesOnce)
{
    showResults({work("r0.avi"), work("r1.avi"), work("r2.avi"), work("r3.avi"), work("r4.avi")});
    QWidget *vp = found().viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, rowPoint(found(), 1));
    QMouseEvent move(QEvent::MouseMove, rowPoint(found(), 4), vp->mapToGlobal(rowPoint(found(), 4)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, rowPoint(found(), 4));
    EXPECT_EQ(selectedRows(&found()), (QList<int>{1, 2, 3, 4}));
}

// ---- Renaming

class Renaming : public ItemMenus
{
protected:
    void renameRow(int row, const QString &answer)
    {
        selectRows({row});
        File().setCurrentRow(row, QItemSelectionModel::NoUpdate);
        dialogs->inputs.push_back(answer);
        player->commands().trigger(command::fileRename);
    }
};

TEST_F(Renaming, ThePlayingFileIsStoppedThenRenamed)
{
    showFiles({"a.avi", "b.avi"});
    player->openMedia(work("a.avi"), 0);
    ASSERT_EQ(player->video()->movie()->fileName, work("a.avi"));
    renameRow(0, "c.avi");
    ASSERT_FALSE(dialogs->asked.isEmpty());
    EXPECT_EQ(dialogs->asked.last().kind, "input");
    EXPECT_EQ(dialogs->asked.last().title, "ファイル名を変更");
    EXPECT_EQ(dialogs->asked.last().text, work("a.avi") + "\nのファイル名を変更します。");
    EXPECT_EQ(dialogs->asked.last().initial, "a.avi");
    EXPECT_FALSE(player->windowModes()->isRenaming());
    EXPECT_TRUE(player->video()->movie()->fileName.isEmpty()) << "stopped before the rename";
    EXPECT_FALSE(QFileInfo::exists(work("a.avi")));
    EXPECT_TRUE(QFileInfo::exists(work("c.avi")));
    EXPECT_EQ(File().list(0), "b.avi");
    EXPECT_EQ(File().fileName(), "c.avi") << "the renamed file stays selected";
}

TEST_F(Renaming, AnExistingNameOrADanglingLinkChangesNothing)
{
    writeFile(work("a.avi"), "A");
    writeFile(work("b.avi"), "B");
    ASSERT_TRUE(QFile::link(work("gone.avi"), work("link.avi")));
    showFiles({});
    player->openMedia(work("a.avi"), 0);
    for (const QString &taken : {QStringLiteral("b.avi"), QStringLiteral("link.avi"), QStringLiteral("a.avi")}) {
        renameRow(0, taken);
        EXPECT_EQ(readFile(work("a.avi")), "A") << taken.toStdString();
        EXPECT_EQ(readFile(work("b.avi")), "B");
        EXPECT_TRUE(QFileInfo(work("link.avi")).isSymLink());
    }
    EXPECT_EQ(lastMessage(), "") << "no message: nothing happened";
    EXPECT_EQ(player->video()->movie()->fileName, work("a.avi")) << "a rename that cannot happen leaves it playing";
}

TEST_F(Renaming, NamesThatWouldMoveTheFileAreRefused)
{
    QDir().mkpath(work("sub"));
    showFiles({"a.avi"});
    for (const QString &bad : {QStringLiteral("../x.avi"), QStringLiteral("sub/x.avi"), QStringLiteral("."),
                               QStringLiteral(".."), QStringLiteral("/")}) {
        dialogs->asked.clear();
        renameRow(0, bad);
        EXPECT_EQ(lastMessage(), "不正なファイル名が指定されました") << bad.toStdString();
        EXPECT_TRUE(QFileInfo::exists(work("a.avi")));
    }
    EXPECT_FALSE(QFileInfo::exists(workDir.path() + "/../x.avi"));
    EXPECT_FALSE(QFileInfo::exists(work("sub/x.avi")));

    // A cancelled input box does nothing and says nothing.
    dialogs->asked.clear();
    renameRow(0, "");
    EXPECT_EQ(lastMessage(), "");
    EXPECT_TRUE(QFileInfo::exists(work("a.avi")));
}

TEST_F(Renaming, AFavouritesEntryTakesTheNewName)
{
    addEntries({"a.avi", "b.avi"});
    fav().save_okini(work("list.m3u"));
    fav().selectOkini(2);
    dialogs->inputs.push_back("c.avi");
    player->commands().trigger(command::okiniRename);
    EXPECT_EQ(entryNames(), (QStringList{"a.avi", "c.avi"}));
    EXPECT_TRUE(QFileInfo::exists(work("c.avi")));
    EXPECT_FALSE(QFileInfo::exists(work("b.avi")));
    EXPECT_EQ(readFile(work("list.m3u")), (work("a.avi") + "\r\n" + work("b.avi") + "\r\n").toUtf8())
        << "the list file keeps the old name until it is saved";

    // The rename command on the favourites page does the same.
    player->listPane()->Tab1()->select(2);
    fav().selectOkini(1);
    dialogs->inputs.push_back("d.avi");
    EXPECT_TRUE(player->commands().trigger(command::rename));
    EXPECT_EQ(entryNames(), (QStringList{"d.avi", "c.avi"}));
}

TEST_F(Renaming, TheRenameCommandOnTheFilePageWantsOneFile)
{
    showFiles({"a.avi", "b.avi"});
    selectRows({0, 1});
    dialogs->inputs.push_back("c.avi");
    player->commands().trigger(command::rename);
    EXPECT_TRUE(dialogs->asked.isEmpty()) << "two files selected: no question";
    selectRows({1});
    player->commands().trigger(command::rename);
    EXPECT_TRUE(QFileInfo::exists(work("c.avi")));
    EXPECT_FALSE(QFileInfo::exists(work("b.avi")));
}

// ---- The favourites popup

TEST_F(ItemMenus, FavouritesPopupInItsOrderWithItsCaptions)
{
    QStringList captions;
    for (QAction *a : fav().m_item()->actions())
        captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"再生(enter)", "シーン", "ファイル名を変更(F2)", "削除(Delete)", "-", "リスト位置編集", "-",
                                     "サムネイル画像の選択", "サムネイル／リスト切り替え", "全て削除", "-", "新規タブ追加",
                                     "m3uファイルを保存", "-", ""}));
    EXPECT_TRUE(fav().m_custom_list()->isEnabled()); // the list editor, also on an empty list
    EXPECT_EQ(fav().m_item()->actions().last(), fav().m_info2());
}

TEST_F(ItemMenus, FavouritesPopupEnablesForAListAndShowsTheSelection)
{
    const auto enabled = [&] {
        QList<bool> out;
        for (QAction *a : {fav().m_item_play(), fav().m_item_del(), fav().m_renameOkini(), fav().m_OpenImageFile(),
                           fav().mDeleteAll(), fav().m_save_m3u()})
            out.append(a->isEnabled());
        return out;
    };
    fav().m_info2()->setText("old");
    fav().List_okini_MouseUp(Qt::RightButton);
    fav().m_item()->hide();
    EXPECT_EQ(enabled(), QList<bool>(6, false));
    EXPECT_EQ(fav().m_info2()->text(), "");

    sizedFile(work("a.avi"), 5000000);
    sizedFile(work("b.avi"), 5000000);
    sizedFile(work("c.avi"), 2345678);
    addEntries({"a.avi", "b.avi", "c.avi", "d.avi"});
    selectEntries({1, 2, 3});
    fav().List_okini_MouseUp(Qt::RightButton);
    fav().m_item()->hide();
    EXPECT_EQ(enabled(), QList<bool>(6, true));
    EXPECT_EQ(fav().m_info2()->text(), "12MByte - 3個のファイル");
    EXPECT_FALSE(fav().m_seen_load_okini()->isEnabled()) << "scenes only for a single entry";

    // A right click on an unselected entry makes it the only selection.
    okini().show();
    okini().resize(400, 300);
    QAbstractItemView *view = okini().currentView();
    const QPoint onFour = view->visualRect(okini().model()->index(3, 0)).center();
    fav().List_okini_MouseUp(Qt::RightButton, onFour);
    fav().m_item()->hide();
    EXPECT_EQ(okini().selectedIndexes(), QList<int>{4});
    EXPECT_EQ(fav().m_info2()->text(), "Byte");
}

TEST_F(ItemMenus, FavouritesPopupClearsTheItemClickWhenItCloses)
{
    addEntries({"a.avi"});
    fav().selectOkini(1);
    Q_EMIT okini().itemClick(1); // a click on an entry
    fav().List_okini_MouseUp(Qt::RightButton);
    ASSERT_TRUE(testsupport::waitFor([&] { return fav().m_item()->isVisible(); }, 2000));
    testsupport::pump(10);
    EXPECT_TRUE(fav().okiniItemClicked()) << "not while the popup is open";
    fav().m_item()->hide();
    EXPECT_TRUE(testsupport::waitFor([&] { return !fav().okiniItemClicked(); }, 1000));
}

TEST_F(ItemMenus, TheSelectedEntryIsTheCurrentOneElseTheFirst)
{
    addEntries({"a.avi", "b.avi", "c.avi", "d.avi"});
    fav().selectOkini(4);
    QItemSelectionModel *sel = okini().currentView()->selectionModel();
    sel->select(okini().model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(okini().selectedIndexes(), (QList<int>{2, 4}));
    EXPECT_EQ(fav().get_okini_index(), 4);
    sel->select(okini().model()->index(3, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    EXPECT_EQ(fav().get_okini_index(), 2);
    sel->clearSelection();
    EXPECT_EQ(fav().get_okini_index(), 0);
}

TEST_F(ItemMenus, PlayFromTheFavouritesPopup)
{
    addEntries({"a.avi", "b.avi"});
    fav().selectOkini(2);
    fav().List_okini_MouseDown(Qt::RightButton); // the popup came from a right click
    player->commands().trigger(command::okiniPlay);
    EXPECT_EQ(player->video()->movie()->fileName, work("b.avi"));
}

// ---- Deleting and moving entries

TEST_F(ItemMenus, DeletingEntriesTwoAndFourOfFiveSelectsTheEntryNowSecond)
{
    addEntries({"a.avi", "b.avi", "c.avi", "d.avi", "e.avi"});
    for (const char *t : {"a", "b", "c", "d"})
        writeFile(app(QStringLiteral("image/%1.bmp").arg(QLatin1String(t))), "BM");
    selectEntries({2, 4});
    player->commands().trigger(command::deleteItems);
    EXPECT_EQ(entryNames(), (QStringList{"a.avi", "c.avi", "e.avi"}));
    EXPECT_EQ(okini().selectedIndexes(), QList<int>{2});
    EXPECT_EQ(fav().get_okini_index(), 2);
    EXPECT_FALSE(QFileInfo::exists(app("image/b.bmp")));
    EXPECT_FALSE(QFileInfo::exists(app("image/d.bmp")));
    EXPECT_TRUE(QFileInfo::exists(app("image/a.bmp")));
    EXPECT_TRUE(QFileInfo::exists(app("image/c.bmp")));
    EXPECT_TRUE(QFileInfo::exists(work("b.avi"))) << "the media file stays";

    // The last entry: nothing follows it to select.
    fav().selectOkini(3);
    EXPECT_TRUE(player->commands().trigger(command::deleteItems));
    EXPECT_EQ(entryNames(), (QStringList{"a.avi", "c.avi"}));
    EXPECT_TRUE(okini().selectedIndexes().isEmpty());

    // Nothing selected: nothing removed, the first entry selected.
    player->commands().trigger(command::deleteItems);
    EXPECT_EQ(entryNames(), (QStringList{"a.avi", "c.avi"}));
    EXPECT_EQ(okini().selectedIndexes(), QList<int>{1});
}

TEST_F(ItemMenus, DeleteAllAsksAndKeepsTheThumbnails)
{
    addEntries({"a.avi", "b.avi"});
    writeFile(app("image/a.bmp"), "BM");
    dialogs->answers.push_back(Dialogs::Answer::No);
    player->commands().trigger(command::okiniDeleteAll);
    EXPECT_EQ(okini().count(), 2);
    ASSERT_FALSE(dialogs->asked.isEmpty());
    EXPECT_EQ(dialogs->asked.last().text, "全てのアイテムを削除しますか？");
    EXPECT_EQ(dialogs->asked.last().title, "全て削除しますか？");
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    player->commands().trigger(command::okiniDeleteAll);
    EXPECT_EQ(okini().count(), 0);
    EXPECT_TRUE(QFileInfo::exists(app("image/a.bmp")));
}

TEST_F(ItemMenus, MovingAnEntryAndRefusingPositionsOutside)
{
    addEntries({"a.avi", "b.avi", "c.avi", "d.avi", "e.avi"});
    fav().selectOkini(1);
    fav().move_okini_item(1, 3);
    EXPECT_EQ(entryNames(), (QStringList{"b.avi", "c.avi", "a.avi", "d.avi", "e.avi"}));
    EXPECT_EQ(okini().folder(3), work());
    EXPECT_EQ(fav().get_okini_index(), 3) << "the moved entry stays selected";
    fav().move_okini_item(5, 1);
    EXPECT_EQ(entryNames(), (QStringList{"e.avi", "b.avi", "c.avi", "a.avi", "d.avi"}));
    for (const auto &[a, b] : {std::pair{1, 6}, {0, 2}, {6, 1}, {2, 0}, {-1, 9}}) {
        fav().move_okini_item(a, b);
        EXPECT_EQ(entryNames(), (QStringList{"e.avi", "b.avi", "c.avi", "a.avi", "d.avi"})) << a << "→" << b;
    }
}

TEST_F(ItemMenus, AMovedEntryTakesItsPictureAlong)
{
    player->options()->Check_loadthum()->setChecked(false); // thumbnails on
    QImage red(100, 75, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(app("image/p.bmp"), "BMP"));
    // ram files get no thumbnail made: q and r keep the placeholder.
    addEntries({"p.ram", "q.ram", "r.ram"});
    ASSERT_EQ(fav().Image_okini()->count(), 3);
    fav().move_okini_item(1, 3);
    EXPECT_EQ(entryNames(), (QStringList{"q.ram", "r.ram", "p.ram"}));
    ASSERT_EQ(fav().Image_okini()->count(), 3);
    EXPECT_EQ(fav().Image_okini()->picture(3).toImage().pixelColor(50, 40), QColor(Qt::red));
    EXPECT_EQ(fav().Image_okini()->picture(1).toImage(), fav().NoImage().toImage());
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(okini().icon(i), i);
    EXPECT_EQ(okini().icons(), fav().Image_okini());

    // The bitmap is gone by the time of the move: the placeholder goes along.
    QFile::remove(app("image/p.bmp"));
    fav().move_okini_item(3, 1);
    EXPECT_EQ(entryNames(), (QStringList{"p.ram", "q.ram", "r.ram"}));
    EXPECT_EQ(fav().Image_okini()->picture(1).toImage(), fav().NoImage().toImage());
}

TEST_F(ItemMenus, ARightClickOnAResultPopsUpTheFileMenuOverTheResults)
{
    const QString r = touch("deep/r.avi");
    showFiles({"a.avi"});
    showResults({r, work("deep/s.avi")});
    QWidget *vp = found().viewport();
    QTest::mousePress(vp, Qt::RightButton, Qt::NoModifier, rowPoint(found(), 0));
    QTest::mouseRelease(vp, Qt::RightButton, Qt::NoModifier, rowPoint(found(), 0));
    ASSERT_TRUE(testsupport::waitFor([&] { return files().m_FileMenu()->isVisible(); }, 2000));
    EXPECT_EQ(&files().menuTarget(), &player->search()->findTarget());
    EXPECT_FALSE(files().m_OpenDirectory()->isVisible());
    EXPECT_FALSE(files().sep6()->isVisible());
    files().m_FileMenu()->hide();
    testsupport::pump(10);
    EXPECT_TRUE(files().m_OpenDirectory()->isVisible()) << "back once it closed";
}
