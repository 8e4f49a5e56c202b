// The thumbnail chooser and the refresh of an entry's picture.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/form_open_image.h"
#include "lists/okini_list.h"
#include "lists/thumbnail_maker.h"
#include "widgets/timer.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>

using testsupport::readFile;
using testsupport::writeFile;

class Chooser : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    }
};

TEST_F(Chooser, APictureBecomesTheSelectedEntrysThumbnail)
{
    FavouritesPage &f = *player->favourites();
    f.add_okini_item(work().chopped(1), touch("clip.avi").mid(work().size()));
    f.add_okini_item(work().chopped(1), touch("other.avi").mid(work().size()));
    // The entries' own thumbnails (placeholders: the files hold no video) are made first.
    ASSERT_TRUE(testsupport::waitFor([&] { return f.thumbnails()->pendingCount() == 0; }));
    f.selectOkini(1);
    QImage red(200, 100, QImage::Format_RGB32);
    red.fill(Qt::red);
    QDir().mkpath(work("pics"));
    ASSERT_TRUE(red.save(work("pics/wide.JPG"), "JPG"));
    writeFile(work("pics/broken.gif"), "not a picture");
    f.setOpenImagePath(work("pics/"));

    player->commands().trigger(command::okiniThumbnail);
    ASSERT_TRUE(f.chooser());
    Form_OpenImage &c = *f.chooser();
    EXPECT_EQ(c.windowTitle(), QString::fromUtf8("サムネイル画像の選択"));
    EXPECT_EQ(c.image_name->text(), app("image/clip.bmp"));
    EXPECT_EQ(c.File1->listCount(), 2) << "bmp, jpg and gif in any letter case";
    EXPECT_FALSE(c.bt_save->isEnabled());

    EXPECT_FALSE(c.File1_Click(work("pics/broken.gif")));
    EXPECT_FALSE(c.bt_save->isEnabled()) << "an unreadable picture leaves nothing to save";
    ASSERT_TRUE(c.File1_Click(work("pics/wide.JPG")));
    EXPECT_TRUE(c.bt_save->isEnabled());
    const QImage preview = c.preview();
    EXPECT_EQ(preview.size(), QSize(100, 75));
    EXPECT_GT(qRed(preview.pixel(50, 37)), 200) << "the picture, 100 × 50 in the middle";
    EXPECT_NE(preview.pixel(50, 5), preview.pixel(50, 37)) << "the background above it";

    f.selectOkini(2); // the window is not modal: the selection may change meanwhile
    c.bt_save->click();
    EXPECT_TRUE(!f.chooser() || !f.chooser()->isVisible()) << "saving closes the chooser";
    EXPECT_EQ(QFileInfo(app("image/clip.bmp")).size(), 22554) << "100 × 75, 24 bits, bottom-up";
    EXPECT_EQ(f.get_okini_index(), 1) << "the entry it was opened for is refreshed and selected";
    EXPECT_GT(qRed(f.Image_okini()->picture(1).toImage().pixel(50, 37)), 200);
    EXPECT_EQ(f.OpenImagePath(), work("pics/"));

    f.delete_thumbnail(1);
    EXPECT_FALSE(QFileInfo::exists(app("image/clip.bmp")));
}

TEST_F(Chooser, AFolderThatIsGoneOpensTheProgramFolder)
{
    FavouritesPage &f = *player->favourites();
    f.add_okini_item(work().chopped(1), touch("clip.avi").mid(work().size()));
    f.selectOkini(1);
    f.setOpenImagePath(work("gone/"));
    player->commands().trigger(command::okiniThumbnail);
    ASSERT_TRUE(f.chooser());
    EXPECT_EQ(f.chooser()->folder(), app().chopped(1));
    QPointer<Form_OpenImage> c = f.chooser();
    player->close(); // shutdown closes the chooser
    EXPECT_TRUE(!c || !c->isVisible());
}
