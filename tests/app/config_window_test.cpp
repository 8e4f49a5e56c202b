// config.ini through the real main window: what is saved at exit comes back at the next
// start.
#include "support/player_fixture.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "platform/profile.h"
#include "window/twips.h"
#include "window/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

using testsupport::writeFile;

class Config : public PlayerTest
{
protected:
    QString value(const char *section, const char *key)
    {
        return platform::getPrivateProfileString(section, key, "<missing>", app("config.ini"));
    }
    void writeConfig(const QByteArray &text) { writeFile(app("config.ini"), text); }
};

TEST_F(Config, SaveThenLoadReproducesEverySetting)
{
    QDir().mkpath(work("home"));
    Player &p = start();
    p.check_resume->setChecked(true);
    p.Keep_Aspect->setChecked(true);
    p.check_mode[2]->setChecked(true);
    for (QCheckBox *c : {p.Check_noTaskbar, p.Check_auto_hide, p.Check_show_popup, p.Check_SeekTop,
                         p.Check_imagedirchange, p.Check_soutai, p.Check_original, p.Check_usehome})
        c->setChecked(true);
    p.Check_temae->setChecked(false);
    p.text_home->setText(work("home/"));
    p.mode_Click(2);
    p.bai_Click(3);
    p.vol->setValueChecked(40);
    twips::setWidth(p.list, 5000);
    p.Form_Resize();
    p.Scroll_upper->setValue(12);
    p.scroll_under->setValue(34);
    p.OpenImagePath = work("images/");
    p.move(60, 45);
    p.resize(1000, 620);
    const int left = p.windowLeft(), top = p.windowTop(), width = p.windowWidth(), height = p.windowHeight();
    close();

    EXPECT_EQ(value("Position", "Width"), QString::number(width));
    EXPECT_EQ(value("other", "PlayMode"), "2");
    EXPECT_EQ(value("other", "PlaySpeed"), "3");
    EXPECT_EQ(value("other", "Temae"), "0");
    EXPECT_EQ(value("option", "AutoAdjust"), "1");
    EXPECT_EQ(value("other", "mouse_mode"), "2");

    Player &q = start();
    EXPECT_TRUE(q.check_resume->isChecked());
    EXPECT_TRUE(q.Keep_Aspect->isChecked());
    EXPECT_FALSE(q.check_auto_adjust->isChecked());
    EXPECT_TRUE(q.check_mode[2]->isChecked());
    for (QCheckBox *c : {q.Check_noTaskbar, q.Check_auto_hide, q.Check_show_popup, q.Check_SeekTop,
                         q.Check_imagedirchange, q.Check_soutai, q.Check_original, q.Check_usehome})
        EXPECT_TRUE(c->isChecked()) << c->objectName().toStdString();
    EXPECT_TRUE(q.original->isChecked());
    EXPECT_FALSE(q.Check_temae->isChecked());
    EXPECT_FALSE(q.m_temae->isChecked());
    EXPECT_FALSE(q.alwaysOnTop);
    EXPECT_EQ(q.homeDir, work("home/"));
    EXPECT_EQ(q.text_home->text(), work("home/"));
    EXPECT_EQ(q.File->path(), work("home"));
    EXPECT_EQ(q.OpenImagePath, work("images/"));
    EXPECT_EQ(q.getPlayMode(), 2);
    EXPECT_TRUE(q.bai[3]->isChecked());
    EXPECT_EQ(q.vol->value(), 40);
    EXPECT_EQ(q.volForFullscreen->value(), 40);
    EXPECT_EQ(twips::width(q.list), 4995); // 5000 twips is 333.3 pixels: it snaps to 333
    EXPECT_TRUE(q.list->isVisibleTo(&q));
    EXPECT_EQ(q.Scroll_upper->value(), 12);
    EXPECT_EQ(q.scroll_under->value(), 34);
    EXPECT_EQ(q.windowLeft(), left);
    EXPECT_EQ(q.windowTop(), top);
    EXPECT_EQ(q.windowWidth(), width);
    EXPECT_EQ(q.windowHeight(), height);

    // Another round changes nothing. (The first one moved the file list to the home
    // folder, which use_homedir asks for; LastDir follows it.)
    close();
    const QByteArray once = testsupport::readFile(app("config.ini"));
    restart();
    close();
    EXPECT_EQ(testsupport::readFile(app("config.ini")), once);
}

TEST_F(Config, MaximisedWindowSavesItsNormalRectangleAndComesBackMaximised)
{
    Player &p = start();
    p.move(30, 20);
    p.resize(900, 560);
    const int width = p.windowWidth(), height = p.windowHeight(), left = p.windowLeft();
    p.showMaximized();
    testsupport::waitFor([&] { return p.isMaximized(); }, 2000);
    close();
    EXPECT_EQ(value("other", "WindowState"), "2");
    EXPECT_EQ(value("Position", "Width"), QString::number(width));
    EXPECT_EQ(value("Position", "Height"), QString::number(height));
    EXPECT_EQ(value("Position", "Left"), QString::number(left));

    Player &q = start();
    EXPECT_TRUE(q.isMaximized());
    EXPECT_EQ(twips::fromPixelsX(q.normalGeometry().width()), width);
}

TEST_F(Config, HiddenListPaneSavesTheWidthWithThePaneShown)
{
    Player &p = start();
    const int shownWidth = p.windowWidth();
    p.BtList_Click();
    ASSERT_FALSE(p.list->isVisibleTo(&p));
    EXPECT_EQ(p.windowWidth(), shownWidth - twips::width(p.list) - twips::width(p.kyoukai));
    close();
    EXPECT_EQ(value("other", "ListVisible"), "0");
    EXPECT_EQ(value("Position", "Width"), QString::number(shownWidth));

    Player &q = start();
    EXPECT_FALSE(q.list->isVisibleTo(&q));
    EXPECT_EQ(q.windowWidth(), shownWidth - twips::width(q.list) - twips::width(q.kyoukai));
    q.BtList_Click();
    EXPECT_TRUE(q.list->isVisibleTo(&q));
    EXPECT_EQ(q.windowWidth(), shownWidth);
}

TEST_F(Config, NoSpeedCheckedIsWrittenAsMinusOne)
{
    Player &p = start();
    p.bai_Click(-1);
    close();
    EXPECT_EQ(value("other", "PlaySpeed"), "-1");
    Player &q = start();
    for (QAction *a : q.bai)
        EXPECT_FALSE(a->isChecked());
}

TEST_F(Config, HidePopupHoldsTheBalloonHelpOption)
{
    Player &p = start();
    p.Check_show_popup->setChecked(true);
    close();
    EXPECT_EQ(value("option", "HidePopup"), "1");
    Player &q = start();
    q.Check_show_popup->setChecked(false);
    close();
    EXPECT_EQ(value("option", "HidePopup"), "0");
}

TEST_F(Config, MissingKeysReadAsZero)
{
    writeConfig("[other]\r\nListVisible=1\r\n");
    Player &p = start();
    EXPECT_TRUE(p.bai[0]->isChecked()) << "２．０倍";
    EXPECT_EQ(p.getPlayMode(), 0);
    EXPECT_TRUE(p.mode[0]->isChecked()) << "通常";
    EXPECT_EQ(p.vol->value(), 0);
    EXPECT_FALSE(p.alwaysOnTop);
    EXPECT_FALSE(p.m_temae->isChecked());
    EXPECT_TRUE(p.check_auto_adjust->isChecked());
    EXPECT_TRUE(p.check_mode[0]->isChecked());
}

TEST_F(Config, RefusedValuesLeaveTheControlsAsTheyWereAndLoadingGoesOn)
{
    writeConfig("[volume]\r\nvolume=101\r\n[option]\r\nAutoAdjust=5\r\n"
                "[other]\r\nWindowState=5\r\nListMode=5\r\nmouse_mode=7\r\nListVisible=1\r\nupper_clip=22\r\nPlayMode=2\r\n");
    Player &p = start();
    EXPECT_EQ(p.vol->value(), 0) << "the design value";
    EXPECT_FALSE(p.check_auto_adjust->isChecked());
    EXPECT_FALSE(p.Keep_Aspect->isChecked());
    EXPECT_FALSE(p.use_fullWindow->isChecked());
    EXPECT_FALSE(p.isMaximized());
    EXPECT_FALSE(p.isMinimized());
    EXPECT_EQ(p.Tab1->selectedIndex(), 1);
    EXPECT_TRUE(p.check_mode[0]->isChecked()) << "the design-time mouse mode stays";
    EXPECT_EQ(p.Scroll_upper->value(), 22);
    EXPECT_EQ(p.getPlayMode(), 2);
    close();
    writeConfig("[other]\r\nListMode=0\r\nListVisible=1\r\n");
    EXPECT_EQ(start().Tab1->selectedIndex(), 1);
}

TEST_F(Config, FractionInTheVolumeIsDropped)
{
    writeConfig("[volume]\r\nvolume=55.7\r\n[other]\r\nListVisible=1\r\n");
    EXPECT_EQ(start().vol->value(), 55);
}

TEST_F(Config, HomeFolderThatNoLongerExistsStartsTheFileListInTheProgramFolder)
{
    writeConfig(("[directory]\r\nhomeDir=" + work("gone/") + "\r\nLastDir=" + work() + "\r\n"
                 "[other]\r\nuse_homedir=1\r\nListVisible=1\r\n").toUtf8());
    Player &p = start();
    EXPECT_EQ(p.File->path(), app().chopped(1));
    EXPECT_EQ(p.TabDir->tag(1), app());
    EXPECT_EQ(p.homeDir, work("gone/"));
    EXPECT_TRUE(p.text_home->isEnabled());
}

TEST_F(Config, LastFolderThatNoLongerExistsFallsBackToTheProgramFolder)
{
    writeConfig(("[directory]\r\nLastDir=" + work("gone/") + "\r\n[other]\r\nListVisible=1\r\n").toUtf8());
    Player &p = start();
    EXPECT_EQ(p.TabDir->tag(1), app());
    EXPECT_FALSE(p.text_home->isEnabled()) << "use_homedir 0 greys the home folder out";
    close();
    EXPECT_EQ(value("directory", "LastDir"), app());
}

TEST_F(Config, WindowOnASecondMonitorComesBackWhereItWas)
{
    writeConfig("[Position]\r\nLeft=40005\r\nTop=1500\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n"
                "[volume]\r\nvolume=100\r\n[other]\r\nListVisible=1\r\n");
    Player &p = start();
    EXPECT_EQ(p.windowLeft(), 40005);
    EXPECT_EQ(p.windowWidth(), 13500);
    close();
    EXPECT_EQ(value("Position", "Left"), "40005");
}

TEST_F(Config, ExitRestoresTheStartupWaveOutLevelOnBothChannels)
{
    waveOut->current = 0x12345678u;
    start();
    close();
    ASSERT_FALSE(waveOut->sets.empty());
    EXPECT_EQ(waveOut->sets.back(), 0x56785678u);
}

// The favourites box "サムネイルをロードしない" through the first list load and a restart.
class FirstListLoad : public Config
{
protected:
    void writeLongList(int n)
    {
        QByteArray lines;
        for (int i = 0; i < n; ++i)
            lines += writeFile(work(QStringLiteral("many/clip%1.avi").arg(i)), "").toUtf8() + "\r\n";
        writeFile(app("okini.ini"), lines);
    }
    bool firstLoadEnded(Player &p) { return !p.tmr_okini->isActive() && !p.isLoadingOkini(); }
};

TEST_F(FirstListLoad, CloseAtAnyMomentKeepsTheConfiguredLoadThumbnail)
{
    writeLongList(20000);
    for (const char *stored : {"1", "0"}) {
        for (int delayMs : {0, 40, 80, 160, 320}) {
            writeConfig(QByteArray("[other]\r\nListVisible=1\r\nload_thumbnail=") + stored + "\r\n");
            Player &p = start();
            bool closed = false;
            QTimer::singleShot(delayMs, &p, [&] {
                p.close();
                closed = true;
            });
            ASSERT_TRUE(testsupport::waitFor([&] { return closed; }, 20000));
            close();
            EXPECT_EQ(value("other", "load_thumbnail"), stored) << "closed after " << delayMs << " ms";
        }
    }
}

TEST_F(FirstListLoad, ThumbnailViewComesBackAfterARestart)
{
    writeFile(app("okini.ini"), (touch("a.avi") + "\r\n" + touch("b.mpg") + "\r\n").toUtf8());
    writeConfig("[other]\r\nListVisible=1\r\nload_thumbnail=0\r\n");
    for (int run = 0; run < 2; ++run) {
        Player &p = run == 0 ? start() : restart();
        ASSERT_TRUE(testsupport::waitFor([&] { return firstLoadEnded(p); }));
        EXPECT_FALSE(p.Check_loadthum->isChecked());
        EXPECT_EQ(p.thumbnailView, -1);
        EXPECT_TRUE(p.List_okini->thumbnails());
        EXPECT_EQ(p.List_okini->count(), 2) << "the list is reloaded, not appended to";
        EXPECT_EQ(p.Image_okini->count(), 2) << "reloaded with a picture per entry";
        EXPECT_TRUE(p.m_chage_list->isEnabled());
        close();
        EXPECT_EQ(value("other", "load_thumbnail"), "0");
    }

    writeConfig("[other]\r\nListVisible=1\r\nload_thumbnail=1\r\n");
    for (int run = 0; run < 2; ++run) {
        Player &p = start();
        ASSERT_TRUE(testsupport::waitFor([&] { return firstLoadEnded(p); }));
        EXPECT_TRUE(p.Check_loadthum->isChecked());
        EXPECT_EQ(p.List_okini->count(), 2);
        EXPECT_EQ(p.Image_okini->count(), 0) << "no thumbnails are loaded";
        close();
        EXPECT_EQ(value("other", "load_thumbnail"), "1");
    }
}
