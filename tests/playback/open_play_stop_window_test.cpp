// Opening, playing and stopping through the real main window, with doubles for the engines.
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "input/main_menu.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "playback/playback.h"
#include "scenes/scene_menus.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "widgets/controls.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

class OpenPlayStop : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
    }
    fakes::FakeBackend &movieEngine() { return *engines.movie(); }
};

TEST_F(OpenPlayStop, OpenSetsTheSeekBarTimerCaptionAndHidesTheLogo)
{
    Player &p = *player;
    const QString file = touch("Holiday 2024.avi");
    p.openMedia(file, 0);
    EXPECT_EQ(QString::number(p.playback()->state().durationCode()), "500");
    EXPECT_EQ(p.controls()->SeekBar()->max(), 500);
    EXPECT_EQ(p.controls()->SeekBarForFullscreen()->maximum(), 500);
    EXPECT_EQ(p.controls()->lblMedia[3]->caption(), "0:05");
    EXPECT_TRUE(p.playback()->tmrPosition()->enabled());
    EXPECT_FALSE(p.video()->logo()->isVisibleTo(p.video()->display()));
    EXPECT_FALSE(p.video()->Label_Logo()->isVisibleTo(p.video()->display()));
    EXPECT_EQ(p.windowTitle(), "Holiday 2024");
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    EXPECT_FALSE(movieEngine().paused);
    EXPECT_FALSE(p.playback()->nowPlaying().isRealMedia());
    EXPECT_FALSE(p.video()->rmovie()->isVisibleTo(&p));
}

TEST_F(OpenPlayStop, LongFileTakesItsDurationFromThePositionInterface)
{
    engines.media[work("long.avi")] = {360.0};
    touch("long.avi");
    // The fake engine is made on the first open, with the media table as it is then.
    player->openMedia(work("long.avi"), 0);
    EXPECT_EQ(QString::number(player->playback()->state().durationCode()), "-1");
    EXPECT_EQ(player->controls()->SeekBar()->max(), 36000);
    EXPECT_EQ(player->controls()->lblMedia[3]->caption(), "6:00");
}

TEST_F(OpenPlayStop, FailedOpenHidesTheLogoKeepsTheRangeAndLeavesTheTimerOff)
{
    Player &p = *player;
    p.openMedia(touch("good.avi"), 0);
    p.stop_Click();
    ASSERT_EQ(p.controls()->SeekBar()->max(), 500);
    p.openMedia(touch("broken.avi"), 0);
    EXPECT_EQ(QString::number(p.playback()->state().durationCode()), "0");
    EXPECT_TRUE(p.video()->movie()->fileName.isEmpty());
    EXPECT_FALSE(p.video()->logo()->isVisibleTo(p.video()->display()));
    EXPECT_FALSE(p.playback()->tmrPosition()->enabled());
    EXPECT_EQ(p.controls()->SeekBar()->max(), 500);
}

TEST_F(OpenPlayStop, OpeningThePausedFileResumesIt)
{
    Player &p = *player;
    const QString file = touch("a.avi");
    p.openMedia(file, 0);
    movieEngine().pos = 2.5;
    p.video()->movie()->MediaPlay(2);
    const auto loads = movieEngine().loads.size();
    p.openMedia(file, 0);
    EXPECT_EQ(movieEngine().loads.size(), loads);
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    EXPECT_DOUBLE_EQ(movieEngine().pos, 2.5);
}

TEST_F(OpenPlayStop, PlayCommandTogglesTheOpenFileOnTheSettingsPage)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    p.listPane()->Tab1()->select(4);
    p.playPause();
    EXPECT_EQ(p.video()->movie()->PlayState, 2);
    EXPECT_TRUE(movieEngine().paused);
    p.playPause();
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    EXPECT_FALSE(movieEngine().paused);
}

TEST_F(OpenPlayStop, PlayCommandWithAnEmptyListStopsWhatPlays)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    movieEngine().pos = 3;
    p.listPane()->Tab1()->select(2); // the favourites are empty
    p.playPause();
    EXPECT_EQ(p.video()->movie()->PlayState, 3);
    EXPECT_DOUBLE_EQ(movieEngine().pos, 0);
}

TEST_F(OpenPlayStop, PlayCommandOnTheFilePagePlaysTheFirstRowWhenNoneIsSelected)
{
    Player &p = *player;
    touch("b.mpg");
    touch("a.avi");
    p.files()->File()->setPath(work());
    p.listPane()->Tab1()->select(1);
    p.playPause();
    EXPECT_EQ(p.video()->movie()->fileName, work("a.avi"));
    EXPECT_EQ(p.files()->File()->listIndex(), 0);
    p.playPause(); // the same file: pause
    EXPECT_EQ(p.video()->movie()->PlayState, 2);
}

TEST_F(OpenPlayStop, StopShowsTheLogoAndClosesTheFile)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    movieEngine().pos = 1;
    p.playback()->tmrPosition_Timer();
    ASSERT_EQ(p.controls()->SeekBar()->value(), 100);
    p.stop_Click();
    EXPECT_TRUE(p.video()->logo()->isVisibleTo(p.video()->display()));
    EXPECT_TRUE(p.video()->Label_Logo()->isVisibleTo(p.video()->display()));
    EXPECT_FALSE(p.playback()->tmrPosition()->enabled());
    EXPECT_TRUE(p.video()->movie()->fileName.isEmpty());
    EXPECT_EQ(p.video()->movie()->mobjManager, nullptr);
    EXPECT_EQ(p.controls()->SeekBar()->value(), 0);
    EXPECT_FALSE(movieEngine().isLoaded());
}

TEST_F(OpenPlayStop, ExtensionChoosesTheEngine)
{
    Player &p = *player;
    p.openMedia(touch("a.RM"), 0);
    EXPECT_TRUE(p.playback()->nowPlaying().isRealMedia());
    ASSERT_NE(engines.real(), nullptr);
    EXPECT_EQ(engines.real()->loads.back(), work("a.RM"));
    EXPECT_FALSE(engines.real()->paused) << "a new source plays by itself";
    EXPECT_TRUE(p.video()->rmovie()->isVisibleTo(&p));
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    EXPECT_TRUE(p.playback()->Timer_adjust_volume()->enabled());
    EXPECT_EQ(p.windowTitle(), "a");

    p.openMedia(touch("b.rmvb"), 0);
    EXPECT_FALSE(p.playback()->nowPlaying().isRealMedia());
    EXPECT_FALSE(p.video()->rmovie()->isVisibleTo(&p));
    EXPECT_EQ(engines.movie()->loads.back(), work("b.rmvb"));
    for (const char *ext : {"rm", "RAM", "Ra"}) {
        p.playback()->nowPlaying().checkRealMedia(ext);
        EXPECT_TRUE(p.playback()->nowPlaying().isRealMedia()) << ext;
    }
    p.playback()->nowPlaying().checkRealMedia("rmvb");
    EXPECT_FALSE(p.playback()->nowPlaying().isRealMedia());
}

TEST_F(OpenPlayStop, AnUnknownSpeedChangesNothingAndTheOpenSucceeds)
{
    Player &p = *player;
    p.playback()->bai_Click(3);
    p.playback()->bai_Click(-1);
    p.playback()->bai_Click(4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.commands().action(command::speed(i))->isChecked(), i == 3) << i;
    p.openMedia(touch("a.avi"), 0);
    EXPECT_EQ(p.controls()->SeekBar()->max(), 500);
    EXPECT_EQ(movieEngine().lastRate, 0.5) << "the speed before";
    p.playback()->bai_Click(0);
    EXPECT_EQ(movieEngine().lastRate, 2.0);
}

TEST_F(OpenPlayStop, VolumeOfTheGraphFollowsTheVolumeBar)
{
    Player &p = *player;
    p.controls()->vol()->setValueChecked(50);
    p.openMedia(touch("a.avi"), 0);
    // (50 - 100) × 50 = -2500 hundredths of a decibel.
    EXPECT_EQ(p.video()->movie()->volume, -2500);
    EXPECT_NEAR(movieEngine().volume, 100.0 * std::pow(10.0, -2500 / 6000.0), 0.01);
}

TEST_F(OpenPlayStop, ModeAndSpeedMenusCheckOneItem)
{
    Player &p = *player;
    p.playback()->mode_Click(3);
    EXPECT_EQ(p.playback()->getPlayMode(), PlayMode::Random);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(p.commands().action(command::mode(i))->isChecked());
    p.commands().action(command::mode(0))->trigger(); // the menu item itself
    EXPECT_EQ(p.playback()->getPlayMode(), PlayMode::Normal);
    p.commands().action(command::speed(1))->trigger();
    EXPECT_TRUE(p.commands().action(command::speed(1))->isChecked());
    EXPECT_FALSE(p.commands().action(command::speed(2))->isChecked());
}

TEST_F(OpenPlayStop, RightClickOnTheVideoPopsUpTheMenu)
{
    Player &p = *player;
    QTest::mouseClick(p.video()->display(), Qt::RightButton);
    ASSERT_TRUE(testsupport::waitFor([&] { return p.mainMenu()->menu()->isVisible(); }, 2000));
    EXPECT_FALSE(p.scenes()->m_seen_load()->isEnabled()) << "no file open: no scenes";
    p.mainMenu()->menu()->hide();
    p.openMedia(touch("a.avi"), 0);
    QTest::mouseClick(p.video()->display(), Qt::RightButton);
    ASSERT_TRUE(testsupport::waitFor([&] { return p.mainMenu()->menu()->isVisible(); }, 2000));
    EXPECT_TRUE(p.scenes()->m_seen_load()->isEnabled());
    p.commands().action(command::stop)->trigger();
    EXPECT_TRUE(p.video()->logo()->isVisibleTo(p.video()->display()));
    p.mainMenu()->menu()->hide();
}

TEST_F(OpenPlayStop, ToolbarPlayAndStopButtons)
{
    Player &p = *player;
    touch("a.avi");
    p.files()->File()->setPath(work());
    p.controls()->panelButtons().at("play")->trigger();
    EXPECT_EQ(p.video()->movie()->fileName, work("a.avi"));
    EXPECT_EQ(p.video()->movie()->PlayState, 1);
    p.controls()->panelButtons().at("stop")->trigger();
    EXPECT_TRUE(p.video()->movie()->fileName.isEmpty());
}

TEST_F(OpenPlayStop, CurrentTimeLabelIsCopiedToTheFullScreenStrip)
{
    Player &p = *player;
    p.controls()->lblMedia[4]->setCaption(" 1:23 ");
    EXPECT_EQ(p.controls()->time_forFullscreen()->caption(), " 1:23 ");
    p.controls()->lblMedia[3]->setCaption("9:99");
    EXPECT_EQ(p.controls()->time_forFullscreen()->caption(), " 1:23 ");
}

TEST_F(OpenPlayStop, StoppingAnOrdinaryFileStartsNoRealMediaEngine)
{
    Player &p = *player;
    p.openMedia(touch("good.avi"), 0);
    p.stop_Click();
    p.stop_Click();
    EXPECT_NE(engines.movie(), nullptr);
    EXPECT_EQ(engines.real(), nullptr) << "a second engine costs memory and start-up for nothing";
    // A RealMedia file still gets its engine, and stopping it unloads it.
    engines.media[work("a.rm")] = {5.0};
    p.openMedia(touch("a.rm"), 0);
    ASSERT_NE(engines.real(), nullptr);
    p.stop_Click();
    EXPECT_FALSE(engines.real()->isLoaded());
}
