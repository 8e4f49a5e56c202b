#include "lists/okini_list.h"

#include "lists/file_list_box.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The icon view's cells: every entry takes a cell as wide as a thumbnail, whatever its name,
// and its name is drawn on one line, elided at the cell's right end. (The view gives every
// entry the size of one sample entry, the last: the cells and the elision of every name
// followed the length of the last name.)
class IconCellDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        // The margin Qt's item drawing leaves on either side of an item's text.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
        size.setWidth(option.decorationSize.width() + 2 * margin);
        return size;
    }
};

} // namespace

QPixmap ImageList::picture(int i) const
{
    if (i < 1 || i > count())
        return {};
    return m_pictures[static_cast<std::size_t>(i - 1)];
}

void ImageList::insert(int i, const QPixmap &p)
{
    if (i >= 1 && i <= count() + 1)
        m_pictures.insert(m_pictures.begin() + (i - 1), p);
}

void ImageList::replace(int i, const QPixmap &p)
{
    if (i >= 1 && i <= count())
        m_pictures[static_cast<std::size_t>(i - 1)] = p;
}

void ImageList::remove(int i)
{
    if (i >= 1 && i <= count())
        m_pictures.erase(m_pictures.begin() + (i - 1));
}

int OkiniModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int OkiniModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant OkiniModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Entry &e = m_entries[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? e.text : e.folder;
    if (role == Qt::ToolTipRole)
        return e.folder + e.text;
    if (role == Qt::DecorationRole && index.column() == 0 && m_showPictures && m_images && e.icon > 0) {
        const QPixmap p = m_images->picture(e.icon);
        if (!p.isNull())
            return p;
    }
    return {};
}

QVariant OkiniModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && role == Qt::DisplayRole)
        return section == 0 ? QStringLiteral("file") : QStringLiteral("dir");
    return {};
}

Qt::ItemFlags OkiniModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void OkiniModel::append(const Entry &e)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_entries.push_back(e);
    endInsertRows();
}

void OkiniModel::insertAt(int row, const Entry &e)
{
    if (row < 0 || row > rowCount())
        return;
    beginInsertRows({}, row, row);
    m_entries.insert(m_entries.begin() + row, e);
    endInsertRows();
}

void OkiniModel::removeAt(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void OkiniModel::clear()
{
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

void OkiniModel::setText(int row, const QString &text)
{
    if (row < 0 || row >= rowCount())
        return;
    m_entries[static_cast<std::size_t>(row)].text = text;
    Q_EMIT dataChanged(index(row, 0), index(row, 0));
}

void OkiniModel::setFolder(int row, const QString &folder)
{
    if (row < 0 || row >= rowCount())
        return;
    m_entries[static_cast<std::size_t>(row)].folder = folder;
    Q_EMIT dataChanged(index(row, 1), index(row, 1));
}

void OkiniModel::setIcon(int row, int icon)
{
    if (row < 0 || row >= rowCount())
        return;
    m_entries[static_cast<std::size_t>(row)].icon = icon;
    Q_EMIT dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole});
}

void OkiniModel::setImages(const ImageList *images)
{
    m_images = images;
    iconsChanged();
}

void OkiniModel::setShowPictures(bool on)
{
    m_showPictures = on;
    iconsChanged();
}

void OkiniModel::iconsChanged()
{
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

OkiniList::OkiniList(QWidget *parent)
    : QWidget(parent), m_model(new OkiniModel(this)), m_stack(new QStackedWidget(this)),
      m_report(new QTreeView), m_iconView(new QListView)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);

    m_report->setModel(m_model);
    m_report->setRootIsDecorated(false);
    m_report->setUniformRowHeights(true);
    m_report->setItemsExpandable(false);
    m_report->setAllColumnsShowFocus(true);
    m_report->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_report->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_report->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_report->header()->setStretchLastSection(true);
    m_report->setColumnWidth(0, 160);

    m_iconView->setModel(m_model);
    m_iconView->setSelectionModel(m_report->selectionModel());
    m_iconView->setViewMode(QListView::IconMode);
    m_iconView->setResizeMode(QListView::Adjust);
    m_iconView->setMovement(QListView::Static);
    m_iconView->setUniformItemSizes(true);
    m_iconView->setIconSize(QSize(100, 75));
    m_iconView->setWordWrap(false);
    m_iconView->setTextElideMode(Qt::ElideRight);
    m_iconView->setItemDelegate(new IconCellDelegate(m_iconView));
    m_iconView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_iconView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_iconView->setSelectionBehavior(QAbstractItemView::SelectRows);

    m_stack->addWidget(m_report);
    m_stack->addWidget(m_iconView);

    for (QAbstractItemView *v : {static_cast<QAbstractItemView *>(m_report),
                                 static_cast<QAbstractItemView *>(m_iconView)}) {
        v->viewport()->installEventFilter(this);
        v->installEventFilter(this);
        v->viewport()->setAcceptDrops(true);
        v->setAcceptDrops(true);
        v->setDragDropMode(QAbstractItemView::DropOnly);
    }
}

int OkiniList::count() const { return m_model->rowCount(); }

QString OkiniList::text(int i) const
{
    return i >= 1 && i <= count() ? m_model->entries()[std::size_t(i - 1)].text : QString();
}

void OkiniList::setText(int i, const QString &t) { m_model->setText(i - 1, t); }

QString OkiniList::folder(int i) const
{
    return i >= 1 && i <= count() ? m_model->entries()[std::size_t(i - 1)].folder : QString();
}

void OkiniList::setFolder(int i, const QString &f) { m_model->setFolder(i - 1, f); }

int OkiniList::icon(int i) const
{
    return i >= 1 && i <= count() ? m_model->entries()[std::size_t(i - 1)].icon : 0;
}

void OkiniList::setIcon(int i, int icon) { m_model->setIcon(i - 1, icon); }

int OkiniList::add(const QString &text, const QString &folder, int icon)
{
    m_model->append({text, folder, icon});
    return count();
}

void OkiniList::insert(int i, const QString &text, const QString &folder, int icon)
{
    m_model->insertAt(i - 1, {text, folder, icon});
}

void OkiniList::remove(int i) { m_model->removeAt(i - 1); }

void OkiniList::clear() { m_model->clear(); }

int OkiniList::selectedIndex() const
{
    const QItemSelectionModel *sel = m_report->selectionModel();
    const QModelIndex current = sel->currentIndex();
    if (current.isValid() && isSelected(current.row() + 1))
        return current.row() + 1;
    const QList<int> all = selectedIndexes();
    return all.isEmpty() ? 0 : all.first();
}

QList<int> OkiniList::selectedIndexes() const
{
    // An entry counts as selected by its name's cell: the icon view selects only that one.
    QList<int> out;
    for (const QModelIndex &idx : m_report->selectionModel()->selectedIndexes())
        if (idx.column() == 0)
            out.append(idx.row() + 1);
    std::sort(out.begin(), out.end());
    return out;
}

bool OkiniList::isSelected(int i) const
{
    return i >= 1 && i <= count() && m_report->selectionModel()->isSelected(m_model->index(i - 1, 0));
}

int OkiniList::entryAt(QPoint pos) const
{
    const QModelIndex idx = currentView()->indexAt(pos);
    return idx.isValid() ? idx.row() + 1 : 0;
}

void OkiniList::select(int i)
{
    if (i < 1 || i > count())
        return;
    const QModelIndex idx = m_model->index(i - 1, 0);
    m_report->selectionModel()->setCurrentIndex(
        idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void OkiniList::ensureVisible(int i)
{
    if (i >= 1 && i <= count())
        currentView()->scrollTo(m_model->index(i - 1, 0));
}

void OkiniList::setIcons(const ImageList *images) { m_model->setImages(images); }

const ImageList *OkiniList::icons() const { return m_model->images(); }

void OkiniList::setThumbnails(bool on)
{
    m_thumbnails = on;
    m_model->setShowPictures(on);
    m_stack->setCurrentWidget(on ? static_cast<QWidget *>(m_iconView) : m_report);
}

void OkiniList::setIconSize(QSize s) { m_iconView->setIconSize(s); }

void OkiniList::setColors(const QColor &text, const QColor &background)
{
    for (QAbstractItemView *v : {static_cast<QAbstractItemView *>(m_report),
                                 static_cast<QAbstractItemView *>(m_iconView)}) {
        QPalette pal = v->palette();
        pal.setColor(QPalette::Base, background);
        pal.setColor(QPalette::Text, text);
        v->setPalette(pal);
    }
}

QColor OkiniList::textColor() const { return m_report->palette().color(QPalette::Text); }
QColor OkiniList::backColor() const { return m_report->palette().color(QPalette::Base); }

void OkiniList::setBackgroundPicture(const QPixmap &p)
{
    for (QAbstractItemView *v : {static_cast<QAbstractItemView *>(m_report),
                                 static_cast<QAbstractItemView *>(m_iconView)}) {
        QPalette pal = v->palette();
        if (p.isNull())
            pal.setBrush(QPalette::Base, pal.color(QPalette::Base));
        else
            pal.setBrush(QPalette::Base, QBrush(pal.color(QPalette::Base), p));
        v->setPalette(pal);
    }
}

QAbstractItemView *OkiniList::currentView() const
{
    return m_thumbnails ? static_cast<QAbstractItemView *>(m_iconView) : m_report;
}

bool OkiniList::eventFilter(QObject *o, QEvent *e)
{
    QAbstractItemView *view = currentView();
    if (o != view->viewport() && o != view)
        return QWidget::eventFilter(o, e);
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        auto *m = static_cast<QMouseEvent *>(e);
        const QModelIndex idx = view->indexAt(m->position().toPoint());
        m_pressedOnItem = idx.isValid();
        Q_EMIT mouseDown(m->button(), m->modifiers(), m->position().toPoint());
        break;
    }
    case QEvent::MouseButtonRelease: {
        // The view selected the entry on the press.
        auto *m = static_cast<QMouseEvent *>(e);
        if (m_pressedOnItem && selectedIndex() > 0)
            Q_EMIT itemClick(selectedIndex());
        Q_EMIT mouseUp(m->button(), m->modifiers(), m->position().toPoint());
        if (m->button() == Qt::LeftButton)
            Q_EMIT click();
        break;
    }
    case QEvent::MouseButtonDblClick: {
        auto *m = static_cast<QMouseEvent *>(e);
        if (m->button() == Qt::LeftButton)
            Q_EMIT dblClick();
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *d = static_cast<QDragMoveEvent *>(e);
        if (!droppedLocalFiles(d->mimeData()).isEmpty()) {
            d->acceptProposedAction();
            return true;
        }
        break;
    }
    case QEvent::Drop: {
        auto *d = static_cast<QDropEvent *>(e);
        const QStringList files = droppedLocalFiles(d->mimeData());
        if (!files.isEmpty()) {
            d->acceptProposedAction();
            Q_EMIT filesDropped(files, d->position().toPoint());
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(o, e);
}
