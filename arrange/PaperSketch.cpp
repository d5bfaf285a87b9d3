#include "arrange/PaperSketch.h"

#include <QPainter>

#include <algorithm>

namespace {
constexpr double Border = 6; // widget pixels around the paper
} // namespace

PaperSketch::PaperSketch(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(220, 300);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PaperSketch::showSheet(const SheetArea &sheet, std::vector<Shape> shapes)
{
    Sheet = sheet;
    Shapes = std::move(shapes);
    update();
}

QRectF PaperSketch::toWidget(const QRectF &mm) const
{
    const QSizeF paper = Sheet.Paper;
    if (paper.isEmpty())
        return {};
    const double scale = std::min((width() - 2 * Border) / paper.width(), (height() - 2 * Border) / paper.height());
    const QPointF origin((width() - paper.width() * scale) / 2, (height() - paper.height() * scale) / 2);
    return QRectF(origin + (mm.topLeft() + Sheet.Printable.topLeft()) * scale, mm.size() * scale);
}

void PaperSketch::paintEvent(QPaintEvent *)
{
    if (Sheet.Paper.isEmpty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF paper = toWidget(QRectF(-Sheet.Printable.topLeft(), Sheet.Paper));
    p.fillRect(paper, Qt::white);
    p.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    p.drawRect(toWidget(QRectF(QPointF(0, 0), Sheet.Printable.size())));
    for (const Shape &shape : Shapes) {
        p.setPen(shape.Outline ? QPen(palette().color(QPalette::Dark), 1) : QPen(Qt::NoPen));
        p.setBrush(shape.Fill);
        p.drawRect(toWidget(shape.Mm));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
    p.drawRect(paper);
}
