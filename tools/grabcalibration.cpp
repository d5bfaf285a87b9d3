// Saves the printer calibration page (calibration.pdf, on A4 with a printer's
// margins of 3.4 x 4.2 mm), pictures of the calibration dialog and of the
// print-sheet dialog on borderless paper: grabcalibration OUTDIR.
#include "app/Translations.h"
#include "arrange/PrintSheetDialog.h"
#include "document/PictureEntry.h"
#include "output/CalibrationDialog.h"
#include "output/PrintCalibration.h"
#include "picture/Dib.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPageLayout>
#include <QPrinter>
#include <QThread>

namespace {
void settle()
{
    for (int i = 0; i < 8; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

void grab(QWidget &w, const QString &file)
{
    w.show();
    settle();
    w.grab().save(file);
    w.hide();
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app); // LANG=de_DE.UTF-8 grabs the German window
    if (argc < 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));

    TPrinter page;
    QPrinter *printer = page.qprinter();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(out.filePath(QStringLiteral("calibration.pdf")));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(3.4, 4.2, 3.4, 4.2), QPageLayout::Millimeter);
    const bool printed = PrintCalibrationPage(page, QStringLiteral("Calibration page: Office-Laser, A4 portrait"));

    CalibrationDialog calibration(QStringLiteral("Office-Laser, A4 portrait"), {2, -1.5, 0.995});
    grab(calibration, out.filePath(QStringLiteral("calibration-dialog.png")));

    std::vector<PictureEntry> pictures(1);
    newdib(&pictures[0].Dib, 300, 200, 24, nullptr, 0);
    pictures[0].FileName = QStringLiteral("/photos/beach.jpg");
    const SheetArea sheet{QSizeF(210, 297), QRectF(0, 0, 210, 297), true};
    PrintSheetDialog sheets(pictures, 0, sheet, out.path());
    sheets.MarginEd->setValue(0);
    sheets.GapEd->setValue(0);
    sheets.BorderlessCheck->setChecked(true);
    sheets.WidthEd->setValue(105); // A6: four reach the edges of A4
    sheets.HeightEd->setValue(148.5);
    sheets.updateLayout();
    grab(sheets, out.filePath(QStringLiteral("sheet-borderless.png")));
    return printed ? 0 : 1;
}
