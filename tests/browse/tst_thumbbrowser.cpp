#include "browse/SharedThumbnails.h"
#include "browse/ThumbnailBrowser.h"
#include "browse/ThumbBrowser.h"
#include "common/FileListSupport.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/DeviceContext.h"
#include "platform/PaintBox.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QScreen>
#include <QSet>
#include <QThreadPool>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {
void addPicture(ThumbList& list, int w, int h, const QString& name = "p.png", ThumbInfo info = {})
{
    DIB dib;
    newdib(&dib, w, h, 24, nullptr, 0);
    std::memset(dib.Bits, 0, dib.Info->biSizeImage); // black
    list.append(dib, name, info);
}

// A form browsing `folder` on the "Picture browser" page; the walk of the
// start folder it began at creation gets no step before the switch.
void browse(TMainForm& form, const QString& folder)
{
    form.collectionPage().showFileList(false);
    QVERIFY(form.collectionPage().folders().setFolderPath(folder));
}

// Runs the event loop one pass at a time until the walk made its first
// thumbnail, so that it is caught midway however fast the machine is.
bool firstThumbnail(const TMainForm& form)
{
    QDeadlineTimer deadline(20000);
    while (form.collectionPage().grid().Thumbs().count() == 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::yieldCurrentThread();
    }
    return form.collectionPage().grid().Thumbs().count() > 0;
}

// A folder of enough pictures that the pool cannot make them all while the
// interface thread takes the first: the walks below are caught midway.
constexpr int BusyFiles = 40;
bool writeBusyFolder(const QString& folder)
{
    for (int i = 0; i < BusyFiles; ++i)
        if (!writePicture(folder + QString("/p%1.png").arg(i), 800, 600))
            return false;
    return true;
}

QStringList thumbNames(const TMainForm& form)
{
    QStringList names;
    for (int i = 0; i < form.collectionPage().grid().Thumbs().count(); ++i)
        names.append(form.collectionPage().grid().Thumbs().at(i).Name);
    names.sort();
    return names;
}
} // namespace

class TestThumbBrowser : public QObject {
    Q_OBJECT
private slots:
    void gridLayout_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("height");
        QTest::newRow("12 in 4 columns: one empty row") << 360 << 12 << 4 << 440;
        QTest::newRow("13 in 4 columns") << 379 << 13 << 4 << 440;
        QTest::newRow("narrower than a cell: one column") << 60 << 3 << 1 << 440;
        QTest::newRow("empty") << 500 << 0 << 5 << 110;
    }
    void gridLayout()
    {
        QFETCH(int, width);
        QFETCH(int, count);
        QFETCH(int, columns);
        QFETCH(int, height);
        QCOMPARE(ThumbColumns(width), columns);
        QCOMPARE(ThumbGridHeight(count, columns), height);
    }

    void displaySize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("thumb");
        QTest::newRow("4000x1000 wide") << QSize(4000, 1000) << QSize(80, 20);
        QTest::newRow("1000x4000 tall") << QSize(1000, 4000) << QSize(20, 80);
        QTest::newRow("80x60 as it is") << QSize(80, 60) << QSize(80, 60);
        QTest::newRow("45x80 as it is") << QSize(45, 80) << QSize(45, 80);
        QTest::newRow("3x2 grows, truncated") << QSize(3, 2) << QSize(80, 53);
    }
    void displaySize()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, thumb);
        QCOMPARE(ThumbDisplaySize(picture.width(), picture.height()), thumb);
    }

    void hitTest_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("index");
        // Cell 6 of 4 columns has its origin at (90, 110).
        QTest::newRow("x0+1 is a gap") << QPoint(91, 150) << 0;
        QTest::newRow("y0+109 is a gap") << QPoint(130, 219) << 0;
        QTest::newRow("x0+88 is inside") << QPoint(178, 150) << 6;
        QTest::newRow("x0+2, y0+2 corner") << QPoint(92, 112) << 6;
        QTest::newRow("beyond the count") << QPoint(92, 222) << 0;
    }
    void hitTest()
    {
        QFETCH(QPoint, point);
        QFETCH(int, index);
        QCOMPARE(ThumbHitTest(point, 7, 4), index);
    }

    void keyMove_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("selection");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("result");
        QTest::newRow("down by one with one column") << int(Qt::Key_Down) << 2 << 1 << 3;
        QTest::newRow("up by one with one column") << int(Qt::Key_Up) << 2 << 1 << 1;
        QTest::newRow("down by a row") << int(Qt::Key_Down) << 2 << 4 << 6;
        QTest::newRow("down past the count stays") << int(Qt::Key_Down) << 4 << 4 << 4;
        QTest::newRow("up from the first row stays") << int(Qt::Key_Up) << 3 << 4 << 3;
        QTest::newRow("left on the first stays") << int(Qt::Key_Left) << 1 << 4 << 1;
        QTest::newRow("right on the last stays") << int(Qt::Key_Right) << 7 << 4 << 7;
        QTest::newRow("other keys do nothing") << int(Qt::Key_A) << 3 << 4 << 3;
        QTest::newRow("left from beyond the count comes back") << int(Qt::Key_Left) << 9 << 4 << 8;
        QTest::newRow("up from beyond the count comes back") << int(Qt::Key_Up) << 11 << 4 << 7;
        QTest::newRow("right beyond the count stays") << int(Qt::Key_Right) << 9 << 4 << 9;
    }
    void keyMove()
    {
        QFETCH(int, key);
        QFETCH(int, selection);
        QFETCH(int, columns);
        QFETCH(int, result);
        QCOMPARE(ThumbKeyMove(key, selection, 7, columns), result);
    }

    void scrollIntoView_data()
    {
        QTest::addColumn<int>("selection");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("result");
        // 2 columns, 200 pixels visible; selection 5 is in row 2 (frame 222..328).
        QTest::newRow("above: top at frame top") << 5 << 300 << 222;
        QTest::newRow("below: bottom at frame bottom") << 5 << 0 << 128;
        QTest::newRow("visible: unchanged") << 5 << 150 << 150;
        QTest::newRow("first while scrolled") << 1 << 50 << 2;
    }
    void scrollIntoView()
    {
        QFETCH(int, selection);
        QFETCH(int, position);
        QFETCH(int, result);
        QCOMPARE(ThumbScrollPosition(selection, 2, position, 200), result);
    }

    void statusText()
    {
        ThumbList list;
        for (int i = 1; i <= 12; ++i)
            addPicture(list, 80, 60, "x", ThumbInfo { 24, 80, 60, 1024, 768, 16777216, 1024 * 768 * 3 >> 10, 0 });
        QCOMPARE(ThumbStatusText(list, 3), QString("Thumbnail: 1024 x 768 x 16777216 - 2304 KByte    (3 of 12)"));
        QCOMPARE(ThumbStatusText(list, 13), QString("Picture: none"));
    }

    // Cells drawn at their place: pictures centred in the box, strips in the
    // fill colour, the frame light at the top and dark at the bottom.
    void paintCells()
    {
        ThumbList list;
        addPicture(list, 80, 60);
        addPicture(list, 45, 80);
        QImage image(400, 220, QImage::Format_RGB32);
        image.fill(Qt::green);
        {
            TDC dc(&image);
            PaintThumbGrid(dc, list, 2, 0, 4, image.rect());
        }
        const QRgb black = qRgb(0, 0, 0), silver = qRgb(192, 192, 192), blue = qRgb(0, 0, 255);
        // 80x60 at (5, 15) in cell 1
        QCOMPARE(image.pixel(5, 15), black);
        QCOMPARE(image.pixel(84, 74), black);
        QCOMPARE(image.pixel(5, 14), silver);
        QCOMPARE(image.pixel(5, 75), silver);
        // 45x80 at (90+22, 5) in the selected cell 2
        QCOMPARE(image.pixel(112, 5), black);
        QCOMPARE(image.pixel(156, 84), black);
        QCOMPARE(image.pixel(111, 5), blue);
        QCOMPARE(image.pixel(157, 84), blue);
        // frame and gaps
        QCOMPARE(image.pixel(40, 2), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(40, 108), qRgb(128, 128, 128));
        QCOMPARE(image.pixel(88, 50), qRgb(128, 128, 128));
        QCOMPARE(image.pixel(1, 50), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(200, 50), qRgb(0, 255, 0)); // no third cell

        // Painting from index 2 leaves cell 1 alone.
        image.fill(Qt::green);
        {
            TDC dc(&image);
            PaintThumbGrid(dc, list, 1, 2, 4, image.rect());
        }
        QCOMPARE(image.pixel(5, 15), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(111, 5), silver);
    }

    void walkMakesThumbnailsOfPictureFiles()
    {
        QTemporaryDir dir;
        QVERIFY(writePicture(dir.path() + "/a.jpg", 4000, 1000));
        QVERIFY(writePicture(dir.path() + "/b.Png", 1000, 4000));
        QVERIFY(writeFile(dir.path() + "/notes.txt", "text"));
        QVERIFY(writePicture(dir.path() + "/c.jpg", 50, 50));
        QVERIFY(QFile::rename(dir.path() + "/c.jpg", dir.path() + "/c.jfif"));
        QVERIFY(writePicture(dir.path() + "/d.bmp", 50, 50));
        QVERIFY(QFile::rename(dir.path() + "/d.bmp", dir.path() + "/d.EMF"));
        QVERIFY(writePicture(dir.path() + "/thin.png", 1, 100));
        QVERIFY(writePicture(dir.path() + "/.hidden.png", 8, 8));

        TMainForm form;
        browse(form, dir.path());
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 3);
        QCOMPARE(thumbNames(form), (QStringList { ".hidden.png", "a.jpg", "b.Png" }));
        for (int i = 0; i < 3; ++i) {
            const ThumbEntry& e = form.collectionPage().grid().Thumbs().at(i);
            const QSize expected = e.Name == "a.jpg" ? QSize(80, 20)
                : e.Name == "b.Png"                  ? QSize(20, 80)
                                                     : QSize(80, 80);
            QCOMPARE(QSize(DibWidth(e.Dib), DibHeight(e.Dib)), expected);
            QCOMPARE(QSize(e.Info.ThumbWidth, e.Info.ThumbHeight), expected);
            QCOMPARE(e.Info.Colours, 1 << e.Info.BitCount);
        }
        QCOMPARE(form.collectionPage().grid().Browser->DecodeCount(), 4); // the thin picture was decoded, then dropped
        QCOMPARE(form.progressPercent(), 0);
        QCOMPARE(LoadBrowseInfos(dir.path()).size(), std::size_t(3));
    }

    void secondWalkTakesTheCache()
    {
        QTemporaryDir dir;
        for (const char* name : { "a.png", "b.png", "c.png" })
            QVERIFY(writePicture(dir.path() + "/" + name, 40, 30, Qt::red));
        TMainForm form;
        browse(form, dir.path());
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 3);
        QCOMPARE(form.collectionPage().grid().Browser->DecodeCount(), 3);

        // Back to the page: a new walk of the same folder, from the cache.
        form.collectionPage().showFileList(true);
        form.collectionPage().showFileList(false);
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 3);
        QCOMPARE(form.collectionPage().grid().Browser->DecodeCount(), 3);

        // A replaced picture of the same name is decoded again.
        QVERIFY(writePicture(dir.path() + "/b.png", 30, 40, Qt::blue));
        form.collectionPage().showFileList(true);
        form.collectionPage().showFileList(false);
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 3);
        QCOMPARE(form.collectionPage().grid().Browser->DecodeCount(), 4);
        for (int i = 0; i < 3; ++i)
            if (form.collectionPage().grid().Thumbs().at(i).Name == "b.png")
                QCOMPARE(DibWidth(form.collectionPage().grid().Thumbs().at(i).Dib), 60);
    }

    void folderChangeDuringWalk()
    {
        QTemporaryDir first, second;
        QVERIFY(writeBusyFolder(first.path()));
        QVERIFY(writePicture(second.path() + "/q.png", 30, 20));
        TMainForm form;
        browse(form, first.path());
        QVERIFY(firstThumbnail(form));
        QVERIFY(form.collectionPage().grid().Thumbs().count() < BusyFiles);

        QVERIFY(form.collectionPage().folders().setFolderPath(second.path()));
        QCOMPARE(form.collectionPage().grid().Thumbs().count(), 0); // emptied at once
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 1);
        QCOMPARE(form.collectionPage().grid().Thumbs().at(0).Name, QString("q.png"));
        QVERIFY(!QFile::exists(first.path() + "/bnsbrwse.cbf")); // its list was emptied
        QCOMPARE(LoadBrowseInfos(second.path()).size(), std::size_t(1));
    }

    void fileListPageStopsAndSaves()
    {
        QTemporaryDir dir;
        QVERIFY(writeBusyFolder(dir.path()));
        TMainForm form;
        browse(form, dir.path());
        QVERIFY(firstThumbnail(form));
        form.collectionPage().showFileList(true);
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running());
        const int made = form.collectionPage().grid().Thumbs().count();
        QVERIFY(made >= 1 && made < BusyFiles);
        QTest::qWait(50); // no restart
        QCOMPARE(form.collectionPage().grid().Thumbs().count(), made);
        QCOMPARE(int(LoadBrowseInfos(dir.path()).size()), made);
    }

    void treeChangeOnFileListStartsAfresh()
    {
        QTemporaryDir first, second;
        QVERIFY(writeBusyFolder(first.path()));
        QVERIFY(writePicture(second.path() + "/q.png", 30, 20));
        TMainForm form;
        form.collectionPage().showFileList(false);
        QVERIFY(form.collectionPage().folders().setFolderPath(first.path()));
        QVERIFY(firstThumbnail(form));
        {
            // The page shows "File list" without stopping the walk.
            const QSignalBlocker quiet(form.collectionPage().findChild<QTabWidget *>(QStringLiteral("SourceTabs")));
            form.collectionPage().showFileList(true);
        }
        QVERIFY(form.collectionPage().folders().setFolderPath(second.path()));
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 1);
        QCOMPARE(form.collectionPage().grid().Thumbs().at(0).Name, QString("q.png"));
        QCOMPARE(LoadBrowseInfos(second.path()).size(), std::size_t(1));
    }

    void selectionAndKeys()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 3; ++i)
            QVERIFY(writePicture(dir.path() + QString("/p%1.png").arg(i), 30, 20));
        DialogRecorder dialogs;
        TMainForm form;
        form.resize(1200, 800);
        browse(form, dir.path());
        QTRY_VERIFY(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 3);
        form.collectionPage().grid().Selection = 5;
        form.collectionPage().grid().ShowThumbStatus();
        QCOMPARE(form.statusText(), QString("Picture: none"));
        QTest::keyClick(form.collectionPage().grid().KeyEdit, Qt::Key_Return);
        QCOMPARE(form.Doc->records().PictureCount(), 0);

        form.collectionPage().grid().Selection = 1;
        QTest::keyClick(form.collectionPage().grid().KeyEdit, Qt::Key_Right);
        QCOMPARE(form.collectionPage().grid().Selection, 2);
        QTest::keyClick(form.collectionPage().grid().KeyEdit, Qt::Key_Return);
        QCOMPARE(form.Doc->records().PictureCount(), 1);
        QTest::keyClick(form.collectionPage().grid().KeyEdit, Qt::Key_X); // taken by KeyEdit, not the window
        QCOMPARE(form.Doc->records().PictureCount(), 1);
    }

    void closingDuringWalkNeverHangs()
    {
        QTemporaryDir dir;
        QVERIFY(writeBusyFolder(dir.path()));
        for (int round = 0; round < 3; ++round) {
            auto form = std::make_unique<TMainForm>();
            browse(*form, dir.path());
            QVERIFY(firstThumbnail(*form));
            QVERIFY(form->collectionPage().grid().Browser->Running());
            form.reset(); // waits for the worker; its next step never runs
        }
        QVERIFY(QFile::exists(dir.path() + "/bnsbrwse.cbf"));
    }

    // However many threads make them, the thumbnails arrive in the listing's
    // order and the list and cache file are those of a one-at-a-time walk.
    void poolWalkMatchesOneAtATime()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 6; ++i)
            QVERIFY(writePicture(dir.path() + QString("/j%1.jpg").arg(i), 900 - 100 * i, 500, QColor(40 * i, 90, 200)));
        QVERIFY(writePicture(dir.path() + "/p.png", 300, 200, Qt::blue));
        QVERIFY(writePicture(dir.path() + "/thin.png", 1, 100));
        QVERIFY(writeFile(dir.path() + "/text.jpg", "no picture"));
        const auto walk = [&dir](int threads, QVector<int>* progress = nullptr) {
            QThreadPool pool;
            pool.setMaxThreadCount(threads);
            ThumbnailBrowser browser(nullptr, &pool);
            browser.SelectedFolder = [&dir] { return dir.path(); };
            if (progress)
                connect(&browser, &ThumbnailBrowser::Progress, [progress](int p) { progress->append(p); });
            browser.StartBrowsing();
            if (!QTest::qWaitFor([&browser] { return !browser.Running(); }, 30000))
                return QByteArray("still running");
            return CacheFileBytes(browser.Thumbs());
        };
        QVector<int> progress;
        const QByteArray sequential = walk(1, &progress);
        QCOMPARE(LoadBrowseInfos(dir.path()).size(), std::size_t(7));
        QCOMPARE(readFile(dir.path() + "/bnsbrwse.cbf"), sequential);
        QVERIFY(progress.contains(0) && progress.last() == 0); // failures reset it, the end too
        QVERIFY(QFile::remove(dir.path() + "/bnsbrwse.cbf"));
        QDir(SharedThumbnailRoot()).removeRecursively(); // both walks decode
        QCOMPARE(walk(4), sequential);
        QCOMPARE(readFile(dir.path() + "/bnsbrwse.cbf"), sequential);
        QCOMPARE(walk(4), sequential); // from the cache file
    }

    // The thumbnails come in name order, numbers compared as numbers.
    void walkListsInNameOrder()
    {
        QTemporaryDir dir;
        for (const char *name : {"IMG_100.png", "IMG_9.png", "a.png", "IMG_10.png"})
            QVERIFY(writePicture(dir.path() + "/" + name, 8, 6));
        ThumbnailBrowser browser(nullptr);
        browser.SelectedFolder = [&dir] { return dir.path(); };
        browser.StartBrowsing();
        QVERIFY(QTest::qWaitFor([&browser] { return !browser.Running(); }, 30000));
        QStringList names;
        for (int i = 0; i < browser.Thumbs().count(); ++i)
            names << browser.Thumbs().at(i).Name;
        QCOMPARE(names, QStringList({"IMG_9.png", "IMG_10.png", "IMG_100.png", "a.png"}));
    }

    // Thousands of files, a FIFO named like a picture, undecodable files and
    // files that vanish while the walk runs: the walk goes on to its end, the
    // window never waits, and no file is shown twice.
    void badInputNeverBlocks()
    {
        QTemporaryDir dir;
        QImage tiny(8, 6, QImage::Format_RGB32);
        tiny.fill(Qt::green);
        const int many = 1500;
        for (int i = 0; i < many; ++i)
            QVERIFY(tiny.save(dir.path() + QString("/t%1.bmp").arg(i)));
        QVERIFY(::mkfifo(QFile::encodeName(dir.path() + "/pipe.jpg").constData(), 0600) == 0);
        QVERIFY(writeFile(dir.path() + "/text.jpg", "no picture"));
        QVERIFY(writeFile(dir.path() + "/cut.png", readFile(dir.path() + "/t0.bmp").left(20)));

        ThumbnailBrowser browser;
        browser.SelectedFolder = [&dir] { return dir.path(); };
        QElapsedTimer clock;
        clock.start();
        browser.StartBrowsing();
        QVERIFY(clock.elapsed() < 2000);
        for (int i = 0; i < many; i += 10)
            QFile::remove(dir.path() + QString("/t%1.bmp").arg(i));
        QTRY_VERIFY_WITH_TIMEOUT(!browser.Running(), 120000);
        QSet<QString> names;
        for (int i = 0; i < browser.Thumbs().count(); ++i)
            names.insert(browser.Thumbs().at(i).Name);
        QCOMPARE(names.size(), browser.Thumbs().count());
        QVERIFY(browser.Thumbs().count() >= many - many / 10 && browser.Thumbs().count() <= many);
        QVERIFY(!names.contains("pipe.jpg") && !names.contains("text.jpg") && !names.contains("cut.png"));
    }

    // The grid grows a row while thumbnails arrive: every cell stays drawn on
    // the screen, not only those painted after the last growth.
    void growingGridKeepsEveryCell()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 14; ++i)
            QVERIFY(writePicture(dir.path() + QString("/p%1.png").arg(i, 2, 10, QChar('0')), 60, 40));
        TMainForm form;
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        browse(form, dir.path());
        QTRY_VERIFY_WITH_TIMEOUT(!form.collectionPage().grid().Browser->Running() && form.collectionPage().grid().Thumbs().count() == 14, 20000);
        QTest::qWait(50);
        const QImage screen = form.screen()->grabWindow(form.winId()).toImage();
        const int columns = ThumbColumns(form.collectionPage().grid().GridBox->width());
        QVERIFY(columns < 14);
        for (int i = 1; i <= 14; ++i) {
            const QPoint strip = form.collectionPage().grid().GridBox->mapTo(&form, ThumbCellOrigin(i, columns) + QPoint(4, 50));
            const QRgb c = screen.pixel(strip);
            QVERIFY2(c == qRgb(192, 192, 192) || c == qRgb(0, 0, 255), qPrintable(QString("cell %1").arg(i)));
        }
    }
};
SGA_TEST(TestThumbBrowser)
#include "tst_thumbbrowser.moc"
