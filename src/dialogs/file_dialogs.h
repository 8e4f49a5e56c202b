#pragma once
// The folder browsers and the open and save dialogs, as string-in, string-out calls. Every
// place that asks the user for a folder or an m3u file goes through them.

#include "dialogs/dialogs.h"

#include <QString>

class QWidget;

// What a caller fills before an open or save dialog and reads back afterwards.
struct FileDialogRequest
{
    QString defaultExt;  // in: without a dot ("m3u"); a leading "." is stripped
    QString title;       // in: "" means "ファイルを開く"
    QString fullPath;    // out: the chosen file
    QString directory;   // out: the folder of fullPath with its trailing "/"
    QString fileTitle;   // in/out: the file name without folder
    QString filter;      // in: descriptions and patterns alternating, separated by "|"
    int filterIndex = 0; // in: 1-based
    int flags = 0;       // in: every caller passes 4 (no read-only box)
    QString initialDir;  // in
    int maxLength = 0;   // in: a size of 0 or less, or above 32768, becomes 260
};

// The dialog a request asks for: the fields normalised, the filter split into its pieces,
// and the index 0 when it lies outside the pieces.
FileDialogOptions fileDialogOptions(const FileDialogRequest &request, bool save);

// Fills fullPath, directory and fileTitle from the chosen path ("" when cancelled).
void fillFileDialogResult(FileDialogRequest &request, const QString &chosen);

// True when the user pressed OK.
bool showOpenFileDialog(Dialogs &dialogs, QWidget *owner, FileDialogRequest &request);
bool showSaveFileDialog(Dialogs &dialogs, QWidget *owner, FileDialogRequest &request);

// The folder browser that opens at the initial path; "" when cancelled.
QString browseForFolderWithCallback(Dialogs &dialogs, QWidget *owner, const QString &title,
                                    const QString &initialPath, int flags);
// The folder browser rooted at the initial path when that is an existing folder, else at
// the home folder; "" when cancelled.
QString browseForFolderFromRoot(Dialogs &dialogs, QWidget *owner, const QString &title,
                                const QString &initialPath);

// The text before the first NUL character (the whole text without one).
QString trimAtNul(const QString &text);

// The folder the last folder browser was asked to preselect.
extern QString browseInitialPath;
