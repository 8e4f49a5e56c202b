#pragma once
// The main window `player`. It owns nearly all state of the program for its whole life:
// the engine `movie`, the RealMedia control `rmovie`, every list, tab strip, menu and
// timer, and the flags and folders below. Its handlers are defined in the folder of the
// subsystem they belong to (src/playback/open_play_stop.cpp defines openMedia, and so
// on); the computation they need lives in free functions beside them.

#include "app/player_services.h"
#include "app/timer.h"

#include <QPixmap>
#include <QMargins>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <memory>
#include <random>

class CMovie;
class RealControl;
class PictureBox;
class CaptionFrame;
class CaptionLabel;
class SeekSlider;
class VolumeBar;
class TabStrip;
class FileListBox;
class OkiniList;
class ImageList;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolBar;
class QToolButton;

namespace platform {
class SingleInstanceLock;
}

class Player : public QWidget
{
    Q_OBJECT
public:
    explicit Player(PlayerServices services, QWidget *parent = nullptr);
    ~Player() override;

    // ---- Start-up and shutdown (src/app/startup.cpp)
    // The whole start-up. False when another copy runs on the same state folder: the
    // window then stays hidden and the caller ends the process.
    bool Form_Load();
    // The whole shutdown; runs once, when the window closes or the process is told to end.
    void Form_Unload();
    bool isLoaded() const { return m_loaded; }
    void m_exit_Click();

    // ---- Open, play and stop (src/playback/open_play_stop.cpp)
    void checkRealMedia(const QString &extension);
    void openMedia(const QString &path, double pos);
    void playPause();
    void play_Click() { playPause(); }
    void stop_Click();
    void lblMedia_Change(int index);

    // ---- Position timer (src/playback/position_timer.cpp)
    void tmrPosition_Timer();

    // ---- Play order (src/playback/play_order.cpp)
    void mode_Click(int index);
    int getPlayMode() const;
    void playNext();
    void playPrevious();
    void setListTopIndex(QWidget *list, int row);
    int get_okini_index() const;

    // ---- Speed and volume (src/playback/speed_volume.cpp)
    void bai_Click(int index);
    void applyRealVolume();
    void Timer_adjust_volume_Timer();

    // ---- Favourites list (src/lists/favourites.cpp)
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
    void make_thumbnail(const QString &mediaFile, double position, const QString &bitmap);
    // True while a list file is still being read.
    bool isLoadingOkini() const { return m_okiniLoad != nullptr; }
    // Reads the rest of a list that is still loading, at once.
    void completeOkiniLoad();

    // ---- Tab strips (src/lists/tabs.cpp)
    void loadTabDir();
    void saveTabDir();
    void loadTabM3u();
    void saveTabM3u();
    bool setFilePath(const QString &folder);
    void TabDir_MouseUp(Qt::MouseButton button);
    void TabM3u_MouseUp(Qt::MouseButton button);
    void selectTabUnderPointer(TabStrip *strip, QPoint pos);
    void m_add_tab_Click();
    void m_del_tab_Click();
    void m_change_name_Click();
    void m_change_dir_Click();
    void m_add_tab_okini_Click();
    void m_del_tab_okini_Click();
    void m_change_name_okini_Click();
    void m_change_m3u_Click();
    void m_OpenDirectory_Click();
    void tmr_okini_Timer();

    // ---- The lists' own events (src/lists/list_pane.cpp)
    void File_Click();
    void File_DblClick();
    void File_MouseMove(QPoint pos);
    void File_Drop(const QStringList &files);
    void File_MouseUp(Qt::MouseButton button);
    void List_okini_MouseDown(Qt::MouseButton button);
    void List_okini_Click();
    void List_okini_DblClick();
    void List_okini_MouseUp(Qt::MouseButton button);

    // ---- List pane pages (src/lists/list_pane.cpp)
    void showFilePage();
    void showFavouritesPage();
    void showSearchPage();
    void showConfigPage();
    // The page of an index of Tab1: 1 files, 2 favourites, 3 search, 4 settings.
    void showPage(int index);
    void Tab1_Click();

    // ---- Layout and window modes (src/window/)
    // The window's outer rectangle (frame included) in twips, as Left, Top, Width, Height.
    int windowLeft() const;
    int windowTop() const;
    int windowWidth() const;
    int windowHeight() const;
    void setWindowWidth(int tw);
    void setWindowHeight(int tw);
    int clientWidth() const;
    int clientHeight() const;
    void Form_Resize();
    void display_Resize();
    void layoutControlBar();
    void layoutListPane();
    void showListPane();
    void hideListPane();
    void BtList_Click();
    void fitVideo();
    void setVideoScale(double scale);
    void optimizeWindowSize();
    void applyClipping();
    void enterSmallMode();
    void leaveSmallMode();
    void leaveFullScreen();
    void setTopmost();
    void clearTopmost();
    void applyWindowRegion();

    // ---- Input (src/input/)
    void display_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void panel_ButtonClick(const QString &key);
    void createToolTips();

    // ---- Hooks of parts that come later; each is a named step of start-up or shutdown.
    void loadListColors();
    void saveListColors();
    void configureRealControl();
    void loadConfig();
    void saveConfig();
    // Once the window is mapped: shrinks the window by the part of the window manager's
    // frame that was not known when config.ini placed it, so that it keeps its outer size.
    void correctForFrame();
    void loadKeys();
    void saveKeys();
    void loadSearchData();
    void saveSearchData();
    void loadResume();
    void saveResume();
    void readAssociations();
    void removeTrayIcon();
    void load_scene_menus();

    // ---- State
    PlayerServices services;
    std::unique_ptr<CMovie> movie;
    QString appDir;
    QString homeDir;
    QString imageDir;
    QString seenFolder;
    QString OpenImagePath;
    QString gStrM3uName;
    bool resizeLocked = true;
    bool displayResizeLock = false;
    bool smallMode = false;
    bool listVisibleBeforeSmall = false;
    bool alwaysOnTop = true;
    bool isRenaming = false;
    bool seekPaused = false;
    bool isRealMedia = false;
    bool realStateEvent = false;
    int thumbWidth = 100;
    int thumbHeight = 75;
    int thumbnailView = 0;
    int startWaveVolume = 0;
    QWidget *mainWindowHandle = nullptr;
    std::mt19937 random;

    // ---- Video area
    PictureBox *display = nullptr;
    QLabel *logo = nullptr;
    QLabel *Label_Logo = nullptr;
    RealControl *rmovie = nullptr;
    PictureBox *sel = nullptr;
    PictureBox *kyoukai = nullptr;

    // ---- Control bar
    QFrame *control = nullptr;
    SeekSlider *SeekBar = nullptr;
    QProgressBar *SeekBarForFullscreen = nullptr;
    CaptionFrame *time = nullptr;
    std::array<CaptionLabel *, 5> lblMedia{}; // indexes 3 (total) and 4 (current)
    CaptionLabel *time_forFullscreen = nullptr;
    VolumeBar *vol = nullptr;
    VolumeBar *volForFullscreen = nullptr;
    QFrame *right_panel = nullptr;
    PictureBox *BtList = nullptr;
    QPixmap ImageLeft;
    QPixmap ImageRight;
    QToolBar *panel = nullptr;
    std::map<QString, QAction *> panelButtons;

    // ---- List pane
    QFrame *list = nullptr;
    TabStrip *Tab1 = nullptr;
    TabStrip *TabDir = nullptr;
    TabStrip *TabM3u = nullptr;
    FileListBox *File = nullptr;
    OkiniList *List_okini = nullptr;
    std::unique_ptr<ImageList> Image_okini;
    QListWidget *List_Find = nullptr;
    QFrame *Frame_dummy = nullptr;
    QFrame *find = nullptr;
    QFrame *config = nullptr;
    QLabel *Ver = nullptr;
    QProgressBar *AddMeter = nullptr;
    QPushButton *bt_msg_add = nullptr;
    QPixmap NoImage;
    QPixmap Pic_loading;
    bool okiniLeftButton = false;  // the last press on the favourites list was the left button
    bool okiniItemClicked = false; // the last click on the favourites list hit an entry

    // ---- Options page (src/app/options_page.cpp)
    TabStrip *Tab_Config = nullptr;
    QFrame *Frame_basic = nullptr;
    QFrame *Frame_clip = nullptr;
    QFrame *Frame_Key = nullptr;
    QFrame *Frame_other = nullptr;
    QFrame *soft_info = nullptr;
    QCheckBox *Check_usehome = nullptr;
    QLineEdit *text_home = nullptr;
    QPushButton *bt_selecthome = nullptr;
    QCheckBox *Check_loadthum = nullptr;
    QCheckBox *Check_imagedirchange = nullptr;
    QCheckBox *Check_soutai = nullptr;
    QCheckBox *Check_SeekTop = nullptr;
    QCheckBox *Check_show_popup = nullptr;
    QCheckBox *Check_auto_hide = nullptr;
    QCheckBox *Check_original = nullptr;
    QCheckBox *Check_temae = nullptr;
    QCheckBox *Check_noTaskbar = nullptr;
    QCheckBox *check_resume = nullptr;
    QRadioButton *check_auto_adjust = nullptr;
    QRadioButton *Keep_Aspect = nullptr;
    QRadioButton *use_fullWindow = nullptr;
    QSlider *Scroll_upper = nullptr;
    QSlider *scroll_under = nullptr;
    std::array<QRadioButton *, 4> check_mode{};
    QLabel *message = nullptr;

    void Tab_Config_Click();
    void Check_usehome_Click();
    void Check_original_Click();
    void Check_temae_Click();

    // ---- Menus, never shown in a menu bar: only ever as pop-ups
    QMenu *menu = nullptr;
    QMenu *m_item = nullptr;
    QMenu *m_FileMenu = nullptr;
    QMenu *m_tab = nullptr;
    QMenu *m_tab_okini = nullptr;
    QMenu *m = nullptr;
    QMenu *m_size = nullptr;
    QMenu *m_speed = nullptr;
    QMenu *m_mode = nullptr;
    QMenu *m_seen_load = nullptr;
    QMenu *m_edit_seen = nullptr;
    QMenu *m_window = nullptr;
    QAction *m_addOkiniForMenu = nullptr;
    QAction *play = nullptr;
    QAction *stop = nullptr;
    QAction *pre = nullptr;
    QAction *next = nullptr;
    QAction *mTopSeek = nullptr;
    QAction *original = nullptr;
    std::array<QAction *, 6> size{};
    std::array<QAction *, 4> bai{};
    std::array<QAction *, 4> mode{};
    QAction *m_temae = nullptr;
    QAction *m_saiteki = nullptr;
    QAction *m_small = nullptr;
    QAction *help = nullptr;
    QAction *m_exit = nullptr;
    QAction *m_chage_list = nullptr;
    QAction *m_open_m3u = nullptr;
    QAction *m_save_m3u = nullptr;
    QAction *m_custom_list = nullptr;
    QAction *m_OpenDirectory = nullptr;
    QAction *m_add_tab = nullptr;
    QAction *m_del_tab = nullptr;
    QAction *m_change_name = nullptr;
    QAction *m_change_dir = nullptr;
    QAction *m_custom_dir = nullptr;
    QAction *m_add_tab_okini = nullptr;
    QAction *m_del_tab_okini = nullptr;
    QAction *m_change_name_okini = nullptr;
    QAction *m_change_m3u = nullptr;
    QAction *m_tab_custom = nullptr;

    // ---- Timers
    Timer *tmrPosition = nullptr;
    Timer *tmr_okini = nullptr;
    Timer *Timer_adjust_volume = nullptr;
    Timer *Timer_addIcon = nullptr;

Q_SIGNALS:
    // The video surface painted a frame (used by the benchmarks).
    void framePainted();

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void buildUi();
    void buildMenus();
    void buildToolbar();
    void buildListPane();
    void buildOptions();
    void connectOptions();
    void connectLists();
    void runOkiniLoad(bool yielding);

    struct OkiniLoad
    {
        QString file;
        QString folder;
        QStringList lines;
        qsizetype next = 0;
        std::uint64_t id = 0;
    };
    std::unique_ptr<OkiniLoad> m_okiniLoad;
    std::uint64_t m_okiniLoads = 0;
    void connectHandlers();
    void handleCommandLine();

    std::unique_ptr<platform::SingleInstanceLock> m_instanceLock;
    QMargins currentFrame() const;
    QMargins m_frameApplied;              // frame (pixels) the window was last sized with
    bool m_frameCorrectionPending = false; // a maximised window is corrected when restored
    bool m_loaded = false;
    bool m_unloaded = false;
};

struct FileDialogRequest;
// The request of an m3u file dialog (default extension m3u, the m3u filter, flags 4, 260).
FileDialogRequest m3uRequest(const QString &title, const QString &initialDir, int filterIndex);

// Whether a row of the file list needs its name as a tooltip: its text is wider than the
// list less 60 twips (and less 250 more for the scroll bar when not every row fits).
bool fileRowNeedsToolTip(int textWidthTw, int listWidthTw, int listHeightTw, int rowHeightPx, int twipsPerPixelY,
                         int rows);

// "バージョン：　Ver." followed by major.minor.revision.
QString versionCaption(int major, int minor, int revision);
