#pragma once
// The media detector: one video frame of a media file as an RGB picture, decoded in this
// process with FFmpeg. grabFrame is safe to call from any thread and opens the file on its
// own each time; a FrameDecoder keeps one file open between grabs, for a caller (the seek
// bar's preview) that asks for many frames of the same file.

#include "platform/bitmap_file.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <memory>

namespace platform {

enum class GrabStatus {
    Ok,
    NoVideo,   // the file opens but has no video stream
    BadData,   // the file cannot be read or decoded
    TimedOut,  // the deadline passed before a frame was ready
    Cancelled, // the caller's cancel flag was set
};

struct FrameGrab
{
    GrabStatus status = GrabStatus::BadData;
    RgbImage image; // valid only with GrabStatus::Ok
};

struct GrabLimits
{
    // The whole grab (open, seek, decode, scale) must finish within this time.
    std::chrono::milliseconds timeout{10000};
    // When set and it becomes true, the grab stops as soon as it can with Cancelled.
    const std::atomic<bool> *cancelled = nullptr;
};

// The frame of the video shown at `position` seconds — the last frame whose time is at or
// before the position, counted from the video stream's own start (0 is the first frame even
// where the stream's timestamps begin later, as in MPEG program streams) — stretched to
// width × height. A position before the first frame gives the first frame, one past the
// end the last frame. Anything but a regular file (a named pipe, a device, a folder)
// gives BadData without being opened.
FrameGrab grabFrame(const QString &mediaPath, double position, int width, int height,
                    const GrabLimits &limits = {});

// The height of a picture `width` pixels wide at the display aspect of a frame of
// frameWidth × frameHeight pixels whose pixels have the aspect sarNum:sarDen (0 or a
// negative part: square pixels), rounded, within 1 .. maxHeight.
int heightAtAspect(int width, int frameWidth, int frameHeight, int sarNum, int sarDen, int maxHeight);

// Frames of one file, the file and its decoder kept open from one grab to the next. A grab
// seeks to the key frame at or before the position and decodes forward to it, as grabFrame
// does; where the position lies ahead of the frame decoded last and no key frame nearer to
// it comes first, it decodes on from there instead of seeking. Frames that no other frame
// refers to are not decoded while they lie several frames before the position. Not for use
// from two threads at once.
class FrameDecoder
{
public:
    FrameDecoder();
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder &) = delete;
    FrameDecoder &operator=(const FrameDecoder &) = delete;

    // The frame at `position` seconds of mediaPath (as grabFrame chooses it), width pixels
    // wide and height high; height 0: at the frame's display aspect, at most 4 × width. A
    // grab of another file closes the one open first; a grab that does not end with a frame
    // closes the file as well, so the next one starts afresh. Anything but a regular file
    // gives BadData without being opened, as with grabFrame.
    FrameGrab grab(const QString &mediaPath, double position, int width, int height,
                   const GrabLimits &limits = {});
    // Quickly, a frame near `position` (otherwise as grab): the frame decoded last while the
    // decoder stands in the position's group of pictures before it, else the key frame at or
    // before the position; the frame at the position where neither can be had. A grab of the
    // position after it decodes on from there.
    FrameGrab grabNear(const QString &mediaPath, double position, int width, int height,
                       const GrabLimits &limits = {});
    // Closes the file open, if any.
    void close();
    // The file open now ("" when none).
    QString openFile() const { return m_path; }

private:
    FrameGrab run(const QString &mediaPath, double position, int width, int height, const GrabLimits &limits,
                  bool near);

    class Session;
    std::unique_ptr<Session> m_session;
    QString m_path;
};

} // namespace platform
