#include "app/command_line.h"

#include "lists/extensions.h"
#include "platform/file_system.h"
#include "platform/my_module.h"

#include <QDir>
#include <QFileInfo>

QString commandLineText(const QStringList &arguments, const QString &workingDir)
{
    QStringList parts;
    for (const QString &arg : arguments) {
        const bool quoted = arg.startsWith(u'"');
        QString inner = quoted ? arg.mid(1) : arg;
        if (quoted && inner.endsWith(u'"'))
            inner.chop(1);
        if (!inner.isEmpty() && !QDir::isAbsolutePath(inner))
            inner = QDir::cleanPath(QDir(workingDir).absoluteFilePath(inner));
        parts.append(quoted ? u'"' + inner + u'"' : inner);
    }
    return parts.join(u' ');
}

QString unquoteCommandLine(const QString &text)
{
    if (!text.startsWith(u'"'))
        return myModule::expandLongPath(text);
    return text.mid(1, text.size() - 2);
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
