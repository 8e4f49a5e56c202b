#include "lists/list_file.h"

#include "platform/path.h"
#include "platform/text_file.h"

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

std::optional<ListEntry> splitListLine(const QString &resolved)
{
    if (resolved.startsWith(u'#'))
        return std::nullopt;
    const qsizetype slash = resolved.lastIndexOf(u'/');
    if (slash < 0)
        return std::nullopt;
    return std::make_pair(resolved.left(slash), resolved.mid(slash + 1));
}

std::optional<ListEntry> listEntry(const QString &line, const QString &listFolder)
{
    return splitListLine(resolveListLine(line, listFolder));
}

QList<ListEntry> parseListFile(const QByteArray &bytes, const QString &listFolder)
{
    QList<ListEntry> entries;
    for (const QString &line : platform::decodeLines(bytes))
        if (auto entry = listEntry(line, listFolder))
            entries.append(std::move(*entry));
    return entries;
}

std::optional<QString> listFileLine(const QString &folder, const QString &name, const QString &listFolder,
                                    bool relative)
{
    if (name.isEmpty())
        return std::nullopt;
    // A line break cannot stand in a line of the list: such a file is written as a file://
    // URI, which a read turns back into the same path. Its leading "/" is one: a URI's
    // "//" would begin a host.
    QString file = path::addbackslash(folder) + name; // an empty folder is the root
    if (file.contains(u'\r') || file.contains(u'\n')) {
        while (file.startsWith(QStringLiteral("//")))
            file.remove(0, 1);
        return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    }
    const QString f = relative ? path::getrelativepath(folder, listFolder) : folder;
    return path::addbackslash(f) + name;
}

QByteArray formatListFile(const QList<ListEntry> &entries, const QString &listFolder, bool relative)
{
    QStringList lines;
    lines.reserve(entries.size());
    for (const ListEntry &e : entries)
        if (const auto line = listFileLine(e.first, e.second, listFolder, relative))
            lines.append(*line);
    return platform::encodeLines(lines);
}
