#pragma once
// Module path: string operations on "/" paths that every list, tab, thumbnail and scene
// feature uses. Relative forms reach one level up: "./rest" lies in a base folder,
// "../rest" in that folder's parent; any other path stays absolute.
//
// Comparisons of a path's leading part against a base or parent folder are exact: the
// Linux file system tells letter case apart, so a folder spelled differently is another
// folder.

#include <QString>

namespace path {

// The path with "/" appended unless it already ends with one ("" gives "/").
QString addbackslash(const QString &p);
// The path without one trailing "/".
QString removebackslash(const QString &p);
// Everything before the last "/" ("" when there is none).
QString getdirectory(const QString &p);
// The name after the last "/" cut before its last "." (a name without "." whole).
QString getfiletitle(const QString &p);
// The text after the last "." of the name after the last "/" (a name without "." whole).
QString getextension(const QString &p);
// -1 when the path is empty or does not exist; 0 when it exists and is 4 or more
// characters long; otherwise the character code of its first character in upper case
// (the root "/" gives 47).
int checkpath(const QString &p);
// The parent folder with a trailing "/", or "" when the folder is missing or is 3
// characters or fewer.
QString getparentdir(const QString &folder);
// The "./" or "../" form of the path against the base folder, or the path unchanged.
QString getrelativepath(const QString &p, const QString &base);
// The absolute form of a "./" or "../" path against the base folder; other paths that
// begin with "." give ""; paths that do not begin with "." come back unchanged.
QString getabsolutepath(const QString &p, const QString &base);

} // namespace path
