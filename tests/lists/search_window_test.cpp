// The search page through the real main window, with doubles for the engines and dialogs.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class Search : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        player->files()->TabDir()->setTag(1, work("tree"));
        player->listPane()->Tab1()->select(3);
    }
    SearchPage &page() { return *player->search(); }
    QString tree(const QString &rel) { return testsupport::writeFile(work("tree/") + rel, ""); }
    // Types the text and presses Enter, then waits for the search to end.
    void searchFor(const QString &text)
    {
        enter(text);
        ASSERT_TRUE(testsupport::waitFor([&] { return !page().isSearching(); }, 20000));
    }
    void enter(const QString &text)
    {
        page().FindText()->setCurrentText(text);
        QTest::keyClick(page().FindText(), Qt::Key_Return);
    }
    QStringList rows()
    {
        QStringList l;
        for (int i = 0; i < page().List_Find()->count(); ++i)
            l.append(page().findRowPath(i));
        return l;
    }
    QPoint rowPoint(int row)
    {
        return page().List_Find()->visualItemRect(page().List_Find()->item(row)).center();
    }
    QList<int> selectedRows()
    {
        QList<int> l;
        for (int i = 0; i < page().List_Find()->count(); ++i)
            if (page().List_Find()->item(i)->isSelected())
                l.append(i);
        return l;
    }
    // Files in folders, enough to keep a search busy for a moment.
    void manyFiles(int folders, int perFolder, const QString &stem = QStringLiteral("clip"))
    {
        for (int d = 0; d < folders; ++d) {
            const QString dir = work(QStringLiteral("tree/d%1/").arg(d, 4, 10, QChar(u'0')));
            QDir().mkpath(dir);
            for (int f = 0; f < perFolder; ++f)
                QFile(dir + QStringLiteral("%1%2.avi").arg(stem).arg(f, 3, 10, QChar(u'0'))).open(QIODevice::WriteOnly);
        }
    }
};

TEST_F(Search, EnterListsTheMatchingMediaFilesWithTheirFolders)
{
    tree("x_abc_y.avi");
    tree("sub/ABC.mpg");
    tree("abc.txt");
    QDir().mkpath(work("tree/abc.avi"));
    searchFor("abc");
    EXPECT_EQ(rows(), (QStringList{work("tree/x_abc_y.avi"), work("tree/sub/ABC.mpg")}));
    EXPECT_EQ(page().List_Find()->item(1)->text(), "ABC.mpg");
    EXPECT_EQ(page().findDirs().at(1), work("tree/sub/"));
    EXPECT_EQ(page().findCount(), 2);
    EXPECT_EQ(page().FindText()->count(), 1);
    // The same text in other letters is remembered once; the list is searched anew.
    searchFor("ABC");
    EXPECT_EQ(page().FindText()->count(), 1);
    EXPECT_EQ(page().List_Find()->count(), 2);
    searchFor("x_");
    EXPECT_EQ(page().FindText()->count(), 2);
    EXPECT_EQ(rows(), (QStringList{work("tree/x_abc_y.avi")}));
}

TEST_F(Search, StopsAtExactly513Results)
{
    manyFiles(6, 100);
    searchFor("clip");
    ASSERT_EQ(page().List_Find()->count(), 513);
    EXPECT_EQ(page().findDirs().size(), 513);
    EXPECT_EQ(rows().last(), work("tree/d0005/clip012.avi"));
}

TEST_F(Search, ALinkLoopEndsWithEachFileOnce)
{
    tree("a/clip.avi");
    ASSERT_EQ(QFile::link(work("tree"), work("tree/a/loop")), true);
    searchFor("clip");
    EXPECT_EQ(rows(), (QStringList{work("tree/a/clip.avi")}));
}

TEST_F(Search, ASecondEnterDuringASearchIsIgnored)
{
    manyFiles(40, 50);
    enter("clip");
    ASSERT_TRUE(page().isSearching());
    enter("clip007");
    ASSERT_TRUE(testsupport::waitFor([&] { return !page().isSearching(); }, 20000));
    EXPECT_EQ(page().List_Find()->count(), 513); // the first search's results, once
    EXPECT_EQ(page().FindText()->count(), 1);
}

TEST_F(Search, EscStopsTheSearchAndKeepsWhatItFound)
{
    manyFiles(40, 50);
    QSignalSpy finished(&page(), &SearchPage::searchFinished);
    enter("clip");
    QTest::keyClick(page().FindText(), Qt::Key_Escape);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(page().isSearching());
    const QStringList found = rows();
    EXPECT_LE(found.size(), 513);
    for (int i = 0; i < found.size(); ++i) // in order, none missing before the last
        EXPECT_EQ(found.at(i), work(QStringLiteral("tree/d%1/clip%2.avi").arg(i / 50, 4, 10, QChar(u'0')).arg(i % 50, 3, 10, QChar(u'0'))));
}

TEST_F(Search, TheWindowAnswersWhileTwentyThousandFilesAreSearched)
{
    manyFiles(200, 100, QStringLiteral("f"));
    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    QTimer beat;
    beat.setInterval(100);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        worst = std::max(worst, clock.elapsed() - last);
        last = clock.elapsed();
    });
    clock.start();
    beat.start();
    searchFor("nothing-matches");
    testsupport::pump(250); // one beat after the end as well
    EXPECT_LT(worst, 350) << "a 100 ms timer came " << worst - 100 << " ms late";
    EXPECT_EQ(page().List_Find()->count(), 0);
}

TEST_F(Search, ClosingMidSearchSavesTheResultsSoFar)
{
    manyFiles(40, 50);
    enter("clip");
    close();
    const auto records = testsupport::readFile(app("searchData.ini"));
    const QList<QByteArray> lines = records.split('\n');
    EXPECT_LE(lines.size(), 514);
    for (const QByteArray &line : lines) {
        if (!line.isEmpty()) {
            EXPECT_TRUE(line.startsWith('"') && line.endsWith("\"\r")) << line.toStdString();
        }
    }
}

TEST_F(Search, ResultsComeBackAfterARestartAndPlay)
{
    tree("clips/a.avi");
    tree("b.avi");
    searchFor("");
    Player &p = restart();
    const QByteArray saved = testsupport::readFile(app("searchData.ini"));
    EXPECT_EQ(saved, ("\"" + work("tree/") + "\",\"b.avi\"\r\n\"" + work("tree/clips/") + "\",\"a.avi\"\r\n").toUtf8());
    p.listPane()->Tab1()->select(3);
    ASSERT_EQ(p.search()->List_Find()->count(), 2);
    EXPECT_EQ(p.search()->findRowPath(1), work("tree/clips/a.avi"));
    QTest::mouseDClick(p.search()->List_Find()->viewport(), Qt::LeftButton, {},
                       p.search()->List_Find()->visualItemRect(p.search()->List_Find()->item(1)).center());
    ASSERT_TRUE(engines.movie());
    ASSERT_FALSE(engines.movie()->loads.empty());
    EXPECT_EQ(engines.movie()->loads.back(), work("tree/clips/a.avi"));
}

TEST_F(Search, SavedRelativeToTheProgramFolderWithSoutai)
{
    player->options()->Check_soutai()->setChecked(true);
    player->files()->TabDir()->setTag(1, app("media"));
    testsupport::writeFile(app("media/clips/a.avi"), "");
    searchFor("a");
    close();
    EXPECT_EQ(testsupport::readFile(app("searchData.ini")), QByteArray("\"./media/clips/\",\"a.avi\"\r\n"));
    Player &p = start();
    EXPECT_EQ(p.search()->findRowPath(0), app("media/clips/a.avi"));
}

TEST_F(Search, AtMost513SavedResultsAreRead)
{
    close();
    QByteArray data;
    for (int i = 0; i < 600; ++i)
        data += "\"/m/\",\"" + QByteArray::number(i) + ".avi\"\r\n";
    testsupport::writeFile(app("searchData.ini"), data);
    Player &p = start();
    EXPECT_EQ(p.search()->List_Find()->count(), 513);
}

TEST_F(Search, DragSelectionTogglesTheRowsPassedOver)
{
    for (int i = 0; i < 8; ++i)
        tree(QStringLiteral("c%1.avi").arg(i));
    searchFor("c");
    QWidget *vp = page().List_Find()->viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, rowPoint(2));
    for (int row : {3, 4, 5}) { // dragged with the button held
        QMouseEvent move(QEvent::MouseMove, rowPoint(row), vp->mapToGlobal(rowPoint(row)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
    }
    QTest::mouseRelease(vp, Qt::LeftButton, {}, rowPoint(5));
    EXPECT_EQ(selectedRows(), (QList<int>{2, 3, 4, 5}));
    // Pressing and releasing on one row selects only it.
    QTest::mouseClick(vp, Qt::LeftButton, {}, rowPoint(1));
    EXPECT_EQ(selectedRows(), (QList<int>{1}));
}

TEST_F(Search, RightClickKeepsASelectedRowsSelectionElseSelectsOnlyTheRow)
{
    for (int i = 0; i < 5; ++i)
        tree(QStringLiteral("c%1.avi").arg(i));
    searchFor("c");
    QSignalSpy wanted(&page(), &SearchPage::fileMenuWanted);
    for (int r : {0, 1, 2})
        page().List_Find()->item(r)->setSelected(true);
    QTest::mouseClick(page().List_Find()->viewport(), Qt::RightButton, {}, rowPoint(1));
    EXPECT_EQ(selectedRows(), (QList<int>{0, 1, 2}));
    QTest::mouseClick(page().List_Find()->viewport(), Qt::RightButton, {}, rowPoint(4));
    EXPECT_EQ(selectedRows(), (QList<int>{4}));
    EXPECT_EQ(page().selectedResultPaths(), QStringList{work("tree/c4.avi")});
    EXPECT_EQ(wanted.size(), 2);
}

TEST_F(Search, SelectedResultsJoinTheFavouritesLastFirst)
{
    ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    tree("a/one.avi");
    tree("b/two.avi");
    tree("c/three.avi");
    searchFor("");
    page().List_Find()->item(0)->setSelected(true);
    page().List_Find()->item(2)->setSelected(true);
    page().add_selected_found();
    ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->isAdding(); }));
    OkiniList *l = player->favourites()->List_okini();
    ASSERT_EQ(l->count(), 2);
    EXPECT_EQ(l->folder(1) + l->text(1), work("tree/c/three.avi"));
    EXPECT_EQ(l->folder(2) + l->text(2), work("tree/a/one.avi"));
}

TEST_F(Search, ChangeDirSetsTheCurrentFolderAndTheHeader)
{
    QDir().mkpath(work("other"));
    dialogs->folders.push_back(work("other"));
    QTest::mouseClick(page().bt_change_dir(), Qt::LeftButton);
    EXPECT_EQ(player->files()->TabDir()->tag(1), work("other"));
    EXPECT_EQ(QDir::cleanPath(player->files()->File()->path()), QDir::cleanPath(work("other")));
    EXPECT_EQ(page().txt_current_dir()->text(), "current = " + work("other") + "   以下を検索");
    EXPECT_EQ(dialogs->asked.last().title, "変更するフォルダを選択してください");
    // Cancelled: nothing changes.
    QTest::mouseClick(page().bt_change_dir(), Qt::LeftButton);
    EXPECT_EQ(player->files()->TabDir()->tag(1), work("other"));
}

TEST_F(Search, SearchBoxControlsAreLaidOutForItsWidth)
{
    Player &p = *player;
    EXPECT_EQ(page().labelFind()->text(), "検索");
    EXPECT_EQ(page().FindText()->insertPolicy(), QComboBox::NoInsert);
    EXPECT_EQ(page().List_Find()->selectionMode(), QAbstractItemView::ExtendedSelection);
    p.listPane()->layoutListPane();
    const int findWidth = twips::width(p.listPane()->find());
    EXPECT_EQ(twips::width(page().txt_current_dir()), findWidth);
    EXPECT_NEAR(twips::left(page().bt_change_dir()), twips::left(page().FindText()) + twips::width(page().FindText()) + 40, 15);
    EXPECT_GT(twips::width(page().FindText()), 1000);
    EXPECT_EQ(page().txt_current_dir()->text(), "current = " + work("tree") + "   以下を検索");
}

TEST_F(Search, TheFolderButtonLiesWhollyInsideThePageAtEveryListWidth)
{
    Player &p = *player;
    SearchPage &s = page();
    QWidget *window = s.bt_change_dir()->window();
    QTabBar *bar = p.listPane()->Tab1()->tabBar();
    int checked = 0;
    auto check = [&](int step) {
        QApplication::processEvents();
        const QRect button(s.bt_change_dir()->mapTo(window, QPoint(0, 0)), s.bt_change_dir()->size());
        const QRect tabs(bar->mapTo(window, QPoint(0, 0)), bar->size());
        const QRect frame(p.listPane()->find()->mapTo(window, QPoint(0, 0)), p.listPane()->find()->size());
        if (tabs.left() - frame.left() < button.width())
            return; // a page narrower than the button itself
        ++checked;
        EXPECT_LT(button.right(), tabs.left()) << "step " << step << ": the page tabs cover the button";
        EXPECT_TRUE(QRect(QPoint(0, 0), frame.size()).contains(s.bt_change_dir()->geometry()))
            << "step " << step << ": the search frame cuts the button";
        if (tabs.left() - frame.left() > twips::toPixelsX(1000)) {
            EXPECT_GT(button.left(), QRect(s.FindText()->mapTo(window, QPoint(0, 0)), s.FindText()->size()).right())
                << "step " << step << ": the button lies beside the text";
        }
    };
    check(0);
    for (int i = 1; i <= 6; ++i) {
        p.size_bar_ButtonClick(QStringLiteral("add"));
        check(i);
    }
    for (int i = 1; i <= 30; ++i) {
        p.size_bar_ButtonClick(QStringLiteral("sub"));
        check(-i);
    }
    EXPECT_GE(checked, 20);
}
