#pragma once
// The command line of a start: which media file it names, or whether it asks for the
// version or the usage instead.

#include <QString>
#include <QStringList>
#include <functional>

// The argument text: the arguments joined by single spaces, as they came (a shell splits
// an unquoted path with spaces into several arguments).
QString commandLineText(const QStringList &arguments);

// A path made absolute against the working directory; "" stays "".
QString absoluteAgainst(const QString &path, const QString &workingDir);

// The first step on the text: text that begins with a double quote loses its first and
// last character; other text is replaced by its long form (expandLongPath). Relative text
// is looked up against the working directory.
QString unquoteCommandLine(const QString &text, const QString &workingDir);

// The media file that a start's arguments name: the steps above on the joined text, the
// first existing path of it, made absolute against the working directory only then.
// "" when the arguments are empty.
QString commandLineFile(const QStringList &arguments, const QString &workingDir);

// The path the text names: scanning from the first character, at each double quote the
// text before it is taken when it names an existing file; else the whole text.
QString firstExistingPath(const QString &text, const std::function<bool(const QString &)> &isFile);

// The path itself when one of the texts after one of its "." (tried from the last "."
// back) is an accepted media extension; else "".
QString mediaFileName(const QString &path);

// Whether a path names an existing file found by a directory search with normal
// attributes (not a folder, not hidden).
bool isExistingFile(const QString &path);

// What a start's command line asks for.
enum class CommandLineRequest {
    Start,   // the player, with the file the arguments name (if any)
    Version, // "Plovana <version>" on standard output, no window
    Help,    // the usage on standard output, no window
};

// "--version" or "--help" as the only argument asks for the version or the usage, unless
// a file of that name exists in the working directory: then it is a file like any other
// text. Everything else starts the player.
CommandLineRequest commandLineRequest(const QStringList &arguments, const QString &workingDir);

// What `plovana --version` prints: "Plovana <version>" and a line break.
QString versionText(const QString &version);

// What `plovana --help` prints: a short usage.
QString usageText();
