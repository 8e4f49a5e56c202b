#include "widgets/images.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace images {

namespace {

const QColor kInk(119, 150, 230);

QPixmap canvas(int w, int h)
{
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

void drawText(QPainter &p, const QRect &r, const QString &text, int px)
{
    QFont f = p.font();
    f.setPixelSize(px);
    f.setBold(true);
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter, text);
}

} // namespace

QList<int> appIconSizes()
{
    return {16, 22, 24, 32, 48, 64, 128, 256};
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : appIconSizes())
        icon.addFile(QStringLiteral(":/icons/plovana-%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap logo()
{
    QPixmap pm = canvas(96, 72);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A film frame with a play triangle.
    p.setPen(QPen(kInk, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, 84, 60), 8, 8);
    p.setBrush(kInk.darker(140));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.drawRect(QRectF(14 + i * 15, 10, 8, 5));
        p.drawRect(QRectF(14 + i * 15, 57, 8, 5));
    }
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{QPointF(38, 22), QPointF(62, 36), QPointF(38, 50)});
    return pm;
}

namespace {

// The list-toggle arrow, pointing left or right.
QPixmap listToggle(bool left)
{
    QPixmap pm = canvas(20, 17);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    const double tip = left ? 6 : 14, base = left ? 14 : 6;
    p.drawPolygon(QPolygonF{QPointF(tip, 8.5), QPointF(base, 3), QPointF(base, 14)});
    return pm;
}

} // namespace

QPixmap listToggleLeft() { return listToggle(true); }
QPixmap listToggleRight() { return listToggle(false); }

QIcon buttonImage(const QString &key)
{
    QPixmap pm = canvas(20, 20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(45, 45, 45);
    p.setPen(QPen(ink, 1.6));
    p.setBrush(ink);
    const QRect r(0, 0, 20, 20);
    if (key == u"play") {
        p.drawPolygon(QPolygonF{QPointF(6, 4), QPointF(16, 10), QPointF(6, 16)});
    } else if (key == u"stop") {
        p.drawRect(QRectF(5, 5, 10, 10));
    } else if (key == u"pre") {
        p.drawRect(QRectF(4, 5, 2, 10));
        p.drawPolygon(QPolygonF{QPointF(16, 5), QPointF(7, 10), QPointF(16, 15)});
    } else if (key == u"next") {
        p.drawRect(QRectF(14, 5, 2, 10));
        p.drawPolygon(QPolygonF{QPointF(4, 5), QPointF(13, 10), QPointF(4, 15)});
    } else if (key == u"size") {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 5, 14, 10));
        p.drawRect(QRectF(6, 8, 6, 4));
    } else if (key.startsWith(u"bai")) {
        static const QHash<QString, QString> text{{"bai20", "2.0"}, {"bai15", "1.5"}, {"bai10", "1.0"}, {"bai05", "0.5"}};
        drawText(p, r, text.value(key), 9);
    } else if (key == u"normal") {
        p.drawLine(QPointF(3, 10), QPointF(13, 10));
        p.drawPolygon(QPolygonF{QPointF(12, 6), QPointF(17, 10), QPointF(12, 14)});
    } else if (key == u"rennzoku") {
        p.drawPolygon(QPolygonF{QPointF(3, 6), QPointF(9, 10), QPointF(3, 14)});
        p.drawPolygon(QPolygonF{QPointF(10, 6), QPointF(16, 10), QPointF(10, 14)});
    } else if (key == u"roop") {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 12, 12), 60 * 16, 300 * 16);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF{QPointF(12, 2), QPointF(16, 5), QPointF(12, 7)});
    } else if (key == u"rnd") {
        drawText(p, r, QStringLiteral("?"), 14);
    } else if (key == u"temae") {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 7, 10, 9));
        p.setBrush(ink);
        p.drawRect(QRectF(7, 3, 10, 9));
    } else if (key == u"usiro") {
        // Behind the others: the front window drawn hollow over the filled one.
        p.drawRect(QRectF(3, 7, 10, 9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 9));
    } else if (key == u"capture" || key == u"capture_mask") {
        const QColor c = key == u"capture" ? ink : QColor(170, 170, 170);
        p.setPen(QPen(c, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 6, 14, 10), 2, 2);
        p.drawEllipse(QPointF(10, 11), 3, 3);
        p.setBrush(c);
        p.drawRect(QRectF(7, 4, 6, 2));
    } else if (key == u"up") {
        p.drawPolygon(QPolygonF{QPointF(10, 4), QPointF(16, 12), QPointF(4, 12)});
        p.drawRect(QRectF(8, 12, 4, 4));
    } else if (key == u"down") {
        p.drawPolygon(QPolygonF{QPointF(10, 16), QPointF(16, 8), QPointF(4, 8)});
        p.drawRect(QRectF(8, 4, 4, 4));
    } else if (key == u"del") {
        p.setPen(QPen(ink, 2.4));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
    } else if (key == u"fullscreen") {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 4, 14, 12));
        p.drawLine(QPointF(6, 7), QPointF(14, 13));
        p.drawLine(QPointF(14, 7), QPointF(6, 13));
    }
    return QIcon(pm);
}

QPixmap noImage()
{
    QPixmap pm(100, 75);
    pm.fill(QColor(27, 18, 20));
    QPainter p(&pm);
    p.setPen(QPen(kInk, 1));
    p.drawRect(QRect(0, 0, 99, 74));
    drawText(p, pm.rect(), QStringLiteral("NO IMAGE"), 11);
    return pm;
}

QPixmap loadingPicture()
{
    QPixmap pm(240, 60);
    pm.fill(Qt::black);
    QPainter p(&pm);
    p.setPen(kInk);
    drawText(p, pm.rect(), QStringLiteral("Loading..."), 14);
    return pm;
}

} // namespace images
