#include "common/PageSetup.h"
#include "common/TestRegistry.h"
#include "document/Arrangement.h"
#include "document/Options.h"
#include "document/PictureStore.h"
#include "output/PrintPreview.h"
#include "picture/DecodeBatch.h"
#include "picture/FileCheck.h"
#include "picture/OpenDib.h"
#include "picture/Resample.h"
#include "picture/Rotate.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

QByteArray dibBytes(const DIB &d)
{
    if (!d.Bits)
        return "no picture: " + DibErrorText(d).toUtf8();
    const qsizetype colours = qsizetype(d.Info->biClrUsed) * qsizetype(sizeof(RGBQUAD));
    return QByteArray(reinterpret_cast<const char *>(d.Info), sizeof(BITMAPINFOHEADER))
           + QByteArray(reinterpret_cast<const char *>(DibColors(d)), colours)
           + QByteArray(reinterpret_cast<const char *>(d.Bits), qsizetype(d.Info->biSizeImage));
}

// A photo-like picture: smooth colour fields, so JPEG keeps it close.
QImage photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, ((x + y) * 97) % 256));
    return image;
}

// kind: "jpeg" (large, decoded at reduced scale), "png24" (large, shrunk for
// the screen), or "palN" (a palette PNG of N colours, small).
QString makePicture(const QTemporaryDir &dir, const QString &kind)
{
    const QString path = dir.filePath(kind + (kind == QLatin1String("jpeg") ? ".jpg" : ".png"));
    if (kind == QLatin1String("jpeg")) {
        QImageWriter(path, "jpeg").write(photo(2400, 1800));
    } else if (kind == QLatin1String("png24")) {
        QImageWriter(path, "png").write(photo(2000, 1100));
    } else {
        const int colours = kind.mid(3).toInt();
        QImage image(300, 200, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.append(qRgb(i * 255 / colours, 255 - i * 255 / colours, (i * 40) % 256));
        image.setColorTable(table);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, uint((x / 7 + y / 5) % colours));
        QImageWriter(path, "png").write(image);
    }
    return path;
}

ToneTable toneOf(int b, int k, int s)
{
    return ComposeTables(ComposeTables(BrightnessTable(b), ContrastTable(k)), SaturationTable(s));
}

// The adjustment dialog's way: new pixels, the table written through.
DIB adjusted(const DIB &old, const ToneTable &t)
{
    DIB work;
    NewDibLike(&work, old, DibWidth(old), DibHeight(old));
    std::memcpy(work.Bits, old.Bits, std::min(work.Info->biSizeImage, old.Info->biSizeImage));
    if (!CopyThroughTable(old, work, t))
        ApplyToneTable(work, t);
    return work;
}

// The quality check's way: deeper in place, then enlarged smoothly.
void enlargeInPlace(DIB &dib, int w, int h)
{
    if (DibBitCount(dib) < 24)
        DepthUpTo(&dib, 24);
    DIB larger;
    QVERIFY(Resize(dib, w, h, true, &larger));
    deldib(&dib);
    dib = larger;
}

// Appends a decoded picture to the collection as the add commands do.
PictureEntry &addDecoded(TArrangement &doc, const QString &path, const DecodedPicture &d)
{
    doc.appendPicture(path, d.Dib);
    PictureEntry &entry = doc.Pictures.back();
    entry.Recipe = d.Recipe;
    entry.Reduced = d.Reduced;
    return entry;
}

} // namespace

class TestPictureStore : public QObject
{
    Q_OBJECT

private slots:
    // The store's full picture is, byte for byte, what the commands make of the
    // whole picture in place; a page drawn from it at 300 dpi is the same image.
    void replayEqualsInPlace_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("steps"); // R right, L left, T tone, E enlarge
        QTest::addColumn<bool>("reducedAtStart");
        QTest::newRow("jpeg: turns and tone") << "jpeg" << "RTL" << true;
        QTest::newRow("jpeg: enlarged, turned, toned") << "jpeg" << "ERT" << true;
        QTest::newRow("png 24: tone then enlarge") << "png24" << "TLE" << true;
        QTest::newRow("1 bit: tone, turn, enlarge") << "pal2" << "TRE" << false;
        QTest::newRow("4 bit: enlarge, tone, turn") << "pal16" << "ETL" << false;
        QTest::newRow("8 bit: turn, enlarge, tone") << "pal200" << "RET" << false;
    }
    void replayEqualsInPlace()
    {
        QFETCH(QString, kind);
        QFETCH(QString, steps);
        QFETCH(bool, reducedAtStart);
        QTemporaryDir dir;
        const QString path = makePicture(dir, kind);

        DIB inPlace;
        OpenDib(&inPlace, path, DibFormatAuto, nullptr);
        QVERIFY(inPlace.Bits);
        TArrangement doc;
        DecodedPicture decoded = DecodeForCollection(path, DibFormatAuto, DisplayBox());
        QVERIFY(decoded.Dib.Bits);
        QCOMPARE(decoded.Reduced, reducedAtStart);
        if (decoded.Reduced)
            QVERIFY(std::max(DibWidth(decoded.Dib), DibHeight(decoded.Dib)) < 2 * DisplayEdge);
        PictureEntry &entry = addDecoded(doc, path, decoded);

        int round = 0;
        for (const QChar step : steps) {
            ++round;
            if (step == 'R' || step == 'L') {
                QVERIFY(step == 'R' ? RotRight(inPlace) : RotLeft(inPlace));
                QVERIFY(TurnEntry(entry, step == 'L'));
            } else if (step == 'T') {
                const ToneTable t = toneOf(20 * round, 100 + 15 * round, -30);
                DIB before = inPlace;
                inPlace = adjusted(before, t);
                deldib(&before);
                AdjustEntry(entry, adjusted(entry.Dib, t), t);
            } else {
                const int factor = DibWidth(inPlace) < 1000 ? 8 : 2;
                const int w = DibWidth(inPlace) * factor, h = DibHeight(inPlace) * factor;
                enlargeInPlace(inPlace, w, h);
                QCOMPARE(EnlargeEntry(entry, w, h), EnlargeOutcome::Done);
            }
            QCOMPARE(FullSize(entry), QSize(DibWidth(inPlace), DibHeight(inPlace)));
        }
        // Enlarged to thousands of pixels, every picture is held as a screen copy.
        QVERIFY(entry.Reduced);
        const DIB full = doc.Store.full(entry);
        QVERIFY(dibBytes(full) == dibBytes(inPlace));

        // The same page from the picture held whole and from the store.
        TArrangement before;
        before.appendPicture(path, inPlace);
        for (TArrangement *d : {&before, &doc}) {
            Placement *p = d->Placements.Append();
            p->PictureId = d->Pictures.back().PictureId;
            p->Page = 1;
            p->Left = 0.3;
            p->Top = 0.4;
            p->Width = 2.5;
            p->Height = 1.9;
            p->Cut = 1;
        }
        ArrangementOptions options;
        options.Sverh = true;
        const PrintSetup page = BarePageSetup(1800, 1500, 600, 600);
        const QImage a = RenderPageImage(before, 1, 300, options, page);
        const QImage b = RenderPageImage(doc, 1, 300, options, page);
        QVERIFY(!a.isNull());
        QVERIFY(a == b);
        deldib(&inPlace);
    }

    // A file that changed or vanished after it was added is named before
    // printing and printed from the screen copy over the whole frame, never
    // from the new content; nor is a file that was written over between its
    // check and its decode (its check then matches, its size does not).
    void changedFilesAreNotReplayed_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("named");
        QTest::addColumn<bool>("replayed");
        QTest::newRow("unchanged") << "none" << false << true;
        QTest::newRow("rewritten, same size") << "rewrite" << true << false;
        QTest::newRow("removed") << "remove" << true << false;
        QTest::newRow("another size, checked after the change") << "resize" << false << false;
    }
    void changedFilesAreNotReplayed()
    {
        QFETCH(QString, change);
        QFETCH(bool, named);
        QFETCH(bool, replayed);
        QTemporaryDir dir;
        const QString path = makePicture(dir, QStringLiteral("jpeg"));
        TArrangement doc;
        const DecodedPicture decoded = DecodeForCollection(path, DibFormatAuto, DisplayBox());
        PictureEntry &entry = addDecoded(doc, path, decoded);
        Placement *p = doc.Placements.Append();
        p->PictureId = entry.PictureId;
        p->Page = 2;
        p->Left = 0.2;
        p->Top = 0.2;
        p->Width = 2.4;
        p->Height = 1.8;
        ArrangementOptions options;
        options.Sverh = true;
        const auto printed = [&] { return RenderPageImage(doc, 2, 100, options, BarePageSetup(1800, 1500, 600, 600)); };
        const QImage before = printed();
        doc.Store.clear(); // what is made after the change comes from the file as it is then

        if (change == QLatin1String("rewrite")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(f.size() / 2);
            f.write("changed");
        } else if (change == QLatin1String("remove")) {
            QVERIFY(QFile::remove(path));
        } else if (change == QLatin1String("resize")) {
            QVERIFY(QImageWriter(path, "jpeg").write(photo(2400, 1700)));
            entry.Recipe.Check = FileCheck(path);
        }
        QCOMPARE(ChangedPictureFiles(doc, {2}), named ? QStringList{path} : QStringList{});
        QVERIFY(ChangedPictureFiles(doc, {1}).isEmpty()); // not on the pages printed

        QCOMPARE(doc.Store.full(entry).Bits != nullptr, replayed);
        // The screen copy fills the frame as the full picture did: red and green
        // run smoothly across the picture, so they differ by a few levels at
        // most (a sixteenth of the picture over the frame: by a hundred).
        const QImage after = printed();
        QCOMPARE(after.size(), before.size());
        qint64 difference = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                const QRgb a = after.pixel(x, y), b = before.pixel(x, y);
                difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b));
            }
        QVERIFY2(difference < 16 * qint64(after.width()) * after.height(), qPrintable(QString::number(difference)));
    }

    // Views draw from the screen copy while it has the destination's pixels and
    // from the full picture beyond that; the full picture comes from the pool
    // and the view is told when it arrived.
    void drawingTakesTheSharpEnoughPixels_data()
    {
        QTest::addColumn<QSize>("dest");
        QTest::addColumn<QRect>("source"); // in full-picture pixels
        QTest::addColumn<bool>("full");
        QTest::newRow("page view") << QSize(500, 275) << QRect(0, 0, 2000, 1100) << false;
        QTest::newRow("as large as the copy") << QSize(1000, 550) << QRect(0, 0, 2000, 1100) << false;
        QTest::newRow("zoomed in") << QSize(1500, 825) << QRect(0, 0, 2000, 1100) << true;
        QTest::newRow("small crop, large frame") << QSize(600, 600) << QRect(700, 200, 600, 600) << true;
    }
    void drawingTakesTheSharpEnoughPixels()
    {
        QFETCH(QSize, dest);
        QFETCH(QRect, source);
        QFETCH(bool, full);
        QTemporaryDir dir;
        const QString path = makePicture(dir, QStringLiteral("png24"));
        TArrangement doc;
        const DecodedPicture decoded = DecodeForCollection(path, DibFormatAuto, DisplayBox());
        QCOMPARE(QSize(DibWidth(decoded.Dib), DibHeight(decoded.Dib)), QSize(1000, 550));
        const PictureEntry &entry = addDecoded(doc, path, decoded);
        QVERIFY(entry.Reduced);
        int arrived = 0;
        doc.Store.Arrived = [&arrived] { ++arrived; };

        const DrawPixels first = PixelsForDrawing(doc.Store, entry, source, dest, PictureWant::Sharp);
        QCOMPARE(first.Dib.Bits, entry.Dib.Bits); // never waits for the full picture
        QCOMPARE(first.Source, QRect(source.x() / 2, source.y() / 2, source.width() / 2, source.height() / 2));
        if (full)
            QTRY_COMPARE(arrived, 1);
        const DrawPixels later = PixelsForDrawing(doc.Store, entry, source, dest, PictureWant::Sharp);
        QCOMPARE(later.Dib.Bits != entry.Dib.Bits, full);
        if (full)
            QCOMPARE(later.Source, source);
        QCOMPARE(arrived, full ? 1 : 0);
    }

    // Held full pictures stay within the budget, the newest kept; a file listed
    // twice is decoded once and both entries share its pixels.
    void budgetAndSharing()
    {
        QTemporaryDir dir;
        const QString path = makePicture(dir, QStringLiteral("png24"));
        DecodeBatch batch({path, path}, DisplayBox());
        const DecodedPicture a = batch.TakeNextPicture();
        const DecodedPicture b = batch.TakeNextPicture();
        QVERIFY(a.Dib.Bits && a.Dib.Bits == b.Dib.Bits);

        TArrangement doc;
        for (const DecodedPicture &d : {a, b}) {
            addDecoded(doc, path, d);
        }
        QVERIFY(TurnEntry(doc.Pictures[1], true)); // another recipe, another full picture
        const std::uint64_t one = a.Recipe.Full.ImageBytes;
        doc.Store.setBudget(one + one / 2);
        QVERIFY(doc.Store.full(doc.Pictures[0]).Bits);
        QCOMPARE(doc.Store.heldBytes(), one);
        QVERIFY(doc.Store.full(doc.Pictures[1]).Bits);
        QCOMPARE(doc.Store.heldBytes(), one);
        QVERIFY(doc.Store.held(doc.Pictures[1]).Bits);
        QVERIFY(!doc.Store.held(doc.Pictures[0]).Bits);
        QVERIFY(DefaultBudgetIsSane());
    }

private:
    static bool DefaultBudgetIsSane()
    {
        const std::uint64_t b = PictureStore::DefaultBudget();
        return b > 0 && b <= (2048ull << 20);
    }
};

SGA_TEST(TestPictureStore)
#include "tst_picturestore.moc"
