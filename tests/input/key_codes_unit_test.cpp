// The key map, the binding characters and key.ini.
#include "input/key_codes.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace keys;

namespace {
constexpr auto kNone = Qt::NoModifier;
constexpr auto kShf = Qt::ShiftModifier;
constexpr auto kKeypad = Qt::KeypadModifier;
} // namespace

TEST(KeyMap, TheDigitRowCountsByItsScanCodesOnAnyLayout)
{
    // Shift+1 makes "!": the digit row's keycode 10 says it is 1; without a keycode the US
    // layout's "!" does.
    EXPECT_EQ(virtualKey(Qt::Key_Exclam, kShf, 10), 49);
    EXPECT_EQ(virtualKey(Qt::Key_Exclam, kShf, 0), 49);
    // A layout whose Shift+2 makes a double quote (Japanese, UK): keycode 11 is 2, not 222.
    EXPECT_EQ(virtualKey(Qt::Key_QuoteDbl, kShf, 11), 50);
    EXPECT_EQ(virtualKey(Qt::Key_QuoteDbl, kShf, 0), 222);
    // An AZERTY digit row unshifted ("&", "à").
    EXPECT_EQ(virtualKey(Qt::Key_Ampersand, kNone, 10), 49);
    EXPECT_EQ(virtualKey(Qt::Key_Agrave, kNone, 19), 48);
    EXPECT_EQ(virtualKey(Qt::Key_ParenRight, kShf, 0), 48);
}

TEST(KeyMap, TheKeypadIsToldFromTheMainKeyboard)
{
    EXPECT_EQ(virtualKey(Qt::Key_Plus, kKeypad, 86), 107);
    EXPECT_EQ(virtualKey(Qt::Key_Plus, kShf, 21), 187);
    EXPECT_EQ(virtualKey(Qt::Key_Equal, kNone, 21), 187);
    EXPECT_EQ(virtualKey(Qt::Key_Minus, kKeypad, 82), 109);
    EXPECT_EQ(virtualKey(Qt::Key_Minus, kNone, 20), 189);
    EXPECT_EQ(virtualKey(Qt::Key_3, kKeypad, 89), 99);
    EXPECT_EQ(virtualKey(Qt::Key_3, kNone, 12), 51);
    EXPECT_EQ(virtualKey(Qt::Key_Asterisk, kKeypad, 63), 106);
    EXPECT_EQ(virtualKey(Qt::Key_Period, kKeypad, 91), 110);
    EXPECT_EQ(virtualKey(Qt::Key_Slash, kKeypad, 106), 111);
    EXPECT_EQ(virtualKey(Qt::Key_Enter, kKeypad, 104), 13);
    // NumLock off: the keypad's 1 is End, its 9 Page Up, its . Delete.
    EXPECT_EQ(virtualKey(Qt::Key_End, kKeypad, 87), 35);
    EXPECT_EQ(virtualKey(Qt::Key_PageUp, kKeypad, 81), 33);
    EXPECT_EQ(virtualKey(Qt::Key_Delete, kKeypad, 91), 46);
}

TEST(KeyMap, LettersFunctionKeysSymbolsAndTheRest)
{
    EXPECT_EQ(virtualKey(Qt::Key_Q, kNone, 24), 81);
    EXPECT_EQ(virtualKey(Qt::Key_Q, kShf, 24), 81);
    EXPECT_EQ(virtualKey(Qt::Key_F1, kNone, 67), 112);
    EXPECT_EQ(virtualKey(Qt::Key_F12, kNone, 96), 123);
    EXPECT_EQ(virtualKey(Qt::Key_F24, kNone, 0), 135);
    for (const auto &[key, code] : std::initializer_list<std::pair<Qt::Key, int>>{
             {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Return, 13},
             {Qt::Key_Shift, 16}, {Qt::Key_Control, 17}, {Qt::Key_Alt, 18}, {Qt::Key_Escape, 27},
             {Qt::Key_Space, 32}, {Qt::Key_PageDown, 34}, {Qt::Key_Home, 36}, {Qt::Key_Left, 37},
             {Qt::Key_Down, 40}, {Qt::Key_Insert, 45}, {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},
             {Qt::Key_Less, 188}, {Qt::Key_Question, 191}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BraceLeft, 219},
             {Qt::Key_Bar, 220}, {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
             {Qt::Key_VolumeMute, 173}, {Qt::Key_MediaTogglePlayPause, 179}, {Qt::Key_MediaNext, 176}})
        EXPECT_EQ(virtualKey(key, kNone, 0), code) << Qt::Key(key);
    // No code: a key of no Windows keyboard, Meta.
    EXPECT_EQ(virtualKey(Qt::Key_Meta, kNone, 133), 0);
    EXPECT_EQ(virtualKey(Qt::Key_unknown, kNone, 0), 0);
    // A Cyrillic layout's letters (Qt's key is the letter, Й here) count by their place.
    EXPECT_EQ(virtualKey(Qt::Key(0x0419), kNone, 24), 'Q');
}

TEST(KeyMap, ModifierState)
{
    EXPECT_EQ(shiftState(Qt::ShiftModifier), 1);
    EXPECT_EQ(shiftState(Qt::ControlModifier), 2);
    EXPECT_EQ(shiftState(Qt::AltModifier), 4);
    EXPECT_EQ(shiftState(Qt::ControlModifier | Qt::ShiftModifier), 3);
    EXPECT_EQ(shiftState(Qt::MetaModifier | Qt::KeypadModifier), 0);
}

TEST(BindingCharacters, AllowedCodesAtTheirEdges)
{
    EXPECT_FALSE(isKeyCodeAllowed(31));
    EXPECT_TRUE(isKeyCodeAllowed(32));
    EXPECT_TRUE(isKeyCodeAllowed(126));
    EXPECT_FALSE(isKeyCodeAllowed(127));
    EXPECT_FALSE(isKeyCodeAllowed(159));
    EXPECT_TRUE(isKeyCodeAllowed(160));
    EXPECT_TRUE(isKeyCodeAllowed(223));
    EXPECT_FALSE(isKeyCodeAllowed(224));
    EXPECT_FALSE(isKeyCodeAllowed(8));
}

TEST(BindingCharacters, CodesAndCharactersBothWays)
{
    EXPECT_EQ(bindingCharacter(112), "p"); // F1
    EXPECT_EQ(bindingCode(QStringLiteral("p")), 112);
    EXPECT_EQ(bindingCode(QStringLiteral("P")), 80);
    EXPECT_EQ(bindingCharacter(97), "a"); // keypad 1
    EXPECT_EQ(bindingCharacter(186), QString(QChar(0xFF7A)));
    EXPECT_EQ(bindingCode(QString(QChar(0xFF7A))), 186);
    EXPECT_EQ(bindingCharacter(161), QString(QChar(0xFF61)));
    EXPECT_EQ(bindingCharacter(223), QString(QChar(0xFF9F)));
    EXPECT_EQ(bindingCharacter(34), "\"");
    EXPECT_TRUE(bindingCharacter(160).isEmpty());
    EXPECT_TRUE(bindingCharacter(127).isEmpty());
    EXPECT_EQ(bindingCode(QString()), 0);
    EXPECT_EQ(bindingCode(QStringLiteral("あ")), 0);
    EXPECT_EQ(bindingCode(QStringLiteral("QW")), 81) << "the first character counts";
    for (int code = 0; code < 256; ++code) {
        if (!bindingCharacter(code).isEmpty()) {
            EXPECT_EQ(bindingCode(bindingCharacter(code)), code);
        }
    }
}

class KeyFile : public ::testing::Test
{
protected:
    QString path() const { return dir.filePath(QStringLiteral("key.ini")); }
    KeySet read(const QByteArray &bytes)
    {
        testsupport::writeFile(path(), bytes);
        return readKeyFile(path());
    }
    QTemporaryDir dir;
};

TEST_F(KeyFile, DefaultsWhereTheFileSaysNothing)
{
    EXPECT_EQ(readKeyFile(path()), defaultKeys()) << "no file";
    const KeySet shortFile = read("\"このファイルを編集しないでください\"\r\n\"E\"\r\n\"\"\r\n\"p\"\r\n");
    EXPECT_EQ(shortFile[Play], "E");
    EXPECT_EQ(shortFile[Stop], "W") << "an empty value";
    EXPECT_EQ(shortFile[Haya], "p");
    EXPECT_EQ(shortFile[Maki], "Z") << "a value the file does not hold";
    EXPECT_EQ(shortFile[Cap], "C");
    EXPECT_EQ(read(""), defaultKeys());
}

TEST_F(KeyFile, WrittenAndReadBack)
{
    KeySet keys = defaultKeys();
    keys[Play] = QStringLiteral("\"");       // Page Down
    keys[Next] = QStringLiteral("p");        // F1
    keys[Cap] = QString(QChar(0xFF7A));      // ";"
    ASSERT_TRUE(writeKeyFile(path(), keys));
    EXPECT_EQ(testsupport::readFile(path()),
              "\"このファイルを編集しないでください\"\r\n\"\"\"\"\r\n\"W\"\r\n\"X\"\r\n\"Z\"\r\n\"p\"\r\n\"A\"\r\n"
              "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"D\"\r\n\"\xEF\xBD\xBA\"\r\n");
    EXPECT_EQ(readKeyFile(path()), keys);
    ASSERT_TRUE(writeKeyFile(path(), defaultKeys()));
    EXPECT_EQ(testsupport::readFile(path()),
              "\"このファイルを編集しないでください\"\r\n\"Q\"\r\n\"W\"\r\n\"X\"\r\n\"Z\"\r\n\"S\"\r\n\"A\"\r\n"
              "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"D\"\r\n\"C\"\r\n");
}

TEST_F(KeyFile, AWindowsKeyIniInCp932)
{
    // The notice in Shift-JIS, a quote as Windows writes it, and ｺ (code 186) as byte BA.
    const QByteArray notice = QByteArray::fromHex("82b182cc837483408343838b82f095d28f5782b582c882a282c582ad82be82b382a2");
    const KeySet keys = read("\"" + notice + "\"\r\n\"\"\"\r\n\"W\"\r\n\"\xBA\"\r\n\"Z\"\r\n\"S\"\r\n\"A\"\r\n\"1\"\r\n"
                             "\"2\"\r\n\"3\"\r\n\"D\"\r\n\"C\"\r\n");
    EXPECT_EQ(keys[Play], "\"");
    EXPECT_EQ(bindingCode(keys[Play]), 34);
    EXPECT_EQ(keys[Haya], QString(QChar(0xFF7A)));
    EXPECT_EQ(bindingCode(keys[Haya]), 186);
    EXPECT_EQ(keys[Cap], "C");
}

TEST(KeyNames, EveryCodeOfTheMapHasItsKey)
{
    EXPECT_EQ(qtKeyOf(112), QKeyCombination(Qt::Key_F1));
    EXPECT_EQ(qtKeyOf(97), QKeyCombination(Qt::KeypadModifier, Qt::Key_1));
    EXPECT_EQ(qtKeyOf(34), QKeyCombination(Qt::Key_PageDown));
    EXPECT_FALSE(qtKeyOf(200).has_value());
    // Each key a code names gives that code back.
    for (int code = 1; code < 256; ++code) {
        if (const auto key = qtKeyOf(code)) {
            EXPECT_EQ(virtualKey(key->key(), key->keyboardModifiers(), 0), code) << code;
        }
    }
}
