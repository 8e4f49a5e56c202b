// Today's video files through the real main window: listed, dropped, kept in the favourites.
#include "support/player_fixture.h"

#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/okini_list.h"
#include "playback/playback.h"
#include "window/video_area.h"

using testsupport::waitFor;
using testsupport::writeFile;

TEST_F(PlayerTest, TodaysContainersAreListedDroppedAndKept)
{
    for (const char *name : {"v/a.MKV", "v/b.mp4", "v/c.webm", "v/d.txt", "v/e.mp3"})
        touch(name);
    writeFile(app("okini.ini"), (work("v/b.mp4") + "\r\n").toUtf8());
    Player &p = start();
    ASSERT_TRUE(p.files()->setFilePath(work("v")));
    EXPECT_EQ(p.files()->File()->listCount(), 3);
    EXPECT_EQ(p.files()->File()->list(0), "a.MKV");
    EXPECT_EQ(p.files()->File()->list(2), "c.webm");

    p.files()->File_Drop({work("v/b.mp4")});
    ASSERT_NE(engines.movie(), nullptr);
    EXPECT_EQ(engines.movie()->loads.back(), work("v/b.mp4"));
    EXPECT_FALSE(p.playback()->nowPlaying().isRealMedia());
    p.files()->File_Drop({work("v/e.mp3")});
    EXPECT_EQ(engines.movie()->loads.size(), 1u) << "audio-only files are not opened";

    ASSERT_TRUE(waitFor([&] { return !p.favourites()->firstLoadPending() && !p.favourites()->isLoadingOkini(); }));
    ASSERT_EQ(p.favourites()->List_okini()->count(), 1);
    restart();
    ASSERT_TRUE(waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    ASSERT_EQ(player->favourites()->List_okini()->count(), 1);
    EXPECT_EQ(player->favourites()->List_okini()->text(1), "b.mp4");
    EXPECT_EQ(testsupport::readFile(app("okini.ini")), (work("v/b.mp4") + "\r\n").toUtf8());
}
