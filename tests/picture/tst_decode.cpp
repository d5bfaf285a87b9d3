#include "DecodeFixtures.h"
#include "common/TestRegistry.h"
#include "picture/DecodeSupport.h"
#include "picture/OpenDib.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <vector>

using namespace Fixtures;

namespace {

// Records every percentage it is handed.
struct ProgressOwner {
    std::vector<long long> percents;
    ProgressFn report()
    {
        return [this](int percent) { percents.push_back(percent); };
    }
};

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QByteArray encoded(const QImage &img, const char *format, int quality = -1)
{
    if (qstrcmp(format, "tga") == 0)
        return tga(img, false, true);
    if (qstrcmp(format, "tga-rle-bottom-up") == 0)
        return tga(img, true, false);
    if (qstrcmp(format, "gif") == 0)
        return gif(img.format() == QImage::Format_Indexed8 ? img : img.convertToFormat(QImage::Format_Indexed8));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    return writer.write(img) ? data : QByteArray();
}

struct Opened {
    DIB dib;
    ~Opened() { deldib(&dib); }
};

// Run-length codes as a common encoder writes them, rows from the bottom: runs
// of three or more, absolute stretches between them, an end of line after each
// row but the last, which ends the picture.
QByteArray rleCodes(int w, int h, int bits, const std::function<int(int, int)> &index)
{
    const bool four = bits == 4;
    auto pack = [&](const std::vector<int> &v, std::size_t from, std::size_t n) {
        QByteArray out;
        for (std::size_t i = 0; i < n; i += four ? 2 : 1)
            out += four ? char((v[from + i] << 4) | (i + 1 < n ? v[from + i + 1] : 0)) : char(v[from + i]);
        return out.size() % 2 ? out + '\0' : out;
    };
    QByteArray codes;
    for (int y = h - 1; y >= 0; --y) {
        std::vector<int> row(std::size_t(w), 0);
        for (int x = 0; x < w; ++x)
            row[std::size_t(x)] = index(x, y);
        std::size_t x = 0, literal = 0;
        auto flush = [&] {
            while (literal > 0) {
                const std::size_t n = std::min<std::size_t>(literal, 255), from = x - literal;
                if (n >= 3)
                    codes += QByteArray(1, '\0') + char(n) + pack(row, from, n);
                else if (four)
                    codes += char(n) + pack(row, from, n).left(1);
                else
                    for (std::size_t i = 0; i < n; ++i)
                        codes += QByteArray(1, '\1') + char(row[from + i]);
                literal -= n;
            }
        };
        while (x < row.size()) {
            std::size_t run = 1;
            while (x + run < row.size() && run < 255 && row[x + run] == row[x])
                ++run;
            if (run < 3) {
                x += run;
                literal += run;
                continue;
            }
            flush();
            codes += char(run) + pack(row, x, four ? 2 : 1).left(1);
            x += run;
        }
        flush();
        codes += QByteArray(1, '\0') + char(y == 0 ? 1 : 0);
    }
    return codes;
}

} // namespace

class TestOpenDib : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString put(const QString &name, const QByteArray &data)
    {
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, data))
            qFatal("cannot write fixture");
        return path;
    }

private slots:
    void readsTrueColourFormats_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("png by code") << QByteArray("png") << "a.png" << int(DibFormatPng) << 0;
        QTest::newRow("bmp by code") << QByteArray("bmp") << "a.bmp" << int(DibFormatBmp) << 0;
        QTest::newRow("bmp named dib") << QByteArray("bmp") << "a.dib" << int(DibFormatDib) << 0;
        QTest::newRow("jpeg by code") << QByteArray("jpeg") << "a.jpg" << int(DibFormatJpg) << 24;
        QTest::newRow("jpeg named jif") << QByteArray("jpeg") << "a.jif" << int(DibFormatJif) << 24;
        QTest::newRow("tiff by code") << QByteArray("tiff") << "a.tif" << int(DibFormatTif) << 0;
        QTest::newRow("tga by code") << QByteArray("tga") << "a.tga" << int(DibFormatTga) << 0;
        QTest::newRow("tga by extension") << QByteArray("tga") << "b.tga" << int(DibFormatAuto) << 0;
        QTest::newRow("rle tga stored bottom-up") << QByteArray("tga-rle-bottom-up") << "r.tga" << int(DibFormatTga) << 0;
        QTest::newRow("png by content") << QByteArray("png") << "noext" << int(DibFormatAuto) << 0;
        QTest::newRow("png named jpg, jpeg code") << QByteArray("png") << "c.jpg" << int(DibFormatJpg) << 0;
        QTest::newRow("jpeg named png, png code") << QByteArray("jpeg") << "c.png" << int(DibFormatPng) << 24;
        QTest::newRow("bmp named tga, tga code") << QByteArray("bmp") << "c.tga" << int(DibFormatTga) << 0;
    }
    void readsTrueColourFormats()
    {
        QFETCH(QByteArray, format);
        QFETCH(QString, name);
        QFETCH(int, code);
        QFETCH(int, tolerance);
        const QImage pattern = cornerPattern(65, 40);
        const QString path = put(name, encoded(pattern, format, 95));
        Opened o;
        OpenDib(&o.dib, path, code, nullptr);
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(DibWidth(o.dib), 65);
        QCOMPARE(DibHeight(o.dib), 40);
        QCOMPARE(DibBitCount(o.dib), 24);
        QCOMPARE(o.dib.RowBytes, 196u); // 65 * 3 padded to 4
        for (int y : {0, 2, 20, 39})
            for (int x : {0, 2, 33, 64})
                QVERIFY2(near(dibColour(o.dib, x, y), pattern.pixel(x, y), tolerance),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    void palettePicturesKeepTheirColours_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("bits");
        QTest::newRow("2-colour png to 1 bit") << QByteArray("png") << 2 << 1;
        QTest::newRow("3-colour png to 4 bits") << QByteArray("png") << 3 << 4;
        QTest::newRow("16-colour png to 4 bits") << QByteArray("png") << 16 << 4;
        QTest::newRow("17-colour png to 8 bits") << QByteArray("png") << 17 << 8;
        QTest::newRow("200-colour gif to 8 bits") << QByteArray("gif") << 200 << 8;
        QTest::newRow("2-colour gif to 1 bit") << QByteArray("gif") << 2 << 1;
        QTest::newRow("16-colour bmp to 4 bits") << QByteArray("bmp") << 16 << 4;
        QTest::newRow("256-colour bmp to 8 bits") << QByteArray("bmp") << 256 << 8;
        QTest::newRow("2-colour tiff to 1 bit") << QByteArray("tiff") << 2 << 1;
    }
    void palettePicturesKeepTheirColours()
    {
        QFETCH(QByteArray, format);
        QFETCH(int, colours);
        QFETCH(int, bits);
        const int w = 21, h = 9;
        QImage img(w, h, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.append(qRgb((i * 37) & 0xFF, (i * 91 + 20) & 0xFF, 255 - i));
        img.setColorTable(table);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, uint((x * 7 + y * 3) % colours));
        img.setPixel(0, 0, 1); // top-left differs from bottom-left
        img.setPixel(0, h - 1, 0);
        const QString path = put(QStringLiteral("p.") + QString::fromLatin1(format), encoded(img, format));
        Opened o;
        OpenDib(&o.dib, path, DibFormatAuto, nullptr);
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(DibBitCount(o.dib), bits);
        QCOMPARE(o.dib.HasPalette, BYTE(1));
        QCOMPARE(int(o.dib.Info->biClrUsed), PaletteSize(bits));
        QCOMPARE(int(o.dib.LogPalette.palNumEntries), PaletteSize(bits));
        QVERIFY(o.dib.Palette);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                QVERIFY2(dibColour(o.dib, x, y) == img.pixel(x, y),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        const std::uint32_t idx = getpixel(o.dib, 5, 3);
        const PALETTEENTRY &pe = o.dib.LogPalette.palPalEntry[idx];
        QCOMPARE(qRgb(pe.peRed, pe.peGreen, pe.peBlue), dibColour(o.dib, 5, 3));
    }

    void alphaIsComposedOverWhite()
    {
        QImage img(4, 1, QImage::Format_ARGB32);
        img.setPixel(0, 0, qRgba(255, 0, 0, 255));
        img.setPixel(1, 0, qRgba(0, 0, 0, 0));
        img.setPixel(2, 0, qRgba(255, 0, 0, 128));
        img.setPixel(3, 0, qRgba(0, 0, 255, 64));
        for (const char *format : {"png", "tiff"}) {
            const QString path = put(QStringLiteral("alpha.") + QLatin1String(format), encoded(img, format));
            Opened o;
            OpenDib(&o.dib, path, DibFormatAuto, nullptr);
            QVERIFY2(o.dib.Bits, format);
            QCOMPARE(DibBitCount(o.dib), 24);
            QVERIFY(near(dibColour(o.dib, 0, 0), qRgb(255, 0, 0), 1));
            QVERIFY(near(dibColour(o.dib, 1, 0), qRgb(255, 255, 255), 1));
            QVERIFY(near(dibColour(o.dib, 2, 0), qRgb(255, 127, 127), 2));
            QVERIFY(near(dibColour(o.dib, 3, 0), qRgb(191, 191, 255), 2));
        }
    }

    void sixteenBitChannelsAndGreyAreRead_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("16-bit rgba png") << int(QImage::Format_RGBA64);
        QTest::newRow("8-bit grey png") << int(QImage::Format_Grayscale8);
        QTest::newRow("16-bit grey png") << int(QImage::Format_Grayscale16);
    }
    void sixteenBitChannelsAndGreyAreRead()
    {
        QFETCH(int, format);
        // Tall enough for several conversion bands.
        const QImage pattern = cornerPattern(19, 75, QImage::Format(format));
        const QString path = put(QStringLiteral("deep.png"), encoded(pattern, "png"));
        Opened o;
        OpenDib(&o.dib, path, DibFormatPng, nullptr);
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(DibBitCount(o.dib), 24);
        for (int y : {0, 31, 32, 33, 74})
            for (int x : {0, 9, 18})
                QVERIFY2(near(dibColour(o.dib, x, y), pattern.pixel(x, y), 1),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    void largePictureKeepsEveryRow_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("png") << QByteArray("png");
        QTest::newRow("jpeg") << QByteArray("jpeg");
    }
    void largePictureKeepsEveryRow()
    {
        // Big enough for the huge-page block; rows and columns are tagged so a
        // row landing in the wrong place or a shifted pixel shows.
        QFETCH(QByteArray, format);
        const int w = 2100, h = 1201;
        QImage img(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < w; ++x)
                row[x] = qRgb((y / 8) & 0xFF, (x / 16) & 0xFF, 200 - ((y / 256) * 40));
        }
        const QString path = put(QStringLiteral("large.") + QString::fromLatin1(format), encoded(img, format, 97));
        Opened o;
        OpenDib(&o.dib, path, DibFormatAuto, nullptr);
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(DibBitCount(o.dib), 24);
        QCOMPARE(o.dib.Info->biSizeImage, DibRowBytes(w, 24) * h);
        const int tolerance = format == "png" ? 0 : 6;
        for (int y : {0, 1, 7, 8, 600, 601, 1100, 1199, 1200})
            for (int x : {4, 5, 1050, 2095})
                QVERIFY2(near(dibColour(o.dib, x, y), img.pixel(x, y), tolerance),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    void badFilesFailWithText_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        const QImage pattern = cornerPattern(64, 48);
        QImage indexed = pattern.convertToFormat(QImage::Format_Indexed8);
        const struct {
            const char *format;
            const char *ext;
            int code;
            QImage img;
        } formats[] = {{"png", "png", DibFormatPng, pattern},   {"jpeg", "jpg", DibFormatJpg, pattern},
                       {"bmp", "bmp", DibFormatBmp, pattern},   {"bmp", "rle", DibFormatRle, indexed},
                       {"gif", "gif", DibFormatGif, indexed},   {"tiff", "tif", DibFormatTif, pattern},
                       {"tga", "tga", DibFormatTga, pattern},   {"tga-rle-bottom-up", "tga", DibFormatTga, pattern}};
        for (const auto &f : formats) {
            const QByteArray full = encoded(f.img, f.format, 90);
            const QString name = QStringLiteral("bad.") + QLatin1String(f.ext);
            for (int code : {f.code, int(DibFormatAuto)}) {
                const QByteArray tag = QByteArray(f.ext) + (code ? " by code" : " by content");
                QTest::newRow(tag + ": empty") << QByteArray() << name << code;
                for (double cut : {0.02, 0.3, 0.6, 0.9})
                    QTest::newRow(tag + ": cut at " + QByteArray::number(cut))
                        << full.left(int(full.size() * cut)) << name << code;
                QByteArray garbage(4000, '\0');
                for (int i = 0; i < garbage.size(); ++i)
                    garbage[i] = char((i * 7919 + 13) % 251);
                QTest::newRow(tag + ": garbage") << garbage << name << code;
            }
        }
    }
    void badFilesFailWithText()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, name);
        QFETCH(int, code);
        const QString path = put(name, data);
        Opened o;
        OpenDib(&o.dib, path, code, nullptr);
        QVERIFY(!o.dib.Bits);
        QVERIFY(DibErrorText(o.dib).size() > 5);
    }

    // Any cut before the end-of-picture code loses pixels: damaged, never some
    // other picture.
    void truncatedRunLengthFilesAreDamaged_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("RLE8") << 8;
        QTest::newRow("RLE4") << 4;
    }
    void truncatedRunLengthFilesAreDamaged()
    {
        QFETCH(int, bits);
        const int w = 37, h = 9, colours = bits == 8 ? 40 : 16;
        const auto index = [&](int x, int y) { return x < 12 ? (x * 7 + y * 3) % colours : (x / 6 + y) % colours; };
        const QByteArray full = rleBmp(w, h, bits, colours, rleCodes(w, h, bits, index));
        Opened whole;
        OpenDib(&whole.dib, put(QStringLiteral("whole.bmp"), full), DibFormatBmp, nullptr);
        QVERIFY2(whole.dib.Bits, qPrintable(DibErrorText(whole.dib)));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                QCOMPARE(int(getpixel(whole.dib, x, y)), index(x, y));
        QStringList decoded;
        for (int cut = 2; cut < full.size(); ++cut) { // from the signature on
            Opened o;
            OpenDib(&o.dib, put(QStringLiteral("cut.bmp"), full.left(cut)), DibFormatBmp, nullptr);
            if (DibErrorText(o.dib) != DibDecode::errorText(DibDecode::Error::Damaged))
                decoded << QString::number(cut);
        }
        QVERIFY2(decoded.isEmpty(), qPrintable(QStringLiteral("not damaged when cut to ") + decoded.join(u',')));
    }

    // Two bytes of codes paint at most 255 pixels: a large canvas the codes could
    // not come near to filling is refused before it is allocated.
    void runLengthCanvasWithinReachOfItsCodes_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("refused");
        QTest::newRow("RLE8, 16000 x 16000, one run and the end")
            << rleBmp(16000, 16000, 8, 2, QByteArray("\xFF\x01\x00\x01", 4)) << true;
        QByteArray deltas;
        for (int i = 0; i < 64; ++i)
            deltas += QByteArray("\x00\x02\x00\xFF", 4);
        QTest::newRow("RLE4, 16000 x 16000, crossed by deltas") << rleBmp(16000, 16000, 4, 2, deltas) << true;
        QByteArray filled;
        for (int y = 0; y < 4000; ++y) {
            for (int x = 0; x < 5000; x += 250)
                filled += QByteArray("\xFA\x01", 2);
            filled += QByteArray("\x00\x00", 2);
        }
        QTest::newRow("RLE8, 5000 x 4000, filled by its runs") << rleBmp(5000, 4000, 8, 2, filled) << false;
    }
    void runLengthCanvasWithinReachOfItsCodes()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, refused);
        Opened o;
        OpenDib(&o.dib, put(QStringLiteral("canvas.bmp"), data), DibFormatBmp, nullptr);
        if (refused)
            QCOMPARE(DibErrorText(o.dib), DibDecode::errorText(DibDecode::Error::TooLarge));
        else
            QVERIFY2(o.dib.Bits && getpixel(o.dib, 4999, 3999) == 1, qPrintable(DibErrorText(o.dib)));
    }

    void missingFileFails()
    {
        Opened o;
        OpenDib(&o.dib, m_dir.filePath(QStringLiteral("nothing-here.png")), DibFormatPng, nullptr);
        QVERIFY(!o.dib.Bits);
        QCOMPARE(DibErrorText(o.dib), QStringLiteral("The file could not be opened."));
    }

    void progressReachesOwnerAndEndsAtZero()
    {
        const QString path = put(QStringLiteral("progress.png"), encoded(cornerPattern(50, 300), "png"));
        ProgressOwner owner;
        Opened o;
        OpenDib(&o.dib, path, DibFormatPng, owner.report());
        QVERIFY(o.dib.Bits);
        QVERIFY(owner.percents.size() >= 10);
        QVERIFY(std::find(owner.percents.begin(), owner.percents.end(), 100) != owner.percents.end());
        QCOMPARE(owner.percents.back(), 0);
        QVERIFY(std::is_sorted(owner.percents.begin(), owner.percents.end() - 1));

        owner.percents.clear();
        Opened failed;
        OpenDib(&failed.dib, put(QStringLiteral("progress-bad.png"), "nonsense"), DibFormatPng, owner.report());
        QCOMPARE(owner.percents, std::vector<long long>{0});
    }

    void formatCodeFromFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::newRow("upper case") << "/p/A.JPG" << int(DibFormatJpg);
        QTest::newRow("lower case") << "/p/a.lbm" << int(DibFormatLbm);
        QTest::newRow("last dot counts") << "/p/a.png.pcx" << int(DibFormatPcx);
        QTest::newRow("jpeg spelled out") << "/p/a.jpeg" << int(DibFormatJpg);
        QTest::newRow("no extension") << "/p/readme" << int(DibFormatAuto);
        QTest::newRow("non-ascii letter") << QStringLiteral("/p/a.p\u00cdx") << int(DibFormatAuto);
    }
    void formatCodeFromFileName()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QCOMPARE(DibFormatForFileName(name), code);
    }
};

SGA_TEST(TestOpenDib)
#include "tst_decode.moc"
