#pragma once
// The favourites page: the list tabs `TabM3u` with their file TabM3u.ini and menu
// `m_tab_okini`, the favourites list `List_okini` with its thumbnails `Image_okini` and
// menu `m_item`, the list file shown (`gStrM3uName`), and the deferred first load
// `tmr_okini`. Lists are read by a ListLoader, in slices.

#include "lists/list_loader.h"
#include "platform/media_detector.h"

#include <memory>
#include <optional>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

class Commands;
class SaveSoon;
struct ConfigValues;
class Dialogs;
class ThumbnailMaker;
struct ThumbnailResult;
class Form_OpenImage;
class ImageList;
class MediaCommands;
class OkiniList;
class Options;
class ProgressView;
class QAction;
class QMenu;
class QWidget;
class TabStrip;
class Timer;
class TopmostSwitch;
struct FileDialogRequest;

// How the favourites list shows its entries: names only (a two-column report), or as
// 100 × 75 thumbnails.
enum class OkiniView { Report, Thumbnails };

class FavouritesPage : public QObject
{
    Q_OBJECT
public:
    // `grabFrame` takes the video frames of the thumbnails (empty: FFmpeg).
    // The popup's and the tab menu's items are commands, registered here.
    FavouritesPage(QWidget *window, Commands &commands, std::shared_ptr<Dialogs> dialogs, QString appDir,
                   Options &options, MediaCommands &media, TopmostSwitch &topmost, ProgressView &progress,
                   std::function<platform::FrameGrab(const QString &, double, int, int, const platform::GrabLimits &)>
                       grabFrame = {});
    ~FavouritesPage() override;


    // Appends the existing entries of a list file and makes it the list shown. A long list
    // is read in slices with the window kept responsive and the progress shown.
    // config.ini: the thumbnail chooser's folder and the view (load_thumbnail). Until the
    // first list load has ended "サムネイルをロードしない" still stands at its design-time
    // value: the value saved then is the one the load will give it.
    void restoreConfig(const ConfigValues &c);
    void saveConfig(ConfigValues &c) const;
    // Where the thumbnail chooser opens; the thumbnails' folder of the entry being added.
    void setOpenImagePath(const QString &folder) { m_OpenImagePath = folder; }
    void setImageDir(const QString &folder) { m_imageDir = folder; }
    void load_okini(const QString &listFile);
    // Writes every entry to the list file, replacing it as a whole.
    void save_okini(const QString &listFile);
    void del_all_list();
    // Keeps the list shown in its own file, then shows another list file.
    void switchOkiniList(const QString &listFile);
    void add_okini_item(const QString &folder, const QString &name);
    void remove_okini_item(int i);
    void relink_okini_icons();
    void setThumbnailView(OkiniView view);
    void Check_loadthum_Click();
    // Whether "サムネイル／リスト切り替え" can be chosen (start-up sets it from config.ini).
    void setViewSwitchable(bool on);
    void m_save_m3u_Click();
    void m_open_m3u_Click();
    void m_chage_list_Click();
    // The folder of the thumbnails of media files in `folder` (into imageDir).
    void set_image_dir(const QString &folder);
    // Queues the thumbnail of a media file at a position (seconds) into the bitmap file; the
    // entries that show that bitmap get the picture when it is made.
    void make_thumbnail(const QString &mediaFile, double position, const QString &bitmap,
                        bool keepExisting = false);
    // The thumbnail of entry i anew from the frame at the position (the playing entry,
    // "capture"); without a frame to take, the entry's picture is read again.
    void capture_thumbnail(int i, std::optional<double> position);
    // The thumbnail file a media file's entries show (in the image folder the options give
    // for its folder); "" when there is none on disk.
    QString existingThumbnailOf(const QString &mediaFile) const;
    // The thumbnail file of entry i (its image folder made current first).
    QString thumbnailFile(int i);
    // Reloads entry i's picture from its thumbnail file and selects the entry.
    void refresh_okini(int i);
    // Deletes entry i's thumbnail file.
    void delete_thumbnail(int i);
    // "サムネイル画像の選択": the chooser for the selected entry.
    void m_OpenImageFile_Click();
    // True while a list file is still being read.
    bool isLoadingOkini() const { return m_loader.isLoading(); }
    // Reads the rest of a list that is still loading, at once.
    void completeOkiniLoad() { m_loader.complete(); }
    // The selected entry, 1-based; 0 when none.
    int get_okini_index() const;
    // Selects entry i (1-based), deselecting the one selected.
    void selectOkini(int i);
    // The text (file name) of entry i, and its replacement.
    QString okiniText(int i) const;
    void setOkiniText(int i, const QString &text);
    // A favourites entry whose file is gone: asks, and on yes removes the selected entry.
    void askRemoveMissing(const QString &path);

    void loadTabM3u();
    void saveTabM3u();
    void TabM3u_MouseUp(Qt::MouseButton button);
    void m_add_tab_okini_Click();
    void m_del_tab_okini_Click();
    void m_change_name_okini_Click();
    void m_change_m3u_Click();
    void tmr_okini_Timer();
    // Whether the deferred first load of the list has not yet ended.
    bool firstLoadPending() const;
    // The saves soon after a change, for the tests of the debounce.
    const SaveSoon *listSave() const { return m_listSave; }
    // The window closes: nothing loads or reloads after this.
    void shutDown();

    // ---- Adding files
    // Whether a file is listed already: an entry's folder and name give its path exactly.
    bool isListed(const QString &path) const;
    // Appends a file unless it is listed; split at the last "/" left of the last ".", so a
    // path with no "." is never added.
    void add_okini_file(const QString &path);
    // Appends the given names of one folder (visited as given), unless listed, in slices
    // with the progress shown. False when another add or a load is under way (refused).
    bool add_selected_files(const QString &folder, const QStringList &names);
    // The same for entries of several folders (folder, name), visited as given.
    bool add_selected_entries(const QList<std::pair<QString, QString>> &entries);
    // The playing file ("お気に入りに追加" in the video popup), unless listed.
    void m_addOkiniForMenu_Click(const QString &playing);
    // Files dropped on the list or on the page tabs: media files are added, an m3u file
    // is loaded (after asking whether the list is cleared first) and ends the drop.
    void List_okini_OLEDragDrop(const QStringList &files);
    // True while files are being added.
    bool isAdding() const { return m_add != nullptr; }
    // Adds the rest of an add under way at once (before the list is saved).
    void completeAdd();

    void List_okini_MouseDown(Qt::MouseButton button);
    void List_okini_Click();
    void List_okini_DblClick();
    // Right button: the entry under the pointer (`pos`, in the view's viewport) becomes the
    // only selection unless it is selected; then the popup is set up and opens.
    void List_okini_MouseUp(Qt::MouseButton button, QPoint pos = QPoint(-1, -1));

    // ---- The popup's commands
    // Plays the selected entry, as its double click does.
    void m_item_play_Click();
    // Renames the selected entry's file; the entry takes the new name.
    void m_renameOkini_Click();
    // Removes the selected entries with their thumbnail files.
    void m_item_del_Click();
    // Removes every entry after a question; the thumbnail files stay.
    void mDeleteAll_Click();
    // Opens the file page's folder.
    void m_info2_Click();
    // Moves entry a to position b (both 1-based, both within the list), with its picture.
    void move_okini_item(int a, int b);

    // ---- What other rooms read
    TabStrip *TabM3u() const { return m_TabM3u; }
    OkiniList *List_okini() const { return m_List_okini; }
    ImageList *Image_okini() const { return m_Image_okini.get(); }
    const QPixmap &NoImage() const { return m_NoImage; }
    const QPixmap &Pic_loading() const { return m_Pic_loading; }
    // The favourites popup, in its order: m_item_play, m_seen_load_okini, m_renameOkini,
    // m_item_del, -, m_custom_list, -, m_OpenImageFile, m_chage_list, mDeleteAll, -,
    // m_open_m3u, m_save_m3u, -, m_info2.
    QMenu *m_item() const { return m_m_item; }
    QAction *m_item_play() const { return m_m_item_play; }
    QMenu *m_seen_load_okini() const { return m_m_seen_load_okini; }
    QAction *m_renameOkini() const { return m_m_renameOkini; }
    QAction *m_item_del() const { return m_m_item_del; }
    QAction *m_custom_list() const { return m_m_custom_list; }
    QAction *m_OpenImageFile() const { return m_m_OpenImageFile; }
    QAction *m_chage_list() const { return m_m_chage_list; }
    QAction *mDeleteAll() const { return m_mDeleteAll; }
    QAction *m_open_m3u() const { return m_m_open_m3u; }
    QAction *m_save_m3u() const { return m_m_save_m3u; }
    QAction *m_info2() const { return m_m_info2; }
    QMenu *m_tab_okini() const { return m_m_tab_okini; }
    QAction *m_add_tab_okini() const { return m_m_add_tab_okini; }
    QAction *m_del_tab_okini() const { return m_m_del_tab_okini; }
    QAction *m_change_name_okini() const { return m_m_change_name_okini; }
    QAction *m_change_m3u() const { return m_m_change_m3u; }
    QAction *m_tab_custom() const { return m_m_tab_custom; }
    Timer *tmr_okini() const { return m_tmr_okini; }
    const QString &gStrM3uName() const { return m_gStrM3uName; }
    const QString &imageDir() const { return m_imageDir; }
    const QString &OpenImagePath() const { return m_OpenImagePath; }
    Form_OpenImage *chooser() const;
    OkiniView thumbnailView() const { return m_thumbnailView; }
    int thumbWidth() const { return m_thumbWidth; }
    int thumbHeight() const { return m_thumbHeight; }
    bool okiniLeftButton() const { return m_okiniLeftButton; }
    bool okiniItemClicked() const { return m_okiniItemClicked; }
    // The thumbnails being made.
    ThumbnailMaker *thumbnails() const { return m_thumbnails; }

Q_SIGNALS:
    // The page's tab should be selected (a click into the favourites list).
    void pageWanted(int index);
    // The popup `m_item` is about to open: its scene submenu is to be filled for this
    // entry (folder and name), or left empty when no entry is selected.
    void sceneMenuWanted(const QString &entryPath);
    // The deferred first load of the list has ended (the list shown is complete).
    void firstLoadEnded();
    // The popup closed over the report view: the video takes the focus.
    void focusVideo();
    // `m_info2` was chosen: the file page's folder is to be opened.
    void fileFolderWanted();

private:
    void connectHandlers();

    QWidget *m_window;
    Commands &m_commands;
    bool m_viewSwitchable = true;
    // The list shown and the tabs saved soon after a change; reading a list is none.
    bool writeList(const QString &listFile);
    bool listBusy() const;
    void listChanged();
    SaveSoon *m_listSave = nullptr;
    SaveSoon *m_tabsSave = nullptr;
    bool m_replacingList = false;
    std::shared_ptr<Dialogs> m_dialogs;
    QString m_appDir;
    Options &m_options;
    MediaCommands &m_media;
    TopmostSwitch &m_topmost;
    ProgressView &m_progress;
    ListLoader m_loader;
    bool m_shutDown = false;

    // An add under way: the entries left, read in slices like a list.
    struct PendingAdd
    {
        QList<std::pair<QString, QString>> entries; // folder, name
        qsizetype next = 0;
        int added = 0;
        std::uint64_t id = 0;
    };
    void runAdd(bool yielding);
    // A thumbnail was made: every entry that shows its bitmap gets the picture.
    void thumbnailMade(const ThumbnailResult &result);
    int m_thumbJobs = 0;
    // The entries (full paths) that wait for each bitmap being made.
    QHash<QString, QStringList> m_waitingFor;
    int m_thumbHint = 1; // where the last made picture's entry stood: results come in list order
    std::unique_ptr<PendingAdd> m_add;
    std::uint64_t m_adds = 0;

private:
    TabStrip *m_TabM3u = nullptr;
    OkiniList *m_List_okini = nullptr;
    std::unique_ptr<ImageList> m_Image_okini;
    QPixmap m_NoImage;
    QPixmap m_Pic_loading;
    // The favourites popup, in its order: m_item_play, m_seen_load_okini, m_renameOkini,
    // m_item_del, -, m_custom_list, -, m_OpenImageFile, m_chage_list, mDeleteAll, -,
    // m_open_m3u, m_save_m3u, -, m_info2.
    QMenu *m_m_item = nullptr;
    QAction *m_m_item_play = nullptr;
    QMenu *m_m_seen_load_okini = nullptr; // "シーン": the selected entry's scenes
    QAction *m_m_renameOkini = nullptr;
    QAction *m_m_item_del = nullptr;
    QAction *m_m_custom_list = nullptr;
    QAction *m_m_OpenImageFile = nullptr;
    QAction *m_m_chage_list = nullptr;
    QAction *m_mDeleteAll = nullptr;
    QAction *m_m_open_m3u = nullptr;
    QAction *m_m_save_m3u = nullptr;
    QAction *m_m_info2 = nullptr; // the information line: size and count of the selection
    QMenu *m_m_tab_okini = nullptr;
    QAction *m_m_add_tab_okini = nullptr;
    QAction *m_m_del_tab_okini = nullptr;
    QAction *m_m_change_name_okini = nullptr;
    QAction *m_m_change_m3u = nullptr;
    QAction *m_m_tab_custom = nullptr;
    Timer *m_tmr_okini = nullptr;
    QString m_gStrM3uName; // the list file shown
    QString m_imageDir;    // the thumbnails' folder of the entry being added
    QString m_OpenImagePath; // where the thumbnail chooser opens
    QPointer<Form_OpenImage> m_chooser; // the thumbnail chooser, while it is open
    OkiniView m_thumbnailView = OkiniView::Report;
    int m_thumbWidth = 100;
    int m_thumbHeight = 75;
    bool m_okiniLeftButton = false;  // the last press on the list was the left button
    bool m_okiniItemClicked = false; // the last click on the list hit an entry
    // The thumbnails being made.
    ThumbnailMaker *m_thumbnails = nullptr;
};

// The request of an m3u file dialog (default extension m3u, the m3u filter, flags 4, 260).
FileDialogRequest m3uRequest(const QString &title, const QString &initialDir, int filterIndex);
