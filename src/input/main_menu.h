#pragma once
// The mouse over the window and the popup menu `menu` of the video area: it gathers the
// other rooms' menus (playback, size, speed, mode, scenes, window) under its own items,
// pops up on a right press on the video or the RealMedia control, and opens the submenus
// of the toolbar's "size", "speed", "mode" and "temae" buttons under them. A left press on
// the video, on the RealMedia control or on the control bar's background drags the window;
// the help command opens the help file; the balloon help over ten controls is its own.

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class Commands;
class ControlBar;
class DesktopShell;
class Options;
class QAction;
class QLabel;
class QMenu;
class QWidget;
class SceneMenus;
class VideoArea;
class WindowModes;

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
    struct Rooms
    {
        Commands &commands;
        ControlBar &controls;
        SceneMenus &scenes;
        WindowModes &modes;
        VideoArea &video;
        const Options &options;
        // Opens the help file.
        std::shared_ptr<DesktopShell> shell;
        // The state folder (with its trailing "/"), where help.chm lies.
        QString appDir;
    };
    // Registers the help command and the toolbar's menu buttons.
    MainMenu(QWidget *window, Rooms rooms, Submenus submenus);

    // Whether a file is open (the scene menus are usable then).
    void setFileOpen(std::function<bool()> open) { m_fileOpen = std::move(open); }

    // A press on the video (pos in its pixels): the right button pops the menu up; the left
    // one plays or pauses in mouse mode 2 and otherwise drags the window (not in full
    // screen).
    void display_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    // A press on the control bar's background: the left button drags the window.
    void control_MouseDown(Qt::MouseButton button, QPoint globalPos);
    // The RealMedia control over the video. Presses without a move in between count: the
    // third runs the mouse mode's double-click action; in a window the first one drags the
    // window and counts from -1, so the fifth runs it.
    void rmovie_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void rmovie_MouseMove(Qt::MouseButtons buttons);
    // Pops `menu` up at the pointer, its items prepared for the file that is open.
    void popUp();
    void panel_ButtonClick(const QString &key);
    // "ヘルプ(F1)": help.chm in the state folder, opened by the desktop when it is there.
    void help_Click();
    // The balloon help over the video, the lists, the page tabs, four options, the seek bar
    // and the volume (start-up, when the option asks for it).
    void createToolTips();

    // ---- What other rooms read
    QMenu *menu() const { return m_menu; }
    QAction *m_addOkiniForMenu() const { return m_m_addOkiniForMenu; }
    QAction *help() const { return m_help; }
    QAction *m_exit() const { return m_m_exit; }
    // The balloon of the balloon help; null until createToolTips.
    QLabel *toolTipWindow() const { return m_toolTipWindow; }
    int realClickCount() const { return m_realClickCount; }
    bool realDragStarted() const { return m_realDragStarted; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // Moves the window with the pointer from a left press at `globalPress`, once the pointer
    // has moved a little with the button held: the window manager's move where there is
    // one, else the window follows the pointer until the button is released. A press
    // without a move is no drag, so the next press can still make a double click (the
    // window manager would take the pointer and its release).
    void dragWindow(QPoint globalPress);
    // The pointer moved with the button held: the drag starts.
    void startDrag(QPoint pressAt, QPoint pointerAt);
    void popUpWithScenes(bool scenesEnabled);
    void showBalloon(QWidget *tool, QPoint globalPos);

    QWidget *m_window;
    Commands &m_commands;
    ControlBar &m_controls;
    Submenus m_sub;
    SceneMenus &m_scenes;
    WindowModes &m_modes;
    VideoArea &m_video;
    const Options &m_options;
    std::shared_ptr<DesktopShell> m_shell;
    QString m_appDir;
    std::function<bool()> m_fileOpen;
    // A drag the window follows itself: where the button went down, where the window was.
    struct Drag
    {
        QPoint pressAt;
        QPoint windowAt;
    };
    std::optional<Drag> m_drag;
    // A left press that becomes a drag when the pointer moves (where the button went down).
    std::optional<QPoint> m_dragPressAt;
    std::map<QObject *, QString> m_tools; // the balloon's text of each control

private:
    QMenu *m_menu = nullptr;
    QAction *m_m_addOkiniForMenu = nullptr;
    QAction *m_help = nullptr;
    QAction *m_m_exit = nullptr;
    QLabel *m_toolTipWindow = nullptr;
    int m_realClickCount = 0;
    bool m_realDragStarted = false;
};
