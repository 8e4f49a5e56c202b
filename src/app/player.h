#pragma once
// The main window `player`: a router. It creates the rooms of the program (the video
// area, the control bar, the list pane with its pages, the options page, playback, the
// window modes, the menus and the scene menus), wires them, and keeps what belongs to the
// window as a whole: start-up and shutdown, its icon, config.ini, the resize handler with the list
// pane's show and hide, and one-line forwarders for the commands every room asks for.

#include "app/player_services.h"
#include "input/commands.h"
#include "playback/media_commands.h"

#include <QMargins>
#include <QWidget>

#include <memory>

class ControlBar;
class FavouritesPage;
class FilePage;
class ListPane;
class MainMenu;
class OptionsPage;
class Playback;
class SceneMenus;
class Timer;
class TrayIcon;
class VideoArea;
class WindowModes;

namespace platform {
class SingleInstanceLock;
}

class Player : public QWidget, public MediaCommands
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
    // The window's outer rectangle (frame included) in twips, as Left, Top, Width, Height.
    int windowLeft() const;
    int windowTop() const;
    int windowWidth() const;
    int windowHeight() const;
    void setWindowWidth(int tw);
    void setWindowHeight(int tw);
    int clientWidth() const;
    int clientHeight() const;
    void Form_Resize();
    void showListPane();
    void hideListPane();
    void BtList_Click();

    // ---- config.ini (config.cpp)
    void loadConfig();
    void saveConfig();
    // Once the window is mapped: shrinks the window by the part of the window manager's
    // frame that was not known when config.ini placed it, so that it keeps its outer size.
    void correctForFrame();

    // ---- Steps of start-up and shutdown that belong to parts still to come (later_parts.cpp)
    void loadListColors();
    void saveListColors();
    void configureRealControl();
    void loadKeys();
    void saveKeys();
    void loadSearchData();
    void saveSearchData();
    void loadResume();
    void saveResume();
    void readAssociations();

    // ---- State of the window as a whole
    PlayerServices services;
    QString appDir;        // the state folder, with a trailing "/"
    bool resizeLocked = true;
    QWidget *mainWindowHandle = nullptr;
    Commands commands;

    // ---- The rooms
    VideoArea *video = nullptr;
    ControlBar *controls = nullptr;
    ListPane *listPane = nullptr;
    OptionsPage *options = nullptr;
    FilePage *files = nullptr;
    FavouritesPage *favourites = nullptr;
    WindowModes *windowModes = nullptr;
    Playback *playback = nullptr;
    SceneMenus *scenes = nullptr;
    MainMenu *mainMenu = nullptr;
    Timer *Timer_addIcon = nullptr;
    TrayIcon *trayIcon = nullptr;

Q_SIGNALS:
    // The video surface painted a frame (used by the benchmarks).
    void framePainted();

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    // Files dropped on the window's free area close the open file and add nothing.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void buildRooms();
    void connectRooms();
    void registerCommands();
    void handleCommandLine();
    QMargins currentFrame() const;

    std::unique_ptr<platform::SingleInstanceLock> m_instanceLock;
    QMargins m_frameApplied;               // frame (pixels) the window was last sized with
    bool m_frameCorrectionPending = false; // a maximised window is corrected when restored
    bool m_loaded = false;
    bool m_unloaded = false;
};
