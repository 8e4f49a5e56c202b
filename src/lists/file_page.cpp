#include "lists/file_page.h"

#include "dialogs/file_dialogs.h"
#include "lists/extensions.h"
#include "lists/file_list_box.h"
#include "lists/file_menu_target.h"
#include "lists/item_rules.h"
#include "lists/list_pane.h"
#include "lists/tab_files.h"
#include "lists/tab_strip.h"
#include "platform/file_system.h"
#include "platform/my_module.h"
#include "platform/path.h"
#include "playback/media_commands.h"
#include "playback/media_types.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/config_values.h"
#include "widgets/desktop_shell.h"
#include "widgets/options.h"
#include "widgets/topmost_switch.h"
#include "widgets/save_soon.h"
#include "widgets/twips.h"

#include <QAction>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>

#include <utility>

namespace {

// Folders are compared exactly (the file system tells letter case apart), with or
// without their trailing "/".
bool sameFolder(const QString &a, const QString &b)
{
    return path::addbackslash(a) == path::addbackslash(b);
}

// The file list as the list of the file popup.
class FileRowsTarget final : public FileMenuTarget
{
public:
    explicit FileRowsTarget(FilePage &page) : m_page(page) {}

    Kind kind() const override { return Kind::Files; }

    QStringList selectedPaths() const override
    {
        const FileListBox *list = m_page.File();
        QStringList paths;
        for (int row = 0; row < list->listCount(); ++row)
            if (list->item(row)->isSelected())
                paths.append(path::addbackslash(list->path()) + list->list(row));
        return paths;
    }

    QString selectedPath() const override
    {
        const FileListBox *list = m_page.File();
        const QListWidgetItem *current = list->currentItem();
        if (current && current->isSelected())
            return path::addbackslash(list->path()) + current->text();
        const QStringList all = selectedPaths();
        return all.isEmpty() ? QString() : all.first();
    }

    void renamed(const QString &, const QString &newName) override
    {
        // The folder is read again; the renamed file stays the selected row.
        FileListBox *list = m_page.File();
        list->refresh();
        for (int row = 0; row < list->listCount(); ++row)
            if (list->list(row) == newName) {
                list->setListIndex(row);
                break;
            }
    }

private:
    FilePage &m_page;
};

} // namespace

std::uint64_t totalFileSize(const QStringList &paths)
{
    std::uint64_t total = 0;
    for (const QString &p : paths) {
        const QFileInfo info(p);
        if (info.isFile())
            total += static_cast<std::uint64_t>(std::max<qint64>(0, info.size()));
    }
    return total;
}

QString renameFileAsked(Dialogs &dialogs, QWidget *parent, TopmostSwitch &topmost, MediaCommands &media,
                        const QString &folder, const QString &name)
{
    const QString dir = path::addbackslash(folder);
    topmost.beginRename();
    const QString answer = dialogs.input(parent, dir + name + QStringLiteral("\nのファイル名を変更します。"),
                                         QStringLiteral("ファイル名を変更"), name);
    topmost.endRename();
    if (answer.isEmpty())
        return QString();
    const auto refuse = [&] {
        dialogs.message(parent, QStringLiteral("不正なファイル名が指定されました"), QString(), Dialogs::Buttons::Ok);
        return QString();
    };
    // "a/b" or ".." would move the file elsewhere instead of renaming it.
    if (!items::acceptableFileName(answer))
        return refuse();
    const QString from = dir + name;
    const QString to = dir + answer;
    // A name that is taken (a dangling link too) changes nothing, and the open file plays on.
    if (platform::pathExists(to))
        return QString();
    if (!media.openFileName().isEmpty() && media.openFileName() == from)
        media.stop_Click();
    switch (platform::renameNoReplace(from, to)) {
    case platform::RenameResult::Renamed:
        return answer;
    case platform::RenameResult::Exists:
        return QString(); // taken meanwhile: still never replaced
    case platform::RenameResult::Failed:
        break;
    }
    return refuse();
}

bool firstTabRefused(Dialogs &dialogs, QWidget *parent, const TabStrip *strip, const QString &text,
                     const QString &title)
{
    if (strip->selectedIndex() != 1)
        return false;
    dialogs.message(parent, text, title, Dialogs::Buttons::Ok);
    return true;
}

QString askTabName(Dialogs &dialogs, QWidget *parent, TopmostSwitch &topmost, TabStrip *strip)
{
    const int i = strip->selectedIndex();
    topmost.beginRename();
    const QString answer = dialogs.input(parent, QStringLiteral("タブ名を変更します。\n\n") + strip->tag(i) + u'\n',
                                         QStringLiteral("タブ名変更"), strip->caption(i));
    topmost.endRename();
    return answer;
}

FilePage::FilePage(QWidget *window, Commands &commands, std::shared_ptr<Dialogs> dialogs,
                   std::shared_ptr<DesktopShell> shell, QString appDir, const Options &options, MediaCommands &media,
                   TopmostSwitch &topmost)
    : QObject(window), m_window(window), m_dialogs(std::move(dialogs)), m_shell(std::move(shell)),
      m_appDir(std::move(appDir)), m_options(options), m_media(media), m_topmost(topmost),
      m_fileTarget(std::make_unique<FileRowsTarget>(*this))
{
    m_menuTarget = m_fileTarget.get();
    // The lists are children of the window itself, laid over the pane.
    m_TabDir = new TabStrip(TabStrip::Edge::Bottom, window);
    m_TabDir->setObjectName(QStringLiteral("TabDir"));
    twips::place(m_TabDir, 5280, 2280, 2655, 375);
    m_TabDir->add(0, QString(), QStringLiteral("current"));

    m_File = new FileListBox(window);
    m_File->setObjectName(QStringLiteral("File"));
    m_File->setPattern(fileListPattern());
    setListColors(m_File);
    twips::place(m_File, 5160, 0, 4935, 7000);

    m_m_FileMenu = new QMenu(QStringLiteral("ファイル"), window);
    m_m_FileMenu->setObjectName(QStringLiteral("m_FileMenu"));
    commands.watch(m_m_FileMenu);
    const auto item = [this, &commands](QMenu *menu, const QString &id, const char *name, const QString &caption,
                                        void (FilePage::*handler)()) {
        QAction *a = commands.add(id, caption, [this, handler] { (this->*handler)(); });
        a->setObjectName(QString::fromLatin1(name));
        menu->addAction(a);
        return a;
    };
    m_m_OpenDirectory = item(m_m_FileMenu, command::fileOpenFolder, "m_OpenDirectory",
                           QStringLiteral("currentディレクトリの変更(F4)"), &FilePage::m_OpenDirectory_Click);
    m_sep6 = m_m_FileMenu->addSeparator();
    m_sep6->setObjectName(QStringLiteral("sep6"));
    m_m_filePlay = item(m_m_FileMenu, command::filePlay, "m_filePlay", QStringLiteral("再生(Enter)"),
                      &FilePage::m_filePlay_Click);
    m_m_seen_load_file = m_m_FileMenu->addMenu(QStringLiteral("シーン"));
    m_m_seen_load_file->setObjectName(QStringLiteral("m_seen_load_file"));
    // The favourites' own command: the selection of the page shown joins them.
    m_m_addOkini = commands.action(command::addOkini);
    m_m_addOkini->setObjectName(QStringLiteral("m_addOkini"));
    m_m_addOkini->setText(QStringLiteral("お気に入りに追加(Ctrl+D)"));
    m_m_FileMenu->addAction(m_m_addOkini);
    m_m_rename = item(m_m_FileMenu, command::fileRename, "m_rename", QStringLiteral("名前を変更(F2)"),
                    &FilePage::m_rename_Click);
    m_m_FileMenu->addSeparator();
    m_m_propaty = item(m_m_FileMenu, command::fileProperties, "m_propaty", QStringLiteral("プロパティ"),
                     &FilePage::m_propaty_Click);
    m_m_FileMenu->addSeparator();
    m_m_info = item(m_m_FileMenu, command::fileInfo, "m_info", QString(), &FilePage::m_info_Click);
    // The single-file commands want one selected row of the list the popup is opened over
    // (the file list while it is shut).
    for (const QString &id : {command::fileRename, command::fileProperties, command::filePlay})
        commands.setEnabledRule(id, [this] { return m_menuTarget->selectedPaths().size() == 1; });

    m_m_tab = new QMenu(window);
    m_m_tab->setObjectName(QStringLiteral("m_tab"));
    commands.watch(m_m_tab);
    m_m_add_tab = item(m_m_tab, command::fileTabAdd, "m_add_tab", QStringLiteral("新規タブ追加"), &FilePage::m_add_tab_Click);
    m_m_del_tab = item(m_m_tab, command::fileTabDelete, "m_del_tab", QStringLiteral("選択しているタブ削除"),
                     &FilePage::m_del_tab_Click);
    m_m_change_name = item(m_m_tab, command::fileTabRename, "m_change_name", QStringLiteral("選択しているタブ名変更"),
                         &FilePage::m_change_name_Click);
    m_m_change_dir = item(m_m_tab, command::fileTabChangeFolder, "m_change_dir",
                        QStringLiteral("選択しているタブのディレクトリ変更"), &FilePage::m_change_dir_Click);
    m_m_custom_dir = commands.action(command::fileTabCustom);
    m_m_custom_dir->setObjectName(QStringLiteral("m_custom_dir"));
    m_m_custom_dir->setText(QStringLiteral("タブ位置の編集"));
    commands.setEnabledRule(command::fileTabCustom, [] { return false; }); // no list editor yet
    m_m_tab->addAction(m_m_custom_dir);

    connectHandlers();
}

FilePage::~FilePage() = default;

void FilePage::connectHandlers()
{
    // tabdir.ini soon after a tab changes (reading it is no change).
    m_tabsSave = new SaveSoon(
        [this] {
            saveTabDir();
            return true;
        },
        {}, this);
    connect(m_TabDir, &TabStrip::tabsChanged, this, [this] {
        if (!m_loadingTabs)
            m_tabsSave->changed();
    });
    connect(m_File, &FileListBox::click, this, &FilePage::File_Click);
    connect(m_File, &FileListBox::dblClick, this, &FilePage::File_DblClick);
    connect(m_File, &FileListBox::mouseMove, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPoint p) { File_MouseMove(p); });
    connect(m_File, &FileListBox::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) { File_MouseUp(b, p); });
    connect(m_File, &FileListBox::filesDropped, this, &FilePage::File_Drop);
    connect(m_File, &FileListBox::keyDown, this, &FilePage::focusVideo);
    connect(m_TabDir, &TabStrip::mouseDown, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
        if (b == Qt::RightButton)
            selectTabUnderPointer(m_TabDir, p);
    });
    connect(m_TabDir, &TabStrip::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { TabDir_MouseUp(b); });
    // What follows the popup runs once it has closed (popup() returns while it is open).
    // An item's command runs after the close, on the list the popup was opened over; that
    // list is forgotten only afterwards.
    connect(m_m_FileMenu, &QMenu::aboutToHide, this, [this] {
        for (QAction *a : {m_m_OpenDirectory, m_sep6, m_m_seen_load_file->menuAction()})
            a->setVisible(true);
        QMetaObject::invokeMethod(
            this,
            [this, popup = m_popups] {
                if (popup == m_popups) // not opened again meanwhile
                    m_menuTarget = m_fileTarget.get();
            },
            Qt::QueuedConnection);
    });
}

void FilePage::loadTabDir()
{
    const bool loading = std::exchange(m_loadingTabs, true);
    const QString current = m_TabDir->tag(1);
    m_TabDir->clear();
    m_TabDir->add(0, QString(), QStringLiteral("current"), current);
    if (const auto records = readTabFile(m_appDir + QStringLiteral("tabdir.ini"), m_appDir))
        for (const TabRecord &r : *records)
            m_TabDir->add(0, QString(), r.caption, r.tag);
    m_loadingTabs = loading;
}

void FilePage::stopSaving()
{
    m_tabsSave->stop();
}

void FilePage::saveTabDir()
{
    writeTabFile(m_appDir + QStringLiteral("tabdir.ini"), tabsFrom(m_TabDir), m_appDir, m_options.soutai(), true);
}

bool FilePage::setFilePath(const QString &folder)
{
    while (!m_File->setPath(folder)) {
        m_dialogs->beep();
        if (m_dialogs->message(m_window, QStringLiteral("デバイスの準備ができてません。 もう一度試しますか"), QString(),
                               Dialogs::Buttons::YesNo)
            != Dialogs::Answer::Yes)
            return false;
    }
    return true;
}

void FilePage::showFile(const QString &file)
{
    const QString name = file.mid(file.lastIndexOf(u'/') + 1);
    for (int row = 0; row < m_File->listCount(); ++row) {
        if (m_File->list(row) == name) {
            m_File->setListIndex(row);
            setListTopIndex(m_File, row);
            break;
        }
    }
}

QStringList FilePage::selectedNamesLastFirst() const
{
    QStringList names;
    for (int row = m_File->listCount() - 1; row >= 0; --row)
        if (m_File->item(row)->isSelected())
            names.append(m_File->list(row));
    return names;
}

void FilePage::File_Click()
{
    Q_EMIT pageWanted(1);
}

void FilePage::File_DblClick()
{
    m_media.openMedia(path::addbackslash(m_File->path()) + m_File->fileName(), 0);
}

bool fileRowNeedsToolTip(int textWidthTw, int listWidthTw, int listHeightTw, int rowHeightPx, int twipsPerPixelY,
                         int rows)
{
    int available = listWidthTw - 60;
    const int rowTw = rowHeightPx * twipsPerPixelY;
    const int visible = rowTw > 0 ? (listHeightTw - 40) / rowTw : rows;
    if (rows > visible)
        available -= 250;
    return textWidthTw > available;
}

void FilePage::File_MouseMove(QPoint pos)
{
    const QModelIndex idx = m_File->indexAt(pos);
    const int row = idx.isValid() ? idx.row() : -1;
    if (row < 0 || row >= m_File->listCount()) {
        m_File->setToolTip(QString());
        return;
    }
    const QString text = m_File->list(row);
    const int textTw = twips::fromPixelsX(m_File->fontMetrics().horizontalAdvance(text));
    const int rowPx = std::max(1, m_File->sizeHintForRow(0));
    if (fileRowNeedsToolTip(textTw, twips::width(m_File), twips::height(m_File), rowPx, myModule::twipsPerPixelY,
                            m_File->listCount()))
        m_File->setToolTip(text);
    else
        m_File->setToolTip(QString());
}

void FilePage::File_Drop(const QStringList &files)
{
    if (files.isEmpty())
        return;
    const QString file = files.first();
    if (!check_kakuchousi(path::getextension(file)))
        return;
    if (!m_File->setPath(path::getdirectory(file)))
        return;
    m_media.openMedia(file, 0);
    showFile(file);
}

void FilePage::File_MouseUp(Qt::MouseButton button, QPoint pos)
{
    if (button == Qt::LeftButton) {
        toggleDraggedRows(m_File, pos);
        return;
    }
    if (button != Qt::RightButton)
        return;
    selectRowForPopup(m_File, pos);
    popUpFileMenu(*m_fileTarget, QCursor::pos());
}

FileMenuTarget &FilePage::fileTarget()
{
    return *m_fileTarget;
}

FileMenuTarget &FilePage::menuTarget()
{
    return *m_menuTarget;
}

void FilePage::popUpFileMenu(FileMenuTarget &target, QPoint globalPos)
{
    ++m_popups;
    m_menuTarget = &target;
    const QStringList paths = target.selectedPaths();
    const int count = static_cast<int>(paths.size());
    m_m_info->setText(items::informationLine(count > 0 ? totalFileSize(paths) : 0, count));
    const bool results = target.kind() == FileMenuTarget::Kind::SearchResults;
    // The folder choice and the scenes belong to the file list.
    for (QAction *a : {m_m_OpenDirectory, m_sep6, m_m_seen_load_file->menuAction()})
        a->setVisible(!results);
    if (!results)
        Q_EMIT sceneMenuWanted(target.selectedPath());
    m_m_FileMenu->popup(globalPos);
}

void FilePage::m_filePlay_Click()
{
    playSelected(*m_menuTarget);
}

void FilePage::m_rename_Click()
{
    renameSelected(*m_menuTarget);
}

void FilePage::m_propaty_Click()
{
    showProperties(*m_menuTarget);
}

void FilePage::m_info_Click()
{
    openFileFolder();
}

void FilePage::playSelected(FileMenuTarget &target)
{
    const QString file = target.selectedPath();
    if (!file.isEmpty())
        m_media.openMedia(file, 0);
}

void FilePage::renameSelected(FileMenuTarget &target)
{
    const QString file = target.selectedPath();
    if (file.isEmpty())
        return;
    const qsizetype slash = file.lastIndexOf(u'/');
    const QString folder = file.left(slash + 1);
    const QString name = file.mid(slash + 1);
    const QString renamedTo = renameFileAsked(*m_dialogs, m_window, m_topmost, m_media, folder, name);
    if (!renamedTo.isEmpty())
        target.renamed(file, renamedTo);
}

void FilePage::showProperties(FileMenuTarget &target)
{
    const QString file = target.selectedPath();
    if (file.isEmpty())
        return;
    // Where no file manager shows the properties, the file's folder is opened instead.
    std::weak_ptr<DesktopShell> shell = m_shell;
    const QString folder = path::getdirectory(file);
    m_shell->showItemProperties(file, [shell, folder] {
        if (const auto s = shell.lock())
            s->openFolder(folder);
    });
}

void FilePage::openFileFolder()
{
    m_shell->openFolder(m_File->path());
}

void FilePage::TabDir_MouseUp(Qt::MouseButton button)
{
    const QString before = m_File->path();
    if (!m_File->setPath(m_TabDir->tag(m_TabDir->selectedIndex()))) {
        m_dialogs->message(m_window, QStringLiteral("アクセスに失敗しました"), QString(), Dialogs::Buttons::Ok);
        m_File->setPath(before);
    }
    if (button == Qt::RightButton)
        m_m_tab->popup(QCursor::pos());
}

void FilePage::m_add_tab_Click()
{
    const QString folder = browseForFolderWithCallback(
        *m_dialogs, m_window, QStringLiteral("タブに追加するフォルダを選択してください"), m_File->path(), 16);
    if (folder.isEmpty())
        return;
    for (int i = 2; i <= m_TabDir->count(); ++i)
        if (sameFolder(m_TabDir->tag(i), folder))
            return;
    if (!m_File->setPath(folder))
        return;
    const int at =
        m_TabDir->add(m_TabDir->selectedIndex() + 1, QString(), path::getfiletitle(path::removebackslash(folder)), folder);
    m_TabDir->select(at);
}

void FilePage::m_del_tab_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, m_TabDir, QStringLiteral("currentを削除できません"),
                        QStringLiteral("削除不可")))
        return;
    m_TabDir->remove(m_TabDir->selectedIndex());
}

void FilePage::m_change_name_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, m_TabDir, QStringLiteral("currentのタブ名は変更できません"),
                        QStringLiteral("タブ名変更不可")))
        return;
    const QString name = askTabName(*m_dialogs, m_window, m_topmost, m_TabDir);
    if (!name.isEmpty())
        m_TabDir->setCaption(m_TabDir->selectedIndex(), name);
}

void FilePage::m_change_dir_Click()
{
    const QString folder = browseForFolderWithCallback(
        *m_dialogs, m_window, QStringLiteral("変更するフォルダを選択してください"), m_File->path(), 16);
    if (folder.isEmpty() || !m_File->setPath(folder))
        return;
    m_TabDir->setTag(m_TabDir->selectedIndex(), folder);
}

void FilePage::m_OpenDirectory_Click()
{
    const QString folder = browseForFolderWithCallback(*m_dialogs, m_window,
                                                       QStringLiteral("フォルダを選択してください"), m_File->path(), 16);
    if (folder.isEmpty())
        return; // a cancelled browser asks for nothing
    setFilePath(folder);
    m_TabDir->select(1);
}

// ---- config.ini

void FilePage::restoreConfig(const ConfigValues &c, const QString &appDir)
{
    const QString last = platform::entryExists(c.LastDir) ? c.LastDir : appDir;
    const QString start = c.use_homedir == 1 ? (platform::folderExists(c.homeDir) ? c.homeDir : appDir) : last;
    if (m_File->setPath(start)) {
        m_TabDir->setTag(1, start);
    } else {
        m_File->setPath(appDir);
        m_TabDir->setTag(1, appDir);
    }
}

void FilePage::saveConfig(ConfigValues &c) const
{
    c.LastDir = m_TabDir->tag(1);
}
