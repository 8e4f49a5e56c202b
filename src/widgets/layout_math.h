#pragma once
// The arithmetic of the main window's layout, in twips: where the video area, the
// control bar, the splitter and the list pane go for a client size, and where the list
// pane's pages lie inside the pane. The handlers (Form_Resize, layoutControlBar,
// layoutListPane) measure the controls, call these and write the results back.

#include <optional>

namespace layout {

struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect &o) const = default;
};

// One side of the video area: its size, and the window's outer size (frame included) to
// ask for when the client area is too small for the minimum.
struct Side
{
    int size = 0;
    std::optional<int> windowSize;
    bool operator==(const Side &o) const = default;
};

// The smallest video area beside the list pane, each way.
constexpr int kMinimumDisplay = 1500;

// The video area's width with the list pane shown: the client width less the pane and the
// splitter, at least kMinimumDisplay (the window then widens to fit it).
Side displayWidthWithList(int clientWidth, int listWidth, int kyoukaiWidth, int frameWidth);

// The video area's height above the control bar. With the list pane shown it is at least
// kMinimumDisplay; without it only a height of 10 or less is too small. Too small, the
// video area takes kMinimumDisplay and the window grows to fit it.
Side displayHeight(int clientHeight, int controlHeight, bool listShown, int frameHeight, int captionHeight);

// The video area in mini mode: the whole window less its frame.
struct Size
{
    int width = 0;
    int height = 0;
    bool operator==(const Size &o) const = default;
};
Size smallModeDisplay(int windowWidth, int windowHeight, int frameWidth, int frameHeight);

// What goes round the video area once its size is known, for a client area cw × ch.
struct Surround
{
    int controlTop = 0;
    int controlWidth = 0; // as wide as the video area
    int listLeft = 0;
    int listHeight = 0;
    int kyoukaiLeft = 0;
    int kyoukaiHeight = 0;
    bool operator==(const Surround &o) const = default;
};
Surround surround(int clientWidth, int clientHeight, int displayWidth, int controlHeight, int listWidth,
                  int kyoukaiWidth);

// The control bar: the seek bar takes what the time and the volume leave (with 200 of
// overlap), at least 100; the time and the list toggle stand at the right edge.
struct ControlBarPlaces
{
    int seekBarWidth = 0;
    int timeLeft = 0;
    int rightPanelLeft = 0;
    bool operator==(const ControlBarPlaces &o) const = default;
};
ControlBarPlaces controlBar(int controlWidth, int timeWidth, int volWidth, int rightPanelWidth);

// The list pane, in the order layoutListPane places it. The tab strips' client sizes are
// measured between the steps, since they depend on each strip's own tabs.
// Tab1 fills the pane less 10 at the right.
Size tab1Size(const Rect &list);
// The folder tabs lie over the pane, as wide as Tab1's client area; 40 shorter (or 10 high
// when the pane is lower than that).
Rect tabDirRect(const Rect &list, int tab1ClientWidth);

struct FilePagePlaces
{
    Rect file;
    Rect listFind;
    Rect find;
    Rect frameDummy;
    bool operator==(const FilePagePlaces &o) const = default;
};
// The file list in the folder tabs' client area, the search results and the search box
// over the same place, and the filler frame under the list of the page shown.
FilePagePlaces filePage(const Rect &tabDir, int tab1ClientWidth, int tabDirClientHeight, int findHeight,
                        bool searchShown);

// The row of the search frame: the search text as wide as the frame leaves beside the label
// and the ".." button, the button 40 past it. The frame starts 40 in from the page and is
// as wide as the page, so its right end lies under the page tabs: the row is kept within
// visibleWidth (the page's width less the frame's left), the search text giving up what the
// button would lose; on a page too narrow even for that, the button keeps its whole width
// at the page's right end, over the label and the text.
struct FindRowPlaces
{
    int findTextWidth = 0;
    int buttonLeft = 0;
    bool operator==(const FindRowPlaces &o) const = default;
};
FindRowPlaces findRow(int findWidth, int visibleWidth, int labelLeft, int labelWidth, int findTextLeft,
                      int buttonWidth);

// The favourites tabs over the pane, as wide as the file list, 40 shorter than the pane.
Rect tabM3uRect(const Rect &list, int fileWidth);
// The favourites list in their client area, 40 taller.
Rect listOkiniRect(const Rect &tabM3u, int tab1ClientWidth, int tabM3uClientHeight);

// The options page: its tab strip and its frame, then each option frame in the strip's
// client area.
struct OptionsPlaces
{
    Rect tabConfig;
    Rect config;
    bool operator==(const OptionsPlaces &o) const = default;
};
OptionsPlaces optionsPage(int fileWidth, int tabM3uHeight);
Rect optionsFrame(int configWidth, int tabConfigClientHeight);

// ---- The splitter and the list's width buttons.

// Where the splitter stops while it is dragged to x (twips from the window's outer left
// edge): not left of kMinimumDisplay, and 200 short of the client area's right edge.
int splitterLeft(int x, int clientWidth);
// The list pane after a splitter drag: it starts right of the splitter and takes the rest
// of the client width.
struct PaneSpan
{
    int listLeft = 0;
    int listWidth = 0;
    bool operator==(const PaneSpan &o) const = default;
};
PaneSpan paneAfterSplitter(int kyoukaiLeft, int kyoukaiWidth, int clientWidth);
// The change of the list's width (and the window's) for the "add" and "sub" buttons:
// +300, or -300 while the list stays wider than 80; 0 when it may not narrow further.
int listWidthStep(bool widen, int listWidth);

// ---- The window's modes.

// The automatic list pane: a pointer at (x, y) over the video area shows the pane when it
// lies in the rightmost 1000 twips left of `rightEdge`, outside the triangle of the upper
// corner where x + y <= rightEdge; anywhere else it hides it.
bool inListShowZone(int x, int y, int rightEdge);
// Full screen, for a pointer `cy` twips below the screen's top edge on a screen
// `screenHeight` high: whether the control strip (`stripHeight` high) shows, and whether
// the two list overlays show.
bool inStripZone(int cy, int stripHeight);
bool inOverlayZone(int cy, int screenHeight);
// The overlays over the bottom of a screen (twips): the favourites at the left, the file
// list in the rightmost 6010.
Rect okiniOverlay(int screenWidth, int screenHeight);
Rect fileOverlay(int screenWidth, int screenHeight);
// The full-screen control strip across the top of a screen `screenWidth` wide: the time,
// the seek bar and the volume, in the strip's coordinates; `height` is the strip's.
struct StripPlaces
{
    Rect time;
    Rect seekBar;
    Rect volume;
    int height = 0;
    bool operator==(const StripPlaces &o) const = default;
};
StripPlaces fullScreenStrip(int screenWidth);

} // namespace layout
