#pragma once
// The command line of a start: which media file it names.

#include <QString>
#include <QStringList>
#include <functional>

// The argument text: the arguments joined by single spaces. An argument that is not an
// absolute path is made absolute against the working directory; an argument that begins
// with a double quote keeps its quotes around the absolute path (a quote is a legal
// character in a Linux file name, so quotes anywhere else are part of the name).
QString commandLineText(const QStringList &arguments, const QString &workingDir);

// The first step on the text: quoted text loses its first and last character; other text
// is replaced by its long form (expandLongPath).
QString unquoteCommandLine(const QString &text);

// The path the text names: scanning from the first character, at each double quote the
// text before it is taken when it names an existing file; else the whole text.
QString firstExistingPath(const QString &text, const std::function<bool(const QString &)> &isFile);

// The path itself when one of the texts after one of its "." (tried from the last "."
// back) is an accepted media extension; else "".
QString mediaFileName(const QString &path);

// Whether a path names an existing file found by a directory search with normal
// attributes (not a folder, not hidden).
bool isExistingFile(const QString &path);
