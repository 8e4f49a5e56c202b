#pragma once
// A list box of the pane that reports its mouse and key events as signals for the page that
// owns it (the page's handlers keep their names). Several rows can be selected; a press
// selects as usual, but a move with the left button held selects nothing by itself: the
// owner toggles the rows passed over on the release.

#include <QListWidget>
#include <QPoint>

class EventListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit EventListBox(QWidget *parent = nullptr);

Q_SIGNALS:
    void click();
    void dblClick();
    void keyDown(int key, Qt::KeyboardModifiers shift);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint pos);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};
