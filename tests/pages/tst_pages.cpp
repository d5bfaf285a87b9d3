// Each tab page built from a document and test services, without the window.
#include "arrange/ArrangeCanvas.h"
#include "arrange/Editing.h"
#include "arrange/Geometry.h"
#include "arrange/SizePositionDialog.h"
#include "arrange/OptionsPanel.h"
#include "arrange/PictureStrip.h"
#include "arrange/SheetMakers.h"
#include "browse/FolderViews.h"
#include "common/FileListSupport.h"
#include "common/TestRegistry.h"
#include "common/TestServices.h"
#include "common/TestSupport.h"
#include "pages/ArrangePage.h"
#include "pages/CollectionPage.h"
#include "pages/PrintPage.h"
#include "pages/SortPage.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {
DIB grey(int w, int h)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    std::memset(d.Bits, 128, d.Info->biSizeImage);
    return d;
}
} // namespace

class TestPages : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:

    void arrangePagePlacesADroppedPicture()
    {
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(4800, 6600, 600, 600);
        ArrangePage page(doc, services);
        page.options().UseGridCheck->setChecked(false);
        page.setZoom(100);
        doc.recordsForSetUp().appendPicture("/p/a.bmp", grey(40, 30));
        QMimeData mime;
        mime.setData(StripMimeType(), "0");
        page.canvas().dropPicture(page.strip().StripBox, &mime, 192, 96); // 2 x 1 inches at 96 dpi
        QCOMPARE(doc.records().Placements.size(), 1);
        QCOMPARE(doc.records().Placements.at(0).Left, 2.0);
        QCOMPARE(doc.records().Placements.at(0).Top, 1.0);
        QCOMPARE(doc.records().SelectedPlacement, 0);
        QVERIFY(page.selectionEditable()); // the selection's edits follow
        QVERIFY(services.Status.contains(QStringLiteral("x:")));
    }

    // The controls show the document: an undone option, and a file's options
    // in both unit edits.
    void arrangePageShowsTheDocumentsOptions()
    {
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(4800, 6600, 600, 600);
        ArrangePage page(doc, services);
        page.options().GridEd->setValue(7);
        QCOMPARE(doc.options().Grid, 7.0);
        doc.undoStack()->undo();
        QCOMPARE(page.options().GridEd->value(), 5.0);
        QCOMPARE(page.options().GridInchEd->value(), 0.2);

        ArrangementData stored;
        StoreOptions(stored, doc.options());
        stored.Rand = 20;
        stored.Grid = 7.5;
        stored.DBreite = 150;
        stored.Zoom = 60;
        const QString file = dir.filePath("options.sga");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(WriteArrangement(stored)) > 0);
        out.close();
        QCOMPARE(doc.open(file, PageGeometry{}).Status, ArrangementDocument::OpenStatus::Opened);
        QCOMPARE(page.options().MarginEd->value(), 20.0);
        QCOMPARE(page.options().MarginInchEd->value(), 0.79);
        QCOMPARE(page.options().GridEd->value(), 7.5);
        QCOMPARE(page.options().GridInchEd->value(), 0.3);
        QCOMPARE(page.options().DefaultWidthEd->value(), 150.0);
        QCOMPARE(page.options().DefaultWidthInchEd->value(), 5.91);
        QCOMPARE(page.shownZoom(), 60);
    }

    // A drop near the page's corner lands inside the page; a frame the paper
    // turned off the page is named before printing, and Cancel prints nothing.
    void framesStayOnThePage()
    {
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(4800, 6600, 600, 600);
        ArrangePage arrange(doc, services);
        arrange.options().UseGridCheck->setChecked(false);
        arrange.setZoom(100);
        doc.recordsForSetUp().appendPicture("/p/a.bmp", grey(40, 30));
        QMimeData mime;
        mime.setData(StripMimeType(), "0");
        arrange.canvas().dropPicture(arrange.strip().StripBox, &mime, 790, 1050); // 8 x 11 inch page
        const Placement p = doc.records().Placements.at(0);
        QVERIFY(p.Left > 0 && p.Left + p.Width <= 8.0 + 1e-9);
        QVERIFY(p.Top > 0 && p.Top + p.Height <= 11.0 + 1e-9);

        PrintPage print(doc, services);
        services.printer().setFixedPage(6600, 4800, 600, 600); // landscape
        const QString file = dir.filePath("off.pdf");
        DialogRecorder rec(Dialogs::IdCancel);
        rec.handler.print = [&file](QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(file);
            return true;
        };
        rec.install();
        print.printPages();
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QVERIFY(rec.messages[0].text.contains(QStringLiteral("a.bmp (page 1)")));
        QVERIFY(!QFile::exists(file));
    }

    // The size and position dialog moves a placement to another page, which is then shown.
    void sizeAndPositionMovesToAnotherPage()
    {
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(4800, 6600, 600, 600);
        ArrangePage page(doc, services);
        const int id = doc.recordsForSetUp().appendPicture("/p/a.bmp", grey(40, 30));
        *doc.recordsForSetUp().Placements.Append() = Placement{1, 1, 2, 1.5, 1, id, 0, {}, {}};
        doc.setPageCount(3);
        doc.selectPlacement(0);
        DialogRecorder rec;
        rec.handler.exec = [](QDialog *dialog) {
            static_cast<SizePositionDialog *>(dialog)->PageEd->setValue(3);
            return int(QDialog::Accepted);
        };
        rec.install();
        page.editSizeAndPosition();
        QCOMPARE(doc.records().Placements.at(0).Page, 3);
        QCOMPARE(doc.currentPage(), 3);
        QCOMPARE(doc.records().SelectedPlacement, 0);
        doc.undoStack()->undo();
        QCOMPARE(doc.records().Placements.at(0).Page, 1);
    }

    void printPagePrintsToAPdf()
    {
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(4800, 6600, 600, 600);
        PrintPage page(doc, services);
        const int id = doc.recordsForSetUp().appendPicture("/p/a.bmp", grey(40, 30));
        *doc.recordsForSetUp().Placements.Append() = Placement{1, 1, 2, 1.5, 2, id, 0, {}, {}};
        doc.setPageCount(2);
        const QString file = dir.filePath("pages.pdf");
        DialogRecorder rec;
        rec.handler.print = [&file](QPrinter *p) {
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(file);
            return true;
        };
        rec.install();
        page.printPages();
        QVERIFY(rec.messages.empty());
        QCOMPARE(PdfPageCount(file), 2);
        QVERIFY(services.Status.contains(file));
    }

    // Cut marks belong to the arrangement: switching them is an undo step,
    // the file keeps them, and a new arrangement starts with the last choice.
    void cutMarksAreTheArrangements()
    {
        ArrangementDocument doc;
        TestServices services;
        PrintPage page(doc, services);
        page.setCutMarks(true);
        QVERIFY(doc.options().CutMarks);
        QCOMPARE(doc.undoStack()->count(), 1);
        doc.undoStack()->undo();
        QVERIFY(!doc.options().CutMarks);
        doc.undoStack()->redo();
        const QString file = dir.filePath("marks.sga");
        QVERIFY(doc.save(file));
        ArrangementDocument reopened;
        QCOMPARE(reopened.open(file, PageGeometry{}).Status, ArrangementDocument::OpenStatus::Opened);
        QVERIFY(reopened.options().CutMarks);

        ArrangementDocument fresh;
        PrintPage other(fresh, services);
        other.loadSettings();
        QVERIFY(fresh.options().CutMarks);
        QVERIFY(!fresh.isModified());
        page.setCutMarks(false); // the kept choice as it was
        other.loadSettings();
        QVERIFY(!fresh.options().CutMarks);
    }

    void collectionPageAddsAPictureOfTheFolder()
    {
        const QString folder = dir.filePath("pictures");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writePicture(folder + "/one.png", 12, 8));
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(4800, 6600, 600, 600);
        CollectionPage page(doc, services);
        QVERIFY(page.folders().setFolderPath(folder));
        page.addBrowserPicture(QStringLiteral("one.png"));
        QCOMPARE(doc.records().PictureCount(), 1);
        QCOMPARE(page.listedNames(), QStringList({QStringLiteral("one.png")}));
    }

    // The preview's decode reports its progress to the window, ending at 0.
    void collectionPreviewReportsProgress()
    {
        const QString file = dir.filePath("tall.png");
        QVERIFY(writePicture(file, 50, 300));
        ArrangementDocument doc;
        TestServices services;
        std::vector<int> seen;
        services.ProgressHook = [&seen](int percent) { seen.push_back(percent); };
        CollectionPage page(doc, services);
        page.openForPreview(file);
        QVERIFY(seen.size() > 2);
        QVERIFY(std::find(seen.begin(), seen.end(), 100) != seen.end());
        QCOMPARE(seen.back(), 0);
    }

    void sortPageMovesAPictureDown()
    {
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(4800, 6600, 600, 600);
        SortPage page(doc, services);
        doc.recordsForSetUp().appendPicture("/p/a.bmp", grey(2, 2));
        doc.recordsForSetUp().appendPicture("/p/b.bmp", grey(2, 2));
        page.listPictures();
        page.setCurrentPicture(0);
        page.moveDown();
        QCOMPARE(page.listedNames().front(), QStringLiteral("b.bmp"));
        QCOMPARE(page.currentPicture(), 1);
        QCOMPARE(doc.undoStack()->count(), 1);
    }

    // The "Sheets" menu holds every sheet maker of the table; each entry asks
    // through its dialog on the page's parent, and Cancel changes nothing.
    void sheetsMenuRunsEveryMaker_data()
    {
        QTest::addColumn<QString>("id");
        for (const SheetMaker &maker : SheetMakers())
            QTest::newRow(maker.Id) << QString::fromLatin1(maker.Id);
    }
    void sheetsMenuRunsEveryMaker()
    {
        QFETCH(QString, id);
        ArrangementDocument doc;
        doc.recordsForSetUp().appendPicture("/p/a.bmp", grey(40, 30));
        TestServices services;
        ArrangePage page(doc, services);
        auto *entry = page.findChild<QAction *>(id);
        QVERIFY(entry);
        QCOMPARE(entry->text(), QCoreApplication::translate("SheetMakers", FindSheetMaker(id)->Text));
        DialogRecorder rec;
        QWidget *parent = nullptr;
        rec.handler.exec = [&](QDialog *dialog) {
            parent = dialog->parentWidget();
            return int(QDialog::Rejected);
        };
        rec.install();
        entry->trigger();
        QCOMPARE(parent, services.dialogParent());
        QCOMPARE(doc.undoStack()->count(), 0);
        QCOMPARE(doc.records().Placements.size(), 0);
    }
};
SGA_TEST(TestPages)

#include "tst_pages.moc"
