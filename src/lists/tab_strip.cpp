#include "lists/tab_strip.h"

#include "widgets/twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kKey = 0;
constexpr int kTag = 1;
} // namespace

TabStrip::TabStrip(Edge edge, QWidget *parent) : QWidget(parent), m_edge(edge), m_bar(new QTabBar(this))
{
    m_bar->setShape(edge == Edge::Right    ? QTabBar::RoundedEast
                    : edge == Edge::Bottom ? QTabBar::RoundedSouth
                                           : QTabBar::RoundedNorth);
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
    m_bar->setDrawBase(false);
    m_bar->installEventFilter(this);
    connect(m_bar, &QTabBar::currentChanged, this, [this](int) {
        if (!m_changing)
            Q_EMIT clicked();
    });
}

int TabStrip::count() const { return m_bar->count(); }

int TabStrip::selectedIndex() const { return m_bar->currentIndex() + 1; }

void TabStrip::select(int i)
{
    if (i < 1 || i > count())
        return;
    if (m_bar->currentIndex() == i - 1)
        Q_EMIT clicked(); // selecting the selected tab still runs the handler
    else
        m_bar->setCurrentIndex(i - 1);
}

QString TabStrip::key(int i) const
{
    return m_bar->tabData(i - 1).toStringList().value(kKey);
}

QString TabStrip::caption(int i) const { return m_bar->tabText(i - 1); }

void TabStrip::setCaption(int i, const QString &c)
{
    if (i < 1 || i > count())
        return;
    m_bar->setTabText(i - 1, c);
    Q_EMIT tabsChanged();
}

QString TabStrip::tag(int i) const
{
    return m_bar->tabData(i - 1).toStringList().value(kTag);
}

void TabStrip::setTag(int i, const QString &t)
{
    if (i < 1 || i > count())
        return;
    QStringList d = m_bar->tabData(i - 1).toStringList();
    while (d.size() < 2)
        d.append(QString());
    d[kTag] = t;
    m_bar->setTabData(i - 1, d);
    Q_EMIT tabsChanged();
}

void TabStrip::setTabToolTip(int i, const QString &t)
{
    if (i >= 1 && i <= count())
        m_bar->setTabToolTip(i - 1, t);
}

int TabStrip::add(int i, const QString &key, const QString &caption, const QString &tag)
{
    const int at = (i < 1 || i > count()) ? count() : i - 1;
    m_changing = true; // adding the first tab selects it without a click
    const int idx = m_bar->insertTab(at, caption);
    m_bar->setTabData(idx, QStringList{key, tag});
    m_changing = false;
    Q_EMIT tabsChanged();
    return idx + 1;
}

void TabStrip::remove(int i)
{
    if (i < 1 || i > count())
        return;
    m_changing = true;
    m_bar->removeTab(i - 1);
    m_changing = false;
    Q_EMIT tabsChanged();
}

void TabStrip::clear()
{
    m_changing = true;
    while (m_bar->count() > 0)
        m_bar->removeTab(m_bar->count() - 1);
    m_changing = false;
    Q_EMIT tabsChanged();
}

int TabStrip::tabAt(QPoint pos) const
{
    return m_bar->tabAt(m_bar->mapFrom(this, pos)) + 1;
}

int TabStrip::clientWidth() const
{
    const int w = m_edge == Edge::Right ? width() - m_bar->sizeHint().width() : width();
    return twips::fromPixelsX(std::max(0, w - 2));
}

int TabStrip::clientHeight() const
{
    const int h = m_edge == Edge::Right ? height() : height() - m_bar->sizeHint().height();
    return twips::fromPixelsY(std::max(0, h - 2));
}

void TabStrip::placeBar()
{
    const QSize ext = m_bar->sizeHint();
    switch (m_edge) {
    case Edge::Right:
        m_bar->setGeometry(width() - ext.width(), 0, ext.width(), std::min(height(), ext.height()));
        break;
    case Edge::Bottom:
        m_bar->setGeometry(0, height() - ext.height(), std::min(width(), ext.width()), ext.height());
        break;
    case Edge::Top:
        m_bar->setGeometry(0, 0, std::min(width(), ext.width()), ext.height());
        break;
    }
}

void TabStrip::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeBar();
}

void TabStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QSize ext = m_bar->sizeHint();
    QRect client = rect();
    if (m_edge == Edge::Right)
        client.setRight(width() - ext.width());
    else if (m_edge == Edge::Bottom)
        client.setBottom(height() - ext.height());
    else
        client.setTop(ext.height());
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(client.adjusted(0, 0, -1, -1));
}

bool TabStrip::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_bar) {
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto *m = static_cast<QMouseEvent *>(e);
            Q_EMIT mouseDown(m->button(), m->modifiers(), m_bar->mapTo(this, m->position().toPoint()));
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto *m = static_cast<QMouseEvent *>(e);
            // The selection changed on the press; the handler runs on the release.
            Q_EMIT mouseUp(m->button(), m->modifiers(), m_bar->mapTo(this, m->position().toPoint()));
            break;
        }
        case QEvent::KeyPress: {
            auto *k = static_cast<QKeyEvent *>(e);
            Q_EMIT keyDown(k->key(), k->modifiers());
            break;
        }
        case QEvent::KeyRelease: {
            auto *k = static_cast<QKeyEvent *>(e);
            Q_EMIT keyUp(k->key(), k->modifiers());
            break;
        }
        case QEvent::FocusIn:
            Q_EMIT gotFocus();
            break;
        case QEvent::LayoutRequest:
            placeBar();
            update();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(o, e);
}
