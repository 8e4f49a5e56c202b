#pragma once
// The video area: `display` with the logo, the section marker `sel` and the splitter
// `kyoukai` beside it, and the two engines that show pictures in it: `movie` for every
// file that is not RealMedia and the RealMedia control `rmovie` laid over it. It keeps the
// logo centred and the picture fitted when the area changes size.

#include "playback/media_backend.h"
#include "playback/video_view.h"

#include <functional>
#include <memory>
#include <QObject>
#include <QStringList>

class CMovie;
class Options;
class PictureBox;
class QLabel;
class QWidget;
class RealControl;

class VideoArea : public QObject, public VideoView
{
    Q_OBJECT
public:
    VideoArea(QWidget *window, MediaBackendFactory movieBackend, MediaBackendFactory realBackend);
    ~VideoArea() override;

    // The options that choose the fitting and the clipping; until they are attached the
    // picture fills the area and nothing is clipped.
    void attachOptions(const Options &options);

    void display_Resize();
    QWidget *videoParent() const override;
    void fitVideo() override;
    // Resizes the window so that `display` shows the video at `scale` (1.0: one screen pixel
    // per source pixel); before the size is known, a 1.3 : 1 area as high as the current one.
    void setVideoScale(double scale) override;
    // Resizes the window, keeping its top-left corner, so that `display` becomes w × h twips.
    void resizeWindowToVideo(int width, int height);
    void optimizeWindowSize() override;
    // The open file's picture size in pixels, whichever engine plays it; 0 × 0 when unknown.
    QSize pictureSize() const;
    void applyClipping() override;
    void applyClipUpper();
    void applyClipUnder();
    // The logo and its caption, shown while nothing plays.
    void showLogo(bool on) override;
    // Focus to the video (the display, or the RealMedia control over it).
    void focusVideo() override;
    void focusDisplay() override;
    // Covers the display with black and hides it (on), or shows it and takes the cover away.
    void coverDisplay(bool on) override;
    // The pointer over the video disappears (full screen) or comes back.
    void hideCursor(bool hide);
    // The engine goes (before the controls that show its pictures, at the window's end).
    void releaseMovie();
    void setDisplayResizeLock(bool on) { m_displayResizeLock = on; }
    // Whether the open file is played by `rmovie` (the playback room answers).
    void setPlaysRealMedia(std::function<bool()> answer) { m_playsRealMedia = std::move(answer); }

    // ---- What other rooms read
    CMovie *movie() const { return m_movie.get(); }
    PictureBox *display() const { return m_display; }
    QLabel *logo() const { return m_logo; }
    QLabel *Label_Logo() const { return m_Label_Logo; }
    // Covers the display while a file's first frame is made ready (seekTop).
    QWidget *blackShape() const { return m_blackShape; }
    RealControl *rmovie() const { return m_rmovie; }
    // Black masks over the top and the bottom of the picture (the clip sliders).
    QWidget *clip_upper() const { return m_clip_upper; }
    QWidget *clip_under() const { return m_clip_under; }
    PictureBox *kyoukai() const { return m_kyoukai; }
    // Set while the window lays out `display` in steps, so that it is fitted once at the end.
    bool displayResizeLock() const { return m_displayResizeLock; }

Q_SIGNALS:
    // The video surface painted a frame (used by the benchmarks).
    void framePainted();
    // Files were dropped on the video (its logo and picture included).
    void filesDropped(const QStringList &files);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // The open DirectShow file's source size in pixels; 0 × 0 when unknown.
    QSize sourceSize() const;
    // The RealMedia control's clip size in pixels; 0 × 0 while unknown.
    QSize realClipSize() const;
    bool keepAspect() const;
    // Shows a mask `height` twips high at `top` inside the area, across its width; hides it at 0.
    void placeMask(QWidget *mask, int top, int height);

    const Options *m_options = nullptr;

private:
    std::unique_ptr<CMovie> m_movie;
    PictureBox *m_display = nullptr;
    QLabel *m_logo = nullptr;
    QLabel *m_Label_Logo = nullptr;
    // Covers the display while a file's first frame is made ready (seekTop).
    QWidget *m_blackShape = nullptr;
    RealControl *m_rmovie = nullptr;
    // Black masks over the top and the bottom of the picture (the clip sliders).
    QWidget *m_clip_upper = nullptr;
    QWidget *m_clip_under = nullptr;
    PictureBox *m_kyoukai = nullptr;
    // Set while the window lays out `display` in steps, so that it is fitted once at the end.
    bool m_displayResizeLock = false;
    std::function<bool()> m_playsRealMedia;
};
