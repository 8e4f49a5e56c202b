#include "lists/list_file.h"

#include "platform/path.h"

#include <QUrl>

QString resolveListLine(const QString &line, const QString &listFolder)
{
    QString p = path::getabsolutepath(line, listFolder);
    if (p.startsWith(u'#') || p.isEmpty())
        return p;
    if (p.startsWith(QStringLiteral("file://"))) {
        const QUrl url(p);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    if (!p.startsWith(u'/'))
        p = path::addbackslash(listFolder) + p;
    return p;
}

std::optional<std::pair<QString, QString>> splitListLine(const QString &resolved)
{
    if (resolved.startsWith(u'#'))
        return std::nullopt;
    const qsizetype slash = resolved.lastIndexOf(u'/');
    if (slash < 0)
        return std::nullopt;
    return std::make_pair(resolved.left(slash), resolved.mid(slash + 1));
}

std::optional<QString> listFileLine(const QString &folder, const QString &name, const QString &listFolder,
                                    bool relative)
{
    if (folder.isEmpty() || name.isEmpty())
        return std::nullopt;
    const QString f = relative ? path::getrelativepath(folder, listFolder) : folder;
    return path::addbackslash(f) + name;
}
