#pragma once
// The program's commands by id. A menu item, a toolbar button, a key and (later) a D-Bus
// call trigger the same command through its id, so each command is written once.

#include <QString>
#include <QStringList>

#include <functional>
#include <map>

namespace command {
// The ids of the commands that exist today.
inline const QString play = QStringLiteral("play");
inline const QString stop = QStringLiteral("stop");
inline const QString next = QStringLiteral("next");
inline const QString pre = QStringLiteral("pre");
inline const QString exit = QStringLiteral("exit");
inline const QString listToggle = QStringLiteral("list.toggle");
inline const QString topSeek = QStringLiteral("topseek");
// The selection of the page shown joins the favourites; the playing file joins them.
inline const QString addOkini = QStringLiteral("favourites.add");
inline const QString addPlaying = QStringLiteral("favourites.addplaying");
// The playing favourites entry's thumbnail from the current frame (the toolbar's "capture").
inline const QString capture = QStringLiteral("capture");
// The window's modes: full screen (the toolbar's "fullscreen"), mini mode, always on
// top, the window fitted to the video.
inline const QString fullScreen = QStringLiteral("fullscreen");
inline const QString smallMode = QStringLiteral("window.small");
inline const QString topmost = QStringLiteral("window.topmost");
inline const QString optimizeWindow = QStringLiteral("window.optimize");
// "size.0" full screen, "size.1".."size.5" the scales 200 % .. 50 %.
QString size(int index);
// "mode.normal", "mode.rennzoku", "mode.roop", "mode.rnd": the play modes 0..3.
QString mode(int index);
// "speed.20", "speed.15", "speed.10", "speed.05": the speeds 0..3.
QString speed(int index);
} // namespace command

class Commands
{
public:
    // Registers (or replaces) the command with this id.
    void add(const QString &id, std::function<void()> run);
    // Runs the command; false for an id that is not registered.
    bool trigger(const QString &id) const;
    bool contains(const QString &id) const;
    QStringList ids() const;

private:
    std::map<QString, std::function<void()>> m_commands;
};
