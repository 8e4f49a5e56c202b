#pragma once
// The rows of the list page shown, as the play commands walk them. Rows are 0-based.

#include <QString>

// The pages of the list pane. Tab1's tabs are 1..4 in this order (the tab index, and
// config.ini's ListMode, is the page's number).
enum class ListPage { None = 0, Files = 1, Favourites = 2, Search = 3, Options = 4 };

// The page of a tab index of Tab1; None outside 1..4.
inline ListPage listPageOfTab(int index)
{
    return index >= 1 && index <= 4 ? static_cast<ListPage>(index) : ListPage::None;
}
inline int tabOfListPage(ListPage page) { return static_cast<int>(page); }

class PlaylistSource
{
public:
    virtual ~PlaylistSource() = default;
    // The page shown.
    virtual ListPage shownPage() const = 0;
    virtual int rowCount() const = 0;
    // The selected row, -1 when none.
    virtual int selectedRow() const = 0;
    virtual void selectRow(int row) = 0;
    // The full path of a row's file; "" when the row names none.
    virtual QString rowPath(int row) const = 0;
    // The favourites entry being played is remembered by the engine (1-based, 0 none).
    virtual int okiniIndex() const = 0;
    // Scrolls the list so that the row is its top row.
    virtual void makeTopRow(int row) = 0;
    // Whether a row names a file that exists (hidden files count, a folder does not).
    virtual bool rowFileExists(int row) const = 0;
    // A row whose file is gone: the file list reads its folder again, the favourites ask
    // to remove the entry, the search results do nothing.
    virtual void missingRow(int row) = 0;
};
