// Scene files (seen/<title>.txt): ten slots of caption and position. The slots read, saved
// and read again are the same, and the position arithmetic a jump runs on any slot stays
// within its types.
#include "scenes/scene_file.h"

#include "fuzz_support.h"

namespace {

std::string shown(const scenes::SceneSlots &slots)
{
    std::string out;
    for (const scenes::SceneSlot &s : slots)
        out += fuzz::shown(s.caption) + " " + fuzz::shown(s.tag) + "\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace scenes;
    const SceneFile file = parseSceneFile(fuzz::bytes(data, size));
    FUZZ_CHECK(file.exists, "");
    const QByteArray saved = formatSceneFile(file.slots);
    const SceneFile back = parseSceneFile(saved);
    FUZZ_CHECK(back.slots == file.slots,
               "read:\n" + shown(file.slots) + "saved:\n" + fuzz::shown(saved) + "\nread back:\n" + shown(back.slots));

    for (int i = 0; i < kSlots; ++i) {
        const SceneSlot &slot = file.slots[std::size_t(i)];
        const SlotMenuTexts texts = slotMenuTexts(slot);
        FUZZ_CHECK(texts.seen == slot.caption, fuzz::shown(slot.caption));
        const std::optional<int> seconds = captionSeconds(slot.caption);
        FUZZ_CHECK(!seconds || *seconds >= 0, fuzz::shown(slot.caption));
        if (const std::optional<int> tag = parseSceneTag(slot.tag)) {
            for (const SceneUnit engine : {SceneUnit::Seconds, SceneUnit::Milliseconds}) {
                const SceneUnit unit = tagUnit(*tag, seconds, engine);
                for (const int unitsPerSecond : {1, 100, 1000})
                    (void)jumpUnits(*tag, unit, engine, unitsPerSecond);
            }
        }
    }
    return 0;
}
