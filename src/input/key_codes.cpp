#include "input/key_codes.h"

#include "platform/quoted_records.h"

#include <cstring>

namespace keys {

namespace {

constexpr char16_t kHalfwidthFirst = 0xFF61; // the character of code 161
constexpr int kHalfwidthFirstCode = 161;
constexpr int kHalfwidthLastCode = 223;

// The codes of the keys that are the same with and without the keypad (NumLock off, Enter).
int navigationKey(int k)
{
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

// The keys of the main keyboard by the characters they make, shifted ones as on a US keyboard.
int characterKey(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return k; // Qt's codes of the letters are the capitals', as the key codes
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return k;
    switch (k) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

int mediaKey(int k)
{
    switch (k) {
    case Qt::Key_VolumeMute: return 173;
    case Qt::Key_VolumeDown: return 174;
    case Qt::Key_VolumeUp: return 175;
    case Qt::Key_MediaNext: return 176;
    case Qt::Key_MediaPrevious: return 177;
    case Qt::Key_MediaStop: return 178;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaPause:
    case Qt::Key_MediaTogglePlayPause: return 179;
    default: return 0;
    }
}

// The letter keys by their place (X11 and Wayland keycodes of a US keyboard), for a layout
// whose letters are not Latin ones.
int letterByPlace(std::uint32_t scan)
{
    static const char rows[][11] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static const std::uint32_t firsts[] = {24, 38, 52};
    for (int r = 0; r < 3; ++r) {
        const auto n = std::uint32_t(std::strlen(rows[r]));
        if (scan >= firsts[r] && scan < firsts[r] + n)
            return rows[r][scan - firsts[r]];
    }
    return 0;
}

} // namespace

const KeySet &defaultKeys()
{
    static const KeySet keys{QStringLiteral("Q"), QStringLiteral("W"), QStringLiteral("X"), QStringLiteral("Z"),
                             QStringLiteral("S"), QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2"),
                             QStringLiteral("3"), QStringLiteral("D"), QStringLiteral("C")};
    return keys;
}

int virtualKey(int k, Qt::KeyboardModifiers modifiers, std::uint32_t scan)
{
    if (modifiers & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9)
            return 96 + (k - Qt::Key_0);
        switch (k) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110; // the decimal key, a comma on some layouts
        case Qt::Key_Slash: return 111;
        default: break; // Enter, and with NumLock off the navigation keys
        }
    }
    // The digit row, whatever its keys make on this layout or with Shift.
    if (scan >= 10 && scan <= 19)
        return scan == 19 ? '0' : int('1' + (scan - 10));
    if (const int code = navigationKey(k))
        return code;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return 112 + (k - Qt::Key_F1);
    if (const int code = characterKey(k))
        return code;
    if (const int code = mediaKey(k))
        return code;
    return letterByPlace(scan);
}

int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

bool isKeyCodeAllowed(int code)
{
    return (code >= 32 && code <= 126) || (code >= 160 && code <= 223);
}

QString bindingCharacter(int code)
{
    if (code >= 32 && code <= 126)
        return QString(QChar(char16_t(code)));
    if (code >= kHalfwidthFirstCode && code <= kHalfwidthLastCode)
        return QString(QChar(char16_t(kHalfwidthFirst + (code - kHalfwidthFirstCode))));
    return {};
}

int bindingCode(const QString &binding)
{
    if (binding.isEmpty())
        return 0;
    const char16_t c = binding.at(0).unicode();
    if (c >= 32 && c <= 126)
        return c;
    if (c >= kHalfwidthFirst && c <= kHalfwidthFirst + (kHalfwidthLastCode - kHalfwidthFirstCode))
        return kHalfwidthFirstCode + (c - kHalfwidthFirst);
    return 0;
}

std::optional<QKeyCombination> qtKeyOf(int code)
{
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return Qt::Key(code);
    if (code >= 96 && code <= 105)
        return Qt::KeypadModifier | Qt::Key(Qt::Key_0 + (code - 96));
    if (code >= 112 && code <= 135)
        return Qt::Key(Qt::Key_F1 + (code - 112));
    switch (code) {
    case 8: return Qt::Key_Backspace;
    case 9: return Qt::Key_Tab;
    case 12: return Qt::Key_Clear;
    case 13: return Qt::Key_Return;
    case 16: return Qt::Key_Shift;
    case 17: return Qt::Key_Control;
    case 18: return Qt::Key_Alt;
    case 27: return Qt::Key_Escape;
    case 32: return Qt::Key_Space;
    case 33: return Qt::Key_PageUp;
    case 34: return Qt::Key_PageDown;
    case 35: return Qt::Key_End;
    case 36: return Qt::Key_Home;
    case 37: return Qt::Key_Left;
    case 38: return Qt::Key_Up;
    case 39: return Qt::Key_Right;
    case 40: return Qt::Key_Down;
    case 45: return Qt::Key_Insert;
    case 46: return Qt::Key_Delete;
    case 106: return Qt::KeypadModifier | Qt::Key_Asterisk;
    case 107: return Qt::KeypadModifier | Qt::Key_Plus;
    case 109: return Qt::KeypadModifier | Qt::Key_Minus;
    case 110: return Qt::KeypadModifier | Qt::Key_Period;
    case 111: return Qt::KeypadModifier | Qt::Key_Slash;
    case 173: return Qt::Key_VolumeMute;
    case 174: return Qt::Key_VolumeDown;
    case 175: return Qt::Key_VolumeUp;
    case 176: return Qt::Key_MediaNext;
    case 177: return Qt::Key_MediaPrevious;
    case 178: return Qt::Key_MediaStop;
    case 179: return Qt::Key_MediaTogglePlayPause;
    case 186: return Qt::Key_Semicolon;
    case 187: return Qt::Key_Equal;
    case 188: return Qt::Key_Comma;
    case 189: return Qt::Key_Minus;
    case 190: return Qt::Key_Period;
    case 191: return Qt::Key_Slash;
    case 192: return Qt::Key_QuoteLeft;
    case 219: return Qt::Key_BracketLeft;
    case 220: return Qt::Key_Backslash;
    case 221: return Qt::Key_BracketRight;
    case 222: return Qt::Key_Apostrophe;
    default: return std::nullopt;
    }
}

namespace {
const QString kNotice = QStringLiteral("このファイルを編集しないでください");
}

KeySet readKeyFile(const QString &path)
{
    KeySet keys = defaultKeys();
    const auto records = platform::readQuotedRecords(path, 1);
    if (!records)
        return keys;
    // The first record is the notice; the bindings follow it in their order.
    for (int i = 0; i < kBindings; ++i) {
        const qsizetype line = i + 1;
        if (line < records->size() && !records->at(line).value(0).isEmpty())
            keys[std::size_t(i)] = records->at(line).value(0);
    }
    return keys;
}

bool writeKeyFile(const QString &path, const KeySet &keys)
{
    QList<QStringList> records{{kNotice}};
    for (const QString &k : keys)
        records.append({k});
    return platform::writeQuotedRecords(path, records);
}

} // namespace keys
