// Soft proof on and off in the arrange view: one A4 page with four 24-megapixel
// JPEG photos (2 x 2), zoom 75 on a 96 dpi screen, repainted onto a QImage of
// the view's size. Prints the median plain repaint, the median repaint right
// after the proof is turned on again (its proofed copies kept), the first
// turn-on (the pictures proofed) and the making of the proof transform, all
// from one run.
#include "PhotoFolder.h"

#include "arrange/ArrangeView.h"
#include "arrange/Geometry.h"
#include "document/ArrangementDocument.h"
#include "output/PrintColour.h"
#include "platform/DeviceContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

#include <lcms2.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int PageWidth = 4760, PageHeight = 6814, PrinterDpi = 600; // A4 printable area

// A printer whose primaries lie inside sRGB's, so the gamut warning has work.
QByteArray paperProfile()
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const cmsCIExyYTRIPLE primaries{{0.55, 0.33, 1}, {0.32, 0.52, 1}, {0.18, 0.12, 1}};
    cmsToneCurve *gamma = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve *curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE p = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(gamma);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(p, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(p, bytes.data(), &size);
    cmsCloseProfile(p);
    return bytes;
}

double paintMs(const TArrangement &doc, const ArrangeViewState &state, QImage &image)
{
    QElapsedTimer timer;
    timer.start();
    TDC dc(&image);
    PaintArrangeView(dc, doc, state, image.rect());
    return double(timer.nsecsElapsed()) / 1e6;
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

    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        const QString file = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        const QImage photo = PhotoFolder::photoLike(quint32(100 + i)).scaled(6000, 4000);
        if (!photo.save(file, "jpeg", 90)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        files << file;
    }
    ArrangementDocument doc;
    const ArrangementDocument::AddResult added = doc.addPictureFiles(files, QStringLiteral("Add"));
    if (added.Added.size() != 4) {
        std::fprintf(stderr, "pictures not added\n");
        return 1;
    }
    TArrangement &records = doc.recordsForSetUp();
    const double cellW = double(PageWidth) / PrinterDpi / 2, cellH = double(PageHeight) / PrinterDpi / 2;
    for (int i = 0; i < 4; ++i) {
        Placement *p = records.Placements.Append();
        *p = Placement{};
        p->Left = (i % 2) * cellW;
        p->Top = (i / 2) * cellH;
        p->Width = cellW;
        p->Height = cellH;
        p->Page = 1;
        p->PictureId = records.Pictures[std::size_t(added.Added[std::size_t(i)])].PictureId;
    }

    ArrangeViewState state;
    state.Page = 1;
    state.Zoom = 75;
    state.ScreenDpi = 96;
    state.PageWidth = PageWidth;
    state.PageHeight = PageHeight;
    state.PrinterDpi = PrinterDpi;
    state.Options = doc.options();
    QImage image(Geometry::ViewSize(PageWidth, PageHeight, PrinterDpi, 96, state.Zoom), QImage::Format_RGB32);

    std::vector<double> plain, toggled;
    for (int run = 0; run < 3; ++run) // warm-up
        paintMs(records, state, image);

    // The proof transform is made ahead, as the program does once a printer
    // profile is chosen; the first turn-on then proofs the pictures drawn.
    SoftProofView proof;
    QElapsedTimer made;
    made.start();
    auto transform = ColourConversion::SoftProof(paperProfile(), {}, RenderIntent::Perceptual, true, true,
                                                 GamutWarningColour);
    const double madeMs = double(made.nsecsElapsed()) / 1e6;
    QElapsedTimer first;
    first.start();
    proof.setProof(transform);
    proof.setOn(true);
    state.Recolour = proof.recolour();
    paintMs(records, state, image);
    const double firstMs = double(first.nsecsElapsed()) / 1e6;

    for (int run = 0; run < 21; ++run) {
        proof.setOn(false);
        state.Recolour = proof.recolour();
        plain.push_back(paintMs(records, state, image));
        proof.setOn(true);
        state.Recolour = proof.recolour();
        toggled.push_back(paintMs(records, state, image));
    }
    std::printf("plain_repaint_ms: %.1f ms\n", median(plain));
    std::printf("softproof_toggle_ms: %.1f ms\n", median(toggled));
    std::printf("softproof_first_toggle_ms: %.1f ms (the four pictures proofed at their drawn size, %.1f MB held)\n",
                firstMs, double(proof.heldBytes()) / 1048576.0);
    std::printf("softproof_transform_ms: %.1f ms (made ahead, on a thread of its own)\n", madeMs);
    if (argc > 1)
        image.save(QString::fromLocal8Bit(argv[1]));
    return 0;
}
