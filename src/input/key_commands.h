#pragma once
// The keys of the main window: one filter takes each key event of the window once, before
// Qt hands it to the widget with the focus, and gives it to the two dispatchers. A press
// starts a held seek (the fast-forward and rewind bindings) and changes the volume; a
// release runs the first row of the key table that matches it, each row a command. The
// keys typed into the text boxes (the home folder, the search text, the binding boxes)
// and those of dialogs and menus are left alone. The key bindings are kept here.

#include "input/key_bindings.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <optional>
#include <set>

class Commands;
class ControlBar;
class FavouritesPage;
class ListPane;
class Playback;
class QTimer;
class QWidget;
class VideoArea;
class WindowModes;

class KeyCommands : public QObject
{
    Q_OBJECT
public:
    struct Rooms
    {
        QWidget &window;
        Commands &commands;
        VideoArea &video;
        ControlBar &controls;
        ListPane &pane;
        FavouritesPage &favourites;
        WindowModes &modes;
        Playback &playback;
        // The text boxes whose keys are text, not commands.
        QList<QWidget *> textBoxes;
    };
    // Registers the end of a key seek ("keyseek.end") and creates the key bindings' boxes
    // on `page`.
    KeyCommands(const Rooms &rooms, const KeyBindings::Page &page, QString appDir);
    ~KeyCommands() override;

    KeyBindings *bindings() const { return m_bindings; }

    // A key went down or came up: its virtual-key code and the modifier state (1 Shift,
    // 2 Ctrl, 4 Alt).
    void dispatchKeyDown(int keyCode, int shift);
    void dispatchKeyUp(int keyCode, int shift);
    // The focus to the video, where the next key comes to the dispatchers again.
    void focusDisplay();
    // The modifier state of the last press.
    int lastKeyShift() const { return m_lastKeyShift; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // Whether the window's keys go to the dispatchers now: not while a menu or a dialog
    // takes them, and not from a text box.
    bool takesKeys() const;
    // The window lost the keyboard: a held seek ends as its release would, and the keys
    // held are forgotten (their releases go elsewhere).
    void keyboardLost();
    // The release held back runs its row now (when it is no repeat's).
    void releasePending();

    QWidget &m_window;
    Commands &m_commands;
    VideoArea &m_video;
    ControlBar &m_controls;
    ListPane &m_pane;
    FavouritesPage &m_favourites;
    WindowModes &m_modes;
    Playback &m_playback;
    QList<QPointer<QWidget>> m_textBoxes;
    KeyBindings *m_bindings = nullptr;
    int m_lastKeyShift = 0;
    // The keys whose press the dispatcher saw: a release without one (the Enter that closed
    // an input box or chose a menu item) does nothing.
    std::set<int> m_pressed;
    // A release is held back until it is clear that no press of the same key at the same
    // time follows it (an auto-repeat pair X11 did not mark), at most this long.
    static constexpr int kRepeatWindowMs = 25;
    struct PendingRelease
    {
        int code;
        int shift;
        quint64 time;
    };
    std::optional<PendingRelease> m_pendingRelease;
    QTimer *m_releaseLater = nullptr;
};
