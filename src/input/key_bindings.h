#pragma once
// The eleven shortcut keys: their fields, key.ini, and the boxes that edit them on the
// options page's "キー＆マウス" frame (Frame_Key) with "デフォルトに戻す". A box binds the key
// released in it, unless another of the first nine binds it already; the boxes take no
// typed text. The keys are shown beside their commands' menu items.

#include "input/key_codes.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <set>

class Commands;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QWidget;
class SaveSoon;

// The virtual-key code of a key event (the native scan code counts on X11 and Wayland,
// whose keycodes the key map knows).
int keyCodeOf(const QKeyEvent *e);

class KeyBindings : public QObject
{
    Q_OBJECT
public:
    // Where the boxes go: the frame they stand in (Frame_Key's controls), a function that
    // lays out a control placed there at its design rectangle with the frame's others, the
    // options frame `config` (hovering it, as the frame, makes bt_default regular again),
    // and the label `message` that tells how an edit went.
    struct Page
    {
        QWidget *frame = nullptr;
        std::function<void(QWidget *)> place;
        QWidget *config = nullptr;
        QLabel *message = nullptr;
    };
    KeyBindings(QObject *parent, const Page &page, Commands &commands, QString appDir);

    // key.ini in the state folder into the fields and the boxes (start-up), and back (shutdown).
    void loadKeys();
    void saveKeys();
    // key.ini is written soon after a binding changes (within two seconds, a burst as one
    // write), so a session that ends without a shutdown keeps the edits; shutdown stops
    // that first and writes the file itself.
    void stopSaving();
    // The save due soon (the tests' view of the debounce).
    const SaveSoon *keysSave() const { return m_keysSave; }
    // Whether a binding differs from the text of each of the first nine boxes (Text_play to
    // Text_han; Text_add and Text_cap do not count).
    bool isKeyUnused(const QString &key) const;

    // The boxes' handlers, by the box's index (keys::Binding).
    void Text_GotFocus(int box);
    void Text_LostFocus(int box);
    void Text_KeyUp(int box, int keyCode);
    // "デフォルトに戻す": every binding back to its default (written at shutdown).
    void bt_default_Click();

    // ---- What other rooms read
    const keys::KeySet &keys() const { return m_keys; }
    const QString &key_play() const { return m_keys[keys::Play]; }
    const QString &key_stop() const { return m_keys[keys::Stop]; }
    const QString &key_haya() const { return m_keys[keys::Haya]; }
    const QString &key_maki() const { return m_keys[keys::Maki]; }
    const QString &key_next() const { return m_keys[keys::Next]; }
    const QString &key_pre() const { return m_keys[keys::Pre]; }
    const QString &key_tou() const { return m_keys[keys::Tou]; }
    const QString &key_bai() const { return m_keys[keys::Bai]; }
    const QString &key_han() const { return m_keys[keys::Han]; }
    const QString &key_add() const { return m_keys[keys::Add]; }
    const QString &key_cap() const { return m_keys[keys::Cap]; }
    // The boxes in the order of the bindings: Text_play … Text_cap (text_maki the fourth).
    const std::array<QLineEdit *, keys::kBindings> &boxes() const { return m_boxes; }
    QLineEdit *Text_play() const { return m_boxes[keys::Play]; }
    QLineEdit *Text_stop() const { return m_boxes[keys::Stop]; }
    QLineEdit *Text_haya() const { return m_boxes[keys::Haya]; }
    QLineEdit *text_maki() const { return m_boxes[keys::Maki]; }
    QLineEdit *Text_next() const { return m_boxes[keys::Next]; }
    QLineEdit *Text_pre() const { return m_boxes[keys::Pre]; }
    QLineEdit *Text_tou() const { return m_boxes[keys::Tou]; }
    QLineEdit *Text_bai() const { return m_boxes[keys::Bai]; }
    QLineEdit *Text_han() const { return m_boxes[keys::Han]; }
    QLineEdit *Text_add() const { return m_boxes[keys::Add]; }
    QLineEdit *Text_cap() const { return m_boxes[keys::Cap]; }
    QLabel *bt_default() const { return m_bt_default; }
    // Whether a widget is one of the boxes (the key commands leave their keys alone).
    bool isBox(const QObject *o) const;

Q_SIGNALS:
    // A binding changed (an edit, the defaults, key.ini read).
    void keysChanged();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    int boxIndex(const QObject *o) const;
    // The fields shown in the boxes, and the keys beside the commands' menu items.
    void showKeys();
    void showShortcuts();
    void setBold(bool bold);

    Commands &m_commands;
    QString m_appDir;
    QLabel *m_message;
    QWidget *m_frame;
    QWidget *m_config;
    keys::KeySet m_keys;
    SaveSoon *m_keysSave = nullptr;
    // The keys pressed in each box whose release has not come: a release the box never saw
    // the press of (the focus came with the key held) binds nothing.
    std::map<int, std::set<int>> m_pressed;
    // The last release: a press of the same key at the same time is its auto-repeat (the
    // first repeat's release can come unmarked on X11).
    int m_lastReleaseCode = 0;
    quint64 m_lastReleaseTime = 0;

private:
    std::array<QLineEdit *, keys::kBindings> m_boxes{};
    QLabel *m_bt_default = nullptr;
};
