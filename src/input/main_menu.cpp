#include "input/main_menu.h"

#include "scenes/scene_menus.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "window/control_bar.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

MainMenu::MainMenu(QWidget *window, Commands &commands, ControlBar &controls, Submenus submenus, SceneMenus &scenes)
    : QObject(window), m_commands(commands), m_controls(controls), m_sub(submenus), m_scenes(scenes)
{
    m_menu = new QMenu(QStringLiteral("メニュー"), window);
    m_menu->setObjectName(QStringLiteral("menu"));
    commands.watch(m_menu);
    m_m_addOkiniForMenu = commands.action(command::addPlaying);
    m_m_addOkiniForMenu->setText(QStringLiteral("お気に入りに追加"));
    m_menu->addAction(m_m_addOkiniForMenu);
    m_menu->addMenu(m_sub.m);
    m_menu->addMenu(m_sub.m_size);
    m_menu->addMenu(m_sub.m_speed);
    m_menu->addMenu(m_sub.m_mode);
    m_menu->addSeparator();
    m_menu->addMenu(scenes.m_seen_load());
    m_menu->addMenu(scenes.m_edit_seen());
    m_menu->addSeparator();
    m_menu->addMenu(m_sub.m_window);
    m_menu->addSeparator();
    m_help = commands.action(command::help);
    m_help->setText(QStringLiteral("ヘルプ(F1)"));
    commands.setEnabledRule(command::help, [] { return false; }); // no help file to open yet
    m_menu->addAction(m_help);
    m_m_exit = commands.action(command::exit);
    m_m_exit->setText(QStringLiteral("終了(Ctrl+W)"));
    m_menu->addAction(m_m_exit);

    // The toolbar's menu buttons.
    for (const auto &[id, key] : {std::pair{command::sizeMenu, "size"}, std::pair{command::speedMenu, "speed"},
                                  std::pair{command::modeMenu, "mode"}, std::pair{command::windowMenu, "temae"}}) {
        const QString k = QString::fromLatin1(key);
        QAction *a = commands.action(id);
        commands.add(id, a->toolTip(), [this, k] { panel_ButtonClick(k); });
    }
    for (QMenu *sub : {m_sub.m, m_sub.m_size, m_sub.m_speed, m_sub.m_mode, m_sub.m_window})
        commands.watch(sub);
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
    m_scenes.enableForOpenFile(m_fileOpen && m_fileOpen());
    m_menu->popup(QCursor::pos());
}

void MainMenu::panel_ButtonClick(const QString &key)
{
    // The buttons that are commands run them: play, stop, pre, next, capture, fullscreen.
    if (key == u"play" || key == u"stop" || key == u"pre" || key == u"next" || key == u"capture"
        || key == u"fullscreen") {
        m_commands.trigger(key);
        return;
    }
    QMenu *sub = key == u"size"    ? m_sub.m_size
                 : key == u"speed" ? m_sub.m_speed
                 : key == u"mode"  ? m_sub.m_mode
                 : key == u"temae" ? m_sub.m_window
                                   : nullptr;
    if (!sub)
        return;
    // Under the toolbar, left edge at the pressed button.
    QToolBar *panel = m_controls.panel();
    const auto pressed = m_controls.panelButtons().find(key);
    QWidget *button = pressed != m_controls.panelButtons().end() ? panel->widgetForAction(pressed->second) : nullptr;
    const QPoint at = button ? button->mapToGlobal(QPoint(0, 0)) : QCursor::pos();
    sub->popup(QPoint(at.x(), panel->mapToGlobal(QPoint(0, panel->height())).y()));
}

void MainMenu::createToolTips()
{
}
