// The libmpv engine behind MediaBackend.
//
// What matters here (each was seen to break playback otherwise):
//  - libmpv's events reach the UI thread through the wakeup callback, which only posts a
//    queued call; that call drains mpv_wait_event(h, 0) until MPV_EVENT_NONE.
//  - keep-open=yes, so a finished file stays open at its end; it also sets pause=yes at
//    the end, so pause is set explicitly before every load.
//  - "loadfile replace" first delivers the old file's END_FILE: end events are ignored
//    until the new file's START_FILE.
//  - audio-fallback-to-null=yes: without a sound card files would otherwise end with an
//    error instead of at their end, and audio-only files would fail.
//  - hr-seek-demuxer-offset: MPEG program streams overshoot exact seeks by about half a
//    second without it.
//  - A negative absolute seek counts from the end in mpv: every position is clamped.
//  - The UI thread reads observed properties; it makes no blocking call while playing.
//  - A file with a picture is "loaded" only after its VIDEO_RECONFIG: the source size is
//    known then, and the video output has dropped the frames the file before queued.
#include "playback/media_backend.h"

#include "playback/video_surface.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <mpv/client.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>

namespace {

// PLOVANA_MPV_TRACE prints the engine's events to stderr, each with the milliseconds since
// the program was loaded (this clock starts before main), so a trace shows where the time
// of a start or an open goes.
const auto kLoadedAt = std::chrono::steady_clock::now();
const bool kTrace = qEnvironmentVariableIsSet("PLOVANA_MPV_TRACE");

void trace(const char *format, auto... args)
{
    if (!kTrace)
        return;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kLoadedAt).count();
    std::fprintf(stderr, "[%8.1f ms] ", ms);
    std::fprintf(stderr, format, args...);
    std::fputc('\n', stderr);
}

enum PropertyId : std::uint64_t { TimePos = 1, Duration, Pause, EofReached };

// How long an opened file with a video track may take to configure its picture.
constexpr int kVideoConfigWaitMs = 2000;

class MpvBackend final : public MediaBackend
{
public:
    ~MpvBackend() override
    {
        // The render context goes first, then the core.
        delete m_surface.data();
        if (m_mpv) {
            mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
            mpv_terminate_destroy(m_mpv);
        }
    }

    void startLoad(const QString &path, bool startPaused) override
    {
        trace("load of %s", qPrintable(path));
        if (!ensureCore() || !ensureSurface(nullptr)) {
            m_state = State::Failed;
            Q_EMIT loadFailed();
            return;
        }
        resetFileState();
        m_surface->clear();
        m_paused = startPaused;
        mpv_set_property_string(m_mpv, "pause", startPaused ? "yes" : "no");
        const QByteArray file = path.toUtf8();
        const char *cmd[] = {"loadfile", file.constData(), "replace", nullptr};
        if (mpv_command(m_mpv, cmd) < 0) {
            m_state = State::Failed;
            Q_EMIT loadFailed();
            return;
        }
        ++m_pendingStarts;
        m_state = State::Loading;
    }

    bool waitLoaded(int timeoutMs) override
    {
        if (m_state == State::Loading) {
            QEventLoop loop;
            connect(this, &MediaBackend::loaded, &loop, &QEventLoop::quit);
            connect(this, &MediaBackend::loadFailed, &loop, &QEventLoop::quit);
            QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
            drainEvents(); // events that arrived before the loop started
            if (m_state == State::Loading)
                loop.exec();
        }
        return m_state == State::Loaded;
    }

    void unload() override
    {
        const bool wasLoading = m_state == State::Loading;
        // Synchronous, so that a load that follows is never overtaken by this stop. A
        // file that failed has already left the engine idle.
        if (m_mpv && (m_state == State::Loading || m_state == State::Loaded)) {
            const char *cmd[] = {"stop", nullptr};
            mpv_command(m_mpv, cmd);
        }
        resetFileState();
        if (m_surface)
            m_surface->clear();
        m_state = State::Idle;
        if (wasLoading)
            Q_EMIT loadFailed();
    }

    bool isLoaded() const override { return m_state == State::Loaded; }
    bool isLoading() const override { return m_state == State::Loading; }

    void setPaused(bool paused) override
    {
        if (!m_mpv)
            return;
        m_paused = paused;
        int flag = paused ? 1 : 0;
        mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &flag);
    }
    bool isPaused() const override { return m_paused; }

    std::optional<double> position() const override
    {
        if (m_state != State::Loaded)
            return std::nullopt;
        if (m_pendingSeek)
            return m_pendingSeek;
        if (m_eof && m_duration)
            return m_duration;
        if (m_timePos && m_duration)
            return std::min(*m_timePos, *m_duration);
        return m_timePos;
    }

    std::optional<double> duration() const override
    {
        if (m_state != State::Loaded)
            return std::nullopt;
        return m_duration;
    }

    void seek(double seconds) override
    {
        if (m_state != State::Loaded)
            return;
        double target = std::max(0.0, seconds);
        if (m_duration)
            target = std::min(target, *m_duration);
        const QByteArray t = QByteArray::number(target, 'f', 6);
        const char *cmd[] = {"seek", t.constData(), "absolute+exact", nullptr};
        if (mpv_command_async(m_mpv, 0, cmd) < 0)
            return;
        m_pendingSeek = target;
        m_eof = false;
    }

    void setRate(double rate) override
    {
        if (!m_mpv || !(rate > 0.0))
            return;
        m_rate = rate;
        mpv_set_property_async(m_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &rate);
    }
    std::optional<double> rate() const override
    {
        if (m_state != State::Loaded)
            return std::nullopt;
        return m_rate;
    }

    std::optional<double> volumePercent() const override
    {
        if (m_state != State::Loaded || !m_hasAudio)
            return std::nullopt;
        return m_volume;
    }
    void setVolumePercent(double percent) override
    {
        if (!m_mpv)
            return;
        m_volume = std::clamp(percent, 0.0, 100.0);
        double v = m_volume;
        mpv_set_property_async(m_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &v);
    }

    bool hasVideo() const override { return m_state == State::Loaded && m_hasVideo; }
    std::optional<QSize> videoSize() const override
    {
        if (m_state != State::Loaded)
            return std::nullopt;
        return m_videoSize;
    }

    QWidget *surface(QWidget *parent) override
    {
        if (!ensureCore() || !ensureSurface(parent))
            return nullptr;
        if (m_surface->parentWidget() != parent)
            m_surface->setParent(parent);
        return m_surface;
    }

private:
    enum class State { Idle, Loading, Loaded, Failed };

    bool ensureCore()
    {
        if (m_mpv)
            return true;
        trace("engine starting");
        // mpv_create refuses to run under a locale whose decimal point is not ".".
        std::setlocale(LC_NUMERIC, "C");
        m_mpv = mpv_create();
        if (!m_mpv)
            return false;
        const QByteArray ao = qgetenv("PLOVANA_MPV_AO");
        const std::pair<const char *, const char *> options[] = {
            {"config", "no"},
            {"terminal", "no"},
            {"vo", "libmpv"},
            {"keep-open", "yes"},
            {"idle", "yes"},
            {"audio-fallback-to-null", "yes"},
            {"input-default-bindings", "no"},
            {"input-vo-keyboard", "no"},
            {"osc", "no"},
            {"osd-level", "0"},
            {"ytdl", "no"},
            {"load-scripts", "no"},
            {"hr-seek", "yes"},
            {"hr-seek-demuxer-offset", "1"},
            {"keepaspect", "no"}, // the picture fills the surface; the window fits it
            {"hwdec", "no"},
        };
        for (const auto &[name, value] : options)
            mpv_set_option_string(m_mpv, name, value);
        if (!ao.isEmpty())
            mpv_set_option_string(m_mpv, "ao", ao.constData());
        if (mpv_initialize(m_mpv) < 0) {
            mpv_terminate_destroy(m_mpv);
            m_mpv = nullptr;
            return false;
        }
        mpv_observe_property(m_mpv, TimePos, "time-pos", MPV_FORMAT_DOUBLE);
        mpv_observe_property(m_mpv, Duration, "duration", MPV_FORMAT_DOUBLE);
        mpv_observe_property(m_mpv, Pause, "pause", MPV_FORMAT_FLAG);
        mpv_observe_property(m_mpv, EofReached, "eof-reached", MPV_FORMAT_FLAG);
        mpv_set_wakeup_callback(m_mpv, &MpvBackend::onWakeup, this);
        trace("engine started");
        return true;
    }

    bool ensureSurface(QWidget *parent)
    {
        if (!m_surface) {
            // The path is chosen at the first open. OpenGL needs the surface's window: a
            // surface made before it has one (a load started without a place to show it)
            // draws in software.
            const VideoPathChoice choice = VideoSurface::choosePath();
            auto *s = new VideoSurface(m_mpv, parent, choice.path);
            if (!s->isValid()) {
                delete s;
                return false;
            }
            s->hide();
            connect(s, &VideoSurface::framePainted, this, &MediaBackend::framePainted);
            m_surface = s;
            // Hardware decoding only where the decoded frames stay on the GPU; the decoder
            // falls back to software by itself when the hardware refuses a stream.
            mpv_set_property_string(m_mpv, "hwdec", s->path() == VideoPath::OpenGL ? "auto-safe" : "no");
            static bool told = false;
            if (!told) {
                told = true;
                const QString why = s->path() == choice.path ? choice.reason
                                                             : choice.reason + QStringLiteral("; ") + s->pathReason();
                trace("video path: %s", qPrintable(why));
            }
            if (kTrace)
                connect(s, &VideoSurface::framePainted, this, [this, s] {
                    if (!m_tracedFirstFrame)
                        trace("first frame painted, surface %dx%d at (%d, %d) in a parent of %dx%d", s->width(),
                              s->height(), s->x(), s->y(), s->parentWidget() ? s->parentWidget()->width() : 0,
                              s->parentWidget() ? s->parentWidget()->height() : 0);
                    m_tracedFirstFrame = true;
                });
        }
        return true;
    }

    static void onWakeup(void *self)
    {
        auto *b = static_cast<MpvBackend *>(self);
        if (!b->m_drainPosted.exchange(true))
            QMetaObject::invokeMethod(b, [b] { b->drainEvents(); }, Qt::QueuedConnection);
    }

    void resetFileState()
    {
        m_timePos.reset();
        m_duration.reset();
        m_pendingSeek.reset();
        m_videoSize.reset();
        m_eof = false;
        m_hasVideo = m_hasAudio = false;
        m_fileLoaded = false;
        ++m_loadSerial;
    }

    bool trackExists(const char *property)
    {
        std::int64_t id = 0;
        return mpv_get_property(m_mpv, property, MPV_FORMAT_INT64, &id) >= 0;
    }

    void drainEvents()
    {
        m_drainPosted = false;
        if (!m_mpv)
            return;
        for (;;) {
            mpv_event *ev = mpv_wait_event(m_mpv, 0);
            if (ev->event_id == MPV_EVENT_NONE)
                break;
            handle(ev);
        }
    }

    void handle(mpv_event *ev)
    {
        if (ev->event_id != MPV_EVENT_PROPERTY_CHANGE)
            trace("mpv event %s (pending starts %d, state %d)", mpv_event_name(ev->event_id), m_pendingStarts,
                  int(m_state));
        switch (ev->event_id) {
        case MPV_EVENT_START_FILE:
            if (m_pendingStarts > 0)
                --m_pendingStarts;
            break;
        case MPV_EVENT_FILE_LOADED:
            if (m_pendingStarts == 0 && m_state == State::Loading && !m_fileLoaded) {
                double d = 0;
                if (mpv_get_property(m_mpv, "duration", MPV_FORMAT_DOUBLE, &d) >= 0)
                    m_duration = d;
                m_hasVideo = trackExists("current-tracks/video/id");
                m_hasAudio = trackExists("current-tracks/audio/id");
                m_fileLoaded = true;
                if (!m_hasVideo || m_videoSize) {
                    finishLoad();
                } else {
                    // A file with a picture counts as loaded once its video output is
                    // configured: the source size is known then, and every frame queued
                    // by the file before has been dropped. A picture that never comes
                    // (a broken stream) does not keep the file from opening.
                    const unsigned serial = m_loadSerial;
                    QTimer::singleShot(kVideoConfigWaitMs, this, [this, serial] {
                        if (serial == m_loadSerial && m_state == State::Loading && m_fileLoaded)
                            finishLoad();
                    });
                }
            }
            break;
        case MPV_EVENT_END_FILE:
            if (m_pendingStarts > 0)
                break; // the replaced file's end
            if (m_state == State::Loading) {
                m_state = State::Failed;
                Q_EMIT loadFailed();
            } else if (m_state == State::Loaded) {
                resetFileState();
                m_state = State::Idle;
            }
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (m_pendingSeek) {
                m_timePos = m_pendingSeek;
                m_pendingSeek.reset();
            }
            break;
        case MPV_EVENT_VIDEO_RECONFIG: {
            std::int64_t w = 0, h = 0;
            if (mpv_get_property(m_mpv, "video-params/w", MPV_FORMAT_INT64, &w) >= 0
                && mpv_get_property(m_mpv, "video-params/h", MPV_FORMAT_INT64, &h) >= 0 && w > 0
                && h > 0) {
                if (m_pendingStarts > 0)
                    break; // the replaced file's picture
                m_videoSize = QSize(int(w), int(h));
                m_hasVideo = true;
                if (m_state == State::Loading && m_fileLoaded)
                    finishLoad();
                else
                    Q_EMIT videoConfigured();
            }
            break;
        }
        case MPV_EVENT_PROPERTY_CHANGE:
            onProperty(static_cast<mpv_event_property *>(ev->data), ev->reply_userdata);
            break;
        default:
            break;
        }
    }

    void finishLoad()
    {
        trace("loaded");
        m_state = State::Loaded;
        if (m_surface)
            m_surface->reveal();
        Q_EMIT loaded();
        if (m_videoSize)
            Q_EMIT videoConfigured();
    }

    void onProperty(const mpv_event_property *p, std::uint64_t id)
    {
        const bool has = p->format != MPV_FORMAT_NONE && p->data;
        switch (id) {
        case TimePos:
            if (has)
                m_timePos = *static_cast<double *>(p->data);
            else if (m_state != State::Loaded)
                m_timePos.reset();
            break;
        case Duration:
            if (has)
                m_duration = *static_cast<double *>(p->data);
            break;
        case Pause:
            if (has)
                m_paused = *static_cast<int *>(p->data) != 0;
            break;
        case EofReached:
            // A report from before a seek says nothing about the sought position.
            if (has && !m_pendingSeek)
                m_eof = *static_cast<int *>(p->data) != 0;
            break;
        default:
            break;
        }
    }

    mpv_handle *m_mpv = nullptr;
    QPointer<VideoSurface> m_surface;
    std::atomic<bool> m_drainPosted{false};
    State m_state = State::Idle;
    int m_pendingStarts = 0;
    std::optional<double> m_timePos;
    std::optional<double> m_duration;
    std::optional<double> m_pendingSeek;
    std::optional<QSize> m_videoSize;
    bool m_eof = false;
    bool m_paused = true;
    bool m_hasVideo = false;
    bool m_hasAudio = false;
    bool m_fileLoaded = false; // the file is open, its picture may still be on the way
    unsigned m_loadSerial = 0;
    bool m_tracedFirstFrame = false;
    double m_rate = 1.0;
    double m_volume = 100.0;
};

} // namespace

std::unique_ptr<MediaBackend> makeMpvBackend()
{
    return std::make_unique<MpvBackend>();
}
