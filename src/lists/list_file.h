#pragma once
// List files: okini.ini and m3u files, one media file per line. "#" lines are comments
// (the #EXTM3U and #EXTINF lines of other players among them). A line may be relative to
// the list file's folder: "./name", "../name", or, as m3u files written by other players
// have them, a bare "sub/name"; a file:// URI names the local file it points to.

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// The absolute path a line names against the list file's folder, or "" for a line that
// names no file. Comment lines come back unchanged (they begin with "#").
QString resolveListLine(const QString &line, const QString &listFolder);

// The folder (before the last "/") and the name (after it) of a resolved line; nullopt for
// a comment or a line without "/".
std::optional<std::pair<QString, QString>> splitListLine(const QString &resolved);

// One line of a saved list: the folder (relative to the list file's folder when `relative`
// is set) with a trailing "/" and the name. nullopt when the folder or name is empty.
std::optional<QString> listFileLine(const QString &folder, const QString &name, const QString &listFolder,
                                    bool relative);
