#include "playback/real_control.h"

#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text_file.h"

#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include <cmath>

RealControl::RealControl(MediaBackendFactory factory, QWidget *parent)
    : QWidget(parent), m_factory(std::move(factory))
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

RealControl::~RealControl() = default;

MediaBackend *RealControl::backend()
{
    if (!m_backend && m_factory) {
        m_backend = m_factory();
        connect(m_backend.get(), &MediaBackend::loaded, this, [this] {
            if (m_state == Loading)
                setState(Playing);
        });
        connect(m_backend.get(), &MediaBackend::loadFailed, this, [this] { setState(Stopped); });
        connect(m_backend.get(), &MediaBackend::videoConfigured, this, [this] {
            placeSurface();
            if (m_state == Playing)
                Q_EMIT stateChange(Playing);
        });
    }
    return m_backend.get();
}

QString RealControl::resolveSource(const QString &source)
{
    QString s = source;
    if (s.startsWith(QStringLiteral("file://")))
        s = QUrl(s).toLocalFile();
    if (path::getextension(s).compare(QStringLiteral("ram"), Qt::CaseInsensitive) != 0)
        return s;
    const auto lines = platform::readTextLines(s);
    if (!lines)
        return s;
    const QString folder = path::getdirectory(s);
    for (QString line : *lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(QStringLiteral("file://")))
            line = QUrl(line).toLocalFile();
        else if (line.contains(QStringLiteral("://")))
            return line; // a stream the engine opens itself
        if (!line.startsWith(u'/'))
            line = path::addbackslash(folder) + line;
        if (platform::normalEntryExists(line))
            return line;
    }
    return s;
}

void RealControl::setSource(const QString &source)
{
    m_source = source;
    if (source.isEmpty()) {
        // Clearing the source never starts an engine: the stop command clears it after
        // every ordinary file too, and a second libmpv instance costs memory for nothing.
        if (MediaBackend *b = m_backend.get()) {
            b->unload();
            if (QWidget *s = b->surface(this))
                s->hide();
        }
        setState(Stopped);
        return;
    }
    MediaBackend *b = backend();
    if (!b)
        return;
    b->startLoad(resolveSource(source), false);
    if (QWidget *s = b->surface(this)) {
        placeSurface();
        s->show();
    }
    setState(b->isLoaded() ? Playing : Loading);
}

void RealControl::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    Q_EMIT stateChange(s);
}

void RealControl::setProperty(int id, const QVariant &value)
{
    if (id == Source)
        setSource(value.toString());
}

QVariant RealControl::invoke(int id, const QVariant &argument)
{
    MediaBackend *b = m_backend.get();
    switch (id) {
    case Source:
        return m_source;
    case Stop:
        if (b && b->isLoaded()) {
            b->setPaused(true);
            b->seek(0);
        }
        if (!m_source.isEmpty() || m_state != Stopped)
            setState(Stopped);
        return {};
    case Play:
        if (!b || m_source.isEmpty())
            return {};
        if (!b->isLoaded() && !b->isLoading()) {
            setSource(m_source);
            return {};
        }
        b->setPaused(false);
        if (b->isLoaded())
            setState(Playing);
        return {};
    case Pause:
        if (b && b->isLoaded()) {
            b->setPaused(true);
            setState(Paused);
        }
        return {};
    case Position: {
        const auto p = b ? b->position() : std::nullopt;
        return p ? static_cast<int>(std::lround(*p * 1000.0)) : 0;
    }
    case PlayStateId:
        return static_cast<int>(m_state);
    case Length: {
        const auto d = b ? b->duration() : std::nullopt;
        return d ? static_cast<int>(std::lround(*d * 1000.0)) : 0;
    }
    case ClipWidth:
    case ClipHeight: {
        const auto s = b ? b->videoSize() : std::nullopt;
        return s ? (id == ClipWidth ? s->width() : s->height()) : 0;
    }
    case Seek:
        if (b && b->isLoaded())
            b->seek(argument.toDouble() / 1000.0);
        return {};
    case FullScreenQuery:
        // The picture follows the window: in full screen the window is the screen.
        return true;
    default:
        return {};
    }
}

void RealControl::placeSurface()
{
    if (!m_backend)
        return;
    if (QWidget *s = m_backend->surface(this))
        s->setGeometry(rect());
}

void RealControl::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeSurface();
}

void RealControl::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

void RealControl::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    Q_EMIT gotFocus();
}

void RealControl::mousePressEvent(QMouseEvent *e)
{
    Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
}

void RealControl::mouseMoveEvent(QMouseEvent *e)
{
    Q_EMIT mouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}
