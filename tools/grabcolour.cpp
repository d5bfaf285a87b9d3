// Saves pictures of colour management on screen: grabcolour OUTDIR. A paper
// profile with a small gamut (made here by lcms2) is chosen for the current
// printer; then the colour dialog, the arrange tab plain and soft-proofed
// (gamut warning on), and the print tab's soft-proofed preview are grabbed.
#include "app/Translations.h"
#include "app/MainUnit.h"
#include "output/ColourSettingsDialog.h"
#include "output/PrintColour.h"
#include "pages/ArrangePage.h"
#include "pages/PrintPage.h"
#include "picture/Dib.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QImage>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <lcms2.h>

namespace {
// Hues around the circle left to right, from grey at the top to full colour below.
DIB huePicture(int w, int h, int turn)
{
    DIB d;
    if (!newdib(&d, w, h, 24, nullptr, 0))
        return d;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QColor c = QColor::fromHsv((x * 360 / w + turn) % 360, 255 * y / h, 230);
            setpixel(d, x, y, std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16);
        }
    return d;
}

bool writePaperProfile(const QString &file)
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const cmsCIExyYTRIPLE primaries{{0.55, 0.33, 1}, {0.32, 0.52, 1}, {0.18, 0.12, 1}};
    cmsToneCurve *gamma = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve *curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE p = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsMLU *name = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(name, "en", "US", "Matte paper (small gamut)");
    cmsWriteTag(p, cmsSigProfileDescriptionTag, name);
    cmsMLUfree(name);
    cmsFreeToneCurve(gamma);
    const bool ok = cmsSaveProfileToFile(p, QFile::encodeName(file).constData());
    cmsCloseProfile(p);
    return ok;
}

void settle()
{
    for (int i = 0; i < 8; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app); // LANG=de_DE.UTF-8 grabs the German window
    Dialogs::Handler answerOk;
    answerOk.message = [](const Dialogs::MessageRecord &) { return int(Dialogs::IdOk); };
    Dialogs::setHandler(answerOk);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const QString profile = out + QStringLiteral("/matte-paper.icc");
    if (!writePaperProfile(profile))
        return 1;
    TPrinter printer; // the window's printer and paper, as a window of its own has them
    ColourSettings settings;
    settings.ProfileFile = profile;
    settings.GamutWarning = true;
    SaveColourSettings(ColourPrinterName(printer), ColourPaperName(printer), settings);

    ColourDialog dialog(ColourPrinterName(printer), ColourPaperName(printer));
    dialog.setSettings(settings);
    TMainForm form;
    for (int i = 0; i < 4; ++i) {
        const int id = form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/pictures/hues%1.jpg").arg(i + 1),
                                                         huePicture(600, 400, i * 90));
        Placement *p = form.Doc->recordsForSetUp().Placements.Append();
        *p = Placement{0.5 + 3.6 * (i % 2), 0.5 + 2.8 * (i / 2), 3.3, 2.4, 1, id, 0, {}, {}};
    }
    form.resize(1400, 900);
    form.show();
    QTimer::singleShot(500, [&] {
        dialog.show();
        settle();
        dialog.grab().toImage().save(out + QStringLiteral("/colour-dialog.png"));
        dialog.hide();
        form.showTab(TMainForm::Tab::Arrange);
        form.arrangePage().setZoom(70);
        settle();
        form.grab().toImage().save(out + QStringLiteral("/arrange-plain.png"));
        form.arrangePage().chooseSoftProof(true);
        settle();
        form.grab().toImage().save(out + QStringLiteral("/arrange-proofed.png"));
        form.showTab(TMainForm::Tab::Print);
        settle();
        form.grab().toImage().save(out + QStringLiteral("/print-proofed.png"));
        form.arrangePage().chooseSoftProof(false);
        QApplication::exit(0);
    });
    return app.exec();
}
