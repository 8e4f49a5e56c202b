#pragma once
// The rules of the item popups that need no window: the size text and information line of
// a selection, the rows a left-button drag toggles, which new file names a rename accepts,
// and which entry is selected after a delete.

#include <QList>
#include <QString>

#include <cstdint>

namespace items {

// The byte sum grouped in threes with "," whatever the locale ("" for 0). From a million
// bytes on, the last eight characters (",xxx,xxx") are cut and "MByte" follows, else
// "Byte": 0 → "Byte", 123,456 → "123,456Byte", 1,234,567,890 → "1,234MByte".
QString sizeText(std::uint64_t bytes);

// The popup's information line: "" for no file, the size text for one, and for more the
// size text + " - " + the count + "個のファイル".
QString informationLine(std::uint64_t bytes, int count);

// The rows a left-button release on row p toggles when the press was on row k (the
// current row): from p towards k, k excluded (p 5, k 2 → 5, 4, 3). Nothing when p is
// outside the `rows` rows, when there is no current row, or when p is k.
QList<int> dragToggleRows(int p, int k, int rows);

// Whether a rename may give a file this name: one name within its folder, so neither
// empty, ".", ".." nor containing "/" or NUL (any of these would move the file or fail).
bool acceptableFileName(const QString &name);

// The entry to select after a delete: the one now at the lowest removed position
// (1-based) when there is one, entry 1 when nothing was removed from a non-empty list,
// 0 (none) otherwise.
int selectionAfterDelete(int lowestRemoved, int remaining);

} // namespace items
