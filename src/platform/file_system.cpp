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
