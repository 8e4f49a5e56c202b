#pragma once
// What playback asks of the window around the picture: the video area's widget that an
// ordinary file's picture goes into, the fitting of a new file's picture, the logo shown
// while nothing plays, the clip masks, the focus, and the window's mode. The video area and
// the window modes answer (playback itself knows no window).

class QWidget;

// The window's mode: the normal window, mini mode, full screen.
enum class WindowMode { Normal, Mini, FullScreen };

class VideoView
{
public:
    virtual ~VideoView() = default;
    // `display`: the ordinary engine shows its picture in it, the RealMedia control over it.
    virtual QWidget *videoParent() const = 0;
    virtual void fitVideo() = 0;
    virtual void setVideoScale(double scale) = 0;
    virtual void optimizeWindowSize() = 0;
    virtual void applyClipping() = 0;
    virtual void showLogo(bool on) = 0;
    // Focus to the video (the display, or the RealMedia control over it).
    virtual void focusVideo() = 0;
    // Focus to the display, when it is shown.
    virtual void focusDisplay() = 0;
    // Covers the display with black while a file's first frame is made ready, or uncovers it.
    virtual void coverDisplay(bool on) = 0;
};

// The window's mode as playback reads it.
class WindowModeView
{
public:
    virtual ~WindowModeView() = default;
    virtual WindowMode windowMode() const = 0;
};
