#include "window/layout_math.h"

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

} // namespace layout
