#include "input/commands.h"

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

} // namespace command

void Commands::add(const QString &id, std::function<void()> run)
{
    m_commands[id] = std::move(run);
}

bool Commands::trigger(const QString &id) const
{
    const auto it = m_commands.find(id);
    if (it == m_commands.end() || !it->second)
        return false;
    it->second();
    return true;
}

bool Commands::contains(const QString &id) const
{
    return m_commands.count(id) != 0;
}

QStringList Commands::ids() const
{
    QStringList out;
    for (const auto &[id, run] : m_commands)
        out.append(id);
    return out;
}
