#include "window/seek_preview_math.h"

#include "widgets/seek_math.h"

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// A length the arithmetic in seek-bar units holds in 32 bits: RealMedia counts milliseconds.
bool knownLength(double durationSeconds, bool realMedia)
{
    return std::isfinite(durationSeconds) && durationSeconds > 0 && durationSeconds < (realMedia ? 2e6 : 2e7);
}

// A position in seconds, kept within the clip and cut to its whole second.
int wholeSecond(double seconds, double durationSeconds)
{
    const double s = std::clamp(seconds, 0.0, durationSeconds);
    return static_cast<int>(std::floor(s));
}

int lengthMs(double durationSeconds) { return static_cast<int>(std::lround(durationSeconds * 1000.0)); }

} // namespace

std::optional<int> seekBarSecond(int xTw, int widthTw, double durationSeconds, bool realMedia)
{
    if (!knownLength(durationSeconds, realMedia))
        return std::nullopt;
    // Beyond either end of the track the position is the clip's start or end anyway.
    const double f = std::clamp(seek::trackFraction(xTw, widthTw), 0.0, 1.0);
    const double seconds = realMedia ? seek::realPointer(f, lengthMs(durationSeconds)) / 1000.0
                                     : seek::moviePointer(f, durationSeconds) / 100.0;
    return wholeSecond(seconds, durationSeconds);
}

std::optional<int> fullScreenSecond(int xTw, int widthTw, double durationSeconds, bool realMedia)
{
    if (!knownLength(durationSeconds, realMedia))
        return std::nullopt;
    xTw = std::clamp(xTw, 0, std::max(0, widthTw));
    const double length = realMedia ? lengthMs(durationSeconds) : durationSeconds * 100.0;
    const int units = seek::fullScreenPointer(xTw, widthTw, length);
    return wholeSecond(units / (realMedia ? 1000.0 : 100.0), durationSeconds);
}

int pictureWidth(double devicePixelRatio)
{
    const double r = std::isfinite(devicePixelRatio) && devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    return std::clamp(static_cast<int>(std::lround(kPictureWidth * r)), 1, 4 * kPictureWidth);
}

QPoint place(int pointerX, int barTop, int barBottom, QSize size, const QRect &screen)
{
    int x = pointerX - size.width() / 2;
    int y = barTop - kGap - size.height();
    if (y < screen.top())
        y = barBottom + kGap; // no room above: below the bar
    // Inside the screen; where the preview is larger than the screen its top-left stays in.
    x = std::max(screen.left(), std::min(x, screen.left() + screen.width() - size.width()));
    y = std::max(screen.top(), std::min(y, screen.top() + screen.height() - size.height()));
    return {x, y};
}

} // namespace preview
