#include "widgets/seek_math.h"

#include <algorithm>
#include <cmath>

namespace seek {

int roundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

double trackFraction(int xTw, int widthTw)
{
    const int track = widthTw - 2 * kTrackMargin;
    if (track <= 0)
        return 0.0;
    return double(xTw - kTrackMargin) / track;
}

int trackPosition(int value, int max, int widthTw)
{
    const int track = widthTw - 2 * kTrackMargin;
    if (max <= 0 || track <= 0)
        return kTrackMargin;
    return kTrackMargin + static_cast<int>(std::lround(double(value) / max * track));
}

int realPointer(double f, int lengthMs)
{
    return roundHalfEven(f * lengthMs);
}

int moviePointer(double f, double durationSeconds)
{
    return roundHalfEven(f * durationSeconds) * 100;
}

Section endSection(int s, int p, int max)
{
    if (p > s)
        return {s, p > max ? max - s : p - s};
    if (p < 0)
        return {0, s};
    return {p, s - p};
}

Marker markerSpan(int a, int x, int seekLeftTw, int seekWidthTw)
{
    const int b = seekLeftTw + x;
    if (b - a > 0) {
        if (x - kTrackMargin < seekWidthTw - 2 * kTrackMargin)
            return {a, b - a};
        return {a, seekLeftTw + seekWidthTw - a - kTrackMargin};
    }
    if (x - kTrackMargin > 0)
        return {b, a - b};
    return {seekLeftTw + kTrackMargin, a - seekLeftTw - kTrackMargin};
}

int fullScreenPointer(int xTw, int widthTw, double length)
{
    if (widthTw <= 0)
        return 0;
    return static_cast<int>(std::lround(double(xTw) / widthTw * length));
}

std::optional<int> volumeFromPointer(int xTw, int widthTw)
{
    const int span = widthTw - 80;
    if (span <= 0)
        return std::nullopt;
    const int v = roundHalfEven(double(xTw) / span * 100.0);
    if (v < 0)
        return std::nullopt;
    return std::min(v, 100);
}

int graphVolume(int setting)
{
    return static_cast<int>(std::lround((setting - 100) * 50.0));
}

std::uint32_t realWaveLevel(int setting, int startWaveVolume)
{
    const double b = startWaveVolume + 32767.0;
    const double k = b / 2.0 / 32767.0;
    const double level = ((setting - 50) * 32767.0 / 50.0) * k + 32767.0;
    const auto v = static_cast<std::uint32_t>(std::clamp(roundHalfEven(level), 0, 65535));
    return (v << 16) | v;
}

} // namespace seek

unsigned int bothChannels(int level)
{
    // Exactly four hexadecimal digits of the level, twice.
    const unsigned int v = static_cast<unsigned int>(level) & 0xFFFFu;
    return (v << 16) | v;
}
