#pragma once
// The video surface: the widget that shows the frames of one libmpv instance, on one of
// two paths chosen when it is made (see video_path.h):
//  - OpenGL: a native window of its own (a QWindow with its own QOpenGLContext, in a window
//    container filling the surface), fed by libmpv's OpenGL render API on the UI thread;
//    the GPU converts and scales the picture (and decodes it where the driver can),
//    rendering straight into the window's default framebuffer at its size in device
//    pixels, which is swapped to the screen without composing the window's other widgets.
//  - Software: a thread of its own renders each new frame into an image of the widget's
//    size; the UI thread only paints the latest image. Works on X11, Wayland and the
//    offscreen platform alike.
// Either way the surface is the one widget the graph places and shows; when any step of
// the OpenGL path fails it falls back to the software path inside the same widget.

#include "playback/video_path.h"

#include <QImage>
#include <QWidget>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

struct mpv_handle;
struct mpv_render_context;
class GlVideoWindow;
class QOpenGLContext;

class VideoSurface : public QWidget
{
    Q_OBJECT
public:
    // OpenGL is tried only when `path` asks for it and `parent` sits in a shown window (the
    // view's context needs one); otherwise, and when it fails, the software path is used.
    VideoSurface(mpv_handle *mpv, QWidget *parent, VideoPath path = VideoPath::Software);
    ~VideoSurface() override;

    bool isValid() const { return m_ctx != nullptr; }
    // The path actually drawing, and why (a fallback says what failed).
    VideoPath path() const { return m_path; }
    QString pathReason() const { return m_pathReason; }

    // The path this machine should use: PLOVANA_VIDEO, the render device and a probe
    // context's renderer (probed once per process, only when it can matter).
    static VideoPathChoice choosePath();

    // Forgets the frame shown and shows nothing until reveal(): the engine keeps the
    // last picture of a file until the next one has its first frame, and that old
    // picture must never appear as the new file's.
    void clear();
    // Shows frames again once the new file is loaded, from its first new frame on
    // (redraws of the picture held before are skipped).
    void reveal();
    // A copy of the latest rendered frame (null before the first one).
    QImage lastFrame() const;

Q_SIGNALS:
    void framePainted();

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    friend class GlVideoWindow;

    struct Buffer
    {
        std::unique_ptr<std::uint8_t, void (*)(void *)> data{nullptr, nullptr};
        QSize size;
        std::size_t stride = 0;
        bool rendered = false;
    };

    // Software path.
    bool startSoftware();
    static void onUpdate(void *self);
    void renderLoop();
    void skipFrame(); // render thread: takes the next frame without drawing it
    // The next frame is a new one (not a redraw of the picture held before).
    bool nextFrameIsFresh() const;
    void wake();

    // OpenGL path (UI thread only).
    bool startOpenGl();
    void stopOpenGl();
    bool createGlContext();  // the window's context current
    void freeGlContext();    // the window's context current
    void drawGl();           // draws the picture (or black) and swaps it to the screen
    bool renderGl() const;   // the window's context current: the frame into its back buffer
    void skipGlFrame();      // the window's context current: takes a frame without drawing
    void onGlUpdate();       // mpv has something new (queued from its thread)
    static void onGlUpdateCallback(void *self);

    mpv_handle *m_mpv = nullptr;
    mpv_render_context *m_ctx = nullptr;
    VideoPath m_path = VideoPath::Software;
    QString m_pathReason;

    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_wake = false;
    bool m_quit = false;
    QSize m_target;   // pixels, guarded by m_mutex
    Buffer m_front;   // guarded by m_mutex
    Buffer m_back;    // render thread only
    std::uint64_t m_generation = 0; // guarded by m_mutex; raised by clear()
    bool m_blocked = false;         // guarded by m_mutex; between clear() and reveal()
    bool m_awaitFresh = false;      // guarded by m_mutex; after reveal(), until a new frame

    GlVideoWindow *m_glWindow = nullptr; // owned by its container
    QWidget *m_glContainer = nullptr;
    std::unique_ptr<QOpenGLContext> m_glContext;
    bool m_glHasFrame = false;   // a frame of the file is on the window
};
