// Saves pictures of captions of three lines with tokens, and a page header and
// footer, in the arrange view and the print preview: grabcaptions OUTDIR PHOTO...
// The printer gets a fixed A4 page at 300 dpi; QT_SCALE_FACTOR scales the window.
#include "app/MainUnit.h"
#include "app/Translations.h"
#include "arrange/Geometry.h"
#include "document/ArrangementDocument.h"
#include "pages/ArrangePage.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QThread>

namespace {
void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(40);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallTranslations(app);
    if (argc < 4)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QStringList photos;
    for (int i = 2; i < argc; ++i)
        photos << QString::fromLocal8Bit(argv[i]);
    QDir().mkpath(out);
    TMainForm form;
    form.printer().setFixedPage(2362, 3390, 300, 300);
    form.resize(1400, 900);
    form.show();
    form.showTab(TMainForm::Tab::Arrange);
    settle();

    ArrangementDocument &doc = *form.Doc;
    doc.setFileName(out + QStringLiteral("/holiday.sga"));
    doc.addPictureFiles(photos, QStringLiteral("Add"));
    ArrangementOptions o = doc.options();
    o.DBreite = 150;
    o.DHoche = 100;
    o.Captions.Template = QStringLiteral("{name} \u00B7 {date} {time}\n{camera}, {lens}\n{exposure}");
    o.Captions.Fit = CaptionFit::Ellipsis;
    o.Captions.Header = QStringLiteral("{file} \u2014 printed {printed}");
    o.Captions.HeaderAlign = PageTextAlign::Left;
    o.Captions.Footer = QStringLiteral("Page {page} of {pages}");
    o.Captions.FooterAlign = PageTextAlign::Right;
    doc.setOptions(o, QStringLiteral("Captions"));
    const PageGeometry paper = PaperGeometry(form.printer(), 96, doc.options().Zoom);
    doc.placePicture(0, 0.6, 0.5, paper, nullptr);
    if (photos.size() > 1) {
        doc.placePicture(1, 0.6, 5.0, paper, nullptr);
        form.arrangePage().typeCaption(QStringLiteral("{caption}\n{date} {time}, {camera}\n{exposure}"));
    }
    form.arrangePage().setZoom(60);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/arrange.png"));
    form.showTab(TMainForm::Tab::Print);
    settle();
    form.grab().toImage().save(out + QStringLiteral("/preview.png"));
    return 0;
}
