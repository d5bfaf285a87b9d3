// DrawDib on a display-like QImage: a 12-megapixel picture scaled down by the
// row routines (24 and 8 bits), and a whole page of twenty such pictures laid
// out by the page rendering rule at zoom 100 and 400 (only the visible window
// part painted at 400). Prints the median milliseconds of each.
#include "document/Arrangement.h"
#include "document/Options.h"
#include "output/PageRender.h"
#include "picture/DrawDib.h"
#include "platform/DeviceContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int PictureWidth = 4000, PictureHeight = 3000;

DIB makePicture(int bits, int seed)
{
    DIB d;
    BYTE block[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
    auto *table = reinterpret_cast<RGBQUAD *>(block + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    if (!newdib(&d, PictureWidth, PictureHeight, bits, reinterpret_cast<BITMAPINFOHEADER *>(block),
                PaletteSize(bits)))
        return d;
    for (int y = 0; y < PictureHeight; ++y) {
        BYTE *row = DibRow(d, y);
        for (std::uint32_t i = 0; i < d.RowBytes; ++i)
            row[i] = BYTE(i * 3 + y + seed);
    }
    return d;
}

double medianMs(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < 23; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        if (run >= 3)
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
    // A true-colour display whatever the machine's.
    TDeviceCaps trueColour;
    trueColour.DisplayBitsPixel = 32;

    const DIB pic24 = makePicture(24, 0), pic8 = makePicture(8, 0);
    if (!pic24.Bits || !pic8.Bits) {
        std::fprintf(stderr, "out of memory\n");
        return 1;
    }
    QImage view(800, 600, QImage::Format_RGB32);
    std::printf("12 MP 24-bit -> 800x600 rows: %.2f ms\n", medianMs([&] {
                    TDC dc(&view);
                    dc.setCaps(trueColour);
                    DrawDib(dc, 0, 0, 800, 600, pic24, 0, 0, PictureWidth, PictureHeight, true, SRCCOPY, false, {});
                }));
    std::printf("12 MP 8-bit  -> 800x600 rows: %.2f ms\n", medianMs([&] {
                    TDC dc(&view);
                    dc.setCaps(trueColour);
                    DrawDib(dc, 0, 0, 800, 600, pic8, 0, 0, PictureWidth, PictureHeight, true, SRCCOPY, false, {});
                }));

    // An A4 page (8.27 x 11.69 inch printable) filled with 4 x 5 placements.
    TArrangement doc;
    for (int i = 0; i < 20; ++i) {
        const int id = doc.appendPicture(QStringLiteral("/p/photo%1.jpg").arg(i), makePicture(24, i));
        if (i % 3 == 0)
            doc.Pictures.back().Comment = QStringLiteral("Caption %1").arg(i);
        Placement *p = doc.Placements.Append();
        p->Left = (i % 4) * 2.0;
        p->Top = (i / 4) * 2.3;
        p->Width = 2.0;
        p->Height = 2.3;
        p->Page = 1;
        p->PictureId = id;
        p->Cut = i % 2;
    }
    const ArrangementOptions options;
    const PrintSetup setup;
    QImage page(794, 1123, QImage::Format_RGB32);
    std::printf("A4 page of 20 x 12 MP at zoom 100: %.2f ms\n", medianMs([&] {
                    TDC dc(&page);
                    dc.setCaps(trueColour);
                    RenderPage(dc, doc, 1, ArrangeViewScale(96, 100), options, setup);
                }));
    // At zoom 400 the page is 3176 x 4492; a window shows 1000 x 800 of it.
    QImage window(1000, 800, QImage::Format_RGB32);
    std::printf("A4 page at zoom 400, 1000x800 window: %.2f ms\n", medianMs([&] {
                    QPainter painter(&window);
                    painter.translate(-1200, -1800);
                    TDC dc(&painter);
                    dc.setCaps(trueColour);
                    RenderPage(dc, doc, 1, ArrangeViewScale(96, 400), options, setup);
                }));
    return 0;
}
