// The mouse over the window: drags by the video, the control bar and the RealMedia
// control (the window follows the pointer itself where no window manager moves it, as
// offscreen), the mouse modes' presses, the presses on the RealMedia control, and the
// balloon help.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "input/main_menu.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "playback/real_control.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>
#include <QWindow>

using testsupport::waitFor;

class MouseTest : public PlayerTest
{
protected:
    void play()
    {
        engines.media[work("clip.avi")] = fakes::FakeMedia{30.0, true, true, QSize(320, 240)};
        const QString clip = touch("clip.avi");
        player->files()->File()->setPath(work());
        player->files()->File()->setListIndex(0);
        player->openMedia(clip, 0);
        ASSERT_EQ(player->video()->movie()->PlayState, 1);
        player->playback()->tmrPosition()->setEnabled(false);
    }
    void mouseMode(int index) { player->options()->check_mode()[std::size_t(index)]->setChecked(true); }
    // A move with the left button held to a point of the screen (the pointer's place does
    // not follow the window).
    static void dragTo(QWidget *w, QPoint global)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(w->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    int playState() { return player->video()->movie()->PlayState; }
};

TEST_F(MouseTest, TheWindowFollowsADragOnTheVideoAlsoInMiniMode)
{
    start();
    Player &p = *player;
    ASSERT_FALSE(p.windowHandle()->startSystemMove()) << "offscreen has no window manager to move it";
    p.windowModes()->enterSmallMode();
    ASSERT_TRUE(p.windowModes()->smallMode());
    QTest::qWait(20);
    QWidget *display = p.video()->display();
    const QPoint before = p.pos();
    const QPoint pressed = display->mapToGlobal(QPoint(20, 20));
    QTest::mousePress(display, Qt::LeftButton, {}, QPoint(20, 20));
    dragTo(display, pressed + QPoint(20, 10));
    dragTo(display, pressed + QPoint(40, 25));
    EXPECT_EQ(p.pos(), before + QPoint(40, 25));
    QTest::mouseRelease(display, Qt::LeftButton, {}, display->mapFromGlobal(pressed + QPoint(40, 25)));
    QMouseEvent stray(QEvent::MouseMove, QPointF(5, 5), QPointF(pressed + QPoint(90, 90)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(display, &stray); // a move after the release
    EXPECT_EQ(p.pos(), before + QPoint(40, 25)) << "the release ends the drag";
    EXPECT_TRUE(p.windowModes()->smallMode());
}

TEST_F(MouseTest, ModeTwoPlaysAndPausesAndNeverDrags)
{
    start();
    play();
    Player &p = *player;
    mouseMode(1);
    QWidget *display = p.video()->display();
    const QPoint before = p.pos();
    QTest::mousePress(display, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(playState(), 2);
    dragTo(display, display->mapToGlobal(QPoint(80, 60)));
    QTest::mouseRelease(display, Qt::LeftButton, {}, QPoint(80, 60));
    EXPECT_EQ(p.pos(), before);
    QTest::mouseClick(display, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(playState(), 1);
}

TEST_F(MouseTest, InFullScreenAPressOnTheVideoNeitherDragsNorPlays)
{
    start();
    play();
    Player &p = *player;
    p.windowModes()->enterFullScreen();
    ASSERT_TRUE(p.windowModes()->inFullScreen());
    QTest::qWait(20);
    QWidget *display = p.video()->display();
    const QPoint before = p.pos();
    QTest::mousePress(display, Qt::LeftButton, {}, QPoint(20, 20));
    dragTo(display, display->mapToGlobal(QPoint(80, 60)));
    QTest::mouseRelease(display, Qt::LeftButton, {}, QPoint(80, 60));
    EXPECT_EQ(p.pos(), before);
    EXPECT_EQ(playState(), 1);
}

TEST_F(MouseTest, TheControlBarsBackgroundDragsTheWindowItsControlsDoNot)
{
    start();
    Player &p = *player;
    QTest::qWait(20);
    ControlBar &bar = *p.controls();
    const QPoint before = p.pos();
    // The time display is part of the bar's background.
    QWidget *time = bar.time();
    QTest::mousePress(time, Qt::LeftButton, {}, QPoint(3, 3));
    dragTo(time, time->mapToGlobal(QPoint(13, 8)));
    QTest::mouseRelease(time, Qt::LeftButton, {}, QPoint(13, 8));
    EXPECT_EQ(p.pos(), before + QPoint(10, 5));
    // The volume bar sets the volume and moves nothing.
    const QPoint after = p.pos();
    QTest::mousePress(bar.vol(), Qt::LeftButton, {}, QPoint(10, 3));
    dragTo(bar.vol(), bar.vol()->mapToGlobal(QPoint(30, 3)));
    QTest::mouseRelease(bar.vol(), Qt::LeftButton, {}, QPoint(30, 3));
    EXPECT_EQ(p.pos(), after);
}

// Presses on the RealMedia control without a move between them: in a window the first
// drags the window and the fifth runs the double-click action; in full screen the third.
TEST_F(MouseTest, StillPressesOnTheRealMediaControlCountAsADoubleClick)
{
    start();
    play();
    Player &p = *player;
    mouseMode(2); // a double click plays or pauses
    RealControl *rmovie = p.video()->rmovie();
    MainMenu &menu = *p.mainMenu();
    // The first press drags (the window follows the pointer until the release).
    const QPoint before = p.pos();
    QTest::mousePress(rmovie, Qt::LeftButton, {}, QPoint(15, 12));
    EXPECT_TRUE(menu.realDragStarted());
    EXPECT_EQ(menu.realClickCount(), -1);
    QTest::mouseRelease(rmovie, Qt::LeftButton, {}, QPoint(15, 12));
    for (int i = 2; i <= 4; ++i) {
        QTest::mouseClick(rmovie, Qt::LeftButton, {}, QPoint(15, 12));
        EXPECT_EQ(playState(), 1) << "press " << i;
    }
    QTest::mouseClick(rmovie, Qt::LeftButton, {}, QPoint(15, 12));
    EXPECT_EQ(playState(), 2) << "the fifth press";
    EXPECT_EQ(menu.realClickCount(), 0);
    EXPECT_EQ(p.pos(), before);
    // A move without a button makes the next press a drag again.
    QTest::mouseMove(rmovie, QPoint(30, 30));
    QMouseEvent free(QEvent::MouseMove, QPointF(30, 30), QPointF(rmovie->mapToGlobal(QPoint(30, 30))), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rmovie, &free);
    EXPECT_FALSE(menu.realDragStarted());
    EXPECT_EQ(p.focusWidget(), p.video()->display());

    // Full screen: no drag; the third press runs it.
    QTest::mouseClick(p.files()->File(), Qt::LeftButton);
    p.playback()->playPause();
    ASSERT_EQ(playState(), 1);
    p.windowModes()->enterFullScreen();
    ASSERT_TRUE(p.windowModes()->inFullScreen());
    QCoreApplication::sendEvent(rmovie, &free);
    for (int i = 1; i <= 2; ++i)
        QTest::mouseClick(rmovie, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(playState(), 1);
    EXPECT_FALSE(menu.realDragStarted());
    QTest::mouseClick(rmovie, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(playState(), 2);
}

TEST_F(MouseTest, ARightPressOnTheRealMediaControlShowsTheMenuWithItsScenes)
{
    start();
    Player &p = *player;
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(p.video()->rmovie(), &right);
    ASSERT_TRUE(waitFor([&] { return p.mainMenu()->menu()->isVisible(); }, 2000));
    p.mainMenu()->menu()->hide();
}

TEST_F(MouseTest, BalloonHelpWhenTheOptionAsksForIt)
{
    // Without the option there is no balloon.
    start();
    EXPECT_EQ(player->mainMenu()->toolTipWindow(), nullptr);
    close();
    testsupport::writeFile(app("config.ini"), "[option]\r\nHidePopup=1\r\n");
    start();
    Player &p = *player;
    QLabel *balloon = p.mainMenu()->toolTipWindow();
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(p.testAttribute(Qt::WA_AlwaysShowToolTips)) << "also over an inactive window";
    const auto hover = [&](QWidget *w, QPoint at = QPoint(5, 5)) {
        QHelpEvent e(QEvent::ToolTip, at, w->mapToGlobal(at));
        QCoreApplication::sendEvent(w, &e);
        return e.isAccepted();
    };
    EXPECT_TRUE(hover(p.video()->display()));
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(balloon->text(), "・右クリックでメニューを表示\n・ドラッグ＆ドロップでウィンドウの移動\n"
                               "・ダブルクリックすると最小モードの切り替えが行なえます。");
    EXPECT_EQ(balloon->palette().color(QPalette::Window), QColor(40, 80, 140));
    EXPECT_EQ(balloon->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_LE(balloon->width(), 1000);
    // Leaving the control hides it.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(p.video()->display(), &leave);
    EXPECT_FALSE(balloon->isVisible());

    // It replaces an option's caption tooltip.
    p.listPane()->Tab1()->select(4);
    EXPECT_TRUE(hover(p.options()->check_resume()));
    EXPECT_EQ(balloon->text(), "・次回起動時に前回開いていたファイルがリジュームされます");
    EXPECT_TRUE(hover(p.controls()->SeekBar()));
    EXPECT_EQ(balloon->text(), "　シークバー\n・CTRL＋ドラッグ＆ドロップで区間選択\n・区間選択解除は右クリック");
    // The lists: anywhere in the viewport.
    p.listPane()->Tab1()->select(1);
    QWidget *viewport = p.files()->File()->viewport();
    EXPECT_TRUE(hover(viewport, QPoint(viewport->width() - 5, viewport->height() - 5)));
    EXPECT_EQ(balloon->text(), "・右クリックでメニューを表示\n・タブにドラッグ＆ドロップでお気に入りに追加\n・複数選択化");
    // Other tooltips are Qt's own, in its own colours.
    EXPECT_NE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(40, 80, 140));
}
