// The options page in the list pane at every width the list's width buttons give it.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "lists/list_pane.h"
#include "lists/tab_strip.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// The controls of one frame of the page that show a caption.
QList<QWidget *> captions(QScrollArea *frame)
{
    QList<QWidget *> out;
    for (QWidget *w : frame->widget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const auto *button = qobject_cast<QAbstractButton *>(w);
        const auto *label = qobject_cast<QLabel *>(w);
        if ((button && !qobject_cast<QPushButton *>(w)) || (label && !label->text().isEmpty()))
            out.append(w);
    }
    return out;
}

QString caption(const QWidget *w)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    return static_cast<const QLabel *>(w)->text();
}

} // namespace

class OptionsPageTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        start();
        player->listPane()->Tab1()->select(4);
        frames = {player->options()->Frame_basic(), player->options()->Frame_clip(), player->options()->Frame_Key(),
                  player->options()->Frame_other(), player->options()->soft_info()};
    }
    QList<QFrame *> frames;
};

// Every caption is whole at every width: where the frame is narrower than a caption, it
// wraps (and what lies below moves down), never overlapping another control; the frame
// scrolls down over what the pane's height leaves out, and sideways only where it is
// narrower than a caption's longest piece that cannot be broken.
TEST_F(OptionsPageTest, EveryCaptionIsWholeAtEveryListWidth)
{
    Player &p = *player;
    int checked = 0, wrapped = 0;
    const auto check = [&](int step) {
        for (int tab = 1; tab <= 5; ++tab) {
            p.options()->Tab_Config()->select(tab);
            QApplication::processEvents();
            auto *frame = qobject_cast<QScrollArea *>(frames[tab - 1]);
            ASSERT_TRUE(frame);
            ASSERT_TRUE(frame->isVisible());
            QWidget *content = frame->widget();
            if (frame->viewport()->width() < content->minimumSizeHint().width())
                continue; // narrower than a caption's longest piece: the frame scrolls sideways
            ++checked;
            EXPECT_FALSE(frame->horizontalScrollBar()->isVisible()) << "step " << step << ", tab " << tab;
            const QList<QWidget *> controls = content->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            for (QWidget *c : captions(frame)) {
                const QString where = QStringLiteral("step %1, %2").arg(step).arg(caption(c));
                EXPECT_LE(c->geometry().right(), frame->viewport()->width()) << where.toStdString();
                EXPECT_GE(c->width(), c->minimumSizeHint().width()) << where.toStdString();
                if (c->hasHeightForWidth()) {
                    EXPECT_GE(c->height(), c->heightForWidth(c->width())) << where.toStdString() << ": cut";
                }
                wrapped += c->heightForWidth(c->width()) > c->heightForWidth(QWIDGETSIZE_MAX);
                for (QWidget *other : controls) {
                    if (other != c) {
                        EXPECT_FALSE(c->geometry().intersects(other->geometry()))
                            << where.toStdString() << " overlaps " << other->objectName().toStdString();
                    }
                }
            }
            const int bottom = content->childrenRect().bottom();
            EXPECT_TRUE(bottom < frame->viewport()->height() || frame->verticalScrollBar()->isVisible())
                << "step " << step << ", tab " << tab << ": the lowest control out of reach";
        }
    };
    check(0);
    for (int i = 1; i <= 30; ++i) {
        p.size_bar_ButtonClick(QStringLiteral("sub"));
        check(-i);
    }
    EXPECT_GE(checked, 30);
    EXPECT_GT(wrapped, 0) << "no caption was ever wrapped";
}

// At the pane's design width the frames keep their design layout: one line per caption, no
// scroll bar.
TEST_F(OptionsPageTest, TheDesignWidthKeepsEveryCaptionOnOneLine)
{
    for (int tab = 1; tab <= 5; ++tab) {
        player->options()->Tab_Config()->select(tab);
        QApplication::processEvents();
        auto *frame = qobject_cast<QScrollArea *>(frames[tab - 1]);
        EXPECT_FALSE(frame->horizontalScrollBar()->isVisible()) << tab;
        EXPECT_FALSE(frame->verticalScrollBar()->isVisible()) << tab;
        for (QWidget *c : captions(frame))
            EXPECT_EQ(c->heightForWidth(c->width()), c->heightForWidth(QWIDGETSIZE_MAX)) << caption(c).toStdString();
    }
    // The rows keep their design pitch: nothing was moved down.
    const OptionsPage &o = *player->options();
    const int pitch = o.Check_temae()->y() - o.Check_original()->y();
    EXPECT_EQ(o.Check_noTaskbar()->y() - o.Check_temae()->y(), pitch);
    EXPECT_EQ(o.check_resume()->y() - o.Check_noTaskbar()->y(), pitch);
    EXPECT_EQ(o.check_mode()[1]->y(), o.check_mode()[0]->y()) << "mode1 and mode2 side by side";
    EXPECT_EQ(o.check_mode()[2]->y() - o.check_mode()[0]->y(), pitch);
    EXPECT_EQ(o.bt_cngBackColor()->y(), o.bt_cngForeColor()->y()) << "the colour buttons side by side";
}
