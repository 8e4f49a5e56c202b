#include "widgets/controls.h"

#include "widgets/seek_math.h"
#include "widgets/twips.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>
#include <QWheelEvent>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QPixmap &p)
{
    m_picture = p;
    update();
}

void PictureBox::setBackColor(const QColor &c)
{
    m_back = c;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_back);
    if (!m_picture.isNull())
        p.drawPixmap(0, 0, m_picture);
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *e)
{
    Q_EMIT mouseUp(e->button(), e->modifiers(), e->position().toPoint());
}

void PictureBox::mouseMoveEvent(QMouseEvent *e)
{
    Q_EMIT mouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        Q_EMIT dblClick();
    else
        Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
}

void PictureBox::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Q_EMIT resized();
}

void CaptionLabel::setCaption(const QString &c)
{
    if (c == text())
        return;
    setText(c);
    Q_EMIT changed();
}

SeekSlider::SeekSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, 10);
    setFocusPolicy(Qt::NoFocus);
}

void SeekSlider::setMax(int m)
{
    setMaximum(std::max(0, m));
}

void SeekSlider::setSelStart(int v)
{
    m_selStart = v;
    update();
}

void SeekSlider::setSelLength(int v)
{
    m_selLength = std::max(0, v);
    update();
}

void SeekSlider::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = twips::width(this);
    const int left = twips::toPixelsX(seek::kTrackMargin);
    const int right = twips::toPixelsX(w - seek::kTrackMargin);
    const int cy = height() / 2;
    const QPalette &pal = palette();
    // The groove.
    p.fillRect(QRect(QPoint(left, cy - 2), QPoint(right, cy + 1)), pal.color(QPalette::Mid));
    // The marked section.
    if (m_selLength > 0 && maximum() > 0) {
        const int x0 = twips::toPixelsX(seek::trackPosition(m_selStart, maximum(), w));
        const int x1 = twips::toPixelsX(seek::trackPosition(m_selStart + m_selLength, maximum(), w));
        p.fillRect(QRect(QPoint(x0, cy - 3), QPoint(x1, cy + 2)), QColor(40, 80, 140));
    }
    // The thumb.
    const int x = twips::toPixelsX(seek::trackPosition(value(), maximum(), w));
    const QRect thumb(x - 4, cy - 7, 9, 14);
    p.setPen(pal.color(QPalette::Dark));
    p.setBrush(pal.color(QPalette::Button));
    p.drawRect(thumb.adjusted(0, 0, -1, -1));
}

void SeekSlider::mousePressEvent(QMouseEvent *e)
{
    Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
}

void SeekSlider::mouseMoveEvent(QMouseEvent *e)
{
    Q_EMIT mouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}

void SeekSlider::mouseReleaseEvent(QMouseEvent *e)
{
    Q_EMIT mouseUp(e->button(), e->modifiers(), e->position().toPoint());
}

void SeekSlider::focusInEvent(QFocusEvent *e)
{
    QSlider::focusInEvent(e);
    Q_EMIT gotFocus();
}

void SeekSlider::wheelEvent(QWheelEvent *e)
{
    e->ignore(); // the wheel does not move the position
}

VolumeBar::VolumeBar(QWidget *parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
    // Unlike the seek bar beside it: a green level on a dark trough.
    setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #777; background: #202020; }"
                                 "QProgressBar::chunk { background: #5aa05a; }"));
}

bool VolumeBar::setValueChecked(int v)
{
    if (v < minimum() || v > maximum())
        return false;
    setValue(v);
    return true;
}

void VolumeBar::mousePressEvent(QMouseEvent *e)
{
    Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
}

void VolumeBar::mouseMoveEvent(QMouseEvent *e)
{
    Q_EMIT mouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}

void setOptionChecked(QAbstractButton *b, bool on)
{
    if (!b || b->isChecked() == on)
        return;
    if (on) {
        b->setChecked(true);
        return;
    }
    const bool exclusive = b->autoExclusive();
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(exclusive);
}
