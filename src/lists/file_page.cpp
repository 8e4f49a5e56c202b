#include "lists/file_page.h"

#include "app/options.h"
#include "dialogs/file_dialogs.h"
#include "lists/extensions.h"
#include "lists/file_list_box.h"
#include "lists/list_pane.h"
#include "lists/media_types.h"
#include "lists/path.h"
#include "lists/tab_files.h"
#include "lists/tab_strip.h"
#include "platform/my_module.h"
#include "playback/media_commands.h"
#include "window/twips.h"
#include "window/window_modes.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace {

// Folders are compared exactly (the file system tells letter case apart), with or
// without their trailing "/".
bool sameFolder(const QString &a, const QString &b)
{
    return path::addbackslash(a) == path::addbackslash(b);
}

} // namespace

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

FilePage::FilePage(QWidget *window, std::shared_ptr<Dialogs> dialogs, QString appDir, const Options &options,
                   MediaCommands &media, TopmostSwitch &topmost)
    : QObject(window), m_window(window), m_dialogs(std::move(dialogs)), m_appDir(std::move(appDir)),
      m_options(options), m_media(media), m_topmost(topmost)
{
    // The lists are children of the window itself, laid over the pane.
    TabDir = new TabStrip(TabStrip::Edge::Bottom, window);
    TabDir->setObjectName(QStringLiteral("TabDir"));
    twips::place(TabDir, 5280, 2280, 2655, 375);
    TabDir->add(0, QString(), QStringLiteral("current"));

    File = new FileListBox(window);
    File->setObjectName(QStringLiteral("File"));
    File->setPattern(fileListPattern());
    setListColors(File);
    twips::place(File, 5160, 0, 4935, 7000);

    m_FileMenu = new QMenu(window);
    m_FileMenu->setObjectName(QStringLiteral("m_FileMenu"));
    m_addOkini = m_FileMenu->addAction(QStringLiteral("お気に入りに追加(Ctrl+D)"));
    m_OpenDirectory = m_FileMenu->addAction(QStringLiteral("currentディレクトリの変更(F4)"));

    m_tab = new QMenu(window);
    m_tab->setObjectName(QStringLiteral("m_tab"));
    m_add_tab = m_tab->addAction(QStringLiteral("新規タブ追加"));
    m_del_tab = m_tab->addAction(QStringLiteral("選択しているタブ削除"));
    m_change_name = m_tab->addAction(QStringLiteral("選択しているタブ名変更"));
    m_change_dir = m_tab->addAction(QStringLiteral("選択しているタブのディレクトリ変更"));
    m_custom_dir = m_tab->addAction(QStringLiteral("タブ位置の編集"));
    m_custom_dir->setEnabled(false); // the list editor comes later

    connectHandlers();
}

void FilePage::connectHandlers()
{
    connect(File, &FileListBox::click, this, &FilePage::File_Click);
    connect(File, &FileListBox::dblClick, this, &FilePage::File_DblClick);
    connect(File, &FileListBox::mouseMove, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPoint p) { File_MouseMove(p); });
    connect(File, &FileListBox::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { File_MouseUp(b); });
    connect(File, &FileListBox::filesDropped, this, &FilePage::File_Drop);
    connect(File, &FileListBox::keyDown, this, &FilePage::focusVideo);
    connect(TabDir, &TabStrip::mouseDown, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
        if (b == Qt::RightButton)
            selectTabUnderPointer(TabDir, p);
    });
    connect(TabDir, &TabStrip::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { TabDir_MouseUp(b); });
    connect(m_add_tab, &QAction::triggered, this, &FilePage::m_add_tab_Click);
    connect(m_del_tab, &QAction::triggered, this, &FilePage::m_del_tab_Click);
    connect(m_change_name, &QAction::triggered, this, &FilePage::m_change_name_Click);
    connect(m_change_dir, &QAction::triggered, this, &FilePage::m_change_dir_Click);
    connect(m_OpenDirectory, &QAction::triggered, this, &FilePage::m_OpenDirectory_Click);
    connect(m_addOkini, &QAction::triggered, this, &FilePage::addToFavourites);
}

void FilePage::loadTabDir()
{
    const QString current = TabDir->tag(1);
    TabDir->clear();
    TabDir->add(0, QString(), QStringLiteral("current"), current);
    if (const auto records = readTabFile(m_appDir + QStringLiteral("tabdir.ini"), m_appDir))
        for (const TabRecord &r : *records)
            TabDir->add(0, QString(), r.caption, r.tag);
}

void FilePage::saveTabDir()
{
    writeTabFile(m_appDir + QStringLiteral("tabdir.ini"), tabsFrom(TabDir), m_appDir, m_options.soutai(), true);
}

bool FilePage::setFilePath(const QString &folder)
{
    while (!File->setPath(folder)) {
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
    for (int row = 0; row < File->listCount(); ++row) {
        if (File->list(row) == name) {
            File->setListIndex(row);
            setListTopIndex(File, row);
            break;
        }
    }
}

QStringList FilePage::selectedNamesLastFirst() const
{
    QStringList names;
    for (int row = File->listCount() - 1; row >= 0; --row)
        if (File->item(row)->isSelected())
            names.append(File->list(row));
    return names;
}

void FilePage::File_Click()
{
    Q_EMIT pageWanted(1);
}

void FilePage::File_DblClick()
{
    m_media.openMedia(path::addbackslash(File->path()) + File->fileName(), 0);
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
    const QModelIndex idx = File->indexAt(pos);
    const int row = idx.isValid() ? idx.row() : -1;
    if (row < 0 || row >= File->listCount()) {
        File->setToolTip(QString());
        return;
    }
    const QString text = File->list(row);
    const int textTw = twips::fromPixelsX(File->fontMetrics().horizontalAdvance(text));
    const int rowPx = std::max(1, File->sizeHintForRow(0));
    if (fileRowNeedsToolTip(textTw, twips::width(File), twips::height(File), rowPx, myModule::twipsPerPixelY,
                            File->listCount()))
        File->setToolTip(text);
    else
        File->setToolTip(QString());
}

void FilePage::File_Drop(const QStringList &files)
{
    if (files.isEmpty())
        return;
    const QString file = files.first();
    if (!check_kakuchousi(path::getextension(file)))
        return;
    if (!File->setPath(path::getdirectory(file)))
        return;
    m_media.openMedia(file, 0);
    showFile(file);
}

void FilePage::File_MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        m_FileMenu->popup(QCursor::pos());
}

void FilePage::TabDir_MouseUp(Qt::MouseButton button)
{
    const QString before = File->path();
    if (!File->setPath(TabDir->tag(TabDir->selectedIndex()))) {
        m_dialogs->message(m_window, QStringLiteral("アクセスに失敗しました"), QString(), Dialogs::Buttons::Ok);
        File->setPath(before);
    }
    if (button == Qt::RightButton)
        m_tab->popup(QCursor::pos());
}

void FilePage::m_add_tab_Click()
{
    const QString folder = browseForFolderWithCallback(
        *m_dialogs, m_window, QStringLiteral("タブに追加するフォルダを選択してください"), File->path(), 16);
    if (folder.isEmpty())
        return;
    for (int i = 2; i <= TabDir->count(); ++i)
        if (sameFolder(TabDir->tag(i), folder))
            return;
    if (!File->setPath(folder))
        return;
    const int at =
        TabDir->add(TabDir->selectedIndex() + 1, QString(), path::getfiletitle(path::removebackslash(folder)), folder);
    TabDir->select(at);
}

void FilePage::m_del_tab_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, TabDir, QStringLiteral("currentを削除できません"),
                        QStringLiteral("削除不可")))
        return;
    TabDir->remove(TabDir->selectedIndex());
}

void FilePage::m_change_name_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, TabDir, QStringLiteral("currentのタブ名は変更できません"),
                        QStringLiteral("タブ名変更不可")))
        return;
    const QString name = askTabName(*m_dialogs, m_window, m_topmost, TabDir);
    if (!name.isEmpty())
        TabDir->setCaption(TabDir->selectedIndex(), name);
}

void FilePage::m_change_dir_Click()
{
    const QString folder = browseForFolderWithCallback(
        *m_dialogs, m_window, QStringLiteral("変更するフォルダを選択してください"), File->path(), 16);
    if (folder.isEmpty() || !File->setPath(folder))
        return;
    TabDir->setTag(TabDir->selectedIndex(), folder);
}

void FilePage::m_OpenDirectory_Click()
{
    const QString folder = browseForFolderWithCallback(*m_dialogs, m_window,
                                                       QStringLiteral("フォルダを選択してください"), File->path(), 16);
    if (folder.isEmpty())
        return; // a cancelled browser asks for nothing
    setFilePath(folder);
    TabDir->select(1);
}
