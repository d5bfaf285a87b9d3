#include "platform/Artwork.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kButtonSize = 48;

void bevel(QPainter &p, const QRect &r, bool pressed)
{
    const QColor light(250, 250, 250), dark(110, 110, 110);
    p.setPen(QPen(pressed ? dark : light, 2));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QPen(pressed ? light : dark, 2));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void drawPrinter(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.28, r.top() + r.height() * 0.12, r.width() * 0.44, r.height() * 0.3));
    p.setBrush(QColor(90, 110, 140));
    p.drawRoundedRect(QRectF(r.left() + r.width() * 0.12, r.top() + r.height() * 0.38, r.width() * 0.76, r.height() * 0.32), 3, 3);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.28, r.top() + r.height() * 0.6, r.width() * 0.44, r.height() * 0.28));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int i = 0; i < 3; ++i) {
        const double y = r.top() + r.height() * (0.68 + 0.06 * i);
        p.drawLine(QPointF(r.left() + r.width() * 0.33, y), QPointF(r.left() + r.width() * 0.67, y));
    }
}
} // namespace

QPixmap ButtonPixmap(ButtonArt art, bool pressed)
{
    QPixmap pm(kButtonSize, kButtonSize);
    pm.fill(QColor(212, 208, 200));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect frame(1, 1, kButtonSize - 2, kButtonSize - 2);
    bevel(p, frame, pressed);
    const QRectF inner = QRectF(frame.adjusted(6, 6, -6, -6)).translated(pressed ? 1 : 0, pressed ? 1 : 0);
    switch (art) {
    case ButtonArt::Quit: {
        p.setPen(QPen(QColor(180, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(inner.adjusted(3, 5, -3, -1), 120 * 16, 300 * 16);
        p.drawLine(QPointF(inner.center().x(), inner.top() + 1), QPointF(inner.center().x(), inner.center().y() + 2));
        break;
    }
    case ButtonArt::About: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 170));
        p.drawEllipse(inner.adjusted(2, 2, -2, -2));
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(22);
        f.setFamily(QStringLiteral("Serif"));
        p.setFont(f);
        p.drawText(inner, Qt::AlignCenter, QStringLiteral("i"));
        break;
    }
    case ButtonArt::Print:
        drawPrinter(p, inner);
        break;
    case ButtonArt::Setup: {
        drawPrinter(p, inner.adjusted(0, 0, -8, -8));
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(QColor(230, 200, 80));
        const QPointF c(inner.right() - 8, inner.bottom() - 8);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(45.0 * i);
            p.drawRect(QRectF(-2, -9, 4, 4));
            p.restore();
        }
        p.drawEllipse(c, 6, 6);
        p.setBrush(QColor(212, 208, 200));
        p.drawEllipse(c, 2.5, 2.5);
        break;
    }
    }
    return pm;
}

QIcon ProgramIcon()
{
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::white);
    p.drawRect(10, 4, 44, 56);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 130, 200));
    p.drawRect(15, 9, 34, 22);
    p.setBrush(QColor(90, 170, 90));
    p.drawRect(15, 35, 16, 20);
    p.setBrush(QColor(220, 150, 60));
    p.drawRect(33, 35, 16, 20);
    return QIcon(pm);
}

namespace {
// Cursors drawn as 32x32 bitmaps: black outline over white fill, rest transparent.
QCursor drawnCursor(void (*draw)(QPainter &), int hotX, int hotY)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    draw(p);
    p.end();
    return QCursor(pm, hotX, hotY);
}

void drawDragCursor(QPainter &p)
{
    // A four-way arrow: moving a placement.
    QPainterPath path;
    const int c = 15;
    path.moveTo(c, 1);
    path.lineTo(c + 5, 7);
    path.lineTo(c + 2, 7);
    path.lineTo(c + 2, c - 2);
    path.lineTo(c + 10 - 2 + 1, c - 2);
    path.lineTo(c + 9, c - 5);
    path.lineTo(c + 15, c);
    path.lineTo(c + 9, c + 5);
    path.lineTo(c + 9, c + 2);
    path.lineTo(c + 2, c + 2);
    path.lineTo(c + 2, c + 9);
    path.lineTo(c + 5, c + 9);
    path.lineTo(c, c + 15);
    path.lineTo(c - 5, c + 9);
    path.lineTo(c - 2, c + 9);
    path.lineTo(c - 2, c + 2);
    path.lineTo(c - 9, c + 2);
    path.lineTo(c - 9, c + 5);
    path.lineTo(c - 15, c);
    path.lineTo(c - 9, c - 5);
    path.lineTo(c - 9, c - 2);
    path.lineTo(c - 2, c - 2);
    path.lineTo(c - 2, 7);
    path.lineTo(c - 5, 7);
    path.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void drawLupeCursor(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QRectF(2, 2, 18, 18));
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 18), QPointF(29, 29));
}

void drawMultiDragCursor(QPainter &p)
{
    // Arrow with stacked sheets: dragging several items.
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 17);
    arrow.lineTo(5, 13);
    arrow.lineTo(8, 20);
    arrow.lineTo(10, 19);
    arrow.lineTo(7, 12);
    arrow.lineTo(12, 12);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(16, 18, 11, 9);
    p.drawRect(13, 21, 11, 9);
    p.drawPath(arrow);
}
} // namespace

QCursor ScreenCursor(int index)
{
    switch (index) {
    case 1:
    case 4:
        return QCursor(Qt::SizeFDiagCursor);
    case 2:
    case 3:
        return QCursor(Qt::SizeBDiagCursor);
    case 5:
    case 6:
        return QCursor(Qt::SizeVerCursor);
    case 7:
    case 8:
        return QCursor(Qt::SizeHorCursor);
    case 9: {
        static const QCursor drag = drawnCursor(drawDragCursor, 15, 15);
        return drag;
    }
    case 11: {
        static const QCursor lupe = drawnCursor(drawLupeCursor, 11, 11);
        return lupe;
    }
    case 12: {
        static const QCursor multi = drawnCursor(drawMultiDragCursor, 1, 1);
        return multi;
    }
    case 13:
        return QCursor(Qt::OpenHandCursor);
    case 14:
        return QCursor(Qt::ClosedHandCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}
