#include "window/seek_preview.h"

#include "playback/engine_units.h"
#include "playback/playback_state.h"
#include "widgets/controls.h"
#include "widgets/options.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/seek_preview_math.h"
#include "window/window_modes.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace tw = twips;

namespace {

// A playlist of the RealMedia player names other files: there is no frame of its own.
bool isPlaylist(const QString &file)
{
    return QFileInfo(file).suffix().compare(QLatin1String("ram"), Qt::CaseInsensitive) == 0;
}

} // namespace

SeekPreview::SeekPreview(QWidget *window, ControlBar &bar, PlaybackState &state, WindowModes &modes,
                         const Options &options, PreviewDecoderFactory decoder)
    : QObject(window), m_bar(bar), m_state(state), m_modes(modes), m_options(options)
{
    m_worker = new PreviewWorker(std::move(decoder), std::chrono::milliseconds(2000), this);
    connect(m_worker, &PreviewWorker::frameReady, this, &SeekPreview::frameReady);

    // A window of its own over everything (the full-screen window too), which takes neither
    // the focus nor the pointer.
    auto *frame = new QFrame(window, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                                         | Qt::WindowTransparentForInput);
    frame->setObjectName(QStringLiteral("SeekPreview"));
    frame->setAttribute(Qt::WA_ShowWithoutActivating);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->setStyleSheet(QStringLiteral("#SeekPreview { background: #101010; border: 1px solid #808080; }"
                                        "#previewTime { color: #f0f0f0; padding: 1px 4px; }"));
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_picture = new QLabel(frame);
    m_picture->setObjectName(QStringLiteral("previewPicture"));
    m_picture->hide();
    m_time = new QLabel(frame);
    m_time->setObjectName(QStringLiteral("previewTime"));
    m_time->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);
    layout->addWidget(m_time);
    m_window = frame;

    m_seekBar = bar.SeekBar();
    m_fullBar = bar.SeekBarForFullscreen();
    for (QWidget *b : {m_seekBar.data(), m_fullBar.data()}) {
        b->setMouseTracking(true); // moves without a button held come too
        b->installEventFilter(this);
    }
    // The window is taken down room by room: once the control bar is gone, the bars' last
    // events (those of their own destruction) no longer come here, where they would ask a
    // control bar and a playback state that are no more.
    connect(&bar, &QObject::destroyed, this, [this] {
        m_shutDown = true;
        for (QWidget *b : {m_seekBar.data(), m_fullBar.data()})
            if (b)
                b->removeEventFilter(this);
    });
    connect(&state, &PlaybackState::fileChanged, this, &SeekPreview::fileChanged);
    connect(&state, &PlaybackState::statusChanged, this, [this](PlayStatus s) {
        if (s == PlayStatus::Closed)
            hidePreview();
    });
    connect(&modes, &WindowModes::windowModeChanged, this, &SeekPreview::hidePreview);
}

SeekPreview::~SeekPreview()
{
    m_worker->shutdown();
}

void SeekPreview::shutdown()
{
    if (m_shutDown)
        return;
    hidePreview();
    m_shutDown = true;
    m_worker->shutdown(std::chrono::milliseconds(1000));
}

bool SeekPreview::eventFilter(QObject *o, QEvent *e)
{
    const bool seekBar = o == m_seekBar;
    if (!seekBar && o != m_fullBar)
        return QObject::eventFilter(o, e);
    const auto rest = [&](QPointF at) {
        const int x = tw::fromPixelsX(at.toPoint().x());
        if (seekBar)
            SeekBar_Hover(x);
        else
            SeekBarForFullscreen_Hover(x);
    };
    switch (e->type()) {
    case QEvent::MouseMove: {
        const auto *m = static_cast<QMouseEvent *>(e);
        if (m->buttons() != Qt::NoButton)
            hidePreview(); // a drag
        else
            rest(m->position());
        break;
    }
    case QEvent::Enter:
        // A pointer that jumps onto the bar (warped, or the window raised under it) may bring
        // no move until it moves again.
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            rest(static_cast<QEnterEvent *>(e)->position());
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Leave:
    case QEvent::Hide:
        hidePreview();
        break;
    default:
        break;
    }
    return QObject::eventFilter(o, e); // the bar's own handlers see every event
}

bool SeekPreview::wanted() const
{
    return !m_shutDown && m_options.seekPreview() && m_state.isOpen() && !m_state.file().isEmpty()
           && m_modes.windowMode() != WindowMode::Mini;
}

void SeekPreview::SeekBar_Hover(int x)
{
    QWidget *bar = m_bar.SeekBar();
    hover(bar, tw::toPixelsX(x),
          preview::seekBarSecond(x, tw::width(bar), m_state.duration(), m_state.isRealMedia()));
}

void SeekPreview::SeekBarForFullscreen_Hover(int x)
{
    QWidget *bar = m_bar.SeekBarForFullscreen();
    hover(bar, tw::toPixelsX(x),
          preview::fullScreenSecond(x, tw::width(bar), m_state.duration(), m_state.isRealMedia()));
}

void SeekPreview::hover(QWidget *bar, int xPx, std::optional<int> second)
{
    if (!wanted() || !second || !bar->isVisible()) {
        hidePreview();
        return;
    }
    if (m_state.file() != m_file)
        fileChanged();
    m_pointerBar = bar;
    m_pointerX = xPx;
    const bool moved = m_wanted != second;
    m_wanted = second;
    m_time->setText(timeText(*second));
    if (m_frames == Frames::None) {
        showTimeOnly();
    } else if (moved || !m_window->isVisible()) {
        const int width = preview::pictureWidth(bar->devicePixelRatioF());
        m_pictureWidth = width;
        if (const platform::RgbImage *image = m_cache.find(m_file, *second, width)) {
            // The newest position is answered: what still waits for the worker is stale.
            m_worker->dropWaiting();
            m_asked.reset();
            showPicture(*image, *second, m_nextTicket++, true);
        } else if (m_asked != second) {
            m_worker->request(m_file, *second, width, m_nextTicket++);
            m_asked = second;
        }
    }
    placeWindow();
    if (!m_window->isVisible())
        m_window->show();
}

void SeekPreview::hidePreview()
{
    m_window->hide();
    m_wanted.reset();
    m_pointerBar = nullptr;
    // Nobody waits for a frame any more; one under way still lands in the cache.
    m_worker->dropWaiting();
    m_asked.reset();
}

void SeekPreview::fileChanged()
{
    // The old file's frames are of no use now; those made already stay in the cache.
    m_worker->cancel();
    hidePreview();
    m_file = m_state.file();
    m_frames = isPlaylist(m_file) ? Frames::None : Frames::Unknown;
    m_failures = 0;
    m_shownSecond.reset();
    m_picture->clear();
    m_picture->hide();
}

void SeekPreview::frameReady(const PreviewResult &r)
{
    if (r.file != m_file)
        return;
    if (m_asked == r.second && r.exact)
        m_asked.reset();
    switch (r.status) {
    case platform::GrabStatus::Ok: {
        m_frames = Frames::Pictures;
        m_failures = 0;
        // A frame near the position stands in until the frame at it comes; only frames at
        // their second are kept.
        if (r.exact)
            m_cache.insert(m_file, r.second, r.image);
        const bool newer = r.ticket > m_shownTicket || (r.ticket == m_shownTicket && r.exact && !m_shownExact);
        if (newer && m_window->isVisible() && r.width == m_pictureWidth)
            showPicture(r.image, r.second, r.ticket, r.exact);
        return;
    }
    case platform::GrabStatus::NoVideo:
        m_frames = Frames::None; // audio only
        break;
    case platform::GrabStatus::BadData:
    case platform::GrabStatus::TimedOut:
        // A file that never gave a frame, or keeps failing, is not asked again: the time alone.
        if (m_frames == Frames::Unknown || ++m_failures >= 3)
            m_frames = Frames::None;
        break;
    case platform::GrabStatus::Cancelled:
        return;
    }
    if (m_frames == Frames::None && m_window->isVisible()) {
        showTimeOnly();
        placeWindow();
    }
}

void SeekPreview::showPicture(const platform::RgbImage &image, int second, quint64 ticket, bool exact)
{
    if (!image.isValid())
        return;
    const QImage frame(reinterpret_cast<const uchar *>(image.pixels.constData()), image.width, image.height,
                       image.width * 3, QImage::Format_RGB888);
    QPixmap pixmap = QPixmap::fromImage(frame);
    const qreal ratio = m_pointerBar ? m_pointerBar->devicePixelRatioF() : m_window->devicePixelRatioF();
    pixmap.setDevicePixelRatio(ratio);
    m_picture->setFixedSize((QSizeF(pixmap.size()) / ratio).toSize());
    m_picture->setPixmap(pixmap);
    m_picture->show();
    m_shownTicket = ticket;
    m_shownSecond = second;
    m_shownExact = exact;
    placeWindow();
    Q_EMIT pictureShown(second, exact);
}

void SeekPreview::showTimeOnly()
{
    m_picture->hide();
    m_picture->clear();
    m_shownSecond.reset();
}

void SeekPreview::placeWindow()
{
    QWidget *bar = m_pointerBar;
    if (!bar)
        return;
    m_window->adjustSize();
    const QPoint at = bar->mapToGlobal(QPoint(m_pointerX, 0));
    const QScreen *screen = bar->screen();
    const QRect area = screen ? screen->geometry() : QRect(at - QPoint(4000, 4000), QSize(8000, 8000));
    m_window->move(preview::place(at.x(), at.y(), at.y() + bar->height(), m_window->size(), area));
}
