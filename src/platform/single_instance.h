#pragma once
// One running copy per state folder: a lock file in appDir.

#include <QString>
#include <memory>

class QLockFile;

namespace platform {

class SingleInstanceLock
{
public:
    SingleInstanceLock();
    ~SingleInstanceLock();

    // True when this process now holds the lock of the folder; false when another
    // running copy holds it. A lock left behind by a copy that died is taken over.
    bool acquire(const QString &appDir);

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
