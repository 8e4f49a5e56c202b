#include "window/preview_worker.h"

#include <QMetaObject>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace {

class FfmpegPreviewDecoder final : public PreviewDecoder
{
public:
    platform::FrameGrab grab(const QString &file, int second, int width, bool near,
                             const platform::GrabLimits &limits) override
    {
        return near ? m_decoder.grabNear(file, second, width, 0, limits) : m_decoder.grab(file, second, width, 0, limits);
    }
    void close() override { m_decoder.close(); }

private:
    platform::FrameDecoder m_decoder;
};

} // namespace

std::unique_ptr<PreviewDecoder> makeFfmpegPreviewDecoder() { return std::make_unique<FfmpegPreviewDecoder>(); }

// Shared by the owner and the thread, which keeps it alive for as long as it runs (a thread
// left inside the decoder at shutdown outlives the worker).
struct PreviewWorker::Shared
{
    struct Job
    {
        QString file;
        int second = 0;
        int width = 0;
        quint64 ticket = 0;
        bool nearFirst = false; // asked while the worker was busy
    };

    PreviewDecoderFactory makeDecoder;
    std::chrono::milliseconds timeout;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable ended;
    std::optional<Job> waiting;
    QString runningFile; // the file of the grab under way ("" when none)
    bool closeDecoder = false;
    bool stopping = false;
    bool finished = false;
    // Raised by every cancel: results of grabs begun before it are dropped.
    quint64 generation = 0;
    std::atomic<bool> abortRunning{false};
    // Where results go; cleared at shutdown, before the worker goes away.
    PreviewWorker *receiver = nullptr;

    void run()
    {
        std::unique_ptr<PreviewDecoder> decoder = makeDecoder ? makeDecoder() : makeFfmpegPreviewDecoder();
        for (;;) {
            Job job;
            quint64 jobGeneration = 0;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [this] { return stopping || closeDecoder || waiting.has_value(); });
                if (stopping)
                    break;
                if (closeDecoder && !waiting) {
                    closeDecoder = false;
                    lock.unlock();
                    if (decoder)
                        decoder->close();
                    continue;
                }
                closeDecoder = false;
                job = *waiting;
                waiting.reset();
                jobGeneration = generation;
                abortRunning = false;
                runningFile = job.file;
            }
            const platform::GrabLimits limits{timeout, &abortRunning};
            if (job.nearFirst && decoder) {
                const PreviewResult near = grab(*decoder, job, true, limits);
                std::lock_guard lock(mutex);
                const bool posted = post(near, jobGeneration);
                if (!posted || near.status != platform::GrabStatus::Ok || waiting) {
                    runningFile.clear(); // the pointer has moved on: the frame at it is not needed
                    continue;
                }
            }
            const PreviewResult result = decoder ? grab(*decoder, job, false, limits)
                                                 : PreviewResult{job.ticket, job.file, job.second, job.width, platform::GrabStatus::BadData, {}};
            std::lock_guard lock(mutex);
            runningFile.clear();
            post(result, jobGeneration);
        }
        decoder.reset(); // gives up the file
        std::lock_guard lock(mutex);
        finished = true;
        ended.notify_all();
    }

    static PreviewResult grab(PreviewDecoder &decoder, const Job &job, bool near, const platform::GrabLimits &limits)
    {
        platform::FrameGrab g = decoder.grab(job.file, job.second, job.width, near, limits);
        return PreviewResult{job.ticket, job.file, job.second, job.width, g.status, std::move(g.image), !near};
    }

    // Under the mutex: sends a result to the owner unless it was cancelled; false when not sent.
    bool post(const PreviewResult &result, quint64 jobGeneration)
    {
        if (result.status == platform::GrabStatus::Cancelled || abortRunning || jobGeneration != generation
            || !receiver)
            return false;
        PreviewWorker *to = receiver;
        QMetaObject::invokeMethod(
            to, [to, result, jobGeneration] { to->deliver(result, jobGeneration); }, Qt::QueuedConnection);
        return true;
    }
};

PreviewWorker::PreviewWorker(PreviewDecoderFactory decoder, std::chrono::milliseconds timeout, QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>())
{
    qRegisterMetaType<PreviewResult>();
    m_shared->makeDecoder = std::move(decoder);
    m_shared->timeout = timeout;
    m_shared->receiver = this;
    std::thread([shared = m_shared] { shared->run(); }).detach();
}

PreviewWorker::~PreviewWorker() { shutdown(); }

void PreviewWorker::request(const QString &file, int second, int width, quint64 ticket)
{
    if (m_shutDown)
        return;
    {
        std::lock_guard lock(m_shared->mutex);
        // Another file's frame is of no use any more.
        if (!m_shared->runningFile.isEmpty() && m_shared->runningFile != file)
            m_shared->abortRunning = true;
        const bool busy = !m_shared->runningFile.isEmpty() || m_shared->waiting.has_value();
        m_shared->waiting = Shared::Job{file, second, width, ticket, busy};
    }
    m_shared->wake.notify_one();
}

void PreviewWorker::dropWaiting()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->waiting.reset();
}

void PreviewWorker::cancel()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->waiting.reset();
        ++m_shared->generation;
        m_shared->abortRunning = true;
        m_shared->closeDecoder = true;
    }
    m_shared->wake.notify_one();
}

bool PreviewWorker::shutdown(std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_shared->mutex);
    if (!m_shutDown) {
        m_shutDown = true;
        m_shared->stopping = true;
        m_shared->waiting.reset();
        ++m_shared->generation;
        m_shared->abortRunning = true;
        m_shared->receiver = nullptr;
        m_shared->wake.notify_all();
    }
    return m_shared->ended.wait_for(lock, wait, [this] { return m_shared->finished; });
}

bool PreviewWorker::busy() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->waiting.has_value() || !m_shared->runningFile.isEmpty();
}

void PreviewWorker::deliver(const PreviewResult &result, quint64 generation)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (generation != m_shared->generation)
            return; // cancelled while on its way
    }
    Q_EMIT frameReady(result);
}
