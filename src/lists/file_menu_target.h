#pragma once
// The list a file popup `m_FileMenu` was opened over: the file list `File` or the search
// results. The popup's commands act on its selected rows through this.

#include <QString>
#include <QStringList>

class FileMenuTarget
{
public:
    enum class Kind { Files, SearchResults };

    virtual ~FileMenuTarget() = default;
    virtual Kind kind() const = 0;
    // The full paths of the selected rows, in row order.
    virtual QStringList selectedPaths() const = 0;
    // The path the single-file commands act on: the current row when it is selected,
    // else the first selected row; "" when nothing is selected.
    virtual QString selectedPath() const = 0;
    // The file at `oldPath` was renamed to `newName` in its folder: the list shows it.
    virtual void renamed(const QString &oldPath, const QString &newName) = 0;
};
