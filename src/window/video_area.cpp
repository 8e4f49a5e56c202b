#include "window/video_area.h"

#include "widgets/above_video.h"

#include "lists/file_list_box.h"
#include "platform/my_module.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "widgets/controls.h"
#include "widgets/images.h"
#include "widgets/options.h"
#include "widgets/twips.h"
#include "window/video_fit.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QScreen>

namespace tw = twips;

VideoArea::VideoArea(QWidget *window, MediaBackendFactory movieBackend, MediaBackendFactory realBackend)
    : QObject(window)
{
    // The engine starts with the first file: a start without one loads no libmpv.
    m_movie = std::make_unique<CMovie>([this, factory = std::move(movieBackend)]() -> std::unique_ptr<MediaBackend> {
        if (!factory)
            return nullptr;
        auto backend = factory();
        if (backend)
            connect(backend.get(), &MediaBackend::framePainted, this, &VideoArea::framePainted);
        return backend;
    });

    m_display = new PictureBox(window);
    m_display->setObjectName(QStringLiteral("display"));
    m_display->setFocusPolicy(Qt::StrongFocus);
    m_display->setMouseTracking(true);
    tw::place(m_display, 0, 0, 4995, 3240);

    m_logo = new QLabel(m_display);
    m_logo->setObjectName(QStringLiteral("logo"));
    m_logo->setPixmap(images::logo());
    m_logo->adjustSize();
    m_logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_Label_Logo = new QLabel(QStringLiteral("= Plovana ="), m_display);
    m_Label_Logo->setObjectName(QStringLiteral("Label_Logo"));
    m_Label_Logo->setAlignment(Qt::AlignCenter);
    m_Label_Logo->setStyleSheet(QStringLiteral("color: rgb(119,150,230); background: transparent;"));
    tw::place(m_Label_Logo, 0, 0, 2400, 300);
    m_Label_Logo->setAttribute(Qt::WA_TransparentForMouseEvents);


    m_rmovie = new RealControl(std::move(realBackend), window);
    m_rmovie->setObjectName(QStringLiteral("rmovie"));
    m_rmovie->setGeometry(m_display->geometry());
    m_rmovie->hide();

    // The masks lie over the video area and its picture; the mouse goes through them to the
    // video underneath.
    for (QWidget **mask : {&m_clip_upper, &m_clip_under}) {
        *mask = new QWidget(window);
        (*mask)->setAutoFillBackground(true);
        QPalette p = (*mask)->palette();
        p.setColor(QPalette::Window, Qt::black);
        (*mask)->setPalette(p);
        (*mask)->setAttribute(Qt::WA_TransparentForMouseEvents);
        (*mask)->hide();
    }
    m_clip_upper->setObjectName(QStringLiteral("clip_upper"));
    m_clip_under->setObjectName(QStringLiteral("clip_under"));

    m_blackShape = new QWidget(window);
    m_blackShape->setObjectName(QStringLiteral("blackShape"));
    m_blackShape->setAutoFillBackground(true);
    QPalette black = m_blackShape->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_blackShape->setPalette(black);
    m_blackShape->hide();

    m_kyoukai = new PictureBox(window);
    m_kyoukai->setObjectName(QStringLiteral("kyoukai"));
    m_kyoukai->setBackColor(window->palette().color(QPalette::Mid));
    m_kyoukai->setCursor(Qt::SizeHorCursor);
    tw::place(m_kyoukai, 4920, -120, 80, 6615);

    m_display->setAcceptDrops(true);
    m_display->installEventFilter(this);
    connect(m_display, &PictureBox::resized, this, &VideoArea::display_Resize);
    connect(m_rmovie, &RealControl::gotFocus, this, [this] { m_display->setFocus(); });
    connect(m_rmovie, &RealControl::stateChange, this, [this](int s) {
        if (s == 3)
            fitVideo();
    });
}

VideoArea::~VideoArea() = default;

bool VideoArea::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_display && takeFileDrop(e, [this](const QStringList &files) { Q_EMIT filesDropped(files); }))
        return true;
    return QObject::eventFilter(o, e);
}

void VideoArea::display_Resize()
{
    if (m_displayResizeLock)
        return;
    tw::setLeft(m_logo, (tw::width(m_display) - tw::width(m_logo)) / 2);
    tw::setTop(m_logo, (tw::height(m_display) - tw::height(m_logo)) / 2);
    tw::setLeft(m_Label_Logo, (tw::width(m_display) - tw::width(m_Label_Logo)) / 2);
    tw::setTop(m_Label_Logo, tw::top(m_logo) + tw::height(m_logo));
    fitVideo();
}

void VideoArea::attachOptions(const Options &options)
{
    m_options = &options;
}

bool VideoArea::keepAspect() const
{
    return m_options && m_options->fitMode() == 1;
}

QSize VideoArea::sourceSize() const
{
    // RealMedia pictures fill the area: their masks are a share of it.
    if (m_playsRealMedia && m_playsRealMedia())
        return {};
    if (m_movie && m_movie->mobjVideo)
        if (const auto size = m_movie->mobjVideo->sourceSize())
            return *size;
    return {};
}

void VideoArea::fitVideo()
{
    if (m_movie && m_movie->PlayState != 0) {
        if (m_playsRealMedia && m_playsRealMedia()) {
            const QSize clip = realClipSize();
            const videofit::Rect r = videofit::realMediaRect(tw::width(m_display), tw::height(m_display), clip.width(),
                                                             clip.height(), keepAspect());
            tw::place(m_rmovie, tw::left(m_display) + r.left, tw::top(m_display) + r.top, r.width, r.height);
        } else {
            const QSize source = sourceSize();
            const videofit::Rect r =
                videofit::videoWindow(tw::width(m_display), tw::height(m_display), source.width(), source.height(),
                                      keepAspect(), myModule::twipsPerPixelX, myModule::twipsPerPixelY);
            if (r.left == 0 && r.top == 0)
                m_movie->SetWindowSize(r.width, r.height);
            else
                m_movie->SetWindowPosition(r.left, r.top, r.width, r.height);
        }
    }
    applyClipping();
}

void VideoArea::setVideoScale(double scale)
{
    QWidget *window = m_display->parentWidget();
    if (window->isMinimized())
        return;
    const QSize source = pictureSize();
    videofit::Size size = videofit::scaledVideoSize(tw::height(m_display), source.width(), source.height(),
                                                    myModule::twipsPerPixelX, myModule::twipsPerPixelY, scale);
    if (window->isMaximized())
        window->showNormal();
    // A window larger than its screen's work area shrinks, keeping the picture's aspect.
    if (const QScreen *screen = window->screen()) {
        const QRect avail = screen->availableGeometry();
        const QRect outer = window->frameGeometry();
        const videofit::Size chrome{tw::fromPixelsX(outer.width() - m_display->width()),
                                    tw::fromPixelsY(outer.height() - m_display->height())};
        size = videofit::fitToAvailable(size, chrome,
                                        {tw::fromPixelsX(avail.width()), tw::fromPixelsY(avail.height())});
    }
    resizeWindowToVideo(size.width, size.height);
}

void VideoArea::resizeWindowToVideo(int width, int height)
{
    // Everything around the video area keeps its size.
    QWidget *window = m_display->parentWidget();
    window->resize(tw::toPixelsX(width) + window->width() - m_display->width(),
                   tw::toPixelsY(height) + window->height() - m_display->height());
}

void VideoArea::optimizeWindowSize()
{
    QWidget *window = m_display->parentWidget();
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QSize source = pictureSize();
    const auto height = videofit::optimizedHeight(tw::width(m_display), source.width(), source.height());
    if (!height)
        return;
    // Only a change: the same size again would only run the layout again.
    if (tw::toPixelsY(*height) != m_display->height())
        resizeWindowToVideo(tw::width(m_display), *height);
}

QSize VideoArea::realClipSize() const
{
    return {m_rmovie->invoke(RealControl::ClipWidth).toInt(), m_rmovie->invoke(RealControl::ClipHeight).toInt()};
}

QSize VideoArea::pictureSize() const
{
    if (m_playsRealMedia && m_playsRealMedia())
        return realClipSize();
    return sourceSize();
}

void VideoArea::hideCursor(bool hide)
{
    for (QWidget *w : {static_cast<QWidget *>(m_display), static_cast<QWidget *>(m_rmovie)}) {
        if (hide)
            w->setCursor(Qt::BlankCursor);
        else
            w->unsetCursor();
    }
}

void VideoArea::applyClipping()
{
    applyClipUnder();
    applyClipUpper();
}

void VideoArea::applyClipUpper()
{
    const QSize source = sourceSize();
    const videofit::Mask m = videofit::upperClip(tw::width(m_display), tw::height(m_display), source.width(),
                                                 source.height(), keepAspect(), m_options ? m_options->upperClip() : 0);
    placeMask(m_clip_upper, m.top, m.height);
}

void VideoArea::applyClipUnder()
{
    const QSize source = sourceSize();
    const videofit::Mask m = videofit::underClip(tw::width(m_display), tw::height(m_display), source.width(),
                                                 source.height(), keepAspect(), m_options ? m_options->underClip() : 0);
    placeMask(m_clip_under, m.top, m.height);
}

void VideoArea::placeMask(QWidget *mask, int top, int height)
{
    if (height <= 0) {
        mask->hide();
        return;
    }
    tw::place(mask, tw::left(m_display), tw::top(m_display) + top, tw::width(m_display), height);
    mask->show();
    // Above the picture, whichever engine shows it; the controls made later stay above.
    const QObjectList &siblings = mask->parent()->children();
    abovevideo::makeNative(mask);
    if (siblings.indexOf(mask) < siblings.indexOf(m_rmovie))
        mask->raise();
}

void VideoArea::showLogo(bool on)
{
    m_logo->setVisible(on);
    m_Label_Logo->setVisible(on);
}

void VideoArea::coverDisplay(bool on)
{
    if (on) {
        m_blackShape->setGeometry(m_display->geometry());
        m_blackShape->show();
        m_blackShape->raise();
        m_display->hide();
    } else {
        m_display->show();
        m_blackShape->hide();
    }
}

QWidget *VideoArea::videoParent() const { return m_display; }

void VideoArea::releaseMovie() { m_movie.reset(); }

void VideoArea::focusDisplay()
{
    if (m_display->isVisible())
        m_display->setFocus();
}

void VideoArea::focusVideo()
{
    if (m_display->isVisible())
        m_display->setFocus();
    else if (m_rmovie->isVisible())
        m_rmovie->setFocus();
}
