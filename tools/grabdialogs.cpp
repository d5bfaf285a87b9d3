// Saves a picture of the single-picture print dialog and of the picture viewer:
// grabdialogs OUTDIR. A colour ramp stands in for a photograph; the printer
// gets a fixed A4-like page so the preview looks the same on every machine.
#include "app/Translations.h"
#include "output/SinglePrintDialog.h"
#include "output/PictureViewer.h"
#include "picture/Dib.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QThread>
#include <QTimer>

namespace {
DIB rampPicture(int w, int h)
{
    DIB d;
    if (!newdib(&d, w, h, 24, nullptr, 0))
        return d;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, std::uint32_t(x * 255 / w) | (std::uint32_t(y * 255 / h) << 8) | (160u << 16));
    return d;
}

void settle()
{
    for (int i = 0; i < 6; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app); // LANG=de_DE.UTF-8 grabs the German window
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    TPrinter printer;
    printer.setFixedPage(4800, 6600, 600, 600);
    DIB dib = rampPicture(800, 600);

    SinglePrintDialog print(dib, printer);
    print.showChoice();
    PictureViewer viewer;
    viewer.Dib = dib;
    viewer.FileName = QStringLiteral("/pictures/sample.jpg");
    QTimer::singleShot(300, [&] {
        print.show();
        settle();
        print.grab().toImage().save(out + QStringLiteral("/printform.png"));
        print.OwnSizeRadio->setChecked(true);
        print.WidthEd->setValue(70);
        settle();
        print.grab().toImage().save(out + QStringLiteral("/printform-userdef.png"));
        print.hide();

        viewer.show();
        viewer.ZoomEd->setValue(150);
        settle();
        viewer.ScrollArea->verticalScrollBar()->setValue(200);
        settle();
        viewer.grab().toImage().save(out + QStringLiteral("/viewer.png"));
        viewer.ZoomEd->setValue(25);
        settle();
        viewer.grab().toImage().save(out + QStringLiteral("/viewer-small.png"));
        viewer.hide();
        app.quit();
    });
    const int result = app.exec();
    deldib(&dib);
    return result;
}
