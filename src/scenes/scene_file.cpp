#include "scenes/scene_file.h"

#include "platform/path.h"
#include "platform/quoted_records.h"
#include "platform/text_file.h"
#include "playback/engine_units.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace scenes {

QString unusedCaption(int slot)
{
    return QStringLiteral("[%1] -----").arg(slot);
}

QString sceneCaption(int slot, int seconds)
{
    return QStringLiteral("[%1] %2").arg(slot).arg(timeText(seconds));
}

QString clearedCaption()
{
    return QStringLiteral("----");
}

std::optional<int> captionSeconds(const QString &caption)
{
    static const QRegularExpression time(QStringLiteral(R"(^\[\d+\] (?:(\d+):)?(\d+):(\d\d)$)"));
    const QRegularExpressionMatch m = time.match(caption);
    if (!m.hasMatch())
        return std::nullopt;
    // Each part is bounded before it is multiplied: a caption edited by hand may hold more
    // digits than any time (and than 64 bits once multiplied).
    constexpr qint64 most = std::numeric_limits<int>::max();
    bool ok = true;
    const qint64 hours = m.captured(1).isEmpty() ? 0 : m.captured(1).toLongLong(&ok);
    if (!ok || hours > most / 3600)
        return std::nullopt;
    const qint64 minutes = m.captured(2).toLongLong(&ok);
    if (!ok || minutes > most / 60)
        return std::nullopt;
    const qint64 seconds = hours * 3600 + minutes * 60 + m.captured(3).toLongLong();
    if (seconds > most)
        return std::nullopt;
    return static_cast<int>(seconds);
}

SceneSlots unusedSlots()
{
    SceneSlots slots;
    for (int i = 0; i < kSlots; ++i)
        slots[std::size_t(i)].caption = unusedCaption(i);
    return slots;
}

QString sceneFilePath(const QString &seenFolder, const QString &mediaFile)
{
    return path::addbackslash(seenFolder) + path::getfiletitle(mediaFile) + QStringLiteral(".txt");
}

QString localName(const QString &source)
{
    static const QString scheme = QStringLiteral("file://");
    return source.startsWith(scheme, Qt::CaseInsensitive) ? source.mid(scheme.size()) : source;
}

SceneFile readSceneFile(const QString &file)
{
    const auto bytes = platform::readFileBytes(file);
    if (!bytes) {
        SceneFile result;
        result.slots = unusedSlots();
        return result;
    }
    return parseSceneFile(*bytes);
}

SceneFile parseSceneFile(const QByteArray &bytes)
{
    SceneFile result;
    result.slots = unusedSlots();
    result.exists = true;
    const QList<QStringList> records = platform::parseQuotedRecords(bytes, 2);
    for (int i = 0; i < kSlots && i < records.size(); ++i)
        result.slots[std::size_t(i)] = {records.at(i).at(0), records.at(i).at(1)};
    return result;
}

bool writeSceneFile(const QString &file, const SceneSlots &slots)
{
    return platform::writeFileAtomically(file, formatSceneFile(slots));
}

QByteArray formatSceneFile(const SceneSlots &slots)
{
    QList<QStringList> records;
    for (const SceneSlot &s : slots)
        records.append({s.caption, s.tag});
    return platform::formatQuotedRecords(records);
}

bool allUnused(const SceneSlots &slots)
{
    for (const SceneSlot &s : slots)
        if (s.inUse())
            return false;
    return true;
}

SlotMenuTexts slotMenuTexts(const SceneSlot &slot)
{
    if (!slot.inUse())
        return {slot.caption, slot.caption, slot.caption, slot.caption};
    return {slot.caption, slot.caption + QStringLiteral(" に上書き"), slot.caption + QStringLiteral(" のシーン名変更"),
            slot.caption + QStringLiteral(" を削除")};
}


QString positionText(double enginePosition, SceneUnit engineUnit)
{
    if (engineUnit == SceneUnit::Milliseconds)
        return QString::number(std::llround(enginePosition));
    return doubleText(enginePosition);
}

std::optional<int> parseSceneTag(const QString &tag)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(tag.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double floor = std::floor(v);
    const double fraction = v - floor;
    double r = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        r = floor + 1.0;
    if (r < std::numeric_limits<int>::min() || r > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(r);
}

SceneUnit tagUnit(int tag, std::optional<int> captionSeconds, SceneUnit engineUnit)
{
    if (!captionSeconds)
        return engineUnit;
    const qint64 asSeconds = tag;
    const qint64 asMilliseconds = tag / 1000;
    const qint64 offSeconds = std::llabs(asSeconds - *captionSeconds);
    const qint64 offMilliseconds = std::llabs(asMilliseconds - *captionSeconds);
    if (offSeconds == offMilliseconds)
        return engineUnit;
    return offSeconds < offMilliseconds ? SceneUnit::Seconds : SceneUnit::Milliseconds;
}

std::optional<int> jumpUnits(int tag, SceneUnit tagUnit, SceneUnit engineUnit, int unitsPerSecond)
{
    qint64 units = 0;
    if (engineUnit == SceneUnit::Milliseconds) {
        const qint64 ms = tagUnit == SceneUnit::Milliseconds ? qint64(tag) : qint64(tag) * 1000;
        units = ms * unitsPerSecond / 1000;
    } else {
        const qint64 seconds = tagUnit == SceneUnit::Seconds ? qint64(tag) : qint64(tag) / 1000;
        units = seconds * unitsPerSecond;
    }
    if (units < std::numeric_limits<int>::min() || units > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(units);
}

} // namespace scenes
