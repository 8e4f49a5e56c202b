// Mouse commands on the video area and the toolbar.
#include "app/player.h"

#include "playback/cmovie.h"
#include "window/controls.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

void Player::display_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint)
{
    if (button != Qt::RightButton)
        return;
    m_size->menuAction()->setVisible(true);
    m_speed->menuAction()->setVisible(true);
    m_mode->menuAction()->setVisible(true);
    m_window->menuAction()->setVisible(true);
    const bool open = !movie->fileName.isEmpty();
    m_seen_load->setEnabled(open);
    m_edit_seen->setEnabled(open);
    menu->popup(QCursor::pos());
}

void Player::panel_ButtonClick(const QString &key)
{
    QMenu *sub = nullptr;
    if (key == u"play")
        playPause();
    else if (key == u"stop")
        stop_Click();
    else if (key == u"pre")
        playPrevious();
    else if (key == u"next")
        playNext();
    else if (key == u"size")
        sub = m_size;
    else if (key == u"speed")
        sub = m_speed;
    else if (key == u"mode")
        sub = m_mode;
    else if (key == u"temae")
        sub = m_window;
    if (!sub)
        return;
    // Under the toolbar, left edge at the pressed button.
    QWidget *button = panel->widgetForAction(panelButtons[key]);
    const QPoint at = button ? button->mapToGlobal(QPoint(0, 0)) : QCursor::pos();
    sub->popup(QPoint(at.x(), panel->mapToGlobal(QPoint(0, panel->height())).y()));
}

void Player::createToolTips()
{
}
