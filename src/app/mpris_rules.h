#pragma once
// What the desktop's media controls (MPRIS) mean in the player's own terms: the loop and
// shuffle states of the four play modes, the speed a rate asks for, where a relative seek
// lands. Pure rules, no bus.

#include "playback/playback_state.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace mpris {

// "None" (通常), "Playlist" (連続, ランダム), "Track" (ループ).
QString loopStatusOf(PlayMode mode);
// Only ランダム shuffles.
bool shuffleOf(PlayMode mode);
// The mode a LoopStatus asks for: None → 通常, Track → ループ, Playlist → 連続 (ランダム stays
// while shuffling). nullopt for any other text.
std::optional<PlayMode> modeForLoopStatus(const QString &status, PlayMode now);
// The mode Shuffle asks for: true → ランダム; false → 連続 from ランダム, else the mode stays.
PlayMode modeForShuffle(bool shuffle, PlayMode now);

// The speed nearest a rate (ties toward 1.0); nullopt for a rate of 0 or below (0 pauses).
std::optional<PlaySpeed> speedForRate(double rate);

// Where a seek by `offsetUs` from `positionUs` lands in a file `lengthUs` long: never
// before 0; past the end it asks for the next file instead.
struct SeekTarget
{
    bool next = false;
    qint64 positionUs = 0;
    bool operator==(const SeekTarget &o) const = default;
};
SeekTarget seekBy(qint64 positionUs, qint64 offsetUs, qint64 lengthUs);

// The volume bar's setting (0..100) for a volume of 0.0 .. 1.0, rounded and clamped.
int volumeSetting(double volume);

} // namespace mpris
