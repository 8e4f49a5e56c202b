#pragma once
// The file page: the folder tabs `TabDir` with their file tabdir.ini and menu `m_tab`,
// the file list `File` with its menu `m_FileMenu`, and their handlers. The file popup also
// opens over the search results: its commands act on the list it was opened over.

#include <cstdint>
#include <memory>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class Commands;
class SaveSoon;
struct ConfigValues;
class DesktopShell;
class Dialogs;
class FileListBox;
class FileMenuTarget;
class MediaCommands;
class Options;
class QAction;
class QMenu;
class QWidget;
class TabStrip;
class TopmostSwitch;

class FilePage : public QObject
{
    Q_OBJECT
public:
    // The popup's and the tab menu's items are commands, registered here.
    FilePage(QWidget *window, Commands &commands, std::shared_ptr<Dialogs> dialogs,
             std::shared_ptr<DesktopShell> shell, QString appDir, const Options &options, MediaCommands &media,
             TopmostSwitch &topmost);
    ~FilePage() override;


    // config.ini: the folder shown at start-up (the home folder when it is used and exists,
    // else the last folder, else the program's folder), and the last folder at shutdown.
    void restoreConfig(const ConfigValues &c, const QString &appDir);
    void saveConfig(ConfigValues &c) const;
    void loadTabDir();
    // Shutdown writes tabdir.ini itself: no save soon after a change any more.
    void stopSaving();
    void saveTabDir();
    // Shows a folder in the file list, asking to try again while it cannot be read.
    bool setFilePath(const QString &folder);
    // Shows the folder of a file and selects the file's row as the top row.
    void showFile(const QString &file);

    void File_Click();
    void File_DblClick();
    void File_MouseMove(QPoint pos);
    void File_Drop(const QStringList &files);
    // Right button: the row under the pointer becomes the only selection unless it is
    // selected, then the popup opens. Left button: the rows passed over since the press
    // are toggled.
    void File_MouseUp(Qt::MouseButton button, QPoint pos);
    void TabDir_MouseUp(Qt::MouseButton button);
    void m_add_tab_Click();
    void m_del_tab_Click();
    void m_change_name_Click();
    void m_change_dir_Click();
    void m_OpenDirectory_Click();

    // The file list as the popup's list.
    FileMenuTarget &fileTarget();
    // Sets the popup up for the selection of `target` (enabling by count, the information
    // line, the scene submenu) and opens it at `globalPos`. Over the search results the
    // folder choice, its separator and the scenes are hidden until the popup closes.
    void popUpFileMenu(FileMenuTarget &target, QPoint globalPos);
    // The list the popup was last opened over (the file list once it has closed).
    FileMenuTarget &menuTarget();
    // The popup's commands, on the list it was opened over.
    void m_filePlay_Click();
    void m_rename_Click();
    void m_propaty_Click();
    void m_info_Click();
    // The same commands on a given list (the keys and the command ids use these).
    void playSelected(FileMenuTarget &target);
    void renameSelected(FileMenuTarget &target);
    void showProperties(FileMenuTarget &target);
    // Opens `File`'s folder in the desktop's file manager (`m_info`, `m_info2`).
    void openFileFolder();
    // The selected rows' names, from the last selected row to the first.
    QStringList selectedNamesLastFirst() const;

    // ---- What other rooms read
    TabStrip *TabDir() const { return m_TabDir; }
    FileListBox *File() const { return m_File; }
    // The file popup, in its order: m_OpenDirectory, sep6, m_filePlay, m_seen_load_file,
    // m_addOkini, m_rename, a separator, m_propaty, a separator, m_info.
    QMenu *m_FileMenu() const { return m_m_FileMenu; }
    QAction *m_OpenDirectory() const { return m_m_OpenDirectory; }
    QAction *sep6() const { return m_sep6; }
    QAction *m_filePlay() const { return m_m_filePlay; }
    QMenu *m_seen_load_file() const { return m_m_seen_load_file; }
    QAction *m_addOkini() const { return m_m_addOkini; }
    QAction *m_rename() const { return m_m_rename; }
    QAction *m_propaty() const { return m_m_propaty; }
    QAction *m_info() const { return m_m_info; }
    QMenu *m_tab() const { return m_m_tab; }
    QAction *m_add_tab() const { return m_m_add_tab; }
    QAction *m_del_tab() const { return m_m_del_tab; }
    QAction *m_change_name() const { return m_m_change_name; }
    QAction *m_change_dir() const { return m_m_change_dir; }
    QAction *m_custom_dir() const { return m_m_custom_dir; }

Q_SIGNALS:
    // The page's tab should be selected (a click into the file list).
    void pageWanted(int index);
    // A key was pressed in the file list: the video takes the focus.
    void focusVideo();
    // The popup is about to open: its scene submenu is to be filled for this file, or left
    // disabled for "".
    void sceneMenuWanted(const QString &file);

private:
    void connectHandlers();

    QWidget *m_window;
    std::shared_ptr<Dialogs> m_dialogs;
    std::shared_ptr<DesktopShell> m_shell;
    QString m_appDir;
    const Options &m_options;
    MediaCommands &m_media;
    TopmostSwitch &m_topmost;
    std::unique_ptr<FileMenuTarget> m_fileTarget;
    FileMenuTarget *m_menuTarget = nullptr;
    std::uint64_t m_popups = 0; // how often the popup was opened
    SaveSoon *m_tabsSave = nullptr;
    bool m_loadingTabs = false;

private:
    TabStrip *m_TabDir = nullptr;
    FileListBox *m_File = nullptr;
    // The file popup, in its order: m_OpenDirectory, sep6, m_filePlay, m_seen_load_file,
    // m_addOkini, m_rename, a separator, m_propaty, a separator, m_info.
    QMenu *m_m_FileMenu = nullptr;
    QAction *m_m_OpenDirectory = nullptr;
    QAction *m_sep6 = nullptr;
    QAction *m_m_filePlay = nullptr;
    QMenu *m_m_seen_load_file = nullptr; // "シーン": the selected file's scenes
    QAction *m_m_addOkini = nullptr;
    QAction *m_m_rename = nullptr;
    QAction *m_m_propaty = nullptr;
    QAction *m_m_info = nullptr; // the information line: size and count of the selection
    QMenu *m_m_tab = nullptr;
    QAction *m_m_add_tab = nullptr;
    QAction *m_m_del_tab = nullptr;
    QAction *m_m_change_name = nullptr;
    QAction *m_m_change_dir = nullptr;
    QAction *m_m_custom_dir = nullptr;
};

// Whether a row of the file list needs its name as a tooltip: its text is wider than the
// list less 60 twips (and less 250 more for the scroll bar when not every row fits).
bool fileRowNeedsToolTip(int textWidthTw, int listWidthTw, int listHeightTw, int rowHeightPx, int twipsPerPixelY,
                         int rows);

// The first tab of a strip ("current", "お気に入り") cannot be removed or renamed: true (and
// the message shown) when it is the selected one.
bool firstTabRefused(Dialogs &dialogs, QWidget *parent, const TabStrip *strip, const QString &text,
                     const QString &title);

// The rename of a tab: always-on-top is set aside while the input box is open.
QString askTabName(Dialogs &dialogs, QWidget *parent, TopmostSwitch &topmost, TabStrip *strip);

// Asks for a new name of the file `folder` + `name` (always-on-top set aside meanwhile) and
// renames it within its folder. A name that is not one plain name, or a rename that fails,
// is refused with a message; a name that exists changes nothing; the open file is stopped
// before it is renamed. Returns the new name, or "" when nothing was renamed.
QString renameFileAsked(Dialogs &dialogs, QWidget *parent, TopmostSwitch &topmost, MediaCommands &media,
                        const QString &folder, const QString &name);

// The sum of the sizes of the files (a file whose size cannot be read counts nothing).
std::uint64_t totalFileSize(const QStringList &paths);
