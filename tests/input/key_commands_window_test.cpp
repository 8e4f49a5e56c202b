// The keys of the main window: held seeks, the volume, the rows a release runs, where keys
// are taken from, and the releases that are left alone.
#include "support/key_events.h"
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "input/key_commands.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "scenes/scene_menus.h"
#include "widgets/command_ids.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QWindow>

#include <cmath>

using namespace keytest;
using testsupport::waitFor;

class KeyCommandsTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
    }
    // Plays a clip of `seconds`, listed and selected in the file list; the position timer
    // stays off (the test ticks it).
    void play(double seconds = 30.0, const QString &name = QStringLiteral("clip.avi"))
    {
        if (!engines.media.contains(work(name)))
            engines.media[work(name)] = fakes::FakeMedia{seconds, true, true, QSize(320, 240)};
        const QString clip = touch(name);
        player->files()->File()->setPath(work());
        player->files()->File()->setListIndex(0);
        player->openMedia(clip, 0);
        ASSERT_EQ(player->video()->movie()->PlayState, 1);
        player->playback()->tmrPosition()->setEnabled(false);
        player->video()->focusDisplay();
    }
    fakes::FakeBackend &engine() { return *engines.movie(); }
    PlaybackState &state() { return player->playback()->state(); }
    Timer &timer() { return *player->playback()->tmrPosition(); }
    int volume() { return player->controls()->vol()->value(); }
};

TEST_F(KeyCommandsTest, AHeldKeySeeksOnceAtItsPressAndItsReleaseEndsTheSeek)
{
    play();
    engine().pos = 5;
    const int seeks = engine().seeks;
    press(*player, Qt::Key_X);
    EXPECT_EQ(engine().seeks, seeks + 1);
    EXPECT_DOUBLE_EQ(engine().pos, 6.0);
    EXPECT_EQ(state().keySeek(), 1.0);
    EXPECT_EQ(timer().interval(), 100);
    // Auto-repeat: X11 and Wayland send a release before each repeated press.
    for (int i = 0; i < 9; ++i) {
        release(*player, Qt::Key_X, Qt::NoModifier, true);
        press(*player, Qt::Key_X, Qt::NoModifier, true);
    }
    EXPECT_EQ(engine().seeks, seeks + 1) << "the timer repeats the seek, not the key";
    EXPECT_EQ(state().keySeek(), 1.0);
    release(*player, Qt::Key_X);
    EXPECT_FALSE(state().keySeeking());
    EXPECT_EQ(timer().interval(), 500);

    // Rewind, a twentieth of the file with Shift alone.
    press(*player, Qt::Key_Z);
    EXPECT_DOUBLE_EQ(engine().pos, 5.0);
    EXPECT_EQ(state().keySeek(), -1.0);
    release(*player, Qt::Key_Z);
    EXPECT_FALSE(state().keySeeking());
}

TEST_F(KeyCommandsTest, ShiftSeeksATwentiethOfTheFile)
{
    play(200.0);
    engine().pos = 50;
    press(*player, Qt::Key_X, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(engine().pos, 60.0);
    EXPECT_EQ(state().keySeek(), 10.0);
    // The timer's ticks go on jumping while the key is held.
    player->playback()->tmrPosition_Timer();
    EXPECT_DOUBLE_EQ(engine().pos, 70.0);
    release(*player, Qt::Key_X, Qt::ShiftModifier);
    player->playback()->tmrPosition_Timer();
    EXPECT_DOUBLE_EQ(engine().pos, 70.0);
    // Ctrl+Shift is not Shift alone: one second.
    press(*player, Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(engine().pos, 69.0);
    release(*player, Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
}

TEST_F(KeyCommandsTest, LosingTheKeyboardEndsASeek)
{
    play();
    engine().pos = 5;
    press(*player, Qt::Key_X);
    ASSERT_TRUE(state().keySeeking());
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(player.get(), &deactivate);
    EXPECT_FALSE(state().keySeeking()) << "no release will come: playback would race on";
    EXPECT_EQ(timer().interval(), 500);
    player->playback()->tmrPosition_Timer();
    EXPECT_DOUBLE_EQ(engine().pos, 6.0);
    // The release that comes back later is a key whose press the window no longer knows.
    release(*player, Qt::Key_X);
    EXPECT_FALSE(state().keySeeking());
}

TEST_F(KeyCommandsTest, AReleaseWithoutItsPressDoesNothing)
{
    play();
    // The Enter that confirmed an input box or chose a menu item comes up at the window.
    release(*player, Qt::Key_Return);
    release(*player, Qt::Key_Q);
    EXPECT_EQ(player->video()->movie()->PlayState, 1) << "still playing";
    tap(*player, Qt::Key_Q);
    EXPECT_EQ(player->video()->movie()->PlayState, 2);
}

TEST_F(KeyCommandsTest, AHeldEnterTogglesOnce)
{
    play();
    press(*player, Qt::Key_Return);
    for (int i = 0; i < 10; ++i) {
        release(*player, Qt::Key_Return, Qt::NoModifier, true);
        press(*player, Qt::Key_Return, Qt::NoModifier, true);
    }
    EXPECT_EQ(player->video()->movie()->PlayState, 1);
    release(*player, Qt::Key_Return);
    EXPECT_EQ(player->video()->movie()->PlayState, 2);
}

TEST_F(KeyCommandsTest, TheEnterOfARenameDoesNotPlay)
{
    play();
    player->windowModes()->beginRename();
    tap(*player, Qt::Key_Return);
    EXPECT_FALSE(player->windowModes()->isRenaming());
    EXPECT_EQ(player->video()->movie()->PlayState, 1);
    tap(*player, Qt::Key_Return);
    EXPECT_EQ(player->video()->movie()->PlayState, 2);
}

TEST_F(KeyCommandsTest, VolumeByFiveWithinTheBar)
{
    play();
    ASSERT_TRUE(player->controls()->setVolume(98));
    engine().volume = -1;
    tap(*player, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(volume(), 98) << "103 is refused";
    EXPECT_GT(engine().volume, 90) << "the engine gets the volume again";
    tap(*player, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(volume(), 93);
    tap(*player, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(volume(), 98);
    tap(*player, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(volume(), 93);
    tap(*player, Qt::Key_Minus);
    EXPECT_EQ(volume(), 93) << "the main keyboard's minus wants Ctrl";
    // A held key goes on changing it.
    press(*player, Qt::Key_Minus, Qt::KeypadModifier);
    press(*player, Qt::Key_Minus, Qt::KeypadModifier, true);
    release(*player, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(volume(), 83);
    ASSERT_TRUE(player->controls()->setVolume(0));
    engine().volume = -1;
    tap(*player, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(volume(), 0);
    EXPECT_NEAR(engine().volume, 100 * std::pow(10.0, -5000 / 6000.0), 0.01) << "applied again at 0 (-50 dB)";
}

TEST_F(KeyCommandsTest, KeypadScenesCtrlRegistersPlainJumps)
{
    play();
    player->scenes()->setSeenFolder(app("seen/"));
    engine().pos = 12;
    player->playback()->tmrPosition_Timer();
    player->playback()->tmrPosition()->setEnabled(false);
    ASSERT_FALSE(player->scenes()->m_seen()[3]->isEnabled());
    tap(*player, Qt::Key_3, Qt::KeypadModifier | Qt::ControlModifier);
    EXPECT_TRUE(player->scenes()->m_seen()[3]->isEnabled()) << "registered";
    EXPECT_TRUE(QFileInfo::exists(app("seen/clip.txt")));
    engine().pos = 25;
    tap(*player, Qt::Key_3, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(engine().pos, 12.0);
    // The main keyboard's 3 is the half speed, not a scene.
    engine().pos = 25;
    tap(*player, Qt::Key_3);
    EXPECT_DOUBLE_EQ(engine().pos, 25.0);
    EXPECT_EQ(state().speed(), PlaySpeed::Half);
    EXPECT_EQ(player->focusWidget(), player->video()->display());
}

TEST_F(KeyCommandsTest, EachRowRunsItsCommand)
{
    play();
    Player &p = *player;
    tap(p, Qt::Key_2);
    EXPECT_EQ(state().speed(), PlaySpeed::Double);
    tap(p, Qt::Key_1);
    EXPECT_EQ(state().speed(), PlaySpeed::Normal);
    tap(p, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(p.listPane()->shownPage(), ListPage::Favourites);
    EXPECT_EQ(p.listPane()->Tab1()->selectedIndex(), 2);
    const bool onTop = p.windowModes()->temaeChecked();
    tap(p, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(p.windowModes()->temaeChecked(), !onTop);
    tap(p, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(p.windowModes()->temaeChecked(), onTop);
    // Alt+Enter: full screen and back; Esc leaves it and does nothing in a window.
    press(p, Qt::Key_Alt, Qt::AltModifier);
    tap(p, Qt::Key_Return, Qt::AltModifier);
    release(p, Qt::Key_Alt);
    EXPECT_TRUE(p.windowModes()->inFullScreen());
    tap(p, Qt::Key_Escape);
    EXPECT_FALSE(p.windowModes()->inFullScreen());
    tap(p, Qt::Key_Escape);
    EXPECT_FALSE(p.windowModes()->inFullScreen());
    EXPECT_EQ(p.video()->movie()->PlayState, 1) << "Alt+Enter never played or paused";
    // Ctrl+M: mini mode and back.
    tap(p, Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(p.windowModes()->smallMode());
    tap(p, Qt::Key_M, Qt::ControlModifier);
    EXPECT_FALSE(p.windowModes()->smallMode());
    // The stop key stops a playing file.
    tap(p, Qt::Key_W);
    EXPECT_EQ(p.playback()->nowPlaying().status(), PlayStatus::Stopped);
    // Ctrl+W closes the window (and runs shutdown) once the key is done.
    tap(p, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(p.isVisible());
    ASSERT_TRUE(waitFor([&] { return !p.isVisible(); }, 2000));
    EXPECT_TRUE(QFileInfo::exists(app("config.ini")));
}

TEST_F(KeyCommandsTest, PageUpAndPageDownWithNothingPlayingScaleTheDefaultArea)
{
    Player &p = *player;
    p.video()->resizeWindowToVideo(2600, 1500);
    QTest::qWait(20);
    ASSERT_EQ(twips::height(p.video()->display()), 1500);
    // 125 % of the 1.3 : 1 area as high as the current one.
    tap(p, Qt::Key_PageUp);
    QTest::qWait(20);
    EXPECT_EQ(twips::height(p.video()->display()), 1875);
    EXPECT_NEAR(twips::width(p.video()->display()), 2437, 15);
    // 100 % with nothing open: the same area at its own height.
    tap(p, Qt::Key_Home);
    QTest::qWait(20);
    EXPECT_EQ(twips::height(p.video()->display()), 1875);
    EXPECT_NEAR(twips::width(p.video()->display()), 2437, 15);
}

TEST_F(KeyCommandsTest, PageUpAndPageDownStepAHundredPixelsOfThePicture)
{
    engines.media[work("small.avi")] = fakes::FakeMedia{30.0, true, true, QSize(160, 120)};
    play(30.0, QStringLiteral("small.avi"));
    Player &p = *player;
    p.video()->setVideoScale(1.0);
    QTest::qWait(20);
    ASSERT_EQ(p.video()->display()->width(), 160);
    tap(p, Qt::Key_PageUp);
    QTest::qWait(20);
    EXPECT_EQ(p.video()->display()->width(), 260);
    tap(p, Qt::Key_PageDown);
    QTest::qWait(20);
    EXPECT_EQ(p.video()->display()->width(), 160);
    // Page Down stops at 3500 twips of video (233 pixels at 15 twips a pixel).
    tap(p, Qt::Key_PageDown);
    QTest::qWait(20);
    EXPECT_EQ(p.video()->display()->width(), 160);
}

TEST_F(KeyCommandsTest, F1OpensTheHelpFileWhenThereIsOne)
{
    tap(*player, Qt::Key_F1);
    EXPECT_TRUE(shell->urlsOpened.isEmpty());
    EXPECT_TRUE(player->commands().action(command::help)->isEnabled());
    testsupport::writeFile(app("help.chm"), "help");
    tap(*player, Qt::Key_F1);
    EXPECT_EQ(shell->urlsOpened, QList<QUrl>{QUrl::fromLocalFile(app("help.chm"))});
}

TEST_F(KeyCommandsTest, DeleteActsOnlyWhereTheFavouritesAreShown)
{
    Player &p = *player;
    OkiniList *list = p.favourites()->List_okini();
    ASSERT_TRUE(waitFor([&] { return !p.favourites()->firstLoadPending(); }, 3000));
    list->add("a.avi", work());
    list->add("b.avi", work());
    list->select(1);
    p.listPane()->showFilePage();
    p.video()->focusDisplay();
    tap(p, Qt::Key_Delete);
    EXPECT_EQ(list->count(), 2) << "the file page shows no favourites to delete";
    p.listPane()->Tab1()->select(2);
    ASSERT_TRUE(list->isVisible());
    p.video()->focusDisplay();
    tap(p, Qt::Key_Delete);
    EXPECT_EQ(list->count(), 1);
}

// Each control of the window hands its keys over once (the volume moves by 5, not by 10 as
// a key offered again to the control's parents would), a text box never.
TEST_F(KeyCommandsTest, KeysComeOnceFromEveryControlAndNeverFromATextBox)
{
    Player &p = *player;
    ASSERT_TRUE(p.controls()->setVolume(50));
    OptionsPage &o = *p.options();
    struct Control
    {
        QWidget *widget;
        int page;   // of Tab1
        int frame;  // of Tab_Config, 0 none
    };
    const Control controls[] = {
        {p.controls()->BtList(), 1, 0},        {o.check_auto_adjust(), 4, 2}, {o.Check_auto_hide(), 4, 1},
        {o.Check_noTaskbar(), 4, 1},           {o.Check_original(), 4, 1},    {o.check_resume(), 4, 1},
        {o.Check_show_popup(), 4, 1},          {p.video()->display(), 1, 0},  {p.files()->File(), 1, 0},
        {o.Keep_Aspect(), 4, 2},               {p.video()->kyoukai(), 1, 0},  {p.favourites()->List_okini(), 2, 0},
        {p.search()->List_Find(), 3, 0},       {o.scroll_under(), 4, 2},      {o.Scroll_upper(), 4, 2},
        {o.Tab_Config(), 4, 0},                {p.listPane()->Tab1(), 1, 0},  {p.files()->TabDir(), 1, 0},
        {p.favourites()->TabM3u(), 2, 0},      {o.use_fullWindow(), 4, 2},    {&p, 1, 0},
    };
    for (const Control &c : controls) {
        p.listPane()->Tab1()->select(c.page);
        if (c.frame)
            o.Tab_Config()->select(c.frame);
        if (c.widget == &p) {
            if (QWidget *f = p.focusWidget())
                f->clearFocus();
        } else {
            c.widget->setFocus();
        }
        QCoreApplication::processEvents();
        ASSERT_EQ(p.focusWidget(), c.widget == &p ? nullptr : c.widget) << c.widget->objectName().toStdString();
        ASSERT_TRUE(p.controls()->setVolume(50));
        tap(p, Qt::Key_Plus, Qt::KeypadModifier);
        EXPECT_EQ(volume(), 55) << c.widget->objectName().toStdString();
    }
    // The text boxes: the home folder, the search text, the binding boxes.
    ASSERT_TRUE(p.controls()->setVolume(50));
    o.Tab_Config()->select(1);
    o.Check_usehome()->setChecked(true);
    QList<QWidget *> boxes{o.text_home(), p.search()->FindText()->lineEdit()};
    for (QLineEdit *box : p.keyCommands()->bindings()->boxes())
        boxes.append(box);
    for (QWidget *box : boxes) {
        p.listPane()->Tab1()->select(box == o.text_home() ? 4 : box == boxes[1] ? 3 : 4);
        o.Tab_Config()->select(box == o.text_home() ? 1 : 3);
        box->setFocus();
        QCoreApplication::processEvents();
        // The search text's line edit gives its focus to the combo box.
        ASSERT_EQ(p.focusWidget(), box == boxes[1] ? p.search()->FindText() : box) << box->objectName().toStdString();
        tap(p, Qt::Key_Plus, Qt::KeypadModifier);
        tap(p, Qt::Key_Q);
        EXPECT_EQ(volume(), 50) << box->objectName().toStdString();
    }
}

// Keys through Qt's own test route (the windowing system's event, then the window's focus).
TEST_F(KeyCommandsTest, KeysFromTheWindowingSystemReachTheDispatchers)
{
    play();
    // These events carry times: each release runs its row once it is clear no repeated
    // press follows it.
    QTest::keyClick(player->windowHandle(), Qt::Key_Q);
    EXPECT_TRUE(waitFor([&] { return player->video()->movie()->PlayState == 2; }, 1000));
    QTest::keyClick(player->windowHandle(), Qt::Key_2);
    EXPECT_TRUE(waitFor([&] { return state().speed() == PlaySpeed::Double; }, 1000));
}

// X11 can send the first repeat of a held key as a plain release and press at one time:
// the seek goes on, and the last release ends it.
TEST_F(KeyCommandsTest, AnUnmarkedRepeatPairAtOneTimeIsNoRelease)
{
    play();
    engine().pos = 5;
    const int seeks = engine().seeks;
    sendAt(*player, QEvent::KeyPress, Qt::Key_X, 1000);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_X, 1500);
    sendAt(*player, QEvent::KeyPress, Qt::Key_X, 1500);
    testsupport::pump(100);
    EXPECT_TRUE(state().keySeeking()) << "the pair at one time is a repeat";
    EXPECT_EQ(engine().seeks, seeks + 1);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_X, 1530, true);
    sendAt(*player, QEvent::KeyPress, Qt::Key_X, 1530, true);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_X, 2000);
    EXPECT_TRUE(waitFor([&] { return !state().keySeeking(); }, 1000)) << "the last release ends the seek";
    EXPECT_EQ(timer().interval(), 500);

    // Enter held the same way toggles once; its release (at a later time) runs the row.
    sendAt(*player, QEvent::KeyPress, Qt::Key_Return, 3000);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_Return, 3500);
    sendAt(*player, QEvent::KeyPress, Qt::Key_Return, 3500);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_Return, 4000);
    EXPECT_TRUE(waitFor([&] { return player->video()->movie()->PlayState == 2; }, 1000));
    testsupport::pump(100);
    EXPECT_EQ(player->video()->movie()->PlayState, 2) << "one toggle";
}
