#include "arrange/PictureStrip.h"

#include "arrange/ArrangeView.h"
#include "arrange/Editing.h"
#include "document/ArrangementDocument.h"
#include "platform/DeviceContext.h"
#include "platform/EventHook.h"
#include "platform/PaintBox.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

PictureStrip::PictureStrip(ArrangementDocument &doc, QWidget *parent)
    : QObject(parent)
    , Doc(doc)
{
    StripBox = new TPaintBox;
    ScrollArea = WorkspaceScrollArea(StripBox, parent);
    ScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollArea->setFixedWidth(130);
    ScrollArea->verticalScrollBar()->setSingleStep(150);

    StripBox->onPaint = [this](QPaintEvent *e) { stripPaint(e); };
    StripBox->onMouseDown = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        mousePress(at.x(), at.y());
    };
    StripBox->onDblClick = [this](QMouseEvent *) { emit doubleClicked(); };
    WatchResize(ScrollArea, [this] { scrollAreaResized(); });
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        using C = ArrangementDocument::Change;
        if (what & (C::Collection | C::Pictures | C::Selection))
            repaintStrip();
    });
}

void PictureStrip::repaintStrip() { StripBox->repaint(); }

bool PictureStrip::syncStripSize()
{
    const int W = ScrollArea->viewport()->width();
    if (StripBox->width() != W) {
        StripBox->resize(W, StripBox->height());
        return false;
    }
    // Cells are as wide as the strip, so it ends right after the last one.
    const int h = StripHeight(W, Doc.records().PictureCount());
    if (StripBox->height() != h) {
        StripBox->resize(W, h);
        return false;
    }
    return true;
}

void PictureStrip::scrollAreaResized()
{
    // The strip follows the area's width; an empty strip gets no paint event.
    syncStripSize();
    syncStripSize();
    repaintStrip();
}

void PictureStrip::paintStrip(TDC &dc, int visibleTop, int visibleHeight)
{
    PaintPictureStrip(dc, Doc.records(), StripBox->width(), visibleTop, visibleHeight);
}

void PictureStrip::stripPaint(QPaintEvent *)
{
    if (!syncStripSize())
        return;
    TDC dc(StripBox);
    paintStrip(dc, ScrollArea->verticalScrollBar()->value(), ScrollArea->viewport()->height());
}

void PictureStrip::mousePress(int /*X*/, int Y)
{
    const int index = StripIndexAt(Y, StripBox->width(), Doc.records().PictureCount());
    if (index < 0)
        return;
    Doc.selectPicture(index);
    // The drag starts at the press, without a movement threshold.
    auto *drag = new QDrag(StripBox);
    auto *mime = new QMimeData;
    mime->setData(StripMimeType(), QByteArray::number(index));
    drag->setMimeData(mime);
    if (ExecStripDrag) {
        ExecStripDrag(drag);
        drag->deleteLater();
    } else {
        drag->exec(Qt::CopyAction); // Qt disposes of the drag
    }
}
