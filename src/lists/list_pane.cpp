#include "lists/list_pane.h"

#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "platform/path.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/config_values.h"
#include "widgets/layout_math.h"
#include "widgets/twips.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

#include <tuple>

#include <algorithm>

namespace tw = twips;

namespace {

void place(QWidget *w, const layout::Rect &r)
{
    tw::place(w, r.left, r.top, r.width, r.height);
}

// The list's width buttons, one above the other.
constexpr int kSizeBarWidth = 400;
constexpr int kSizeBarHeight = 700;

} // namespace

void setListColors(QWidget *w)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, QColor(0, 0, 0));
    pal.setColor(QPalette::Window, QColor(0, 0, 0));
    pal.setColor(QPalette::Text, QColor(119, 150, 230));
    pal.setColor(QPalette::WindowText, QColor(119, 150, 230));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QList<TabRecord> tabsFrom(const TabStrip *strip)
{
    QList<TabRecord> records;
    for (int i = 2; i <= strip->count(); ++i)
        records.append({strip->caption(i), strip->tag(i)});
    return records;
}

ListPane::ListPane(QWidget *window, Commands &commands) : QObject(window), m_window(window)
{
    m_list = new QFrame(window);
    m_list->setObjectName(QStringLiteral("list"));
    tw::place(m_list, 5160, 0, 6255, 9975);

    m_Tab1 = new TabStrip(TabStrip::Edge::Right, m_list);
    m_Tab1->setObjectName(QStringLiteral("Tab1"));
    tw::place(m_Tab1, 0, 0, 5055, 7455);
    m_Tab1->add(0, QStringLiteral("file"), QStringLiteral("ファイル"));
    m_Tab1->add(0, QStringLiteral("okini"), QStringLiteral("お気に入り"));
    m_Tab1->add(0, QStringLiteral("find"), QStringLiteral("検索"));
    m_Tab1->add(0, QStringLiteral("config"), QStringLiteral("設定"));

    m_find = new QFrame(m_list);
    m_find->setObjectName(QStringLiteral("find"));
    tw::place(m_find, 40, 3240, 3975, 540);
    m_find->hide();

    m_config = new QFrame(m_list);
    m_config->setObjectName(QStringLiteral("config"));
    tw::place(m_config, 20, 20, 4935, 7400);
    m_config->hide();

    // Below the page tabs at the pane's right edge (step 10 of the layout keeps it there).
    m_size_bar = new QToolBar(m_list);
    m_size_bar->setObjectName(QStringLiteral("size_bar"));
    m_size_bar->setOrientation(Qt::Vertical);
    m_size_bar->setIconSize(QSize(12, 12));
    m_size_bar->setStyleSheet(QStringLiteral("QToolBar { border: 0; padding: 0; spacing: 0; }"));
    tw::place(m_size_bar, 5000, 8800, kSizeBarWidth, kSizeBarHeight);
    const std::tuple<const char *, const QString &, const char *> sizeButtons[] = {
        {"add", command::listWiden, "リスト幅を広げる"}, {"sub", command::listNarrow, "リスト幅を縮める"}};
    for (const auto &[key, id, tip] : sizeButtons) {
        const QString k = QString::fromUtf8(key);
        QAction *a = commands.add(id, k == u"add" ? QStringLiteral("+") : QStringLiteral("-"),
                                  [this, k] { Q_EMIT sizeBarClicked(k); });
        a->setObjectName(k);
        a->setToolTip(QString::fromUtf8(tip));
        m_size_bar->addAction(a);
    }

    connect(m_Tab1, &TabStrip::clicked, this, &ListPane::Tab1_Click);
    // Files dropped on the page tabs go to the favourites, as on the favourites list.
    m_Tab1->setAcceptDrops(true);
    m_Tab1->installEventFilter(this);
}

bool ListPane::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_Tab1 && takeFileDrop(e, [this](const QStringList &files) { Q_EMIT filesDroppedOnTabs(files); }))
        return true;
    return QObject::eventFilter(o, e);
}

void ListPane::attach(FilePage *files, FavouritesPage *favourites, SearchPage *search)
{
    m_files = files;
    m_favourites = favourites;
    m_search = search;

    m_AddMeter = new QProgressBar(m_window);
    m_AddMeter->setObjectName(QStringLiteral("AddMeter"));
    m_AddMeter->hide();
    m_bt_msg_add = new QPushButton(m_window);
    m_bt_msg_add->setObjectName(QStringLiteral("bt_msg_add"));
    m_bt_msg_add->hide();

    m_Frame_dummy = new QFrame(m_window);
    m_Frame_dummy->setObjectName(QStringLiteral("Frame_dummy"));
    setListColors(m_Frame_dummy);

    connect(files, &FilePage::pageWanted, this, &ListPane::selectPage);
    connect(favourites, &FavouritesPage::pageWanted, this, &ListPane::selectPage);
    connect(search, &SearchPage::pageWanted, this, &ListPane::selectPage);

    // The rows of the page shown and their selection, as the play commands see them.
    const auto changed = [this] { Q_EMIT playlistChanged(); };
    for (QAbstractItemModel *model : {static_cast<QAbstractItemModel *>(files->File()->model()),
                                      static_cast<QAbstractItemModel *>(search->List_Find()->model()),
                                      static_cast<QAbstractItemModel *>(favourites->List_okini()->model())}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, changed);
        connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
        connect(model, &QAbstractItemModel::modelReset, this, changed);
    }
    for (QItemSelectionModel *selection : {files->File()->selectionModel(), search->List_Find()->selectionModel(),
                                           favourites->List_okini()->currentView()->selectionModel()})
        connect(selection, &QItemSelectionModel::selectionChanged, this, changed);
    connect(this, &ListPane::pageShown, this, changed);
}

std::vector<QWidget *> ListPane::pageWidgets(int index) const
{
    switch (index) {
    case 2:
        return {m_favourites->TabM3u(), m_favourites->List_okini()};
    case 3:
        return {m_search->List_Find(), m_Frame_dummy, m_find};
    case 4:
        return {m_config};
    default:
        return {m_files->TabDir(), m_files->File(), m_Frame_dummy};
    }
}

std::vector<QWidget *> ListPane::allPageWidgets() const
{
    std::vector<QWidget *> all;
    for (int page = 1; page <= 4; ++page)
        for (QWidget *w : pageWidgets(page))
            if (std::find(all.begin(), all.end(), w) == all.end())
                all.push_back(w);
    return all;
}

void ListPane::showPage(int index)
{
    if (index < 1 || index > 4)
        return;
    const std::vector<QWidget *> shown = pageWidgets(index);
    for (QWidget *w : allPageWidgets())
        if (std::find(shown.begin(), shown.end(), w) == shown.end())
            w->hide();
    // The page's controls are the window's children, not the pane's: with the pane hidden
    // (a start with the list closed, then a file from the command line) they stay hidden
    // until the pane comes back, instead of lying over the picture.
    if (paneVisible())
        for (QWidget *w : shown) {
            w->show();
            w->raise();
        }
    if (index == 3)
        m_search->showSearchPage();
    Q_EMIT pageShown(index);
}

void ListPane::Tab1_Click()
{
    if (m_inFullScreen && m_inFullScreen())
        return;
    showPage(m_Tab1->selectedIndex());
    if (m_window->isVisible())
        layoutListPane();
}

void ListPane::selectPage(int index)
{
    if (m_Tab1->selectedIndex() != index)
        m_Tab1->select(index);
}

void ListPane::layoutListPane()
{
    const layout::Rect pane{tw::left(m_list), tw::top(m_list), tw::width(m_list), tw::height(m_list)};
    const layout::Size tab1 = layout::tab1Size(pane);
    tw::setWidth(m_Tab1, tab1.width);
    tw::setHeight(m_Tab1, tab1.height);
    const int tabClientWidth = m_Tab1->clientWidth();

    TabStrip *TabDir = m_files->TabDir();
    place(TabDir, layout::tabDirRect(pane, tabClientWidth));
    const layout::Rect tabDir{tw::left(TabDir), tw::top(TabDir), tw::width(TabDir), tw::height(TabDir)};
    const layout::FilePagePlaces files = layout::filePage(tabDir, tabClientWidth, TabDir->clientHeight(),
                                                          tw::height(m_find),
                                                          m_search->List_Find()->isVisibleTo(m_window));
    place(m_files->File(), files.file);
    place(m_search->List_Find(), files.listFind);
    place(m_find, files.find);
    m_search->layoutFind(tabClientWidth);
    place(m_Frame_dummy, files.frameDummy);

    TabStrip *TabM3u = m_favourites->TabM3u();
    place(TabM3u, layout::tabM3uRect(pane, tw::width(m_files->File())));
    const layout::Rect tabM3u{tw::left(TabM3u), tw::top(TabM3u), tw::width(TabM3u), tw::height(TabM3u)};
    place(m_favourites->List_okini(), layout::listOkiniRect(tabM3u, tabClientWidth, TabM3u->clientHeight()));

    // The width buttons at the bottom of the page tabs, 100 twips past the pane's edge.
    tw::setTop(m_size_bar, std::max(0, tw::height(m_list) - kSizeBarHeight - 60));
    tw::setLeft(m_size_bar, tw::width(m_list) - tw::width(m_size_bar) + 100);
    m_size_bar->raise();

    Q_EMIT laidOut(tw::width(m_files->File()), tw::height(TabM3u));
}

void ListPane::setPaneVisible(bool on)
{
    m_list->setVisible(on);
    // The options frame lies inside the pane and comes with it.
    setListWidgetsVisible(on);
}

bool ListPane::paneVisible() const
{
    return m_list->isVisibleTo(m_window);
}

void ListPane::setListWidgetsVisible(bool on)
{
    if (on) {
        for (QWidget *w : pageWidgets(m_Tab1->selectedIndex()))
            if (w != m_config)
                w->show();
        return;
    }
    for (QWidget *w : allPageWidgets())
        if (w != m_config)
            w->hide();
}

QWidget *ListPane::okiniList() const { return m_favourites->List_okini(); }
QWidget *ListPane::fileList() const { return m_files->File(); }

ListPage ListPane::shownPage() const
{
    return listPageOfTab(m_Tab1->selectedIndex());
}

int ListPane::rowCount() const
{
    switch (shownPage()) {
    case ListPage::Files:
        return m_files->File()->listCount();
    case ListPage::Favourites:
        return m_favourites->List_okini()->count();
    case ListPage::Search:
        return m_search->List_Find()->count();
    default:
        return 0;
    }
}

int ListPane::selectedRow() const
{
    switch (shownPage()) {
    case ListPage::Files:
        return m_files->File()->listIndex();
    case ListPage::Favourites:
        return m_favourites->get_okini_index() - 1;
    case ListPage::Search:
        return m_search->List_Find()->currentRow();
    default:
        return -1;
    }
}

void ListPane::selectRow(int row)
{
    switch (shownPage()) {
    case ListPage::Files:
        m_files->File()->setListIndex(row);
        break;
    case ListPage::Favourites:
        m_favourites->List_okini()->select(row + 1);
        break;
    case ListPage::Search:
        m_search->List_Find()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        break;
    default:
        break;
    }
}

QString ListPane::rowPath(int row) const
{
    switch (shownPage()) {
    case ListPage::Files:
        return row >= 0 && row < m_files->File()->listCount()
                   ? path::addbackslash(m_files->File()->path()) + m_files->File()->list(row)
                   : QString();
    case ListPage::Favourites: {
        const OkiniList *l = m_favourites->List_okini();
        return row >= 0 && row < l->count() ? l->folder(row + 1) + l->text(row + 1) : QString();
    }
    case ListPage::Search:
        return m_search->findRowPath(row);
    default:
        return QString();
    }
}

void ListPane::makeTopRow(int row)
{
    switch (shownPage()) {
    case ListPage::Files:
        setListTopIndex(m_files->File(), row);
        break;
    case ListPage::Favourites:
        setListTopIndex(m_favourites->List_okini(), row + 1);
        break;
    case ListPage::Search:
        if (QListWidgetItem *item = m_search->List_Find()->item(row))
            m_search->List_Find()->scrollToItem(item, QAbstractItemView::PositionAtTop);
        break;
    default:
        break;
    }
}

bool ListPane::rowFileExists(int row) const
{
    const QString p = rowPath(row);
    if (p.isEmpty())
        return false;
    const QFileInfo info(p);
    return info.exists() && info.isFile();
}

void ListPane::missingRow(int row)
{
    switch (shownPage()) {
    case ListPage::Files:
        m_files->File()->refresh();
        break;
    case ListPage::Favourites:
        m_favourites->askRemoveMissing(rowPath(row));
        break;
    default:
        break;
    }
}

int ListPane::okiniIndex() const
{
    return m_favourites->get_okini_index();
}

void ListPane::showProgress(int maximum)
{
    tw::place(m_AddMeter, tw::left(m_list), 0, tw::width(m_files->File()), 255);
    tw::place(m_bt_msg_add, tw::left(m_list), 255, tw::width(m_files->File()), 300);
    m_AddMeter->setRange(0, maximum);
    m_AddMeter->show();
    m_AddMeter->raise();
    m_bt_msg_add->show();
    m_bt_msg_add->raise();
    m_window->setCursor(Qt::BusyCursor);
}

void ListPane::setProgress(int value)
{
    m_AddMeter->setValue(value);
}

void ListPane::setProgressText(const QString &text)
{
    m_bt_msg_add->setText(text);
}

void ListPane::hideProgress()
{
    m_AddMeter->hide();
    m_bt_msg_add->hide();
    m_window->unsetCursor();
}

void setListTopIndex(QWidget *m_list, int row)
{
    if (auto *f = qobject_cast<FileListBox *>(m_list))
        f->setTopIndex(row);
    else if (auto *o = qobject_cast<OkiniList *>(m_list))
        o->ensureVisible(row);
}

void selectTabUnderPointer(TabStrip *strip, QPoint pos)
{
    const int i = strip->tabAt(pos);
    if (i > 0 && i != strip->selectedIndex())
        strip->select(i);
}

// ---- config.ini

void ListPane::restoreConfig(const ConfigValues &c)
{
    if (c.ListWidth >= 0)
        tw::setWidth(m_list, c.ListWidth);
    if (c.ListMode >= 1 && c.ListMode <= 4) {
        showPage(c.ListMode);
        m_Tab1->select(c.ListMode);
    }
}

void ListPane::saveConfig(ConfigValues &c) const
{
    c.ListWidth = tw::width(m_list);
    c.ListMode = m_Tab1->selectedIndex();
}
