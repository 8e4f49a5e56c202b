#include "platform/app_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {
QString withSlash(const QString &p) { return p.endsWith(u'/') ? p : p + u'/'; }
} // namespace

QString resolveAppDir(const QString &executableDir, const QString &envAppDir,
                      const QString &xdgDataHome, const QString &home)
{
    if (!envAppDir.isEmpty())
        return withSlash(QDir(envAppDir).absolutePath());
    if (!executableDir.isEmpty()
        && QFileInfo::exists(withSlash(executableDir) + QStringLiteral("plovana.portable")))
        return withSlash(executableDir);
    const QString data = !xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome)
                             ? xdgDataHome
                             : withSlash(home) + QStringLiteral(".local/share");
    return withSlash(withSlash(data) + QStringLiteral("plovana"));
}

QString applicationStateDir()
{
    const QString dir = resolveAppDir(QCoreApplication::applicationDirPath(),
                                      qEnvironmentVariable("PLOVANA_APPDIR"),
                                      qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
    QDir().mkpath(dir);
    return dir;
}

} // namespace platform
