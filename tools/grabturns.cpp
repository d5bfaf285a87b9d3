// Saves pictures of a print sheet whose frames turn their picture to pack
// more on the page: the print-sheet dialog, the arrange view, the Sort tab
// (one entry for the picture) and the sheet printed to turns.pdf:
// grabturns OUTDIR PICTURE [WIDTH_MM HEIGHT_MM]. The printer gets a fixed A4
// page at 600 dpi; the frames default to 90 x 130 mm, as many as fit.
#include "app/MainUnit.h"
#include "app/Translations.h"
#include "arrange/PrintSheetDialog.h"
#include "GrabSupport.h"
#include "arrange/SheetMakers.h"
#include "pages/ArrangePage.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QThread>

#include <cmath>

namespace {
void settle()
{
    for (int i = 0; i < 8; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

// The dialog's size list holds both orientations of some sizes; either will do.
int indexOfSize(const PrintSheetDialog &d, double w, double h)
{
    for (int i = 0; i < int(d.sizes().size()); ++i) {
        const double a = d.sizes()[std::size_t(i)].widthMm(), b = d.sizes()[std::size_t(i)].heightMm();
        if ((std::abs(a - w) < 0.6 && std::abs(b - h) < 0.6) || (std::abs(a - h) < 0.6 && std::abs(b - w) < 0.6))
            return i;
    }
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app);
    if (argc < 3)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const double w = argc > 4 ? QString::fromLocal8Bit(argv[3]).toDouble() : 90;
    const double h = argc > 4 ? QString::fromLocal8Bit(argv[4]).toDouble() : 130;
    QDir().mkpath(out);
    TMainForm form;
    form.printer().setFixedPage(4960, 7014, 600, 600);
    form.resize(1400, 900);
    form.show();
    settle();
    form.Doc->addPictureFiles({QString::fromLocal8Bit(argv[2])}, QStringLiteral("Add"));
    form.showTab(TMainForm::Tab::Arrange);
    settle();

    Dialogs::Handler handler;
    handler.exec = [&](QDialog *dialog) {
        auto *d = static_cast<PrintSheetDialog *>(dialog);
        d->resize(900, 640);
        d->show();
        d->SizeBox->setCurrentIndex(indexOfSize(*d, w, h));
        d->AsManyCheck->setChecked(true);
        settle();
        d->grab().toImage().save(out + QStringLiteral("/dialog.png"));
        d->hide();
        return int(QDialog::Accepted);
    };
    Dialogs::setHandler(handler);
    form.arrangePage().makeSheet(*FindSheetMaker(QStringLiteral("print-sheets")));
    Dialogs::clearHandler();
    form.Doc->selectPlacement(0);
    form.arrangePage().setZoom(40);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/arrange.png"));
    form.showTab(TMainForm::Tab::Sort);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/sort.png"));

    const bool printed = SaveWholePdf(form, out + QStringLiteral("/turns.pdf"), QStringLiteral("turns"));
    return printed ? 0 : 1;
}
