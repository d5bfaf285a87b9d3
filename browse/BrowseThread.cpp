// The main window's side of the thumbnail walk: short calls into the browser
// component, which runs the walk on the thread pool.
#include "app/MainUnit.h"
#include "browse/ThumbBrowser.h"
#include "browse/ThumbnailBrowser.h"
#include "platform/PaintBox.h"

const ThumbList &TMainForm::Thumbs() const { return Browser->Thumbs(); }

void TMainForm::StartBrowsing() { Browser->StartBrowsing(); }

void TMainForm::Startbrowsing()
{
    EmptyThumbs();
    if (Browser->Running())
        StopBrowsing(true);
    else
        StartBrowsing();
}

void TMainForm::StopBrowsing(bool restart) { Browser->StopBrowsing(restart); }

void TMainForm::EndBrowsing() { Browser->EndBrowsing(); }

void TMainForm::EmptyThumbs() { Browser->EmptyThumbs(); }

void TMainForm::ThreadDone() { ShowThumbStatus(); }

void TMainForm::NewFile(int index)
{
    syncThumbGridSize();
    // Only the new cell is drawn. The paint waits for the event loop, so the
    // cells appended in one pass of it are drawn together.
    const QPoint o = ThumbCellOrigin(index, ThumbColumns(PaintBox4->width()));
    PaintBox4->update(QRect(o, QSize(ThumbCellWidth, ThumbCellHeight)));
}
