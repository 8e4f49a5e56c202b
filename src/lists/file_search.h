#pragma once
// The file search: media files whose names contain a text, below a folder. Matching is
// pure; the walk reads the file system and reports results in their final order, so the
// search page can run it on a worker thread and append the results as they come.

#include <QString>

#include <atomic>
#include <functional>

namespace filesearch {

// The search page keeps the folders of at most this many results; once they are found the
// search adds nothing more and enters no further folder.
inline constexpr int kFindSlots = 513;

// Whether a file name matches "*" + text + "*", letter case ignored (Unicode case folding,
// so "ÄBC" finds "äbc"). "*" in the text stands for any run of characters and "?" for one
// character; every other character, "[" and "]" included, stands for itself.
bool nameMatches(const QString &name, const QString &text);

// One result: the folder (with a trailing "/") and the file name.
struct Found
{
    QString folder;
    QString name;
    bool operator==(const Found &o) const { return folder == o.folder && name == o.name; }
};

// Walks the tree below `root` (an absolute path of an existing folder; anything else finds
// nothing): first the root's own files, then each subfolder in turn, depth first, with its
// files before its own subfolders. Each folder's entries are taken in name order, letter
// case ignored (exact order breaks ties), so the same tree always gives the same results.
// A result is a regular file (or a link to one) whose name matches and whose extension is
// an accepted media type. Symbolic links to folders are never entered, so a loop of links
// cannot trap the walk; names beginning with "." count like any other; folders that cannot
// be read and names that are not valid UTF-8 are skipped.
// `found` gets each result in order; the walk stops after `limit` results, or as soon as
// `cancel` is set. Returns the number of results reported.
int searchTree(const QString &root, const QString &text, int limit, const std::atomic<bool> &cancel,
               const std::function<void(const Found &)> &found);

} // namespace filesearch
