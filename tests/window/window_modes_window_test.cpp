// Mini mode, full screen, always on top, the size menu, the splitter, the list's width
// buttons and the mouse over the video, through the real main window with the engine
// doubles (offscreen: 15 twips per pixel, windows with 2-pixel frames, an 800 × 600 screen).
#include "support/player_fixture.h"
#include "widgets/command_ids.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "platform/profile.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QWindow>

using testsupport::waitFor;

namespace {

class WindowModesTest : public PlayerTest
{
protected:
    Player &startPlaying()
    {
        Player &p = start();
        engines.media[work("clip.avi")] = fakes::FakeMedia{30.0, true, true, QSize(320, 240)};
        const QString clip = touch("clip.avi");
        // The file list shows it selected, so that play/pause acts on it.
        p.files()->File()->setPath(work());
        p.files()->File()->setListIndex(0);
        p.openMedia(clip, 0);
        EXPECT_EQ(p.video()->movie()->PlayState, 1);
        return p;
    }
    // The window's outer rectangle in twips.
    static QRect outer(const Player &p) { return p.outerRect(); }
    static void settle() { QTest::qWait(20); }
    QString value(const char *section, const char *key)
    {
        return platform::getPrivateProfileString(section, key, "<missing>", app("config.ini"));
    }
};

} // namespace

TEST_F(WindowModesTest, MiniModeShowsOnlyTheVideoAndLeavingGivesBackTheWindowExactly)
{
    Player &p = startPlaying();
    WindowModes &m = *p.windowModes();
    ASSERT_TRUE(p.listPane()->paneVisible());
    const QRect before = outer(p);
    const QSize display = p.video()->display()->size();

    p.commands().action(command::smallMode)->trigger();
    settle();
    EXPECT_TRUE(m.smallMode());
    EXPECT_EQ(p.windowTitle(), QStringLiteral("Plovana（最小モード）"));
    EXPECT_EQ(p.commands().action(command::smallMode)->text(), QStringLiteral("最小表示をやめる"));
    EXPECT_TRUE(p.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(p.controls()->control()->isVisibleTo(&p));
    EXPECT_FALSE(p.listPane()->paneVisible());
    EXPECT_TRUE(m.listVisibleBeforeSmall());
    // The video area is the whole window and keeps its size, at the same top-left corner.
    EXPECT_EQ(p.video()->display()->geometry(), p.rect());
    EXPECT_EQ(p.video()->display()->size(), display);
    EXPECT_EQ(outer(p).topLeft(), before.topLeft());

    p.commands().action(command::smallMode)->trigger();
    settle();
    EXPECT_FALSE(m.smallMode());
    EXPECT_EQ(p.commands().action(command::smallMode)->text(), QStringLiteral("最小表示"));
    EXPECT_EQ(p.windowTitle(), QStringLiteral("clip"));
    EXPECT_FALSE(p.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(p.controls()->control()->isVisibleTo(&p));
    EXPECT_TRUE(p.listPane()->paneVisible());
    EXPECT_EQ(outer(p), before);
}

TEST_F(WindowModesTest, MiniModeWithTheListHiddenLeavesItHidden)
{
    Player &p = start();
    p.BtList_Click();
    ASSERT_FALSE(p.listPane()->paneVisible());
    const QRect before = outer(p);
    p.windowModes()->enterSmallMode();
    EXPECT_FALSE(p.windowModes()->listVisibleBeforeSmall());
    p.windowModes()->leaveSmallMode();
    EXPECT_FALSE(p.listPane()->paneVisible());
    EXPECT_EQ(outer(p), before);
    EXPECT_EQ(p.windowTitle(), QStringLiteral("Plovana")) << "no file is open";
}

TEST_F(WindowModesTest, FullScreenOnlyWhilePlayingAndItGivesBackTheRectangle)
{
    Player &p = start();
    WindowModes &m = *p.windowModes();
    m.size_Click(0);
    EXPECT_EQ(p.video()->movie()->DisplaySize, 0) << "nothing opened: the size menu does nothing";

    engines.media[work("clip.avi")] = fakes::FakeMedia{30.0, true, true, QSize(320, 240)};
    p.openMedia(touch("clip.avi"), 0);
    p.video()->movie()->MediaPlay(2);
    ASSERT_EQ(p.video()->movie()->PlayState, 2);
    p.commands().action(command::size(0))->trigger();
    EXPECT_EQ(p.video()->movie()->DisplaySize, 0) << "paused: no full screen";
    p.video()->movie()->MediaPlay(1);

    const QRect before = outer(p);
    p.commands().action(command::size(0))->trigger();
    settle();
    ASSERT_EQ(p.video()->movie()->DisplaySize, 1);
    EXPECT_TRUE(p.isFullScreen());
    EXPECT_FALSE(m.m_window()->isEnabled());
    const QSize screen = p.screen()->geometry().size();
    EXPECT_EQ(p.video()->display()->geometry(), QRect(QPoint(0, 0), screen));
    EXPECT_FALSE(p.files()->File()->isVisible());
    EXPECT_FALSE(p.video()->kyoukai()->isVisible());
    // The video lies above the pane and the control bar.
    const QObjectList &children = p.children();
    EXPECT_GT(children.indexOf(p.video()->display()), children.indexOf(p.listPane()->list()));
    EXPECT_GT(children.indexOf(p.video()->display()), children.indexOf(p.controls()->control()));
    p.commands().action(command::size(0))->trigger(); // again in full screen: nothing
    EXPECT_EQ(p.video()->movie()->DisplaySize, 1);

    m.leaveFullScreen();
    settle();
    EXPECT_EQ(p.video()->movie()->DisplaySize, 0);
    EXPECT_FALSE(p.isFullScreen());
    EXPECT_TRUE(m.m_window()->isEnabled());
    EXPECT_EQ(outer(p), before);
    EXPECT_TRUE(p.files()->File()->isVisible());
    EXPECT_TRUE(p.video()->kyoukai()->isVisible());
    EXPECT_EQ(p.windowTitle(), QStringLiteral("clip"));
}

TEST_F(WindowModesTest, FullScreenFromAMaximisedWindowComesBackNormalAtTheMaximisedRectangle)
{
    Player &p = startPlaying();
    p.showMaximized();
    ASSERT_TRUE(waitFor([&] { return p.isMaximized(); }, 2000));
    settle();
    const QRect maximised = outer(p);
    p.windowModes()->enterFullScreen();
    settle();
    ASSERT_TRUE(p.isFullScreen());
    p.windowModes()->leaveFullScreen();
    settle();
    EXPECT_FALSE(p.isMaximized());
    EXPECT_FALSE(p.isFullScreen());
    EXPECT_EQ(outer(p), maximised);
}

TEST_F(WindowModesTest, AScaleChosenInFullScreenLeavesItFirst)
{
    Player &p = startPlaying();
    p.hideListPane();
    p.windowModes()->enterFullScreen();
    settle();
    ASSERT_EQ(p.video()->movie()->DisplaySize, 1);
    p.commands().action(command::size(5))->trigger(); // ５０％
    settle();
    EXPECT_EQ(p.video()->movie()->DisplaySize, 0);
    EXPECT_FALSE(p.isFullScreen());
    EXPECT_EQ(p.video()->display()->size(), QSize(160, 120));
}

TEST_F(WindowModesTest, FullScreenStripNearTheTopListsNearTheBottomNothingInTheMiddle)
{
    Player &p = startPlaying();
    WindowModes &m = *p.windowModes();
    m.enterFullScreen();
    settle();
    QWidget *strip = p.controls()->fullscreen_control();
    const int screenHeight = p.screen()->geometry().height();
    m.display_MouseMove(3000, 0, twips::width(p.video()->display()), 2);
    EXPECT_TRUE(strip->isVisible());
    EXPECT_FALSE(p.favourites()->List_okini()->isVisible());
    m.display_MouseMove(3000, 0, twips::width(p.video()->display()), screenHeight - 5);
    EXPECT_FALSE(strip->isVisible());
    EXPECT_TRUE(p.favourites()->List_okini()->isVisible());
    EXPECT_TRUE(p.files()->File()->isVisible());
    const int screenW = twips::fromPixelsX(p.screen()->geometry().width());
    const int screenH = twips::fromPixelsY(screenHeight);
    EXPECT_NEAR(twips::left(p.files()->File()), screenW - 5990, 15);
    EXPECT_NEAR(twips::top(p.files()->File()), screenH - 3530, 15);
    EXPECT_NEAR(twips::width(p.favourites()->List_okini()), screenW - 5990, 15);
    m.display_MouseMove(3000, 0, twips::width(p.video()->display()), screenHeight / 2);
    EXPECT_FALSE(strip->isVisible());
    EXPECT_FALSE(p.favourites()->List_okini()->isVisible());
    EXPECT_FALSE(p.files()->File()->isVisible());
    // While a key seeks the strip stays.
    p.playback()->state().setKeySeek(2);
    m.display_MouseMove(3000, 0, twips::width(p.video()->display()), screenHeight / 2);
    EXPECT_TRUE(strip->isVisible());
    p.playback()->state().setKeySeek(std::nullopt);
    // The right click shows all three.
    m.display_MouseMove(3000, 0, twips::width(p.video()->display()), screenHeight / 2);
    m.display_RightClick();
    EXPECT_TRUE(strip->isVisible());
    EXPECT_TRUE(p.favourites()->List_okini()->isVisible());
    EXPECT_TRUE(p.files()->File()->isVisible());
    // The strip is shaped to its three controls.
    EXPECT_FALSE(strip->mask().isEmpty());
    EXPECT_TRUE(strip->mask().contains(p.controls()->SeekBarForFullscreen()->geometry().center()));
}

TEST_F(WindowModesTest, AutomaticPaneFollowsThePointerOnlyWhenAskedAndActive)
{
    Player &p = start();
    WindowModes &m = *p.windowModes();
    QApplication::setActiveWindow(&p);
    ASSERT_TRUE(waitFor([&] { return p.isActiveWindow(); }, 2000));
    const int w = twips::width(p.video()->display());
    m.display_MouseMove(w - 10, 600, w, 300);
    EXPECT_TRUE(p.listPane()->paneVisible()) << "the option is off";
    m.display_MouseMove(100, 600, w, 300);
    EXPECT_TRUE(p.listPane()->paneVisible()) << "the option is off";

    p.options()->Check_auto_hide()->setChecked(true);
    m.display_MouseMove(100, 600, w, 300);
    EXPECT_FALSE(p.listPane()->paneVisible());
    const int hiddenWidth = twips::width(p.video()->display());
    ASSERT_EQ(hiddenWidth, w) << "the video area keeps its width";
    m.display_MouseMove(w - 100, 50, w, 300); // the upper corner's triangle
    EXPECT_FALSE(p.listPane()->paneVisible());
    m.display_MouseMove(w - 100, 600, w, 300);
    EXPECT_TRUE(p.listPane()->paneVisible());

    m.enterSmallMode();
    m.display_MouseMove(100, 600, twips::width(p.video()->display()), 300);
    EXPECT_TRUE(m.listVisibleBeforeSmall()) << "mini mode has no automatic pane";
}

TEST_F(WindowModesTest, DoubleClickOnTheVideoByMouseMode)
{
    Player &p = startPlaying();
    WindowModes &m = *p.windowModes();
    p.options()->check_mode()[0]->setChecked(true);
    m.display_DblClick();
    EXPECT_TRUE(m.smallMode());
    m.display_DblClick();
    EXPECT_FALSE(m.smallMode());

    p.options()->check_mode()[1]->setChecked(true);
    m.display_DblClick();
    EXPECT_FALSE(m.smallMode());
    EXPECT_EQ(p.video()->movie()->PlayState, 1);

    p.options()->check_mode()[2]->setChecked(true);
    m.display_DblClick();
    EXPECT_EQ(p.video()->movie()->PlayState, 2);
    m.display_DblClick();
    EXPECT_EQ(p.video()->movie()->PlayState, 1);

    p.options()->check_mode()[3]->setChecked(true);
    m.display_DblClick();
    EXPECT_EQ(p.video()->movie()->DisplaySize, 1);
    p.options()->check_mode()[0]->setChecked(true);
    m.display_DblClick();
    EXPECT_FALSE(m.smallMode()) << "mode1 does nothing in full screen";
    p.options()->check_mode()[3]->setChecked(true);
    m.display_DblClick();
    EXPECT_EQ(p.video()->movie()->DisplaySize, 0);
}

TEST_F(WindowModesTest, MovesOverThePictureAndTheMasksReachTheVideoArea)
{
    Player &p = startPlaying();
    p.options()->Scroll_upper()->setValue(20);
    p.options()->scroll_under()->setValue(20);
    const QRect d = p.video()->display()->geometry();
    for (const QPoint at : {d.center(), QPoint(d.center().x(), d.top() + 2), QPoint(d.center().x(), d.bottom() - 2)})
        EXPECT_EQ(p.childAt(at), p.video()->display()) << at.x() << "," << at.y();
}

TEST_F(WindowModesTest, AlwaysOnTopFollowsTheItemTheOptionAndTheToolbar)
{
    Player &p = start();
    ASSERT_TRUE(p.commands().action(command::topmost)->isChecked()) << "on at the first start";
    EXPECT_TRUE(p.windowFlags() & Qt::WindowStaysOnTopHint);
    p.commands().action(command::topmost)->trigger();
    EXPECT_FALSE(p.commands().action(command::topmost)->isChecked());
    EXPECT_FALSE(p.options()->Check_temae()->isChecked());
    EXPECT_FALSE(p.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(p.isVisible());
    p.options()->Check_temae()->setChecked(true);
    EXPECT_TRUE(p.commands().action(command::topmost)->isChecked());
    EXPECT_TRUE(p.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(p.isVisible());
}

TEST_F(WindowModesTest, AlwaysOnTopChangesTheShownWindowInPlace)
{
    // Unmapping and mapping the window again lets a window manager place it anew: the
    // window must stay the same native window, where it was.
    Player &p = start();
    const QRect placed = p.geometry();
    struct HideCounter : QObject
    {
        int count = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            count += e->type() == QEvent::Hide;
            return false;
        }
    } hides;
    p.installEventFilter(&hides);
    for (bool on : {false, true, false}) {
        p.windowModes()->followTopmostOption(on);
        EXPECT_EQ(bool(p.windowHandle()->flags() & Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(bool(p.windowFlags() & Qt::WindowStaysOnTopHint), on);
        EXPECT_EQ(p.geometry(), placed);
    }
    p.removeEventFilter(&hides);
    EXPECT_EQ(hides.count, 0);
}

TEST_F(WindowModesTest, OriginalSizeItemShowsTheVideoAtOneHundredPercent)
{
    Player &p = startPlaying();
    p.hideListPane();
    p.commands().action(command::originalSize)->trigger();
    EXPECT_TRUE(p.options()->Check_original()->isChecked());
    EXPECT_EQ(p.video()->display()->size(), QSize(320, 240));
    p.commands().action(command::originalSize)->trigger();
    EXPECT_FALSE(p.options()->Check_original()->isChecked());
    EXPECT_FALSE(p.commands().action(command::originalSize)->isChecked());
}

TEST_F(WindowModesTest, OptimisationKeepsTheWidthAndGivesTheVideoItsAspect)
{
    Player &p = startPlaying();
    const int width = p.video()->display()->width();
    p.commands().action(command::optimizeWindow)->trigger();
    EXPECT_EQ(p.video()->display()->width(), width);
    EXPECT_NEAR(p.video()->display()->height(), width * 240.0 / 320.0, 1.0);
    // Maximised it does nothing.
    p.showMaximized();
    ASSERT_TRUE(waitFor([&] { return p.isMaximized(); }, 2000));
    const QSize maximised = p.video()->display()->size();
    p.commands().action(command::optimizeWindow)->trigger();
    EXPECT_EQ(p.video()->display()->size(), maximised);
}

TEST_F(WindowModesTest, SplitterStopsAtTheEdgesAndTradesWidthWithThePane)
{
    Player &p = start();
    PictureBox *k = p.video()->kyoukai();
    const int outerWidth = p.windowWidth();
    p.kyoukai_MouseMove(Qt::LeftButton, -20000);
    EXPECT_EQ(twips::left(k), 1500);
    p.kyoukai_MouseMove(Qt::LeftButton, 40000);
    EXPECT_NEAR(twips::left(k), p.clientWidth() - 200, 15);
    p.kyoukai_MouseMove(Qt::NoButton, -20000);
    EXPECT_NEAR(twips::left(k), p.clientWidth() - 200, 15) << "no button: no drag";
    // Drop it at 3000 twips: the video area and the pane trade width; the window keeps its own.
    p.kyoukai_MouseMove(Qt::LeftButton, 3000 - twips::left(k) - 2 * 15 + 90);
    ASSERT_EQ(twips::left(k), 3000);
    p.kyoukai_MouseUp();
    EXPECT_EQ(twips::width(p.video()->display()), 3000);
    EXPECT_EQ(twips::left(p.listPane()->list()), 3000 + twips::width(k));
    EXPECT_NEAR(twips::left(p.listPane()->list()) + twips::width(p.listPane()->list()), p.clientWidth(), 15);
    EXPECT_EQ(p.windowWidth(), outerWidth);
}

TEST_F(WindowModesTest, ListWidthButtonsInTheNormalStateOnly)
{
    Player &p = start();
    QFrame *list = p.listPane()->list();
    const int listWidth = twips::width(list);
    const int outerWidth = p.windowWidth();
    const int display = twips::width(p.video()->display());
    p.size_bar_ButtonClick(QStringLiteral("add"));
    EXPECT_EQ(twips::width(list), listWidth + 300);
    EXPECT_EQ(p.windowWidth(), outerWidth + 300);
    EXPECT_EQ(twips::width(p.video()->display()), display);
    p.size_bar_ButtonClick(QStringLiteral("sub"));
    EXPECT_EQ(twips::width(list), listWidth);
    EXPECT_EQ(p.windowWidth(), outerWidth);
    // Not narrower than 80 + 300.
    twips::setWidth(list, 375);
    ASSERT_EQ(twips::width(list), 375);
    p.size_bar_ButtonClick(QStringLiteral("sub"));
    EXPECT_EQ(twips::width(list), 375);

    p.showMaximized();
    ASSERT_TRUE(waitFor([&] { return p.isMaximized(); }, 2000));
    EXPECT_FALSE(p.listPane()->size_bar()->isEnabled());
    p.showNormal();
    ASSERT_TRUE(waitFor([&] { return !p.isMaximized(); }, 2000));
    EXPECT_TRUE(p.listPane()->size_bar()->isEnabled());
}

TEST_F(WindowModesTest, ClosingInFullScreenSavesTheRectangleFromBefore)
{
    Player &p = startPlaying();
    const QRect before = outer(p);
    p.windowModes()->enterFullScreen();
    settle();
    close();
    EXPECT_EQ(value("Position", "Left"), QString::number(before.left()));
    EXPECT_EQ(value("Position", "Top"), QString::number(before.top()));
    EXPECT_EQ(value("Position", "Width"), QString::number(before.width()));
    EXPECT_EQ(value("Position", "Height"), QString::number(before.height()));
}

TEST_F(WindowModesTest, MiniModeComesBackAfterARestartAndLeavingItGivesTheFirstRectangle)
{
    Player &p = start();
    const QRect first = outer(p);
    p.windowModes()->enterSmallMode();
    close();
    EXPECT_EQ(value("other", "SmallMode"), "1");
    EXPECT_EQ(value("other", "ListVisible"), "1");
    EXPECT_EQ(value("Position", "Width"), QString::number(first.width()));
    EXPECT_EQ(value("Position", "Height"), QString::number(first.height()));

    // Three restarts in mini mode do not let the window creep.
    for (int i = 0; i < 3; ++i) {
        Player &q = start();
        EXPECT_TRUE(q.windowModes()->smallMode());
        EXPECT_TRUE(q.windowFlags() & Qt::FramelessWindowHint);
        close();
        EXPECT_EQ(value("Position", "Width"), QString::number(first.width())) << "restart " << i;
        EXPECT_EQ(value("Position", "Height"), QString::number(first.height())) << "restart " << i;
    }
    Player &r = start();
    r.windowModes()->leaveSmallMode();
    settle();
    EXPECT_TRUE(r.listPane()->paneVisible());
    EXPECT_EQ(outer(r), first);
}

TEST_F(WindowModesTest, TheToolbarsFullScreenButtonAndTheSizeCommands)
{
    Player &p = startPlaying();
    p.controls()->panelButtons().at(QStringLiteral("fullscreen"))->trigger();
    settle();
    EXPECT_EQ(p.video()->movie()->DisplaySize, 1);
    EXPECT_TRUE(p.commands().trigger(command::size(3))); // １００％ leaves full screen first
    settle();
    EXPECT_EQ(p.video()->movie()->DisplaySize, 0);
    EXPECT_TRUE(p.commands().trigger(command::smallMode));
    EXPECT_TRUE(p.windowModes()->smallMode());
    EXPECT_TRUE(p.commands().trigger(command::smallMode));
    EXPECT_FALSE(p.windowModes()->smallMode());
    const bool onTop = p.commands().action(command::topmost)->isChecked();
    EXPECT_TRUE(p.commands().trigger(command::topmost));
    EXPECT_NE(p.commands().action(command::topmost)->isChecked(), onTop);
}
