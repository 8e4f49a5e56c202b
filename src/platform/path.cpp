#include "platform/path.h"

#include "platform/file_system.h"

namespace path {

QString addbackslash(const QString &p)
{
    return p.endsWith(u'/') ? p : p + u'/';
}

QString removebackslash(const QString &p)
{
    return p.endsWith(u'/') ? p.left(p.size() - 1) : p;
}

QString getdirectory(const QString &p)
{
    const qsizetype slash = p.lastIndexOf(u'/');
    return slash < 0 ? QString() : p.left(slash);
}

namespace {
QString nameOf(const QString &p) { return p.mid(p.lastIndexOf(u'/') + 1); }
} // namespace

QString getfiletitle(const QString &p)
{
    const QString name = nameOf(p);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString getextension(const QString &p)
{
    const QString name = nameOf(p);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.mid(dot + 1);
}

int checkpath(const QString &p)
{
    if (p.isEmpty() || !platform::entryExists(p))
        return -1;
    if (p.size() >= 4)
        return 0;
    return p.at(0).toUpper().unicode();
}

QString getparentdir(const QString &folder)
{
    if (checkpath(folder) != 0)
        return QString();
    const QString f = removebackslash(folder);
    const qsizetype slash = f.lastIndexOf(u'/');
    return slash < 0 ? QString() : f.left(slash + 1);
}

QString getrelativepath(const QString &p, const QString &base)
{
    if (p.startsWith(u'.'))
        return p;
    if (!base.isEmpty() && p.startsWith(base)
        && (base.endsWith(u'/') || p.size() == base.size() || p.at(base.size()) == u'/')) {
        const QString rest = p.mid(base.size());
        return rest.startsWith(u'/') ? u'.' + rest : QStringLiteral("./") + rest;
    }
    const QString parent = getparentdir(base);
    if (!parent.isEmpty() && p.startsWith(parent)) {
        const QString rest = p.mid(parent.size());
        return rest.startsWith(u'/') ? QStringLiteral("..") + rest : QStringLiteral("../") + rest;
    }
    return p;
}

QString getabsolutepath(const QString &p, const QString &base)
{
    if (!p.startsWith(u'.'))
        return p;
    if (p.startsWith(QStringLiteral("./")))
        return addbackslash(base) + p.mid(2);
    if (p.startsWith(QStringLiteral("../")))
        return getparentdir(base) + p.mid(3);
    return QString();
}

} // namespace path
