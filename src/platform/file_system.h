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

} // namespace platform
