#pragma once
// The program's file-type associations with the desktop, as the freedesktop.org
// desktops keep them:
//  - $XDG_CONFIG_HOME/mimeapps.list lists the program's desktop entry, plovana.desktop,
//    for a MIME type under [Added Associations] (an "open with" choice) and, first under
//    [Default Applications], as the type's default;
//  - the desktop entry names the program: the installed one from $XDG_DATA_DIRS, or one
//    the program writes for itself into $XDG_DATA_HOME/applications.
// The edits change only this program's id in the keys they touch: every other byte of the
// file stays as it was (other programs' lists, comments, groups, line ends).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace associations {

// The desktop entry's id.
inline constexpr char kDesktopId[] = "plovana.desktop";

namespace group {
inline constexpr char added[] = "Added Associations";
inline constexpr char removed[] = "Removed Associations";
inline constexpr char defaults[] = "Default Applications";
} // namespace group

// The desktop ids listed for a MIME type in a group of a mimeapps.list text, in order.
QStringList listedIds(const QByteArray &text, const char *group, const QString &mimeType);
// Whether the id is listed for the type in the group, and whether it is the first one.
bool isListed(const QByteArray &text, const char *group, const QString &mimeType, const QString &id);
bool isListedFirst(const QByteArray &text, const char *group, const QString &mimeType, const QString &id);

// The text with the id at the end of the type's list in the group (unchanged when it is
// listed); the key, and the group, are made where they are missing.
QByteArray appendId(const QByteArray &text, const char *group, const QString &mimeType, const QString &id);
// The text with the id first in the type's list, the others kept in their order.
QByteArray putIdFirst(const QByteArray &text, const char *group, const QString &mimeType, const QString &id);
// The text without the id in the type's list; a list left empty loses its key.
QByteArray removeId(const QByteArray &text, const char *group, const QString &mimeType, const QString &id);

// The program's path as the first argument of a desktop entry's Exec= value: in double
// quotes (with \ " ` $ escaped by a backslash) when it holds a character the Exec rules
// reserve, "%" written "%%", then escaped as a string value is (each backslash doubled).
QString execProgramArgument(const QString &program);
// The program an Exec= value starts (its first argument, unescaped); "" when it has none.
QString execProgram(const QString &execValue);

// The desktop entry the program writes for itself: Type=Application, Name=Plovana,
// Exec=<program> %f, Terminal=false, NoDisplay=true; no MimeType= (the associations are
// the user's choices in mimeapps.list, not claims of the entry).
QByteArray desktopEntryText(const QString &program);
// The program a desktop entry written by desktopEntryText names; nullopt for any other text.
std::optional<QString> ownDesktopEntryProgram(const QByteArray &text);

// The base folders, from the environment as the XDG base directory rules have them
// (a relative value counts as unset).
QString configHome();
QString dataHome();
QStringList dataDirs();
// $XDG_CONFIG_HOME/mimeapps.list.
QString mimeappsListFile();
// $XDG_DATA_HOME/applications/plovana.desktop.
QString userDesktopEntryFile();
// The installed plovana.desktop: the first of $XDG_DATA_DIRS/applications that has one;
// "" when none has.
QString installedDesktopEntryFile();

} // namespace associations
