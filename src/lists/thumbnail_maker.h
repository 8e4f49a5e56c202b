#pragma once
// Makes thumbnail bitmaps on one worker thread: the frame of a media file at a position,
// stretched to 100 × 75 and saved as a 24-bit bitmap file. The worker only decodes and
// writes files; the results come back on the thread that owns the maker, one per request,
// in the order of the requests.

#include "platform/media_detector.h"

#include <QHash>
#include <QImage>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

struct ThumbnailResult
{
    int id = 0;
    // True when a frame was grabbed and saved. False when the file has no video, cannot be
    // decoded or took too long: then the placeholder was saved in its place (if the folder
    // can be written at all) and image is the placeholder.
    bool ok = false;
    QString bitmapPath;
    QImage image; // the picture as saved, 100 × 75
};

Q_DECLARE_METATYPE(ThumbnailResult)

class ThumbnailMaker : public QObject
{
    Q_OBJECT
public:
    static constexpr int thumbWidth = 100;
    static constexpr int thumbHeight = 75;

    // What grabs a frame; platform::grabFrame unless a test hands over its own.
    using Grabber = std::function<platform::FrameGrab(const QString &mediaPath, double position, int width,
                                                      int height, const platform::GrabLimits &limits)>;

    // placeholder: the picture saved for a file whose frame cannot be grabbed (the
    // program's images::noImage()); stretched to 100 × 75 if it has another size.
    explicit ThumbnailMaker(const QImage &placeholder, QObject *parent = nullptr, Grabber grabber = {});
    ~ThumbnailMaker() override; // shutdown()

    // Queues the thumbnail of mediaPath at position (seconds), to be written to bitmapPath;
    // its folder is created when missing. Each id gets its own result, in request order.
    // Ignored after shutdown().
    // With keepExisting (an entry added), a bitmap that exists by the time the job runs (a
    // picture chosen meanwhile) is kept and delivered as it is, and a request for a bitmap
    // that is waiting in the queue or being made joins that job unchanged: entries of the
    // same title share one bitmap, made from the file asked for first. A request without it
    // (a capture) takes over a waiting job for its bitmap (its file, position and the
    // rewrite), and queues a job of its own behind one being made.
    void request(const QString &mediaPath, double position, const QString &bitmapPath, int id,
                 bool keepExisting = false);

    // Drops every request without a result yet and stops the job that is running; none of
    // them reports. The maker takes new requests at once.
    void cancelAll();

    // Cancels everything and ends the worker. Returns as soon as the running job notices,
    // well within a second; no temporary file is left behind. Later requests are ignored.
    void shutdown();

    // Requests whose result has not been delivered yet.
    int pendingCount() const { return static_cast<int>(m_deliveries.size()); }

    // The longest one grab may take before it counts as failed (10 seconds by default).
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

Q_SIGNALS:
    // One per request. A receiver may request or cancel from its slot, but must not delete
    // the maker there (use deleteLater).
    void thumbnailMade(const ThumbnailResult &result);

private:
    struct Job
    {
        quint64 seq = 0;
        QString mediaPath;
        double position = 0;
        QString bitmapPath;
        QString key; // the bitmap's path made absolute: one job per bitmap
        bool keepExisting = false;
    };
    struct Outcome
    {
        bool ok = false;
        platform::RgbImage image;
    };
    struct Delivery
    {
        int id;
        quint64 seq;
        QString bitmapPath;
    };

    void workerLoop();
    // On the worker: grab, write, or write the placeholder. Nothing when cancelled.
    std::optional<Outcome> runJob(const Job &job);
    // On the owner's thread.
    void jobDone(quint64 seq, quint64 generation, const Outcome &outcome);
    void deliverReady();

    Grabber m_grabber;
    platform::RgbImage m_placeholder;
    std::atomic<std::chrono::milliseconds> m_timeout{std::chrono::seconds(10)};

    // Shared with the worker, under m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue;
    // The jobs waiting, by their key, so that a request joins its job without a walk through
    // a long queue. A deque keeps its elements in place when either end changes.
    QHash<QString, Job *> m_queued;
    // The job the worker is running (0: none, or cancelled), so that an add can wait for it.
    quint64 m_runningSeq = 0;
    QString m_runningKey;
    bool m_stopping = false;
    quint64 m_generation = 0; // raised by every cancel: older results are dropped
    std::atomic<bool> m_abortRunning{false};
    std::thread m_worker;

    // Owner's thread only.
    quint64 m_nextSeq = 1;
    bool m_shutDown = false;
    std::deque<Delivery> m_deliveries;
    QHash<quint64, Outcome> m_done;
    // How many deliveries each job still owes: a job's outcome is kept until its last one.
    QHash<quint64, int> m_owed;
};

// Reads a thumbnail file (or any picture) stretched to size. Uses QImageReader, not
// QPixmap::load: the pixmap cache keys a file by path, size and modification time in whole
// seconds, and every thumbnail has the same size, so a thumbnail remade within the same
// second would come back as the old picture. Pictures too large to decode safely give a
// null image; JPEG files are decoded at a reduced scale, so a huge photo costs little.
QImage loadThumbnail(const QString &path, QSize size = QSize(ThumbnailMaker::thumbWidth, ThumbnailMaker::thumbHeight));
