#pragma once
// The search page: the search box `find` with the caption `labelFind`, the search text
// `FindText` (with the texts searched before in this run), the folder button
// `bt_change_dir` and the header `txt_current_dir`; the result list `List_Find` with the
// folder of each result (`findDirs`), and searchData.ini, which keeps the results from one
// run to the next.
//
// A search walks the tree below the current folder (the first folder tab's folder) on a
// worker thread; the results are appended on the UI thread in their order as they come,
// so the window goes on answering. Esc in the search text stops it (the results so far
// stay), and the window's close stops it before the results are saved.

#include "lists/event_list_box.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <thread>

class Dialogs;
class SaveSoon;
class FavouritesPage;
class FilePage;
class MediaCommands;
class Options;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// The result list.
class FoundList : public EventListBox
{
    Q_OBJECT
public:
    using EventListBox::EventListBox;
};

class FileMenuTarget;
class SearchPage : public QObject
{
    Q_OBJECT
public:
    // The search box's controls go into `find`; the result list lies over the pane, a
    // child of the window.
    SearchPage(QWidget *window, QFrame *find, std::shared_ptr<Dialogs> dialogs, QString appDir,
               const Options &options, MediaCommands &media, FilePage &files, FavouritesPage &favourites);
    ~SearchPage() override;


    // The path of result row i: its folder and its name; "" for a row without a folder
    // (never resolved against the working folder) or outside the rows.
    QString findRowPath(int i) const;
    // The selected results' paths, in row order.
    QStringList selectedResultPaths() const;
    // The results as the list of the file popup `m_FileMenu`.
    FileMenuTarget &findTarget();

    // Enter in the search text searches (ignored while a search runs); Esc stops a search.
    void FindText_KeyDown(int key);
    // Starts a search for the search text below the current folder.
    void search_files();
    // Stops a running search; the results found so far stay.
    void cancelSearch();
    bool isSearching() const { return m_running != nullptr; }
    // Stops a running search and waits for it, with every result it found listed.
    void finishSearch();

    // "..": chooses the current folder.
    void bt_change_dir_Click();
    // The page is shown: the header follows the current folder, the text takes the focus.
    void showSearchPage();
    // The header: "current = " + folder + "   以下を検索".
    void setCurrentDirText(const QString &folder);
    // Places the search box's controls for its width, within the page (pageWidth: the page's
    // width inside the page tabs, in twips).
    void layoutFind(int pageWidth);

    void List_Find_Click();
    void List_Find_DblClick();
    void List_Find_MouseUp(Qt::MouseButton button, QPoint pos);
    // Adds the selected results to the favourites, from the last selected to the first.
    void add_selected_found();

    // Lists results (folder, name) as a search leaves them, the earlier ones gone; at most
    // the 513 a search keeps. A row with no folder names no file.
    void showResults(const QList<std::pair<QString, QString>> &rows);
    void loadSearchData();
    // Shutdown writes searchData.ini itself: no save soon after a search any more.
    void stopSaving();
    void saveSearchData();

    // ---- What other rooms read
    QLabel *labelFind() const { return m_labelFind; }
    QComboBox *FindText() const { return m_FindText; }
    QPushButton *bt_change_dir() const { return m_bt_change_dir; }
    QLabel *txt_current_dir() const { return m_txt_current_dir; }
    FoundList *List_Find() const { return m_List_Find; }
    // The folder of each result row (with a trailing "/"), and how many the last search
    // stored.
    const QStringList &findDirs() const { return m_findDirs; }
    int findCount() const { return m_findCount; }

Q_SIGNALS:
    // The page's tab should be selected (a click into the result list).
    void pageWanted(int index);
    // A right click on the results: the file popup is to open for the selection.
    void fileMenuWanted();
    // A search ended (found everything, reached the limit, or was stopped).
    void searchFinished();

private:
    struct Run;
    // Appends what the worker has found; ends the search when the worker is done.
    void drain(const std::shared_ptr<Run> &run);
    void appendResult(const QString &folder, const QString &name);
    void endSearch();

    QWidget *m_window;
    SaveSoon *m_resultsSave = nullptr;
    QFrame *m_find;
    std::shared_ptr<Dialogs> m_dialogs;
    QString m_appDir;
    const Options &m_options;
    MediaCommands &m_media;
    FilePage &m_files;
    FavouritesPage &m_favourites;
    std::shared_ptr<Run> m_running;
    std::thread m_worker;
    std::unique_ptr<FileMenuTarget> m_findTarget;

private:
    QLabel *m_labelFind = nullptr;
    QComboBox *m_FindText = nullptr;
    QPushButton *m_bt_change_dir = nullptr;
    QLabel *m_txt_current_dir = nullptr;
    FoundList *m_List_Find = nullptr;
    // The folder of each result row (with a trailing "/"), and how many the last search
    // stored.
    QStringList m_findDirs;
    int m_findCount = 0;
};
