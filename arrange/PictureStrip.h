#pragma once
// The picture strip beside the arrange view: one cell per picture of the
// collection, the strip's selection in blue. A press selects a picture and
// starts dragging it towards the arrange view.
#include <QObject>

#include <functional>

class ArrangementDocument;
class QDrag;
class QPaintEvent;
class QScrollArea;
class QWidget;
class TDC;
class TPaintBox;

class PictureStrip : public QObject
{
    Q_OBJECT
public:
    PictureStrip(ArrangementDocument &doc, QWidget *parent);

    ArrangementDocument &Doc;
    QScrollArea *ScrollArea = nullptr;
    TPaintBox *StripBox = nullptr;
    // Runs the strip's drag; unset, QDrag::exec. Tests answer it instead.
    std::function<void(QDrag *drag)> ExecStripDrag;

    void stripPaint(QPaintEvent *event);
    void scrollAreaResized();
    // Sizes the strip to its scroll area and the collection; false when it was resized.
    bool syncStripSize();
    // Draws the strip's visible cells; rows outside [visibleTop, visibleTop + visibleHeight) are skipped.
    void paintStrip(TDC &dc, int visibleTop, int visibleHeight);
    void mousePress(int X, int Y);
    void repaintStrip();

signals:
    // A double click: the page places the strip's picture.
    void doubleClicked();
};
