// Saves pictures of the contact sheet dialog, the arrange view of the first
// page it made and the set printed to contact.pdf: grabcontact OUTDIR FOLDER.
// The printer gets a fixed A4 page at 300 dpi.
#include "app/Translations.h"
#include "app/MainUnit.h"
#include "arrange/ContactSheetDialog.h"
#include "GrabSupport.h"
#include "arrange/SheetMakers.h"
#include "pages/ArrangePage.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>

namespace {
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
    if (argc < 3)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    TMainForm form;
    form.printer().setFixedPage(2362, 3390, 300, 300);
    form.resize(1400, 900);
    form.show();
    form.showTab(TMainForm::Tab::Arrange);
    settle();

    Dialogs::Handler handler;
    handler.exec = [&](QDialog *dialog) {
        auto *d = static_cast<ContactSheetDialog *>(dialog);
        d->show();
        d->FolderEd->setText(folder);
        d->folderTyped();
        d->TitleEd->setText(QStringLiteral("Holiday 2024"));
        d->ColumnsEd->setValue(4);
        d->RowsEd->setValue(5);
        settle();
        d->grab().toImage().save(out + QStringLiteral("/contact-dialog.png"));
        d->hide();
        return int(QDialog::Accepted);
    };
    Dialogs::setHandler(handler);
    form.arrangePage().makeSheet(*FindSheetMaker(QStringLiteral("contact-sheet")));
    Dialogs::clearHandler();
    form.arrangePage().setZoom(50);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/contact-arrange.png"));

    const bool printed = SaveWholePdf(form, out + QStringLiteral("/contact.pdf"), QStringLiteral("contact"));
    return printed ? 0 : 1;
}
