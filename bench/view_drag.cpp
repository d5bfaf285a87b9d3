// Moving a 24-megapixel picture inside its frame in the arrange view at zoom
// 100 on a 96 dpi screen: each step of the drag moves the view and draws the
// frame again from the screen copy, as the view does while the mouse moves.
// Beside it, in the same run, the full repaint of the same page.
// Prints the median, the 95th percentile and the slowest milliseconds per step.
#include "arrange/ArrangeView.h"
#include "arrange/Geometry.h"
#include "document/Arrangement.h"
#include "document/FrameView.h"
#include "platform/DeviceContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
constexpr int PictureWidth = 6000, PictureHeight = 4000; // 24 megapixels
constexpr int PageWidth = 4760, PageHeight = 6814, PrinterDpi = 600; // A4 printable area

DIB makePicture()
{
    DIB d;
    if (!newdib(&d, PictureWidth, PictureHeight, 24, nullptr, 0))
        return d;
    std::vector<BYTE> row(d.RowBytes);
    for (int y = 0; y < PictureHeight; ++y) {
        for (int x = 0; x < PictureWidth; ++x) {
            row[std::size_t(x) * 3] = BYTE(x);
            row[std::size_t(x) * 3 + 1] = BYTE(y);
            row[std::size_t(x) * 3 + 2] = BYTE(x ^ y);
        }
        std::memcpy(DibRow(d, y), row.data(), row.size());
    }
    return d;
}

// This thread's processor time, so that other programs on a busy machine
// do not count.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The entry as opening a large photograph leaves it: a screen copy and
    // the full picture's size.
    DIB full = makePicture();
    const DIB screen = ShrinkForDisplay(full);
    if (!full.Bits || !screen.Bits) {
        std::fprintf(stderr, "out of memory\n");
        return 1;
    }
    TArrangement doc;
    const int id = doc.appendPicture(QStringLiteral("/pictures/big.jpg"), screen);
    PictureEntry &entry = doc.Pictures.back();
    entry.Reduced = true;
    entry.Recipe.Full = {PictureWidth, PictureHeight, 24, full.Info->biSizeImage};
    deldib(&full);
    Placement *p = doc.Placements.Append();
    p->Left = 0.5;
    p->Top = 0.5;
    p->Width = 6;
    p->Height = 4.5;
    p->Page = 1;
    p->PictureId = id;
    p->Cut = 1;
    p->View = FrameView{0.5, 0.5, 1.5};
    doc.SelectedPlacement = 0;

    ArrangeViewState state;
    state.ScreenDpi = 96;
    state.Zoom = 100;
    state.PageWidth = PageWidth;
    state.PageHeight = PageHeight;
    state.PrinterDpi = PrinterDpi;
    state.ShowGrid = true;
    const QSize size = Geometry::ViewSize(PageWidth, PageHeight, PrinterDpi, 96, 100);
    QImage image(size, QImage::Format_RGB32);

    std::vector<double> repaints;
    for (int run = 0; run < 13; ++run) {
        QElapsedTimer timer;
        timer.start();
        TDC dc(&image);
        PaintArrangeView(dc, doc, state, image.rect());
        if (run >= 3)
            repaints.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    // A drag back and forth across the frame, two view pixels per step.
    const QRect frame(Geometry::ToView(p->Left, 100, 96) - 2, Geometry::ToView(p->Top, 100, 96) - 2,
                      Geometry::ToView(p->Width, 100, 96) + 4, Geometry::ToView(p->Height, 100, 96) + 4);
    const double aspect = p->Width / p->Height;
    const QSizeF picture(PictureWidth, PictureHeight);
    state.ScreenCopies = true;
    std::vector<double> steps, cpuSteps;
    FrameView origin = p->View;
    for (int step = 0; step < 200; ++step) {
        const int dx = (step % 100 < 50 ? step % 50 : 50 - step % 50) * 2;
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadMs();
        p->View = MovedView(picture, aspect, true, origin, double(dx) / frame.width(), double(dx) / frame.height());
        TDC dc(&image);
        dc.painter()->setClipRect(frame);
        PaintArrangeView(dc, doc, state, frame);
        if (step >= 3) { // warm-up
            steps.push_back(double(timer.nsecsElapsed()) / 1e6);
            cpuSteps.push_back(threadMs() - cpu);
        }
    }
    std::vector<double> sorted = steps;
    std::sort(sorted.begin(), sorted.end());
    std::sort(cpuSteps.begin(), cpuSteps.end());
    std::printf("repaint_zoom100_ms: %.1f ms\n", median(repaints));
    std::printf("view_drag_step_median_ms: %.1f ms\n", median(steps));
    std::printf("view_drag_step_p95_ms: %.1f ms\n", sorted[sorted.size() * 95 / 100]);
    std::printf("view_drag_step_max_ms: %.1f ms\n", sorted.back());
    std::printf("view_drag_step_cpu_median_ms: %.1f ms\n", median(cpuSteps));
    std::printf("view_drag_step_cpu_max_ms: %.1f ms\n", cpuSteps.back());
    return 0;
}
