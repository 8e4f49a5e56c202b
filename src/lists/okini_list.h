#pragma once
// The favourites list view: one entry per media file, with its name as text, its folder
// (with a trailing "/") as sub-item 1 and an icon index into an image list. One model is
// shown either as the two-column report ("file", "dir") or as large thumbnail icons.
// Entries are indexed from 1 at the interface; 0 means none. Several entries can be
// selected (Ctrl and Shift as in any list).

#include <QAbstractTableModel>
#include <QPixmap>
#include <QWidget>

class QListView;
class QStackedWidget;
class QTreeView;
class QAbstractItemView;

// The image list of the thumbnails: picture i belongs to entry i (1-based).
class ImageList
{
public:
    int count() const { return static_cast<int>(m_pictures.size()); }
    QPixmap picture(int i) const;
    void add(const QPixmap &p) { m_pictures.push_back(p); }
    // Inserts a picture at position i (1-based; count() + 1 appends).
    void insert(int i, const QPixmap &p);
    // Replaces picture i in place.
    void replace(int i, const QPixmap &p);
    void remove(int i);
    void clear() { m_pictures.clear(); }

private:
    std::vector<QPixmap> m_pictures;
};

class OkiniModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Entry
    {
        QString text;
        QString folder;
        int icon = 0;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const std::vector<Entry> &entries() const { return m_entries; }
    void append(const Entry &e);
    // Inserts an entry before row `row` (rowCount() appends).
    void insertAt(int row, const Entry &e);
    void removeAt(int row);
    void clear();
    void setText(int row, const QString &text);
    void setFolder(int row, const QString &folder);
    void setIcon(int row, int icon);
    void setImages(const ImageList *images);
    // The pictures are shown only as large icons; the report view shows text only.
    void setShowPictures(bool on);
    const ImageList *images() const { return m_images; }
    void iconsChanged();

private:
    std::vector<Entry> m_entries;
    const ImageList *m_images = nullptr;
    bool m_showPictures = false;
};

class OkiniList : public QWidget
{
    Q_OBJECT
public:
    explicit OkiniList(QWidget *parent = nullptr);

    int count() const;
    QString text(int i) const;
    void setText(int i, const QString &t);
    QString folder(int i) const;
    void setFolder(int i, const QString &f);
    int icon(int i) const;
    void setIcon(int i, int icon);
    // Appends an entry and returns its position.
    int add(const QString &text, const QString &folder, int icon = 0);
    // Inserts an entry at position i (count() + 1 appends).
    void insert(int i, const QString &text, const QString &folder, int icon = 0);
    void remove(int i);
    void clear();

    // The selected entry, 1-based: the current entry when it is selected, else the first
    // selected one; 0 when none is selected.
    int selectedIndex() const;
    // Every selected entry, in list order.
    QList<int> selectedIndexes() const;
    bool isSelected(int i) const;
    // Makes entry i the current and only selected entry.
    void select(int i);
    // The entry under a point of the shown view's viewport; 0 when none.
    int entryAt(QPoint pos) const;
    void ensureVisible(int i);

    // The image list the icons come from; nullptr detaches it.
    void setIcons(const ImageList *images);
    const ImageList *icons() const;

    // Large thumbnail icons (true) or the report view (false).
    void setThumbnails(bool on);
    bool thumbnails() const { return m_thumbnails; }
    void setIconSize(QSize s);

    void setColors(const QColor &text, const QColor &background);
    QColor textColor() const;
    QColor backColor() const;
    void setBackgroundPicture(const QPixmap &p);

    QAbstractItemView *currentView() const;
    OkiniModel *model() const { return m_model; }

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void itemClick(int i);
    void click();
    void dblClick();
    void filesDropped(const QStringList &paths, QPoint pos);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    OkiniModel *m_model;
    QStackedWidget *m_stack;
    QTreeView *m_report;
    QListView *m_iconView;
    bool m_thumbnails = false;
    bool m_pressedOnItem = false;
};
