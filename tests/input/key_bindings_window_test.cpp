// The eleven binding boxes on "キー＆マウス", key.ini at start-up and shutdown, and the keys
// shown beside the commands' menu items.
#include "support/key_events.h"
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "input/key_commands.h"
#include "lists/list_pane.h"
#include "lists/tab_strip.h"
#include "widgets/command_ids.h"
#include "widgets/save_soon.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>

using namespace keytest;

class KeyBindingsTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        showKeyFrame();
    }
    void showKeyFrame()
    {
        player->listPane()->Tab1()->select(4);
        player->options()->Tab_Config()->select(3);
        QCoreApplication::processEvents();
    }
    KeyBindings &bindings() { return *player->keyCommands()->bindings(); }
    QString message() { return player->options()->message()->text(); }
    QWidget *focused() { return player->focusWidget(); }
};

TEST_F(KeyBindingsTest, TheBoxesStandOnTheKeyFrameWithTheDefaults)
{
    KeyBindings &b = bindings();
    const QStringList names{"Text_play", "Text_stop", "Text_haya", "text_maki", "Text_next", "Text_pre",
                            "Text_tou",  "Text_bai",  "Text_han",  "Text_add",  "Text_cap"};
    const QStringList texts{"Q", "W", "X", "Z", "S", "A", "1", "2", "3", "D", "C"};
    QWidget *frame = player->options()->Frame_Key();
    for (int i = 0; i < keys::kBindings; ++i) {
        QLineEdit *box = b.boxes()[std::size_t(i)];
        EXPECT_EQ(box->objectName(), names[i]);
        EXPECT_EQ(box->text(), texts[i]);
        EXPECT_TRUE(frame->isAncestorOf(box));
        EXPECT_TRUE(box->isVisible());
    }
    EXPECT_EQ(b.bt_default()->text(), "デフォルトに戻す");
    // Above "マウスイベント", in the frame's order of rows.
    const auto *mouse = frame->findChildren<QLabel *>().value(0);
    for (QLabel *l : frame->findChildren<QLabel *>())
        if (l->text() == u"マウスイベント")
            mouse = l;
    EXPECT_LT(b.bt_default()->geometry().bottom(), mouse->geometry().top());
    EXPECT_LT(b.Text_play()->geometry().top(), b.Text_stop()->geometry().top());
}

TEST_F(KeyBindingsTest, AKeyReleasedInABoxBindsItAndTheFocusMovesOn)
{
    KeyBindings &b = bindings();
    b.Text_play()->setFocus();
    // Shift+Q binds "Q" (no modifier is kept); the Shift released in the next box is no key
    // pressed there.
    press(*player, Qt::Key_Shift, Qt::ShiftModifier);
    press(*player, Qt::Key_E, Qt::ShiftModifier);
    EXPECT_EQ(b.Text_play()->text(), "Q") << "a press types nothing";
    release(*player, Qt::Key_E, Qt::ShiftModifier);
    EXPECT_EQ(b.Text_play()->text(), "E");
    EXPECT_EQ(b.key_play(), "E");
    EXPECT_EQ(message(), "OK");
    EXPECT_EQ(focused(), b.Text_stop());
    release(*player, Qt::Key_Shift);
    EXPECT_EQ(message(), "OK") << "the Shift's press was in the other box";
    EXPECT_EQ(b.Text_stop()->text(), "W");

    // The key a box holds already is accepted again.
    tap(*player, Qt::Key_W);
    EXPECT_EQ(message(), "OK");
    EXPECT_EQ(focused(), b.Text_haya());

    // Every box in turn, Text_cap keeping the focus.
    tap(*player, Qt::Key_F3); // "r": no other box has it
    EXPECT_EQ(b.key_haya(), "r");
    EXPECT_EQ(focused(), b.text_maki());
    const Qt::Key others[] = {Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12, Qt::Key_Insert, Qt::Key_Space};
    QLineEdit *const order[] = {b.Text_next(), b.Text_pre(), b.Text_tou(), b.Text_bai(), b.Text_han(), b.Text_add()};
    for (int i = 0; i < 6; ++i) {
        tap(*player, others[i]);
        EXPECT_EQ(focused(), order[i]) << i;
    }
    tap(*player, Qt::Key_Home); // "$" into Text_add
    EXPECT_EQ(focused(), b.Text_cap());
    tap(*player, Qt::Key_Home); // Text_add's key is free for Text_cap
    EXPECT_EQ(message(), "OK");
    EXPECT_EQ(b.key_cap(), "$");
    EXPECT_EQ(b.key_add(), "$");
    EXPECT_EQ(focused(), b.Text_cap()) << "the last box keeps the focus";
}

// A key held in a box binds it once: its repeats, also the first one X11 sends as a plain
// release and press at one time, bind nothing in the box the focus moved to.
TEST_F(KeyBindingsTest, AHeldKeyBindsOneBox)
{
    KeyBindings &b = bindings();
    b.Text_play()->setFocus();
    sendAt(*player, QEvent::KeyPress, Qt::Key_E, 1000);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_E, 1500);
    EXPECT_EQ(b.key_play(), "E");
    EXPECT_EQ(focused(), b.Text_stop());
    sendAt(*player, QEvent::KeyPress, Qt::Key_E, 1500);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_E, 1530, true);
    sendAt(*player, QEvent::KeyPress, Qt::Key_E, 1530, true);
    sendAt(*player, QEvent::KeyRelease, Qt::Key_E, 2000);
    EXPECT_EQ(b.key_stop(), "W");
    EXPECT_EQ(focused(), b.Text_stop());
    EXPECT_EQ(message(), "OK");
}

TEST_F(KeyBindingsTest, RefusedKeysLeaveTheBindingAsItWas)
{
    KeyBindings &b = bindings();
    // Another of the first nine has it.
    b.Text_play()->setFocus();
    tap(*player, Qt::Key_W);
    EXPECT_EQ(b.Text_play()->text(), "Q");
    EXPECT_EQ(b.key_play(), "Q");
    EXPECT_EQ(message(), "そのショートカットキーは他の機能に登録されています");
    EXPECT_EQ(focused(), b.Text_play());
    // Text_add's key does not count, Text_cap's neither.
    tap(*player, Qt::Key_C);
    EXPECT_EQ(message(), "OK");
    EXPECT_EQ(b.key_play(), "C");
    // Keys that cannot be bound: Enter, Esc, Alt, Backspace (which erases nothing either).
    b.Text_stop()->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Alt, Qt::Key_Backspace}) {
        b.Text_stop()->setFocus();
        player->options()->message()->clear();
        tap(*player, key);
        EXPECT_EQ(b.Text_stop()->text(), "W") << key;
        EXPECT_EQ(message(), "そのキーは使えません") << key;
    }
    EXPECT_EQ(b.key_stop(), "W");
    // A release whose press the box never saw binds nothing.
    b.Text_stop()->setFocus();
    player->options()->message()->clear();
    release(*player, Qt::Key_K);
    EXPECT_EQ(b.Text_stop()->text(), "W");
    EXPECT_TRUE(message().isEmpty());
}

TEST_F(KeyBindingsTest, TheFocusedBoxIsCyanWithBlackTextTheOthersTheReverse)
{
    KeyBindings &b = bindings();
    b.Text_haya()->setFocus();
    QCoreApplication::processEvents();
    const auto colours = [](QLineEdit *box) {
        return std::pair{box->palette().color(QPalette::Base), box->palette().color(QPalette::Text)};
    };
    EXPECT_EQ(colours(b.Text_haya()), (std::pair{QColor(0, 255, 255), QColor(0, 0, 0)}));
    EXPECT_EQ(colours(b.Text_play()), (std::pair{QColor(0, 0, 0), QColor(0, 255, 255)}));
    b.text_maki()->setFocus();
    EXPECT_EQ(colours(b.Text_haya()), (std::pair{QColor(0, 0, 0), QColor(0, 255, 255)}));
    EXPECT_EQ(colours(b.text_maki()), (std::pair{QColor(0, 255, 255), QColor(0, 0, 0)}));
}

TEST_F(KeyBindingsTest, DefaultsAndShutdownWriteTheFile)
{
    KeyBindings &b = bindings();
    b.Text_play()->setFocus();
    tap(*player, Qt::Key_PageDown); // the double quote
    b.Text_next()->setFocus();
    tap(*player, Qt::Key_F1);
    EXPECT_EQ(b.key_play(), "\"");
    EXPECT_EQ(b.key_next(), "p");
    close();
    EXPECT_EQ(testsupport::readFile(app("key.ini")),
              "\"このファイルを編集しないでください\"\r\n\"\"\"\"\r\n\"W\"\r\n\"X\"\r\n\"Z\"\r\n\"p\"\r\n\"A\"\r\n"
              "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"D\"\r\n\"C\"\r\n");

    // Read back at the next start; "デフォルトに戻す" (hovered: bold) then exit writes the defaults.
    start();
    showKeyFrame();
    EXPECT_EQ(bindings().key_play(), "\"");
    EXPECT_EQ(bindings().Text_next()->text(), "p");
    QLabel *def = bindings().bt_default();
    QTest::mouseMove(def, QPoint(5, 5));
    QMouseEvent over(QEvent::MouseMove, QPointF(5, 5), def->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(def, &over);
    EXPECT_TRUE(def->font().bold());
    QMouseEvent away(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(player->options()->keyFrameContents(), &away);
    EXPECT_FALSE(def->font().bold());
    QCoreApplication::sendEvent(def, &over);
    QCoreApplication::sendEvent(player->listPane()->config(), &away);
    EXPECT_FALSE(def->font().bold()) << "over the options frame too";
    QTest::mouseClick(def, Qt::LeftButton);
    EXPECT_EQ(bindings().key_play(), "Q");
    EXPECT_EQ(bindings().Text_next()->text(), "S");
    close();
    EXPECT_EQ(testsupport::readFile(app("key.ini")),
              "\"このファイルを編集しないでください\"\r\n\"Q\"\r\n\"W\"\r\n\"X\"\r\n\"Z\"\r\n\"S\"\r\n\"A\"\r\n"
              "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"D\"\r\n\"C\"\r\n");
}

// An edit is on disk within two seconds without a shutdown (a session that ends by a kill
// keeps it); the edits of a burst are one write; shutdown writes the file once more only
// where the bindings differ from it.
TEST_F(KeyBindingsTest, AnEditIsSavedSoonWithoutAShutdown)
{
    KeyBindings &b = bindings();
    const QString file = app("key.ini");
    QFile::remove(file);
    b.Text_play()->setFocus();
    tap(*player, Qt::Key_E);
    tap(*player, Qt::Key_R);
    EXPECT_FALSE(QFileInfo::exists(file)) << "written soon, not at once";
    ASSERT_TRUE(testsupport::waitFor([&] { return QFileInfo::exists(file); }, 2000));
    EXPECT_EQ(b.keysSave()->saves(), 1) << "the burst is one write";
    EXPECT_EQ(testsupport::readFile(file), "\"このファイルを編集しないでください\"\r\n\"E\"\r\n\"R\"\r\n\"X\"\r\n\"Z\"\r\n"
                                           "\"S\"\r\n\"A\"\r\n\"1\"\r\n\"2\"\r\n\"3\"\r\n\"D\"\r\n\"C\"\r\n");
    // A refused key changes nothing and saves nothing.
    tap(*player, Qt::Key_Return);
    testsupport::pump(1300);
    EXPECT_EQ(b.keysSave()->saves(), 1);
    // An edit just before the exit: shutdown's write has it, and no save comes after.
    tap(*player, Qt::Key_T);
    close();
    EXPECT_TRUE(testsupport::readFile(file).contains("\"R\"\r\n\"T\"\r\n"));
}

TEST_F(KeyBindingsTest, AWindowsKeyIniIsRead)
{
    close();
    // Shift-JIS notice, """ for a double quote, ｺ as its CP932 byte, and only five values.
    testsupport::writeFile(app("key.ini"),
                           QByteArray::fromHex("2282b182cc837483408343838b82f095d28f5782b582c882a282c582ad82be82b382a2220d0a")
                               + "\"\"\"\r\n\"\xBA\"\r\n\"\"\r\n\"Y\"\r\n");
    start();
    KeyBindings &b = bindings();
    EXPECT_EQ(b.key_play(), "\"");
    EXPECT_EQ(b.key_stop(), QString(QChar(0xFF7A)));
    EXPECT_EQ(b.key_haya(), "X");
    EXPECT_EQ(b.key_maki(), "Y");
    EXPECT_EQ(b.key_next(), "S");
    EXPECT_EQ(b.Text_stop()->text(), QString(QChar(0xFF7A)));
}

TEST_F(KeyBindingsTest, TheBindingsAreShownBesideTheirMenuItems)
{
    CommandRegistry &c = player->commands();
    EXPECT_EQ(c.action(command::play)->text(), "再生・一次停止(enter)\tQ");
    EXPECT_EQ(c.action(command::stop)->text(), "停止\tW");
    EXPECT_EQ(c.action(command::speed(2))->text(), "等倍速\t1");
    EXPECT_EQ(c.action(command::speed(0))->text(), "２．０倍\t2");
    EXPECT_EQ(c.action(command::speed(3))->text(), "０．５倍\t3");
    EXPECT_EQ(c.action(command::addOkini)->text(), "お気に入りに追加(Ctrl+D)\tD");
    // The toolbar's stop button has no tooltip of its own: it keeps the item's text.
    EXPECT_EQ(c.action(command::stop)->toolTip(), "停止");
    EXPECT_EQ(c.action(command::play)->toolTip(), "再生・一時停止");
    bindings().Text_play()->setFocus();
    tap(*player, Qt::Key_F1);
    EXPECT_EQ(c.action(command::play)->text(), "再生・一次停止(enter)\tF1");
    bindings().Text_stop()->setFocus();
    tap(*player, Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(c.action(command::stop)->text(), "停止\tNum+3");
    EXPECT_EQ(c.action(command::stop)->toolTip(), "停止");
    // Text only: Qt's shortcuts are not set, the key commands take the keys.
    EXPECT_TRUE(c.action(command::play)->shortcut().isEmpty());
}
