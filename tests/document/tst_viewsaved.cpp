#include "common/TestRegistry.h"
#include "document/ArrangementDocument.h"
#include "document/FrameView.h"
#include "picture/Resample.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {
// 8 x 11 inches at 600 dpi, seen at 96 dpi and 100 %.
PageGeometry paper() { return {4800, 6600, 600, 600, 96, 100}; }

// A picture with detail everywhere, so any change of pixels shows.
QString writePicture(const QString &path, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7 + y) % 256, (x * y) % 251, (y * 5) % 256));
    img.save(path);
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool samePixels(const DIB &a, const DIB &b)
{
    return a.Bits && b.Bits && DibWidth(a) == DibWidth(b) && DibHeight(a) == DibHeight(b) &&
           a.Info->biSizeImage == b.Info->biSizeImage && std::memcmp(a.Bits, b.Bits, a.Info->biSizeImage) == 0;
}

// Brightens entry i as the adjustment dialog does: the shown pixels through the table.
void brighten(ArrangementDocument &doc, int i, const ToneTable &table)
{
    const auto step = doc.step(QStringLiteral("Brightness, contrast and saturation"));
    const PictureEntry &entry = doc.records().Pictures[std::size_t(i)];
    DIB adjusted;
    QVERIFY(NewDibLike(&adjusted, entry.Dib, DibWidth(entry.Dib), DibHeight(entry.Dib)));
    QVERIFY(CopyThroughTable(entry.Dib, adjusted, table));
    doc.showAdjusted(i, adjusted, table, entry.Recipe);
}
} // namespace

class TestViewSaved : public QObject
{
    Q_OBJECT
private slots:
    // Views and adjustments survive saving: the reopened arrangement shows the
    // same pixels, and saving it again gives the same bytes.
    void saveReopenSave_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("minQuality"); // dpi
        QTest::newRow("small picture, enlarged, then brightened") << QSize(300, 200) << 72;
        QTest::newRow("small picture, large enough") << QSize(300, 200) << 10;
        QTest::newRow("large picture shown from its screen copy") << QSize(2600, 1800) << 72;
    }
    void saveReopenSave()
    {
        QFETCH(QSize, size);
        QFETCH(int, minQuality);
        QTemporaryDir dir;
        const QString picture = writePicture(dir.filePath(QStringLiteral("p.png")), size.width(), size.height());
        ArrangementDocument doc;
        ArrangementOptions o = doc.options();
        o.MinQual = minQuality;
        o.DBreite = 50;
        o.EnhanceQual = false;
        doc.resetOptions(o);
        QCOMPARE(doc.addPictureFiles({picture}, QStringLiteral("Add")).Added.size(), std::size_t(1));
        QVERIFY(doc.placePicture(0, 1, 1, paper(), nullptr));
        doc.setSelectedView(FrameView{0.3, 0.6, 2.5}, QStringLiteral("Zoom"), paper(), nullptr);
        // One enlargement for the view, as opening the file makes it.
        o.EnhanceQual = true;
        doc.resetOptions(o);
        QVERIFY(doc.checkAllQualities(paper()).empty());
        brighten(doc, 0, ComposeTables(BrightnessTable(30), SaturationTable(-40)));
        const FrameView view = doc.records().Placements.at(0).View;
        const QString first = dir.filePath(QStringLiteral("a.sga"));
        QVERIFY(doc.save(first));

        ArrangementDocument reopened;
        reopened.resetOptions(o);
        const auto result = reopened.open(first, paper());
        QCOMPARE(result.Status, ArrangementDocument::OpenStatus::Opened);
        QCOMPARE(reopened.records().Placements.at(0).View, view);
        const PictureEntry &before = doc.records().Pictures[0];
        const PictureEntry &after = reopened.records().Pictures[0];
        QVERIFY(samePixels(before.Dib, after.Dib));
        QVERIFY(samePixels(doc.records().Store.full(before), reopened.records().Store.full(after)));
        const QString second = dir.filePath(QStringLiteral("b.sga"));
        QVERIFY(reopened.save(second));
        QCOMPARE(fileBytes(second), fileBytes(first));
    }

    // A picture whose file is gone keeps its adjustments for the next save.
    void missingPictureKeepsItsAdjustments()
    {
        QTemporaryDir dir;
        const QString picture = writePicture(dir.filePath(QStringLiteral("p.png")), 64, 48);
        ArrangementDocument doc;
        doc.addPictureFiles({picture}, QStringLiteral("Add"));
        brighten(doc, 0, BrightnessTable(50));
        const QString first = dir.filePath(QStringLiteral("a.sga"));
        QVERIFY(doc.save(first));
        QVERIFY(QFile::rename(picture, dir.filePath(QStringLiteral("elsewhere.png"))));
        ArrangementDocument reopened;
        QCOMPARE(reopened.open(first, paper()).MissingPictures.size(), qsizetype(1));
        const QString second = dir.filePath(QStringLiteral("b.sga"));
        QVERIFY(reopened.save(second));
        QCOMPARE(fileBytes(second), fileBytes(first));
    }

    // A drag of the picture inside its frame is one step; undo and redo give
    // back the exact views.
    void undoRestoresTheExactView()
    {
        ArrangementDocument doc;
        DIB pixels;
        newdib(&pixels, 400, 300, 24, nullptr, 0);
        doc.addDecodedPicture(QStringLiteral("/p/a.bmp"), DecodedPicture{pixels, RecipeOfDib(pixels), false, {}});
        QVERIFY(doc.placePicture(0, 0, 0, paper(), nullptr));
        const FrameView first{0.123456789, 0.87654321, 1.75};
        doc.setSelectedView(first, QStringLiteral("Zoom"), paper(), nullptr);
        const int steps = doc.undoStack()->count();
        doc.beginDrag();
        doc.dragViewTo(FrameView{0.2, 0.3, 1.75});
        doc.dragViewTo(FrameView{0.31, 0.4, 1.75});
        doc.endDrag(QStringLiteral("Move picture in its frame"), paper(), nullptr);
        QCOMPARE(doc.undoStack()->count(), steps + 1);
        doc.undoStack()->undo();
        QCOMPARE(doc.records().Placements.at(0).View, first);
        doc.undoStack()->redo();
        QCOMPARE(doc.records().Placements.at(0).View, (FrameView{0.31, 0.4, 1.75}));
    }
};

SGA_TEST(TestViewSaved)
#include "tst_viewsaved.moc"
