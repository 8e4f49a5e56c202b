#pragma once
// File-system questions asked in the program's own terms.

#include <QString>

namespace platform {

// A "hidden" entry is one whose own name begins with "."; the folders above it do not count.
bool isHiddenName(const QString &path);

// Whether a directory search with every attribute (hidden entries and folders included)
// finds the path. A trailing "/" is ignored.
bool entryExists(const QString &path);

// Whether a directory search with normal attributes finds the path: an existing entry
// that is not hidden.
bool normalEntryExists(const QString &path);

// Whether the path names an existing folder.
bool folderExists(const QString &path);

// Whether anything stands at the path itself, links not followed: a dangling link exists.
bool pathExists(const QString &path);

enum class RenameResult { Renamed, Exists, Failed };
// Renames `from` to `to` without ever replacing what stands at `to` (a dangling link
// counts): Exists then, and nothing changes. Where the file system cannot rename without
// replacing, the file is linked under the new name and the old name removed.
RenameResult renameNoReplace(const QString &from, const QString &to);
// The way round for such file systems: a second name, made only where nothing stands,
// then the old name removed.
RenameResult renameByLink(const QString &from, const QString &to);

} // namespace platform
