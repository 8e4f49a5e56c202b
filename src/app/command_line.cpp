#include "app/command_line.h"

#include "lists/extensions.h"
#include "platform/file_system.h"
#include "platform/my_module.h"

#include <QDir>
#include <QFileInfo>

QString commandLineText(const QStringList &arguments)
{
    return arguments.join(u' ');
}

QString absoluteAgainst(const QString &path, const QString &workingDir)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir::cleanPath(QDir(workingDir).absoluteFilePath(path));
}

QString unquoteCommandLine(const QString &text, const QString &workingDir)
{
    if (!text.startsWith(u'"'))
        return myModule::expandLongPath(absoluteAgainst(text, workingDir));
    return text.mid(1, text.size() - 2);
}

QString commandLineFile(const QStringList &arguments, const QString &workingDir)
{
    const QString text = commandLineText(arguments);
    if (text.isEmpty())
        return QString();
    const QString steps = unquoteCommandLine(text, workingDir);
    const QString found = firstExistingPath(
        steps, [&](const QString &candidate) { return isExistingFile(absoluteAgainst(candidate, workingDir)); });
    return absoluteAgainst(found, workingDir);
}

QString firstExistingPath(const QString &text, const std::function<bool(const QString &)> &isFile)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'"' && isFile(text.left(i)))
            return text.left(i);
    }
    return text;
}

QString mediaFileName(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (path.at(i) == u'.' && check_kakuchousi(path.mid(i + 1)))
            return path;
    }
    return QString();
}

bool isExistingFile(const QString &path)
{
    return !path.isEmpty() && platform::normalEntryExists(path) && QFileInfo(path).isFile();
}
