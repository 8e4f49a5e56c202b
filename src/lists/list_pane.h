#pragma once
// The list pane: the frame `list` with the page tabs `Tab1`, and which of the four pages
// is shown (files, favourites, search, options). It lays the pages out, shows the
// progress of long list work over them, and gives the play commands the rows of the page
// shown (PlaylistSource).

#include "lists/progress_view.h"
#include "lists/tab_files.h"
#include "playback/playlist_source.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>
#include <vector>

class Commands;
struct ConfigValues;
class FavouritesPage;
class FilePage;
class QFrame;
class SearchPage;
class QProgressBar;
class QPushButton;
class QToolBar;
class QWidget;
class TabStrip;

class ListPane : public QObject, public PlaylistSource, public ProgressView
{
    Q_OBJECT
public:
    // Creates the pane frame with its page tabs, the frame of the search box and the options
    // frame.
    // The width buttons are the commands "list.widen" and "list.narrow".
    ListPane(QWidget *window, Commands &commands);
    // The three list pages lie over the pane; the progress and the filler frame are
    // created over them.
    void attach(FilePage *files, FavouritesPage *favourites, SearchPage *search);

    // True while the window is in full screen: the page tabs then change nothing.
    void setInFullScreen(std::function<bool()> inFullScreen) { m_inFullScreen = std::move(inFullScreen); }

    // The page of an index of Tab1: 1 files, 2 favourites, 3 search, 4 options.
    void showPage(int index);
    void showFilePage() { showPage(1); }
    void showFavouritesPage() { showPage(2); }
    void showSearchPage() { showPage(3); }
    void showConfigPage() { showPage(4); }
    // config.ini: the pane's width and the page shown.
    void restoreConfig(const ConfigValues &c);
    void saveConfig(ConfigValues &c) const;
    void Tab1_Click();
    // Selects a page's tab unless it is selected (a click into that page's list).
    void selectPage(int index);
    void layoutListPane();
    // Shows or hides the pane with the widgets of the page shown over it.
    void setPaneVisible(bool on);
    bool paneVisible() const;
    // Shows the lists of the page shown over the pane, or hides every list over it (full
    // screen; the pane's frame itself stays).
    void setListWidgetsVisible(bool on);
    // The two lists that full screen lays over the bottom of the screen.
    QWidget *okiniList() const;
    QWidget *fileList() const;

    ListPage shownPage() const override;
    int rowCount() const override;
    int selectedRow() const override;
    void selectRow(int row) override;
    QString rowPath(int row) const override;
    int okiniIndex() const override;
    void makeTopRow(int row) override;
    bool rowFileExists(int row) const override;
    void missingRow(int row) override;

    void showProgress(int maximum) override;
    void setProgress(int value) override;
    void setProgressText(const QString &text) override;
    void hideProgress() override;

    // ---- What other rooms read
    QFrame *list() const { return m_list; }
    TabStrip *Tab1() const { return m_Tab1; }
    QFrame *find() const { return m_find; }
    QFrame *config() const { return m_config; }
    QProgressBar *AddMeter() const { return m_AddMeter; }
    QPushButton *bt_msg_add() const { return m_bt_msg_add; }
    QFrame *Frame_dummy() const { return m_Frame_dummy; }
    // The buttons "add" and "sub" that widen and narrow the pane (and the window).
    QToolBar *size_bar() const { return m_size_bar; }

Q_SIGNALS:
    // A page was shown (the toolbar's capture button follows it).
    void pageShown(int index);
    // The pane was laid out; the options page follows with its own controls.
    void laidOut(int fileWidth, int tabM3uHeight);
    // Files were dropped on the page tabs: they go to the favourites.
    void filesDroppedOnTabs(const QStringList &files);
    // The rows of a page or their selection changed, or another page is shown.
    void playlistChanged();
    // A button of size_bar was pressed: "add" or "sub".
    void sizeBarClicked(const QString &key);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // The widgets of a page that lie over the pane, in the order they are raised.
    std::vector<QWidget *> pageWidgets(int index) const;
    // Every page widget, once.
    std::vector<QWidget *> allPageWidgets() const;


    QWidget *m_window;
    std::function<bool()> m_inFullScreen;
    FilePage *m_files = nullptr;
    FavouritesPage *m_favourites = nullptr;
    SearchPage *m_search = nullptr;

private:
    QFrame *m_list = nullptr;
    TabStrip *m_Tab1 = nullptr;
    QFrame *m_find = nullptr;
    QFrame *m_config = nullptr;
    QProgressBar *m_AddMeter = nullptr;
    QPushButton *m_bt_msg_add = nullptr;
    QFrame *m_Frame_dummy = nullptr;
    // The buttons "add" and "sub" that widen and narrow the pane (and the window).
    QToolBar *m_size_bar = nullptr;
};

// Scrolls a list so that the row is its top row.
void setListTopIndex(QWidget *list, int row);

// Selects the tab under a point of the strip before its menu opens (a right press).
void selectTabUnderPointer(TabStrip *strip, QPoint pos);

// The design colours of the lists: light blue text on black.
void setListColors(QWidget *w);

// The records of a tab strip's tabs after the fixed first one, as the tab files hold them.
QList<TabRecord> tabsFrom(const TabStrip *strip);
