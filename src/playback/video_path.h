#pragma once
// Which way the video surface draws: OpenGL (the GPU converts and scales the picture, and
// decodes it where the driver can) or the software renderer (frames into an image on a
// thread of its own). Decided once per engine at its first open.

#include <QString>
#include <optional>

enum class VideoPath { Software, OpenGL };

struct VideoPathChoice
{
    VideoPath path = VideoPath::Software;
    QString reason; // one line for the trace and the documentation

    bool operator==(const VideoPathChoice &) const = default;
};

// What PLOVANA_VIDEO asks for: "gl", "sw", or anything else (the program decides).
enum class VideoPathRequest { Auto, OpenGL, Software };
VideoPathRequest videoPathRequest(const QString &environmentValue);

// True for Mesa's software rasterizers (llvmpipe, softpipe, swrast): on them mpv's own
// OpenGL output costs more CPU than drawing in software and drops frames.
bool isSoftwareRasterizer(const QString &renderer);

// Whether an OpenGL context is worth making to ask its renderer: not when the software path
// is forced, and not when the machine has no render device (then any renderer would be a
// software one, and loading the GL driver only costs start-up time and memory).
bool wantsGlProbe(VideoPathRequest request, bool renderDevice);

// The path from the request and the renderer of a probe context (nullopt: no context could
// be made, or none was probed). Forcing OpenGL still needs a context.
VideoPathChoice chooseVideoPath(VideoPathRequest request, const std::optional<QString> &renderer);
