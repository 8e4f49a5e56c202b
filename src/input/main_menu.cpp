#include "input/main_menu.h"

#include "input/commands.h"
#include "scenes/scene_menus.h"
#include "window/control_bar.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

MainMenu::MainMenu(QWidget *window, const Commands &commands, ControlBar &controls, Submenus submenus,
                   SceneMenus &scenes)
    : QObject(window), m_commands(commands), m_controls(controls), m_sub(submenus), m_scenes(scenes)
{
    menu = new QMenu(QStringLiteral("メニュー"), window);
    menu->setObjectName(QStringLiteral("menu"));
    m_addOkiniForMenu = menu->addAction(QStringLiteral("お気に入りに追加"));
    menu->addMenu(m_sub.m);
    menu->addMenu(m_sub.m_size);
    menu->addMenu(m_sub.m_speed);
    menu->addMenu(m_sub.m_mode);
    menu->addSeparator();
    menu->addMenu(scenes.m_seen_load);
    menu->addMenu(scenes.m_edit_seen);
    menu->addSeparator();
    menu->addMenu(m_sub.m_window);
    menu->addSeparator();
    help = menu->addAction(QStringLiteral("ヘルプ(F1)"));
    help->setEnabled(false);
    m_exit = menu->addAction(QStringLiteral("終了(Ctrl+W)"));

    connect(m_exit, &QAction::triggered, this, [this] { m_commands.trigger(command::exit); });
    connect(m_addOkiniForMenu, &QAction::triggered, this, [this] { m_commands.trigger(command::addPlaying); });
    connect(&controls, &ControlBar::buttonClicked, this, &MainMenu::panel_ButtonClick);
}

void MainMenu::display_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint)
{
    if (button != Qt::RightButton)
        return;
    popUp();
}

void MainMenu::popUp()
{
    for (QMenu *sub : {m_sub.m_size, m_sub.m_speed, m_sub.m_mode, m_sub.m_window})
        sub->menuAction()->setVisible(true);
    m_scenes.enableForOpenFile(fileOpen && fileOpen());
    menu->popup(QCursor::pos());
}

void MainMenu::panel_ButtonClick(const QString &key)
{
    if (m_commands.trigger(key))
        return; // play, stop, pre, next
    QMenu *sub = key == u"size"    ? m_sub.m_size
                 : key == u"speed" ? m_sub.m_speed
                 : key == u"mode"  ? m_sub.m_mode
                 : key == u"temae" ? m_sub.m_window
                                   : nullptr;
    if (!sub)
        return;
    // Under the toolbar, left edge at the pressed button.
    QToolBar *panel = m_controls.panel;
    QWidget *button = panel->widgetForAction(m_controls.panelButtons[key]);
    const QPoint at = button ? button->mapToGlobal(QPoint(0, 0)) : QCursor::pos();
    sub->popup(QPoint(at.x(), panel->mapToGlobal(QPoint(0, panel->height())).y()));
}

void MainMenu::createToolTips()
{
}
