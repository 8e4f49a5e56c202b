#include "lists/favourites_page.h"

#include "app/images.h"
#include "app/options.h"
#include "app/timer.h"
#include "dialogs/file_dialogs.h"
#include "lists/extensions.h"
#include "lists/file_page.h"
#include "lists/list_file.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/path.h"
#include "lists/progress_view.h"
#include "lists/tab_files.h"
#include "lists/tab_strip.h"
#include "platform/text_file.h"
#include "playback/media_commands.h"
#include "window/twips.h"
#include "window/window_modes.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>

FavouritesPage::FavouritesPage(QWidget *window, std::shared_ptr<Dialogs> dialogs, QString appDir, Options &options,
                               MediaCommands &media, TopmostSwitch &topmost, ProgressView &progress)
    : QObject(window), Image_okini(std::make_unique<ImageList>()), m_window(window), m_dialogs(std::move(dialogs)),
      m_appDir(std::move(appDir)), m_options(options), m_media(media), m_topmost(topmost), m_progress(progress)
{
    TabM3u = new TabStrip(TabStrip::Edge::Bottom, window);
    TabM3u->setObjectName(QStringLiteral("TabM3u"));
    twips::place(TabM3u, 5160, 0, 4935, 7400);
    TabM3u->add(0, QString(), QStringLiteral("お気に入り"));
    TabM3u->hide();

    List_okini = new OkiniList(window);
    List_okini->setObjectName(QStringLiteral("List_okini"));
    List_okini->setColors(QColor(119, 150, 230), QColor(0, 0, 0));
    List_okini->setIconSize(QSize(thumbWidth, thumbHeight));
    twips::place(List_okini, 5160, 0, 4935, 7000);
    List_okini->hide();

    NoImage = images::noImage();
    Pic_loading = images::loadingPicture();

    // The favourites popup; the item commands join it with the item menus.
    m_item = new QMenu(window);
    m_item->setObjectName(QStringLiteral("m_item"));
    m_seen_load_okini = m_item->addMenu(QStringLiteral("シーン"));
    m_seen_load_okini->setObjectName(QStringLiteral("m_seen_load_okini"));
    m_open_m3u = m_item->addAction(QStringLiteral("新規タブ追加"));
    m_save_m3u = m_item->addAction(QStringLiteral("m3uファイルを保存"));
    m_chage_list = m_item->addAction(QStringLiteral("サムネイル／リスト切り替え"));
    m_custom_list = m_item->addAction(QStringLiteral("リストの編集"));
    m_custom_list->setEnabled(false);

    m_tab_okini = new QMenu(window);
    m_tab_okini->setObjectName(QStringLiteral("m_tab_okini"));
    m_add_tab_okini = m_tab_okini->addAction(QStringLiteral("新規タブ追加"));
    m_del_tab_okini = m_tab_okini->addAction(QStringLiteral("選択しているタブ削除"));
    m_change_name_okini = m_tab_okini->addAction(QStringLiteral("選択しているタブ名変更"));
    m_change_m3u = m_tab_okini->addAction(QStringLiteral("選択しているタブのM3uファイル変更"));
    m_tab_custom = m_tab_okini->addAction(QStringLiteral("タブ位置の編集"));
    m_tab_custom->setEnabled(false);

    tmr_okini = new Timer(this);
    tmr_okini->setInterval(50);

    connectHandlers();
}

FavouritesPage::~FavouritesPage() = default;

void FavouritesPage::connectHandlers()
{
    connect(List_okini, &OkiniList::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { List_okini_MouseDown(b); });
    connect(List_okini, &OkiniList::itemClick, this, [this] { okiniItemClicked = true; });
    connect(List_okini, &OkiniList::click, this, &FavouritesPage::List_okini_Click);
    connect(List_okini, &OkiniList::dblClick, this, &FavouritesPage::List_okini_DblClick);
    connect(List_okini, &OkiniList::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { List_okini_MouseUp(b); });
    connect(TabM3u, &TabStrip::mouseDown, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
        if (b == Qt::RightButton)
            selectTabUnderPointer(TabM3u, p);
    });
    connect(TabM3u, &TabStrip::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { TabM3u_MouseUp(b); });
    connect(m_add_tab_okini, &QAction::triggered, this, &FavouritesPage::m_add_tab_okini_Click);
    connect(m_del_tab_okini, &QAction::triggered, this, &FavouritesPage::m_del_tab_okini_Click);
    connect(m_change_name_okini, &QAction::triggered, this, &FavouritesPage::m_change_name_okini_Click);
    connect(m_change_m3u, &QAction::triggered, this, &FavouritesPage::m_change_m3u_Click);
    connect(m_open_m3u, &QAction::triggered, this, &FavouritesPage::m_open_m3u_Click);
    connect(m_save_m3u, &QAction::triggered, this, &FavouritesPage::m_save_m3u_Click);
    connect(m_chage_list, &QAction::triggered, this, &FavouritesPage::m_chage_list_Click);
    connect(tmr_okini, &QTimer::timeout, this, &FavouritesPage::tmr_okini_Timer);

    connect(&m_loader, &ListLoader::progressStarted, this, [this](int total) { m_progress.showProgress(total); });
    connect(&m_loader, &ListLoader::progressed, this, [this](int done) { m_progress.setProgress(done); });
    connect(&m_loader, &ListLoader::finished, this, [this] {
        m_progress.hideProgress();
        m_progress.setProgressText(QString());
    });
}

// ---- The list and its files

void FavouritesPage::load_okini(const QString &listFile)
{
    completeOkiniLoad(); // a list still loading is read to its end first
    gStrM3uName = listFile;
    m_loader.load(listFile, [this](const QString &folder, const QString &name) { add_okini_item(folder, name); });
}

void FavouritesPage::save_okini(const QString &listFile)
{
    if (listFile.isEmpty())
        return; // no list was ever loaded: nothing may be written over okini.ini
    if (m_loader.file() == listFile)
        completeOkiniLoad(); // a half-read list never replaces the whole one
    const QString listFolder = path::getdirectory(listFile);
    const bool relative = m_options.soutai();
    QStringList lines;
    lines.reserve(List_okini->count());
    for (int i = 1; i <= List_okini->count(); ++i) {
        if (const auto line = listFileLine(List_okini->folder(i), List_okini->text(i), listFolder, relative))
            lines.append(*line);
    }
    // The whole list goes to a temporary file that then replaces the old one, so an error
    // while writing leaves the old list as it was.
    platform::writeTextLines(listFile, lines);
}

void FavouritesPage::del_all_list()
{
    if (m_loader.isLoading()) {
        m_loader.cancel(); // the list is replaced: the rest of a load is not wanted
        m_progress.hideProgress();
    }
    // Every entry and every picture goes, as removing them one by one from the last would.
    List_okini->setIcons(nullptr);
    List_okini->clear();
    Image_okini->clear();
    relink_okini_icons();
}

void FavouritesPage::set_image_dir(const QString &folder)
{
    imageDir = m_options.imageDirBesideFiles() ? path::addbackslash(folder) + QStringLiteral("image/")
                                               : m_appDir + QStringLiteral("image/");
}

void FavouritesPage::make_thumbnail(const QString &, double, const QString &)
{
    // Thumbnails are made from a frame of the file with the thumbnail work.
}

void FavouritesPage::add_okini_item(const QString &folder, const QString &name)
{
    if (!List_okini->isVisibleTo(m_window))
        m_progress.setProgressText(name + QStringLiteral("を追加しています・・・"));
    if (m_options.loadThumbnailsOff()) {
        List_okini->add(name, path::addbackslash(folder), 0);
        return;
    }
    set_image_dir(folder);
    const QString bitmap = path::addbackslash(imageDir) + path::getfiletitle(name) + QStringLiteral(".bmp");
    if (!QFileInfo::exists(bitmap) && can_make_thumbnail(path::getextension(name)))
        make_thumbnail(path::addbackslash(folder) + name, 0, bitmap);
    QPixmap picture;
    if (!QFileInfo::exists(bitmap) || !picture.load(bitmap))
        picture = NoImage;
    Image_okini->add(picture);
    const int before = List_okini->count();
    if (before == 0)
        List_okini->setIcons(Image_okini.get());
    List_okini->add(name, path::addbackslash(folder), before + 1);
}

void FavouritesPage::remove_okini_item(int i)
{
    if (i < 1 || i > List_okini->count())
        return;
    Image_okini->remove(i);
    List_okini->remove(i);
}

void FavouritesPage::relink_okini_icons()
{
    if (m_options.loadThumbnailsOff() || List_okini->count() == 0)
        return;
    List_okini->setIcons(Image_okini.get());
    for (int i = 1; i <= List_okini->count(); ++i)
        List_okini->setIcon(i, i);
}

void FavouritesPage::setThumbnailView(int flag)
{
    thumbnailView = flag;
    List_okini->setThumbnails(flag == -1);
}

void FavouritesPage::m_chage_list_Click()
{
    setThumbnailView(~thumbnailView);
}

void FavouritesPage::Check_loadthum_Click()
{
    if (m_options.loadThumbnailsOff()) {
        setThumbnailView(0);
        m_chage_list->setEnabled(false);
        return;
    }
    setThumbnailView(-1);
    m_chage_list->setEnabled(true);
    switchOkiniList(gStrM3uName); // rebuilt with thumbnails
}

void FavouritesPage::switchOkiniList(const QString &listFile)
{
    save_okini(gStrM3uName);
    del_all_list();
    load_okini(listFile);
}

int FavouritesPage::get_okini_index() const
{
    return List_okini->selectedIndex();
}

void FavouritesPage::selectOkini(int i)
{
    List_okini->select(i);
}

QString FavouritesPage::okiniText(int i) const
{
    return List_okini->text(i);
}

void FavouritesPage::setOkiniText(int i, const QString &text)
{
    List_okini->setText(i, text);
}

void FavouritesPage::askRemoveMissing(const QString &path)
{
    if (m_dialogs->message(m_window, path + QStringLiteral("が存在しません 削除しますか?"), QString(),
                           Dialogs::Buttons::YesNo)
        != Dialogs::Answer::Yes)
        return;
    remove_okini_item(get_okini_index());
    relink_okini_icons();
}

FileDialogRequest m3uRequest(const QString &title, const QString &initialDir, int filterIndex)
{
    FileDialogRequest r;
    r.defaultExt = QStringLiteral("m3u");
    r.title = title;
    r.filter = QStringLiteral("m3u(*.m3u)|*.m3u");
    r.filterIndex = filterIndex;
    r.flags = 4;
    r.initialDir = initialDir;
    r.maxLength = 260;
    return r;
}

void FavouritesPage::m_save_m3u_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("m3uファイルに保存"), m_appDir, 1);
    if (showSaveFileDialog(*m_dialogs, m_window, r))
        save_okini(r.fullPath);
}

void FavouritesPage::m_open_m3u_Click()
{
    m_add_tab_okini_Click();
}

// ---- The list tabs

void FavouritesPage::loadTabM3u()
{
    TabM3u->clear();
    TabM3u->add(0, QString(), QStringLiteral("お気に入り"), m_appDir + QStringLiteral("okini.ini"));
    if (const auto records = readTabFile(m_appDir + QStringLiteral("TabM3u.ini"), m_appDir))
        for (const TabRecord &r : *records)
            TabM3u->add(0, QString(), r.caption, r.tag);
}

void FavouritesPage::saveTabM3u()
{
    writeTabFile(m_appDir + QStringLiteral("TabM3u.ini"), tabsFrom(TabM3u), m_appDir, m_options.soutai(), false);
}

void FavouritesPage::TabM3u_MouseUp(Qt::MouseButton button)
{
    const QString tag = TabM3u->tag(TabM3u->selectedIndex());
    if (tag != gStrM3uName)
        switchOkiniList(tag);
    if (button == Qt::RightButton)
        m_tab_okini->popup(QCursor::pos());
}

void FavouritesPage::m_add_tab_okini_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("m3uファイルをタブに追加"), m_appDir, 1);
    if (!showOpenFileDialog(*m_dialogs, m_window, r))
        return;
    for (int i = 1; i <= TabM3u->count(); ++i)
        if (TabM3u->tag(i) == r.fullPath)
            return;
    // The list shown so far is kept in its own file before another one replaces it.
    switchOkiniList(r.fullPath);
    const int at = TabM3u->add(TabM3u->selectedIndex() + 1, QString(), path::getfiletitle(r.fullPath), r.fullPath);
    TabM3u->select(at);
}

void FavouritesPage::m_del_tab_okini_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, TabM3u, QStringLiteral("okini.iniを削除できません"),
                        QStringLiteral("削除不可")))
        return;
    TabM3u->remove(TabM3u->selectedIndex());
}

void FavouritesPage::m_change_name_okini_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, TabM3u, QStringLiteral("お気に入りのタブ名は変更できません"),
                        QStringLiteral("タブ名変更不可")))
        return;
    const QString name = askTabName(*m_dialogs, m_window, m_topmost, TabM3u);
    if (!name.isEmpty())
        TabM3u->setCaption(TabM3u->selectedIndex(), name);
}

void FavouritesPage::m_change_m3u_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("変更するm3uを選択"), QString(), 0);
    if (!showOpenFileDialog(*m_dialogs, m_window, r))
        return;
    switchOkiniList(r.fullPath);
    TabM3u->setTag(TabM3u->selectedIndex(), r.fullPath);
}

void FavouritesPage::tmr_okini_Timer()
{
    tmr_okini->setInterval(60000);
    List_okini->setBackgroundPicture(Pic_loading);
    QCoreApplication::processEvents();
    load_okini(TabM3u->tag(TabM3u->selectedIndex()));
    if (m_shutDown)
        return; // the window closed during the load: shutdown has saved everything
    tmr_okini->setEnabled(false);
    List_okini->setBackgroundPicture(QPixmap());
    m_options.setLoadThumbnailsOff(thumbnailView == -1);
}

bool FavouritesPage::firstLoadPending() const
{
    return tmr_okini->isActive();
}

void FavouritesPage::shutDown()
{
    m_shutDown = true;
}

// ---- The list's own events

void FavouritesPage::List_okini_MouseDown(Qt::MouseButton button)
{
    okiniLeftButton = button == Qt::LeftButton;
    okiniItemClicked = false;
}

void FavouritesPage::List_okini_Click()
{
    Q_EMIT pageWanted(2);
    const int i = get_okini_index();
    if (List_okini->count() > 0 && i > 0)
        m_media.resumeIfPaused(List_okini->folder(i) + List_okini->text(i));
}

void FavouritesPage::List_okini_DblClick()
{
    if (!okiniLeftButton || List_okini->count() == 0)
        return;
    const int i = get_okini_index();
    if (i > 0)
        m_media.openMedia(List_okini->folder(i) + List_okini->text(i), 0);
}

void FavouritesPage::List_okini_MouseUp(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    const int i = get_okini_index();
    Q_EMIT sceneMenuWanted(i > 0 ? List_okini->folder(i) + List_okini->text(i) : QString());
    m_item->popup(QCursor::pos());
}
