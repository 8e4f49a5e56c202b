// config.ini through the real main window: what is saved at exit comes back at the next
// start.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "playback/playback.h"
#include "widgets/images.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "platform/profile.h"
#include "widgets/controls.h"
#include "widgets/twips.h"

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
    p.options()->check_resume()->setChecked(true);
    p.options()->Keep_Aspect()->setChecked(true);
    p.options()->check_mode()[2]->setChecked(true);
    for (QCheckBox *c : {p.options()->Check_noTaskbar(), p.options()->Check_auto_hide(), p.options()->Check_show_popup(), p.options()->Check_SeekTop(),
                         p.options()->Check_imagedirchange(), p.options()->Check_soutai(), p.options()->Check_original(), p.options()->Check_usehome()})
        c->setChecked(true);
    p.options()->Check_temae()->setChecked(false);
    p.options()->text_home()->setText(work("home/"));
    p.playback()->mode_Click(2);
    p.playback()->bai_Click(3);
    p.controls()->vol()->setValueChecked(40);
    twips::setWidth(p.listPane()->list(), 5000);
    p.Form_Resize();
    p.options()->Scroll_upper()->setValue(12);
    p.options()->scroll_under()->setValue(34);
    p.favourites()->setOpenImagePath(work("images/"));
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
    EXPECT_TRUE(q.options()->check_resume()->isChecked());
    EXPECT_TRUE(q.options()->Keep_Aspect()->isChecked());
    EXPECT_FALSE(q.options()->check_auto_adjust()->isChecked());
    EXPECT_TRUE(q.options()->check_mode()[2]->isChecked());
    for (QCheckBox *c : {q.options()->Check_noTaskbar(), q.options()->Check_auto_hide(), q.options()->Check_show_popup(), q.options()->Check_SeekTop(),
                         q.options()->Check_imagedirchange(), q.options()->Check_soutai(), q.options()->Check_original(), q.options()->Check_usehome()})
        EXPECT_TRUE(c->isChecked()) << c->objectName().toStdString();
    EXPECT_TRUE(q.commands().action(command::originalSize)->isChecked());
    EXPECT_FALSE(q.options()->Check_temae()->isChecked());
    EXPECT_FALSE(q.commands().action(command::topmost)->isChecked());
    EXPECT_FALSE(q.windowModes()->alwaysOnTop());
    EXPECT_EQ(q.options()->homeDir(), work("home/"));
    EXPECT_EQ(q.options()->text_home()->text(), work("home/"));
    EXPECT_EQ(q.files()->File()->path(), work("home"));
    EXPECT_EQ(q.favourites()->OpenImagePath(), work("images/"));
    EXPECT_EQ(q.playback()->getPlayMode(), PlayMode::Loop);
    EXPECT_TRUE(q.commands().action(command::speed(3))->isChecked());
    EXPECT_EQ(q.controls()->vol()->value(), 40);
    EXPECT_EQ(q.controls()->volForFullscreen()->value(), 40);
    EXPECT_EQ(twips::width(q.listPane()->list()), 4995); // 5000 twips is 333.3 pixels: it snaps to 333
    EXPECT_TRUE(q.listPane()->list()->isVisibleTo(&q));
    EXPECT_EQ(q.options()->Scroll_upper()->value(), 12);
    EXPECT_EQ(q.options()->scroll_under()->value(), 34);
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
    ASSERT_FALSE(p.listPane()->list()->isVisibleTo(&p));
    EXPECT_EQ(p.windowWidth(), shownWidth - twips::width(p.listPane()->list()) - twips::width(p.video()->kyoukai()));
    close();
    EXPECT_EQ(value("other", "ListVisible"), "0");
    EXPECT_EQ(value("Position", "Width"), QString::number(shownWidth));

    Player &q = start();
    EXPECT_FALSE(q.listPane()->list()->isVisibleTo(&q));
    EXPECT_EQ(q.windowWidth(), shownWidth - twips::width(q.listPane()->list()) - twips::width(q.video()->kyoukai()));
    q.BtList_Click();
    EXPECT_TRUE(q.listPane()->list()->isVisibleTo(&q));
    EXPECT_EQ(q.windowWidth(), shownWidth);
}

TEST_F(Config, ListPaneClosedAtStartKeepsItsPagesOffThePicture)
{
    // The command line shows its file on the folder page: with the pane closed that page
    // must not appear over the video, and it comes back with the pane.
    writeConfig("[other]\r\nListVisible=0\r\nListMode=2\r\n");
    const QString file = touch("a.avi");
    Player &p = start({file});
    EXPECT_FALSE(p.listPane()->paneVisible());
    EXPECT_EQ(p.listPane()->Tab1()->selectedIndex(), 1);
    // Capturing a thumbnail belongs to the favourites page: greyed on the folder page.
    const auto icon = [&] { return p.controls()->panelButtons().at("capture")->icon().pixmap(16).toImage(); };
    EXPECT_EQ(icon(), images::buttonImage("capture_mask").pixmap(16).toImage());
    EXPECT_FALSE(p.files()->File()->isVisibleTo(&p));
    EXPECT_FALSE(p.favourites()->List_okini()->isVisibleTo(&p));
    p.BtList_Click();
    EXPECT_TRUE(p.files()->File()->isVisibleTo(&p));
    EXPECT_FALSE(p.favourites()->List_okini()->isVisibleTo(&p));
    p.listPane()->Tab1()->select(2);
    EXPECT_FALSE(p.files()->File()->isVisibleTo(&p));
    EXPECT_TRUE(p.favourites()->List_okini()->isVisibleTo(&p));
}

TEST_F(Config, ASpeedOutsideTheMenuLeavesTheSpeedBefore)
{
    writeConfig("[other]\r\nPlaySpeed=7\r\n");
    Player &p = start();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.commands().action(command::speed(i))->isChecked(), i == 2) << "等倍速, the speed at design time";
    p.playback()->bai_Click(1);
    p.playback()->bai_Click(-1);
    close();
    EXPECT_EQ(value("other", "PlaySpeed"), "1");
}

TEST_F(Config, HidePopupHoldsTheBalloonHelpOption)
{
    Player &p = start();
    p.options()->Check_show_popup()->setChecked(true);
    close();
    EXPECT_EQ(value("option", "HidePopup"), "1");
    Player &q = start();
    q.options()->Check_show_popup()->setChecked(false);
    close();
    EXPECT_EQ(value("option", "HidePopup"), "0");
}

TEST_F(Config, MissingKeysReadAsZero)
{
    writeConfig("[other]\r\nListVisible=1\r\n");
    Player &p = start();
    EXPECT_TRUE(p.commands().action(command::speed(0))->isChecked()) << "２．０倍";
    EXPECT_EQ(p.playback()->getPlayMode(), PlayMode::Normal);
    EXPECT_TRUE(p.commands().action(command::mode(0))->isChecked()) << "通常";
    EXPECT_EQ(p.controls()->vol()->value(), 0);
    EXPECT_FALSE(p.windowModes()->alwaysOnTop());
    EXPECT_FALSE(p.commands().action(command::topmost)->isChecked());
    EXPECT_TRUE(p.options()->check_auto_adjust()->isChecked());
    EXPECT_TRUE(p.options()->check_mode()[0]->isChecked());
}

TEST_F(Config, RefusedValuesLeaveTheControlsAsTheyWereAndLoadingGoesOn)
{
    writeConfig("[volume]\r\nvolume=101\r\n[option]\r\nAutoAdjust=5\r\n"
                "[other]\r\nWindowState=5\r\nListMode=5\r\nmouse_mode=7\r\nListVisible=1\r\nupper_clip=22\r\nPlayMode=2\r\n");
    Player &p = start();
    EXPECT_EQ(p.controls()->vol()->value(), 0) << "the design value";
    EXPECT_FALSE(p.options()->check_auto_adjust()->isChecked());
    EXPECT_FALSE(p.options()->Keep_Aspect()->isChecked());
    EXPECT_FALSE(p.options()->use_fullWindow()->isChecked());
    EXPECT_FALSE(p.isMaximized());
    EXPECT_FALSE(p.isMinimized());
    EXPECT_EQ(p.listPane()->Tab1()->selectedIndex(), 1);
    EXPECT_TRUE(p.options()->check_mode()[0]->isChecked()) << "the design-time mouse mode stays";
    EXPECT_EQ(p.options()->Scroll_upper()->value(), 22);
    EXPECT_EQ(p.playback()->getPlayMode(), PlayMode::Loop);
    close();
    writeConfig("[other]\r\nListMode=0\r\nListVisible=1\r\n");
    EXPECT_EQ(start().listPane()->Tab1()->selectedIndex(), 1);
}

TEST_F(Config, FractionInTheVolumeIsDropped)
{
    writeConfig("[volume]\r\nvolume=55.7\r\n[other]\r\nListVisible=1\r\n");
    EXPECT_EQ(start().controls()->vol()->value(), 55);
}

TEST_F(Config, HomeFolderThatNoLongerExistsStartsTheFileListInTheProgramFolder)
{
    writeConfig(("[directory]\r\nhomeDir=" + work("gone/") + "\r\nLastDir=" + work() + "\r\n"
                 "[other]\r\nuse_homedir=1\r\nListVisible=1\r\n").toUtf8());
    Player &p = start();
    EXPECT_EQ(p.files()->File()->path(), app().chopped(1));
    EXPECT_EQ(p.files()->TabDir()->tag(1), app());
    EXPECT_EQ(p.options()->homeDir(), work("gone/"));
    EXPECT_TRUE(p.options()->text_home()->isEnabled());
}

TEST_F(Config, LastFolderThatNoLongerExistsFallsBackToTheProgramFolder)
{
    writeConfig(("[directory]\r\nLastDir=" + work("gone/") + "\r\n[other]\r\nListVisible=1\r\n").toUtf8());
    Player &p = start();
    EXPECT_EQ(p.files()->TabDir()->tag(1), app());
    EXPECT_FALSE(p.options()->text_home()->isEnabled()) << "use_homedir 0 greys the home folder out";
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

TEST_F(Config, ExitRestoresTheStartupWaveOutLevelOnlyWhenThisRunSetIt)
{
    waveOut->current = 0x12345678u;
    start();
    close();
    EXPECT_TRUE(waveOut->sets.empty()) << "no RealMedia volume was set: the mixer is left as it was";

    Player &p = start();
    p.playback()->applyRealVolume();
    ASSERT_EQ(waveOut->sets.size(), 1u);
    close();
    ASSERT_EQ(waveOut->sets.size(), 2u);
    EXPECT_EQ(waveOut->sets.back(), 0x56785678u) << "both channels get the left level found at start-up";

    // A mixer that could not be read at start-up is never set, nor restored.
    waveOut->sets.clear();
    waveOut->current.reset();
    start().playback()->applyRealVolume();
    close();
    EXPECT_TRUE(waveOut->sets.empty());
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
    bool firstLoadEnded(Player &p) { return !p.favourites()->tmr_okini()->isActive() && !p.favourites()->isLoadingOkini(); }
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
        EXPECT_FALSE(p.options()->Check_loadthum()->isChecked());
        EXPECT_EQ(p.favourites()->thumbnailView(), OkiniView::Thumbnails);
        EXPECT_TRUE(p.favourites()->List_okini()->thumbnails());
        EXPECT_EQ(p.favourites()->List_okini()->count(), 2) << "the list is reloaded, not appended to";
        EXPECT_EQ(p.favourites()->Image_okini()->count(), 2) << "reloaded with a picture per entry";
        EXPECT_TRUE(p.favourites()->m_chage_list()->isEnabled());
        close();
        EXPECT_EQ(value("other", "load_thumbnail"), "0");
    }

    writeConfig("[other]\r\nListVisible=1\r\nload_thumbnail=1\r\n");
    for (int run = 0; run < 2; ++run) {
        Player &p = start();
        ASSERT_TRUE(testsupport::waitFor([&] { return firstLoadEnded(p); }));
        EXPECT_TRUE(p.options()->Check_loadthum()->isChecked());
        EXPECT_EQ(p.favourites()->List_okini()->count(), 2);
        EXPECT_EQ(p.favourites()->Image_okini()->count(), 0) << "no thumbnails are loaded";
        close();
        EXPECT_EQ(value("other", "load_thumbnail"), "1");
    }
}
