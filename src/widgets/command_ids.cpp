#include "widgets/command_ids.h"

namespace command {

QString mode(int index)
{
    static const char *const names[] = {"normal", "rennzoku", "roop", "rnd"};
    return index >= 0 && index < 4 ? QStringLiteral("mode.") + QString::fromLatin1(names[index]) : QString();
}

QString size(int index)
{
    return index >= 0 && index < 6 ? QStringLiteral("size.%1").arg(index) : QString();
}

QString speed(int index)
{
    static const char *const names[] = {"20", "15", "10", "05"};
    return index >= 0 && index < 4 ? QStringLiteral("speed.") + QString::fromLatin1(names[index]) : QString();
}

namespace {
QString slotId(const char *group, int slot)
{
    return slot >= 0 && slot < 10 ? QStringLiteral("scene.%1.%2").arg(QLatin1String(group)).arg(slot) : QString();
}
} // namespace

QString sceneJump(int slot) { return slotId("jump", slot); }
QString sceneRegister(int slot) { return slotId("register", slot); }
QString sceneRename(int slot) { return slotId("rename", slot); }
QString sceneDelete(int slot) { return slotId("delete", slot); }
QString sceneOkini(int slot) { return slotId("favourites", slot); }
QString sceneFile(int slot) { return slotId("file", slot); }

} // namespace command
