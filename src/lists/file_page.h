#pragma once
// The file page: the folder tabs `TabDir` with their file tabdir.ini and menu `m_tab`,
// the file list `File` with its menu `m_FileMenu`, and their handlers.

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>

class Dialogs;
class FileListBox;
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
    FilePage(QWidget *window, std::shared_ptr<Dialogs> dialogs, QString appDir, const Options &options,
             MediaCommands &media, TopmostSwitch &topmost);

    TabStrip *TabDir = nullptr;
    FileListBox *File = nullptr;
    QMenu *m_FileMenu = nullptr;
    QAction *m_addOkini = nullptr;
    QAction *m_OpenDirectory = nullptr;
    QMenu *m_tab = nullptr;
    QAction *m_add_tab = nullptr;
    QAction *m_del_tab = nullptr;
    QAction *m_change_name = nullptr;
    QAction *m_change_dir = nullptr;
    QAction *m_custom_dir = nullptr;

    void loadTabDir();
    void saveTabDir();
    // Shows a folder in the file list, asking to try again while it cannot be read.
    bool setFilePath(const QString &folder);
    // Shows the folder of a file and selects the file's row as the top row.
    void showFile(const QString &file);

    void File_Click();
    void File_DblClick();
    void File_MouseMove(QPoint pos);
    void File_Drop(const QStringList &files);
    void File_MouseUp(Qt::MouseButton button);
    void TabDir_MouseUp(Qt::MouseButton button);
    void m_add_tab_Click();
    void m_del_tab_Click();
    void m_change_name_Click();
    void m_change_dir_Click();
    void m_OpenDirectory_Click();
    // The selected rows' names, from the last selected row to the first.
    QStringList selectedNamesLastFirst() const;

Q_SIGNALS:
    // The page's tab should be selected (a click into the file list).
    void pageWanted(int index);
    // A key was pressed in the file list: the video takes the focus.
    void focusVideo();
    // "お気に入りに追加(Ctrl+D)" was chosen.
    void addToFavourites();

private:
    void connectHandlers();

    QWidget *m_window;
    std::shared_ptr<Dialogs> m_dialogs;
    QString m_appDir;
    const Options &m_options;
    MediaCommands &m_media;
    TopmostSwitch &m_topmost;
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
