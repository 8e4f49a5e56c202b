#pragma once
// What the list editor (Form_List) asks of the main window's lists: to write the list it
// edits to its file before it reads it, where that file is, and to read the list again
// after the editor has written it.

#include <QString>

namespace listeditor {
// The lists the editor edits.
inline constexpr int kFavouritesTabs = 0;  // TabM3u and TabM3u.ini
inline constexpr int kDirectoryTabs = 1;   // TabDir and tabdir.ini
inline constexpr int kFavouritesEntries = 2; // the favourites list shown and its list file
} // namespace listeditor

class ListEditorHost
{
public:
    virtual ~ListEditorHost() = default;
    // The main window writes the list of a mode to its file (saveTabM3u, saveTabDir, or
    // save_okini of the list shown, which reads a list still loading to its end first).
    virtual void saveEditedList(int mode) = 0;
    // The file of a mode: TabM3u.ini or tabdir.ini in the program folder, or the list file
    // the favourites page shows ("" while none has been loaded).
    virtual QString editedListFile(int mode) const = 0;
    // The main window reads the list of a mode again from its file.
    virtual void reloadEditedList(int mode) = 0;
    // The program folder, the base of relative tab paths (with a trailing "/").
    virtual QString appDir() const = 0;
    // "セーブ時に相対ディレクトリを使用": paths are written relative.
    virtual bool soutai() const = 0;
};
