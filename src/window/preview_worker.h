#pragma once
// The seek bar preview's frames, made on one worker thread of their own, never on the UI
// thread. Only the newest request waits: a request replaces the one still waiting, and a
// request of another file stops the grab under way. A request made while the worker is busy
// (the pointer moves faster than frames are made) first gets a frame near its position, which
// comes quickly (the key frame before it), then the frame at it unless a newer request waits
// by then. Results come back on the thread that owns the worker, as a signal.

#include "platform/media_detector.h"

#include <QMetaType>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

// What decodes the frames, on the worker thread: FFmpeg (platform::FrameDecoder, which keeps
// the file open between frames of the same file) unless a test hands over its own.
class PreviewDecoder
{
public:
    virtual ~PreviewDecoder() = default;
    // The frame of the file at that second, width pixels wide at the file's aspect; with near,
    // quickly a frame near it (FrameDecoder::grabNear).
    virtual platform::FrameGrab grab(const QString &file, int second, int width, bool near,
                                     const platform::GrabLimits &limits) = 0;
    // The file open is given up (another file plays, or none).
    virtual void close() = 0;
};
using PreviewDecoderFactory = std::function<std::unique_ptr<PreviewDecoder>()>;

std::unique_ptr<PreviewDecoder> makeFfmpegPreviewDecoder();

struct PreviewResult
{
    quint64 ticket = 0; // the request's
    QString file;
    int second = 0;
    int width = 0;
    platform::GrabStatus status = platform::GrabStatus::BadData;
    platform::RgbImage image; // with GrabStatus::Ok
    bool exact = true;        // the frame at the second, not one near it
};

Q_DECLARE_METATYPE(PreviewResult)

class PreviewWorker : public QObject
{
    Q_OBJECT
public:
    // decoder: made on the worker thread, once; empty: FFmpeg. timeout: the longest one
    // frame may take.
    explicit PreviewWorker(PreviewDecoderFactory decoder = {},
                           std::chrono::milliseconds timeout = std::chrono::milliseconds(2000),
                           QObject *parent = nullptr);
    ~PreviewWorker() override; // shutdown()

    // The frame of file at second, width pixels wide; its result carries the ticket. It
    // replaces the request still waiting, if any; a grab of another file under way stops.
    void request(const QString &file, int second, int width, quint64 ticket);
    // Drops the request still waiting (something newer was answered without the worker).
    void dropWaiting();
    // Drops the waiting request and stops the grab under way: neither reports. The decoder
    // gives up its file.
    void cancel();
    // Cancels everything and ends the thread, waiting for it at most `wait`; a thread still
    // inside the decoder by then is left to end on its own (it reports nothing). True when
    // the thread has ended. Later requests are ignored.
    bool shutdown(std::chrono::milliseconds wait = std::chrono::milliseconds(1000));

    // A request waiting or a grab under way.
    bool busy() const;

Q_SIGNALS:
    void frameReady(const PreviewResult &result);

private:
    struct Shared;
    void deliver(const PreviewResult &result, quint64 generation);

    std::shared_ptr<Shared> m_shared;
    bool m_shutDown = false;
};
