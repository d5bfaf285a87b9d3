#include "common/WindowParts.h"
#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "output/Exporters.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {
DIB solidPicture(COLORREF colour)
{
    DIB d;
    newdib(&d, 8, 8, 24, nullptr, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            setpixel(d, x, y, colour);
    return d;
}

void place(TMainForm &form, int pictureId, int page, double left, double top)
{
    Placement *p = form.Doc->recordsForSetUp().Placements.Append();
    *p = Placement{};
    p->Left = left;
    p->Top = top;
    p->Width = 2;
    p->Height = 2;
    p->Page = page;
    p->PictureId = pictureId;
}

// Page 1: red two-inch square at (1, 1); page 2: blue at (4, 6); on an
// 8 x 11 inch printable area.
std::unique_ptr<TMainForm> twoPageForm()
{
    auto form = std::make_unique<TMainForm>();
    form->ScreenDpiOverride = 96;
    form->printer().setFixedPage(4800, 6600, 600, 600);
    const int red = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("red.png"), solidPicture(RGB(255, 0, 0)));
    const int blue = form->Doc->recordsForSetUp().appendPicture(QStringLiteral("blue.png"), solidPicture(RGB(0, 0, 255)));
    place(*form, red, 1, 1, 1);
    place(*form, blue, 2, 4, 6);
    form->arrangePage().setPageCount(2);
    form->arrangePage().options().EnhanceQualCheck->setChecked(false);
    return form;
}

// Writes fail with EFBIG past `bytes` while it lives, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
};

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
           std::abs(qBlue(a) - qBlue(b)) < 40;
}
} // namespace

class TstPageExport : public QObject
{
    Q_OBJECT
private slots:

    void numberedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("last");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("one page keeps the name") << "/o/trip.png" << 1 << QStringList{"/o/trip.png"};
        QTest::newRow("two digits") << "/o/trip.png" << 3
                                    << QStringList{"/o/trip-01.png", "/o/trip-02.png", "/o/trip-03.png"};
        QTest::newRow("dot in a folder only") << "/o.d/trip" << 2 << QStringList{"/o.d/trip-01", "/o.d/trip-02"};
        QTest::newRow("three digits past 99") << "/o/a.tif" << 100 << QStringList{"/o/a-001.tif"};
    }
    void numberedNames()
    {
        QFETCH(QString, name);
        QFETCH(int, last);
        QFETCH(QStringList, names);
        const QStringList got = ExportFileNames(name, PageSpan(1, last));
        QCOMPARE(got.size(), qsizetype(last));
        QCOMPARE(got.mid(0, names.size()), names);
    }

    // One PDF of all pages, drawn by the printing rule: the page count and the
    // pictures' positions as a PDF reader renders them.
    void pdfOfAllPages()
    {
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdfinfo.isEmpty() || pdftoppm.isEmpty())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("all.pdf"));
        DialogRecorder rec;
        rec.handler.saveFile = [&file](const QString &) { return file; };
        rec.install();
        auto form = twoPageForm();
        form->SaveBitBtnClick();
        QVERIFY(rec.messages.empty()); // a PDF always takes every page: no question

        QProcess info;
        info.start(pdfinfo, {file});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(info.readAllStandardOutput().contains("Pages:           2"));
        QProcess ppm;
        ppm.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("10"), QStringLiteral("-png"), file,
                             dir.filePath(QStringLiteral("page"))});
        QVERIFY(ppm.waitForFinished(60000));
        const QImage one(dir.filePath(QStringLiteral("page-1.png")));
        const QImage two(dir.filePath(QStringLiteral("page-2.png")));
        QCOMPARE(one.size(), QSize(80, 110));
        QVERIFY(near(one.pixel(20, 20), qRgb(255, 0, 0)));
        QVERIFY(near(one.pixel(50, 70), qRgb(255, 255, 255)));
        QVERIFY(near(two.pixel(20, 20), qRgb(255, 255, 255)));
        QVERIFY(near(two.pixel(50, 70), qRgb(0, 0, 255)));
    }

    // Pictures of every page: numbered, the resolution stored, an existing
    // numbered file kept unless the question is answered Yes.
    // An export is written like a save: on a full disk the earlier file stays
    // whole and nothing half-written is left; a PNG page is compressed.
    void exportIsWrittenLikeASave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << "page.png";
        QTest::newRow("pdf") << "page.pdf";
    }
    void exportIsWrittenLikeASave()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
        earlier.close();
        DialogRecorder rec(Dialogs::IdNo); // the current page only
        auto form = twoPageForm();
        ExportRequest job;
        job.Pages = {1};
        job.FileName = file;
        job.Format = ExportFormatForFileName(file);
        job.Dpi = 150;
        const PrintSetup setup = BarePageSetup(4800, 6600, 600, 600);
        const auto run = [&] {
            return FileExporter(job.Format)->run(form->Doc->records(), form->Doc->options(), setup, job).Result;
        };
        {
            const FileSizeLimit full(256);
            QCOMPARE(run(), ExportResult::WriteFailed);
        }
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
        earlier.close();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});

        QCOMPARE(run(), ExportResult::Done);
        // 1200 x 1650 pixels, 5.9 MB raw, nearly all white.
        QVERIFY2(QFileInfo(file).size() < 500 * 1024, qPrintable(QString::number(QFileInfo(file).size())));
    }

    void picturesOfAllPages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("overwrite"); // answer to the replace question; 0 = no file there before
        QTest::addColumn<bool>("written");
        QTest::newRow("tiff") << "p.tif" << 0 << true;
        QTest::newRow("png, existing replaced") << "p.png" << int(Dialogs::IdYes) << true;
        QTest::newRow("jpeg, existing kept") << "p.jpg" << int(Dialogs::IdNo) << false;
    }
    void picturesOfAllPages()
    {
        QFETCH(QString, name);
        QFETCH(int, overwrite);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        const QStringList targets = ExportFileNames(file, {1, 2});
        if (overwrite) {
            QFile old(targets[1]);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        }
        int questions = 0;
        DialogRecorder rec;
        rec.handler.saveFile = [&file](const QString &) { return file; };
        rec.handler.message = [&](const Dialogs::MessageRecord &m) {
            ++questions;
            return m.buttons == Dialogs::YesNoCancel ? int(Dialogs::IdYes) : overwrite;
        };
        rec.install();
        auto form = twoPageForm();
        form->printPage().setImageDpi(20);
        form->SaveBitBtnClick();
        QCOMPARE(questions, overwrite ? 2 : 1);
        QCOMPARE(QFile::exists(targets[0]), written);
        const QImage second(targets[1]);
        QCOMPARE(!second.isNull(), written);
        if (!written)
            return;
        QCOMPARE(second.size(), QSize(160, 220));
        QVERIFY(near(second.pixel(100, 140), qRgb(0, 0, 255)));
        QCOMPARE(qRound(second.dotsPerMeterX() * 0.0254), 20);
    }
};

SGA_TEST(TstPageExport)
#include "tst_pageexport.moc"
