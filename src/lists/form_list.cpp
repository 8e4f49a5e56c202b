#include "lists/form_list.h"

#include "lists/extensions.h"
#include "lists/file_list_box.h"
#include "lists/list_editor_host.h"
#include "lists/list_file.h"
#include "lists/list_pane.h"
#include "lists/tab_files.h"
#include "platform/path.h"
#include "platform/quoted_records.h"
#include "platform/text_file.h"
#include "widgets/images.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

Form_List::Form_List(ListEditorHost &host, QWidget *mainWindow)
    : QWidget(nullptr, Qt::Window), m_host(host), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form_List"));
    setWindowTitle(QStringLiteral("リスト編集"));
    resize(420, 320);

    m_ListView = new QTreeWidget(this);
    m_ListView->setObjectName(QStringLiteral("ListView"));
    m_ListView->setColumnCount(2);
    m_ListView->setHeaderHidden(true);
    m_ListView->setRootIsDecorated(false);
    m_ListView->setUniformRowHeights(true);
    m_ListView->setAllColumnsShowFocus(true);
    m_ListView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ListView->setEditTriggers(QAbstractItemView::NoEditTriggers); // F2 only, on its release
    m_ListView->setColumnWidth(0, 160);
    m_ListView->header()->setStretchLastSection(true);
    m_ListView->setAcceptDrops(true);
    m_ListView->viewport()->setAcceptDrops(true);
    m_ListView->installEventFilter(this);
    m_ListView->viewport()->installEventFilter(this);
    setListColors(m_ListView);

    const auto button = [this](const char *name, const QString &caption, const QString &picture, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        if (!picture.isEmpty()) {
            b->setIcon(images::buttonImage(picture));
            b->setIconSize(QSize(20, 20));
        }
        b->setAccessibleName(tip);
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::NoFocus); // the list keeps the focus and its selection
        return b;
    };
    m_bt_up = button("bt_up", QString(), QStringLiteral("up"), QStringLiteral("上へ"));
    m_bt_down = button("bt_down", QString(), QStringLiteral("down"), QStringLiteral("下へ"));
    m_bt_del = button("bt_del", QString(), QStringLiteral("del"), QStringLiteral("削除"));
    m_bt_save = button("bt_save", QStringLiteral("save"), QString(), QStringLiteral("save"));
    m_bt_exit = button("bt_exit", QStringLiteral("ex i t"), QString(), QStringLiteral("exit"));

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_bt_up, m_bt_down, m_bt_del})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_bt_save);
    buttons->addWidget(m_bt_exit);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_ListView, 1);
    layout->addLayout(buttons);

    connect(m_bt_up, &QPushButton::clicked, this, &Form_List::bt_up_Click);
    connect(m_bt_down, &QPushButton::clicked, this, &Form_List::bt_down_Click);
    connect(m_bt_del, &QPushButton::clicked, this, &Form_List::bt_del_Click);
    connect(m_bt_save, &QPushButton::clicked, this, &Form_List::bt_save_Click);
    connect(m_bt_exit, &QPushButton::clicked, this, &Form_List::bt_exit_Click);
}

void Form_List::Init_Form_List(int mode)
{
    // Where the main window was, the first time.
    if (!m_placed) {
        m_placed = true;
        move(m_mainWindow->frameGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    m_mainWindow->hide();
    m_ListView->clear();
    m_mode = mode;

    m_host.saveEditedList(mode);
    m_listFile = m_host.editedListFile(mode);
    if (m_listFile.isEmpty())
        return;
    QList<QStringList> rows;
    if (mode == listeditor::kFavouritesTabs || mode == listeditor::kDirectoryTabs) {
        // The records as stored: a relative path stays relative here.
        if (const auto records = platform::readQuotedRecords(m_listFile, 2))
            rows = *records;
    } else if (const auto lines = platform::readTextLines(m_listFile)) {
        const QString listFolder = path::getdirectory(m_listFile);
        rows.reserve(lines->size());
        for (const QString &line : *lines) {
            // Every entry, whether its file exists or not; "#" lines are no entries.
            const auto entry = splitListLine(resolveListLine(line, listFolder));
            if (!entry || entry->second.isEmpty())
                continue;
            // A file in "/" keeps "/" as its folder, so that saving writes it back.
            rows.append({entry->second, entry->first.isEmpty() ? QStringLiteral("/") : entry->first});
        }
    }
    addRows(rows);
}

void Form_List::addRows(const QList<QStringList> &rows)
{
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const QStringList &r : rows) {
        auto *item = new QTreeWidgetItem(QStringList{r.value(0), r.value(1)});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        items.append(item);
    }
    m_ListView->addTopLevelItems(items);
}

void Form_List::End_Form_List()
{
    if (m_listFile.isEmpty())
        return;
    if (m_mode == listeditor::kFavouritesTabs || m_mode == listeditor::kDirectoryTabs) {
        QList<TabRecord> records;
        for (int i = 1; i <= rowCount(); ++i)
            records.append({rowText(i), rowPath(i)});
        writeTabFile(m_listFile, records, m_host.appDir(), m_host.soutai(), m_mode == listeditor::kDirectoryTabs);
    } else {
        const QString listFolder = path::getdirectory(m_listFile);
        const bool relative = m_host.soutai();
        QStringList lines;
        lines.reserve(rowCount());
        for (int i = 1; i <= rowCount(); ++i)
            if (const auto line = listFileLine(rowPath(i), rowText(i), listFolder, relative))
                lines.append(*line);
        // The edit is the list now: the main window reads it again without saving first,
        // which would write its old entries over it.
        if (!platform::writeTextLines(m_listFile, lines))
            return;
    }
    m_host.reloadEditedList(m_mode);
}

int Form_List::rowCount() const { return m_ListView->topLevelItemCount(); }

QString Form_List::rowText(int i) const
{
    const QTreeWidgetItem *item = m_ListView->topLevelItem(i - 1);
    return item ? item->text(0) : QString();
}

QString Form_List::rowPath(int i) const
{
    const QTreeWidgetItem *item = m_ListView->topLevelItem(i - 1);
    return item ? item->text(1) : QString();
}

int Form_List::selectedRow() const
{
    const QList<QTreeWidgetItem *> selected = m_ListView->selectedItems();
    return selected.isEmpty() ? 0 : m_ListView->indexOfTopLevelItem(selected.first()) + 1;
}

void Form_List::selectRow(int i)
{
    QTreeWidgetItem *item = m_ListView->topLevelItem(i - 1);
    if (!item)
        return;
    m_ListView->setCurrentItem(item);
    item->setSelected(true);
    m_ListView->scrollToItem(item);
}

void Form_List::swapWith(int offset)
{
    const int i = selectedRow();
    const int n = rowCount();
    if (i < 1)
        return;
    const int j = (i - 1 + offset + n) % n + 1; // the first row up is the last, the last down the first
    QTreeWidgetItem *a = m_ListView->topLevelItem(i - 1);
    QTreeWidgetItem *b = m_ListView->topLevelItem(j - 1);
    for (int column = 0; column < 2; ++column) {
        const QString t = a->text(column);
        a->setText(column, b->text(column));
        b->setText(column, t);
    }
    selectRow(j);
}

void Form_List::bt_up_Click() { swapWith(-1); }
void Form_List::bt_down_Click() { swapWith(1); }

void Form_List::bt_del_Click()
{
    const int i = selectedRow();
    if (i >= 1)
        delete m_ListView->takeTopLevelItem(i - 1);
}

void Form_List::bt_exit_Click()
{
    close();
}

void Form_List::ListView_KeyUp(int key)
{
    if (key != 113) // F2
        return;
    if (QTreeWidgetItem *item = m_ListView->topLevelItem(selectedRow() - 1))
        m_ListView->editItem(item, 0);
}

void Form_List::ListView_OLEDragDrop(const QStringList &files)
{
    if (m_mode != listeditor::kFavouritesEntries)
        return;
    QList<QStringList> rows;
    for (const QString &file : files) {
        const qsizetype slash = file.lastIndexOf(u'/');
        if (slash < 0 || !QFileInfo(file).isFile())
            continue;
        const QString folder = slash == 0 ? QStringLiteral("/") : file.left(slash);
        const QString name = file.mid(slash + 1);
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot < 0 || !check_kakuchousi(name.mid(dot + 1)))
            continue;
        bool listed = false;
        for (int i = 1; i <= rowCount() && !listed; ++i)
            listed = rowPath(i) == folder && rowText(i) == name;
        for (const QStringList &r : rows)
            listed = listed || (r.at(1) == folder && r.at(0) == name);
        if (!listed)
            rows.append({name, folder});
    }
    addRows(rows);
}

void Form_List::unload()
{
    m_unloading = true;
    close();
}

void Form_List::setListForeColor(const QColor &c) { setListTextColor(m_ListView, c); }
void Form_List::setListBackColor(const QColor &c) { ::setListBackColor(m_ListView, c); }

void Form_List::closeEvent(QCloseEvent *e)
{
    // The main window comes back before the editor goes: with no window shown the
    // application would end without its shutdown. At shutdown it stays as it is.
    if (!m_unloading)
        m_mainWindow->show();
    e->accept();
}

bool Form_List::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_ListView && e->type() == QEvent::KeyRelease) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_F2 && !k->isAutoRepeat())
            ListView_KeyUp(113);
    }
    if (o == m_ListView->viewport() && m_mode == listeditor::kFavouritesEntries
        && takeFileDrop(e, [this](const QStringList &files) { ListView_OLEDragDrop(files); }))
        return true;
    return QWidget::eventFilter(o, e);
}
