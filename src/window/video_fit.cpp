#include "window/video_fit.h"

#include <algorithm>
#include <cmath>

namespace videofit {

namespace {

int roundToInt(double v)
{
    return static_cast<int>(std::lround(v));
}

bool hasSize(int w, int h)
{
    return w > 0 && h > 0;
}

// The picture's height when it is fitted to the area's width (twips).
int fittedToWidth(int displayWidth, int sourceWidth, int sourceHeight)
{
    return roundToInt(static_cast<double>(displayWidth) * sourceHeight / sourceWidth);
}

// Whether the picture is wider than the area (letterboxed: bars above and below).
bool letterboxed(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight)
{
    // r < J with r = sh / sw and J = dh / dw, without dividing.
    return static_cast<long long>(sourceHeight) * displayWidth < static_cast<long long>(displayHeight) * sourceWidth;
}

bool fitsAspect(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight, bool keepAspect)
{
    return keepAspect && hasSize(sourceWidth, sourceHeight) && hasSize(displayWidth, displayHeight);
}

} // namespace

Rect videoWindow(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight, bool keepAspect, int twipsX,
                 int twipsY)
{
    twipsX = std::max(twipsX, 1);
    twipsY = std::max(twipsY, 1);
    const double tx = twipsX;
    const double ty = twipsY;
    if (!fitsAspect(displayWidth, displayHeight, sourceWidth, sourceHeight, keepAspect))
        return {0, 0, roundToInt(displayWidth / tx), roundToInt(displayHeight / ty)};

    const double r = static_cast<double>(sourceHeight) / sourceWidth;
    if (!letterboxed(displayWidth, displayHeight, sourceWidth, sourceHeight)) {
        // Taller than the area: full height, centred across.
        const double w = displayHeight / r;
        return {roundToInt((displayWidth - w) / tx / 2), 0, roundToInt(w / tx), roundToInt(displayHeight / ty)};
    }
    // Wider than the area: full width, centred up and down.
    const double h = displayWidth * r;
    return {0, roundToInt((displayHeight - h) / ty / 2), roundToInt(displayWidth / tx), roundToInt(h / ty)};
}

Mask upperClip(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight, bool keepAspect, int percent)
{
    if (percent <= 0)
        return {};
    if (!fitsAspect(displayWidth, displayHeight, sourceWidth, sourceHeight, keepAspect))
        return {0, roundToInt(static_cast<double>(displayHeight) * percent / 100)};
    const int p = fittedToWidth(displayWidth, sourceWidth, sourceHeight);
    const int height = roundToInt(static_cast<double>(p) * percent / 100);
    const int top = letterboxed(displayWidth, displayHeight, sourceWidth, sourceHeight)
                        ? roundToInt((displayHeight - p) / 2.0)
                        : 0;
    return {top, height};
}

Mask underClip(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight, bool keepAspect, int percent)
{
    if (percent <= 0)
        return {};
    if (!fitsAspect(displayWidth, displayHeight, sourceWidth, sourceHeight, keepAspect)) {
        const int height = roundToInt(static_cast<double>(displayHeight) * percent / 100);
        return {displayHeight - height, height};
    }
    const int p = fittedToWidth(displayWidth, sourceWidth, sourceHeight);
    const int height = roundToInt(static_cast<double>(p) * percent / 100);
    const int top = letterboxed(displayWidth, displayHeight, sourceWidth, sourceHeight)
                        ? roundToInt((displayHeight - p) / 2.0) + p - height
                        : displayHeight - height;
    return {top, height};
}

Size scaledVideoSize(int displayHeight, int sourceWidth, int sourceHeight, int twipsX, int twipsY, double scale)
{
    double w = std::round(displayHeight * 1.3);
    double h = displayHeight;
    if (sourceWidth > 0 && sourceHeight > 0) {
        w = static_cast<double>(sourceWidth) * twipsX;
        h = static_cast<double>(sourceHeight) * twipsY;
    }
    // Twips are 32-bit here: a wide source at 200 % passes the 16-bit range easily.
    const auto side = [scale](double v) { return static_cast<int>(std::clamp<double>(std::round(v * scale), 0, 1e9)); };
    return {side(w), side(h)};
}

Size fitToAvailable(Size video, Size chrome, Size available)
{
    if (!hasSize(available.width, available.height) || !hasSize(video.width, video.height))
        return video;
    const int roomW = available.width - chrome.width;
    const int roomH = available.height - chrome.height;
    if (video.width <= roomW && video.height <= roomH)
        return video;
    if (roomW <= 0 || roomH <= 0)
        return video; // nothing fits: the layout's minimum decides
    const double f = std::min(static_cast<double>(roomW) / video.width, static_cast<double>(roomH) / video.height);
    return {static_cast<int>(std::floor(video.width * f)), static_cast<int>(std::floor(video.height * f))};
}

Rect realMediaRect(int displayWidth, int displayHeight, int clipWidth, int clipHeight, bool keepAspect)
{
    if (!fitsAspect(displayWidth, displayHeight, clipWidth, clipHeight, keepAspect))
        return {0, 0, displayWidth, displayHeight};
    const double r = static_cast<double>(clipHeight) / clipWidth;
    if (letterboxed(displayWidth, displayHeight, clipWidth, clipHeight)) {
        const double h = displayWidth * r;
        return {0, roundToInt((displayHeight - h) / 2), displayWidth, roundToInt(h)};
    }
    const double w = displayHeight / r;
    return {roundToInt((displayWidth - w) / 2), 0, roundToInt(w), displayHeight};
}

std::optional<int> optimizedHeight(int displayWidth, int sourceWidth, int sourceHeight)
{
    if (sourceWidth <= 0 || sourceHeight <= 0)
        return std::nullopt;
    return fittedToWidth(displayWidth, sourceWidth, sourceHeight);
}

std::optional<double> steppedScale(int displayWidth, int twipsX, int pictureWidth, bool larger)
{
    if (pictureWidth <= 0 || twipsX <= 0)
        return std::nullopt;
    const double w = pictureWidth;
    const double now = displayWidth / (twipsX * w);
    return larger ? now + 100.0 / w : now - 100.0 / w;
}

} // namespace videofit
