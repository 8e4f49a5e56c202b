// The main window's icon in the notification area, with a double for the desktop's
// notification area (and the real one, which offscreen does not have).
#include "support/player_fixture.h"

#include "widgets/images.h"
#include "app/options_page.h"
#include "app/tray_icon.h"
#include "input/main_menu.h"
#include "lists/list_pane.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "window/control_bar.h"

#include <QCheckBox>
#include <QMenu>
#include <QTest>

using testsupport::waitFor;

namespace {

class TrayIconTest : public PlayerTest
{
protected:
    // Starts the window with a notification area and waits for its icon.
    Player &startWithTray()
    {
        tray = std::make_shared<fakes::FakeSystemTray>();
        Player &p = start();
        EXPECT_TRUE(waitFor([&] { return tray->shows > 0; }, 2000));
        return p;
    }
    void minimise(Player &p)
    {
        p.showMinimized();
        QTest::qWait(50);
    }
};

} // namespace

TEST_F(TrayIconTest, WithoutANotificationAreaNothingIsShownAndMinimisingHidesNothing)
{
    Player &p = start(); // offscreen has no notification area
    QTest::qWait(300);
    EXPECT_FALSE(p.Timer_addIcon()->isActive()) << "the icon is tried once";
    EXPECT_FALSE(p.trayIcon()->isShown());
    p.options()->Check_noTaskbar()->setChecked(true);
    minimise(p);
    EXPECT_TRUE(p.isVisible()) << "no icon would bring the window back";
    close(); // removing an icon that is not there does nothing
}

TEST_F(TrayIconTest, ATrayThatIsNotAvailableGetsNoIcon)
{
    tray = std::make_shared<fakes::FakeSystemTray>();
    tray->available = false;
    Player &p = start();
    QTest::qWait(300);
    EXPECT_EQ(tray->shows, 0);
    p.options()->Check_noTaskbar()->setChecked(true);
    minimise(p);
    EXPECT_TRUE(p.isVisible());
    tray->click(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(p.isVisible());
    close();
    EXPECT_EQ(tray->removes, 0);
}

TEST_F(TrayIconTest, IconIsAddedOnceWithTheWindowsIconAndTip)
{
    Player &p = startWithTray();
    QTest::qWait(300);
    EXPECT_EQ(tray->shows, 1);
    EXPECT_FALSE(p.Timer_addIcon()->isActive());
    EXPECT_EQ(tray->tip, "Plovana");
    EXPECT_FALSE(p.windowIcon().isNull());
    EXPECT_FALSE(tray->icon.isNull());
    EXPECT_TRUE(p.trayIcon()->isShown());
    // The program's icon (the one the icon theme gets installed) in all its sizes, not the
    // video area's logo: the film frame's border is the program's blue.
    for (const QIcon &icon : {tray->icon, p.windowIcon()}) {
        EXPECT_EQ(icon.availableSizes().size(), images::appIconSizes().size());
        for (int size : images::appIconSizes()) {
            const QImage picture = icon.pixmap(size).toImage();
            ASSERT_EQ(picture.size(), QSize(size, size));
            EXPECT_EQ(picture, QImage(QStringLiteral(":/icons/plovana-%1.png").arg(size)).convertToFormat(picture.format()))
                << size;
        }
        EXPECT_EQ(icon.pixmap(48).toImage().pixel(4, 24), qRgb(119, 150, 230));
    }
}

TEST_F(TrayIconTest, DoubleClickHidesAVisibleWindowAndShowsAHiddenOne)
{
    Player &p = startWithTray();
    p.trayIcon()->setClickBurstMs(0);
    tray->click(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(p.isVisible());
    QTest::qWait(5);
    tray->click(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(p.isVisible());
    EXPECT_FALSE(p.isMinimized());
    QTest::qWait(5);
    tray->click(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(p.isVisible());
}

TEST_F(TrayIconTest, TriggerTogglesTooAndOneBurstOfClicksTogglesOnce)
{
    Player &p = startWithTray();
    // The X11 notification area: the first press of a double click, then the double click.
    tray->click(QSystemTrayIcon::Trigger);
    tray->click(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(p.isVisible());
    // KDE's: a Trigger for each click.
    QTest::qWait(p.trayIcon()->clickBurstMs() + 50);
    tray->click(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(p.isVisible());
    tray->click(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(p.isVisible());
}

TEST_F(TrayIconTest, MinimisedWithNoTaskbarTheWindowHidesAndComesBackAsItWas)
{
    Player &p = startWithTray();
    p.trayIcon()->setClickBurstMs(0);
    p.options()->Check_noTaskbar()->setChecked(true);
    p.showMaximized();
    ASSERT_TRUE(waitFor([&] { return p.isMaximized(); }, 2000));
    minimise(p);
    EXPECT_FALSE(p.isVisible()) << "only the icon remains";

    tray->click(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(p.isVisible());
    EXPECT_FALSE(p.isMinimized()) << "a minimised window would only be a taskbar button";
    EXPECT_TRUE(p.isMaximized());

    p.showNormal();
    QCoreApplication::processEvents();
    minimise(p);
    EXPECT_FALSE(p.isVisible());
    QTest::qWait(5);
    tray->click(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(p.isVisible());
    EXPECT_FALSE(p.isMinimized());
    EXPECT_FALSE(p.isMaximized());
}

TEST_F(TrayIconTest, MinimisedWithoutNoTaskbarTheWindowStays)
{
    Player &p = startWithTray();
    p.options()->Check_noTaskbar()->setChecked(false);
    minimise(p);
    EXPECT_TRUE(p.isVisible());
}

TEST_F(TrayIconTest, ContextRequestPopsUpTheMainMenu)
{
    Player &p = startWithTray();
    QMenu *menu = p.mainMenu()->menu();
    ASSERT_FALSE(menu->isVisible());
    tray->click(QSystemTrayIcon::Context);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(p.isVisible()) << "the menu leaves the window alone";
    menu->close();
}

TEST_F(TrayIconTest, ShutdownRemovesTheIcon)
{
    startWithTray();
    EXPECT_TRUE(tray->shown);
    close();
    EXPECT_EQ(tray->removes, 1);
    EXPECT_FALSE(tray->shown);
}

TEST_F(PlayerTest, ListToggleStaysUsableWhileMaximised)
{
    Player &p = start();
    p.showMaximized();
    ASSERT_TRUE(waitFor([&] { return p.isMaximized(); }, 2000));
    EXPECT_TRUE(p.controls()->BtList()->isEnabled());
    ASSERT_TRUE(p.listPane()->paneVisible());
    QTest::mouseClick(p.controls()->BtList(), Qt::LeftButton);
    EXPECT_FALSE(p.listPane()->paneVisible());
    EXPECT_TRUE(p.isMaximized()) << "the window is maximised again after the toggle";
}
