// The options page's colours (color.ini and the lists that follow them), the home-folder
// browser, the mouse modes' descriptions and the read-outs of ソフト情報.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "app/system_info.h"
#include "dialogs/colour_value.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/form_list.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "widgets/command_ids.h"
#include "widgets/save_soon.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QTreeWidget>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

const QColor kBlue(119, 150, 230);
const QColor kBlack(0, 0, 0);
const QColor kNearBlack(27, 18, 20);

QColor text(const QWidget *w) { return w->palette().color(QPalette::Text); }
QColor base(const QWidget *w) { return w->palette().color(QPalette::Base); }
QColor windowText(const QWidget *w) { return w->palette().color(QPalette::WindowText); }
QColor window(const QWidget *w) { return w->palette().color(QPalette::Window); }
QColor button(const QPushButton *b) { return b->palette().color(QPalette::Button); }

void mouseMove(QWidget *w)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void mouseClick(QWidget *w)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, at, w->mapToGlobal(at), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

} // namespace

class OptionsTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
    }
    OptionsPage &o() { return *player->options(); }
    // Every list the colours reach, and the search results, which keep theirs.
    QWidget *File() { return player->files()->File(); }
    // Its report and its icon view (not the report's header).
    QList<QAbstractItemView *> okiniViews()
    {
        QList<QAbstractItemView *> views;
        for (QAbstractItemView *v : player->favourites()->List_okini()->findChildren<QAbstractItemView *>())
            if (!qobject_cast<QHeaderView *>(v))
                views.append(v);
        return views;
    }
    QLabel *labelFind() { return player->search()->labelFind(); }
    QComboBox *FindText() { return player->search()->FindText(); }
    QWidget *List_Find() { return player->search()->List_Find(); }
    QFrame *Frame_dummy() { return player->listPane()->Frame_dummy(); }
    void expectText(const QColor &c, const char *where)
    {
        SCOPED_TRACE(where);
        EXPECT_EQ(text(File()), c);
        ASSERT_EQ(okiniViews().size(), 2);
        for (QAbstractItemView *v : okiniViews())
            EXPECT_EQ(text(v), c) << "List_okini";
        EXPECT_EQ(windowText(labelFind()), c);
        EXPECT_EQ(text(FindText()), c);
        EXPECT_EQ(text(FindText()->lineEdit()), c);
        if (Form_List *editor = player->listPane()->listEditor()) {
            EXPECT_EQ(text(editor->ListView()), c);
        }
    }
    void expectBack(const QColor &c, const char *where)
    {
        SCOPED_TRACE(where);
        EXPECT_EQ(base(File()), c);
        for (QAbstractItemView *v : okiniViews())
            EXPECT_EQ(base(v), c) << "List_okini";
        EXPECT_EQ(window(labelFind()), c);
        EXPECT_EQ(base(FindText()), c);
        EXPECT_EQ(base(FindText()->lineEdit()), c);
        EXPECT_EQ(window(Frame_dummy()), c);
        if (Form_List *editor = player->listPane()->listEditor()) {
            EXPECT_EQ(base(editor->ListView()), c);
        }
    }
};

// A chosen text or background colour reaches every list's owner and the button that holds
// it; the search results keep their colours. The dialog opens at black each time.
TEST_F(OptionsTest, ChosenColoursReachEveryListButTheSearchResults)
{
    expectText(kBlue, "design");
    expectBack(kBlack, "design");
    EXPECT_EQ(button(o().bt_cngForeColor()), kBlue);
    EXPECT_EQ(button(o().bt_cngBackColor()), kNearBlack);

    dialogs->colors = {colour::value(255, 128, 0), colour::value(0, 0, 160)};
    o().bt_cngForeColor()->click();
    expectText(QColor(255, 128, 0), "text chosen");
    expectBack(kBlack, "text chosen");
    EXPECT_EQ(o().listForeColor(), colour::value(255, 128, 0));
    EXPECT_EQ(button(o().bt_cngForeColor()), QColor(255, 128, 0));
    o().bt_cngBackColor()->click();
    expectBack(QColor(0, 0, 160), "background chosen");
    EXPECT_EQ(button(o().bt_cngBackColor()), QColor(0, 0, 160));
    ASSERT_EQ(dialogs->asked.size(), 2);
    for (const auto &a : dialogs->asked) {
        EXPECT_EQ(a.kind, "color");
        EXPECT_EQ(a.initial, "0");
    }
    EXPECT_EQ(text(List_Find()), kBlue);
    EXPECT_EQ(base(List_Find()), kBlack);

    // A cancelled dialog changes nothing.
    dialogs->colors = {std::nullopt, std::nullopt};
    o().bt_cngForeColor()->click();
    o().bt_cngBackColor()->click();
    expectText(QColor(255, 128, 0), "cancelled");
    expectBack(QColor(0, 0, 160), "cancelled");

    // The list editor made now takes the colours, and follows later ones.
    player->commands().trigger(command::fileTabCustom);
    ASSERT_TRUE(player->listPane()->listEditor());
    expectText(QColor(255, 128, 0), "editor made");
    expectBack(QColor(0, 0, 160), "editor made");
    o().bt_default_color_Click();
    expectText(kBlue, "default");
    expectBack(kBlack, "default");
    EXPECT_EQ(o().listForeColor(), 15111799);
    EXPECT_EQ(o().listBackColor(), 0);
    player->listPane()->listEditor()->close();
}

// Without color.ini the lists keep their design colours and the buttons show theirs, so
// the first exit stores 15111799 and 1315355, and from the next start the lists have the
// near-black background.
TEST_F(OptionsTest, FirstExitStoresTheButtonsColours)
{
    EXPECT_FALSE(QFileInfo::exists(app("color.ini")));
    close();
    EXPECT_EQ(readFile(app("color.ini")), "[list]\r\nForeColor=15111799\r\nBackColor=1315355\r\n");
    start();
    expectText(kBlue, "second start");
    expectBack(kNearBlack, "second start");
}

TEST_F(OptionsTest, AChosenColourIsOnDiskSoonWithoutAShutdown)
{
    // A session that ends without its shutdown (a crash, a killed session) keeps the colours
    // chosen in it: color.ini is written about a second after a choice, a burst as one write.
    const QString file = app("color.ini");
    QFile::remove(file);
    dialogs->colors = {colour::value(10, 20, 30), colour::value(200, 210, 220)};
    o().bt_cngForeColor()->click();
    o().bt_cngBackColor()->click();
    EXPECT_FALSE(QFileInfo::exists(file)) << "written soon, not at once";
    ASSERT_TRUE(testsupport::waitFor([&] { return QFileInfo::exists(file); }, 3000));
    EXPECT_EQ(o().colorsSave()->saves(), 1) << "the burst is one write";
    EXPECT_EQ(readFile(file), "[list]\r\nForeColor=" + QByteArray::number(colour::value(10, 20, 30))
                                  + "\r\nBackColor=" + QByteArray::number(colour::value(200, 210, 220)) + "\r\n");
    // A cancelled dialog changes nothing and saves nothing; the default colours (light blue
    // on black) do.
    dialogs->colors = {std::nullopt};
    o().bt_cngForeColor()->click();
    testsupport::pump(1300);
    EXPECT_EQ(o().colorsSave()->saves(), 1);
    o().bt_default_color()->click();
    ASSERT_TRUE(testsupport::waitFor([&] { return o().colorsSave()->saves() == 2; }, 3000));
    EXPECT_EQ(readFile(file), "[list]\r\nForeColor=15111799\r\nBackColor=0\r\n");
}

TEST_F(OptionsTest, ColoursComeBackAfterARestart)
{
    dialogs->colors = {colour::value(10, 20, 30), colour::value(200, 210, 220)};
    o().bt_cngForeColor()->click();
    o().bt_cngBackColor()->click();
    restart();
    expectText(QColor(10, 20, 30), "restarted");
    expectBack(QColor(200, 210, 220), "restarted");
    close();
    EXPECT_EQ(readFile(app("color.ini")), "[list]\r\nForeColor=" + QByteArray::number(colour::value(10, 20, 30))
                                              + "\r\nBackColor=" + QByteArray::number(colour::value(200, 210, 220))
                                              + "\r\n");

    // A missing key is black; a value with its high byte set counts by its low 24 bits.
    writeFile(app("color.ini"), "[list]\r\nForeColor=-1\r\n");
    start();
    expectText(QColor(255, 255, 255), "-1");
    expectBack(kBlack, "missing key");
}

// Cancelling the folder browser keeps the home folder; a chosen folder becomes it.
TEST_F(OptionsTest, HomeFolderBrowser)
{
    o().Check_usehome()->setChecked(true);
    const QString before = o().text_home()->text();
    EXPECT_EQ(before, app());
    dialogs->folders = {QString(), work()};
    o().bt_selecthome()->click();
    EXPECT_EQ(o().text_home()->text(), before);
    EXPECT_EQ(o().homeDir(), before);
    ASSERT_EQ(dialogs->asked.size(), 1);
    EXPECT_EQ(dialogs->asked.last().kind, "folder");
    EXPECT_EQ(dialogs->asked.last().title, QString::fromUtf8("フォルダを選択してね"));
    o().bt_selecthome()->click();
    EXPECT_EQ(o().text_home()->text(), work());
    EXPECT_EQ(o().homeDir(), work());
}

// The pointer over a mouse mode shows its description in `message`.
TEST_F(OptionsTest, MouseModesDescribeThemselves)
{
    const char *const tags[] = {
        "Click(なし) dblClick(最小モード)　D＆D(移動)",
        "Click(再生) dblClick(なし)　D＆D(なし)",
        "Click(なし) dblClick(再生)　D＆D(移動)",
        "Click(なし) dblClick(最大化)　D＆D(移動)",
    };
    player->listPane()->Tab1()->select(4);
    o().Tab_Config()->select(3);
    for (int i : {2, 0, 3, 1}) {
        mouseMove(o().check_mode()[std::size_t(i)]);
        EXPECT_EQ(o().message()->text(), QString::fromUtf8(tags[i])) << i;
    }
}

// ソフト情報 shows this machine's memory and screen each time it is selected, and links to the
// home page: a click opens it, the pointer over it underlines it.
TEST_F(OptionsTest, SoftwareInformation)
{
    player->listPane()->Tab1()->select(4);
    o().Tab_Config()->select(5);
    const auto memory = readMeminfo();
    ASSERT_TRUE(memory);
    static const QRegularExpression form(QStringLiteral("^[0-9]{1,3}(,[0-9]{3})*KB / [0-9]{1,3}(,[0-9]{3})*KB$"));
    EXPECT_TRUE(form.match(o().lblMem()->text()).hasMatch()) << o().lblMem()->text().toStdString();
    EXPECT_TRUE(o().lblMem()->text().endsWith(" / " + groupedCount(memory->totalKb) + "KB"));
    EXPECT_EQ(o().pbMem()->maximum(), memory->totalKb);
    EXPECT_GT(o().pbMem()->value(), 0);
    EXPECT_LE(o().pbMem()->value(), o().pbMem()->maximum());
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen->size() * screen->devicePixelRatio();
    EXPECT_EQ(o().lblDisplay()->text(),
              QStringLiteral("%1×%2 %3ビット").arg(pixels.width()).arg(pixels.height()).arg(screen->depth()));

    ASSERT_FALSE(o().homePage().isEmpty());
    EXPECT_EQ(o().LHomepage()->text(), o().homePage());
    EXPECT_TRUE(o().LHomepage()->isVisible());
    mouseMove(o().LHomepage());
    EXPECT_TRUE(o().LHomepage()->font().underline());
    mouseMove(static_cast<QScrollArea *>(o().soft_info())->widget());
    EXPECT_FALSE(o().LHomepage()->font().underline());
    mouseClick(o().LHomepage());
    EXPECT_EQ(shell->urlsOpened, QList<QUrl>{QUrl(o().homePage())});

    // A build without a home page shows no link.
    o().setHomePage(QString());
    EXPECT_FALSE(o().LHomepage()->isVisible());
    mouseClick(o().LHomepage());
    EXPECT_EQ(shell->urlsOpened.size(), 1);
}
