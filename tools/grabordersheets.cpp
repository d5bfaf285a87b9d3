// Saves pictures of the order sheet dialog (three children entered row by
// row, a fourth read from a CSV file with one bad row), the arrange view of
// the first sheet with its labels, and the sheets printed to orders.pdf:
// grabordersheets OUTDIR PICTURE... (at least two pictures). The printer gets
// a fixed A4 page at 600 dpi.
#include "app/MainUnit.h"
#include "app/Translations.h"
#include "arrange/OrderSheetDialog.h"
#include "GrabSupport.h"
#include "arrange/SheetMakers.h"
#include "pages/ArrangePage.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>

#include <cstdio>

namespace {
void settle()
{
    for (int i = 0; i < 8; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

void addRow(OrderSheetDialog &d, const QString &order, int picture, const QString &size, int copies)
{
    d.OrderEd->setText(order);
    d.PictureBox->setCurrentIndex(picture % d.PictureBox->count());
    d.SizeBox->setEditText(size);
    d.CopiesEd->setValue(copies);
    d.AddButton->click();
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app);
    if (argc < 4) {
        std::fprintf(stderr, "usage: grabordersheets OUTDIR PICTURE PICTURE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QStringList files;
    for (int i = 2; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    // The fourth child comes from a CSV file beside the pictures' copies.
    const QString csv = out + QStringLiteral("/class.csv");
    QFile list(csv);
    if (!list.open(QIODevice::WriteOnly))
        return 1;
    list.write(QStringLiteral("order;picture;size;copies\n"
                              "Dana Ruiz;%1;Photo 13 x 18 cm;1\n"
                              "Dana Ruiz;%2;Wallet 2.5 x 3.5 in;8\n"
                              "Dana Ruiz;%2;Passport / ID 35 x 45 mm;4\n"
                              "Dana Ruiz;%1;Giant 1 x 2 m;1\n")
                   .arg(files.value(0), files.value(1))
                   .toUtf8());
    list.close();

    TMainForm form;
    form.printer().setFixedPage(4960, 7014, 600, 600);
    form.resize(1400, 900);
    form.show();
    settle();
    form.Doc->addPictureFiles(files, QStringLiteral("Add"));
    form.showTab(TMainForm::Tab::Arrange);
    settle();

    Dialogs::Handler handler;
    // Messages (the CSV's bad row) are printed rather than shown.
    handler.message = [&](const Dialogs::MessageRecord &m) {
        std::printf("message: %s\n", qPrintable(m.text));
        return int(Dialogs::IdOk);
    };
    handler.exec = [&](QDialog *dialog) {
        auto *d = static_cast<OrderSheetDialog *>(dialog);
        d->show();
        const char *names[] = {"Ali Becker", "Ben Chen", "Cleo Dunn"};
        for (int c = 0; c < 3; ++c) {
            const QString name = QString::fromLatin1(names[c]);
            addRow(*d, name, 2 * c, QStringLiteral("Photo 13 x 18 cm"), 1);
            addRow(*d, name, 2 * c + 1, QStringLiteral("Photo 9 x 13 cm"), 2);
            addRow(*d, name, 2 * c, QStringLiteral("Wallet 2.5 x 3.5 in (63.5 x 88.9 mm)"), 8);
            addRow(*d, name, 2 * c + 1, QStringLiteral("Passport / ID 35 x 45 mm"), 4);
        }
        d->readCsv(csv);
        settle();
        d->grab().toImage().save(out + QStringLiteral("/dialog.png"));
        d->hide();
        return int(QDialog::Accepted);
    };
    Dialogs::setHandler(handler);
    form.arrangePage().makeSheet(*FindSheetMaker(QStringLiteral("order-sheets")));
    Dialogs::clearHandler();
    settle();
    form.Doc->selectPlacement(0);
    form.arrangePage().setZoom(40);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/arrange.png"));

    const bool printed = SaveWholePdf(form, out + QStringLiteral("/orders.pdf"), QStringLiteral("orders"));
    std::printf("pages: %d, frames: %d\n", form.Doc->pageCount(), int(form.Doc->records().Placements.size()));
    return printed ? 0 : 1;
}
