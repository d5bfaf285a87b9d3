#include "common/TestRegistry.h"
#include "document/ArrangementFile.h"

#include <QTest>
#include <QtEndian>

#include <cstring>
#include <limits>
#include <optional>

namespace {
// Byte offsets after the placements (B = 30 + 48 N).
constexpr int OffPictureCount = 8;
constexpr int OffRand = 28;
constexpr int OffFont = 92;

qsizetype afterPlacements(int n) { return 30 + 48 * n; }

void putI32(QByteArray& b, qsizetype at, std::int32_t v) { qToLittleEndian(v, b.data() + at); }

QByteArray i32Bytes(std::int32_t v)
{
    QByteArray b(4, '\0');
    putI32(b, 0, v);
    return b;
}

// A picture record built by hand, so lengths and bytes can be anything.
QByteArray pictureRecord(const QByteArray& path, std::int32_t rotation, std::int32_t id, const QByteArray& caption,
    std::optional<std::int32_t> pathLength = {}, std::optional<std::int32_t> captionLength = {})
{
    return i32Bytes(pathLength.value_or(std::int32_t(path.size()))) + path + i32Bytes(rotation) + i32Bytes(id)
        + i32Bytes(captionLength.value_or(std::int32_t(caption.size()))) + caption;
}

// No placements, no pictures, then `records` appended with the picture count patched to `count`.
QByteArray withPictureRecords(std::int32_t count, const QByteArray& records)
{
    QByteArray b = WriteArrangement(ArrangementData {});
    putI32(b, afterPlacements(0) + OffPictureCount, count);
    return b + records;
}

ArrangementData richArrangement()
{
    ArrangementData d;
    Placement a {};
    a.Left = 0.5;
    a.Top = 1.25;
    a.Width = 5.118;
    a.Height = 3.937;
    a.Page = 2;
    a.PictureId = 7;
    a.Cut = 1;
    for (int i = 0; i < 7; ++i)
        a.Reserved[i] = std::uint8_t(0xA0 + i); // whatever another writer left there survives
    Placement b {};
    b.Left = -0.001;
    b.Page = 1;
    b.PictureId = 3;
    d.Placements = { a, b };
    d.SelectedPlacement = 1;
    d.SelectedPicture = 1;
    d.NextPictureId = 9;
    d.ShowFNames = 1;
    d.Sverh = 0;
    d.Zoom = 150;
    d.Rand = 12;
    d.Space = 3;
    d.Transp = 1;
    d.BkColor = 0x00336699;
    d.CutDefault = 1;
    d.EnhanceQual = 0;
    d.UseGrid = 0;
    d.ShowGrid = 1;
    d.MinQual = 150;
    d.DBreite = 89.5;
    d.DHoche = 127.25;
    d.Grid = 2.5;
    d.Font.Name = QStringLiteral("DejaVu Sans");
    d.Font.Size = 14;
    d.Font.Charset = 238;
    d.Font.Color = 0x000000FF;
    d.Font.Pitch = 2;
    d.Font.PixelsPerInch = 120;
    d.Font.Style = 1 | 4;
    d.Pictures = { { QStringLiteral("beach.jpg"), 3, 3, QStringLiteral("Caf\u00e9 at noon") },
        { QStringLiteral("/srv/photos/\u00fcber/dog.png"), 0, 7, QString() } };
    d.PictureCount = 2;
    return d;
}
} // namespace

class TestArrangementFile : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsEverything()
    {
        const ArrangementData in = richArrangement();
        const QByteArray bytes = WriteArrangement(in);
        ArrangementData out;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::Ok);
        QCOMPARE(out.Placements.size(), in.Placements.size());
        for (std::size_t i = 0; i < in.Placements.size(); ++i)
            QVERIFY(std::memcmp(&out.Placements[i], &in.Placements[i], sizeof(Placement)) == 0);
        // The records lie in the file exactly as in memory on a little-endian host.
        QVERIFY(std::memcmp(bytes.constData() + 30, &in.Placements[0], 48) == 0);
        QCOMPARE(out.SelectedPlacement, 1);
        QCOMPARE(out.SelectedPicture, 1);
        QCOMPARE(out.PictureCount, 2);
        QCOMPARE(out.NextPictureId, 9);
        QCOMPARE(std::vector<std::int32_t>({ out.ShowFNames, out.Sverh, out.Zoom, out.Rand, out.Space, out.Transp,
                     out.BkColor, out.CutDefault, out.EnhanceQual, out.UseGrid, out.ShowGrid }),
            std::vector<std::int32_t>({ 1, 0, 150, 12, 3, 1, 0x00336699, 1, 0, 0, 1 }));
        QCOMPARE(std::vector<double>({ out.MinQual, out.DBreite, out.DHoche, out.Grid }),
            std::vector<double>({ 150, 89.5, 127.25, 2.5 }));
        QCOMPARE(out.Font.Name, in.Font.Name);
        QCOMPARE(out.Font.Size, 14);
        QCOMPARE(out.Font.Charset, std::uint8_t(238));
        QCOMPARE(out.Font.Color, 0x000000FF);
        QCOMPARE(out.Font.Pitch, std::uint8_t(2));
        QCOMPARE(out.Font.PixelsPerInch, 120);
        QCOMPARE(out.Font.Style, std::uint8_t(5));
        QCOMPARE(out.Pictures.size(), std::size_t(2));
        for (std::size_t i = 0; i < 2; ++i) {
            QCOMPARE(out.Pictures[i].Path, in.Pictures[i].Path);
            QCOMPARE(out.Pictures[i].Rotation, in.Pictures[i].Rotation);
            QCOMPARE(out.Pictures[i].PictureId, in.Pictures[i].PictureId);
            QCOMPARE(out.Pictures[i].Caption, in.Pictures[i].Caption.isNull() ? QString("") : in.Pictures[i].Caption);
        }
        QCOMPARE(WriteArrangement(out), bytes);
    }

    void optionsAreStoredAsWholeNumbers_data()
    {
        QTest::addColumn<double>("margin");
        QTest::addColumn<double>("distance");
        QTest::addColumn<int>("storedMargin");
        QTest::addColumn<int>("storedDistance");
        QTest::newRow("15.7 mm margin becomes 15") << 15.7 << 5.0 << 15 << 5;
        QTest::newRow("fractions below one vanish") << 0.99 << 0.5 << 0 << 0;
        QTest::newRow("just below a whole number") << 99.99 << 4.99 << 99 << 4;
    }
    void optionsAreStoredAsWholeNumbers()
    {
        QFETCH(double, margin);
        QFETCH(double, distance);
        ArrangementOptions o;
        o.Rand = margin;
        o.Space = distance;
        ArrangementData d;
        StoreOptions(d, o);
        ArrangementData back;
        QCOMPARE(ReadArrangement(WriteArrangement(d), back), ArrangementReadStatus::Ok);
        QFETCH(int, storedMargin);
        QFETCH(int, storedDistance);
        QCOMPARE(back.Rand, storedMargin);
        QCOMPARE(back.Space, storedDistance);
        QCOMPARE(LoadedOptions(back).Rand, double(storedMargin));
    }

    void otherMagicsAreNotArrangements_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray rest = WriteArrangement(ArrangementData {}).mid(ArrangementMagicSize);
        QTest::newRow("version 3") << QByteArray("QUORVEX Snapgrid-Edge 3.0") + rest;
        QTest::newRow("version 2") << QByteArray("QUORVEX Snapgrid-Edge 2.0") + rest;
        QTest::newRow("one letter off") << QByteArray("QUORVEX Snapgrid-Atlas 4.1") + rest;
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("magic cut short") << QByteArray(ArrangementMagic, 25);
    }
    void otherMagicsAreNotArrangements()
    {
        QFETCH(QByteArray, bytes);
        ArrangementData out;
        out.NextPictureId = 1234;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::NotArrangement);
        QCOMPARE(out.NextPictureId, 1234);
    }

    // Every prefix of a valid file is rejected and leaves the target as it was.
    void everyTruncationIsRejected()
    {
        const QByteArray full = WriteArrangement(richArrangement());
        for (qsizetype n = 0; n < full.size(); ++n) {
            ArrangementData out;
            out.NextPictureId = 4321;
            const ArrangementReadStatus s = ReadArrangement(full.left(n), out);
            QVERIFY2(s != ArrangementReadStatus::Ok, qPrintable(QString::number(n)));
            QCOMPARE(
                s, n < ArrangementMagicSize ? ArrangementReadStatus::NotArrangement : ArrangementReadStatus::Damaged);
            QCOMPARE(out.NextPictureId, 4321);
            QVERIFY(out.Pictures.empty() && out.Placements.empty());
        }
    }

    void damagedCountsAndLengths_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray hugeN = WriteArrangement(richArrangement());
        putI32(hugeN, 26, 0x7FFFFFFF);
        QTest::newRow("placement count far past the end") << hugeN;
        QByteArray oneTooMany = WriteArrangement(ArrangementData {});
        putI32(oneTooMany, 26, 2); // 92 + font bytes follow, not 96
        QTest::newRow("placement count one record too many") << oneTooMany;
        QTest::newRow("picture count far past the end")
            << withPictureRecords(0x7FFFFFFF, pictureRecord("a.jpg", 0, 0, ""));
        QTest::newRow("picture count one too many")
            << withPictureRecords(2, pictureRecord("a.jpg", 0, 0, "") + QByteArray(16, '\0').left(15));
        QTest::newRow("path length huge") << withPictureRecords(1, pictureRecord("a.jpg", 0, 0, "", 0x7FFFFFF0));
        QTest::newRow("path length negative") << withPictureRecords(1, pictureRecord("a.jpg", 0, 0, "", -5));
        QTest::newRow("path length one past its bytes") << withPictureRecords(1, pictureRecord("abcd", 0, 0, "", 5));
        QTest::newRow("caption length huge")
            << withPictureRecords(1, pictureRecord("a.jpg", 0, 0, "x", {}, 0x40000000));
        QTest::newRow("caption length most negative")
            << withPictureRecords(1, pictureRecord("a.jpg", 0, 0, "x", {}, std::numeric_limits<std::int32_t>::min()));
        QByteArray faceTooLong = WriteArrangement(ArrangementData {});
        faceTooLong[afterPlacements(0) + OffFont + 5] = char(0xFF);
        QTest::newRow("face name length past the end") << faceTooLong;
    }
    void damagedCountsAndLengths()
    {
        QFETCH(QByteArray, bytes);
        ArrangementData out;
        out.NextPictureId = 99;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::Damaged);
        QCOMPARE(out.NextPictureId, 99);
    }

    void countsNegativeAsSignedReadNone_data()
    {
        QTest::addColumn<qsizetype>("offset");
        QTest::newRow("placements 0xFFFFFFFF") << qsizetype(26);
        QTest::newRow("pictures -1") << afterPlacements(0) + OffPictureCount;
    }
    void countsNegativeAsSignedReadNone()
    {
        QFETCH(qsizetype, offset);
        QByteArray b = WriteArrangement(ArrangementData {});
        putI32(b, offset, -1);
        ArrangementData out;
        QCOMPARE(ReadArrangement(b, out), ArrangementReadStatus::Ok);
        QVERIFY(out.Placements.empty());
        QVERIFY(out.Pictures.empty());
    }

    void storedTextDecodes_data()
    {
        QTest::addColumn<QByteArray>("pathBytes");
        QTest::addColumn<QByteArray>("captionBytes");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Windows-1252 from an old file")
            << QByteArray("C:\\Fotos\\Caf\xe9.jpg")
            << QByteArray("Gr\xfc\xdf"
                          "e \x80"
                          "5")
            << QStringLiteral("C:\\Fotos\\Caf\u00e9.jpg") << QStringLiteral("Gr\u00fc\u00dfe \u20ac5");
        QTest::newRow("UTF-8 as written here") << QByteArray("/p/Caf\xc3\xa9.jpg") << QByteArray("\xe2\x82\xac")
                                               << QStringLiteral("/p/Caf\u00e9.jpg") << QStringLiteral("\u20ac");
    }
    void storedTextDecodes()
    {
        QFETCH(QByteArray, pathBytes);
        QFETCH(QByteArray, captionBytes);
        ArrangementData out;
        QCOMPARE(ReadArrangement(withPictureRecords(1, pictureRecord(pathBytes, 1, 5, captionBytes)), out),
            ArrangementReadStatus::Ok);
        QCOMPARE(out.Pictures.size(), std::size_t(1));
        QTEST(out.Pictures[0].Path, "path");
        QTEST(out.Pictures[0].Caption, "caption");
        QCOMPARE(out.Pictures[0].Rotation, 1);
        QCOMPARE(out.Pictures[0].PictureId, 5);
    }

    void longFaceNameIsCutOnACharacter()
    {
        ArrangementData d;
        // 328 UTF-8 bytes; byte 255 is the second byte of an accented letter
        d.Font.Name = QString(128, QLatin1Char('a')) + QString(100, QChar(0x00e9));
        const QByteArray bytes = WriteArrangement(d);
        ArrangementData out;
        QCOMPARE(ReadArrangement(bytes, out), ArrangementReadStatus::Ok);
        QCOMPARE(std::uint8_t(bytes[afterPlacements(0) + OffFont + 5]), std::uint8_t(254));
        QCOMPARE(out.Font.Name, d.Font.Name.left(128 + 63));
    }

    void storedPicturePath_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("arrangement");
        QTest::addColumn<int>("sensitivity");
        QTest::addColumn<QString>("stored");
        const int exact = Qt::CaseSensitive, anyCase = Qt::CaseInsensitive;
        QTest::newRow("same folder: bare name") << "/home/u/trip/a.jpg"
                                                << "/home/u/trip/t.sga" << exact << "a.jpg";
        QTest::newRow("subfolder: full path") << "/home/u/trip/x/a.jpg"
                                              << "/home/u/trip/t.sga" << exact << "/home/u/trip/x/a.jpg";
        QTest::newRow("parent folder: full path") << "/home/u/a.jpg"
                                                  << "/home/u/trip/t.sga" << exact << "/home/u/a.jpg";
        QTest::newRow("case differs on a case-sensitive system: full path")
            << "/home/u/Trip/a.jpg"
            << "/home/u/trip/t.sga" << exact << "/home/u/Trip/a.jpg";
        QTest::newRow("case differs where case does not count: bare name") << "C:\\PHOTOS\\a.jpg"
                                                                           << "c:\\photos\\t.sga" << anyCase << "a.jpg";
        QTest::newRow("folder name is a prefix only") << "/home/u/trip2/a.jpg"
                                                      << "/home/u/trip/t.sga" << exact << "/home/u/trip2/a.jpg";
    }
    void storedPicturePath()
    {
        QFETCH(QString, picture);
        QFETCH(QString, arrangement);
        QFETCH(int, sensitivity);
        QTEST(StoredPicturePath(picture, arrangement, Qt::CaseSensitivity(sensitivity)), "stored");
    }

    void resolveStoredPath_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("bare name lies beside the arrangement") << "a.jpg"
                                                               << "/new/place/a.jpg";
        QTest::newRow("full path kept") << "/old/a.jpg"
                                        << "/old/a.jpg";
        QTest::newRow("backslash is a folder separator") << "C:\\old\\a.jpg"
                                                         << "C:\\old\\a.jpg";
        QTest::newRow("empty stays empty") << ""
                                           << "";
    }
    void resolveStoredPath()
    {
        QFETCH(QString, stored);
        QTEST(ResolveStoredPath(stored, QStringLiteral("/new/place/")), "resolved");
    }
};
SGA_TEST(TestArrangementFile)

#include "tst_arrangementfile.moc"
