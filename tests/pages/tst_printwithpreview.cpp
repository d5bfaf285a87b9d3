// A print job while the print preview keeps painting: the job's thread and the
// interface thread share no printer object. Run under ThreadSanitizer by CI.
#include "common/TestRegistry.h"
#include "common/TestServices.h"
#include "common/TestSupport.h"
#include "pages/PrintPage.h"
#include "platform/Printer.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstring>

class TestPrintWithPreview : public QObject {
    Q_OBJECT
private slots:
    void printWhileThePreviewPaints_data()
    {
        QTest::addColumn<bool>("toFile");
        QTest::newRow("to a PDF file") << true;
        QTest::newRow("through Qt's engine") << false;
    }
    void printWhileThePreviewPaints()
    {
        QFETCH(bool, toFile);
        ArrangementDocument doc;
        TestServices services;
        services.printer().setFixedPage(1800, 2400, 300, 300);
        services.printer().setImageOutput(!toFile);
        DIB grey;
        QVERIFY(newdib(&grey, 900, 600, 24, nullptr, 0));
        std::memset(grey.Bits, 120, grey.Info->biSizeImage);
        const int id = doc.recordsForSetUp().appendPicture(QStringLiteral("/p/grey.bmp"), grey);
        for (int page = 1; page <= 3; ++page)
            *doc.recordsForSetUp().Placements.Append() = Placement { 0.5, 0.5, 4, 3, page, id, 0, {}, {} };
        doc.setPageCount(3);
        PrintPage page(doc, services);
        page.resize(800, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        // The preview is painted throughout the job and after every page.
        int repaints = 0;
        const auto repaint = [&] {
            page.repaintPreview();
            ++repaints;
        };
        QTimer often;
        often.setInterval(1);
        connect(&often, &QTimer::timeout, &page, repaint);
        services.ProgressHook = [&](int) { repaint(); };
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("job.pdf"));
        DialogRecorder rec;
        rec.handler.print = [&](QPrinter* p) {
            if (toFile) {
                p->setOutputFormat(QPrinter::PdfFormat);
                p->setOutputFileName(file);
            }
            often.start();
            return true;
        };
        rec.install();
        page.printPages();
        often.stop();
        QVERIFY(rec.messages.empty());
        QVERIFY(repaints > 0);
        QVERIFY(!services.printer().Printing());
        QCOMPARE(toFile ? PdfPageCount(file) : int(services.printer().pageImages().size()), 3);
    }
};

SGA_TEST(TestPrintWithPreview)
#include "tst_printwithpreview.moc"
