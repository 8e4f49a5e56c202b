#include "platform/file_system.h"

#include <QFileInfo>

namespace platform {

namespace {
QString withoutTrailingSlash(const QString &p)
{
    QString s = p;
    while (s.size() > 1 && s.endsWith(u'/'))
        s.chop(1);
    return s;
}
} // namespace

bool isHiddenName(const QString &path)
{
    const QString p = withoutTrailingSlash(path);
    const QString name = p.mid(p.lastIndexOf(u'/') + 1);
    return name.startsWith(u'.') && name != u"." && name != u"..";
}

bool entryExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(withoutTrailingSlash(path));
    return info.exists() || info.isSymLink();
}

bool normalEntryExists(const QString &path)
{
    return entryExists(path) && !isHiddenName(path);
}

bool folderExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace platform

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool pathExists(const QString &path)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

RenameResult renameNoReplace(const QString &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty())
        return RenameResult::Failed;
    if (pathExists(to))
        return RenameResult::Exists;
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return RenameResult::Renamed;
    if (errno == EEXIST)
        return RenameResult::Exists;
    if (errno != EINVAL && errno != ENOSYS)
        return RenameResult::Failed;
    return renameByLink(from, to);
}

RenameResult renameByLink(const QString &from, const QString &to)
{
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (::link(f.constData(), t.constData()) != 0)
        return errno == EEXIST ? RenameResult::Exists : RenameResult::Failed;
    if (::unlink(f.constData()) != 0) {
        ::unlink(t.constData());
        return RenameResult::Failed;
    }
    return RenameResult::Renamed;
}

} // namespace platform
