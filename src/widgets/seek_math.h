#pragma once
// The arithmetic of the seek bar, the volume bars and the RealMedia volume: pointer
// positions in twips to positions in seek-bar units, the section a Ctrl+drag marks, the
// volume a click sets, and the wave-out level that carries the volume of RealMedia files.

#include <cstdint>
#include <optional>

namespace seek {

// The seek bar's track starts and ends this far inside the slider (twips).
constexpr int kTrackMargin = 160;

// Rounds to the nearest integer, halves to even (as the position timer rounds).
int roundHalfEven(double v);

// The fraction of the clip a pointer at x (twips from the slider's left edge) stands for:
// (x − 160) / (width − 320), not clamped (below 0 left of the track, above 1 right of it).
double trackFraction(int xTw, int widthTw);
// Where a value lies on the track (twips from the slider's left edge): the drawn thumb
// and section stand where a click on them would seek.
int trackPosition(int value, int max, int widthTw);

// The pointer's position in seek-bar units: RealMedia round(f × length ms); the ordinary
// engine round(f × duration s) × 100.
int realPointer(double f, int lengthMs);
int moviePointer(double f, double durationSeconds);

// The section a Ctrl+drag marks, from its start s (set at the press) to the release at p.
struct Section
{
    int start = 0;
    int length = 0;
    bool operator==(const Section &o) const = default;
};
Section endSection(int s, int p, int max);

// The marker `sel` while a Ctrl+drag goes on: from the drag's start a to the pointer
// b = seekLeft + x (container twips), kept on the track.
struct Marker
{
    int left = 0;
    int width = 0;
    bool operator==(const Marker &o) const = default;
};
Marker markerSpan(int a, int x, int seekLeftTw, int seekWidthTw);

// The full-screen bar has no margins: round(x / width × length).
int fullScreenPointer(int xTw, int widthTw, double length);

// The volume setting for a click at x (twips) on a volume bar of this width:
// round(x / (width − 80) × 100), above 100 → 100; nullopt (refused) when negative.
std::optional<int> volumeFromPointer(int xTw, int widthTw);

// The ordinary engine's graph volume for a setting (hundredths of a decibel): 100 → 0,
// 50 → -2500, 0 → -5000.
int graphVolume(int setting);

// The wave-out value (both channels) that carries a setting for RealMedia files, scaled
// round the start-up level b = startWaveVolume + 32767: 50 gives 32767, 100 gives
// 32767 + b/2, 0 gives 32767 − b/2; rounded half to even and kept within 0..65535.
std::uint32_t realWaveLevel(int setting, int startWaveVolume);

} // namespace seek

// The wave-out value that gives both channels one 16-bit level.
unsigned int bothChannels(int level);
