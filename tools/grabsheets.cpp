// Saves pictures of the print-sheet dialog, the arrange view of a filled sheet
// (an ID frame selected, its guides shown), the print preview with cut marks,
// and the sheet printed to sheet.pdf: grabsheets OUTDIR [PICTURE...]. Without
// picture files colour ramps stand in for photographs; the printer gets a
// fixed A4 page at 600 dpi.
#include "app/Translations.h"
#include "app/MainUnit.h"
#include "arrange/PrintSheetDialog.h"
#include "GrabSupport.h"
#include "arrange/SheetMakers.h"
#include "pages/ArrangePage.h"
#include "pages/PrintPage.h"
#include "picture/Dib.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

namespace {
DIB rampPicture(int w, int h, int blue)
{
    DIB d;
    if (!newdib(&d, w, h, 24, nullptr, 0))
        return d;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, std::uint32_t(x * 255 / w) | (std::uint32_t(y * 255 / h) << 8) | (std::uint32_t(blue) << 16));
    return d;
}

void settle()
{
    for (int i = 0; i < 8; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

int indexOfSize(const PrintSheetDialog &d, double w, double h)
{
    for (int i = 0; i < int(d.sizes().size()); ++i)
        if (std::abs(d.sizes()[std::size_t(i)].widthMm() - w) < 0.1 && std::abs(d.sizes()[std::size_t(i)].heightMm() - h) < 0.1)
            return i;
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app); // LANG=de_DE.UTF-8 grabs the German window
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    TMainForm form;
    form.printer().setFixedPage(4960, 7014, 600, 600);
    form.resize(1400, 900);
    form.show();
    settle();
    QStringList files;
    for (int i = 2; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    if (!files.isEmpty())
        form.Doc->addPictureFiles(files, QStringLiteral("Add"));
    else {
        form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/pictures/portrait.jpg"), rampPicture(600, 800, 160));
        form.Doc->recordsForSetUp().appendPicture(QStringLiteral("/pictures/landscape.jpg"), rampPicture(900, 600, 40));
    }
    form.Doc->touch(ArrangementDocument::Everything);
    form.showTab(TMainForm::Tab::Arrange);
    settle();

    // First the mixed sheet, then the ID photos on the following page.
    Dialogs::Handler handler;
    int round = 0;
    handler.exec = [&](QDialog *dialog) {
        auto *d = static_cast<PrintSheetDialog *>(dialog);
        d->resize(900, 640);
        d->show();
        if (round == 0) {
            d->SizeBox->setCurrentIndex(indexOfSize(*d, 100, 150));
            d->CopiesEd->setValue(2);
            d->addToList();
            d->PictureBox->setCurrentIndex(std::min(1, d->PictureBox->count() - 1));
            d->SizeBox->setCurrentIndex(indexOfSize(*d, 2 * 25.39995, 3 * 25.39995));
            d->CopiesEd->setValue(4);
            d->addToList();
            d->PictureBox->setCurrentIndex(0);
            d->SizeBox->setCurrentIndex(indexOfSize(*d, 35, 45));
            d->CopiesEd->setValue(6);
            d->addToList();
            settle();
            d->grab().toImage().save(out + QStringLiteral("/dialog-mixed.png"));
        } else {
            d->SizeBox->setCurrentIndex(indexOfSize(*d, 35, 45));
            d->AsManyCheck->setChecked(true);
            settle();
            d->grab().toImage().save(out + QStringLiteral("/dialog-fill.png"));
        }
        ++round;
        d->hide();
        return int(QDialog::Accepted);
    };
    Dialogs::setHandler(handler);
    form.arrangePage().makeSheet(*FindSheetMaker(QStringLiteral("print-sheets")));
    form.Doc->setPageCount(form.Doc->pageCount() + 1);
    form.Doc->setCurrentPage(form.Doc->pageCount());
    form.arrangePage().makeSheet(*FindSheetMaker(QStringLiteral("print-sheets")));
    Dialogs::clearHandler();
    settle();

    // An ID frame selected: its guides show.
    for (int i = 0; i < form.Doc->records().Placements.size(); ++i)
        if (form.Doc->records().Placements.at(i).Page == form.Doc->currentPage()) {
            form.Doc->selectPlacement(i);
            break;
        }
    form.arrangePage().setZoom(40);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/arrange.png"));
    form.Doc->setCurrentPage(1);
    form.showTab(TMainForm::Tab::Print);
    form.printPage().setCutMarks(true);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/preview.png"));

    const bool printed = SaveWholePdf(form, out + QStringLiteral("/sheet.pdf"), QStringLiteral("sheet"));
    form.printPage().setCutMarks(false); // the kept choice as it was
    return printed ? 0 : 1;
}
