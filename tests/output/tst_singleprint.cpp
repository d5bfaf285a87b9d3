#include "common/WindowParts.h"
#include "platform/Settings.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "output/SinglePrintDialog.h"
#include "picture/DecodeBatch.h"
#include "output/PrintGeometry.h"
#include "platform/DeviceContext.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr QRgb Red = 0xFFFF0000u;
constexpr QRgb White = 0xFFFFFFFFu;

DIB filledPicture(int w, int h, QRgb colour)
{
    DIB d;
    newdib(&d, w, h, 24, nullptr, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(d, x, y, RGB(qRed(colour), qGreen(colour), qBlue(colour)));
    return d;
}

PrintSizeChoice full(bool aspect, bool centred)
{
    PrintSizeChoice c;
    c.UseFull = true;
    c.KeepAspect = aspect;
    c.Centered = centred;
    return c;
}

PrintSizeChoice userdef(int width, int height, bool centred)
{
    PrintSizeChoice c;
    c.UseFull = false;
    c.Centered = centred;
    c.WidthPercent = width;
    c.HeightPercent = height;
    return c;
}

// The exec handler of a recorder: lets `drive` change the dialog, then answers.
void answerPrintForm(DialogRecorder &dialogs, int result, std::function<void(SinglePrintDialog &)> drive = {})
{
    dialogs.handler.exec = [&dialogs, result, drive](QDialog *d) {
        ++dialogs.execCount;
        auto *form = qobject_cast<SinglePrintDialog *>(d);
        if (form && drive)
            drive(*form);
        return result;
    };
    dialogs.install();
}

} // namespace

Q_DECLARE_METATYPE(PrintSizeChoice)

class TstSinglePrint : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir tmp;
    std::unique_ptr<TPrinter> Device; // each test's own printer, with a fixed page

    // Prints through the printer object into a PDF; the path, or empty when
    // nothing was written.
    QString pdfPath() const { return tmp.filePath(QStringLiteral("out.pdf")); }
    void printToPdf(TPrinter &printer)
    {
        QFile::remove(pdfPath());
        printer.qprinter()->setOutputFormat(QPrinter::PdfFormat);
        printer.qprinter()->setOutputFileName(pdfPath());
    }

private slots:
    void initTestCase() { QVERIFY(tmp.isValid()); }
    void init()
    {
        Device = std::make_unique<TPrinter>();
        Device->setFixedPage(4800, 6600, 600, 600);
        SavePrintFormSettings(PrintFormSettings());
    }

    void printedRect_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<PrintSizeChoice>("choice");
        QTest::addColumn<QRect>("expected");
        const QSize portrait(4800, 6600), landscape(6600, 4800);
        QTest::newRow("wide picture fills portrait width, centred") << QSize(400, 300) << portrait
                                                                    << full(true, true) << QRect(0, 1500, 4800, 3600);
        QTest::newRow("wide picture at the top-left") << QSize(400, 300) << portrait << full(true, false)
                                                      << QRect(0, 0, 4800, 3600);
        QTest::newRow("tall picture fills portrait height") << QSize(100, 1000) << portrait << full(true, true)
                                                            << QRect(2070, 0, 660, 6600);
        QTest::newRow("tall picture fills landscape height") << QSize(300, 400) << landscape << full(true, true)
                                                             << QRect(1500, 0, 3600, 4800);
        QTest::newRow("aspect off stretches over the page") << QSize(400, 300) << portrait << full(false, true)
                                                            << QRect(0, 0, 4800, 6600);
        QTest::newRow("user-defined 50 x 27 per cent") << QSize(400, 300) << portrait << userdef(50, 27, true)
                                                       << QRect(1200, 2409, 2400, 1782);
        QTest::newRow("user-defined not centred") << QSize(400, 300) << portrait << userdef(50, 27, false)
                                                  << QRect(0, 0, 2400, 1782);
        QTest::newRow("user-defined halves round to even") << QSize(10, 10) << QSize(4810, 4830)
                                                           << userdef(25, 25, false) << QRect(0, 0, 1202, 1208);
        QTest::newRow("odd remainder centres toward the top-left") << QSize(10, 10) << QSize(101, 101)
                                                                   << userdef(50, 50, true) << QRect(25, 25, 50, 50);
        QTest::newRow("products beyond 32 bits") << QSize(60000, 45000) << QSize(48000, 66000) << full(true, true)
                                                 << QRect(0, 15000, 48000, 36000);
        QTest::newRow("empty picture prints nothing") << QSize(0, 300) << portrait << full(true, true) << QRect();
        QTest::newRow("empty page prints nothing") << QSize(400, 300) << QSize(0, 0) << full(true, true) << QRect();
    }
    void printedRect()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, page);
        QFETCH(PrintSizeChoice, choice);
        QFETCH(QRect, expected);
        QCOMPARE(PrintedPictureRect(picture, page, choice), expected);
    }

    void previewLayout_data()
    {
        QTest::addColumn<QSize>("page");
        QTest::addColumn<PrintSizeChoice>("choice");
        QTest::addColumn<QRect>("paper");
        QTest::addColumn<QRect>("picture");
        // A 400 x 300 picture in a 200 x 200 box.
        QTest::newRow("portrait paper takes the full height") << QSize(4800, 6600) << full(true, true)
                                                              << QRect(27, 0, 145, 200) << QRect(27, 46, 145, 108);
        QTest::newRow("landscape paper takes the full width") << QSize(6600, 4800) << full(true, true)
                                                              << QRect(0, 27, 200, 145) << QRect(3, 27, 193, 145);
        QTest::newRow("stretched, not centred") << QSize(4800, 6600) << full(false, false) << QRect(27, 0, 145, 200)
                                                << QRect(27, 0, 145, 200);
        QTest::newRow("user-defined rounds half to even") << QSize(4800, 6600) << userdef(50, 27, false)
                                                          << QRect(27, 0, 145, 200) << QRect(27, 0, 72, 54);
        QTest::newRow("no paper, nothing drawn") << QSize(4800, 0) << full(true, true) << QRect() << QRect();
    }
    void previewLayout()
    {
        QFETCH(QSize, page);
        QFETCH(PrintSizeChoice, choice);
        QFETCH(QRect, paper);
        QFETCH(QRect, picture);
        const PrintPreviewRects r = PrintPreviewLayout(QSize(200, 200), QSize(400, 300), page, choice);
        QCOMPARE(r.Page, paper);
        QCOMPARE(r.Picture, picture);
    }

    // Typing into one percentage sets the other once; the echo does not come back.
    void coupling_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("aspect");
        QTest::addColumn<bool>("typeWidth");
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("width 50 gives height 27") << QSize(400, 300) << true << true << 50 << 50 << 27;
        QTest::newRow("height 50 gives width 91") << QSize(400, 300) << true << false << 50 << 91 << 50;
        QTest::newRow("coupled height limited to 100") << QSize(100, 1000) << true << true << 50 << 50 << 100;
        QTest::newRow("coupled width limited to 100") << QSize(400, 300) << true << false << 80 << 100 << 80;
        QTest::newRow("coupled height limited to 1") << QSize(10000, 10) << true << true << 2 << 2 << 1;
        QTest::newRow("aspect off leaves the other") << QSize(400, 300) << false << true << 70 << 70 << 60;
    }
    void coupling()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, aspect);
        QFETCH(bool, typeWidth);
        QFETCH(int, typed);
        QFETCH(int, width);
        QFETCH(int, height);
        const DIB dib = filledPicture(picture.width(), picture.height(), Red);
        SinglePrintDialog form(dib, *Device);
        form.setChoice(userdef(60, 60, true));
        form.KeepAspectCheck->setChecked(aspect);
        (typeWidth ? form.WidthEd : form.HeightEd)->setValue(typed);
        QCOMPARE(form.WidthEd->value(), width);
        QCOMPARE(form.HeightEd->value(), height);
        QVERIFY(!form.Coupling);
    }

    void couplingFollowsOptionsAndPaper()
    {
        const DIB dib = filledPicture(400, 300, Red);
        SinglePrintDialog form(dib, *Device);
        form.setChoice(userdef(50, 50, true));
        form.KeepAspectCheck->setChecked(false);
        form.KeepAspectCheck->click(); // on again: the height follows the width
        QCOMPARE(form.HeightEd->value(), 27);

        // A landscape sheet from the printer setup makes the height follow anew.
        DialogRecorder dialogs;
        dialogs.handler.pageSetup = [this](QPrinter *) {
            Device->setFixedPage(6600, 4800, 600, 600);
            return true;
        };
        dialogs.install();
        form.PrintSetupBtn->click();
        QCOMPARE(form.WidthEd->value(), 50);
        QCOMPARE(form.HeightEd->value(), 51); // 300 * 50 / 400 * 6600 / 4800 = 51.6
    }

    // Stored values are shown as stored: coupling them one by one while they
    // are restored would shrink them a little on every run.
    void restoredValuesDoNotCreep()
    {
        const DIB dib = filledPicture(400, 300, Red);
        for (int run = 0; run < 3; ++run) {
            SinglePrintDialog form(dib, *Device);
            form.setChoice(userdef(50, 27, true));
            form.showChoice();
            QCOMPARE(form.WidthEd->value(), 50);
            QCOMPARE(form.HeightEd->value(), 27);
            QVERIFY(form.OwnSizeRadio->isChecked());
        }
    }

    // The dialog's choice decides where the picture lands on the printed page.
    void printedPageShowsThePicture_data()
    {
        QTest::addColumn<PrintSizeChoice>("choice");
        QTest::addColumn<QRect>("expected");
        // A 40 x 30 picture on a 480 x 660 printable area.
        QTest::newRow("full page, aspect, centred") << full(true, true) << QRect(0, 150, 480, 360);
        QTest::newRow("user-defined at the corner") << userdef(50, 27, false) << QRect(0, 0, 240, 178);
        QTest::newRow("user-defined centred") << userdef(50, 27, true) << QRect(120, 241, 240, 178);
    }
    void printedPageShowsThePicture()
    {
        QFETCH(PrintSizeChoice, choice);
        QFETCH(QRect, expected);
        Device->setFixedPage(480, 660, 60, 60);
        Device->setImageOutput(true);
        DialogRecorder dialogs;
        answerPrintForm(dialogs, QDialog::Accepted, [choice](SinglePrintDialog &f) { f.setChoice(choice); });
        const DIB dib = filledPicture(40, 30, Red);
        QVERIFY(PrintSinglePicture(nullptr, *Device, dib, QStringLiteral("Probe")));
        QCOMPARE(Device->pageImages().size(), std::size_t(1));
        const QImage page = Device->pageImages()[0];
        Device->setImageOutput(false);
        QCOMPARE(page.size(), QSize(480, 660));
        const QRect r = expected;
        for (const QPoint &in : {r.topLeft(), r.bottomRight(), r.center()})
            QCOMPARE(page.pixel(in), Red);
        for (const QPoint &out : {r.topLeft() - QPoint(0, 1), r.topLeft() - QPoint(1, 0),
                                  r.bottomRight() + QPoint(0, 1), r.bottomRight() + QPoint(1, 0)})
            if (page.rect().contains(out))
                QCOMPARE(page.pixel(out), White);
    }

    void previewPaintsPaperAndPicture()
    {
        const DIB dib = filledPicture(400, 300, Red);
        SinglePrintDialog form(dib, *Device);
        form.showChoice();
        QImage box(200, 200, QImage::Format_RGB32);
        box.fill(Qt::black);
        {
            TDC dc(&box);
            form.paintPreview(dc, box.size());
        }
        // Portrait paper (27, 0, 145, 200) with the picture (27, 46, 145, 108).
        QCOMPARE(box.pixel(26, 100), qRgb(0, 0, 0));
        QCOMPARE(box.pixel(27, 45), White);
        QCOMPARE(box.pixel(27, 46), Red);
        QCOMPARE(box.pixel(171, 153), Red);
        QCOMPARE(box.pixel(171, 154), White);
        QCOMPARE(box.pixel(172, 100), qRgb(0, 0, 0));
    }

    void okPrintsToPdfAndCancelPrintsNothing()
    {
        const DIB dib = filledPicture(400, 300, Red);
        DialogRecorder dialogs;
        PrintSizeChoice seen;
        answerPrintForm(dialogs, QDialog::Rejected, [&](SinglePrintDialog &f) {
            seen = f.choice();
            f.CentredCheck->setChecked(false);
        });
        printToPdf(*Device);
        QVERIFY(!PrintSinglePicture(nullptr, *Device, dib, QStringLiteral("Cancelled job")));
        QCOMPARE(dialogs.execCount, 1);
        QVERIFY(!QFile::exists(pdfPath()));
        // The dialog ran its show handling before it was shown.
        QCOMPARE(seen.HeightPercent, 27);
        // Closing keeps the choices for the next run, Cancel as well as OK.
        QVERIFY(!LoadPrintFormSettings().Zentr);

        answerPrintForm(dialogs, QDialog::Accepted, [](SinglePrintDialog &f) {
            f.OwnSizeRadio->setChecked(true);
            f.WidthEd->setValue(70);
        });
        printToPdf(*Device);
        QVERIFY(PrintSinglePicture(nullptr, *Device, dib, QStringLiteral("Printed job")));
        QCOMPARE(Device->Title, QStringLiteral("Printed job"));
        QFile pdf(Device->OutputFileName());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));

        answerPrintForm(dialogs, QDialog::Rejected, [&](SinglePrintDialog &f) { seen = f.choice(); });
        PrintSinglePicture(nullptr, *Device, dib, QStringLiteral("Next run"));
        QVERIFY(!seen.UseFull);
        QCOMPARE(seen.WidthPercent, 70);
        QCOMPARE(seen.HeightPercent, 38);
    }

    // Without a printer every picture goes to a new file beside the last PDF,
    // never over it, and the status bar says which.
    void printToFileNeverReplacesTheLastPdf()
    {
        DialogRecorder dialogs;
        TMainForm form;
        const QString file = tmp.filePath(QStringLiteral("c.png"));
        QImage pixels(6, 4, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        QVERIFY(pixels.save(file));
        form.Doc->recordsForSetUp().appendPicture(file, filledPicture(3, 3, Red));
        form.UpdateListBox();
        form.collectionPage().setCurrentPicture(0);
        answerPrintForm(dialogs, QDialog::Accepted);
        form.printer().setFixedPage(4800, 6600, 600, 600);
        printToPdf(form.printer());
        QFile earlier(pdfPath());
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
        earlier.close();
        for (const QString &name : {QStringLiteral("Snapgrid-Edge picture.pdf"),
                                    QStringLiteral("Snapgrid-Edge picture (2).pdf")}) {
            form.PrintBtnClick();
            const QString written = tmp.filePath(name);
            QCOMPARE(form.printer().OutputFileName(), written);
            QCOMPARE(form.statusText(), QStringLiteral("Printed to %1").arg(written));
            QFile pdf(written);
            QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(4) == "%PDF");
        }
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
        QVERIFY(dialogs.messages.empty());
    }

    // "Print..." prints the focused entry as the pages would: the full picture
    // while its file is unchanged; after the file changed or vanished, a
    // warning names it and the screen copy prints.
    void printButtonPrintsTheEntryAsShown_data()
    {
        QTest::addColumn<QString>("fileAfter"); // "kept", "changed" or "gone"
        QTest::newRow("unchanged: the full picture") << "kept";
        QTest::newRow("changed: warned, the screen copy") << "changed";
        QTest::newRow("gone: warned, the screen copy") << "gone";
    }
    void printButtonPrintsTheEntryAsShown()
    {
        QFETCH(QString, fileAfter);
        DialogRecorder dialogs;
        TMainForm form;
        const QString photo = tmp.filePath(QStringLiteral("photo.jpg"));
        QImage pixels(2400, 1600, QImage::Format_RGB32);
        pixels.fill(Qt::blue);
        QVERIFY(pixels.save(photo));
        const int index = form.Doc->addDecodedPicture(photo, DecodeForCollection(photo, 0, DisplayBox()));
        QVERIFY(index == 0 && form.Doc->records().Pictures[0].Reduced);
        const QSize shown(DibWidth(form.Doc->records().Pictures[0].Dib), DibHeight(form.Doc->records().Pictures[0].Dib));
        if (fileAfter == QLatin1String("changed"))
            QVERIFY(pixels.copy(0, 0, 1800, 1200).save(photo));
        else if (fileAfter == QLatin1String("gone"))
            QVERIFY(QFile::remove(photo));
        form.UpdateListBox();
        QSize printed;
        answerPrintForm(dialogs, QDialog::Rejected,
                        [&](SinglePrintDialog &f) { printed = QSize(DibWidth(f.Dib), DibHeight(f.Dib)); });
        form.collectionPage().setCurrentPicture(0);
        form.PrintBtnClick();
        QCOMPARE(dialogs.execCount, 1);
        const bool kept = fileAfter == QLatin1String("kept");
        QCOMPARE(printed, kept ? QSize(2400, 1600) : shown);
        QCOMPARE(dialogs.messages.size(), std::size_t(kept ? 0 : 1));
        if (!kept)
            QVERIFY(dialogs.messages[0].text.contains(photo));
        QFile::remove(photo);
    }
};

SGA_TEST(TstSinglePrint)
#include "tst_singleprint.moc"
