// Next and previous over the list of the page shown, in order and at random, and what
// happens at the end of a file in continuous and random mode.
#include "support/player_fixture.h"

#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "widgets/timer.h"
#include "window/video_area.h"

#include <QFile>
#include <QListWidget>

class PlayOrder : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        player->favourites()->tmr_okini()->setEnabled(false);
        player->playback()->tmrPosition()->setInterval(100000); // the test ticks by hand
        for (const char *n : {"v/a.avi", "v/b.avi", "v/c.avi"})
            touch(n);
        player->files()->setFilePath(work("v"));
        player->listPane()->Tab1()->select(1);
    }
    QString opened() const
    {
        return engines.movie() && !engines.movie()->loads.empty() ? engines.movie()->loads.back() : QString();
    }
    int fileRow() const { return player->files()->File()->listIndex(); }
    // Draws that pick the given rows of n, one after the other.
    void drawRows(std::vector<int> rows, int n)
    {
        player->playback()->picker() = RandomPicker([rows, n, i = std::size_t(0)]() mutable {
            const int r = rows[std::min(i++, rows.size() - 1)];
            return (r + 0.5) / n;
        });
    }
};

TEST_F(PlayOrder, FileListWrapsAndStartsFromNoSelection)
{
    Player &p = *player;
    p.playback()->mode_Click(1);
    p.playNext(); // no selection counts as row -1
    EXPECT_EQ(fileRow(), 0);
    EXPECT_EQ(opened(), work("v/a.avi"));
    p.files()->File()->setListIndex(2);
    p.playNext();
    EXPECT_EQ(fileRow(), 0) << "past the last row: the first";
    EXPECT_EQ(p.files()->File()->topIndex(), 0);
    p.playPrevious();
    EXPECT_EQ(fileRow(), 2) << "before the first row: the last";
    EXPECT_EQ(opened(), work("v/c.avi"));
    p.playPrevious();
    EXPECT_EQ(fileRow(), 1);
    EXPECT_EQ(opened(), work("v/b.avi"));
    p.files()->File()->setListIndex(-1);
    p.playPrevious();
    EXPECT_EQ(fileRow(), 2);
}

TEST_F(PlayOrder, AMissingFileOnTheFilePageRefreshesTheList)
{
    Player &p = *player;
    p.files()->File()->setListIndex(0);
    QFile::remove(work("v/b.avi"));
    p.playNext();
    EXPECT_TRUE(engines.movies.empty() || engines.movie()->loads.empty()) << "nothing plays";
    EXPECT_EQ(p.files()->File()->listCount(), 2) << "the folder was read again";
}

TEST_F(PlayOrder, AMissingFavouriteAsksAndRemovesItOnYes)
{
    Player &p = *player;
    p.listPane()->Tab1()->select(2);
    p.favourites()->add_okini_item(work("v"), "a.avi");
    p.favourites()->add_okini_item(work("v"), "gone.avi");
    p.favourites()->selectOkini(1);
    dialogs->answers = {Dialogs::Answer::No};
    p.playNext();
    ASSERT_FALSE(dialogs->asked.isEmpty());
    EXPECT_EQ(dialogs->asked.last().text, work("v/gone.avi") + QString::fromUtf8("が存在しません 削除しますか?"));
    EXPECT_EQ(p.favourites()->List_okini()->count(), 2) << "No keeps the entry";
    EXPECT_TRUE(opened().isEmpty());

    p.favourites()->selectOkini(1);
    dialogs->answers = {Dialogs::Answer::Yes};
    p.playNext();
    ASSERT_EQ(p.favourites()->List_okini()->count(), 1);
    EXPECT_EQ(p.favourites()->okiniText(1), "a.avi");
    EXPECT_TRUE(opened().isEmpty()) << "Yes removes it and plays nothing";

    p.playNext(); // one entry: after it comes the first again
    EXPECT_EQ(opened(), work("v/a.avi"));
    EXPECT_EQ(p.favourites()->get_okini_index(), 1);
}

TEST_F(PlayOrder, OptionsPageAndFolderlessSearchRowsPlayNothing)
{
    Player &p = *player;
    p.listPane()->Tab1()->select(4);
    p.playNext();
    p.playPrevious();
    EXPECT_TRUE(opened().isEmpty());

    p.listPane()->Tab1()->select(3);
    p.search()->showResults({{work("v/"), "a.avi"}, {QString(), "b.avi"}}); // the second row has no folder
    p.search()->List_Find()->setCurrentRow(0);
    p.playNext();
    EXPECT_TRUE(opened().isEmpty()) << "a row without a folder is never looked for in the working folder";
    EXPECT_EQ(p.search()->List_Find()->currentRow(), 1);
    p.playNext();
    EXPECT_EQ(opened(), work("v/a.avi"));
    EXPECT_EQ(p.search()->findRowPath(0), work("v/a.avi"));
    EXPECT_TRUE(p.search()->findRowPath(1).isEmpty());
}

TEST_F(PlayOrder, RandomModeOnOneRowPlaysItAgain)
{
    Player &p = *player;
    QFile::remove(work("v/b.avi"));
    QFile::remove(work("v/c.avi"));
    p.files()->File()->refresh();
    p.playback()->mode_Click(3);
    p.playNext();
    p.playNext();
    ASSERT_NE(engines.movie(), nullptr);
    EXPECT_EQ(engines.movie()->loads, (std::vector<QString>{work("v/a.avi"), work("v/a.avi")}))
        << "the one row plays again";
    EXPECT_EQ(fileRow(), 0);
}

TEST_F(PlayOrder, ContinuousAndRandomModesGoOnAtTheEndOfAFile)
{
    Player &p = *player;
    p.playback()->mode_Click(1);
    p.files()->File()->setListIndex(0);
    p.openMedia(work("v/a.avi"), 0);
    engines.movie()->playToEnd();
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(opened(), work("v/b.avi"));

    p.playback()->mode_Click(3);
    drawRows({2}, 3);
    engines.movie()->playToEnd();
    p.playback()->tmrPosition_Timer();
    EXPECT_EQ(opened(), work("v/c.avi"));
    EXPECT_EQ(fileRow(), 2);
}
