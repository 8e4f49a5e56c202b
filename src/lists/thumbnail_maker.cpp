#include "lists/thumbnail_maker.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMetaObject>

#include <algorithm>
#include <cstring>

namespace {

platform::RgbImage toRgb(const QImage &image, int width, int height)
{
    platform::RgbImage out{width, height, QByteArray(static_cast<qsizetype>(width) * height * 3, '\0')};
    if (image.isNull())
        return out; // black
    const QImage scaled = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::memcpy(out.pixels.data() + static_cast<qsizetype>(y) * width * 3, scaled.constScanLine(y),
                    static_cast<size_t>(width) * 3);
    return out;
}

QImage toImage(const platform::RgbImage &rgb)
{
    if (!rgb.isValid())
        return {};
    QImage image(rgb.width, rgb.height, QImage::Format_RGB888);
    for (int y = 0; y < rgb.height; ++y)
        std::memcpy(image.scanLine(y), rgb.pixels.constData() + static_cast<qsizetype>(y) * rgb.width * 3,
                    static_cast<size_t>(rgb.width) * 3);
    return image;
}

QString sameFileKey(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

} // namespace

ThumbnailMaker::ThumbnailMaker(const QImage &placeholder, QObject *parent, Grabber grabber)
    : QObject(parent),
      m_grabber(grabber ? std::move(grabber) : Grabber(&platform::grabFrame)),
      m_placeholder(toRgb(placeholder, thumbWidth, thumbHeight))
{
    m_worker = std::thread([this] { workerLoop(); });
}

ThumbnailMaker::~ThumbnailMaker() { shutdown(); }

void ThumbnailMaker::request(const QString &mediaPath, double position, const QString &bitmapPath, int id,
                             bool keepExisting)
{
    if (m_shutDown)
        return;
    quint64 seq = 0;
    {
        const QString key = sameFileKey(bitmapPath);
        std::lock_guard lock(m_mutex);
        if (Job *queued = m_queued.value(key)) {
            // The bitmap is shared by every entry of its title: the first file asked for it
            // makes it, a later add only waits for it. A capture is the user's own choice of
            // frame, so it takes the waiting job over.
            if (!keepExisting) {
                queued->mediaPath = mediaPath;
                queued->position = position;
                queued->keepExisting = false;
            }
            seq = queued->seq;
        } else if (keepExisting && m_runningSeq != 0 && m_runningKey == key) {
            seq = m_runningSeq; // being made now: its picture is this entry's too
        } else {
            seq = m_nextSeq++;
            m_queue.push_back(Job{seq, mediaPath, position, bitmapPath, key, keepExisting});
            m_queued.insert(key, &m_queue.back());
        }
    }
    m_wake.notify_one();
    m_deliveries.push_back(Delivery{id, seq, bitmapPath});
    ++m_owed[seq];
}

void ThumbnailMaker::cancelAll()
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
        m_queued.clear();
        m_runningSeq = 0; // its result will be dropped: nothing may join it
        ++m_generation;
        m_abortRunning = true;
    }
    m_deliveries.clear();
    m_done.clear();
    m_owed.clear();
}

void ThumbnailMaker::shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
        m_queued.clear();
        ++m_generation;
        m_abortRunning = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    m_shutDown = true;
    m_deliveries.clear();
    m_done.clear();
    m_owed.clear();
}

void ThumbnailMaker::workerLoop()
{
    for (;;) {
        Job job;
        quint64 generation = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            job = m_queue.front();
            m_queued.remove(job.key);
            m_queue.pop_front();
            generation = m_generation;
            m_abortRunning = false;
            m_runningSeq = job.seq;
            m_runningKey = job.key;
        }
        const std::optional<Outcome> outcome = runJob(job);
        {
            // From here a request for the same bitmap finds the file written (or, cancelled,
            // a job of its own) instead of joining this one.
            std::lock_guard lock(m_mutex);
            if (m_runningSeq == job.seq)
                m_runningSeq = 0;
        }
        if (!outcome)
            continue;
        // Queued to the owner's thread; dropped with the maker if it is gone by then (the
        // destructor joins this thread first, so the maker outlives the call).
        QMetaObject::invokeMethod(
            this, [this, seq = job.seq, generation, result = *outcome] { jobDone(seq, generation, result); },
            Qt::QueuedConnection);
    }
}

std::optional<ThumbnailMaker::Outcome> ThumbnailMaker::runJob(const Job &job)
{
    // A picture that came meanwhile (chosen by the user) stays.
    if (job.keepExisting && QFileInfo::exists(job.bitmapPath)) {
        const QImage existing = loadThumbnail(job.bitmapPath);
        if (!existing.isNull())
            return Outcome{true, toRgb(existing, thumbWidth, thumbHeight)};
    }
    // The folder first: the first thumbnail of a new image folder gets a real frame too.
    QDir().mkpath(QFileInfo(job.bitmapPath).absolutePath());
    const platform::GrabLimits limits{m_timeout.load(), &m_abortRunning};
    const platform::FrameGrab grab = m_grabber(job.mediaPath, job.position, thumbWidth, thumbHeight, limits);
    if (grab.status == platform::GrabStatus::Cancelled || m_abortRunning)
        return std::nullopt;
    if (grab.status == platform::GrabStatus::Ok && grab.image.width == thumbWidth
        && grab.image.height == thumbHeight && platform::writeBitmapFile(job.bitmapPath, grab.image))
        return Outcome{true, grab.image};
    if (m_abortRunning)
        return std::nullopt;
    // No frame: the placeholder stands in, so the entry has a picture and the file is not
    // tried again while its thumbnail exists.
    platform::writeBitmapFile(job.bitmapPath, m_placeholder);
    return Outcome{false, m_placeholder};
}

void ThumbnailMaker::jobDone(quint64 seq, quint64 generation, const Outcome &outcome)
{
    {
        std::lock_guard lock(m_mutex);
        if (generation != m_generation)
            return; // cancelled while the result was on its way
    }
    m_done.insert(seq, outcome);
    deliverReady();
}

void ThumbnailMaker::deliverReady()
{
    // A receiver may request or cancel from its slot: the queue is re-read after each signal.
    while (!m_deliveries.empty()) {
        const Delivery next = m_deliveries.front();
        const auto done = m_done.constFind(next.seq);
        if (done == m_done.constEnd())
            return;
        const ThumbnailResult result{next.id, done->ok, next.bitmapPath, toImage(done->image)};
        m_deliveries.pop_front();
        if (--m_owed[next.seq] <= 0) {
            m_owed.remove(next.seq);
            m_done.remove(next.seq);
        }
        Q_EMIT thumbnailMade(result);
    }
}

QImage loadThumbnail(const QString &path, QSize size)
{
    // The largest picture decoded before scaling: 64 MB at 4 bytes a pixel.
    constexpr qint64 maxDecodedPixels = 16 * 1024 * 1024;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize full = reader.size();
    if (!full.isValid() || full.isEmpty() || size.isEmpty())
        return {};
    // JPEG decodes straight to a smaller scale (down to an eighth); other formats are
    // decoded whole and then scaled.
    const bool scalesWhileDecoding = reader.supportsOption(QImageIOHandler::ScaledSize);
    const qint64 decodedPixels = scalesWhileDecoding
                                     ? qint64((full.width() + 7) / 8) * ((full.height() + 7) / 8)
                                     : qint64(full.width()) * full.height();
    if (decodedPixels > maxDecodedPixels)
        return {};
    reader.setScaledSize(size);
    QImage image = reader.read();
    if (!image.isNull() && image.size() != size) // a reader that ignored the scaled size
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}
