#pragma once
// Small controls with the behaviour the main window's handlers expect: picture boxes
// that report mouse events, frames and labels whose caption is a value, the seek slider
// with its selected section, and the volume bar.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QWidget>

// A picture box: paints its background (and an optional picture) and reports mouse
// events, so that its handlers live in the main window.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QPixmap &p);
    const QPixmap &picture() const { return m_picture; }
    void setBackColor(const QColor &c);

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint pos);
    void dblClick();
    void resized();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QPixmap m_picture;
    QColor m_back = Qt::black;
};

// A label that reports every change of its caption, as a label's Change event does.
class CaptionLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    QString caption() const { return text(); }
    void setCaption(const QString &c);

Q_SIGNALS:
    void changed();
};

// The seek bar: a slider whose range counts hundredths of a second (or milliseconds for
// RealMedia files), with a selected section SelStart .. SelStart + SelLength drawn over it.
// Its own mouse handling is off (no page steps, no handle drag): it reports the mouse, and
// the seek handlers move it. Thumb and section are drawn on the track that clicks use,
// 160 twips in from either end, so a click on the drawn thumb leaves it where it is.
class SeekSlider : public QSlider
{
    Q_OBJECT
public:
    explicit SeekSlider(QWidget *parent = nullptr);

    int max() const { return maximum(); }
    void setMax(int m);
    int selStart() const { return m_selStart; }
    int selLength() const { return m_selLength; }
    void setSelStart(int v);
    void setSelLength(int v);

Q_SIGNALS:
    // Pointer positions in pixels from the slider's top left.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void gotFocus();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    int m_selStart = 0;
    int m_selLength = 0;
};

// A progress bar used as a setting (the volume bar, 0 to 100). A value outside the range
// is refused: setValueChecked returns false and the bar keeps its value.
class VolumeBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit VolumeBar(QWidget *parent = nullptr);
    bool setValueChecked(int v);

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint pos);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
};

class QAbstractButton;
// Sets an option button, which a user can only switch on: switching one off in code
// leaves its group with no option selected.
void setOptionChecked(QAbstractButton *b, bool on);
