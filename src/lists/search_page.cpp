#include "lists/search_page.h"

#include "lists/file_menu_target.h"

#include "dialogs/file_dialogs.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/file_search.h"
#include "lists/list_pane.h"
#include "lists/tab_strip.h"
#include "platform/path.h"
#include "platform/quoted_records.h"
#include "playback/media_commands.h"
#include "widgets/layout_math.h"
#include "widgets/options.h"
#include "widgets/save_soon.h"
#include "widgets/twips.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <atomic>
#include <mutex>
#include <vector>

namespace tw = twips;

// ---- A search under way

// What the worker and the UI thread share: the worker appends its results under the lock
// and asks for one drain at a time; the UI thread takes them out in order.
struct SearchPage::Run
{
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::vector<filesearch::Found> pending;
    bool drainQueued = false;
    bool done = false;
};

namespace {

// Enter and Esc in the search text: the filter sees them on the combo box and on its editor,
// whichever has the focus.
class FindTextKeys : public QObject
{
public:
    FindTextKeys(SearchPage *page) : QObject(page), m_page(page) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress)
            return QObject::eventFilter(o, e);
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            m_page->FindText_KeyDown(key);
            return true;
        }
        return QObject::eventFilter(o, e);
    }

private:
    SearchPage *m_page;
};

} // namespace

SearchPage::SearchPage(QWidget *window, QFrame *find, std::shared_ptr<Dialogs> dialogs, QString appDir,
                       const Options &options, MediaCommands &media, FilePage &files, FavouritesPage &favourites)
    : QObject(window), m_window(window), m_find(find), m_dialogs(std::move(dialogs)), m_appDir(std::move(appDir)),
      m_options(options), m_media(media), m_files(files), m_favourites(favourites)
{
    // searchData.ini soon after a search has ended.
    m_resultsSave = new SaveSoon(
        [this] {
            saveSearchData();
            return true;
        },
        [this] { return isSearching(); }, this);
    m_txt_current_dir = new QLabel(find);
    m_txt_current_dir->setObjectName(QStringLiteral("txt_current_dir"));
    tw::place(m_txt_current_dir, 0, 0, 3975, 240);

    m_labelFind = new QLabel(QStringLiteral("検索"), find);
    m_labelFind->setObjectName(QStringLiteral("labelFind"));
    setListColors(m_labelFind);
    tw::place(m_labelFind, 0, 270, 480, 255);

    m_FindText = new QComboBox(find);
    m_FindText->setObjectName(QStringLiteral("FindText"));
    m_FindText->setEditable(true);
    // Enter searches and the search remembers the text itself: the box inserts nothing.
    m_FindText->setInsertPolicy(QComboBox::NoInsert);
    setListColors(m_FindText);
    tw::place(m_FindText, 520, 250, 3000, 285);
    auto *keys = new FindTextKeys(this);
    m_FindText->installEventFilter(keys);
    m_FindText->lineEdit()->installEventFilter(keys);

    m_bt_change_dir = new QPushButton(QStringLiteral(".."), find);
    m_bt_change_dir->setObjectName(QStringLiteral("bt_change_dir"));
    m_bt_change_dir->setToolTip(QStringLiteral("検索ディレクトリ（current）を変更"));
    tw::place(m_bt_change_dir, 3560, 250, 375, 285);

    m_List_Find = new FoundList(window);
    m_List_Find->setObjectName(QStringLiteral("List_Find"));
    setListColors(m_List_Find);
    m_List_Find->hide();

    connect(m_bt_change_dir, &QPushButton::clicked, this, &SearchPage::bt_change_dir_Click);
    connect(m_List_Find, &FoundList::click, this, &SearchPage::List_Find_Click);
    connect(m_List_Find, &FoundList::dblClick, this, &SearchPage::List_Find_DblClick);
    connect(m_List_Find, &FoundList::mouseUp, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) { List_Find_MouseUp(button, pos); });
}

SearchPage::~SearchPage()
{
    if (m_running)
        m_running->cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

QString SearchPage::findRowPath(int i) const
{
    if (i < 0 || i >= m_List_Find->count() || i >= m_findDirs.size() || i >= filesearch::kFindSlots
        || m_findDirs.at(i).isEmpty())
        return QString();
    return m_findDirs.at(i) + m_List_Find->item(i)->text();
}

QStringList SearchPage::selectedResultPaths() const
{
    QStringList paths;
    for (int i = 0; i < m_List_Find->count(); ++i)
        if (m_List_Find->item(i)->isSelected()) {
            const QString p = findRowPath(i);
            if (!p.isEmpty())
                paths.append(p);
        }
    return paths;
}

// ---- Searching

void SearchPage::FindText_KeyDown(int key)
{
    if (key == Qt::Key_Escape) {
        cancelSearch();
        return;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    if (isSearching())
        return; // one search at a time: Enter meanwhile does nothing
    const QString text = m_FindText->currentText();
    search_files();
    if (!text.isEmpty() && m_FindText->findText(text, Qt::MatchFixedString) < 0) // letter case ignored
        m_FindText->addItem(text);
    m_FindText->setCurrentText(text);
    m_FindText->setFocus();
}

void SearchPage::search_files()
{
    if (isSearching())
        return;
    m_List_Find->clear();
    m_findDirs.clear();
    m_findCount = 0;

    const QString root = m_files.TabDir()->tag(1);
    const QString text = m_FindText->currentText();
    auto run = std::make_shared<Run>();
    m_running = run;
    m_window->setCursor(Qt::BusyCursor);
    if (m_worker.joinable())
        m_worker.join(); // an earlier worker has ended already: its last drain ran
    m_worker = std::thread([this, run, root, text] {
        const auto found = [this, &run](const filesearch::Found &f) {
            std::lock_guard lock(run->mutex);
            run->pending.push_back(f);
            if (!run->drainQueued) {
                run->drainQueued = true;
                QMetaObject::invokeMethod(this, [this, run] { drain(run); }, Qt::QueuedConnection);
            }
        };
        filesearch::searchTree(root, text, filesearch::kFindSlots, run->cancel, found);
        std::lock_guard lock(run->mutex);
        run->done = true;
        if (!run->drainQueued) {
            run->drainQueued = true;
            QMetaObject::invokeMethod(this, [this, run] { drain(run); }, Qt::QueuedConnection);
        }
    });
}

void SearchPage::drain(const std::shared_ptr<Run> &run)
{
    if (run != m_running)
        return; // a search that was finished already
    std::vector<filesearch::Found> found;
    bool done = false;
    {
        std::lock_guard lock(run->mutex);
        found.swap(run->pending);
        run->drainQueued = false;
        done = run->done;
    }
    for (const filesearch::Found &f : found)
        appendResult(f.folder, f.name);
    if (done)
        endSearch();
}

void SearchPage::appendResult(const QString &folder, const QString &name)
{
    if (m_findCount >= filesearch::kFindSlots)
        return;
    m_List_Find->addItem(name);
    m_findDirs.append(folder);
    ++m_findCount;
}

void SearchPage::endSearch()
{
    if (m_worker.joinable())
        m_worker.join();
    m_running.reset();
    m_window->unsetCursor();
    m_resultsSave->changed();
    Q_EMIT searchFinished();
}

void SearchPage::cancelSearch()
{
    if (m_running)
        m_running->cancel = true;
}

void SearchPage::finishSearch()
{
    if (!m_running)
        return;
    const std::shared_ptr<Run> run = m_running;
    run->cancel = true;
    if (m_worker.joinable())
        m_worker.join();
    // The worker is done: everything it found is pending, and its queued drain finds the
    // search ended.
    drain(run);
}

// ---- The current folder

void SearchPage::setCurrentDirText(const QString &folder)
{
    m_txt_current_dir->setText(QStringLiteral("current = ") + folder + QStringLiteral("   以下を検索"));
}

void SearchPage::bt_change_dir_Click()
{
    const QString folder = browseForFolderWithCallback(
        *m_dialogs, m_window, QStringLiteral("変更するフォルダを選択してください"), m_files.File()->path(), 16);
    if (folder.isEmpty())
        return;
    if (!m_files.File()->setPath(folder))
        return; // a folder that cannot be read becomes no search root
    m_files.TabDir()->setTag(1, folder);
    setCurrentDirText(folder);
}

void SearchPage::showSearchPage()
{
    setCurrentDirText(m_files.TabDir()->tag(1));
    if (m_FindText->isVisible())
        m_FindText->setFocus();
}

void SearchPage::layoutFind(int pageWidth)
{
    const layout::FindRowPlaces row =
        layout::findRow(tw::width(m_find), pageWidth - tw::left(m_find), tw::left(m_labelFind), tw::width(m_labelFind),
                        tw::left(m_FindText), tw::width(m_bt_change_dir));
    tw::setWidth(m_FindText, row.findTextWidth);
    tw::setWidth(m_txt_current_dir, tw::width(m_find));
    tw::setLeft(m_bt_change_dir, row.buttonLeft);
}

// ---- The result list's events

void SearchPage::List_Find_Click()
{
    Q_EMIT pageWanted(3);
}

void SearchPage::List_Find_DblClick()
{
    const QString p = findRowPath(m_List_Find->currentRow());
    if (!p.isEmpty())
        m_media.openMedia(p, 0);
}

void SearchPage::List_Find_MouseUp(Qt::MouseButton button, QPoint pos)
{
    if (button == Qt::LeftButton) {
        toggleDraggedRows(m_List_Find, pos);
        return;
    }
    if (button != Qt::RightButton)
        return;
    // The row under the pointer becomes the only selection unless it is selected; below the
    // last row the selection stays.
    selectRowForPopup(m_List_Find, pos);
    Q_EMIT fileMenuWanted();
}

void SearchPage::add_selected_found()
{
    QList<std::pair<QString, QString>> entries;
    for (int i = m_List_Find->count() - 1; i >= 0; --i)
        if (m_List_Find->item(i)->isSelected() && !findRowPath(i).isEmpty())
            entries.append({m_findDirs.at(i), m_List_Find->item(i)->text()});
    m_favourites.add_selected_entries(entries);
}

// ---- searchData.ini

void SearchPage::stopSaving()
{
    m_resultsSave->stop();
}

void SearchPage::showResults(const QList<std::pair<QString, QString>> &rows)
{
    m_List_Find->clear();
    m_findDirs.clear();
    m_findCount = 0;
    for (const auto &[folder, name] : rows)
        appendResult(folder, name);
}

void SearchPage::loadSearchData()
{
    const auto records = platform::readQuotedRecords(m_appDir + QStringLiteral("searchData.ini"), 2);
    if (!records)
        return;
    m_List_Find->clear();
    m_findDirs.clear();
    for (const QStringList &r : *records) {
        if (m_findDirs.size() >= filesearch::kFindSlots)
            break;
        const QString folder = path::getabsolutepath(r.at(0), m_appDir);
        m_findDirs.append(folder.isEmpty() ? QString() : path::addbackslash(folder));
        m_List_Find->addItem(r.at(1));
    }
    m_findCount = static_cast<int>(m_findDirs.size());
}

void SearchPage::saveSearchData()
{
    finishSearch();
    QList<QStringList> records;
    for (int i = 0; i < m_List_Find->count() && i < m_findDirs.size(); ++i) {
        const QString folder = m_findDirs.at(i);
        records.append({m_options.soutai() ? path::getrelativepath(folder, m_appDir) : folder,
                        m_List_Find->item(i)->text()});
    }
    platform::writeQuotedRecords(m_appDir + QStringLiteral("searchData.ini"), records);
}

namespace {

// The search results as the list of the file popup.
class FindResultsTarget final : public FileMenuTarget
{
public:
    explicit FindResultsTarget(SearchPage &page) : m_page(page) {}

    Kind kind() const override { return Kind::SearchResults; }

    QStringList selectedPaths() const override { return m_page.selectedResultPaths(); }

    QString selectedPath() const override
    {
        const QListWidgetItem *current = m_page.List_Find()->currentItem();
        if (current && current->isSelected())
            if (const QString p = m_page.findRowPath(m_page.List_Find()->row(current)); !p.isEmpty())
                return p;
        const QStringList all = selectedPaths();
        return all.isEmpty() ? QString() : all.first();
    }

    void renamed(const QString &oldPath, const QString &newName) override
    {
        for (int row = 0; row < m_page.List_Find()->count(); ++row)
            if (m_page.findRowPath(row) == oldPath)
                m_page.List_Find()->item(row)->setText(newName);
    }

private:
    SearchPage &m_page;
};

} // namespace

FileMenuTarget &SearchPage::findTarget()
{
    if (!m_findTarget)
        m_findTarget = std::make_unique<FindResultsTarget>(*this);
    return *m_findTarget;
}
