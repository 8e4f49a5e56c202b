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

CommandLineRequest commandLineRequest(const QStringList &arguments, const QString &workingDir)
{
    if (arguments.size() != 1)
        return CommandLineRequest::Start;
    const QString &only = arguments.first();
    if (only != u"--version" && only != u"--help")
        return CommandLineRequest::Start;
    if (isExistingFile(absoluteAgainst(only, workingDir)))
        return CommandLineRequest::Start;
    return only == u"--version" ? CommandLineRequest::Version : CommandLineRequest::Help;
}

QString versionText(const QString &version)
{
    return QStringLiteral("Plovana ") + version + u'\n';
}

QString usageText()
{
    return QStringLiteral(
        "Usage: plovana [FILE]\n"
        "Plays the video FILE in Plovana's window. Without FILE the window opens with the\n"
        "lists of the last session.\n"
        "\n"
        "  --help     show this help and exit\n"
        "  --version  show the version and exit\n"
        "\n"
        "The state (config.ini, the lists, thumbnails) is kept in $PLOVANA_APPDIR when it\n"
        "is set, else beside the program when a file plovana.portable stands there, else\n"
        "in $XDG_DATA_HOME/plovana/ (~/.local/share/plovana/).\n");
}
