#pragma once
// The window's modes: mini mode (only the video, no caption bar, control bar or list),
// full screen (the video over the whole screen, with a control strip at the top and the
// two lists over the bottom when the pointer nears an edge) and always on top; the size
// menu `m_size` and the window menu `m_window`; the automatic list pane and the double
// click on the video. The tab renames leave always-on-top for as long as their input box
// is open (TopmostSwitch).

#include "widgets/layout_math.h"
#include "widgets/topmost_switch.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <array>

class ControlBar;
class ListPane;
class MediaCommands;
class NowPlaying;
class Options;
class QAction;
class QMenu;
class QWidget;
class Timer;
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

class WindowModes : public QObject, public TopmostSwitch
{
    Q_OBJECT
public:
    // `original` is the options page's "always the original size" item; the size menu
    // shows it first.
    WindowModes(QWidget *window, QAction *original);

    // The rooms the modes rearrange, handed over once they exist.
    struct Rooms
    {
        WindowHost &host;
        VideoArea &video;
        ControlBar &controls;
        ListPane &pane;
        Options &options;
        MediaCommands &media;
        NowPlaying &nowPlaying;
        Timer &tmrPosition;
    };
    void attach(const Rooms &rooms);

    bool smallMode = false;
    bool listVisibleBeforeSmall = false;
    bool alwaysOnTop = true;
    bool isRenaming = false;
    // The outer rectangle (twips) the window had when full screen was entered.
    int savedLeft = 0;
    int savedTop = 0;
    int savedRight = 0;
    int savedBottom = 0;

    QMenu *m_size = nullptr;
    std::array<QAction *, 6> size{};
    QAction *original = nullptr;
    QMenu *m_window = nullptr;
    QAction *m_temae = nullptr;
    QAction *m_saiteki = nullptr;
    QAction *m_small = nullptr;

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
    bool enteringSmallMode = false; // that wait is on: the window belongs in mini mode
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

    void beginRename() override;
    void endRename() override;

private:
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
    WindowHost *m_host = nullptr;
    VideoArea *m_video = nullptr;
    ControlBar *m_controls = nullptr;
    ListPane *m_pane = nullptr;
    Options *m_options = nullptr;
    MediaCommands *m_media = nullptr;
    NowPlaying *m_nowPlaying = nullptr;
    Timer *m_tmrPosition = nullptr;
};
