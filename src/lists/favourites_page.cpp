#include "lists/favourites_page.h"

#include "dialogs/file_dialogs.h"
#include "lists/extensions.h"
#include "lists/file_page.h"
#include "lists/form_open_image.h"
#include "lists/item_rules.h"
#include "lists/list_file.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/progress_view.h"
#include "lists/tab_files.h"
#include "lists/tab_strip.h"
#include "lists/thumbnail_maker.h"
#include "platform/path.h"
#include "platform/text_file.h"
#include "playback/media_commands.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/config_values.h"
#include "widgets/images.h"
#include "widgets/options.h"
#include "widgets/save_soon.h"
#include "widgets/timer.h"
#include "widgets/topmost_switch.h"
#include "widgets/twips.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <utility>

FavouritesPage::FavouritesPage(QWidget *window, Commands &commands, std::shared_ptr<Dialogs> dialogs, QString appDir,
                               Options &options, MediaCommands &media, TopmostSwitch &topmost, ProgressView &progress,
                               std::function<platform::FrameGrab(const QString &, double, int, int,
                                                                 const platform::GrabLimits &)>
                                   grabFrame)
    : QObject(window), m_window(window), m_commands(commands), m_dialogs(std::move(dialogs)),
      m_appDir(std::move(appDir)), m_options(options), m_media(media), m_topmost(topmost), m_progress(progress),
      m_Image_okini(std::make_unique<ImageList>())
{
    m_TabM3u = new TabStrip(TabStrip::Edge::Bottom, window);
    m_TabM3u->setObjectName(QStringLiteral("TabM3u"));
    twips::place(m_TabM3u, 5160, 0, 4935, 7400);
    m_TabM3u->add(0, QString(), QStringLiteral("お気に入り"));
    m_TabM3u->hide();

    m_List_okini = new OkiniList(window);
    m_List_okini->setObjectName(QStringLiteral("List_okini"));
    m_List_okini->setColors(QColor(119, 150, 230), QColor(0, 0, 0));
    m_List_okini->setIconSize(QSize(m_thumbWidth, m_thumbHeight));
    twips::place(m_List_okini, 5160, 0, 4935, 7000);
    m_List_okini->hide();

    m_NoImage = images::noImage();
    m_thumbnails = new ThumbnailMaker(m_NoImage.toImage(), this, std::move(grabFrame));
    connect(m_thumbnails, &ThumbnailMaker::thumbnailMade, this, &FavouritesPage::thumbnailMade);
    m_Pic_loading = images::loadingPicture();

    // The favourites popup: each item is a command.
    m_m_item = new QMenu(QStringLiteral("お気に入り"), window);
    m_m_item->setObjectName(QStringLiteral("m_item"));
    commands.watch(m_m_item);
    const auto item = [this, &commands](QMenu *menu, const QString &id, const char *name, const QString &caption,
                                        void (FavouritesPage::*handler)()) {
        QAction *a = commands.add(id, caption, [this, handler] { (this->*handler)(); });
        a->setObjectName(QString::fromLatin1(name));
        menu->addAction(a);
        return a;
    };
    m_m_item_play = item(m_m_item, command::okiniPlay, "m_item_play", QStringLiteral("再生(enter)"),
                       &FavouritesPage::m_item_play_Click);
    m_m_seen_load_okini = m_m_item->addMenu(QStringLiteral("シーン"));
    m_m_seen_load_okini->setObjectName(QStringLiteral("m_seen_load_okini"));
    m_m_renameOkini = item(m_m_item, command::okiniRename, "m_renameOkini", QStringLiteral("ファイル名を変更(F2)"),
                         &FavouritesPage::m_renameOkini_Click);
    m_m_item_del = item(m_m_item, command::deleteItems, "m_item_del", QStringLiteral("削除(Delete)"),
                      &FavouritesPage::m_item_del_Click);
    m_m_item->addSeparator();
    m_m_custom_list = commands.action(command::okiniCustomList);
    m_m_custom_list->setObjectName(QStringLiteral("m_custom_list"));
    m_m_custom_list->setText(QStringLiteral("リスト位置編集"));
    commands.setEnabledRule(command::okiniCustomList, [] { return false; }); // no list editor yet
    m_m_item->addAction(m_m_custom_list);
    m_m_item->addSeparator();
    m_m_OpenImageFile = item(m_m_item, command::okiniThumbnail, "m_OpenImageFile", QStringLiteral("サムネイル画像の選択"),
                           &FavouritesPage::m_OpenImageFile_Click);
    m_m_chage_list = item(m_m_item, command::okiniView, "m_chage_list", QStringLiteral("サムネイル／リスト切り替え"),
                        &FavouritesPage::m_chage_list_Click);
    m_mDeleteAll = item(m_m_item, command::okiniDeleteAll, "mDeleteAll", QStringLiteral("全て削除"),
                      &FavouritesPage::mDeleteAll_Click);
    m_m_item->addSeparator();
    m_m_open_m3u = item(m_m_item, command::okiniOpenM3u, "m_open_m3u", QStringLiteral("新規タブ追加"),
                      &FavouritesPage::m_open_m3u_Click);
    m_m_save_m3u = item(m_m_item, command::okiniSaveM3u, "m_save_m3u", QStringLiteral("m3uファイルを保存"),
                      &FavouritesPage::m_save_m3u_Click);
    m_m_item->addSeparator();
    m_m_info2 = item(m_m_item, command::okiniInfo, "m_info2", QString(), &FavouritesPage::m_info2_Click);
    // The entries' commands need entries; the view switches while thumbnails are loaded.
    for (const QString &id : {command::okiniPlay, command::deleteItems, command::okiniRename, command::okiniThumbnail,
                              command::okiniDeleteAll, command::okiniSaveM3u})
        commands.setEnabledRule(id, [this] { return m_List_okini->count() > 0; });
    commands.setEnabledRule(command::okiniView, [this] { return m_viewSwitchable; });

    m_m_tab_okini = new QMenu(window);
    m_m_tab_okini->setObjectName(QStringLiteral("m_tab_okini"));
    commands.watch(m_m_tab_okini);
    m_m_add_tab_okini = item(m_m_tab_okini, command::okiniTabAdd, "m_add_tab_okini", QStringLiteral("新規タブ追加"),
                           &FavouritesPage::m_add_tab_okini_Click);
    m_m_del_tab_okini = item(m_m_tab_okini, command::okiniTabDelete, "m_del_tab_okini",
                           QStringLiteral("選択しているタブ削除"), &FavouritesPage::m_del_tab_okini_Click);
    m_m_change_name_okini = item(m_m_tab_okini, command::okiniTabRename, "m_change_name_okini",
                               QStringLiteral("選択しているタブ名変更"), &FavouritesPage::m_change_name_okini_Click);
    m_m_change_m3u = item(m_m_tab_okini, command::okiniTabChangeM3u, "m_change_m3u",
                        QStringLiteral("選択しているタブのM3uファイル変更"), &FavouritesPage::m_change_m3u_Click);
    m_m_tab_custom = commands.action(command::okiniTabCustom);
    m_m_tab_custom->setObjectName(QStringLiteral("m_tab_custom"));
    m_m_tab_custom->setText(QStringLiteral("タブ位置の編集"));
    commands.setEnabledRule(command::okiniTabCustom, [] { return false; }); // no list editor yet
    m_m_tab_okini->addAction(m_m_tab_custom);

    m_tmr_okini = new Timer(this);
    m_tmr_okini->setInterval(50);

    connectHandlers();
}

FavouritesPage::~FavouritesPage() = default;

Form_OpenImage *FavouritesPage::chooser() const { return m_chooser; }

void FavouritesPage::connectHandlers()
{
    // The list and the tabs are saved soon after each change (a burst is one save).
    m_listSave = new SaveSoon([this] { return writeList(m_gStrM3uName); }, [this] { return listBusy(); }, this);
    m_tabsSave = new SaveSoon(
        [this] {
            saveTabM3u();
            return true;
        },
        {}, this);
    OkiniModel *model = m_List_okini->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &FavouritesPage::listChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &FavouritesPage::listChanged);
    connect(model, &QAbstractItemModel::modelReset, this, &FavouritesPage::listChanged);
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                if (!roles.contains(Qt::DecorationRole)) // a picture is no change of the list
                    listChanged();
            });
    connect(m_TabM3u, &TabStrip::tabsChanged, this, [this] {
        if (!m_replacingList)
            m_tabsSave->changed();
    });
    connect(m_List_okini, &OkiniList::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { List_okini_MouseDown(b); });
    connect(m_List_okini, &OkiniList::itemClick, this, [this] { m_okiniItemClicked = true; });
    connect(m_List_okini, &OkiniList::click, this, &FavouritesPage::List_okini_Click);
    connect(m_List_okini, &OkiniList::dblClick, this, &FavouritesPage::List_okini_DblClick);
    connect(m_List_okini, &OkiniList::filesDropped, this,
            [this](const QStringList &files, QPoint) { List_okini_OLEDragDrop(files); });
    connect(m_List_okini, &OkiniList::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) { List_okini_MouseUp(b, p); });
    connect(m_TabM3u, &TabStrip::mouseDown, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
        if (b == Qt::RightButton)
            selectTabUnderPointer(m_TabM3u, p);
    });
    connect(m_TabM3u, &TabStrip::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { TabM3u_MouseUp(b); });
    // What follows the popup runs once it has closed (popup() returns while it is open),
    // after the command chosen in it.
    connect(m_m_item, &QMenu::aboutToHide, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_okiniItemClicked = false;
                if (m_thumbnailView == OkiniView::Report)
                    Q_EMIT focusVideo();
            },
            Qt::QueuedConnection);
    });
    connect(m_tmr_okini, &QTimer::timeout, this, &FavouritesPage::tmr_okini_Timer);

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
    m_gStrM3uName = listFile;
    const bool replacing = std::exchange(m_replacingList, true); // reading is no change
    m_loader.load(listFile, [this](const QString &folder, const QString &name) { add_okini_item(folder, name); });
    m_replacingList = replacing;
}

void FavouritesPage::save_okini(const QString &listFile)
{
    completeAdd(); // files still being added belong to the list
    if (listFile.isEmpty())
        return; // no list was ever loaded: nothing may be written over okini.ini
    if (m_loader.file() == listFile)
        completeOkiniLoad(); // a half-read list never replaces the whole one
    writeList(listFile);
}

bool FavouritesPage::writeList(const QString &listFile)
{
    QList<ListEntry> entries;
    entries.reserve(m_List_okini->count());
    for (int i = 1; i <= m_List_okini->count(); ++i)
        entries.append({m_List_okini->folder(i), m_List_okini->text(i)});
    // The whole list goes to a temporary file that then replaces the old one, so an error
    // while writing leaves the old list as it was.
    return platform::writeFileAtomically(listFile,
                                         formatListFile(entries, path::getdirectory(listFile), m_options.soutai()));
}

bool FavouritesPage::listBusy() const
{
    // Never before the first load has ended, nor while a list is read: a half-read list
    // never replaces the whole one. An add under way is saved as far as it has come.
    return firstLoadPending() || m_loader.isLoading() || m_gStrM3uName.isEmpty();
}

void FavouritesPage::listChanged()
{
    if (!m_replacingList && !m_loader.isLoading())
        m_listSave->changed();
}

void FavouritesPage::del_all_list()
{
    if (m_loader.isLoading()) {
        m_loader.cancel(); // the list is replaced: the rest of a load is not wanted
        m_progress.hideProgress();
    }
    m_thumbnails->cancelAll(); // the pictures of the list that goes are not wanted
    m_waitingFor.clear();
    // Every entry and every picture goes, as removing them one by one from the last would.
    m_List_okini->setIcons(nullptr);
    m_List_okini->clear();
    m_Image_okini->clear();
    relink_okini_icons();
}

void FavouritesPage::set_image_dir(const QString &folder)
{
    m_imageDir = m_options.imageDirBesideFiles() ? path::addbackslash(folder) + QStringLiteral("image/")
                                               : m_appDir + QStringLiteral("image/");
}

QString FavouritesPage::existingThumbnailOf(const QString &mediaFile) const
{
    if (mediaFile.isEmpty())
        return {};
    const QString folder = path::getdirectory(mediaFile);
    const QString images = m_options.imageDirBesideFiles() ? path::addbackslash(folder) + QStringLiteral("image/")
                                                           : m_appDir + QStringLiteral("image/");
    const QString bitmap = images + path::getfiletitle(mediaFile) + QStringLiteral(".bmp");
    return QFileInfo(bitmap).isFile() ? bitmap : QString();
}

void FavouritesPage::make_thumbnail(const QString &mediaFile, double position, const QString &bitmap,
                                    bool keepExisting)
{
    QStringList &waiting = m_waitingFor[bitmap];
    if (!waiting.contains(mediaFile))
        waiting.append(mediaFile);
    m_thumbnails->request(mediaFile, position, bitmap, ++m_thumbJobs, keepExisting);
}

void FavouritesPage::thumbnailMade(const ThumbnailResult &result)
{
    const QStringList waiting = m_waitingFor.take(result.bitmapPath);
    if (m_options.loadThumbnailsOff())
        return;
    const QPixmap picture = QPixmap::fromImage(result.image);
    const int n = std::min(m_List_okini->count(), m_Image_okini->count());
    // The entries that wait for this bitmap. Each search starts where the last picture went,
    // as results come in the order the entries were added: a long list costs one look per
    // entry, not a walk through the list. An entry removed meanwhile is simply not found.
    for (const QString &entry : waiting) {
        for (int k = 0; k < n; ++k) {
            const int i = (m_thumbHint - 1 + k) % n + 1;
            if (m_List_okini->folder(i) + m_List_okini->text(i) != entry || thumbnailFile(i) != result.bitmapPath)
                continue;
            m_Image_okini->replace(i, picture);
            m_List_okini->setIcon(i, i); // repaints that entry
            m_thumbHint = i;
            break;
        }
    }
}

void FavouritesPage::capture_thumbnail(int i, std::optional<double> position)
{
    if (i < 1 || i > m_List_okini->count())
        return;
    const QString file = m_List_okini->folder(i) + m_List_okini->text(i);
    if (position && QFileInfo(file).isFile() && can_make_thumbnail(path::getextension(file)))
        make_thumbnail(file, *position, thumbnailFile(i)); // the picture follows when it is made
    else
        refresh_okini(i);
    selectOkini(i);
}

QString FavouritesPage::thumbnailFile(int i)
{
    set_image_dir(m_List_okini->folder(i));
    return path::addbackslash(m_imageDir) + path::getfiletitle(m_List_okini->text(i)) + QStringLiteral(".bmp");
}

void FavouritesPage::refresh_okini(int i)
{
    if (i < 1 || i > m_List_okini->count())
        return;
    // Read through QImageReader, never QPixmap::load: its cache would give back the old
    // picture of a thumbnail rewritten within the same second.
    const QImage image = loadThumbnail(thumbnailFile(i));
    m_List_okini->setIcons(nullptr);
    m_Image_okini->remove(i);
    m_Image_okini->insert(i, image.isNull() ? m_NoImage : QPixmap::fromImage(image));
    relink_okini_icons();
    selectOkini(i);
}

void FavouritesPage::delete_thumbnail(int i)
{
    if (i < 1 || i > m_List_okini->count())
        return;
    const QString t = thumbnailFile(i);
    if (t.endsWith(QStringLiteral("bmp")) && QFileInfo::exists(t))
        QFile::remove(t);
}

void FavouritesPage::m_OpenImageFile_Click()
{
    const int i = get_okini_index();
    if (i < 1)
        return;
    if (m_chooser)
        m_chooser->close();
    const QString folder = QFileInfo(m_OpenImagePath).isDir() ? m_OpenImagePath : m_appDir;
    m_chooser = new Form_OpenImage(folder, thumbnailFile(i), m_window);
    // The entry the chooser was opened for is refreshed, whatever is selected by then.
    const QString entry = m_List_okini->folder(i) + m_List_okini->text(i);
    connect(m_chooser, &Form_OpenImage::saved, this, [this, entry] {
        for (int k = 1; k <= m_List_okini->count(); ++k)
            if (m_List_okini->folder(k) + m_List_okini->text(k) == entry) {
                refresh_okini(k);
                break;
            }
    });
    connect(m_chooser, &Form_OpenImage::closing, this, [this](const QString &f) { m_OpenImagePath = path::addbackslash(f); });
    m_chooser->show();
}

void FavouritesPage::add_okini_item(const QString &folder, const QString &name)
{
    if (!m_List_okini->isVisibleTo(m_window))
        m_progress.setProgressText(name + QStringLiteral("を追加しています・・・"));
    if (m_options.loadThumbnailsOff()) {
        m_List_okini->add(name, path::addbackslash(folder), 0);
        return;
    }
    set_image_dir(folder);
    const QString bitmap = path::addbackslash(m_imageDir) + path::getfiletitle(name) + QStringLiteral(".bmp");
    // The entry shows its thumbnail, or the placeholder until the thumbnail is made.
    QPixmap picture = m_NoImage;
    if (QFileInfo::exists(bitmap)) {
        const QImage image = loadThumbnail(bitmap);
        if (!image.isNull())
            picture = QPixmap::fromImage(image);
    } else if (can_make_thumbnail(path::getextension(name))) {
        make_thumbnail(path::addbackslash(folder) + name, 0, bitmap, true); // a chosen picture stays
    }
    m_Image_okini->add(picture);
    const int before = m_List_okini->count();
    if (before == 0)
        m_List_okini->setIcons(m_Image_okini.get());
    m_List_okini->add(name, path::addbackslash(folder), before + 1);
}

void FavouritesPage::remove_okini_item(int i)
{
    if (i < 1 || i > m_List_okini->count())
        return;
    m_Image_okini->remove(i);
    m_List_okini->remove(i);
}

void FavouritesPage::relink_okini_icons()
{
    if (m_options.loadThumbnailsOff() || m_List_okini->count() == 0)
        return;
    m_List_okini->setIcons(m_Image_okini.get());
    for (int i = 1; i <= m_List_okini->count(); ++i)
        m_List_okini->setIcon(i, i);
}

void FavouritesPage::setThumbnailView(OkiniView view)
{
    m_thumbnailView = view;
    m_List_okini->setThumbnails(view == OkiniView::Thumbnails);
}

void FavouritesPage::m_chage_list_Click()
{
    setThumbnailView(m_thumbnailView == OkiniView::Thumbnails ? OkiniView::Report : OkiniView::Thumbnails);
}

void FavouritesPage::Check_loadthum_Click()
{
    if (m_options.loadThumbnailsOff()) {
        setThumbnailView(OkiniView::Report);
        setViewSwitchable(false);
        return;
    }
    setThumbnailView(OkiniView::Thumbnails);
    setViewSwitchable(true);
    switchOkiniList(m_gStrM3uName); // rebuilt with thumbnails
}

void FavouritesPage::setViewSwitchable(bool on)
{
    m_viewSwitchable = on;
    m_commands.refresh();
}

void FavouritesPage::switchOkiniList(const QString &listFile)
{
    save_okini(m_gStrM3uName);
    const bool replacing = std::exchange(m_replacingList, true); // another list is shown: no change
    del_all_list();
    load_okini(listFile);
    m_replacingList = replacing;
    m_listSave->cancel(); // the list before was saved just now
}

int FavouritesPage::get_okini_index() const
{
    return m_List_okini->selectedIndex();
}

void FavouritesPage::selectOkini(int i)
{
    m_List_okini->select(i);
}

QString FavouritesPage::okiniText(int i) const
{
    return m_List_okini->text(i);
}

void FavouritesPage::setOkiniText(int i, const QString &text)
{
    m_List_okini->setText(i, text);
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
    const bool loading = std::exchange(m_replacingList, true);
    m_TabM3u->clear();
    m_TabM3u->add(0, QString(), QStringLiteral("お気に入り"), m_appDir + QStringLiteral("okini.ini"));
    if (const auto records = readTabFile(m_appDir + QStringLiteral("TabM3u.ini"), m_appDir))
        for (const TabRecord &r : *records)
            m_TabM3u->add(0, QString(), r.caption, r.tag);
    m_replacingList = loading;
}

void FavouritesPage::saveTabM3u()
{
    writeTabFile(m_appDir + QStringLiteral("TabM3u.ini"), tabsFrom(m_TabM3u), m_appDir, m_options.soutai(), false);
}

void FavouritesPage::TabM3u_MouseUp(Qt::MouseButton button)
{
    const QString tag = m_TabM3u->tag(m_TabM3u->selectedIndex());
    if (tag != m_gStrM3uName)
        switchOkiniList(tag);
    if (button == Qt::RightButton)
        m_m_tab_okini->popup(QCursor::pos());
}

void FavouritesPage::m_add_tab_okini_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("m3uファイルをタブに追加"), m_appDir, 1);
    if (!showOpenFileDialog(*m_dialogs, m_window, r))
        return;
    for (int i = 1; i <= m_TabM3u->count(); ++i)
        if (m_TabM3u->tag(i) == r.fullPath)
            return;
    // The list shown so far is kept in its own file before another one replaces it.
    switchOkiniList(r.fullPath);
    const int at = m_TabM3u->add(m_TabM3u->selectedIndex() + 1, QString(), path::getfiletitle(r.fullPath), r.fullPath);
    m_TabM3u->select(at);
}

void FavouritesPage::m_del_tab_okini_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, m_TabM3u, QStringLiteral("okini.iniを削除できません"),
                        QStringLiteral("削除不可")))
        return;
    m_TabM3u->remove(m_TabM3u->selectedIndex());
}

void FavouritesPage::m_change_name_okini_Click()
{
    if (firstTabRefused(*m_dialogs, m_window, m_TabM3u, QStringLiteral("お気に入りのタブ名は変更できません"),
                        QStringLiteral("タブ名変更不可")))
        return;
    const QString name = askTabName(*m_dialogs, m_window, m_topmost, m_TabM3u);
    if (!name.isEmpty())
        m_TabM3u->setCaption(m_TabM3u->selectedIndex(), name);
}

void FavouritesPage::m_change_m3u_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("変更するm3uを選択"), QString(), 0);
    if (!showOpenFileDialog(*m_dialogs, m_window, r))
        return;
    switchOkiniList(r.fullPath);
    m_TabM3u->setTag(m_TabM3u->selectedIndex(), r.fullPath);
}

void FavouritesPage::tmr_okini_Timer()
{
    m_tmr_okini->setInterval(60000);
    m_List_okini->setBackgroundPicture(m_Pic_loading);
    QCoreApplication::processEvents();
    load_okini(m_TabM3u->tag(m_TabM3u->selectedIndex()));
    if (m_shutDown)
        return; // the window closed during the load: shutdown has saved everything
    m_tmr_okini->setEnabled(false);
    m_List_okini->setBackgroundPicture(QPixmap());
    m_options.setLoadThumbnailsOff(m_thumbnailView == OkiniView::Thumbnails);
    Q_EMIT firstLoadEnded();
}

bool FavouritesPage::firstLoadPending() const
{
    return m_tmr_okini->isActive();
}

void FavouritesPage::shutDown()
{
    m_shutDown = true;
    m_listSave->stop();
    m_tabsSave->stop();
    m_thumbnails->shutdown();
    if (m_chooser)
        m_chooser->close();
}

// ---- Adding files

bool FavouritesPage::isListed(const QString &path) const
{
    for (int i = 1; i <= m_List_okini->count(); ++i)
        if (m_List_okini->folder(i) + m_List_okini->text(i) == path)
            return true;
    return false;
}

void FavouritesPage::add_okini_file(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return;
    const qsizetype slash = path.lastIndexOf(u'/', dot);
    if (slash < 0 || isListed(path))
        return;
    add_okini_item(path.left(slash), path.mid(slash + 1));
}

bool FavouritesPage::add_selected_files(const QString &folder, const QStringList &names)
{
    QList<std::pair<QString, QString>> entries;
    for (const QString &name : names)
        entries.append({folder, name});
    return add_selected_entries(entries);
}

bool FavouritesPage::add_selected_entries(const QList<std::pair<QString, QString>> &entries)
{
    if (m_shutDown || m_add || m_loader.isLoading())
        return false; // one add at a time
    if (entries.isEmpty())
        return true; // nothing selected: nothing added, no bar
    m_add = std::make_unique<PendingAdd>();
    for (const auto &[folder, name] : entries)
        m_add->entries.append({path::removebackslash(folder), name});
    m_add->id = ++m_adds;
    m_progress.showProgress(static_cast<int>(entries.size()));
    m_progress.setProgressText(QString());
    runAdd(true);
    return true;
}

void FavouritesPage::completeAdd()
{
    if (m_add)
        runAdd(false);
}

void FavouritesPage::runAdd(bool yielding)
{
    const std::uint64_t id = m_add->id;
    PendingAdd *add = m_add.get();
    QElapsedTimer slice;
    slice.start();
    while (add->next < add->entries.size()) {
        const auto &[folder, name] = add->entries.at(add->next++);
        if (!isListed(path::addbackslash(folder) + name)) {
            add_okini_item(folder, name);
            m_progress.setProgress(++add->added); // a file listed already does not count
        }
        if (yielding && slice.elapsed() > ListLoader::kSliceMs) {
            QCoreApplication::processEvents();
            // Meanwhile the add may have been completed (the list is being saved).
            if (!m_add || m_add->id != id)
                return;
            slice.restart();
        }
    }
    m_add.reset();
    m_progress.hideProgress();
    m_progress.setProgressText(QString());
}

void FavouritesPage::m_addOkiniForMenu_Click(const QString &playing)
{
    if (playing.isEmpty() || isListed(playing))
        return;
    add_okini_item(path::getdirectory(playing), playing.mid(playing.lastIndexOf(u'/') + 1));
}

void FavouritesPage::List_okini_OLEDragDrop(const QStringList &files)
{
    if (m_shutDown || m_add || m_loader.isLoading())
        return; // another add or load is under way: the drop is refused
    QStringList media;
    QString m3u;
    for (const QString &file : files) {
        const QString name = file.mid(file.lastIndexOf(u'/') + 1);
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot < 0 || !QFileInfo(file).isFile())
            continue; // no extension, or not a regular file (a folder x.avi)
        const QString ext = name.mid(dot + 1);
        if (check_kakuchousi(ext)) {
            media.append(file);
        } else if (ext.compare(u"m3u", Qt::CaseInsensitive) == 0) {
            m3u = file;
            break; // the m3u ends the drop
        }
    }
    // The media files before any m3u, in the dropped order, one folder at a time.
    qsizetype i = 0;
    while (i < media.size()) {
        const QString folder = path::getdirectory(media.at(i));
        QStringList names;
        while (i < media.size() && path::getdirectory(media.at(i)) == folder) {
            names.append(media.at(i).mid(folder.size() + 1));
            ++i;
        }
        add_selected_files(folder, names);
        if (m_shutDown)
            return; // the window closed while the files were added
    }
    if (m3u.isEmpty() || m_shutDown)
        return;
    if (m_List_okini->count() > 0) {
        const auto answer =
            m_dialogs->message(m_window, QStringLiteral("m3uファイルを追加します。現在のリストをクリアしますか？"),
                               QStringLiteral("m3uファイルをロード"), Dialogs::Buttons::YesNo);
        // The list shown is kept in its own file first, as a tab switch keeps it, or the
        // entries added since it was loaded would be lost.
        save_okini(m_gStrM3uName);
        if (answer == Dialogs::Answer::Yes)
            del_all_list();
    }
    load_okini(m3u);
}

// ---- The list's own events

void FavouritesPage::List_okini_MouseDown(Qt::MouseButton button)
{
    m_okiniLeftButton = button == Qt::LeftButton;
    m_okiniItemClicked = false;
}

void FavouritesPage::List_okini_Click()
{
    Q_EMIT pageWanted(2);
    const int i = get_okini_index();
    if (m_List_okini->count() > 0 && i > 0)
        m_media.resumeIfPaused(m_List_okini->folder(i) + m_List_okini->text(i));
}

void FavouritesPage::List_okini_DblClick()
{
    if (!m_okiniLeftButton || m_List_okini->count() == 0)
        return;
    const int i = get_okini_index();
    if (i > 0)
        m_media.openMedia(m_List_okini->folder(i) + m_List_okini->text(i), 0);
}

void FavouritesPage::List_okini_MouseUp(Qt::MouseButton button, QPoint pos)
{
    if (button != Qt::RightButton)
        return;
    const int under = m_List_okini->entryAt(pos);
    if (under > 0 && !m_List_okini->isSelected(under))
        m_List_okini->select(under);

    const bool any = m_List_okini->count() > 0;
    QStringList files;
    for (int i : m_List_okini->selectedIndexes())
        files.append(m_List_okini->folder(i) + m_List_okini->text(i));
    const int count = static_cast<int>(files.size());
    m_m_info2->setText(any ? items::informationLine(count > 0 ? totalFileSize(files) : 0, count) : QString());
    // The scenes are those of a single selected entry.
    Q_EMIT sceneMenuWanted(count == 1 ? files.first() : QString());
    m_m_item->popup(QCursor::pos());
}

void FavouritesPage::m_item_play_Click()
{
    m_okiniLeftButton = true;
    List_okini_DblClick();
}

void FavouritesPage::m_renameOkini_Click()
{
    const int i = get_okini_index();
    if (i < 1)
        return;
    const QString folder = m_List_okini->folder(i);
    const QString name = m_List_okini->text(i);
    const QString renamed = renameFileAsked(*m_dialogs, m_window, m_topmost, m_media, folder, name);
    if (renamed.isEmpty())
        return;
    // The entry is found again: the list may have changed while the question was open.
    const auto isEntry = [&](int k) { return m_List_okini->folder(k) == folder && m_List_okini->text(k) == name; };
    int at = isEntry(i) ? i : 0;
    for (int k = 1; at == 0 && k <= m_List_okini->count(); ++k)
        if (isEntry(k))
            at = k;
    if (at > 0)
        setOkiniText(at, renamed);
}

void FavouritesPage::m_item_del_Click()
{
    const QList<int> selected = m_List_okini->selectedIndexes();
    m_List_okini->setIcons(nullptr);
    int lowest = 0;
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) {
        delete_thumbnail(*it);
        remove_okini_item(*it);
        lowest = *it;
    }
    relink_okini_icons();
    const int next = items::selectionAfterDelete(lowest, m_List_okini->count());
    if (next > 0)
        selectOkini(next);
}

void FavouritesPage::mDeleteAll_Click()
{
    if (m_dialogs->message(m_window, QStringLiteral("全てのアイテムを削除しますか？"),
                           QStringLiteral("全て削除しますか？"), Dialogs::Buttons::YesNo)
        == Dialogs::Answer::Yes)
        del_all_list();
}

void FavouritesPage::m_info2_Click()
{
    Q_EMIT fileFolderWanted();
}

void FavouritesPage::move_okini_item(int a, int b)
{
    const int n = m_List_okini->count();
    // Both positions are checked first: a target out of range would drop the entry.
    if (a < 1 || a > n || b < 1 || b > n)
        return;
    const QString folder = m_List_okini->folder(a);
    const QString name = m_List_okini->text(a);
    const bool wasSelected = m_List_okini->isSelected(a);
    m_List_okini->setIcons(nullptr);
    remove_okini_item(a);
    if (m_options.loadThumbnailsOff()) {
        m_List_okini->insert(b, name, folder, 0);
    } else {
        set_image_dir(folder);
        const QImage image =
            loadThumbnail(path::addbackslash(m_imageDir) + path::getfiletitle(name) + QStringLiteral(".bmp"));
        m_Image_okini->insert(b, image.isNull() ? m_NoImage : QPixmap::fromImage(image));
        m_List_okini->setIcons(m_Image_okini.get());
        m_List_okini->insert(b, name, folder, b);
        relink_okini_icons();
    }
    if (wasSelected)
        selectOkini(b);
}

// ---- config.ini

void FavouritesPage::restoreConfig(const ConfigValues &c)
{
    m_OpenImagePath = c.ImageDir;
    setThumbnailView(c.load_thumbnail != 0 ? OkiniView::Thumbnails : OkiniView::Report);
    setViewSwitchable(c.load_thumbnail != 0);
}

void FavouritesPage::saveConfig(ConfigValues &c) const
{
    c.ImageDir = m_OpenImagePath;
    const bool off = firstLoadPending() ? m_thumbnailView == OkiniView::Thumbnails : m_options.loadThumbnailsOff();
    c.load_thumbnail = off ? 1 : 0;
}
