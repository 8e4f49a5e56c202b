// The real message boxes of the program (not the scripted double): their title and, with
// Qt's Japanese translation installed, their buttons.
#include "support/player_fixture.h"

#include "dialogs/dialogs.h"
#include "lists/favourites_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QTranslator>

#include <functional>

namespace {

// A button's caption as it reads, without its mnemonic ("はい(&Y)" reads "はい").
QString readCaption(const QAbstractButton *button)
{
    QString text = button->text();
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    return text.remove(u'&');
}

// What a box showed before it was answered.
struct SeenBox
{
    bool shown = false;
    QString title;
    QString yes;
    QString no;
};

// Runs `ask`, which opens a modal Yes/No box and waits for it; the box is read and answered
// No from a timer. A box that never comes leaves `shown` false, and one that is not a
// question is closed all the same, so the test never hangs.
SeenBox answerNo(const std::function<void()> &ask)
{
    SeenBox seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll.stop();
        seen.shown = true;
        seen.title = modal->windowTitle();
        auto *box = qobject_cast<QMessageBox *>(modal);
        QAbstractButton *yes = box ? box->button(QMessageBox::Yes) : nullptr;
        QAbstractButton *no = box ? box->button(QMessageBox::No) : nullptr;
        if (yes)
            seen.yes = readCaption(yes);
        if (no) {
            seen.no = readCaption(no);
            no->click();
        } else {
            modal->close();
        }
    });
    poll.start();
    QTimer::singleShot(5000, &poll, &QTimer::stop);
    ask();
    return seen;
}

} // namespace

class MessageBoxes : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        qtDialogs = true;
        start();
        // The list's first load runs from a timer, which the box's event loop would run too.
        ASSERT_TRUE(testsupport::waitFor([&] { return !player->favourites()->firstLoadPending(); }));
    }
};

TEST_F(MessageBoxes, TheMissingFileQuestionIsTitledPlovanaAndAnswersInJapanese)
{
    const std::unique_ptr<QTranslator> japanese = installQtTranslations();
    Player &p = *player;
    touch("v/a.avi");
    p.listPane()->Tab1()->select(2);
    p.favourites()->add_okini_item(work("v"), "a.avi");
    p.favourites()->add_okini_item(work("v"), "gone.avi");
    p.favourites()->selectOkini(1);

    // Next after a.avi is gone.avi, which does not exist: the question comes.
    const SeenBox box = answerNo([&] { p.playNext(); });
    ASSERT_TRUE(box.shown) << "no question about the missing file";
    EXPECT_EQ(box.title, QStringLiteral("Plovana"));
    EXPECT_EQ(p.favourites()->List_okini()->count(), 2) << "No keeps the entry";

    if (!japanese)
        GTEST_SKIP() << "qtbase_ja.qm is not in Qt's translations folder (Debian package "
                        "qt6-translations-l10n): the buttons keep Qt's English texts";
    EXPECT_EQ(box.yes, QStringLiteral("はい"));
    EXPECT_EQ(box.no, QStringLiteral("いいえ"));
}
