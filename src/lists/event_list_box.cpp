#include "lists/event_list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>

EventListBox::EventListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setDragEnabled(false);
}

void EventListBox::mousePressEvent(QMouseEvent *e)
{
    QListWidget::mousePressEvent(e);
    Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
}

void EventListBox::mouseReleaseEvent(QMouseEvent *e)
{
    QListWidget::mouseReleaseEvent(e);
    Q_EMIT mouseUp(e->button(), e->modifiers(), e->position().toPoint());
    if (e->button() == Qt::LeftButton)
        Q_EMIT click();
}

void EventListBox::mouseMoveEvent(QMouseEvent *e)
{
    // Qt's own press-drag selection stays off: the release toggles the rows passed over,
    // and both together would toggle them twice.
    if (!(e->buttons() & Qt::LeftButton))
        QListWidget::mouseMoveEvent(e);
    Q_EMIT mouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}

void EventListBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    QListWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint()))
        Q_EMIT dblClick();
}

void EventListBox::keyPressEvent(QKeyEvent *e)
{
    QListWidget::keyPressEvent(e);
    Q_EMIT keyDown(e->key(), e->modifiers());
}
