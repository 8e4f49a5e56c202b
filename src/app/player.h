#pragma once
// The main window `player`: a router. It creates the rooms of the program (the video
// area, the control bar, the list pane with its pages, the options page, playback, the
// window modes, the menus and the scene menus), wires them, and keeps what belongs to the
// window as a whole: start-up and shutdown, its icon, config.ini, the resize handler with the list
// pane's show and hide, and one-line forwarders for the commands every room asks for.

#include "app/player_services.h"
#include "input/command_registry.h"
#include "playback/media_commands.h"
#include "window/window_modes.h"

#include <QMargins>
#include <QRect>
#include <QWidget>

#include <memory>

class ConfigAutosave;
class ControlBar;
struct ConfigValues;
class FavouritesPage;
class FilePage;
class KeyCommands;
class ListPane;
class MediaControls;
class MainMenu;
class OptionsPage;
class Playback;
class Resume;
class SceneMenus;
class SearchPage;
class SeekPreview;
class Timer;
class TrayIcon;
class VideoArea;

namespace platform {
class SingleInstanceLock;
}

class Player : public QWidget, public MediaCommands, public WindowHost
{
    Q_OBJECT
public:
    explicit Player(PlayerServices services, QWidget *parent = nullptr);
    ~Player() override;

    // ---- Start-up and shutdown (startup.cpp)
    // The whole start-up. False when another copy runs on the same state folder: the
    // window then stays hidden and the caller ends the process.
    bool Form_Load();
    // The whole shutdown; runs once, when the window closes or the process is told to end.
    void Form_Unload();
    bool isLoaded() const { return m_loaded; }
    void m_exit_Click();
    // Shutdown's step that takes the notification-area icon away (player.cpp).
    void removeTrayIcon();

    // ---- The commands every room asks for, forwarded to playback
    void openMedia(const QString &path, double pos) override;
    void playPause() override;
    void stop_Click() override;
    void playNext() override;
    void playPrevious() override;
    void resumeIfPaused(const QString &path) override;
    QString openFileName() const override;

    // ---- The window's layout (window_layout.cpp)
    // The window's outer rectangle (frame included) in twips, as Left, Top, Width, Height,
    // with the decoration the window has now (none frameless or in full screen).
    int windowLeft() const;
    int windowTop() const;
    int windowWidth() const;
    int windowHeight() const;
    void setWindowWidth(int tw);
    void setWindowHeight(int tw);
    int clientWidth() const;
    int clientHeight() const;
    QRect outerRect() const override;
    void setOuterRect(const QRect &outer) override;
    void setResizeLocked(bool on) override { m_resizeLocked = on; }
    void Form_Resize() override;
    void showListPane(bool widen = true) override;
    void hideListPane() override;
    void BtList_Click();
    // The list's width buttons: "add" widens the pane and the window by 300 twips, "sub"
    // narrows them; normal window state only.
    void size_bar_ButtonClick(const QString &key);
    // The splitter: a drag moves only the splitter (x in twips from its own left edge);
    // the release gives the video area and the pane their new widths.
    void kyoukai_MouseMove(Qt::MouseButtons buttons, int x);
    void kyoukai_MouseUp();

    // ---- config.ini (config.cpp)
    void loadConfig();
    void saveConfig();
    // The values saveConfig would write now, with no mode left for them (the autosave's).
    ConfigValues currentConfig() const;
    // Once the window is mapped: shrinks the window by the part of the window manager's
    // frame that was not known when config.ini placed it, so that it keeps its outer size.
    void correctForFrame();
    // The frame may be known now, or have changed: measured again, and corrected for.
    void frameMayHaveChanged() override;

    // ---- Steps of start-up and shutdown, forwarded to their rooms (player.cpp)
    void loadListColors();
    void saveListColors();
    void readAssociations();
    void loadSearchData();
    void saveSearchData();
    void loadResume();
    void saveResume();
    void loadKeys();
    void saveKeys();

    // ---- The RealMedia control's settings at start-up (startup.cpp)
    void configureRealControl();

    // ---- What other rooms read
    // ---- State of the window as a whole
    const PlayerServices &services() const { return m_services; }
    const QString &appDir() const { return m_appDir; }
    bool resizeLocked() const { return m_resizeLocked; }
    QWidget *mainWindowHandle() const { return m_mainWindowHandle; }
    CommandRegistry &commands() { return m_commands; }
    // ---- The rooms
    VideoArea *video() const { return m_video; }
    ControlBar *controls() const { return m_controls; }
    ListPane *listPane() const { return m_listPane; }
    OptionsPage *options() const { return m_options; }
    FilePage *files() const { return m_files; }
    FavouritesPage *favourites() const { return m_favourites; }
    SearchPage *search() const { return m_search; }
    WindowModes *windowModes() const { return m_windowModes; }
    Playback *playback() const { return m_playback; }
    Resume *resume() const { return m_resume; }
    SceneMenus *scenes() const { return m_scenes; }
    SeekPreview *seekPreview() const { return m_seekPreview; }
    MainMenu *mainMenu() const { return m_mainMenu; }
    KeyCommands *keyCommands() const { return m_keyCommands; }
    Timer *Timer_addIcon() const { return m_Timer_addIcon; }
    TrayIcon *trayIcon() const { return m_trayIcon; }
    MediaControls *mediaControls() const { return m_mediaControls; }



Q_SIGNALS:
    // The video surface painted a frame (used by the benchmarks).
    void framePainted();

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void changeEvent(QEvent *e) override;
    // Files dropped on the window's free area close the open file and add nothing.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void buildRooms();
    void connectRooms();
    void registerCommands();
    void connectWindowModes();
    void connectMediaControls();
    // The frame round the client area in twips, as the window is decorated now.
    QMargins decoration() const;
    // The smallest client area the layout can keep, by the mode.
    void keepMinimumSize();
    void handleCommandLine();
    QMargins currentFrame() const;

    std::unique_ptr<platform::SingleInstanceLock> m_instanceLock;
    QMargins m_frameApplied;               // frame (pixels) the window was last sized with
    bool m_frameCorrectionPending = false; // a maximised window is corrected when restored
    // The outer rectangle (twips) config.ini gave a window that starts maximised or
    // minimised, until it is first restored: its own normal geometry is then a guess.
    // Null otherwise.
    QRect m_outerFromConfig;
    // The normal window's outer rectangle (twips) as it last was, for the autosave while
    // the window is in full screen, mini mode, maximised or minimised.
    QRect m_lastNormalOuter;
    void rememberNormalRect();
    ConfigAutosave *m_configAutosave = nullptr;
    bool m_loaded = false;
    bool m_unloaded = false;

private:
    // ---- State of the window as a whole
    PlayerServices m_services;
    QString m_appDir;        // the state folder, with a trailing "/"
    bool m_resizeLocked = true;
    QWidget *m_mainWindowHandle = nullptr;
    CommandRegistry m_commands;
    // ---- The rooms
    VideoArea *m_video = nullptr;
    ControlBar *m_controls = nullptr;
    ListPane *m_listPane = nullptr;
    OptionsPage *m_options = nullptr;
    FilePage *m_files = nullptr;
    FavouritesPage *m_favourites = nullptr;
    SearchPage *m_search = nullptr;
    WindowModes *m_windowModes = nullptr;
    Playback *m_playback = nullptr;
    Resume *m_resume = nullptr;
    SceneMenus *m_scenes = nullptr;
    SeekPreview *m_seekPreview = nullptr;
    MainMenu *m_mainMenu = nullptr;
    KeyCommands *m_keyCommands = nullptr;
    Timer *m_Timer_addIcon = nullptr;
    TrayIcon *m_trayIcon = nullptr;
    // The desktop's media controls (MPRIS); none without the option or the bus.
    MediaControls *m_mediaControls = nullptr;
};
