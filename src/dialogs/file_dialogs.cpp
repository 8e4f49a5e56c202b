#include "dialogs/file_dialogs.h"

#include <QDir>
#include <QFileInfo>

QString browseInitialPath;

QString trimAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

FileDialogOptions fileDialogOptions(const FileDialogRequest &request, bool save)
{
    FileDialogOptions options;
    options.save = save;
    options.defaultExt = request.defaultExt.startsWith(u'.') ? request.defaultExt.mid(1) : request.defaultExt;
    options.title = request.title.isEmpty() ? QStringLiteral("ファイルを開く") : request.title;
    options.initialDir = request.initialDir;
    // The pieces alternate: description, pattern, description, pattern, ...
    const QStringList pieces = request.filter.split(u'|');
    const int count = static_cast<int>(pieces.size());
    for (int i = 0; i + 1 < count; i += 2) {
        options.filterNames.append(pieces.at(i));
        options.filterPatterns.append(pieces.at(i + 1));
    }
    options.filterIndex = (request.filterIndex <= 0 || request.filterIndex > count) ? 0 : request.filterIndex;
    return options;
}

void fillFileDialogResult(FileDialogRequest &request, const QString &chosen)
{
    request.fullPath = trimAtNul(chosen);
    if (request.fullPath.isEmpty()) {
        request.directory.clear();
        request.fileTitle.clear();
        return;
    }
    const qsizetype slash = request.fullPath.lastIndexOf(u'/');
    request.directory = request.fullPath.left(slash + 1);
    request.fileTitle = request.fullPath.mid(slash + 1);
}

namespace {

bool runFileDialog(Dialogs &dialogs, QWidget *owner, FileDialogRequest &request, bool save)
{
    if (request.maxLength <= 0 || request.maxLength > 32768)
        request.maxLength = 260;
    const QString chosen = dialogs.file(owner, fileDialogOptions(request, save));
    fillFileDialogResult(request, chosen);
    return !request.fullPath.isEmpty();
}

} // namespace

bool showOpenFileDialog(Dialogs &dialogs, QWidget *owner, FileDialogRequest &request)
{
    return runFileDialog(dialogs, owner, request, false);
}

bool showSaveFileDialog(Dialogs &dialogs, QWidget *owner, FileDialogRequest &request)
{
    return runFileDialog(dialogs, owner, request, true);
}

QString browseForFolderWithCallback(Dialogs &dialogs, QWidget *owner, const QString &title,
                                    const QString &initialPath, int)
{
    browseInitialPath = initialPath;
    return trimAtNul(dialogs.folder(owner, title, initialPath, false));
}

QString browseForFolderFromRoot(Dialogs &dialogs, QWidget *owner, const QString &title,
                                const QString &initialPath)
{
    const bool rooted = !initialPath.isEmpty() && QFileInfo(initialPath).isDir();
    return trimAtNul(dialogs.folder(owner, title, rooted ? initialPath : QDir::homePath(), rooted));
}
