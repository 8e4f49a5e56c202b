// The pages of the list pane and the events of its lists.
#include "app/player.h"

#include "app/images.h"
#include "lists/extensions.h"
#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/path.h"
#include "lists/tab_strip.h"
#include "platform/my_module.h"
#include "window/twips.h"
#include "playback/cmovie.h"
#include "window/controls.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QToolTip>

namespace {

void showOnly(std::initializer_list<QWidget *> shown, std::initializer_list<QWidget *> hidden)
{
    for (QWidget *w : hidden)
        w->hide();
    for (QWidget *w : shown) {
        w->show();
        w->raise();
    }
}

} // namespace

void Player::showFilePage()
{
    showOnly({TabDir, File, Frame_dummy}, {List_okini, TabM3u, List_Find, find, config});
    panelButtons[QStringLiteral("capture")]->setIcon(images::buttonImage(QStringLiteral("capture_mask")));
}

void Player::showFavouritesPage()
{
    showOnly({TabM3u, List_okini}, {File, Frame_dummy, TabDir, List_Find, find, config});
    panelButtons[QStringLiteral("capture")]->setIcon(images::buttonImage(QStringLiteral("capture")));
}

void Player::showSearchPage()
{
    showOnly({List_Find, Frame_dummy, find}, {File, TabDir, List_okini, TabM3u, config});
    panelButtons[QStringLiteral("capture")]->setIcon(images::buttonImage(QStringLiteral("capture_mask")));
}

void Player::showConfigPage()
{
    showOnly({config}, {File, Frame_dummy, TabDir, List_okini, TabM3u, List_Find, find});
    panelButtons[QStringLiteral("capture")]->setIcon(images::buttonImage(QStringLiteral("capture_mask")));
}

void Player::showPage(int index)
{
    switch (index) {
    case 1:
        showFilePage();
        break;
    case 2:
        showFavouritesPage();
        break;
    case 3:
        showSearchPage();
        break;
    case 4:
        showConfigPage();
        break;
    default:
        break;
    }
}

void Player::Tab1_Click()
{
    if (movie && movie->DisplaySize == 1)
        return;
    showPage(Tab1->selectedIndex());
    if (isVisible())
        layoutListPane();
}

void Player::File_Click()
{
    if (Tab1->selectedIndex() != 1)
        Tab1->select(1);
}

void Player::File_DblClick()
{
    openMedia(path::addbackslash(File->path()) + File->fileName(), 0);
}

bool fileRowNeedsToolTip(int textWidthTw, int listWidthTw, int listHeightTw, int rowHeightPx, int twipsPerPixelY,
                         int rows)
{
    int available = listWidthTw - 60;
    const int rowTw = rowHeightPx * twipsPerPixelY;
    const int visible = rowTw > 0 ? (listHeightTw - 40) / rowTw : rows;
    if (rows > visible)
        available -= 250;
    return textWidthTw > available;
}

void Player::File_MouseMove(QPoint pos)
{
    const QModelIndex idx = File->indexAt(pos);
    const int row = idx.isValid() ? idx.row() : -1;
    if (row < 0 || row >= File->listCount()) {
        File->setToolTip(QString());
        return;
    }
    const QString text = File->list(row);
    const int textTw = twips::fromPixelsX(File->fontMetrics().horizontalAdvance(text));
    const int rowPx = std::max(1, File->sizeHintForRow(0));
    if (fileRowNeedsToolTip(textTw, twips::width(File), twips::height(File), rowPx, myModule::twipsPerPixelY,
                            File->listCount()))
        File->setToolTip(text);
    else
        File->setToolTip(QString());
}

void Player::File_Drop(const QStringList &files)
{
    if (files.isEmpty())
        return;
    const QString file = files.first();
    if (!check_kakuchousi(path::getextension(file)))
        return;
    if (!File->setPath(path::getdirectory(file)))
        return;
    openMedia(file, 0);
    const QString name = file.mid(file.lastIndexOf(u'/') + 1);
    for (int row = 0; row < File->listCount(); ++row) {
        if (File->list(row) == name) {
            File->setListIndex(row);
            setListTopIndex(File, row);
            break;
        }
    }
}

void Player::File_MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        m_FileMenu->popup(QCursor::pos());
}

void Player::List_okini_MouseDown(Qt::MouseButton button)
{
    okiniLeftButton = button == Qt::LeftButton;
    okiniItemClicked = false;
}

void Player::List_okini_Click()
{
    if (Tab1->selectedIndex() != 2)
        Tab1->select(2);
    const int i = get_okini_index();
    if (List_okini->count() > 0 && i > 0 && List_okini->folder(i) + List_okini->text(i) == movie->fileName
        && movie->PlayState == 2)
        movie->MediaPlay(1);
}

void Player::List_okini_DblClick()
{
    if (!okiniLeftButton || List_okini->count() == 0)
        return;
    const int i = get_okini_index();
    if (i > 0)
        openMedia(List_okini->folder(i) + List_okini->text(i), 0);
}

void Player::List_okini_MouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        m_item->popup(QCursor::pos());
}

void Player::connectLists()
{
    connect(File, &FileListBox::click, this, &Player::File_Click);
    connect(File, &FileListBox::dblClick, this, &Player::File_DblClick);
    connect(File, &FileListBox::mouseMove, this, [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPoint p) {
        File_MouseMove(p);
    });
    connect(File, &FileListBox::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { File_MouseUp(b); });
    connect(File, &FileListBox::filesDropped, this, &Player::File_Drop);
    connect(File, &FileListBox::keyDown, this, [this] {
        if (display->isVisible())
            display->setFocus();
    });

    connect(List_okini, &OkiniList::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { List_okini_MouseDown(b); });
    connect(List_okini, &OkiniList::itemClick, this, [this] { okiniItemClicked = true; });
    connect(List_okini, &OkiniList::click, this, &Player::List_okini_Click);
    connect(List_okini, &OkiniList::dblClick, this, &Player::List_okini_DblClick);
    connect(List_okini, &OkiniList::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { List_okini_MouseUp(b); });

    connect(Tab1, &TabStrip::gotFocus, this, [this] {
        if (display->isVisible())
            display->setFocus();
    });
    for (TabStrip *strip : {TabDir, TabM3u}) {
        connect(strip, &TabStrip::mouseDown, this, [this, strip](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
            if (b == Qt::RightButton)
                selectTabUnderPointer(strip, p);
        });
    }
    connect(TabDir, &TabStrip::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { TabDir_MouseUp(b); });
    connect(TabM3u, &TabStrip::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { TabM3u_MouseUp(b); });

    connect(m_add_tab, &QAction::triggered, this, &Player::m_add_tab_Click);
    connect(m_del_tab, &QAction::triggered, this, &Player::m_del_tab_Click);
    connect(m_change_name, &QAction::triggered, this, &Player::m_change_name_Click);
    connect(m_change_dir, &QAction::triggered, this, &Player::m_change_dir_Click);
    connect(m_add_tab_okini, &QAction::triggered, this, &Player::m_add_tab_okini_Click);
    connect(m_del_tab_okini, &QAction::triggered, this, &Player::m_del_tab_okini_Click);
    connect(m_change_name_okini, &QAction::triggered, this, &Player::m_change_name_okini_Click);
    connect(m_change_m3u, &QAction::triggered, this, &Player::m_change_m3u_Click);
    connect(m_open_m3u, &QAction::triggered, this, &Player::m_open_m3u_Click);
    connect(m_save_m3u, &QAction::triggered, this, &Player::m_save_m3u_Click);
    connect(m_chage_list, &QAction::triggered, this, &Player::m_chage_list_Click);
    connect(m_OpenDirectory, &QAction::triggered, this, &Player::m_OpenDirectory_Click);
    connect(tmr_okini, &QTimer::timeout, this, &Player::tmr_okini_Timer);
}
