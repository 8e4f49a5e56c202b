#pragma once
// The video surface: the widget that shows the frames of one libmpv instance, on one of
// two paths chosen when it is made (see video_path.h):
//  - OpenGL: a native window of its own (a QWindow with its own QOpenGLContext, in a window
//    container filling the surface), fed by libmpv's OpenGL render API on the UI thread;
//    the GPU converts and scales the picture (and decodes it where the driver can),
//    rendering straight into the window's default framebuffer at its size in device
//    pixels, which is swapped to the screen without composing the window's other widgets.
//  - Software: a native window of its own too (a QWindow with its own QBackingStore, in a
//    window container), into whose backing store image a thread of its own renders each
//    new frame; the UI thread only lends the image out and flushes it (on X11 a shared
//    memory put, as the engine's own x11 output does). The frame is never copied again on
//    the UI thread, and the window's other widgets are not repainted for it. Works on X11,
//    Wayland and the offscreen platform alike.
// Either way the surface is the one widget the graph places and shows; when any step of
// the OpenGL path fails it falls back to the software path inside the same widget.

#include "playback/video_path.h"

#include <QImage>
#include <QWidget>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct mpv_handle;
struct mpv_render_context;
class GlVideoWindow;
class SwVideoWindow;
class QBackingStore;
class QWindow;
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
    // A copy of the frame on screen (null before the first one and after a clear). A frame
    // rendered and not yet put on screen is put there first.
    QImage lastFrame();

Q_SIGNALS:
    void framePainted();

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    friend class GlVideoWindow;
    friend class SwVideoWindow;

    // The backing store's image as lent to the render thread (bits null: none to lend,
    // the frame is taken without drawing).
    struct Lend
    {
        std::uint8_t *bits = nullptr;
        QSize size;
        std::size_t stride = 0;
    };
    enum class LendState { Idle, Asked, Lent, Rendered };

    // The picture's window (either path's) in a container filling the surface, which input
    // passes through.
    QWidget *containPicture(QWindow *window);

    // Software path.
    bool startSoftware();
    static void onUpdate(void *self);
    void renderLoop();
    void skipFrame(); // render thread: takes the next frame without drawing it
    // The next frame is a new one (not a redraw of the picture held before).
    bool nextFrameIsFresh() const;
    void wake();
    // Render thread: the backing store's image, lent by the UI thread; nullopt on quit.
    std::optional<Lend> borrow();
    // UI thread: begins a paint of the whole window and lends its image for the request
    // `ticket` (unless the render thread gave up on it), or answers that there is none.
    void lendImage(std::uint64_t ticket);
    // UI thread: ends the lent paint and puts it on screen (black when it must not show).
    void giveBack();
    QRect swRect() const; // the software window's whole area
    // UI thread: the window's backing store at the window's size (made on first use).
    QBackingStore *store();
    void paintSwBlack();  // UI thread, nothing lent: black on the whole window
    void exposeSw();      // UI thread: the window (un)covered or resized

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
    // The software window's image (one frame buffer: mpv renders into the backing store).
    SwVideoWindow *m_swWindow = nullptr; // owned by its container
    QWidget *m_swContainer = nullptr;
    std::unique_ptr<QBackingStore> m_store;
    std::condition_variable m_lendCv;
    LendState m_lendState = LendState::Idle; // guarded by m_mutex
    std::uint64_t m_lendTicket = 0;          // guarded by m_mutex
    Lend m_lend;                             // guarded by m_mutex
    bool m_lendShown = false;                // guarded by m_mutex: the render to give back shows
    bool m_swHasFrame = false;               // guarded by m_mutex: the window shows a frame of the file
    bool m_painting = false;                 // UI thread: between the store's begin and end of paint
    QImage m_side; // the render's image when the store's is not 32-bit RGB (then drawn into it)
    std::uint64_t m_generation = 0; // guarded by m_mutex; raised by clear()
    bool m_blocked = false;         // guarded by m_mutex; between clear() and reveal()
    bool m_awaitFresh = false;      // guarded by m_mutex; after reveal(), until a new frame

    GlVideoWindow *m_glWindow = nullptr; // owned by its container
    QWidget *m_glContainer = nullptr;
    std::unique_ptr<QOpenGLContext> m_glContext;
    bool m_glHasFrame = false;   // a frame of the file is on the window
};
