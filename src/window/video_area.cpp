#include "window/video_area.h"

#include "widgets/images.h"
#include "widgets/options.h"
#include "lists/file_list_box.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "platform/my_module.h"
#include "widgets/controls.h"
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
    movie = std::make_unique<CMovie>([this, factory = std::move(movieBackend)]() -> std::unique_ptr<MediaBackend> {
        if (!factory)
            return nullptr;
        auto backend = factory();
        if (backend)
            connect(backend.get(), &MediaBackend::framePainted, this, &VideoArea::framePainted);
        return backend;
    });

    display = new PictureBox(window);
    display->setObjectName(QStringLiteral("display"));
    display->setFocusPolicy(Qt::StrongFocus);
    display->setMouseTracking(true);
    tw::place(display, 0, 0, 4995, 3240);

    logo = new QLabel(display);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(images::logo());
    logo->adjustSize();
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label_Logo = new QLabel(QStringLiteral("= Plovana ="), display);
    Label_Logo->setObjectName(QStringLiteral("Label_Logo"));
    Label_Logo->setAlignment(Qt::AlignCenter);
    Label_Logo->setStyleSheet(QStringLiteral("color: rgb(119,150,230); background: transparent;"));
    tw::place(Label_Logo, 0, 0, 2400, 300);
    Label_Logo->setAttribute(Qt::WA_TransparentForMouseEvents);


    rmovie = new RealControl(std::move(realBackend), window);
    rmovie->setObjectName(QStringLiteral("rmovie"));
    rmovie->setGeometry(display->geometry());
    rmovie->hide();

    // The masks lie over the video area and its picture; the mouse goes through them to the
    // video underneath.
    for (QWidget **mask : {&clip_upper, &clip_under}) {
        *mask = new QWidget(window);
        (*mask)->setAutoFillBackground(true);
        QPalette p = (*mask)->palette();
        p.setColor(QPalette::Window, Qt::black);
        (*mask)->setPalette(p);
        (*mask)->setAttribute(Qt::WA_TransparentForMouseEvents);
        (*mask)->hide();
    }
    clip_upper->setObjectName(QStringLiteral("clip_upper"));
    clip_under->setObjectName(QStringLiteral("clip_under"));

    blackShape = new QWidget(window);
    blackShape->setObjectName(QStringLiteral("blackShape"));
    blackShape->setAutoFillBackground(true);
    QPalette black = blackShape->palette();
    black.setColor(QPalette::Window, Qt::black);
    blackShape->setPalette(black);
    blackShape->hide();

    kyoukai = new PictureBox(window);
    kyoukai->setObjectName(QStringLiteral("kyoukai"));
    kyoukai->setBackColor(window->palette().color(QPalette::Mid));
    kyoukai->setCursor(Qt::SizeHorCursor);
    tw::place(kyoukai, 4920, -120, 80, 6615);

    display->setAcceptDrops(true);
    display->installEventFilter(this);
    connect(display, &PictureBox::resized, this, &VideoArea::display_Resize);
    connect(rmovie, &RealControl::gotFocus, this, [this] { display->setFocus(); });
    connect(rmovie, &RealControl::stateChange, this, [this](int s) {
        if (s == 3)
            fitVideo();
    });
}

VideoArea::~VideoArea() = default;

bool VideoArea::eventFilter(QObject *o, QEvent *e)
{
    if (o == display && takeFileDrop(e, [this](const QStringList &files) { Q_EMIT filesDropped(files); }))
        return true;
    return QObject::eventFilter(o, e);
}

void VideoArea::display_Resize()
{
    if (displayResizeLock)
        return;
    tw::setLeft(logo, (tw::width(display) - tw::width(logo)) / 2);
    tw::setTop(logo, (tw::height(display) - tw::height(logo)) / 2);
    tw::setLeft(Label_Logo, (tw::width(display) - tw::width(Label_Logo)) / 2);
    tw::setTop(Label_Logo, tw::top(logo) + tw::height(logo));
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
    if (playsRealMedia && playsRealMedia())
        return {};
    if (movie && movie->mobjVideo)
        if (const auto size = movie->mobjVideo->sourceSize())
            return *size;
    return {};
}

void VideoArea::fitVideo()
{
    if (movie && movie->PlayState != 0) {
        if (playsRealMedia && playsRealMedia()) {
            const QSize clip = realClipSize();
            const videofit::Rect r = videofit::realMediaRect(tw::width(display), tw::height(display), clip.width(),
                                                             clip.height(), keepAspect());
            tw::place(rmovie, tw::left(display) + r.left, tw::top(display) + r.top, r.width, r.height);
        } else {
            const QSize source = sourceSize();
            const videofit::Rect r =
                videofit::videoWindow(tw::width(display), tw::height(display), source.width(), source.height(),
                                      keepAspect(), myModule::twipsPerPixelX, myModule::twipsPerPixelY);
            if (r.left == 0 && r.top == 0)
                movie->SetWindowSize(r.width, r.height);
            else
                movie->SetWindowPosition(r.left, r.top, r.width, r.height);
        }
    }
    applyClipping();
}

void VideoArea::setVideoScale(double scale)
{
    QWidget *window = display->parentWidget();
    if (window->isMinimized())
        return;
    const QSize source = pictureSize();
    videofit::Size size = videofit::scaledVideoSize(tw::height(display), source.width(), source.height(),
                                                    myModule::twipsPerPixelX, myModule::twipsPerPixelY, scale);
    if (window->isMaximized())
        window->showNormal();
    // A window larger than its screen's work area shrinks, keeping the picture's aspect.
    if (const QScreen *screen = window->screen()) {
        const QRect avail = screen->availableGeometry();
        const QRect outer = window->frameGeometry();
        const videofit::Size chrome{tw::fromPixelsX(outer.width() - display->width()),
                                    tw::fromPixelsY(outer.height() - display->height())};
        size = videofit::fitToAvailable(size, chrome,
                                        {tw::fromPixelsX(avail.width()), tw::fromPixelsY(avail.height())});
    }
    resizeWindowToVideo(size.width, size.height);
}

void VideoArea::resizeWindowToVideo(int width, int height)
{
    // Everything around the video area keeps its size.
    QWidget *window = display->parentWidget();
    window->resize(tw::toPixelsX(width) + window->width() - display->width(),
                   tw::toPixelsY(height) + window->height() - display->height());
}

void VideoArea::optimizeWindowSize()
{
    QWidget *window = display->parentWidget();
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QSize source = pictureSize();
    const auto height = videofit::optimizedHeight(tw::width(display), source.width(), source.height());
    if (!height)
        return;
    // Only a change: the same size again would only run the layout again.
    if (tw::toPixelsY(*height) != display->height())
        resizeWindowToVideo(tw::width(display), *height);
}

QSize VideoArea::realClipSize() const
{
    return {rmovie->invoke(RealControl::ClipWidth).toInt(), rmovie->invoke(RealControl::ClipHeight).toInt()};
}

QSize VideoArea::pictureSize() const
{
    if (playsRealMedia && playsRealMedia())
        return realClipSize();
    return sourceSize();
}

void VideoArea::hideCursor(bool hide)
{
    for (QWidget *w : {static_cast<QWidget *>(display), static_cast<QWidget *>(rmovie)}) {
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
    const videofit::Mask m = videofit::upperClip(tw::width(display), tw::height(display), source.width(),
                                                 source.height(), keepAspect(), m_options ? m_options->upperClip() : 0);
    placeMask(clip_upper, m.top, m.height);
}

void VideoArea::applyClipUnder()
{
    const QSize source = sourceSize();
    const videofit::Mask m = videofit::underClip(tw::width(display), tw::height(display), source.width(),
                                                 source.height(), keepAspect(), m_options ? m_options->underClip() : 0);
    placeMask(clip_under, m.top, m.height);
}

void VideoArea::placeMask(QWidget *mask, int top, int height)
{
    if (height <= 0) {
        mask->hide();
        return;
    }
    tw::place(mask, tw::left(display), tw::top(display) + top, tw::width(display), height);
    mask->show();
    // Above the picture, whichever engine shows it; the controls made later stay above.
    const QObjectList &siblings = mask->parent()->children();
    if (siblings.indexOf(mask) < siblings.indexOf(rmovie))
        mask->raise();
}

void VideoArea::showLogo(bool on)
{
    logo->setVisible(on);
    Label_Logo->setVisible(on);
}

void VideoArea::coverDisplay(bool on)
{
    if (on) {
        blackShape->setGeometry(display->geometry());
        blackShape->show();
        blackShape->raise();
        display->hide();
    } else {
        display->show();
        blackShape->hide();
    }
}

void VideoArea::focusVideo()
{
    if (display->isVisible())
        display->setFocus();
    else if (rmovie->isVisible())
        rmovie->setFocus();
}
