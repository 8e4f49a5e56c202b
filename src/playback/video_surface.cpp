#include "playback/video_surface.h"

#include <QBackingStore>
#include <QDir>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWindow>
#include <QSurfaceFormat>
#include <QExposeEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QtGui/qguiapplication_platform.h>

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include <cstdlib>
#include <optional>

namespace {

// A GPU the desktop's GL drivers can reach shows up as a DRM render node.
bool hasRenderDevice()
{
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*")}, QDir::System | QDir::Files)
                .isEmpty();
}

// The renderer of an OpenGL context made on an offscreen surface; nullopt when no context
// can be made (no GL on this platform, no driver, no display).
std::optional<QString> probeRenderer()
{
    QOpenGLContext ctx;
    if (!ctx.create())
        return std::nullopt;
    QOffscreenSurface surface;
    surface.setFormat(ctx.format());
    surface.create();
    if (!surface.isValid() || !ctx.makeCurrent(&surface))
        return std::nullopt;
    const auto *r = reinterpret_cast<const char *>(ctx.functions()->glGetString(GL_RENDERER));
    std::optional<QString> renderer;
    if (r && *r)
        renderer = QString::fromUtf8(r);
    ctx.doneCurrent();
    return renderer;
}

// Whether the engine's "bgr0" pixels can go straight into a backing store image: 32-bit
// RGB, or, on X11 in a window without alpha (whose 24-bit visual ignores the fourth byte),
// the alpha formats the X11 backing store paints in.
bool takesEnginePixels(const QImage &image, const QWindow &window)
{
    if (image.format() == QImage::Format_RGB32)
        return true;
    const bool alphaFormat =
        image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_ARGB32;
    return alphaFormat && !window.format().hasAlpha() && QGuiApplication::platformName() == QLatin1String("xcb");
}

void *glProcAddress(void *, const char *name)
{
    QOpenGLContext *ctx = QOpenGLContext::currentContext();
    return ctx ? reinterpret_cast<void *>(ctx->getProcAddress(name)) : nullptr;
}

} // namespace

// The picture's window on either path: a native child window of its own (in a window
// container) that input passes through to the video area underneath. All the work is the
// surface's; the window only hands its exposes and resizes over.
class PictureWindow : public QWindow
{
public:
    using Shown = void (VideoSurface::*)();
    PictureWindow(VideoSurface *surface, Shown shown) : m_surface(surface), m_shown(shown)
    {
        setFlag(Qt::WindowTransparentForInput);
    }

protected:
    void exposeEvent(QExposeEvent *) override { tell(); }
    void resizeEvent(QResizeEvent *) override { tell(); }

private:
    void tell()
    {
        if (isExposed())
            (m_surface->*m_shown)();
    }
    VideoSurface *m_surface;
    Shown m_shown;
};

// The OpenGL window, into whose default framebuffer the engine renders on the UI thread. A
// frame drawn there is swapped straight to the screen; the window's other widgets are
// neither repainted nor composed.
class GlVideoWindow final : public PictureWindow
{
public:
    explicit GlVideoWindow(VideoSurface *surface) : PictureWindow(surface, &VideoSurface::drawGl)
    {
        setSurfaceType(QWindow::OpenGLSurface);
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
        format.setSwapInterval(1);
        setFormat(format);
    }
};

// The software window, whose backing store image the engine renders into on the surface's
// render thread. A frame is put on screen by flushing that store; the main window's own
// backing store is never touched for it.
class SwVideoWindow final : public PictureWindow
{
public:
    explicit SwVideoWindow(VideoSurface *surface) : PictureWindow(surface, &VideoSurface::exposeSw)
    {
        setSurfaceType(QWindow::RasterSurface);
        // Opaque: the fourth byte of its pixels is never taken for alpha.
        QSurfaceFormat format;
        format.setAlphaBufferSize(0);
        setFormat(format);
    }
};

VideoSurface::VideoSurface(mpv_handle *mpv, QWidget *parent, VideoPath path) : QWidget(parent), m_mpv(mpv)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Mouse input over the picture belongs to the control underneath (the video area).
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    if (!mpv)
        return;
    if (path == VideoPath::OpenGL) {
        if (!parent || !parent->window()->isVisible()) {
            m_pathReason = QStringLiteral("software: the OpenGL window needs a shown window");
        } else if (startOpenGl()) {
            m_path = VideoPath::OpenGL;
            m_pathReason = QStringLiteral("OpenGL");
            return;
        } else {
            m_pathReason = QStringLiteral("software: the OpenGL window failed (%1)").arg(m_pathReason);
        }
    } else {
        m_pathReason = QStringLiteral("software");
    }
    startSoftware();
}

VideoSurface::~VideoSurface()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_cv.notify_one();
    m_lendCv.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_glContainer) {
        stopOpenGl();
    } else if (m_ctx) {
        mpv_render_context_set_update_callback(m_ctx, nullptr, nullptr);
        mpv_render_context_free(m_ctx);
        m_ctx = nullptr;
    }
    if (m_painting)
        m_store->endPaint();
    m_store.reset(); // before its window goes with the container
}

VideoPathChoice VideoSurface::choosePath()
{
    const VideoPathRequest request = videoPathRequest(qEnvironmentVariable("PLOVANA_VIDEO"));
    if (!wantsGlProbe(request, hasRenderDevice()))
        return request == VideoPathRequest::Software
                   ? chooseVideoPath(request, std::nullopt)
                   : VideoPathChoice{VideoPath::Software, QStringLiteral("software: no GPU render device")};
    // The probe loads the GL driver and makes a context: once per process is enough.
    static const std::optional<QString> renderer = probeRenderer();
    return chooseVideoPath(request, renderer);
}

QWidget *VideoSurface::containPicture(QWindow *window)
{
    QWidget *container = QWidget::createWindowContainer(window, this);
    container->setAttribute(Qt::WA_TransparentForMouseEvents);
    container->setFocusPolicy(Qt::NoFocus);
    container->setGeometry(rect());
    return container;
}

// --- Software path -------------------------------------------------------------------

bool VideoSurface::startSoftware()
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_ctx, m_mpv, params) < 0) {
        m_ctx = nullptr;
        return false;
    }
    m_swWindow = new SwVideoWindow(this);
    m_swContainer = containPicture(m_swWindow);
    m_swWindow->lower(); // below the controls that lie over the picture
    mpv_render_context_set_update_callback(m_ctx, &VideoSurface::onUpdate, this);
    m_thread = std::thread([this] { renderLoop(); });
    return true;
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
    if (m_glContainer) {
        m_glContainer->setGeometry(rect());
        return;
    }
    if (m_swContainer)
        m_swContainer->setGeometry(rect());
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
        if (target.isEmpty()) {
            // Not placed yet (a first load runs before the surface is shown): frames are
            // used up without drawing, since a video output whose frames are never taken
            // holds playback back until it gives up waiting (about 200 ms each time). The
            // new file's first frame is kept for the first render once placed.
            if (newFrame && (blocked || !awaitFresh || !nextFrameIsFresh()))
                skipFrame();
            continue;
        }
        if (!newFrame && target == lastSize && !awaitFresh)
            continue;
        if (blocked || (awaitFresh && !nextFrameIsFresh())) {
            // Between files (blocked), or still the picture of the file before: taken
            // without drawing, so that a frame the file before left queued is used up and
            // never counts as the new file's first, and the video output goes on to the new
            // file's frames without waiting for us.
            if (newFrame)
                skipFrame();
            continue;
        }
        const std::optional<Lend> lend = borrow();
        if (!lend)
            return;
        if (!lend->bits) {
            // Nothing to draw into (the window is not on screen): the frame is used up,
            // except the new file's first, kept for the first render once it shows (a
            // paused file has no other).
            if (newFrame && !awaitFresh)
                skipFrame();
            lastSize = {};
            continue;
        }
        int size[2] = {lend->size.width(), lend->size.height()};
        std::size_t stride = lend->stride;
        const char *format = "bgr0";
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SW_SIZE, size},
            {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(format)},
            {MPV_RENDER_PARAM_SW_STRIDE, &stride},
            {MPV_RENDER_PARAM_SW_POINTER, lend->bits},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        const bool rendered = mpv_render_context_render(m_ctx, params) >= 0;
        if (rendered)
            lastSize = lend->size; // the window's own size: a resize it has not had yet draws again
        bool shown = false;
        {
            std::lock_guard lock(m_mutex);
            // Rendered before a clear, or while blocked (a reveal may have come meanwhile):
            // either way it may be the file before's, and black goes on screen instead.
            shown = rendered && generation == m_generation && !m_blocked;
            if (shown && awaitFresh)
                m_awaitFresh = false;
            m_lendShown = shown;
            m_lendState = LendState::Rendered;
        }
        m_lendCv.notify_all();
        QMetaObject::invokeMethod(this, [this] { giveBack(); }, Qt::QueuedConnection);
    }
}

std::optional<VideoSurface::Lend> VideoSurface::borrow()
{
    std::uint64_t ticket = 0;
    {
        // The frame rendered before is given back first (the UI thread does that next).
        std::unique_lock lock(m_mutex);
        m_lendCv.wait_for(lock, std::chrono::milliseconds(100),
                          [this] { return m_quit || m_lendState != LendState::Rendered; });
        if (m_quit)
            return std::nullopt;
        if (m_lendState == LendState::Rendered)
            return Lend{};
        ticket = ++m_lendTicket;
        m_lendState = LendState::Asked;
    }
    QMetaObject::invokeMethod(this, [this, ticket] { lendImage(ticket); }, Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    // The UI thread answers within an event loop turn. While it waits on the engine itself
    // (a synchronous command) the engine may be waiting for this frame: after a while the
    // frame is taken without drawing instead, and the late answer finds no request.
    const bool answered = m_lendCv.wait_for(lock, std::chrono::milliseconds(100),
                                            [this] { return m_quit || m_lendState != LendState::Asked; });
    if (m_quit)
        return std::nullopt;
    if (!answered) {
        m_lendState = LendState::Idle;
        return Lend{};
    }
    return m_lendState == LendState::Lent ? m_lend : Lend{};
}

void VideoSurface::lendImage(std::uint64_t ticket)
{
    Lend lend;
    QBackingStore *bs = nullptr;
    {
        std::lock_guard lock(m_mutex);
        if (m_lendState != LendState::Asked || ticket != m_lendTicket)
            return; // given up on
    }
    if (!m_painting && m_swWindow && m_swWindow->isExposed() && !m_swWindow->size().isEmpty())
        bs = store();
    if (bs) {
        bs->beginPaint(swRect());
        m_painting = true;
        QPaintDevice *device = bs->paintDevice();
        QImage *image = device && device->devType() == QInternal::Image ? static_cast<QImage *>(device) : nullptr;
        const QSize px = image ? image->size() : m_swWindow->size() * m_swWindow->devicePixelRatio();
        if (image && takesEnginePixels(*image, *m_swWindow) && (image->bytesPerLine() % 4) == 0) {
            m_side = QImage();
            lend = {image->bits(), px, static_cast<std::size_t>(image->bytesPerLine())};
        } else {
            // Another kind of image (a display of another depth): rendered into one of our
            // own and drawn into the store when given back.
            if (m_side.size() != px)
                m_side = QImage(px, QImage::Format_RGB32);
            lend = {m_side.bits(), px, static_cast<std::size_t>(m_side.bytesPerLine())};
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_lend = lend;
        m_lendState = lend.bits ? LendState::Lent : LendState::Idle;
    }
    m_lendCv.notify_all();
}

void VideoSurface::giveBack()
{
    bool shown = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_lendState != LendState::Rendered)
            return;
        m_lendState = LendState::Idle;
        // A clear since the render: black, whatever was rendered.
        shown = m_lendShown && !m_blocked;
        m_swHasFrame = shown;
    }
    m_lendCv.notify_all();
    if (!m_painting)
        return;
    QPaintDevice *device = m_store->paintDevice();
    if (!shown || !m_side.isNull()) {
        QPainter p(device);
        if (shown)
            p.drawImage(swRect(), m_side);
        else
            p.fillRect(swRect(), Qt::black);
    }
    m_store->endPaint();
    m_painting = false;
    m_store->flush(swRect());
    if (shown)
        Q_EMIT framePainted();
}

QRect VideoSurface::swRect() const
{
    return QRect(QPoint(), m_swWindow->size());
}

QBackingStore *VideoSurface::store()
{
    if (!m_store)
        m_store = std::make_unique<QBackingStore>(m_swWindow);
    if (m_store->size() != m_swWindow->size())
        m_store->resize(m_swWindow->size());
    return m_store.get();
}

void VideoSurface::paintSwBlack()
{
    if (m_painting || !m_swWindow || !m_swWindow->isExposed() || m_swWindow->size().isEmpty())
        return;
    QBackingStore *bs = store();
    const QRect all = swRect();
    bs->beginPaint(all);
    {
        QPainter p(bs->paintDevice());
        p.fillRect(all, Qt::black);
    }
    bs->endPaint();
    bs->flush(all);
}

void VideoSurface::exposeSw()
{
    if (m_painting)
        return; // the paint under way is flushed when it is given back
    bool hasFrame = false;
    {
        std::lock_guard lock(m_mutex);
        hasFrame = m_swHasFrame;
        m_wake = true; // drawn again at the window's size
    }
    m_cv.notify_one();
    if (hasFrame && m_store && m_store->size() == m_swWindow->size()) {
        m_store->flush(swRect());
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_swHasFrame = false;
    }
    paintSwBlack();
}

bool VideoSurface::nextFrameIsFresh() const
{
    mpv_render_frame_info info{};
    mpv_render_param query{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
    return mpv_render_context_get_info(m_ctx, query) >= 0 && (info.flags & MPV_RENDER_FRAME_INFO_PRESENT)
           && !(info.flags & MPV_RENDER_FRAME_INFO_REDRAW);
}

void VideoSurface::skipFrame()
{
    static std::uint32_t pixel[16];
    int size[2] = {1, 1};
    std::size_t stride = sizeof pixel;
    int skip = 1;
    const char *format = "bgr0";
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(format)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, pixel},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_ctx, params);
}

// --- OpenGL path ---------------------------------------------------------------------

bool VideoSurface::startOpenGl()
{
    // The window and its context are made now, before the first file loads: a video output
    // without a render context fails, and the file would play without a picture. The
    // window needs no showing for that; it shows with the surface.
    m_glWindow = new GlVideoWindow(this);
    m_glContainer = containPicture(m_glWindow);
    m_glWindow->create();
    // Below the controls that lie over the picture (native windows of their own, made
    // before this one when an engine is made anew).
    m_glWindow->lower();
    m_glContext = std::make_unique<QOpenGLContext>();
    m_glContext->setFormat(m_glWindow->requestedFormat());
    if (!m_glContext->create() || !m_glWindow->handle()) {
        m_pathReason = QStringLiteral("no context for the window");
        stopOpenGl();
        return false;
    }
    if (!m_glContext->makeCurrent(m_glWindow)) {
        m_pathReason = QStringLiteral("the window's context cannot be made current");
        stopOpenGl();
        return false;
    }
    const bool made = createGlContext();
    m_glContext->doneCurrent();
    if (made)
        return true;
    m_pathReason = QStringLiteral("no OpenGL render context for the engine");
    stopOpenGl();
    return false;
}

void VideoSurface::stopOpenGl()
{
    if (m_glContext && m_glWindow && m_ctx && m_glContext->makeCurrent(m_glWindow)) {
        freeGlContext();
        m_glContext->doneCurrent();
    }
    delete m_glContainer; // and the window in it
    m_glContainer = nullptr;
    m_glWindow = nullptr;
    m_glContext.reset();
}

bool VideoSurface::createGlContext()
{
    if (m_ctx)
        return true;
    mpv_opengl_init_params gl{&glProcAddress, nullptr};
    int advanced = 0;
    std::vector<mpv_render_param> params{
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
    };
#if QT_CONFIG(xcb)
    // Hardware decoders hand their frames to OpenGL through the X display (VA-API, VDPAU).
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        if (x11->display())
            params.push_back({MPV_RENDER_PARAM_X11_DISPLAY, x11->display()});
#endif
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    if (mpv_render_context_create(&m_ctx, m_mpv, params.data()) < 0) {
        m_ctx = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(m_ctx, &VideoSurface::onGlUpdateCallback, this);
    return true;
}

void VideoSurface::freeGlContext()
{
    if (!m_ctx)
        return;
    mpv_render_context_set_update_callback(m_ctx, nullptr, nullptr);
    mpv_render_context_free(m_ctx);
    m_ctx = nullptr;
    m_glHasFrame = false;
}

void VideoSurface::onGlUpdateCallback(void *self)
{
    auto *s = static_cast<VideoSurface *>(self);
    QMetaObject::invokeMethod(s, [s] { s->onGlUpdate(); }, Qt::QueuedConnection);
}

void VideoSurface::onGlUpdate()
{
    if (!m_glWindow || !m_ctx)
        return;
    if (m_glWindow->isVisible() && m_glWindow->isExposed()) {
        drawGl();
        return;
    }
    // Hidden (between files, or an audio-only file): nothing is drawn, so frames are used up
    // here; a video output whose frames are never taken would stall playback. The new
    // file's first frame is kept for the first draw once the surface shows.
    bool awaitFresh = false;
    {
        std::lock_guard lock(m_mutex);
        awaitFresh = m_awaitFresh && !m_blocked;
    }
    if (!m_glContext->makeCurrent(m_glWindow))
        return;
    if ((mpv_render_context_update(m_ctx) & MPV_RENDER_UPDATE_FRAME) && !(awaitFresh && nextFrameIsFresh()))
        skipGlFrame();
    m_glContext->doneCurrent();
}

void VideoSurface::skipGlFrame()
{
    int skip = 1;
    mpv_opengl_fbo fbo{static_cast<int>(m_glContext->defaultFramebufferObject()), 1, 1, 0};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_ctx, params);
}

bool VideoSurface::renderGl() const
{
    const qreal dpr = m_glWindow->devicePixelRatio();
    mpv_opengl_fbo fbo{static_cast<int>(m_glContext->defaultFramebufferObject()),
                       qRound(m_glWindow->width() * dpr), qRound(m_glWindow->height() * dpr), 0};
    int flipY = 1; // the default framebuffer's rows run bottom up
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return mpv_render_context_render(m_ctx, params) >= 0;
}

void VideoSurface::drawGl()
{
    if (!m_glWindow || !m_glContext || !m_glContext->makeCurrent(m_glWindow))
        return;
    QOpenGLFunctions *f = m_glContext->functions();
    auto black = [&] {
        f->glClearColor(0, 0, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
        m_glHasFrame = false;
        m_glContext->swapBuffers(m_glWindow);
        m_glContext->doneCurrent();
    };
    if (!m_ctx) {
        black();
        return;
    }
    const std::uint64_t flags = mpv_render_context_update(m_ctx);
    bool blocked = false, awaitFresh = false;
    {
        std::lock_guard lock(m_mutex);
        blocked = m_blocked;
        awaitFresh = m_awaitFresh;
    }
    if (blocked || (awaitFresh && !nextFrameIsFresh())) {
        // Frames the file before left queued (or a redraw of its picture) are used up,
        // never shown.
        if (flags & MPV_RENDER_UPDATE_FRAME)
            skipGlFrame();
        black();
        return;
    }
    if (!renderGl()) {
        black();
        return;
    }
    m_glContext->swapBuffers(m_glWindow);
    mpv_render_context_report_swap(m_ctx);
    m_glContext->doneCurrent();
    {
        std::lock_guard lock(m_mutex);
        m_awaitFresh = false;
    }
    m_glHasFrame = true;
    Q_EMIT framePainted();
}

// --- Both paths ----------------------------------------------------------------------

void VideoSurface::clear()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        m_swHasFrame = false;
        m_blocked = true;
    }
    m_glHasFrame = false;
    if (m_glWindow && m_glWindow->isExposed())
        drawGl();
    paintSwBlack(); // a paint under way goes black when it is given back
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
    if (m_glWindow) {
        if (m_glWindow->isExposed())
            drawGl();
    } else {
        m_cv.notify_one();
    }
}

QImage VideoSurface::lastFrame()
{
    if (m_glWindow) {
        if (!m_glHasFrame || !m_ctx || !m_glContext || !m_glContext->makeCurrent(m_glWindow))
            return {};
        // The picture shown is drawn once more into the back buffer, which is read and not
        // swapped (what was swapped to the screen cannot be read back everywhere).
        const qreal dpr = m_glWindow->devicePixelRatio();
        QImage img(qRound(m_glWindow->width() * dpr), qRound(m_glWindow->height() * dpr), QImage::Format_RGBA8888);
        QImage out;
        if (renderGl()) {
            QOpenGLFunctions *f = m_glContext->functions();
            f->glPixelStorei(GL_PACK_ALIGNMENT, 4);
            f->glReadPixels(0, 0, img.width(), img.height(), GL_RGBA, GL_UNSIGNED_BYTE, img.bits());
            out = img.mirrored().convertToFormat(QImage::Format_RGB32);
        }
        m_glContext->doneCurrent();
        return out;
    }
    if (!m_swWindow)
        return {};
    bool renderedNow = false;
    {
        // A render under way finishes first (within a frame's time): until then the image
        // holds part of the next frame.
        std::unique_lock lock(m_mutex);
        m_lendCv.wait_for(lock, std::chrono::seconds(1),
                          [this] { return m_quit || m_lendState != LendState::Lent; });
        if (m_lendState == LendState::Lent)
            return {};
        renderedNow = m_lendState == LendState::Rendered;
    }
    if (renderedNow)
        giveBack(); // on screen now; the queued give-back finds nothing left to do
    {
        std::lock_guard lock(m_mutex);
        if (!m_swHasFrame)
            return {};
    }
    if (!m_painting) {
        if (!m_store || m_store->size() != m_swWindow->size())
            return {};
        m_store->beginPaint(QRegion());
    }
    QImage out;
    if (!m_side.isNull()) {
        out = m_side.copy();
    } else if (QPaintDevice *device = m_store->paintDevice(); device && device->devType() == QInternal::Image) {
        // The same bytes read as 32-bit RGB: the fourth byte is the engine's filler, not alpha.
        const auto *image = static_cast<QImage *>(device);
        out = QImage(image->constBits(), image->width(), image->height(), image->bytesPerLine(),
                     QImage::Format_RGB32)
                  .copy();
    }
    if (!m_painting)
        m_store->endPaint();
    return out;
}

void VideoSurface::paintEvent(QPaintEvent *)
{
    if (m_glContainer || m_swContainer)
        return; // the picture's own window covers the surface
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
}
