#pragma once
// The file list of the file page: the media files of one folder that match a pattern of
// extensions (compared without regard to letter case), hidden files left out, sorted by
// name. Rows are indexed from 0; several rows can be selected.

#include "lists/event_list_box.h"

#include <functional>

class FileListBox : public EventListBox
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    // "*.mpg;*.avi;..." patterns.
    void setPattern(const QString &pattern);
    QString pattern() const { return m_pattern; }

    QString path() const { return m_path; }
    // Shows the folder; false (and nothing changes) when it cannot be read.
    bool setPath(const QString &folder);
    // Reads the folder again.
    void refresh();

    int listCount() const { return count(); }
    QString list(int row) const;
    // The focused row, -1 when none.
    int listIndex() const;
    // Makes the row the focused and only selected row (-1 clears the selection).
    void setListIndex(int row);
    // The focused row's file name, "" when none.
    QString fileName() const;
    // Scrolls so that the row is the top visible row.
    void setTopIndex(int row);
    int topIndex() const;

    // The file names that match the pattern in a folder, sorted (pure, for tests).
    static QStringList matchingFiles(const QString &folder, const QString &pattern);

Q_SIGNALS:
    void filesDropped(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    QString m_pattern;
    QString m_path;
};

// The right-button rule of the file lists: the row under `pos` (viewport coordinates)
// becomes the only selected row unless it is selected already; below the last row the
// selection stays as it is.
void selectRowForPopup(QListWidget *list, QPoint pos);

// The left-button rule of the file lists: a release on the row under `pos` toggles the
// rows from there towards the current row (where the button went down), that row
// excluded. The list's own press-drag selection must be off, or the rows toggle twice.
void toggleDraggedRows(QListWidget *list, QPoint pos);

// Local file paths of a drop's text/uri-list.
QStringList droppedLocalFiles(const class QMimeData *mime);

// For an event filter on a control that takes dropped files: accepts a drag that carries
// local files and hands the files of its drop over. True when the event was a file drag.
bool takeFileDrop(class QEvent *e, const std::function<void(const QStringList &)> &dropped);
