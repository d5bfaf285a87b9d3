#include "DecodeFixtures.h"
#include "common/TestRegistry.h"
#include "picture/OpenDib.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Fixtures;

namespace {

using IndexFn = std::function<quint32(int x, int y)>;

QRgb paletteColour(int i) { return qRgb((i * 53 + 7) & 0xFF, (i * 101 + 31) & 0xFF, (255 - i * 29) & 0xFF); }

QByteArray rgbTriples(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const QRgb c = paletteColour(i);
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    return out;
}

// A PCX of the given layout whose pixel (x, y) is index(x, y) (or an RGB value
// for 3 planes of 8 bits).
Pcx makePcx(int w, int h, int bpp, int planes, const IndexFn &index, bool rle = true)
{
    Pcx p;
    p.width = w;
    p.height = h;
    p.bitsPerPixel = bpp;
    p.planes = planes;
    p.rle = rle;
    p.bytesPerLine = ((w * bpp + 15) / 16) * 2;
    p.headerPalette = rgbTriples(16);
    if (bpp == 8 && planes == 1)
        p.trailerPalette = QByteArray(1, '\x0C') + rgbTriples(256);
    for (int y = 0; y < h; ++y) {
        QByteArray line(p.bytesPerLine * planes, '\0');
        for (int x = 0; x < w; ++x) {
            const quint32 v = index(x, y);
            if (planes == 3 && bpp == 8) {
                line[x] = char(v >> 16);
                line[p.bytesPerLine + x] = char(v >> 8);
                line[2 * p.bytesPerLine + x] = char(v);
            } else if (bpp == 1) {
                for (int pl = 0; pl < planes; ++pl)
                    if ((v >> pl) & 1)
                        line[pl * p.bytesPerLine + x / 8] = char(line[pl * p.bytesPerLine + x / 8] | (0x80 >> (x % 8)));
            } else {
                const int perByte = 8 / bpp;
                const int shift = 8 - bpp * (x % perByte + 1);
                line[x / perByte] = char(line[x / perByte] | (v << shift));
            }
        }
        p.scanLines.push_back(line);
    }
    return p;
}

Iff makeIff(int w, int h, int planes, const IndexFn &index, bool packed, bool mask = false, int colours = 0)
{
    Iff f;
    f.width = w;
    f.height = h;
    f.planes = planes;
    f.masking = mask ? 1 : 0;
    f.compression = packed ? 1 : 0;
    if (planes <= 8)
        f.cmap = rgbTriples(colours ? colours : (1 << planes));
    const int planeBytes = ((w + 15) / 16) * 2;
    for (int y = 0; y < h; ++y) {
        std::vector<quint32> pixels;
        for (int x = 0; x < w; ++x)
            pixels.push_back(index(x, y));
        QByteArray row = ilbmRow(pixels, planes);
        if (mask)
            row += QByteArray(planeBytes, '\xFF');
        for (int p = 0; p < planes + (mask ? 1 : 0); ++p) {
            const QByteArray planeRow = row.mid(p * planeBytes, planeBytes);
            f.body += packed ? byteRun1(planeRow) : planeRow;
        }
    }
    return f;
}

Iff makePbm(int w, int h, const IndexFn &index, bool packed)
{
    Iff f;
    f.formType = "PBM ";
    f.width = w;
    f.height = h;
    f.planes = 8;
    f.compression = packed ? 1 : 0;
    f.cmap = rgbTriples(256);
    for (int y = 0; y < h; ++y) {
        QByteArray row(w + (w & 1), '\0');
        for (int x = 0; x < w; ++x)
            row[x] = char(index(x, y));
        f.body += packed ? byteRun1(row) : row;
    }
    return f;
}

// Index patterns: runs (good for compression) with a distinct top-left pixel.
IndexFn stripes(int colours)
{
    return [colours](int x, int y) { return quint32(x == 0 && y == 0 ? 1 : ((x / 3 + y) % colours)); };
}

QRgb rgbOf(quint32 v) { return qRgb(int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF); }

struct Opened {
    DIB dib;
    ~Opened() { deldib(&dib); }
};

} // namespace

class TestOwnDecoders : public QObject
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

    // Opens data and compares every pixel with expected(x, y).
    void expectPicture(const QByteArray &data, const QString &name, int code, int w, int h, int bits,
                       const std::function<QRgb(int, int)> &expected)
    {
        Opened o;
        OpenDib(&o.dib, put(name, data), code, nullptr);
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(DibWidth(o.dib), w);
        QCOMPARE(DibHeight(o.dib), h);
        QCOMPARE(DibBitCount(o.dib), bits);
        QCOMPARE(o.dib.HasPalette, BYTE(bits <= 8 ? 1 : 0));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (dibColour(o.dib, x, y) != expected(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(dibColour(o.dib, x, y), 0, 16)
                                         .arg(expected(x, y), 0, 16)));
    }

    void expectFailure(const QByteArray &data, const QString &name, int code)
    {
        Opened o;
        OpenDib(&o.dib, put(name, data), code, nullptr);
        QVERIFY(!o.dib.Bits);
        QVERIFY2(DibErrorText(o.dib).size() > 5, qPrintable(DibErrorText(o.dib)));
    }

private slots:
    void pcxLayouts_data()
    {
        QTest::addColumn<int>("bpp");
        QTest::addColumn<int>("planes");
        QTest::addColumn<bool>("rle");
        QTest::addColumn<int>("dibBits");
        QTest::newRow("monochrome, 1 plane of 1 bit") << 1 << 1 << true << 1;
        QTest::newRow("16 colours as 4 planes of 1 bit") << 1 << 4 << true << 4;
        QTest::newRow("8 colours as 3 planes of 1 bit") << 1 << 3 << true << 4;
        QTest::newRow("16 colours as 1 plane of 4 bits") << 4 << 1 << true << 4;
        QTest::newRow("4 colours as 1 plane of 2 bits") << 2 << 1 << true << 4;
        QTest::newRow("256 colours, palette at the end") << 8 << 1 << true << 8;
        QTest::newRow("256 colours, not compressed") << 8 << 1 << false << 8;
        QTest::newRow("true colour as 3 planes of 8 bits") << 8 << 3 << true << 24;
    }
    void pcxLayouts()
    {
        QFETCH(int, bpp);
        QFETCH(int, planes);
        QFETCH(bool, rle);
        QFETCH(int, dibBits);
        const int w = 37, h = 11; // odd width: padding in every layout
        const int colours = planes == 3 && bpp == 8 ? 0 : 1 << (bpp * planes);
        const IndexFn index = colours ? stripes(colours) : IndexFn([](int x, int y) {
            return quint32((x * 6) << 16 | (y * 20) << 8 | (x == 0 && y == 0 ? 255 : 90));
        });
        const Pcx pcx = makePcx(w, h, bpp, planes, index, rle);
        expectPicture(pcx.encode(), QStringLiteral("p.pcx"), DibFormatPcx, w, h, dibBits, [&](int x, int y) {
            const quint32 v = index(x, y);
            if (!colours)
                return rgbOf(v);
            if (colours == 2)
                return v ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            return paletteColour(int(v));
        });
    }

    void pcxEightBitWithoutPaletteIsGrey()
    {
        Pcx pcx = makePcx(8, 2, 8, 1, [](int x, int) { return quint32(x * 30); });
        pcx.trailerPalette.clear();
        expectPicture(pcx.encode(), QStringLiteral("grey.pcx"), DibFormatAuto, 8, 2, 8,
                      [](int x, int) { return qRgb(x * 30, x * 30, x * 30); });
    }

    void pcxRunsMayContinueIntoTheNextLine()
    {
        // One run of 2 x 6 bytes covers both scan lines of a 12 x 2 picture.
        QByteArray data = makePcx(12, 2, 8, 1, [](int, int) { return 5u; }).encode();
        QByteArray body;
        body.append(char(0xC0 | 24)).append(char(5));
        data = data.left(128) + body + data.right(769);
        expectPicture(data, QStringLiteral("cross.pcx"), DibFormatPcx, 12, 2, 8,
                      [](int, int) { return paletteColour(5); });
    }

    void damagedPcxFails_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = makePcx(40, 30, 8, 1, stripes(200)).encode();
        const QByteArray good24 = makePcx(40, 30, 8, 3, stripes(200)).encode();
        QTest::newRow("header only") << good.left(128);
        for (int cut : {129, 300, 700})
            QTest::newRow(QByteArray("8-bit cut after ") + QByteArray::number(cut) + " bytes") << good.left(cut);
        QTest::newRow("24-bit cut in the last row") << good24.left(good24.size() - 10);
        Pcx huge = makePcx(2, 2, 1, 1, stripes(2));
        huge.width = 16000;
        huge.height = 16000;
        huge.bytesPerLine = 2000;
        QTest::newRow("16000 x 16000 declared in a tiny file") << huge.encode();
        huge.width = huge.height = 65535;
        huge.bytesPerLine = 8192;
        QTest::newRow("65535 x 65535 declared") << huge.encode();
        Pcx narrow = makePcx(40, 4, 8, 1, stripes(2));
        narrow.bytesPerLine = 20; // lines shorter than the width
        QTest::newRow("bytes per line below the width") << narrow.encode();
        QByteArray overflow = makePcx(12, 2, 8, 1, [](int, int) { return 5u; }).encode();
        overflow = overflow.left(128) + QByteArray("\xFF\x05", 2) + overflow.right(769);
        QTest::newRow("run overflowing the last line") << overflow;
        QByteArray inverted = good;
        inverted[8] = 0; // xmax below xmin
        inverted[4] = 9;
        QTest::newRow("right edge left of the left edge") << inverted;
        Pcx odd = makePcx(8, 2, 2, 3, stripes(2)); // 2 bits x 3 planes: no such layout
        QTest::newRow("unknown plane layout") << odd.encode();
    }
    void damagedPcxFails()
    {
        QFETCH(QByteArray, data);
        expectFailure(data, QStringLiteral("bad.pcx"), DibFormatPcx);
        expectFailure(data, QStringLiteral("bad-auto.pcx"), DibFormatAuto);
    }

    void iffLayouts_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<int>("planes");
        QTest::addColumn<bool>("packed");
        QTest::addColumn<int>("dibBits");
        QTest::newRow("ILBM 1 plane, ByteRun1") << QByteArray("ILBM") << 1 << true << 1;
        QTest::newRow("ILBM 3 planes, stored") << QByteArray("ILBM") << 3 << false << 4;
        QTest::newRow("ILBM 4 planes, ByteRun1") << QByteArray("ILBM") << 4 << true << 4;
        QTest::newRow("ILBM 5 planes, ByteRun1") << QByteArray("ILBM") << 5 << true << 8;
        QTest::newRow("ILBM 8 planes, stored") << QByteArray("ILBM") << 8 << false << 8;
        QTest::newRow("ILBM 8 planes with mask plane") << QByteArray("ILBM+mask") << 8 << true << 8;
        QTest::newRow("ILBM 24 planes, ByteRun1") << QByteArray("ILBM") << 24 << true << 24;
        QTest::newRow("PBM chunky, ByteRun1") << QByteArray("PBM") << 8 << true << 8;
        QTest::newRow("PBM chunky, stored") << QByteArray("PBM") << 8 << false << 8;
    }
    void iffLayouts()
    {
        QFETCH(QByteArray, kind);
        QFETCH(int, planes);
        QFETCH(bool, packed);
        QFETCH(int, dibBits);
        const int w = 21, h = 7; // odd width: PBM rows and ILBM planes are padded
        const IndexFn index = planes == 24 ? IndexFn([](int x, int y) {
            return quint32((x * 12) << 16 | (y * 30) << 8 | (x == 0 && y == 0 ? 255 : 77));
        })
                                           : stripes(1 << planes);
        const Iff iff = kind == "PBM" ? makePbm(w, h, index, packed)
                                      : makeIff(w, h, planes, index, packed, kind == "ILBM+mask");
        expectPicture(iff.encode(), QStringLiteral("i.lbm"), DibFormatLbm, w, h, dibBits, [&](int x, int y) {
            const quint32 v = index(x, y);
            if (planes == 24)
                return rgbOf(v);
            return paletteColour(int(v));
        });
    }

    void iffDisplayModes()
    {
        // Extra half-brite: indices 32..63 are the first 32 colours at half brightness.
        Iff ehb = makeIff(4, 1, 6, [](int x, int) { return quint32(x == 0 ? 3 : 35); }, true, false, 32);
        ehb.camg = 0x80;
        expectPicture(ehb.encode(), QStringLiteral("ehb.iff"), DibFormatIff, 4, 1, 8, [](int x, int) {
            const QRgb c = paletteColour(3);
            return x == 0 ? c : qRgb(qRed(c) / 2, qGreen(c) / 2, qBlue(c) / 2);
        });
        // HAM6: index 2, then replace blue, red, green one after another.
        const quint32 codes[] = {0x02, 0x10 | 0xF, 0x20 | 0x3, 0x30 | 0x8};
        Iff ham = makeIff(4, 1, 6, [&](int x, int) { return codes[x]; }, false, false, 16);
        ham.camg = 0x800;
        const QRgb base = paletteColour(2);
        const QRgb expected[] = {base, qRgb(qRed(base), qGreen(base), 0xFF), qRgb(0x33, qGreen(base), 0xFF),
                                 qRgb(0x33, 0x88, 0xFF)};
        expectPicture(ham.encode(), QStringLiteral("ham.iff"), DibFormatIff, 4, 1, 24,
                      [&](int x, int) { return expected[x]; });
    }

    void damagedIffFails_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = makeIff(40, 20, 8, stripes(256), true).encode();
        const int cmapAt = int(good.indexOf("CMAP"));
        const int bodyAt = int(good.indexOf("BODY"));
        QTest::newRow("FORM header only") << good.left(12);
        QTest::newRow("cut inside BMHD") << good.left(30);
        QTest::newRow("CMAP shorter than declared") << good.left(cmapAt + 8 + 100);
        QTest::newRow("cut before BODY") << good.left(bodyAt);
        QTest::newRow("cut inside BODY") << good.left(bodyAt + 8 + 50);
        QTest::newRow("cut in the last row") << good.left(good.size() - 3);
        QByteArray noBmhd = good;
        noBmhd.replace(12, 4, "XXXX");
        QTest::newRow("no BMHD") << noBmhd;
        Iff overflow = makeIff(16, 2, 1, stripes(2), false);
        overflow.compression = 1;
        overflow.body = QByteArray("\xF0\x01\xF0\x01", 4); // runs of 17 bytes in 2-byte rows
        QTest::newRow("ByteRun1 run overflowing the row") << overflow.encode();
        Iff literal = overflow;
        literal.body = QByteArray("\x05\x01\x02", 3) + QByteArray(6, '\x03');
        QTest::newRow("ByteRun1 literal overflowing the row") << literal.encode();
        Iff huge = makeIff(2, 2, 8, stripes(2), true);
        huge.width = huge.height = 65535;
        QTest::newRow("65535 x 65535 declared") << huge.encode();
        huge.width = huge.height = 8000;
        QTest::newRow("8000 x 8000 declared in a tiny file") << huge.encode();
        Iff zero = makeIff(2, 2, 8, stripes(2), true);
        zero.width = 0;
        QTest::newRow("zero width") << zero.encode();
        Iff planes = makeIff(2, 2, 8, stripes(2), true);
        planes.planes = 12;
        QTest::newRow("12 planes") << planes.encode();
        QByteArray bigChunk = good;
        bigChunk[cmapAt + 4] = char(0x7F); // CMAP claims 2 GB
        QTest::newRow("chunk larger than the file") << bigChunk;
    }
    void damagedIffFails()
    {
        QFETCH(QByteArray, data);
        expectFailure(data, QStringLiteral("bad.lbm"), DibFormatLbm);
        expectFailure(data, QStringLiteral("bad.iff"), DibFormatAuto);
    }

    void wrongCodeStillDecodes_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("code");
        QTest::newRow("PCX given the BMP code") << makePcx(9, 3, 8, 1, stripes(9)).encode() << int(DibFormatBmp);
        QTest::newRow("ILBM given the PCX code") << makeIff(9, 3, 4, stripes(9), true).encode() << int(DibFormatPcx);
        QTest::newRow("PBM given the JPEG code") << makePbm(9, 3, stripes(9), true).encode() << int(DibFormatJpg);
    }
    void wrongCodeStillDecodes()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, code);
        Opened o;
        OpenDib(&o.dib, put(QStringLiteral("misnamed.jpg"), data), code, nullptr);
        QVERIFY2(o.dib.Bits, qPrintable(DibErrorText(o.dib)));
        QCOMPARE(dibColour(o.dib, 0, 0), paletteColour(1));
        QCOMPARE(dibColour(o.dib, 3, 0), paletteColour(1));
        QCOMPARE(dibColour(o.dib, 0, 2), paletteColour(2));
    }

    void tgaVariants_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QList<QRgb>>("expected"); // 3 x 2 pixels, rows from the top
        auto header = [](int type, int depth, int descriptor, int mapLength = 0, int mapBits = 0) {
            QByteArray h(18, '\0');
            h[1] = char(mapLength ? 1 : 0);
            h[2] = char(type);
            h[5] = char(mapLength);
            h[7] = char(mapBits);
            h[12] = 3;
            h[14] = 2;
            h[16] = char(depth);
            h[17] = char(descriptor);
            return h;
        };
        const QList<QRgb> mapped{qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(10, 20, 30),
                                 qRgb(70, 80, 90), qRgb(70, 80, 90), qRgb(40, 50, 60)};
        // Colour map of 3 BGR entries, indices stored bottom row first.
        const QByteArray map("\x1e\x14\x0a\x3c\x32\x28\x5a\x50\x46", 9);
        QTest::newRow("colour-mapped, bottom-up")
            << header(1, 8, 0, 3, 24) + map + QByteArray("\x02\x02\x01\x00\x01\x00", 6) << 4 << mapped;
        QTest::newRow("colour-mapped RLE, one packet across both rows")
            << header(9, 8, 0x20, 3, 24) + map + QByteArray("\x02\x00\x01\x00\x81\x02\x00\x01", 8) << 4
            << mapped;
        // 16 bits: x RRRRR GGGGG BBBBB, little-endian; pure red, green, blue, white.
        const QByteArray px16("\x00\x7c\xe0\x03\x1f\x00\xff\x7f\xff\x7f\x00\x00", 12);
        QTest::newRow("16-bit, top-down")
            << header(2, 16, 0x20) + px16 << 24
            << QList<QRgb>{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255),
                           qRgb(255, 255, 255), qRgb(0, 0, 0)};
        QTest::newRow("16-bit, top-down, right to left")
            << header(2, 16, 0x30) + px16 << 24
            << QList<QRgb>{qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(0, 0, 0),
                           qRgb(255, 255, 255), qRgb(255, 255, 255)};
        // 32 bits with 8 alpha bits: transparent and half-transparent over white.
        QByteArray px32;
        for (const char *p : {"\x00\x00\xff\xff", "\x00\x00\x00\x00", "\x00\x00\xff\x80", "\xff\x00\x00\xff",
                              "\x00\xff\x00\xff", "\x10\x20\x30\xff"})
            px32.append(p, 4);
        QTest::newRow("32-bit with alpha, top-down")
            << header(2, 32, 0x28) + px32 << 24
            << QList<QRgb>{qRgb(255, 0, 0), qRgb(255, 255, 255), qRgb(255, 127, 127), qRgb(0, 0, 255),
                           qRgb(0, 255, 0), qRgb(0x30, 0x20, 0x10)};
        QTest::newRow("grey, RLE, bottom-up")
            << header(11, 8, 0) + QByteArray("\x82\x40\x02\x00\x80\xff", 6) << 24
            << QList<QRgb>{qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 255), qRgb(64, 64, 64),
                           qRgb(64, 64, 64), qRgb(64, 64, 64)};
    }
    void tgaVariants()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, bits);
        QFETCH(QList<QRgb>, expected);
        expectPicture(data, QStringLiteral("v.tga"), DibFormatTga, 3, 2, bits,
                      [&](int x, int y) { return expected[y * 3 + x]; });
    }

    void damagedTgaFails_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QImage pattern = cornerPattern(30, 20);
        const QByteArray raw = tga(pattern, false, true);
        const QByteArray rle = tga(pattern, true, false);
        QTest::newRow("header only") << raw.left(18);
        QTest::newRow("raw cut in the last row") << raw.left(raw.size() - 5);
        QTest::newRow("RLE cut in the middle") << rle.left(rle.size() / 2);
        QTest::newRow("RLE cut inside a packet") << rle.left(rle.size() - 2);
        QByteArray past(18, '\0');
        past[2] = 10;
        past[12] = 2;
        past[14] = 1;
        past[16] = 24;
        QTest::newRow("RLE packet running past the last pixel") << past + QByteArray("\x83\x01\x02\x03", 4);
        QByteArray huge = raw.left(18);
        huge[12] = huge[13] = huge[14] = huge[15] = char(0xFF);
        QTest::newRow("65535 x 65535 declared") << huge + raw.mid(18, 300);
        QByteArray noMap = raw;
        noMap[2] = 1; // colour-mapped without a colour map
        QTest::newRow("colour-mapped without a map") << noMap;
        QByteArray depth = raw;
        depth[16] = 12;
        QTest::newRow("12 bits per pixel") << depth;
    }
    void damagedTgaFails()
    {
        QFETCH(QByteArray, data);
        expectFailure(data, QStringLiteral("bad.tga"), DibFormatTga);
        expectFailure(data, QStringLiteral("bad.tga"), DibFormatAuto);
    }

    void garbageWithOwnFormatCodesFails()
    {
        QByteArray garbage(3000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 131 + 7) % 253);
        for (int code : {int(DibFormatPcx), int(DibFormatIff), int(DibFormatLbm), int(DibFormatTga)})
            expectFailure(garbage, QStringLiteral("garbage.pcx"), code);
        expectFailure(QByteArray(), QStringLiteral("empty.lbm"), DibFormatLbm);
    }
};

SGA_TEST(TestOwnDecoders)
#include "tst_owndecoders.moc"
