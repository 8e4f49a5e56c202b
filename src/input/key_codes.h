#pragma once
// The keys as the program counts them: a Qt key event becomes the Windows virtual-key code
// that the bindings, key.ini and the key commands go by (A–Z 65–90, the digit row 48–57,
// F1 112, keypad 0 96, …). A binding is one character whose code is that key's code: the
// letters as capitals, F1 as "p", keypad 1 as "a", and the codes 161–223 as the halfwidth
// katakana a Windows key.ini holds in CP932. key.ini is a quoted-record file of a notice and
// the eleven bindings.

#include <QString>
#include <qnamespace.h>

#include <array>
#include <cstdint>
#include <optional>

namespace keys {

// The eleven bindings, in the order of key.ini, of the boxes' focus and of the table on the
// options page.
enum Binding {
    Play,    // key_play  再生
    Stop,    // key_stop  停止
    Haya,    // key_haya  はや送り (while held)
    Maki,    // key_maki  巻き戻し (while held)
    Next,    // key_next  次の動画
    Pre,     // key_pre   前の動画
    Tou,     // key_tou   等倍速
    Bai,     // key_bai   ２倍速
    Han,     // key_han   １／２倍速
    Add,     // key_add   お気に入りに追加
    Cap,     // key_cap   サムネイルキャプチャー
    kBindings
};
using KeySet = std::array<QString, kBindings>;

// "Q", "W", "X", "Z", "S", "A", "1", "2", "3", "D", "C".
const KeySet &defaultKeys();

// Virtual-key codes the commands name.
enum Code {
    kBackspace = 8,
    kTab = 9,
    kEnter = 13,
    kShift = 16,
    kCtrl = 17,
    kAlt = 18,
    kEscape = 27,
    kPageUp = 33,
    kPageDown = 34,
    kHome = 36,
    kDelete = 46,
    kPad0 = 96,
    kPad9 = 105,
    kPadPlus = 107,
    kPadMinus = 109,
    kF1 = 112,
    kF2 = 113,
    kF4 = 115,
    kF5 = 116,
    kF6 = 117,
    kF8 = 119,
    kOemPlus = 187,
    kOemMinus = 189,
};

// The virtual-key code of a key: the Qt key with its modifiers (Qt::KeypadModifier tells
// the keypad's keys from the main ones) and the native scan code (X11 and Wayland keycodes;
// 0 when unknown). 0 for a key without a code.
//
// The digit row counts by its scan codes (10–19: "1"…"9", "0") on any layout, so Shift+1
// is 49 whatever character it makes. Without a scan code, a shifted character counts as the
// key that makes it on a US keyboard: "!"…")" the digits, "_+:<>?~" 189, 187, 186, 188, 190,
// 191, 192, "{|}\"" 219–222. With NumLock off the keypad's keys are the navigation keys.
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers, std::uint32_t scanCode);

// The modifier state: 1 Shift, 2 Ctrl, 4 Alt (Meta and the keypad do not count).
int shiftState(Qt::KeyboardModifiers modifiers);

// Whether a key can be bound: codes 32 to 126 and 160 to 223.
bool isKeyCodeAllowed(int code);

// The binding character of a code: the ASCII character for 32–126, U+FF61…U+FF9F for
// 161–223 (the CP932 bytes of a Windows key.ini); "" for any other code (160 included).
QString bindingCharacter(int code);
// The code a binding stands for (its first character; exact, so "p" is F1 and "P" is P);
// 0 for an empty binding or a character that is no key.
int bindingCode(const QString &binding);

// The Qt key (with Qt::KeypadModifier for the keypad) that gives a code, for showing the
// key's name; nullopt for a code no key gives.
std::optional<QKeyCombination> qtKeyOf(int code);

// key.ini: the notice "このファイルを編集しないでください" and the eleven bindings, one quoted
// value a line. A missing file, a value that is empty and a value the file does not hold
// (a short file) give the defaults; a double quote ("""" as the program writes it, """ as
// a Windows key.ini has it) reads as itself.
KeySet readKeyFile(const QString &path);
bool writeKeyFile(const QString &path, const KeySet &keys);

} // namespace keys
