#pragma once
// Scene files: ten remembered positions per media file, kept in the scene folder as
// <title>.txt with one quoted record per slot ("caption","position"), slot 0 first. Files
// whose names share a title (a.avi, a.mpg, a.rm) share one scene file.
//
// A position is kept in the unit of the engine that registered it: seconds as a decimal
// number for the ordinary engine, whole milliseconds for RealMedia. The caption of a slot
// in use carries its time in whole seconds, which tells the two apart when a file of the
// other engine reads the same scene file.

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace scenes {

constexpr int kSlots = 10;

struct SceneSlot
{
    QString caption;
    QString tag; // the position text; empty for a slot not in use
    bool inUse() const { return !tag.isEmpty(); }
    bool operator==(const SceneSlot &) const = default;
};

using SceneSlots = std::array<SceneSlot, kSlots>;

// What a scene file holds: whether it could be read, and its ten slots (slots the file
// does not reach are never used).
struct SceneFile
{
    bool exists = false;
    SceneSlots slots;
};

// "[k] -----": a slot that was never used.
QString unusedCaption(int slot);
// "[k] m:ss" (or "[k] h:mm:ss"): a slot registered at `seconds`.
QString sceneCaption(int slot, int seconds);
// The caption of a slot the user cleared.
QString clearedCaption();

// The time in whole seconds that a slot's caption shows ("[3] 1:05" gives 65); nullopt
// for a caption without a time ("[3] -----", "----", a caption edited by hand).
std::optional<int> captionSeconds(const QString &caption);

// Ten slots, all never used.
SceneSlots unusedSlots();

// The scene file of a media file: `seenFolder` + the file's title + ".txt".
QString sceneFilePath(const QString &seenFolder, const QString &mediaFile);
// The file name of an engine source: a leading "file://" (any letter case) removed.
QString localName(const QString &source);

// Reads a scene file; records beyond the tenth are ignored.
SceneFile readSceneFile(const QString &file);
// The slots of a scene file's bytes (the file exists); records beyond the tenth are ignored.
SceneFile parseSceneFile(const QByteArray &bytes);
// Replaces the scene file with the ten slots (atomic save). False when it was not written.
bool writeSceneFile(const QString &file, const SceneSlots &slots);
// The bytes writeSceneFile writes.
QByteArray formatSceneFile(const SceneSlots &slots);
// Whether no slot is in use (the scene file is then removed).
bool allUnused(const SceneSlots &slots);

// The captions of one slot in the four scene menus (jump, register, rename, clear). Slots
// in use get " に上書き", " のシーン名変更" and " を削除" after their caption.
struct SlotMenuTexts
{
    QString seen;
    QString reg;
    QString chg;
    QString del;
};
SlotMenuTexts slotMenuTexts(const SceneSlot &slot);


// The unit a position is kept in.
enum class SceneUnit { Seconds, Milliseconds };

// The text kept for an engine position: whole milliseconds for RealMedia (rounded), the
// text of the seconds otherwise.
QString positionText(double enginePosition, SceneUnit engineUnit);

// A position text as a 32-bit integer, rounded to the nearest and a tie to the even one
// (2.5 gives 2, 3.5 gives 4). nullopt when it is not a number or does not fit 32 bits.
std::optional<int> parseSceneTag(const QString &tag);

// The unit a tag was registered in: the one whose whole seconds lie nearer the caption's
// time. Ties, and captions without a time, take the unit of the engine playing now.
SceneUnit tagUnit(int tag, std::optional<int> captionSeconds, SceneUnit engineUnit);

// Where a jump lands, in seek-bar units (`unitsPerSecond` of them to the second): RealMedia
// on the millisecond, the ordinary engine on whole seconds (a tag in milliseconds is cut
// to its whole seconds). nullopt when the target does not fit an int.
std::optional<int> jumpUnits(int tag, SceneUnit tagUnit, SceneUnit engineUnit, int unitsPerSecond);

} // namespace scenes
