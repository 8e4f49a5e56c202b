#pragma once
// The popup menu `menu` of the video area and the toolbar's menu buttons: it gathers the
// other rooms' menus (playback, size, speed, mode, scenes, window) under its own items,
// pops up on a right press on the video, and opens the submenus of the toolbar's "size",
// "speed", "mode" and "temae" buttons under them.

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class Commands;
class ControlBar;
class QAction;
class QMenu;
class QWidget;
class SceneMenus;

class MainMenu : public QObject
{
    Q_OBJECT
public:
    struct Submenus
    {
        QMenu *m = nullptr;        // 再生メニュー
        QMenu *m_size = nullptr;   // 再生サイズ
        QMenu *m_speed = nullptr;  // 再生スピード
        QMenu *m_mode = nullptr;   // 再生モード
        QMenu *m_window = nullptr; // ウィンドウ操作
    };
    MainMenu(QWidget *window, Commands &commands, ControlBar &controls, Submenus submenus, SceneMenus &scenes);

    // Whether a file is open (the scene menus are usable then).
    void setFileOpen(std::function<bool()> open) { m_fileOpen = std::move(open); }

    void display_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    // Pops `menu` up at the pointer, its items prepared for the file that is open.
    void popUp();
    void panel_ButtonClick(const QString &key);
    void createToolTips();

    // ---- What other rooms read
    QMenu *menu() const { return m_menu; }
    QAction *m_addOkiniForMenu() const { return m_m_addOkiniForMenu; }
    QAction *help() const { return m_help; }
    QAction *m_exit() const { return m_m_exit; }

private:
    Commands &m_commands;
    ControlBar &m_controls;
    Submenus m_sub;
    SceneMenus &m_scenes;
    std::function<bool()> m_fileOpen;

private:
    QMenu *m_menu = nullptr;
    QAction *m_m_addOkiniForMenu = nullptr;
    QAction *m_help = nullptr;
    QAction *m_m_exit = nullptr;
};
