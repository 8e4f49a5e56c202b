#include "lists/file_list_box.h"

#include "lists/item_rules.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>

bool takeFileDrop(QEvent *e, const std::function<void(const QStringList &)> &dropped)
{
    const bool drag = e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove;
    if (!drag && e->type() != QEvent::Drop)
        return false;
    auto *d = static_cast<QDropEvent *>(e);
    const QStringList files = droppedLocalFiles(d->mimeData());
    if (files.isEmpty())
        return false;
    d->acceptProposedAction();
    if (!drag)
        dropped(files);
    return true;
}

namespace {

int rowAt(const QListWidget *list, QPoint pos)
{
    const QModelIndex idx = list->indexAt(pos);
    return idx.isValid() ? idx.row() : -1;
}

} // namespace

void selectRowForPopup(QListWidget *list, QPoint pos)
{
    QListWidgetItem *it = list->item(rowAt(list, pos));
    if (!it || it->isSelected())
        return;
    list->setCurrentItem(it, QItemSelectionModel::ClearAndSelect);
}

void toggleDraggedRows(QListWidget *list, QPoint pos)
{
    for (int row : items::dragToggleRows(rowAt(list, pos), list->currentRow(), list->count()))
        if (QListWidgetItem *it = list->item(row))
            it->setSelected(!it->isSelected());
}

QStringList droppedLocalFiles(const QMimeData *mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &u : mime->urls())
        if (u.isLocalFile())
            files.append(u.toLocalFile());
    return files;
}

FileListBox::FileListBox(QWidget *parent) : EventListBox(parent)
{
    setMouseTracking(true);
    setAcceptDrops(true);
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    if (!m_path.isEmpty())
        refresh();
}

QStringList FileListBox::matchingFiles(const QString &folder, const QString &pattern)
{
    QDir dir(folder);
    const QStringList filters = pattern.split(u';', Qt::SkipEmptyParts);
    // Without QDir::CaseSensitive the patterns match any letter case; without
    // QDir::Hidden names beginning with "." are left out.
    return dir.entryList(filters, QDir::Files | QDir::NoDotAndDotDot,
                         QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

bool FileListBox::setPath(const QString &folder)
{
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    m_path = QDir::cleanPath(dir.absolutePath());
    refresh();
    return true;
}

void FileListBox::refresh()
{
    clear();
    addItems(matchingFiles(m_path, m_pattern));
}

QString FileListBox::list(int row) const
{
    const QListWidgetItem *it = item(row);
    return it ? it->text() : QString();
}

int FileListBox::listIndex() const
{
    return currentRow();
}

void FileListBox::setListIndex(int row)
{
    if (row < 0 || row >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

QString FileListBox::fileName() const
{
    return list(currentRow());
}

void FileListBox::setTopIndex(int row)
{
    if (QListWidgetItem *it = item(row))
        scrollToItem(it, QAbstractItemView::PositionAtTop);
}

int FileListBox::topIndex() const
{
    const QModelIndex idx = indexAt(QPoint(1, 1));
    return idx.isValid() ? idx.row() : 0;
}

void FileListBox::dragEnterEvent(QDragEnterEvent *e)
{
    // A drag that started on this list is not dropped back onto it.
    if (e->source() == this || droppedLocalFiles(e->mimeData()).isEmpty())
        e->ignore();
    else
        e->acceptProposedAction();
}

void FileListBox::dragMoveEvent(QDragMoveEvent *e)
{
    if (e->source() == this || droppedLocalFiles(e->mimeData()).isEmpty())
        e->ignore();
    else
        e->acceptProposedAction();
}

void FileListBox::dropEvent(QDropEvent *e)
{
    const QStringList files = droppedLocalFiles(e->mimeData());
    if (files.isEmpty())
        return;
    e->acceptProposedAction();
    Q_EMIT filesDropped(files);
}
