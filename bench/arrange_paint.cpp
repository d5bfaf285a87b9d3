// Full repaints of the arrange view: one A4 page holding 20 placements of
// 12-megapixel 24-bit pictures that together cover the page, grid shown, at
// zoom 25 and 100 on a 96 dpi screen, onto a QImage of the view's size.
// Prints the median milliseconds per repaint.
#include "arrange/ArrangeView.h"
#include "arrange/Geometry.h"
#include "document/Arrangement.h"
#include "platform/DeviceContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
constexpr int PictureWidth = 4000, PictureHeight = 3000; // 12 megapixels
constexpr int Columns = 4, Rows = 5;
constexpr int PageWidth = 4760, PageHeight = 6814, PrinterDpi = 600; // A4 printable area

DIB makePicture(int seed)
{
    DIB d;
    if (!newdib(&d, PictureWidth, PictureHeight, 24, nullptr, 0))
        return d;
    std::vector<BYTE> row(d.RowBytes);
    for (int y = 0; y < PictureHeight; ++y) {
        for (int x = 0; x < PictureWidth; ++x) {
            row[std::size_t(x) * 3] = BYTE(x + seed);
            row[std::size_t(x) * 3 + 1] = BYTE(y);
            row[std::size_t(x) * 3 + 2] = BYTE((x ^ y) + seed * 7);
        }
        std::memcpy(DibRow(d, y), row.data(), row.size());
    }
    return d;
}

double medianRepaintMs(const TArrangement &doc, ArrangeViewState state)
{
    const QSize size = Geometry::ViewSize(state.PageWidth, state.PageHeight, state.PrinterDpi, state.ScreenDpi,
                                          state.Zoom);
    QImage image(size, QImage::Format_RGB32);
    std::vector<double> times;
    for (int run = 0; run < 23; ++run) {
        QElapsedTimer timer;
        timer.start();
        {
            TDC dc(&image);
            PaintArrangeView(dc, doc, state, image.rect());
        }
        if (run >= 3) // warm-up
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TArrangement doc;
    const double cellW = double(PageWidth) / PrinterDpi / Columns;
    const double cellH = double(PageHeight) / PrinterDpi / Rows;
    for (int i = 0; i < Columns * Rows; ++i) {
        const DIB dib = makePicture(i);
        if (!dib.Bits) {
            std::fprintf(stderr, "out of memory\n");
            return 1;
        }
        const int id = doc.appendPicture(QStringLiteral("/pictures/photo%1.jpg").arg(i), dib);
        if (i % 3 == 0)
            doc.Pictures.back().Comment = QStringLiteral("Caption %1").arg(i);
        Placement *p = doc.Placements.Append();
        p->Left = (i % Columns) * cellW;
        p->Top = (i / Columns) * cellH;
        p->Width = cellW;
        p->Height = cellH;
        p->Page = 1;
        p->PictureId = id;
        p->Cut = BYTE(i % 2);
    }
    doc.SelectedPlacement = Columns * Rows - 1;

    ArrangeViewState state;
    state.Page = 1;
    state.ScreenDpi = 96;
    state.PageWidth = PageWidth;
    state.PageHeight = PageHeight;
    state.PrinterDpi = PrinterDpi;
    state.ShowGrid = true;
    state.GridMm = 5;

    state.Zoom = 25;
    std::printf("repaint_zoom25_ms: %.1f ms\n", medianRepaintMs(doc, state));
    state.Zoom = 100;
    std::printf("repaint_zoom100_ms: %.1f ms\n", medianRepaintMs(doc, state));
    return 0;
}
