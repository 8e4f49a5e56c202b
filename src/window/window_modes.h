#pragma once
// The window's modes: mini mode (only the video, no caption bar, control bar or list),
// full screen (the video over the whole screen, with a control strip at the top and the
// two lists over the bottom when the pointer nears an edge) and always on top; the size
// menu `m_size` and the window menu `m_window`; the automatic list pane and the double
// click on the video. The tab renames leave always-on-top for as long as their input box
// is open (TopmostSwitch).

#include "playback/video_view.h"
#include "widgets/layout_math.h"
#include "widgets/topmost_switch.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <array>
#include <utility>

class Commands;
struct ConfigValues;
class ControlBar;
class ListPane;
class MediaCommands;
class NowPlaying;
class Options;
class PlaybackState;
class QAction;
class QMenu;
class QWidget;
class VideoArea;

// What the modes ask of the window as a whole: its resize handler, the list pane's show
// and hide, and its outer rectangle in twips with the decoration it has at the time.
class WindowHost
{
public:
    virtual ~WindowHost() = default;
    virtual void Form_Resize() = 0;
    // Shows the list pane, widening the window by it unless `widen` is false (the caller
    // then gives the window its whole rectangle itself).
    virtual void showListPane(bool widen = true) = 0;
    virtual void hideListPane() = 0;
    virtual void setResizeLocked(bool on) = 0;
    virtual QRect outerRect() const = 0;
    // Places the window so that its outer rectangle (twips) is `outer`.
    virtual void setOuterRect(const QRect &outer) = 0;
    // The window manager's frame may be known now: measured, and the size corrected by it.
    virtual void frameMayHaveChanged() = 0;
};

class WindowModes : public QObject, public TopmostSwitch, public WindowModeView
{
    Q_OBJECT
public:
    // Registers the commands of the window's modes (full screen, mini mode, always on top,
    // the optimal size, the sizes, "always the original size") and builds the size menu
    // and the window menu.
    WindowModes(QWidget *window, Commands &commands);

    // The rooms the modes rearrange, handed over once they exist.
    struct Rooms
    {
        WindowHost &host;
        VideoArea &video;
        ControlBar &controls;
        ListPane &pane;
        Options &options;
        MediaCommands &media;
        PlaybackState &state;
        NowPlaying &nowPlaying;
    };
    void attach(const Rooms &rooms);

    // The window's mode: full screen over mini mode over the normal window (full screen
    // entered from mini mode goes back to it).
    WindowMode windowMode() const override;


    // The check of "常に手前表示": the user's choice of always on top.
    bool temaeChecked() const { return m_temaeChecked; }

    // config.ini: mini mode and always on top at start-up; at shutdown mini mode (also a
    // start in it still waiting for the frame) and "常に手前表示".
    void restoreConfig(const ConfigValues &c);
    void saveConfig(ConfigValues &c) const;
    // Shutdown: a start in mini mode still waiting for the frame waits no more.
    void stopEnteringSmallMode() { m_enteringSmallMode = false; }
    // A start in mini mode maps the decorated window first: the flag is cleared until the
    // frame is known. Returns whether config.ini asked for mini mode.
    bool takeStartInSmallMode() { return std::exchange(m_smallMode, false); }
    void m_small_Click();
    void m_temae_Click(bool checkedNow);
    void m_saiteki_Click();
    void original_Click(bool checkedNow);
    // The size menu: 0 full screen, 1..5 the scales 2.0, 1.5, 1.0, 0.75, 0.5.
    void size_Click(int index);

    void enterSmallMode();
    void leaveSmallMode();
    // A start in mini mode: mini mode takes the frame away, so the window manager's frame
    // is measured first. It arrives a little after the window is mapped; until then (at
    // most 1.5 s: none comes without a window manager) the window stays decorated.
    void enterSmallModeOnceFramed();
    void enterFullScreen();
    void leaveFullScreen();
    bool inFullScreen() const;
    void setTopmost();
    void clearTopmost();
    // Shapes the full-screen strip so that only its three controls cover the video.
    void applyWindowRegion();
    void showFullScreenControls();
    void hideFullScreenControls();
    void showOkiniOverlay();
    void hideOkiniOverlay();
    void showFileOverlay();
    void hideFileOverlay();
    // The pointer over the video area at (x, y) twips (display coordinates), `rightEdge`
    // the right edge of what shows the video; `screenY` its distance from the screen's top
    // edge in pixels.
    void display_MouseMove(int x, int y, int rightEdge, int screenY);
    void display_DblClick();
    // A right press on the video: in full screen the strip and the lists come up with the menu.
    void display_RightClick();
    // The options page's "常に手前に表示" box changed: the menu item follows it, and the
    // window goes on top or not.
    void followTopmostOption(bool on);
    // The caption bar on or off (a frameless window), at the same outer top-left corner.
    void setCaptionBar(bool show);
    // A file was opened: the caption shows its title in the normal window.
    void showFileCaption();

    void beginRename() override;
    void endRename() override;

    // ---- What other rooms read
    bool smallMode() const { return m_smallMode; }
    bool listVisibleBeforeSmall() const { return m_listVisibleBeforeSmall; }
    bool alwaysOnTop() const { return m_alwaysOnTop; }
    bool isRenaming() const { return m_isRenaming; }
    // The outer rectangle (twips) the window had when full screen was entered.
    int savedLeft() const { return m_savedLeft; }
    int savedTop() const { return m_savedTop; }
    int savedRight() const { return m_savedRight; }
    int savedBottom() const { return m_savedBottom; }
    QMenu *m_size() const { return m_m_size; }
    QMenu *m_window() const { return m_m_window; }
    bool enteringSmallMode() const { return m_enteringSmallMode; }

Q_SIGNALS:
    void windowModeChanged(WindowMode mode);

private:
    void registerCommands(Commands &commands);
    // Reports a change of the mode, once.
    void modeMayHaveChanged();
    // The window's caption after a mode: the open file's title, or "Plovana".
    QString fileCaption() const;
    // Sets or clears a window flag only when it differs; the window, which the change
    // hides, comes back at the same client rectangle and state.
    void changeWindowFlag(Qt::WindowType flag, bool on);
    void staysOnTop(bool on);
    void showTopmost(bool on); // setTopmost and clearTopmost
    // The screen's size in twips (the window's own screen).
    QRect screenTwips() const;
    // One list laid over the bottom of the screen at the rectangle `place` gives for the
    // screen's size, or hidden and given the pane's place again.
    void showOverlay(QWidget *list, layout::Rect (*place)(int, int));
    void hideOverlay(QWidget *list);

    QWidget *m_windowWidget;
    Commands &m_commands;
    bool m_fullScreen = false;
    bool m_temaeChecked = false;
    WindowMode m_reportedMode = WindowMode::Normal;
    WindowHost *m_host = nullptr;
    VideoArea *m_video = nullptr;
    ControlBar *m_controls = nullptr;
    ListPane *m_pane = nullptr;
    Options *m_options = nullptr;
    MediaCommands *m_media = nullptr;
    PlaybackState *m_state = nullptr;
    NowPlaying *m_nowPlaying = nullptr;

private:
    bool m_smallMode = false;
    bool m_listVisibleBeforeSmall = false;
    bool m_alwaysOnTop = true;
    bool m_isRenaming = false;
    // The outer rectangle (twips) the window had when full screen was entered.
    int m_savedLeft = 0;
    int m_savedTop = 0;
    int m_savedRight = 0;
    int m_savedBottom = 0;
    QMenu *m_m_size = nullptr;
    QMenu *m_m_window = nullptr;
    bool m_enteringSmallMode = false; // that wait is on: the window belongs in mini mode
};
