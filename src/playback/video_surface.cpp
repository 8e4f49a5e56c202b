#include "playback/video_surface.h"

#include <QPainter>
#include <QResizeEvent>

#include <mpv/client.h>
#include <mpv/render.h>

#include <cstdlib>

namespace {

constexpr std::size_t kAlign = 64;

std::size_t alignedStride(int width)
{
    const std::size_t bytes = static_cast<std::size_t>(width) * 4;
    return (bytes + kAlign - 1) / kAlign * kAlign;
}

} // namespace

VideoSurface::VideoSurface(mpv_handle *mpv, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Mouse input over the picture belongs to the control underneath (the video area).
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);

    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv && mpv_render_context_create(&m_ctx, mpv, params) >= 0) {
        mpv_render_context_set_update_callback(m_ctx, &VideoSurface::onUpdate, this);
        m_thread = std::thread([this] { renderLoop(); });
    } else {
        m_ctx = nullptr;
    }
}

VideoSurface::~VideoSurface()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_cv.notify_one();
    if (m_thread.joinable())
        m_thread.join();
    if (m_ctx) {
        mpv_render_context_set_update_callback(m_ctx, nullptr, nullptr);
        mpv_render_context_free(m_ctx);
    }
}

void VideoSurface::onUpdate(void *self)
{
    static_cast<VideoSurface *>(self)->wake();
}

void VideoSurface::wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_wake = true;
    }
    m_cv.notify_one();
}

void VideoSurface::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    const QSize px = e->size() * devicePixelRatioF();
    {
        std::lock_guard lock(m_mutex);
        m_target = px;
        m_wake = true;
    }
    m_cv.notify_one();
}

void VideoSurface::renderLoop()
{
    QSize lastSize;
    for (;;) {
        QSize target;
        std::uint64_t generation = 0;
        bool blocked = false;
        bool awaitFresh = false;
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait(lock, [this] { return m_wake || m_quit; });
            if (m_quit)
                return;
            m_wake = false;
            target = m_target;
            generation = m_generation;
            blocked = m_blocked;
            awaitFresh = m_awaitFresh;
        }
        const std::uint64_t flags = mpv_render_context_update(m_ctx);
        const bool newFrame = flags & MPV_RENDER_UPDATE_FRAME;
        // While blocked, frames are still rendered (and thrown away), so that a frame the
        // file before left queued is used up and never counts as the new file's first.
        if (target.isEmpty() || (!newFrame && target == lastSize && !awaitFresh))
            continue;
        if (awaitFresh && !blocked) {
            mpv_render_frame_info info{};
            mpv_render_param query{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
            if (mpv_render_context_get_info(m_ctx, query) < 0
                || !(info.flags & MPV_RENDER_FRAME_INFO_PRESENT) || (info.flags & MPV_RENDER_FRAME_INFO_REDRAW))
                continue; // still the picture of the file before
        }
        if (m_back.size != target || !m_back.data) {
            m_back.stride = alignedStride(target.width());
            m_back.data = {static_cast<std::uint8_t *>(
                               std::aligned_alloc(kAlign, m_back.stride * target.height())),
                           &std::free};
            m_back.size = target;
        }
        if (!m_back.data)
            continue;
        int size[2] = {target.width(), target.height()};
        std::size_t stride = m_back.stride;
        const char *format = "bgr0";
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SW_SIZE, size},
            {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(format)},
            {MPV_RENDER_PARAM_SW_STRIDE, &stride},
            {MPV_RENDER_PARAM_SW_POINTER, m_back.data.get()},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        if (mpv_render_context_render(m_ctx, params) < 0)
            continue;
        m_back.rendered = true;
        lastSize = target;
        {
            std::lock_guard lock(m_mutex);
            if (generation != m_generation || m_blocked)
                continue; // rendered before a clear: it belongs to the file before
            if (awaitFresh)
                m_awaitFresh = false;
            std::swap(m_front, m_back);
        }
        QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    }
}

void VideoSurface::clear()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        m_front.rendered = false;
        m_blocked = true;
    }
    update();
}

void VideoSurface::reveal()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_blocked)
            return;
        m_blocked = false;
        m_awaitFresh = true;
        m_wake = true;
    }
    m_cv.notify_one();
}

QImage VideoSurface::lastFrame() const
{
    std::lock_guard lock(m_mutex);
    if (!m_front.data || !m_front.rendered)
        return {};
    return QImage(m_front.data.get(), m_front.size.width(), m_front.size.height(),
                  static_cast<qsizetype>(m_front.stride), QImage::Format_RGB32)
        .copy();
}

void VideoSurface::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    bool drew = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_front.data && m_front.rendered) {
            const QImage img(m_front.data.get(), m_front.size.width(), m_front.size.height(),
                             static_cast<qsizetype>(m_front.stride), QImage::Format_RGB32);
            p.drawImage(rect(), img);
            drew = true;
        }
    }
    if (!drew) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    Q_EMIT framePainted();
}
