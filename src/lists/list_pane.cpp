#include "lists/list_pane.h"

#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/okini_list.h"
#include "platform/path.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "widgets/layout_math.h"
#include "widgets/twips.h"

#include <QFileInfo>
#include <QAction>
#include <QDropEvent>
#include <QFrame>
#include <QMimeData>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

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

ListPane::ListPane(QWidget *window) : QObject(window), m_window(window)
{
    list = new QFrame(window);
    list->setObjectName(QStringLiteral("list"));
    tw::place(list, 5160, 0, 6255, 9975);

    Tab1 = new TabStrip(TabStrip::Edge::Right, list);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    tw::place(Tab1, 0, 0, 5055, 7455);
    Tab1->add(0, QStringLiteral("file"), QStringLiteral("ファイル"));
    Tab1->add(0, QStringLiteral("okini"), QStringLiteral("お気に入り"));
    Tab1->add(0, QStringLiteral("find"), QStringLiteral("検索"));
    Tab1->add(0, QStringLiteral("config"), QStringLiteral("設定"));

    find = new QFrame(list);
    find->setObjectName(QStringLiteral("find"));
    tw::place(find, 40, 3240, 3975, 540);
    find->hide();

    config = new QFrame(list);
    config->setObjectName(QStringLiteral("config"));
    tw::place(config, 20, 20, 4935, 7400);
    config->hide();

    // Below the page tabs at the pane's right edge (step 10 of the layout keeps it there).
    size_bar = new QToolBar(list);
    size_bar->setObjectName(QStringLiteral("size_bar"));
    size_bar->setOrientation(Qt::Vertical);
    size_bar->setIconSize(QSize(12, 12));
    size_bar->setStyleSheet(QStringLiteral("QToolBar { border: 0; padding: 0; spacing: 0; }"));
    tw::place(size_bar, 5000, 8800, kSizeBarWidth, kSizeBarHeight);
    const std::pair<const char *, const char *> sizeButtons[] = {{"add", "リスト幅を広げる"}, {"sub", "リスト幅を縮める"}};
    for (const auto &[key, tip] : sizeButtons) {
        const QString k = QString::fromUtf8(key);
        QAction *a = size_bar->addAction(k == u"add" ? QStringLiteral("+") : QStringLiteral("-"));
        a->setObjectName(k);
        a->setToolTip(QString::fromUtf8(tip));
        connect(a, &QAction::triggered, this, [this, k] { Q_EMIT sizeBarClicked(k); });
    }

    connect(Tab1, &TabStrip::clicked, this, &ListPane::Tab1_Click);
    // Files dropped on the page tabs go to the favourites, as on the favourites list.
    Tab1->setAcceptDrops(true);
    Tab1->installEventFilter(this);
}

bool ListPane::eventFilter(QObject *o, QEvent *e)
{
    if (o == Tab1 && takeFileDrop(e, [this](const QStringList &files) { Q_EMIT filesDroppedOnTabs(files); }))
        return true;
    return QObject::eventFilter(o, e);
}

void ListPane::attach(FilePage *files, FavouritesPage *favourites, SearchPage *search)
{
    m_files = files;
    m_favourites = favourites;
    m_search = search;

    AddMeter = new QProgressBar(m_window);
    AddMeter->setObjectName(QStringLiteral("AddMeter"));
    AddMeter->hide();
    bt_msg_add = new QPushButton(m_window);
    bt_msg_add->setObjectName(QStringLiteral("bt_msg_add"));
    bt_msg_add->hide();

    Frame_dummy = new QFrame(m_window);
    Frame_dummy->setObjectName(QStringLiteral("Frame_dummy"));
    setListColors(Frame_dummy);

    connect(files, &FilePage::pageWanted, this, &ListPane::selectPage);
    connect(favourites, &FavouritesPage::pageWanted, this, &ListPane::selectPage);
    connect(search, &SearchPage::pageWanted, this, &ListPane::selectPage);
}

std::vector<QWidget *> ListPane::pageWidgets(int index) const
{
    switch (index) {
    case 2:
        return {m_favourites->TabM3u, m_favourites->List_okini};
    case 3:
        return {m_search->List_Find, Frame_dummy, find};
    case 4:
        return {config};
    default:
        return {m_files->TabDir, m_files->File, Frame_dummy};
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
    if (inFullScreen && inFullScreen())
        return;
    showPage(Tab1->selectedIndex());
    if (m_window->isVisible())
        layoutListPane();
}

void ListPane::selectPage(int index)
{
    if (Tab1->selectedIndex() != index)
        Tab1->select(index);
}

void ListPane::layoutListPane()
{
    const layout::Rect pane{tw::left(list), tw::top(list), tw::width(list), tw::height(list)};
    const layout::Size tab1 = layout::tab1Size(pane);
    tw::setWidth(Tab1, tab1.width);
    tw::setHeight(Tab1, tab1.height);
    const int tabClientWidth = Tab1->clientWidth();

    TabStrip *TabDir = m_files->TabDir;
    place(TabDir, layout::tabDirRect(pane, tabClientWidth));
    const layout::Rect tabDir{tw::left(TabDir), tw::top(TabDir), tw::width(TabDir), tw::height(TabDir)};
    const layout::FilePagePlaces files = layout::filePage(tabDir, tabClientWidth, TabDir->clientHeight(),
                                                          tw::height(find),
                                                          m_search->List_Find->isVisibleTo(m_window));
    place(m_files->File, files.file);
    place(m_search->List_Find, files.listFind);
    place(find, files.find);
    m_search->layoutFind(tabClientWidth);
    place(Frame_dummy, files.frameDummy);

    TabStrip *TabM3u = m_favourites->TabM3u;
    place(TabM3u, layout::tabM3uRect(pane, tw::width(m_files->File)));
    const layout::Rect tabM3u{tw::left(TabM3u), tw::top(TabM3u), tw::width(TabM3u), tw::height(TabM3u)};
    place(m_favourites->List_okini, layout::listOkiniRect(tabM3u, tabClientWidth, TabM3u->clientHeight()));

    // The width buttons at the bottom of the page tabs, 100 twips past the pane's edge.
    tw::setTop(size_bar, std::max(0, tw::height(list) - kSizeBarHeight - 60));
    tw::setLeft(size_bar, tw::width(list) - tw::width(size_bar) + 100);
    size_bar->raise();

    Q_EMIT laidOut(tw::width(m_files->File), tw::height(TabM3u));
}

void ListPane::setPaneVisible(bool on)
{
    list->setVisible(on);
    // The options frame lies inside the pane and comes with it.
    setListWidgetsVisible(on);
}

bool ListPane::paneVisible() const
{
    return list->isVisibleTo(m_window);
}

void ListPane::setListWidgetsVisible(bool on)
{
    if (on) {
        for (QWidget *w : pageWidgets(Tab1->selectedIndex()))
            if (w != config)
                w->show();
        return;
    }
    for (QWidget *w : allPageWidgets())
        if (w != config)
            w->hide();
}

QWidget *ListPane::okiniList() const { return m_favourites->List_okini; }
QWidget *ListPane::fileList() const { return m_files->File; }

int ListPane::shownPage() const
{
    return Tab1->selectedIndex();
}

int ListPane::rowCount() const
{
    switch (shownPage()) {
    case 1:
        return m_files->File->listCount();
    case 2:
        return m_favourites->List_okini->count();
    case 3:
        return m_search->List_Find->count();
    default:
        return 0;
    }
}

int ListPane::selectedRow() const
{
    switch (shownPage()) {
    case 1:
        return m_files->File->listIndex();
    case 2:
        return m_favourites->get_okini_index() - 1;
    case 3:
        return m_search->List_Find->currentRow();
    default:
        return -1;
    }
}

void ListPane::selectRow(int row)
{
    switch (shownPage()) {
    case 1:
        m_files->File->setListIndex(row);
        break;
    case 2:
        m_favourites->List_okini->select(row + 1);
        break;
    case 3:
        m_search->List_Find->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        break;
    default:
        break;
    }
}

QString ListPane::rowPath(int row) const
{
    switch (shownPage()) {
    case 1:
        return row >= 0 && row < m_files->File->listCount()
                   ? path::addbackslash(m_files->File->path()) + m_files->File->list(row)
                   : QString();
    case 2: {
        const OkiniList *l = m_favourites->List_okini;
        return row >= 0 && row < l->count() ? l->folder(row + 1) + l->text(row + 1) : QString();
    }
    case 3:
        return m_search->findRowPath(row);
    default:
        return QString();
    }
}

void ListPane::makeTopRow(int row)
{
    switch (shownPage()) {
    case 1:
        setListTopIndex(m_files->File, row);
        break;
    case 2:
        setListTopIndex(m_favourites->List_okini, row + 1);
        break;
    case 3:
        if (QListWidgetItem *item = m_search->List_Find->item(row))
            m_search->List_Find->scrollToItem(item, QAbstractItemView::PositionAtTop);
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
    case 1:
        m_files->File->refresh();
        break;
    case 2:
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
    tw::place(AddMeter, tw::left(list), 0, tw::width(m_files->File), 255);
    tw::place(bt_msg_add, tw::left(list), 255, tw::width(m_files->File), 300);
    AddMeter->setRange(0, maximum);
    AddMeter->show();
    AddMeter->raise();
    bt_msg_add->show();
    bt_msg_add->raise();
    m_window->setCursor(Qt::BusyCursor);
}

void ListPane::setProgress(int value)
{
    AddMeter->setValue(value);
}

void ListPane::setProgressText(const QString &text)
{
    bt_msg_add->setText(text);
}

void ListPane::hideProgress()
{
    AddMeter->hide();
    bt_msg_add->hide();
    m_window->unsetCursor();
}

void setListTopIndex(QWidget *list, int row)
{
    if (auto *f = qobject_cast<FileListBox *>(list))
        f->setTopIndex(row);
    else if (auto *o = qobject_cast<OkiniList *>(list))
        o->ensureVisible(row);
}

void selectTabUnderPointer(TabStrip *strip, QPoint pos)
{
    const int i = strip->tabAt(pos);
    if (i > 0 && i != strip->selectedIndex())
        strip->select(i);
}
