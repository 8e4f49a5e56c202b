#include "platform/media_detector.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

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

// One grab: the open file, its video decoder, and the frame chosen so far.
class Grab
{
public:
    Grab(QByteArray url, const Watch &watch) : m_url(std::move(url)), m_watch(watch) {}

    FrameGrab run(double position, int width, int height)
    {
        if (const GrabStatus s = open(); s != GrabStatus::Ok)
            return {s, {}};
        m_frame.reset(av_frame_alloc());
        m_best.reset(av_frame_alloc());
        m_packet.reset(av_packet_alloc());
        if (!m_frame || !m_best || !m_packet)
            return {GrabStatus::BadData, {}};

        const AVRational tb = stream()->time_base;
        const std::int64_t start = streamStart();
        // Clamped so that the sums below cannot overflow: about 31 years.
        const double seconds = std::isfinite(position) ? std::clamp(position, 0.0, 1e9) : 0.0;
        const std::int64_t target =
            start + av_rescale_q_rnd(std::llround(seconds * AV_TIME_BASE), AV_TIME_BASE_Q, tb, AV_ROUND_DOWN);
        std::int64_t stepBack = std::max<std::int64_t>(1, av_rescale_q(AV_TIME_BASE, AV_TIME_BASE_Q, tb));

        // Seek backward to a key frame at or before the target and decode forward. Where the
        // first frame decoded is already past the target (the demuxer landed late, or on a
        // frame that needs earlier ones), seek again earlier, each time twice as far back.
        std::int64_t seekTs = target;
        bool requireKey = true;
        for (int attempt = 0; attempt < 64; ++attempt) {
            if (m_watch.stopped())
                return {m_watch.stopReason(), {}};
            const bool fromStart = seekTs <= start;
            if (!fromStart || attempt > 0) {
                if (!seek(fromStart ? start : seekTs)) {
                    // A file that cannot seek there is read from its beginning.
                    if (const GrabStatus s = open(); s != GrabStatus::Ok)
                        return {s, {}};
                    seekTs = start;
                }
            }
            switch (decodeForward(target, requireKey)) {
            case Pass::Found:
                return convert(width, height);
            case Pass::Past:
                if (seekTs <= start) // nothing comes before the first frame
                    return convert(width, height);
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
        m_decoder.reset();
        m_format.reset();
        AVFormatContext *ctx = avformat_alloc_context();
        if (!ctx)
            return GrabStatus::BadData;
        ctx->interrupt_callback.callback = interruptCallback;
        ctx->interrupt_callback.opaque = const_cast<Watch *>(&m_watch);
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
        // Slice threads only: frame threads would hold frames back and slow a single grab.
        m_decoder->thread_type = FF_THREAD_SLICE;
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

    // Decodes from the current read position, keeping in m_best the last frame at or before
    // the target. Until a key frame has been read, packets are skipped: frames decoded from
    // the middle of a group of pictures show the missing references as noise.
    Pass decodeForward(std::int64_t target, bool requireKey)
    {
        av_frame_unref(m_best.get());
        bool haveBest = false;
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
                    avcodec_send_packet(m_decoder.get(), nullptr);
                } else {
                    const bool wanted = m_packet->stream_index == m_streamIndex
                                        && (keySeen || (m_packet->flags & AV_PKT_FLAG_KEY));
                    if (wanted) {
                        keySeen = true;
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
                        return haveBest ? Pass::Found : Pass::NoFrame;
                    break;
                }
                const std::int64_t pts = m_frame->best_effort_timestamp;
                if (pts != AV_NOPTS_VALUE && pts > target) {
                    if (haveBest) {
                        av_frame_unref(m_frame.get());
                        return Pass::Found;
                    }
                    av_frame_move_ref(m_best.get(), m_frame.get());
                    return Pass::Past;
                }
                av_frame_unref(m_best.get());
                av_frame_move_ref(m_best.get(), m_frame.get());
                haveBest = true;
            }
        }
    }

    // Stretches m_best to width × height RGB.
    FrameGrab convert(int width, int height)
    {
        const AVFrame *src = m_best.get();
        if (src->width <= 0 || src->height <= 0)
            return {GrabStatus::BadData, {}};
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
        return out;
    }

    QByteArray m_url;
    const Watch &m_watch;
    std::unique_ptr<AVFormatContext, FormatClose> m_format;
    std::unique_ptr<AVCodecContext, CodecFree> m_decoder;
    std::unique_ptr<AVFrame, FrameFree> m_frame;
    std::unique_ptr<AVFrame, FrameFree> m_best;
    std::unique_ptr<AVPacket, PacketFree> m_packet;
    int m_streamIndex = -1;
};

} // namespace

FrameGrab grabFrame(const QString &mediaPath, double position, int width, int height, const GrabLimits &limits)
{
    silenceFfmpeg();
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || mediaPath.isEmpty())
        return {GrabStatus::BadData, {}};
    const Watch watch{Clock::now() + limits.timeout, limits.cancelled};
    if (watch.stopped())
        return {watch.stopReason(), {}};
    // Only a regular file (a link to one included) is opened: opening a named pipe waits
    // for a writer that never comes, and a device may never end, where no deadline helps.
    const QFileInfo info(mediaPath);
    if (!info.isFile())
        return {GrabStatus::BadData, {}};
    // "file:" keeps a colon in a file name from being read as a protocol.
    const QByteArray url = "file:" + QFile::encodeName(info.absoluteFilePath());
    return Grab(url, watch).run(position, width, height);
}

} // namespace platform
