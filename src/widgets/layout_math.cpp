#include "widgets/layout_math.h"

#include <algorithm>

namespace layout {

Side displayWidthWithList(int clientWidth, int listWidth, int kyoukaiWidth, int frameWidth)
{
    const int w = clientWidth - listWidth - kyoukaiWidth;
    if (w > kMinimumDisplay)
        return {w, std::nullopt};
    return {kMinimumDisplay, listWidth + kMinimumDisplay + kyoukaiWidth + 2 * frameWidth};
}

Side displayHeight(int clientHeight, int controlHeight, bool listShown, int frameHeight, int captionHeight)
{
    const int h = clientHeight - controlHeight;
    if (h > (listShown ? kMinimumDisplay : 10))
        return {h, std::nullopt};
    return {kMinimumDisplay, controlHeight + kMinimumDisplay + 2 * frameHeight + captionHeight};
}

Size smallModeDisplay(int windowWidth, int windowHeight, int frameWidth, int frameHeight)
{
    return {windowWidth - 2 * frameWidth, windowHeight - frameHeight};
}

Surround surround(int clientWidth, int clientHeight, int displayWidth, int controlHeight, int listWidth,
                  int kyoukaiWidth)
{
    Surround s;
    s.controlTop = clientHeight - controlHeight;
    s.controlWidth = displayWidth;
    s.listHeight = clientHeight;
    s.listLeft = clientWidth - listWidth;
    s.kyoukaiHeight = clientHeight;
    s.kyoukaiLeft = clientWidth - listWidth - kyoukaiWidth;
    return s;
}

ControlBarPlaces controlBar(int controlWidth, int timeWidth, int volWidth, int rightPanelWidth)
{
    const int s = controlWidth - timeWidth - volWidth;
    return {s > 10 ? s + 200 : 100, controlWidth - timeWidth, controlWidth - rightPanelWidth};
}

Size tab1Size(const Rect &list)
{
    return {list.width - 10, list.height};
}

Rect tabDirRect(const Rect &list, int tab1ClientWidth)
{
    return {list.left, list.top, tab1ClientWidth, list.height - 40 > 0 ? list.height - 40 : 10};
}

FilePagePlaces filePage(const Rect &tabDir, int tab1ClientWidth, int tabDirClientHeight, int findHeight,
                        bool searchShown)
{
    FilePagePlaces p;
    p.file = {tabDir.left, tabDir.top, tab1ClientWidth, tabDirClientHeight};
    p.listFind = {tabDir.left, tabDir.top, tab1ClientWidth, tabDir.height - findHeight};
    p.find = {40, tabDir.height - findHeight, tab1ClientWidth, findHeight};
    if (searchShown)
        p.frameDummy = {tabDir.left, p.listFind.height - 10, tab1ClientWidth,
                        tabDir.height - findHeight - p.listFind.height};
    else
        p.frameDummy = {tabDir.left, p.file.height - 10, tab1ClientWidth, tabDirClientHeight - p.file.height + 60};
    return p;
}

FindRowPlaces findRow(int findWidth, int visibleWidth, int labelLeft, int labelWidth, int findTextLeft,
                      int buttonWidth)
{
    FindRowPlaces p;
    const int w = findWidth - labelLeft - labelWidth - buttonWidth - 80;
    p.findTextWidth = w > 0 ? w : 10;
    const int overshoot = findTextLeft + p.findTextWidth + 40 + buttonWidth - visibleWidth;
    if (overshoot > 0)
        p.findTextWidth = std::max(10, p.findTextWidth - overshoot);
    p.buttonLeft = findTextLeft + p.findTextWidth + 40;
    // A page too narrow for the row keeps the button whole at its right end, over the text.
    if (p.buttonLeft + buttonWidth > visibleWidth)
        p.buttonLeft = std::max(0, visibleWidth - buttonWidth);
    return p;
}

Rect tabM3uRect(const Rect &list, int fileWidth)
{
    return {list.left, list.top, fileWidth, list.height - 40};
}

Rect listOkiniRect(const Rect &tabM3u, int tab1ClientWidth, int tabM3uClientHeight)
{
    return {tabM3u.left, tabM3u.top, tab1ClientWidth, tabM3uClientHeight + 40};
}

OptionsPlaces optionsPage(int fileWidth, int tabM3uHeight)
{
    return {{-20, 20, fileWidth + 40, tabM3uHeight - 40}, {20, 20, fileWidth, tabM3uHeight}};
}

Rect optionsFrame(int configWidth, int tabConfigClientHeight)
{
    return {0, 20, configWidth, tabConfigClientHeight};
}

int splitterLeft(int x, int clientWidth)
{
    if (x < kMinimumDisplay + 1)
        return kMinimumDisplay;
    if (x >= clientWidth - 200)
        return clientWidth - 200;
    return x;
}

PaneSpan paneAfterSplitter(int kyoukaiLeft, int kyoukaiWidth, int clientWidth)
{
    return {kyoukaiLeft + kyoukaiWidth, clientWidth - (kyoukaiWidth + kyoukaiLeft)};
}

int listWidthStep(bool widen, int listWidth)
{
    if (widen)
        return 300;
    return listWidth - 300 > 80 ? -300 : 0;
}

bool inListShowZone(int x, int y, int rightEdge)
{
    return x > rightEdge - 1000 && x + y > rightEdge;
}

bool inStripZone(int cy, int stripHeight)
{
    return cy < stripHeight + 50;
}

bool inOverlayZone(int cy, int screenHeight)
{
    return cy > screenHeight - 1180;
}

Rect okiniOverlay(int screenWidth, int screenHeight)
{
    return {0, screenHeight - 3540 + 10, screenWidth - 6000 + 10, 3550};
}

Rect fileOverlay(int screenWidth, int screenHeight)
{
    return {screenWidth - 6000 + 10, screenHeight - 3540 + 10, 6010, 3550};
}

StripPlaces fullScreenStrip(int screenWidth)
{
    // The time at the left, the volume at the right, the seek bar between them.
    StripPlaces s;
    s.height = 300;
    s.time = {60, 40, 975, 220};
    s.volume = {screenWidth - 1095 - 60, 50, 1095, 200};
    const int seekLeft = s.time.left + s.time.width + 60;
    s.seekBar = {seekLeft, 60, std::max(100, s.volume.left - 60 - seekLeft), 180};
    return s;
}

} // namespace layout
