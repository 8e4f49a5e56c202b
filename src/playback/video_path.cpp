#include "playback/video_path.h"

VideoPathRequest videoPathRequest(const QString &environmentValue)
{
    const QString v = environmentValue.trimmed().toLower();
    if (v == u"gl")
        return VideoPathRequest::OpenGL;
    if (v == u"sw")
        return VideoPathRequest::Software;
    return VideoPathRequest::Auto;
}

bool isSoftwareRasterizer(const QString &renderer)
{
    const QString r = renderer.toLower();
    for (const char *name : {"llvmpipe", "softpipe", "swrast"})
        if (r.contains(QLatin1String(name)))
            return true;
    return false;
}

bool wantsGlProbe(VideoPathRequest request, bool renderDevice)
{
    switch (request) {
    case VideoPathRequest::Software:
        return false;
    case VideoPathRequest::OpenGL:
        return true;
    case VideoPathRequest::Auto:
        break;
    }
    return renderDevice;
}

VideoPathChoice chooseVideoPath(VideoPathRequest request, const std::optional<QString> &renderer)
{
    if (request == VideoPathRequest::Software)
        return {VideoPath::Software, QStringLiteral("software: PLOVANA_VIDEO=sw")};
    if (!renderer || renderer->trimmed().isEmpty())
        return {VideoPath::Software, QStringLiteral("software: no OpenGL context")};
    if (request == VideoPathRequest::OpenGL)
        return {VideoPath::OpenGL, QStringLiteral("OpenGL (%1): PLOVANA_VIDEO=gl").arg(*renderer)};
    if (isSoftwareRasterizer(*renderer))
        return {VideoPath::Software, QStringLiteral("software: the OpenGL renderer is a software rasterizer (%1)").arg(*renderer)};
    return {VideoPath::OpenGL, QStringLiteral("OpenGL: hardware renderer (%1)").arg(*renderer)};
}
