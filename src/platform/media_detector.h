#pragma once
// The media detector: one video frame of a media file as an RGB picture, decoded in this
// process with FFmpeg. Safe to call from any thread; each call opens the file on its own.

#include "platform/bitmap_file.h"

#include <QString>
#include <atomic>
#include <chrono>

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

} // namespace platform
