#pragma once
// The first page of a sheet dialog drawn to scale: the paper, its printable
// area (dashed), the shapes the dialog lays out on it, and the paper's edge on
// top, so shapes that spill beyond it show where the paper ends. Every sheet
// dialog shows its layout with it.
#include "arrange/SheetLayout.h"

#include <QColor>
#include <QRectF>
#include <QWidget>

#include <vector>

class PaperSketch : public QWidget
{
public:
    struct Shape {
        QRectF Mm; // from the printable area's top-left corner
        QColor Fill;
        bool Outline = false;
    };
    explicit PaperSketch(QWidget *parent = nullptr);

    void showSheet(const SheetArea &sheet, std::vector<Shape> shapes);
    [[nodiscard]] const std::vector<Shape> &shapes() const { return Shapes; }
    // Where a rectangle of mm on the printable area lands in the widget.
    [[nodiscard]] QRectF toWidget(const QRectF &mm) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SheetArea Sheet;
    std::vector<Shape> Shapes;
};
