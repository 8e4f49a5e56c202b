#pragma once
// List files: okini.ini and m3u files, one media file per line. "#" lines are comments
// (the #EXTM3U and #EXTINF lines of other players among them). A line may be relative to
// the list file's folder: "./name", "../name", or, as m3u files written by other players
// have them, a bare "sub/name"; a file:// URI names the local file it points to.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// One entry of a list: the folder and the name of a media file.
using ListEntry = std::pair<QString, QString>;

// The absolute path a line names against the list file's folder, or "" for a line that
// names no file. Comment lines come back unchanged (they begin with "#").
QString resolveListLine(const QString &line, const QString &listFolder);

// The folder (before the last "/") and the name (after it) of a resolved line; nullopt for
// a comment or a line without "/".
std::optional<ListEntry> splitListLine(const QString &resolved);

// The entry a line of a list file names (resolveListLine, then splitListLine); nullopt for a
// comment or a line that names no file.
std::optional<ListEntry> listEntry(const QString &line, const QString &listFolder);

// The entries of a list file's bytes in the list's order, whether their files exist or not
// (the loader adds only those that do).
QList<ListEntry> parseListFile(const QByteArray &bytes, const QString &listFolder);

// One line of a saved list: the folder (relative to the list file's folder when `relative`
// is set) with a trailing "/" and the name. An empty folder is the root folder (a file in
// "/" splits so). A path with a line break is written as a file:// URI. nullopt when the
// name is empty.
std::optional<QString> listFileLine(const QString &folder, const QString &name, const QString &listFolder,
                                    bool relative);

// A list file's bytes: one listFileLine per entry (entries without a name left out),
// UTF-8 with CR LF.
QByteArray formatListFile(const QList<ListEntry> &entries, const QString &listFolder, bool relative);
