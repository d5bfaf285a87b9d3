// Caption templates over photo files whose metadata was written as cameras and
// photo tools write it: each expands to the text the user expects, missing
// values leave no separators behind, and damaged or hostile blocks give
// nothing rather than garbage.
#include "common/MetadataFixtures.h"
#include "common/PhotoFixtures.h"
#include "common/TestRegistry.h"
#include "output/CaptionTokens.h"
#include "picture/PictureMetadata.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace MetadataFixtures;

namespace {

QByteArray cameraExif(const QByteArray &make, const QByteArray &model, bool withLens, bool withDate)
{
    std::vector<Field> ifd0{ascii(0x010F, make), ascii(0x0110, model)};
    std::vector<Field> exif{rational(0x829A, 1, 250), rational(0x829D, 56, 10), shortValue(0x8827, 200),
                            rational(0x920A, 50, 1)};
    if (withDate)
        exif.push_back(ascii(0x9003, "2024:05:03 14:05:09"));
    if (withLens)
        exif.push_back(ascii(0xA434, "RF24-105mm F4 L IS USM"));
    return exifSegment(exifTiff(ifd0, exif));
}

} // namespace

class TestCaptionTokens : public QObject
{
    Q_OBJECT
private slots:
    void expandsPhotoTemplates_data();
    void expandsPhotoTemplates();
};

void TestCaptionTokens::expandsPhotoTemplates_data()
{
    QTest::addColumn<QByteArray>("segments");
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("expected");

    const QByteArray full = cameraExif("Canon", "Canon EOS R5", true, true);
    const QString longText = QString(1999, u'x') + u'y';
    QTest::newRow("camera, lens and exposure") << full << "{camera}, {lens} · {exposure}"
                                               << "Canon EOS R5, RF24-105mm F4 L IS USM · 1/250 s, f/5.6, ISO 200, 50 mm";
    QTest::newRow("make not repeated by the model") << cameraExif("FUJIFILM", "X-T4", false, true) << "{camera}"
                                                    << "FUJIFILM X-T4";
    QTest::newRow("date and time taken, lines with and without tokens")
        << full << "{name}\n{date} {time}\nSummer {nope}" << "IMG_0042.jpg\n03/05/2024 14:05\nSummer {nope}";
    QTest::newRow("missing lens drops its separator") << cameraExif("Canon", "EOS R5", false, true)
                                                      << "{camera}, {lens} · {exposure}"
                                                      << "Canon EOS R5 · 1/250 s, f/5.6, ISO 200, 50 mm";
    QTest::newRow("missing first value drops the next separator")
        << exifSegment(exifTiff({}, {ascii(0xA434, "50mm F1.8")})) << "{camera}, {lens}" << "50mm F1.8";
    QTest::newRow("line of missing values left out") << QByteArray() << "Lens: {lens}\n{camera} {exposure}\n{name} ({size})"
                                                     << "IMG_0042.jpg (64 × 48)";
    QTest::newRow("no date taken: the file's time") << cameraExif("Canon", "EOS R5", false, false) << "{date}"
                                                     << "01/02/2020";
    QTest::newRow("unknown token as typed, plain text untouched") << full << "{Folder}: {nope} {NAME}, 50%"
                                                                  << "trip: {nope} IMG_0042.jpg, 50%";
    QTest::newRow("right-to-left description") << xmpSegment(QStringLiteral("שקיעה בים")) << "{caption} ({name})"
                                               << QStringLiteral("שקיעה בים (IMG_0042.jpg)");
    QTest::newRow("CJK description from EXIF") << exifSegment(exifTiff({ascii(0x010E, "東京の夜景")}, {}))
                                              << "{caption}" << QStringLiteral("東京の夜景");
    QTest::newRow("XMP description before EXIF's")
        << exifSegment(exifTiff({ascii(0x010E, "OLYMPUS DIGITAL CAMERA")}, {})) + xmpSegment(QStringLiteral("日本語 text"))
        << "{caption}" << QStringLiteral("日本語 text");
    QTest::newRow("2,000-character description") << xmpSegment(longText) << "{caption}" << longText;
    QTest::newRow("description with line breaks stays one line") << xmpSegment(QStringLiteral("two\nlines\tand tab"))
                                                                  << "{caption}" << "two lines and tab";
    QByteArray pastEnd = exifTiff({ascii(0x010F, "Canon")}, {});
    pastEnd[8] = char(0xFF); // IFD0 claims 65535 entries
    pastEnd[9] = char(0xFF);
    QTest::newRow("damaged: directory past the block") << exifSegment(pastEnd) << "{camera}|{name}" << "IMG_0042.jpg";
    QByteArray badOffset = exifTiff({ascii(0x010F, "A long maker name")}, {});
    badOffset[18] = char(0xF0); // the text's offset far outside the block
    QTest::newRow("damaged: value offset outside") << exifSegment(badOffset) << "{camera}{name}" << "IMG_0042.jpg";
    QTest::newRow("damaged: not TIFF") << exifSegment("XX*\0garbage") << "{camera} {name}" << "IMG_0042.jpg";
    QByteArray huge;
    for (int i = 0; i < 20; ++i)
        huge += segment(QByteArray(60000, 'z'));
    QTest::newRow("hostile: metadata beyond the read limit") << huge + full << "{camera}|{name}" << "IMG_0042.jpg";
}

void TestCaptionTokens::expandsPhotoTemplates()
{
    QFETCH(QByteArray, segments);
    QFETCH(QString, templ);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("trip")));
    const QString path = dir.filePath(QStringLiteral("trip/IMG_0042.jpg"));
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.write(withSegments(PhotoFixtures::jpeg(img, 90), segments));
    const QDateTime fileTime(QDate(2020, 2, 1), QTime(9, 30));
    file.seek(0);

    const PictureMetadata m = ReadPictureMetadata(file, fileTime);
    QCOMPARE(file.pos(), 0);
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    QCOMPARE(ExpandCaption(templ, PictureCaptionValues(path, m, img.size()), british), expected);
}

SGA_TEST(TestCaptionTokens)
#include "tst_captiontokens.moc"
