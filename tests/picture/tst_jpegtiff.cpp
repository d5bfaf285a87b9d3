#include "DecodeFixtures.h"
#include "common/TestRegistry.h"
#include "picture/JpegDecoder.h"
#include "picture/OpenDib.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

#include <jpeglib.h>
#include <tiffio.h>

using namespace Fixtures;

namespace {

struct Opened {
    DIB dib;
    ~Opened() { deldib(&dib); }
};

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

QByteArray qtEncoded(const QImage &img, const char *format, bool progressive = false)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(img) ? data : QByteArray();
}

// CMYK or YCCK JPEG from CMYK samples as the library takes them (Adobe's
// inverted convention: 255 = no ink).
QByteArray cmykJpeg(int w, int h, const std::function<QRgb(int, int)> &inverted, J_COLOR_SPACE stored)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char *mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_colorspace(&c, stored);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(w) * 4);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < w; ++x) {
            const QRgb v = inverted(x, int(c.next_scanline));
            row[std::size_t(x) * 4 + 0] = JSAMPLE(qRed(v));
            row[std::size_t(x) * 4 + 1] = JSAMPLE(qGreen(v));
            row[std::size_t(x) * 4 + 2] = JSAMPLE(qBlue(v));
            row[std::size_t(x) * 4 + 3] = JSAMPLE(qAlpha(v));
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char *>(mem), qsizetype(size));
    std::free(mem);
    return out;
}

// TIFF layouts written by libtiff itself. Samples per pixel come from the
// kind; sample(x, y, s) gives each stored sample.
struct Tiff {
    int width = 37, height = 21;
    uint16_t photometric = PHOTOMETRIC_RGB, bits = 8, samples = 3, planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE, extra = 0; // extra: EXTRASAMPLE_* of a last alpha sample
    int tile = 0;                                       // tile side, 0 = strips
    std::vector<uint16_t> colourMap;                    // r, g, b tables one after another
    std::function<unsigned(int, int, int)> sample;

    bool write(const QString &path) const
    {
        TIFF *t = TIFFOpen(path.toLocal8Bit().constData(), "w");
        if (!t)
            return false;
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, uint32_t(width));
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, uint32_t(height));
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, planar);
        TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
        if (extra) {
            const uint16_t e[1] = {extra};
            TIFFSetField(t, TIFFTAG_EXTRASAMPLES, uint16_t(1), e);
        }
        if (!colourMap.empty()) {
            const std::size_t n = colourMap.size() / 3;
            TIFFSetField(t, TIFFTAG_COLORMAP, &colourMap[0], &colourMap[n], &colourMap[2 * n]);
        }
        const int planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
        const int perPixel = planar == PLANARCONFIG_SEPARATE ? 1 : samples;
        // Packs a run of pixels of one plane, MSB first.
        auto pack = [&](int x0, int y, int n, int plane, uint8_t *d) {
            std::size_t bit = 0;
            for (int x = x0; x < x0 + n; ++x)
                for (int s = 0; s < perPixel; ++s, bit += bits) {
                    const unsigned v = (x < width && y < height) ? sample(x, y, plane + s) : 0;
                    if (bits == 16) {
                        d[bit / 8] = uint8_t(v);
                        d[bit / 8 + 1] = uint8_t(v >> 8);
                    } else {
                        d[bit / 8] = uint8_t(d[bit / 8] | (v << (8 - bits - bit % 8)));
                    }
                }
        };
        bool ok = true;
        if (tile) {
            TIFFSetField(t, TIFFTAG_TILEWIDTH, uint32_t(tile));
            TIFFSetField(t, TIFFTAG_TILELENGTH, uint32_t(tile));
            std::vector<uint8_t> buf(std::size_t(TIFFTileSize(t)));
            const std::size_t rowBytes = std::size_t(TIFFTileRowSize(t));
            for (int p = 0; p < planes; ++p)
                for (int ty = 0; ty < height; ty += tile)
                    for (int tx = 0; tx < width; tx += tile) {
                        std::fill(buf.begin(), buf.end(), 0);
                        for (int r = 0; r < tile; ++r)
                            pack(tx, ty + r, tile, p, &buf[r * rowBytes]);
                        ok = ok && TIFFWriteTile(t, buf.data(), uint32_t(tx), uint32_t(ty), 0, uint16_t(p)) >= 0;
                    }
        } else {
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, uint32_t(8));
            std::vector<uint8_t> line(std::size_t(TIFFScanlineSize(t)));
            for (int p = 0; p < planes; ++p)
                for (int y = 0; y < height; ++y) {
                    std::fill(line.begin(), line.end(), 0);
                    pack(0, y, width, p, line.data());
                    ok = ok && TIFFWriteScanline(t, line.data(), uint32_t(y), uint16_t(p)) >= 0;
                }
        }
        TIFFClose(t);
        return ok;
    }
};

QRgb rgbAt(int x, int y) { return qRgb((x * 7) & 0xFF, (y * 11) & 0xFF, (x * y + 40) & 0xFF); }

std::vector<uint16_t> fiveColourMap(int entries)
{
    std::vector<uint16_t> m(std::size_t(entries) * 3, 0);
    for (int i = 0; i < 5; ++i) {
        m[std::size_t(i)] = uint16_t((i * 60) * 257);
        m[std::size_t(entries + i)] = uint16_t((250 - i * 50) * 257);
        m[std::size_t(2 * entries + i)] = uint16_t((i * 31 + 7) * 257);
    }
    return m;
}

// The JPEG of a picture with its scan cut to half and the end marker kept.
QByteArray scanCutShort(const QByteArray &jpeg)
{
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype scan = sos + 2 + ((quint8(jpeg[sos + 2]) << 8) | quint8(jpeg[sos + 3]));
    return jpeg.left(scan + (jpeg.size() - scan) / 2) + QByteArray("\xFF\xD9", 2);
}

// A JPEG of a few hundred bytes whose frame header claims 16384 x 16384.
QByteArray tinyJpegClaimingHuge()
{
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(128);
    QByteArray j = qtEncoded(grey, "jpeg");
    const qsizetype sof = j.indexOf(QByteArray("\xFF\xC0", 2));
    for (int at : {5, 7}) {
        j[sof + at] = char(0x40);
        j[sof + at + 1] = char(0x00);
    }
    return j;
}

QByteArray gifClaiming(int w, int h, int frameW, int frameH)
{
    QByteArray g("GIF89a");
    auto le16 = [&g](int v) { g.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    le16(w);
    le16(h);
    g.append(3, '\0');
    g.append(char(0x2C));
    le16(0);
    le16(0);
    le16(frameW);
    le16(frameH);
    g.append('\0').append(char(2)).append(char(8)).append(8, char(0x55)).append('\0').append(char(0x3B));
    return g;
}

quint32 le32(const QByteArray &a, qsizetype at)
{
    return quint8(a[at]) | quint8(a[at + 1]) << 8 | quint8(a[at + 2]) << 16 | quint32(quint8(a[at + 3])) << 24;
}

// Where a little-endian TIFF's colour map lies.
qsizetype colourMapOffset(const QByteArray &t)
{
    const quint32 ifd = le32(t, 4);
    const int n = quint8(t[ifd]) | quint8(t[ifd + 1]) << 8;
    for (int i = 0; i < n; ++i) {
        const qsizetype e = ifd + 2 + 12 * i;
        if ((quint8(t[e]) | quint8(t[e + 1]) << 8) == TIFFTAG_COLORMAP)
            return le32(t, e + 8);
    }
    return -1;
}

// A little-endian TIFF with one tag of its first directory set to a LONG.
QByteArray withLongTag(QByteArray t, int tag, quint32 value)
{
    const quint32 ifd = le32(t, 4);
    const int n = quint8(t[ifd]) | quint8(t[ifd + 1]) << 8;
    for (int i = 0; i < n; ++i) {
        const qsizetype e = ifd + 2 + 12 * i;
        if ((quint8(t[e]) | quint8(t[e + 1]) << 8) == tag) {
            const char entry[10] = {4, 0, 1, 0, 0, 0, char(value), char(value >> 8), char(value >> 16),
                                    char(value >> 24)};
            t.replace(e + 2, 10, QByteArray(entry, 10));
        }
    }
    return t;
}

} // namespace

class TestJpegTiff : public QObject
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
    void badFilesFailWithTheirText_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        const QString damaged = QStringLiteral("The file is damaged or truncated.");
        const QString tooLarge = QStringLiteral("The picture is too large to be loaded.");
        const QString notA = QStringLiteral("The file is not a picture in the %1 format.");
        const QImage pattern = cornerPattern(64, 48);

        QTest::newRow("tiny jpeg claiming 16384 x 16384") << tinyJpegClaimingHuge() << "h.jpg" << 0 << damaged;
        QTest::newRow("jpeg scan cut short, end marker kept")
            << scanCutShort(qtEncoded(pattern, "jpeg")) << "s.jpg" << 0 << damaged;
        QTest::newRow("35-byte gif claiming 16000 x 16000")
            << gifClaiming(16000, 16000, 16000, 16000) << "h.gif" << 0 << damaged;
        QTest::newRow("gif frame of 16000 x 16000 on a small screen")
            << gifClaiming(10, 10, 16000, 16000) << "f.gif" << 0 << damaged;
        QTest::newRow("gif at exactly the pixel limit")
            << gifClaiming(16384, 16384, 16384, 16384) << "l.gif" << 0 << tooLarge;

        const QByteArray dib = qtEncoded(pattern, "bmp").mid(14);
        QTest::newRow("headerless dib cut short") << dib.left(dib.size() * 2 / 3) << "c.dib" << 4 << damaged;

        Tiff palette;
        palette.photometric = PHOTOMETRIC_PALETTE;
        palette.samples = 1;
        palette.colourMap = fiveColourMap(256);
        palette.sample = [](int x, int y, int) { return unsigned(x + y) % 5; };
        const QString full = m_dir.filePath(QStringLiteral("palette-full.tif"));
        QVERIFY(palette.write(full));
        const QByteArray tiff = readFile(full);
        const qsizetype map = colourMapOffset(tiff);
        QVERIFY(map > 8 && map < tiff.size());
        QTest::newRow("palette tiff cut before its colour map") << tiff.left(map) << "p.tif" << 0 << damaged;
        palette.tile = 16;
        const QString tiled = m_dir.filePath(QStringLiteral("palette-tiled.tif"));
        QVERIFY(palette.write(tiled));
        const QByteArray huge = withLongTag(withLongTag(readFile(tiled), TIFFTAG_TILEWIDTH, 65536), TIFFTAG_TILELENGTH,
                                            quint32(1) << 30);
        QTest::newRow("palette tiff declaring a tile of 65536 x 2^30") << huge << "t.tif" << 0 << damaged;

        const QByteArray text = "Just some words, no picture at all.\n";
        QTest::newRow("text named .jpg") << text << "t.jpg" << 0 << notA.arg(QStringLiteral("JPEG"));
        QTest::newRow("text named .tif") << text << "t.tif" << 0 << notA.arg(QStringLiteral("TIFF"));
        QTest::newRow("text opened as dib") << text << "t" << 4 << notA.arg(QStringLiteral("DIB"));
        QTest::newRow("text opened as pcx") << text << "t" << 10 << notA.arg(QStringLiteral("PCX"));
        QTest::newRow("tga opened as jpeg") << tga(pattern, false, true) << "t.tga" << 8 << notA.arg(QStringLiteral("JPEG"));
    }
    void badFilesFailWithTheirText()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, name);
        QFETCH(int, code);
        QFETCH(QString, text);
        Opened o;
        OpenDib(&o.dib, put(name, data), code, nullptr);
        QVERIFY(!o.dib.Bits);
        QCOMPARE(DibErrorText(o.dib), text);
    }

    void layoutsDecodeExactly_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("bits");
        QTest::newRow("rgb, uncompressed 16 x 16 tiles") << 0 << 24;
        QTest::newRow("rgb, lzw strips") << 1 << 24;
        QTest::newRow("rgb, 16 bits per sample") << 2 << 24;
        QTest::newRow("palette of 5 colours, 8-bit samples") << 3 << 4;
        QTest::newRow("palette of 5 colours, 4-bit tiles") << 4 << 4;
        QTest::newRow("bilevel, min-is-white") << 5 << 1;
        QTest::newRow("grey with planar associated alpha") << 6 << 24;
        QTest::newRow("headerless dib") << 7 << 24;
    }
    void layoutsDecodeExactly()
    {
        QFETCH(int, kind);
        QFETCH(int, bits);
        Tiff t;
        t.sample = [](int x, int y, int s) {
            const QRgb c = rgbAt(x, y);
            return unsigned(s == 0 ? qRed(c) : s == 1 ? qGreen(c) : qBlue(c));
        };
        std::function<QRgb(int, int)> expected = rgbAt;
        const std::vector<uint16_t> map = fiveColourMap(kind == 4 ? 16 : 256);
        const auto mapped = [&map](int i) {
            const std::size_t n = map.size() / 3;
            return qRgb(map[std::size_t(i)] >> 8, map[n + std::size_t(i)] >> 8, map[2 * n + std::size_t(i)] >> 8);
        };
        QString path = m_dir.filePath(QStringLiteral("layout.tif"));
        switch (kind) {
        case 0:
            t.tile = 16;
            break;
        case 1:
            t.compression = COMPRESSION_LZW;
            break;
        case 2:
            t.bits = 16;
            t.sample = [](int x, int y, int s) {
                const QRgb c = rgbAt(x, y);
                return unsigned(s == 0 ? qRed(c) : s == 1 ? qGreen(c) : qBlue(c)) * 257u;
            };
            break;
        case 3:
        case 4:
            t.photometric = PHOTOMETRIC_PALETTE;
            t.samples = 1;
            t.bits = kind == 4 ? 4 : 8;
            t.tile = kind == 4 ? 16 : 0;
            t.colourMap = map;
            t.sample = [](int x, int y, int) { return unsigned(x * 3 + y) % 5; };
            expected = [&mapped](int x, int y) { return mapped((x * 3 + y) % 5); };
            break;
        case 5:
            t.photometric = PHOTOMETRIC_MINISWHITE;
            t.samples = 1;
            t.bits = 1;
            t.sample = [](int x, int y, int) { return unsigned((x ^ y) & 1); };
            expected = [](int x, int y) { return ((x ^ y) & 1) ? qRgb(0, 0, 0) : qRgb(255, 255, 255); };
            break;
        case 6:
            // Grey 200 at alpha a, stored premultiplied: over white gives 200a/255 + 255 - a.
            t.photometric = PHOTOMETRIC_MINISBLACK;
            t.samples = 2;
            t.planar = PLANARCONFIG_SEPARATE;
            t.extra = EXTRASAMPLE_ASSOCALPHA;
            t.sample = [](int x, int, int s) { return s == 0 ? unsigned(200 * (x * 6) / 255) : unsigned(x * 6); };
            expected = [](int x, int) {
                const int v = std::min(255, 200 * (x * 6) / 255 + 255 - x * 6);
                return qRgb(v, v, v);
            };
            break;
        case 7: {
            QImage img(37, 21, QImage::Format_RGB32);
            for (int y = 0; y < 21; ++y)
                for (int x = 0; x < 37; ++x)
                    img.setPixel(x, y, rgbAt(x, y));
            path = put(QStringLiteral("whole.dib"), qtEncoded(img, "bmp").mid(14));
            break;
        }
        }
        if (kind != 7)
            QVERIFY(t.write(path));
        Opened o;
        OpenDib(&o.dib, path, kind == 7 ? 4 : 0, nullptr);
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(DibBitCount(o.dib), bits);
        QCOMPARE(QSize(DibWidth(o.dib), DibHeight(o.dib)), QSize(37, 21));
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 37; ++x)
                QVERIFY2(near(dibColour(o.dib, x, y), expected(x, y), kind == 6 ? 1 : 0),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    void jpegColourSpaces_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("baseline") << 0;
        QTest::newRow("progressive") << 1;
        QTest::newRow("grey") << 2;
        QTest::newRow("adobe cmyk") << 3;
        QTest::newRow("adobe ycck") << 4;
    }
    void jpegColourSpaces()
    {
        QFETCH(int, kind);
        const int w = 64, h = 48;
        QByteArray data;
        QImage reference;
        if (kind <= 2) {
            const QImage pattern = cornerPattern(w, h, kind == 2 ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
            data = qtEncoded(pattern, "jpeg", kind == 1);
            reference = QImage::fromData(data, "jpeg").convertToFormat(QImage::Format_RGB32);
        } else {
            // Cyan, magenta, yellow and black quarters in inverted ink values.
            const auto ink = [w, h](int x, int y) {
                const int q = (x < w / 2 ? 0 : 1) + (y < h / 2 ? 0 : 2);
                return qRgba(q == 0 ? 0 : 255, q == 1 ? 0 : 255, q == 2 ? 0 : 255, q == 3 ? 0 : 255);
            };
            data = cmykJpeg(w, h, ink, kind == 3 ? JCS_CMYK : JCS_YCCK);
            reference = QImage(w, h, QImage::Format_RGB32);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int q = (x < w / 2 ? 0 : 1) + (y < h / 2 ? 0 : 2);
                    const QRgb quarter[4] = {qRgb(0, 255, 255), qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(0, 0, 0)};
                    reference.setPixel(x, y, quarter[q]);
                }
        }
        ProgressOwner owner;
        Opened o;
        OpenDib(&o.dib, put(QStringLiteral("c.jpg"), data), DibFormatJpg, owner.report());
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(DibBitCount(o.dib), 24);
        QCOMPARE(owner.percents.back(), 0);
        QVERIFY(std::find(owner.percents.begin(), owner.percents.end(), 100) != owner.percents.end());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Away from the quarters' edges, where ringing is expected.
                if (kind > 2 && (std::abs(x - w / 2) < 8 || std::abs(y - h / 2) < 8))
                    continue;
                QVERIFY2(near(dibColour(o.dib, x, y), reference.pixel(x, y), kind > 2 ? 6 : 1),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
    }

    void scaledJpegDecoding_data()
    {
        QTest::addColumn<QSize>("atLeast");
        QTest::addColumn<QSize>("size");
        QTest::newRow("full size asked") << QSize(0, 0) << QSize(100, 60);
        QTest::newRow("eighth, sides rounded up") << QSize(13, 8) << QSize(13, 8);
        QTest::newRow("one pixel more needs a quarter") << QSize(14, 8) << QSize(25, 15);
        QTest::newRow("exactly half") << QSize(50, 30) << QSize(50, 30);
        QTest::newRow("height decides") << QSize(1, 31) << QSize(100, 60);
        QTest::newRow("more than the picture") << QSize(400, 400) << QSize(100, 60);
    }
    void scaledJpegDecoding()
    {
        QFETCH(QSize, atLeast);
        QFETCH(QSize, size);
        const QImage pattern = cornerPattern(100, 60);
        const QString path = put(QStringLiteral("scaled.jpg"), qtEncoded(pattern, "jpeg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        JpegHeader header;
        QCOMPARE(ReadJpegHeader(file, &header), DibDecode::Error::None);
        QCOMPARE(QSize(header.width, header.height), QSize(100, 60));
        Opened o;
        QCOMPARE(DecodeJpegFile(path, atLeast.width(), atLeast.height(), &o.dib), DibDecode::Error::None);
        QCOMPARE(QSize(DibWidth(o.dib), DibHeight(o.dib)), size);
        // The corners keep their colours at every scale.
        const int w = size.width() - 1, h = size.height() - 1;
        QVERIFY(near(dibColour(o.dib, 0, 0), qRgb(255, 0, 0), 40));
        QVERIFY(near(dibColour(o.dib, w, 0), qRgb(0, 255, 0), 40));
        QVERIFY(near(dibColour(o.dib, 0, h), qRgb(0, 0, 255), 40));
        QVERIFY(near(dibColour(o.dib, w, h), qRgb(255, 255, 255), 40));
    }
};

SGA_TEST(TestJpegTiff)
#include "tst_jpegtiff.moc"
