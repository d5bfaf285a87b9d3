#include "DecodeFixtures.h"

#include <QFile>

namespace Fixtures {

QImage cornerPattern(int width, int height, QImage::Format format)
{
    QImage img(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, qRgb(40 + 150 * x / width, 60 + 120 * y / height, 90));
    const int s = std::max(1, std::min(width, height) / 4);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            img.setPixel(x, y, qRgb(255, 0, 0));
            img.setPixel(width - 1 - x, y, qRgb(0, 255, 0));
            img.setPixel(x, height - 1 - y, qRgb(0, 0, 255));
            img.setPixel(width - 1 - x, height - 1 - y, qRgb(255, 255, 255));
        }
    return img.convertToFormat(format);
}

QRgb dibColour(const DIB &dib, int x, int y)
{
    const std::uint32_t v = getpixel(dib, x, y);
    if (DibBitCount(dib) == 24)
        return qRgb(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
    if (v >= dib.Info->biClrUsed)
        return qRgba(0, 0, 0, 0);
    const RGBQUAD c = DibColors(dib)[v];
    return qRgb(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

static void putLe16(QByteArray &a, int pos, int v)
{
    a[pos] = char(v & 0xFF);
    a[pos + 1] = char((v >> 8) & 0xFF);
}

static void appendLe32(QByteArray &a, quint32 v)
{
    a.append(char(v)).append(char(v >> 8)).append(char(v >> 16)).append(char(v >> 24));
}

QByteArray rleBmp(int width, int height, int bits, int colours, const QByteArray &codes)
{
    const quint32 pixelsAt = 14 + 40 + 4 * quint32(colours);
    QByteArray f("BM");
    appendLe32(f, pixelsAt + quint32(codes.size()));
    appendLe32(f, 0);
    appendLe32(f, pixelsAt);
    for (quint32 v : {40u, quint32(width), quint32(height), 1u | (quint32(bits) << 16), bits == 8 ? 1u : 2u,
                      quint32(codes.size()), 2835u, 2835u, quint32(colours), 0u})
        appendLe32(f, v);
    for (int i = 0; i < colours; ++i) {
        const char grey = char(i * 255 / std::max(1, colours - 1));
        f.append(grey).append(grey).append(grey).append('\0');
    }
    return f + codes;
}

static void appendBe32(QByteArray &a, quint32 v)
{
    a.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

static void appendBe16(QByteArray &a, int v)
{
    a.append(char((v >> 8) & 0xFF)).append(char(v & 0xFF));
}

QByteArray tga(const QImage &img, bool rle, bool topDown)
{
    QByteArray h(18, '\0');
    h[2] = char(rle ? 10 : 2);
    putLe16(h, 12, img.width());
    putLe16(h, 14, img.height());
    h[16] = 24;
    h[17] = char(topDown ? 0x20 : 0);
    QByteArray out = h;
    for (int i = 0; i < img.height(); ++i) {
        const int y = topDown ? i : img.height() - 1 - i;
        QByteArray row;
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            row.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        }
        if (!rle) {
            out += row;
            continue;
        }
        // Repeat packets for equal neighbours, raw packets otherwise.
        for (int x = 0; x < img.width();) {
            int run = 1;
            while (x + run < img.width() && run < 128 && row.mid(3 * (x + run), 3) == row.mid(3 * x, 3))
                ++run;
            if (run > 1) {
                out.append(char(0x80 | (run - 1))).append(row.mid(3 * x, 3));
            } else {
                out.append('\0').append(row.mid(3 * x, 3));
            }
            x += run;
        }
    }
    return out;
}

QByteArray gif(const QImage &indexed)
{
    const int colours = int(indexed.colorCount());
    int bits = 1;
    while ((1 << bits) < colours)
        ++bits;
    QByteArray out("GIF89a");
    QByteArray screen(7, '\0');
    putLe16(screen, 0, indexed.width());
    putLe16(screen, 2, indexed.height());
    screen[4] = char(0x80 | ((bits - 1) << 4) | (bits - 1));
    out += screen;
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb c = i < colours ? indexed.color(i) : 0;
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    QByteArray desc(10, '\0');
    desc[0] = 0x2C;
    putLe16(desc, 5, indexed.width());
    putLe16(desc, 7, indexed.height());
    out += desc;
    const int minCode = std::max(2, bits);
    const int clear = 1 << minCode;
    const int width = minCode + 1;
    QByteArray stream;
    quint32 acc = 0;
    int accBits = 0;
    auto writeCode = [&](int code) {
        acc |= quint32(code) << accBits;
        accBits += width;
        while (accBits >= 8) {
            stream.append(char(acc & 0xFF));
            acc >>= 8;
            accBits -= 8;
        }
    };
    int sinceClear = 0;
    writeCode(clear);
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear == clear - 2) {
                writeCode(clear);
                sinceClear = 0;
            }
            writeCode(indexed.pixelIndex(x, y));
            ++sinceClear;
        }
    writeCode(clear + 1);
    if (accBits > 0)
        stream.append(char(acc & 0xFF));
    out.append(char(minCode));
    for (int i = 0; i < stream.size(); i += 255) {
        const QByteArray block = stream.mid(i, 255);
        out.append(char(block.size())).append(block);
    }
    out.append('\0').append(char(0x3B));
    return out;
}

QByteArray pcxRle(const QByteArray &line)
{
    QByteArray out;
    for (int i = 0; i < line.size();) {
        int run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i])
            ++run;
        const auto b = quint8(line[i]);
        if (run > 1 || b >= 0xC0)
            out.append(char(0xC0 | run));
        out.append(char(b));
        i += run;
    }
    return out;
}

QByteArray Pcx::encode() const
{
    QByteArray h(128, '\0');
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = rle ? 1 : 0;
    h[3] = char(bitsPerPixel);
    putLe16(h, 8, width - 1);
    putLe16(h, 10, height - 1);
    putLe16(h, 12, 72);
    putLe16(h, 14, 72);
    for (int i = 0; i < headerPalette.size() && i < 48; ++i)
        h[16 + i] = headerPalette[i];
    h[65] = char(planes);
    putLe16(h, 66, bytesPerLine);
    putLe16(h, 68, 1);
    QByteArray out = h;
    for (const QByteArray &line : scanLines)
        out += rle ? pcxRle(line) : line;
    out += trailerPalette;
    return out;
}

QByteArray byteRun1(const QByteArray &row)
{
    QByteArray out;
    int i = 0;
    while (i < row.size()) {
        int run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i])
            ++run;
        if (run >= 2) {
            out.append(char(257 - run)).append(row[i]);
            i += run;
            continue;
        }
        int lit = 1;
        while (i + lit < row.size() && lit < 128 && !(i + lit + 1 < row.size() && row[i + lit] == row[i + lit + 1]))
            ++lit;
        out.append(char(lit - 1)).append(row.mid(i, lit));
        i += lit;
    }
    return out;
}

QByteArray ilbmRow(const std::vector<quint32> &pixels, int planes)
{
    const int width = int(pixels.size());
    const int planeBytes = ((width + 15) / 16) * 2;
    QByteArray out(planeBytes * planes, '\0');
    for (int p = 0; p < planes; ++p) {
        // 24 planes store red bits 0..7, then green, then blue.
        const int bit = planes == 24 ? (p < 8 ? 16 + p : (p < 16 ? 8 + p - 8 : p - 16)) : p;
        for (int x = 0; x < width; ++x)
            if ((pixels[std::size_t(x)] >> bit) & 1u)
                out[p * planeBytes + x / 8] = char(out[p * planeBytes + x / 8] | (0x80 >> (x % 8)));
    }
    return out;
}

QByteArray Iff::encode() const
{
    QByteArray chunks;
    QByteArray bmhd;
    appendBe16(bmhd, width);
    appendBe16(bmhd, height);
    appendBe16(bmhd, 0);
    appendBe16(bmhd, 0);
    bmhd.append(char(planes)).append(char(masking)).append(char(compression)).append('\0');
    appendBe16(bmhd, 0); // transparent colour
    bmhd.append(char(10)).append(char(11));
    appendBe16(bmhd, width);
    appendBe16(bmhd, height);
    auto chunk = [&](const char *id, const QByteArray &data) {
        chunks.append(id, 4);
        appendBe32(chunks, quint32(data.size()));
        chunks += data;
        if (data.size() & 1)
            chunks.append('\0');
    };
    chunk("BMHD", bmhd);
    if (!cmap.isEmpty())
        chunk("CMAP", cmap);
    if (camg) {
        QByteArray c;
        appendBe32(c, camg);
        chunk("CAMG", c);
    }
    chunk("BODY", body);
    QByteArray out("FORM");
    appendBe32(out, quint32(4 + chunks.size()));
    out += formType.leftJustified(4, ' ', true);
    out += chunks;
    return out;
}

} // namespace Fixtures
