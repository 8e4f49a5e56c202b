#pragma once
// The video surface: a widget that shows the frames of one libmpv instance through the
// software render API. A thread of its own renders each new frame into an image of the
// widget's size; the UI thread only paints the latest image. Works on X11, Wayland and
// the offscreen platform alike.

#include <QImage>
#include <QWidget>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

struct mpv_handle;
struct mpv_render_context;

class VideoSurface : public QWidget
{
    Q_OBJECT
public:
    VideoSurface(mpv_handle *mpv, QWidget *parent);
    ~VideoSurface() override;

    bool isValid() const { return m_ctx != nullptr; }
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
    struct Buffer
    {
        std::unique_ptr<std::uint8_t, void (*)(void *)> data{nullptr, nullptr};
        QSize size;
        std::size_t stride = 0;
        bool rendered = false;
    };

    static void onUpdate(void *self);
    void renderLoop();
    void wake();

    mpv_render_context *m_ctx = nullptr;
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
};
