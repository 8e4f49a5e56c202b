#pragma once
// The ids of the program's commands. A menu item, a toolbar button, a key and the
// desktop's media controls trigger a command by its id, so each command is written once.

#include <QString>

namespace command {
// Playback.
inline const QString play = QStringLiteral("play");
inline const QString stop = QStringLiteral("stop");
inline const QString next = QStringLiteral("next");
inline const QString pre = QStringLiteral("pre");
inline const QString topSeek = QStringLiteral("topseek");
// The seek of a held fast-forward or rewind key ends (its release).
inline const QString endKeySeek = QStringLiteral("keyseek.end");
// "mode.normal", "mode.rennzoku", "mode.roop", "mode.rnd": the play modes 0..3.
QString mode(int index);
// "speed.20", "speed.15", "speed.10", "speed.05": the speeds 0..3.
QString speed(int index);
inline const QString exit = QStringLiteral("exit");
inline const QString help = QStringLiteral("help");
inline const QString listToggle = QStringLiteral("list.toggle");
// The list's width buttons.
inline const QString listWiden = QStringLiteral("list.widen");
inline const QString listNarrow = QStringLiteral("list.narrow");
// The favourites page shown in the list pane (Ctrl+I).
inline const QString showFavourites = QStringLiteral("list.favourites");
// The file list's folder read again and the favourites' thumbnails linked anew (F5).
inline const QString refreshLists = QStringLiteral("list.refresh");
// The selection of the page shown joins the favourites; the playing file joins them.
inline const QString addOkini = QStringLiteral("favourites.add");
inline const QString addPlaying = QStringLiteral("favourites.addplaying");
// The playing favourites entry's thumbnail from the current frame (the toolbar's "capture").
inline const QString capture = QStringLiteral("capture");
// The window's modes: full screen (the toolbar's "fullscreen"), mini mode, always on
// top, the window fitted to the video.
inline const QString fullScreen = QStringLiteral("fullscreen");
// Back from full screen to the window (Esc; Alt+Enter in full screen).
inline const QString leaveFullScreen = QStringLiteral("fullscreen.leave");
inline const QString smallMode = QStringLiteral("window.small");
inline const QString topmost = QStringLiteral("window.topmost");
inline const QString optimizeWindow = QStringLiteral("window.optimize");
// "size.0" full screen, "size.1".."size.5" the scales 200 % .. 50 %.
QString size(int index);
// The video 100 screen pixels wider or narrower (Page Up, Page Down), and shown at one
// screen pixel per source pixel (Home, also before any file is open).
inline const QString largerVideo = QStringLiteral("size.larger");
inline const QString smallerVideo = QStringLiteral("size.smaller");
inline const QString actualSize = QStringLiteral("size.actual");
// "再生時は常にオリジナルサイズ" in the size menu.
inline const QString originalSize = QStringLiteral("size.original");
// The toolbar's buttons that open a menu under themselves.
inline const QString sizeMenu = QStringLiteral("panel.size");
inline const QString speedMenu = QStringLiteral("panel.speed");
inline const QString modeMenu = QStringLiteral("panel.mode");
inline const QString windowMenu = QStringLiteral("panel.temae");
// Renames the selected file of the page shown (a single selected file or search result,
// or the selected favourites entry).
inline const QString rename = QStringLiteral("item.rename");
// The properties window of the selected file or search result of the page shown.
inline const QString properties = QStringLiteral("item.properties");

// The favourites popup and the favourites tabs' menu.
inline const QString okiniPlay = QStringLiteral("favourites.play");
inline const QString okiniRename = QStringLiteral("favourites.rename");
// Removes the selected favourites entries (with their thumbnails).
inline const QString deleteItems = QStringLiteral("favourites.delete");
inline const QString okiniCustomList = QStringLiteral("favourites.editlist");
inline const QString okiniThumbnail = QStringLiteral("favourites.thumbnail");
inline const QString okiniView = QStringLiteral("favourites.view");
inline const QString okiniDeleteAll = QStringLiteral("favourites.deleteall");
inline const QString okiniOpenM3u = QStringLiteral("favourites.openm3u");
inline const QString okiniSaveM3u = QStringLiteral("favourites.savem3u");
inline const QString okiniInfo = QStringLiteral("favourites.info");
inline const QString okiniTabAdd = QStringLiteral("favouritestab.add");
inline const QString okiniTabDelete = QStringLiteral("favouritestab.delete");
inline const QString okiniTabRename = QStringLiteral("favouritestab.rename");
inline const QString okiniTabChangeM3u = QStringLiteral("favouritestab.changem3u");
inline const QString okiniTabCustom = QStringLiteral("favouritestab.edit");

// The file popup (over the file list or the search results) and the folder tabs' menu.
inline const QString fileOpenFolder = QStringLiteral("file.openfolder");
inline const QString filePlay = QStringLiteral("file.play");
inline const QString fileRename = QStringLiteral("file.rename");
inline const QString fileProperties = QStringLiteral("file.properties");
inline const QString fileInfo = QStringLiteral("file.info");
inline const QString fileTabAdd = QStringLiteral("filetab.add");
inline const QString fileTabDelete = QStringLiteral("filetab.delete");
inline const QString fileTabRename = QStringLiteral("filetab.rename");
inline const QString fileTabChangeFolder = QStringLiteral("filetab.changefolder");
inline const QString fileTabCustom = QStringLiteral("filetab.edit");

// The scene slots 0..9: over the video the jump, the registration, the rename (shown only)
// and the clear; the jumps into the favourites popup's and the file popup's file.
QString sceneJump(int slot);
QString sceneRegister(int slot);
QString sceneRename(int slot);
QString sceneDelete(int slot);
QString sceneOkini(int slot);
QString sceneFile(int slot);
} // namespace command
