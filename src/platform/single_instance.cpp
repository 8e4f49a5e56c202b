#include "platform/single_instance.h"

#include <QLockFile>

namespace platform {

SingleInstanceLock::SingleInstanceLock() = default;
SingleInstanceLock::~SingleInstanceLock() = default;

bool SingleInstanceLock::acquire(const QString &appDir)
{
    m_lock = std::make_unique<QLockFile>(appDir + QStringLiteral("plovana.lock"));
    // Only a dead owner makes a lock stale, never its age: a copy may run for days.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    m_lock.reset();
    return false;
}

} // namespace platform
