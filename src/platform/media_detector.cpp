#include "platform/media_detector.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// The deadline and the caller's cancel flag, checked between every step of the grab and,
// through the interrupt callback, inside FFmpeg's own reads.
struct Watch
{
    Clock::time_point deadline;
    const std::atomic<bool> *cancelled = nullptr;

    GrabStatus stopReason() const
    {
        if (cancelled && cancelled->load())
            return GrabStatus::Cancelled;
        if (Clock::now() >= deadline)
            return GrabStatus::TimedOut;
        return GrabStatus::Ok;
    }
    bool stopped() const { return stopReason() != GrabStatus::Ok; }
};

std::int64_t frameDuration(const AVFrame *f)
{
#if LIBAVUTIL_VERSION_MAJOR >= 58
    return f->duration;
#else
    return f->pkt_duration;
#endif
}

int interruptCallback(void *opaque) { return static_cast<const Watch *>(opaque)->stopped() ? 1 : 0; }

struct FormatClose
{
    void operator()(AVFormatContext *c) const { avformat_close_input(&c); }
};
struct CodecFree
{
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameFree
{
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketFree
{
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct ScalerFree
{
    void operator()(SwsContext *s) const { sws_freeContext(s); }
};

void silenceFfmpeg()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The open file, its video decoder and the frames decoded last. One grab (grabFrame) runs
// once; a FrameDecoder's session runs grab after grab on the same file.
class DecodeSession
{
public:
    // kept: the session serves grab after grab (a FrameDecoder). Frames that no other frame
    // refers to are then not decoded while they lie well before the position (they cannot be
    // the frame shown there), the decoder runs frame threads, and a frame whose duration
    // reaches past the position is taken without decoding the one after it.
    DecodeSession(QByteArray url, bool kept) : m_url(std::move(url)), m_kept(kept) {}

    // The deadline and the cancel flag of the grab to come.
    void setWatch(const Watch &watch) { m_watch = watch; }
    const Watch &watch() const { return m_watch; }

    // height 0: at the frame's display aspect, at most 4 × width. near: a frame near the
    // position, quickly (nearFrame) instead of the frame at it.
    FrameGrab run(double position, int width, int height, bool near = false)
    {
        if (!m_format) {
            if (const GrabStatus s = open(); s != GrabStatus::Ok)
                return {s, {}};
        }
        if (!m_frame) {
            m_frame.reset(av_frame_alloc());
            m_best.reset(av_frame_alloc());
            m_next.reset(av_frame_alloc());
            m_packet.reset(av_packet_alloc());
        }
        if (!m_frame || !m_best || !m_next || !m_packet)
            return {GrabStatus::BadData, {}};

        const AVRational tb = stream()->time_base;
        const std::int64_t start = streamStart();
        // Clamped so that the sums below cannot overflow: about 31 years.
        const double seconds = std::isfinite(position) ? std::clamp(position, 0.0, 1e9) : 0.0;
        const std::int64_t target =
            start + av_rescale_q_rnd(std::llround(seconds * AV_TIME_BASE), AV_TIME_BASE_Q, tb, AV_ROUND_DOWN);
        std::int64_t stepBack = std::max<std::int64_t>(1, av_rescale_q(AV_TIME_BASE, AV_TIME_BASE_Q, tb));

        if (near) {
            if (std::optional<FrameGrab> g = nearFrame(target, width, height))
                return *std::move(g);
        }

        // Where the last grab stopped: the frame it chose, and the one after it when that was
        // decoded already. A position before the next frame is that frame again; a position a
        // little further on is decoded from there.
        if (m_canContinue) {
            m_canContinue = false;
            if (m_bestPts <= target && target < m_nextPts)
                return convert(width, height, true);
            if (target >= m_nextPts && continuingIsCheaper(target)) {
                if (m_haveNext) {
                    av_frame_unref(m_best.get());
                    av_frame_move_ref(m_best.get(), m_next.get());
                }
                switch (decodeForward(target, false, true)) {
                case Pass::Found:
                    return convert(width, height, false);
                case Pass::Stopped:
                    return {m_watch.stopReason(), {}};
                case Pass::Past: // cannot happen: the frame carried over lies at or before the target
                case Pass::NoFrame:
                    break; // seek as for any other position
                }
            }
        }

        // Seek backward to a key frame at or before the target and decode forward. Where the
        // first frame decoded is already past the target (the demuxer landed late, or on a
        // frame that needs earlier ones), seek again earlier, each time twice as far back.
        std::int64_t seekTs = target;
        bool requireKey = true;
        for (int attempt = 0; attempt < 64; ++attempt) {
            if (m_watch.stopped())
                return {m_watch.stopReason(), {}};
            const bool fromStart = seekTs <= start;
            if (!fromStart || attempt > 0 || m_used) {
                if (!seek(fromStart ? start : seekTs)) {
                    // A file that cannot seek there is read from its beginning.
                    if (const GrabStatus s = open(); s != GrabStatus::Ok)
                        return {s, {}};
                    seekTs = start;
                }
            }
            m_used = true;
            switch (decodeForward(target, requireKey, false)) {
            case Pass::Found:
                return convert(width, height, false);
            case Pass::Past:
                if (seekTs <= start) // nothing comes before the first frame
                    return convert(width, height, false);
                seekTs = target - stepBack;
                stepBack *= 2;
                break;
            case Pass::NoFrame:
                if (seekTs > start) {
                    // Landed past the last frame: step back as well.
                    seekTs = target - stepBack;
                    stepBack *= 2;
                } else if (requireKey) {
                    // A stream without marked key frames: take every frame from the start.
                    requireKey = false;
                } else {
                    return {GrabStatus::BadData, {}};
                }
                break;
            case Pass::Stopped:
                return {m_watch.stopReason(), {}};
            }
        }
        return {GrabStatus::BadData, {}};
    }

private:
    enum class Pass {
        Found,   // m_best is the frame at the target
        Past,    // the first frame decoded (in m_best) is already after the target
        NoFrame, // the stream ended without a frame
        Stopped, // deadline or cancel
    };

    AVStream *stream() const { return m_format->streams[m_streamIndex]; }

    std::int64_t streamStart() const
    {
        const AVStream *st = stream();
        if (st->start_time != AV_NOPTS_VALUE)
            return st->start_time;
        if (m_format->start_time != AV_NOPTS_VALUE)
            return av_rescale_q(m_format->start_time, AV_TIME_BASE_Q, st->time_base);
        return 0;
    }

    GrabStatus failure(GrabStatus otherwise) const
    {
        return m_watch.stopped() ? m_watch.stopReason() : otherwise;
    }

    // Opens (or reopens, at its beginning) the file and the decoder of its video stream.
    GrabStatus open()
    {
        m_canContinue = false;
        m_used = false;
        m_decoder.reset();
        m_format.reset();
        AVFormatContext *ctx = avformat_alloc_context();
        if (!ctx)
            return GrabStatus::BadData;
        ctx->interrupt_callback.callback = interruptCallback;
        ctx->interrupt_callback.opaque = &m_watch;
        AVDictionary *options = nullptr;
        // Local files only: a playlist or reference file must not reach out to the network.
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        const int opened = avformat_open_input(&ctx, m_url.constData(), nullptr, &options); // frees ctx on failure
        av_dict_free(&options);
        if (opened < 0)
            return failure(GrabStatus::BadData);
        m_format.reset(ctx);
        if (avformat_find_stream_info(ctx, nullptr) < 0)
            return failure(GrabStatus::BadData);

        // The best video stream; cover art attached to an audio file is not a video.
        auto isVideo = [](const AVStream *st) {
            return st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC);
        };
        int index = av_find_best_stream(ctx, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (index < 0 || !isVideo(ctx->streams[index])) {
            index = -1;
            for (unsigned i = 0; i < ctx->nb_streams && index < 0; ++i)
                if (isVideo(ctx->streams[i]))
                    index = static_cast<int>(i);
        }
        if (index < 0)
            return failure(GrabStatus::NoVideo);
        m_streamIndex = index;
        for (unsigned i = 0; i < ctx->nb_streams; ++i)
            ctx->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

        const AVStream *st = ctx->streams[index];
        const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
        if (!codec)
            return failure(GrabStatus::BadData);
        m_decoder.reset(avcodec_alloc_context3(codec));
        if (!m_decoder || avcodec_parameters_to_context(m_decoder.get(), st->codecpar) < 0)
            return failure(GrabStatus::BadData);
        m_decoder->pkt_timebase = st->time_base;
        // A single grab takes slice threads only: frame threads would hold frames back and slow
        // it. A decoder kept open decodes long runs of frames (from a key frame to the position,
        // grab after grab), which frame threads share out over the cores.
        m_decoder->thread_type = m_kept ? FF_THREAD_FRAME | FF_THREAD_SLICE : FF_THREAD_SLICE;
        m_decoder->thread_count = 0;
        if (avcodec_open2(m_decoder.get(), codec, nullptr) < 0)
            return failure(GrabStatus::BadData);
        return GrabStatus::Ok;
    }

    bool seek(std::int64_t ts)
    {
        if (av_seek_frame(m_format.get(), m_streamIndex, ts, AVSEEK_FLAG_BACKWARD) < 0)
            return false;
        avcodec_flush_buffers(m_decoder.get());
        return true;
    }

    // The quickest frame near the target: the one decoded last while the decoder stands in
    // the target's group of pictures before it (decoding on would start from there), else the
    // key frame at or before the target. nullopt where neither can be had: the frame at the
    // target is decoded instead.
    std::optional<FrameGrab> nearFrame(std::int64_t target, int width, int height)
    {
        if (m_canContinue && m_bestPts <= target && (target < m_nextPts || continuingIsCheaper(target)))
            return convert(width, height, true);
        m_canContinue = false;
        if (!seek(target))
            return std::nullopt;
        m_used = true;
        switch (decodeFirst()) {
        case Pass::Found:
            return convert(width, height, false);
        case Pass::Stopped:
            return FrameGrab{m_watch.stopReason(), {}};
        case Pass::Past:
        case Pass::NoFrame:
            break;
        }
        return std::nullopt;
    }

    // Decodes from the current read position to the first frame of a key frame's group.
    Pass decodeFirst()
    {
        av_frame_unref(m_best.get());
        bool keySeen = false;
        bool draining = false;
        m_decoder->skip_frame = AVDISCARD_DEFAULT;
        for (;;) {
            if (m_watch.stopped())
                return Pass::Stopped;
            if (!draining) {
                if (av_read_frame(m_format.get(), m_packet.get()) < 0) {
                    if (m_watch.stopped())
                        return Pass::Stopped;
                    draining = true;
                    avcodec_send_packet(m_decoder.get(), nullptr);
                } else {
                    const bool wanted = m_packet->stream_index == m_streamIndex
                                        && (keySeen || (m_packet->flags & AV_PKT_FLAG_KEY));
                    if (wanted) {
                        keySeen = true;
                        avcodec_send_packet(m_decoder.get(), m_packet.get());
                    }
                    av_packet_unref(m_packet.get());
                    if (!wanted)
                        continue;
                }
            }
            if (avcodec_receive_frame(m_decoder.get(), m_best.get()) >= 0) {
                const std::int64_t pts = m_best->best_effort_timestamp;
                const std::int64_t duration = frameDuration(m_best.get());
                if (!draining && pts != AV_NOPTS_VALUE)
                    keepPlace(pts, pts + std::max<std::int64_t>(1, duration), false);
                return Pass::Found;
            }
            if (draining)
                return Pass::NoFrame;
        }
    }

    // Whether decoding on from the frame after the last one chosen reaches the target with
    // no more work than a seek would: the key frame at or before the target (from the
    // file's index) lies no later than that frame. A file without an index decodes on for
    // up to two seconds.
    bool continuingIsCheaper(std::int64_t target) const
    {
        AVStream *st = stream();
        const int entry = av_index_search_timestamp(st, target, AVSEEK_FLAG_BACKWARD);
        if (entry >= 0) {
            if (const AVIndexEntry *e = avformat_index_get_entry(st, entry))
                return e->timestamp <= m_nextPts;
        }
        const std::int64_t twoSeconds = av_rescale_q(2 * AV_TIME_BASE, AV_TIME_BASE_Q, st->time_base);
        return target - m_nextPts <= twoSeconds;
    }

    // A packet whose frame lies at least three frames before the target: if nothing refers
    // to it, it need not be decoded (a later frame, at or before the target, is shown).
    bool wellBefore(const AVPacket *p, std::int64_t target) const
    {
        return m_kept && p->pts != AV_NOPTS_VALUE && p->duration > 0 && p->pts <= target - 3 * p->duration;
    }

    // Decodes from the current read position, keeping in m_best the last frame at or before
    // the target. Until a key frame has been read, packets are skipped: frames decoded from
    // the middle of a group of pictures show the missing references as noise. carried: m_best
    // already holds a frame at or before the target (decoded by the grab before).
    Pass decodeForward(std::int64_t target, bool requireKey, bool carried)
    {
        if (!carried)
            av_frame_unref(m_best.get());
        bool haveBest = carried;
        bool keySeen = !requireKey;
        bool draining = false;
        for (;;) {
            if (m_watch.stopped())
                return Pass::Stopped;
            if (!draining) {
                if (av_read_frame(m_format.get(), m_packet.get()) < 0) {
                    if (m_watch.stopped())
                        return Pass::Stopped;
                    // The end of the file, or data that cannot be read further: the frames
                    // still inside the decoder come out next.
                    draining = true;
                    m_decoder->skip_frame = AVDISCARD_DEFAULT;
                    avcodec_send_packet(m_decoder.get(), nullptr);
                } else {
                    const bool wanted = m_packet->stream_index == m_streamIndex
                                        && (keySeen || (m_packet->flags & AV_PKT_FLAG_KEY));
                    if (wanted) {
                        keySeen = true;
                        if (m_kept)
                            m_decoder->skip_frame = wellBefore(m_packet.get(), target) ? AVDISCARD_NONREF
                                                                                        : AVDISCARD_DEFAULT;
                        // A packet the decoder refuses is skipped; the next one may decode.
                        avcodec_send_packet(m_decoder.get(), m_packet.get());
                    }
                    av_packet_unref(m_packet.get());
                    if (!wanted)
                        continue;
                }
            }
            for (;;) {
                const int r = avcodec_receive_frame(m_decoder.get(), m_frame.get());
                if (r < 0) {
                    if (draining)
                        return haveBest ? Pass::Found : Pass::NoFrame; // the decoder is spent: no carrying on
                    break;
                }
                const std::int64_t pts = m_frame->best_effort_timestamp;
                if (pts != AV_NOPTS_VALUE && pts > target) {
                    if (haveBest) {
                        // Kept: the next grab may start from here.
                        av_frame_unref(m_next.get());
                        av_frame_move_ref(m_next.get(), m_frame.get());
                        keepPlace(m_best->best_effort_timestamp, pts, true);
                        return Pass::Found;
                    }
                    av_frame_move_ref(m_best.get(), m_frame.get());
                    return Pass::Past;
                }
                av_frame_unref(m_best.get());
                av_frame_move_ref(m_best.get(), m_frame.get());
                haveBest = true;
                // Shown until past the position: no later frame can be the one there.
                const std::int64_t duration = frameDuration(m_best.get());
                if (m_kept && pts != AV_NOPTS_VALUE && duration > 0 && pts + duration > target) {
                    keepPlace(pts, pts + duration, false);
                    return Pass::Found;
                }
            }
        }
    }

    // The decoder stands right after m_best (at bestPts) and, with haveNext, m_next (at
    // nextPts; without it nextPts is the earliest the next frame can come).
    void keepPlace(std::int64_t bestPts, std::int64_t nextPts, bool haveNext)
    {
        if (bestPts == AV_NOPTS_VALUE)
            return;
        m_bestPts = bestPts;
        m_nextPts = nextPts;
        m_haveNext = haveNext;
        m_canContinue = true;
    }

    // Stretches m_best to width × height RGB (height 0: at its display aspect). keep: the
    // frames decoded stay as they are for the next grab.
    FrameGrab convert(int width, int height, bool keep)
    {
        const AVFrame *src = m_best.get();
        if (src->width <= 0 || src->height <= 0)
            return {GrabStatus::BadData, {}};
        if (height <= 0) {
            const AVRational sar =
                av_guess_sample_aspect_ratio(m_format.get(), stream(), const_cast<AVFrame *>(src));
            height = heightAtAspect(width, src->width, src->height, sar.num, sar.den, std::min(16384, 4 * width));
        }
        std::unique_ptr<SwsContext, ScalerFree> scaler(
            sws_getContext(src->width, src->height, static_cast<AVPixelFormat>(src->format), width, height,
                           AV_PIX_FMT_RGB24, SWS_AREA | SWS_ACCURATE_RND, nullptr, nullptr, nullptr));
        if (!scaler)
            return {GrabStatus::BadData, {}};
        // The stream's own colour matrix and range where it names them (BT.709 for HD,
        // full range for JPEG-like streams); swscale assumes BT.601 limited range otherwise.
        int *invTable = nullptr, *table = nullptr;
        int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
        if (sws_getColorspaceDetails(scaler.get(), &invTable, &srcRange, &table, &dstRange, &brightness, &contrast,
                                     &saturation)
            >= 0) {
            const int *coefficients =
                src->colorspace == AVCOL_SPC_UNSPECIFIED ? invTable : sws_getCoefficients(src->colorspace);
            srcRange = srcRange || src->color_range == AVCOL_RANGE_JPEG;
            sws_setColorspaceDetails(scaler.get(), coefficients, srcRange, table, dstRange, brightness, contrast,
                                     saturation);
        }

        uint8_t *dst[4] = {};
        int dstLinesize[4] = {};
        if (av_image_alloc(dst, dstLinesize, width, height, AV_PIX_FMT_RGB24, 32) < 0)
            return {GrabStatus::BadData, {}};
        const int rows = sws_scale(scaler.get(), src->data, src->linesize, 0, src->height, dst, dstLinesize);
        FrameGrab out;
        if (rows == height) {
            out.status = GrabStatus::Ok;
            out.image.width = width;
            out.image.height = height;
            out.image.pixels.resize(static_cast<qsizetype>(width) * height * 3);
            for (int y = 0; y < height; ++y)
                std::memcpy(out.image.pixels.data() + static_cast<qsizetype>(y) * width * 3,
                            dst[0] + static_cast<std::ptrdiff_t>(y) * dstLinesize[0], static_cast<size_t>(width) * 3);
        }
        av_freep(&dst[0]);
        if (keep && rows == height)
            m_canContinue = true;
        return out;
    }

    QByteArray m_url;
    bool m_kept = false;
    Watch m_watch;
    std::unique_ptr<AVFormatContext, FormatClose> m_format;
    std::unique_ptr<AVCodecContext, CodecFree> m_decoder;
    std::unique_ptr<AVFrame, FrameFree> m_frame;
    std::unique_ptr<AVFrame, FrameFree> m_best;
    std::unique_ptr<AVFrame, FrameFree> m_next; // the frame after m_best, when m_haveNext
    std::unique_ptr<AVPacket, PacketFree> m_packet;
    int m_streamIndex = -1;
    // The read position has moved since the file was opened (a grab ran).
    bool m_used = false;
    // The decoder stands right after the frames the last grab stopped at (keepPlace).
    bool m_canContinue = false;
    bool m_haveNext = false;
    std::int64_t m_bestPts = AV_NOPTS_VALUE;
    std::int64_t m_nextPts = AV_NOPTS_VALUE;
};

// Only a regular file (a link to one included) is opened: opening a named pipe waits for a
// writer that never comes, and a device may never end, where no deadline helps.
bool isRegularFile(const QString &mediaPath) { return QFileInfo(mediaPath).isFile(); }

// "file:" keeps a colon in a file name from being read as a protocol.
QByteArray fileUrl(const QString &mediaPath)
{
    return "file:" + QFile::encodeName(QFileInfo(mediaPath).absoluteFilePath());
}

} // namespace

FrameGrab grabFrame(const QString &mediaPath, double position, int width, int height, const GrabLimits &limits)
{
    silenceFfmpeg();
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || mediaPath.isEmpty())
        return {GrabStatus::BadData, {}};
    const Watch watch{Clock::now() + limits.timeout, limits.cancelled};
    if (watch.stopped())
        return {watch.stopReason(), {}};
    if (!isRegularFile(mediaPath))
        return {GrabStatus::BadData, {}};
    DecodeSession grab(fileUrl(mediaPath), false);
    grab.setWatch(watch);
    return grab.run(position, width, height);
}

int heightAtAspect(int width, int frameWidth, int frameHeight, int sarNum, int sarDen, int maxHeight)
{
    const int most = std::max(1, maxHeight);
    if (width <= 0 || frameWidth <= 0 || frameHeight <= 0)
        return 1;
    const double pixelAspect = sarNum > 0 && sarDen > 0 ? double(sarNum) / sarDen : 1.0;
    const double h = double(width) * frameHeight / (frameWidth * pixelAspect);
    if (!std::isfinite(h))
        return most;
    return static_cast<int>(std::clamp(std::llround(h), 1LL, static_cast<long long>(most)));
}

class FrameDecoder::Session : public DecodeSession
{
public:
    using DecodeSession::DecodeSession;
};

FrameDecoder::FrameDecoder() = default;
FrameDecoder::~FrameDecoder() = default;

void FrameDecoder::close()
{
    m_session.reset();
    m_path.clear();
}

FrameGrab FrameDecoder::grab(const QString &mediaPath, double position, int width, int height,
                             const GrabLimits &limits)
{
    return run(mediaPath, position, width, height, limits, false);
}

FrameGrab FrameDecoder::grabNear(const QString &mediaPath, double position, int width, int height,
                                 const GrabLimits &limits)
{
    return run(mediaPath, position, width, height, limits, true);
}

FrameGrab FrameDecoder::run(const QString &mediaPath, double position, int width, int height,
                            const GrabLimits &limits, bool near)
{
    silenceFfmpeg();
    if (width <= 0 || height < 0 || width > 16384 || height > 16384 || mediaPath.isEmpty())
        return {GrabStatus::BadData, {}};
    const Watch watch{Clock::now() + limits.timeout, limits.cancelled};
    if (watch.stopped())
        return {watch.stopReason(), {}};
    if (!m_session || mediaPath != m_path) {
        close();
        if (!isRegularFile(mediaPath))
            return {GrabStatus::BadData, {}};
        m_session = std::make_unique<Session>(fileUrl(mediaPath), true);
        m_path = mediaPath;
    }
    m_session->setWatch(watch);
    FrameGrab g = m_session->run(position, width, height, near);
    // A file that gave no frame, or a grab stopped half way, leaves nothing worth keeping.
    if (g.status != GrabStatus::Ok)
        close();
    return g;
}

} // namespace platform
