#pragma once
// The favourites page: the list tabs `TabM3u` with their file TabM3u.ini and menu
// `m_tab_okini`, the favourites list `List_okini` with its thumbnails `Image_okini` and
// menu `m_item`, the list file shown (`gStrM3uName`), and the deferred first load
// `tmr_okini`. Lists are read by a ListLoader, in slices.

#include "lists/list_loader.h"
#include "platform/media_detector.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QPixmap>
#include <QString>
#include <memory>
#include <optional>

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

class FavouritesPage : public QObject
{
    Q_OBJECT
public:
    // `grabFrame` takes the video frames of the thumbnails (empty: FFmpeg).
    FavouritesPage(QWidget *window, std::shared_ptr<Dialogs> dialogs, QString appDir, Options &options,
                   MediaCommands &media, TopmostSwitch &topmost, ProgressView &progress,
                   std::function<platform::FrameGrab(const QString &, double, int, int, const platform::GrabLimits &)>
                       grabFrame = {});
    ~FavouritesPage() override;

    TabStrip *TabM3u = nullptr;
    OkiniList *List_okini = nullptr;
    std::unique_ptr<ImageList> Image_okini;
    QPixmap NoImage;
    QPixmap Pic_loading;
    QMenu *m_item = nullptr;
    QMenu *m_seen_load_okini = nullptr; // "シーン": the selected entry's scenes
    QAction *m_open_m3u = nullptr;
    QAction *m_save_m3u = nullptr;
    QAction *m_chage_list = nullptr;
    QAction *m_OpenImageFile = nullptr;
    QAction *m_custom_list = nullptr;
    QMenu *m_tab_okini = nullptr;
    QAction *m_add_tab_okini = nullptr;
    QAction *m_del_tab_okini = nullptr;
    QAction *m_change_name_okini = nullptr;
    QAction *m_change_m3u = nullptr;
    QAction *m_tab_custom = nullptr;
    Timer *tmr_okini = nullptr;
    QString gStrM3uName; // the list file shown
    QString imageDir;    // the thumbnails' folder of the entry being added
    QString OpenImagePath; // where the thumbnail chooser opens
    QPointer<Form_OpenImage> chooser; // the thumbnail chooser, while it is open
    int thumbnailView = 0;
    int thumbWidth = 100;
    int thumbHeight = 75;
    bool okiniLeftButton = false;  // the last press on the list was the left button
    bool okiniItemClicked = false; // the last click on the list hit an entry

    // Appends the existing entries of a list file and makes it the list shown. A long list
    // is read in slices with the window kept responsive and the progress shown.
    void load_okini(const QString &listFile);
    // Writes every entry to the list file, replacing it as a whole.
    void save_okini(const QString &listFile);
    void del_all_list();
    // Keeps the list shown in its own file, then shows another list file.
    void switchOkiniList(const QString &listFile);
    void add_okini_item(const QString &folder, const QString &name);
    void remove_okini_item(int i);
    void relink_okini_icons();
    void setThumbnailView(int flag);
    void Check_loadthum_Click();
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
    // The thumbnails being made.
    ThumbnailMaker *thumbnails = nullptr;
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
    void List_okini_MouseUp(Qt::MouseButton button);

Q_SIGNALS:
    // The page's tab should be selected (a click into the favourites list).
    void pageWanted(int index);
    // The popup `m_item` is about to open: its scene submenu is to be filled for this
    // entry (folder and name), or left empty when no entry is selected.
    void sceneMenuWanted(const QString &entryPath);
    // The deferred first load of the list has ended (the list shown is complete).
    void firstLoadEnded();

private:
    void connectHandlers();

    QWidget *m_window;
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
};

// The request of an m3u file dialog (default extension m3u, the m3u filter, flags 4, 260).
FileDialogRequest m3uRequest(const QString &title, const QString &initialDir, int filterIndex);
