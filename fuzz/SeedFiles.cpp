#include "SeedFiles.h"

#include "DecodeFixtures.h"
#include "common/MetadataFixtures.h"
#include "browse/CacheFile.h"
#include "document/ArrangementFile.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QImageWriter>

#include <lcms2.h>

#include <algorithm>
#include <functional>

namespace Seeds {

namespace {

constexpr int W = 8; // pictures small enough that every input runs fast
constexpr int H = 6;

void appendLe16(QByteArray &a, int v) { a.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }
void appendLe32(QByteArray &a, quint32 v)
{
    appendLe16(a, int(v & 0xFFFF));
    appendLe16(a, int(v >> 16));
}

QByteArray written(const QImage &img, const char *format, int quality = -1, bool progressive = false,
                   int compression = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    if (compression >= 0)
        writer.setCompression(compression);
    return writer.write(img) ? bytes : QByteArray();
}

QImage indexed(int colours)
{
    QImage img = Fixtures::cornerPattern(W, H).convertToFormat(QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb(255 * i / (colours - 1), 128, 255 - 255 * i / (colours - 1)));
    img.setColorTable(table);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            img.setPixel(x, y, uint((x + y) % colours));
    return img;
}

// Qt writes no run-length BMP: 4 x 2 pixels, 8 bits, BI_RLE8.
QByteArray bmpRle8()
{
    const QByteArray data("\x04\x00\x00\x00\x02\x01\x02\x00\x00\x00\x00\x01", 12);
    QByteArray out("BM");
    appendLe32(out, quint32(14 + 40 + 8 + data.size()));
    appendLe32(out, 0);
    appendLe32(out, 14 + 40 + 8);
    appendLe32(out, 40);
    appendLe32(out, 4);
    appendLe32(out, 2);
    appendLe16(out, 1);
    appendLe16(out, 8);
    appendLe32(out, 1);
    appendLe32(out, quint32(data.size()));
    appendLe32(out, 2835);
    appendLe32(out, 2835);
    appendLe32(out, 2);
    appendLe32(out, 0);
    out += QByteArray("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    return out + data;
}

QByteArray rgbTriples(int n)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out.append(char(i * 7)).append(char(255 - i)).append(char(i * 3));
    return out;
}

QByteArray pcx8()
{
    Fixtures::Pcx p;
    p.width = W;
    p.height = H;
    p.bytesPerLine = W;
    p.headerPalette = rgbTriples(16);
    p.trailerPalette = QByteArray(1, '\x0C') + rgbTriples(256);
    for (int y = 0; y < H; ++y) {
        QByteArray line(W, '\0');
        for (int x = 0; x < W; ++x)
            line[x] = char(x < W / 2 ? 3 : x * y);
        p.scanLines.push_back(line);
    }
    return p.encode();
}

// 16 colours as four 1-bit planes.
QByteArray pcxPlanes()
{
    Fixtures::Pcx p;
    p.width = W;
    p.height = H;
    p.bitsPerPixel = 1;
    p.planes = 4;
    p.bytesPerLine = 2;
    p.headerPalette = rgbTriples(16);
    for (int y = 0; y < H; ++y) {
        QByteArray line(p.bytesPerLine * p.planes, '\0');
        for (int pl = 0; pl < p.planes; ++pl)
            line[pl * p.bytesPerLine] = char(0x5A >> (pl + y) % 4);
        p.scanLines.push_back(line);
    }
    return p.encode();
}

QByteArray ilbm()
{
    Fixtures::Iff f;
    f.width = W;
    f.height = H;
    f.planes = 4;
    f.compression = 1;
    f.cmap = rgbTriples(16);
    for (int y = 0; y < H; ++y) {
        std::vector<quint32> pixels;
        for (int x = 0; x < W; ++x)
            pixels.push_back(quint32((x + 2 * y) % 16));
        const QByteArray row = Fixtures::ilbmRow(pixels, f.planes);
        const int planeBytes = ((W + 15) / 16) * 2;
        for (int pl = 0; pl < f.planes; ++pl)
            f.body += Fixtures::byteRun1(row.mid(pl * planeBytes, planeBytes));
    }
    return f.encode();
}

QByteArray pbm()
{
    Fixtures::Iff f;
    f.formType = "PBM ";
    f.width = W;
    f.height = H;
    f.planes = 8;
    f.cmap = rgbTriples(256);
    for (int y = 0; y < H; ++y) {
        QByteArray row(W, '\0');
        for (int x = 0; x < W; ++x)
            row[x] = char(x * 30 + y);
        f.body += row;
    }
    return f.encode();
}

} // namespace

int FormatCodeFromByte(std::uint8_t b) { return FormatCodes[b % FormatCodeCount]; }

std::uint8_t ByteForFormatCode(int code)
{
    for (int i = 0; i < FormatCodeCount; ++i)
        if (FormatCodes[i] == code)
            return std::uint8_t(i);
    return 0;
}

std::vector<File> Pictures()
{
    const QImage colour = Fixtures::cornerPattern(W, H);
    QImage alpha = Fixtures::cornerPattern(W, H, QImage::Format_ARGB32);
    for (int x = 0; x < W; ++x)
        alpha.setPixel(x, 0, qRgba(200, 10, 10, 255 * x / W));
    const QImage grey = colour.convertToFormat(QImage::Format_Grayscale8);
    std::vector<File> files = {
        {QStringLiteral("colour.bmp"), 3, written(colour, "bmp")},
        {QStringLiteral("palette.bmp"), 3, written(indexed(5), "bmp")},
        {QStringLiteral("runs.rle"), 11, bmpRle8()},
        {QStringLiteral("colour.dib"), 4, written(colour, "bmp")},
        {QStringLiteral("palette.gif"), 5, Fixtures::gif(indexed(4))},
        {QStringLiteral("alpha.png"), 14, written(alpha, "png")},
        {QStringLiteral("palette.png"), 14, written(indexed(4), "png")},
        {QStringLiteral("baseline.jpg"), 8, written(colour, "jpeg", 60)},
        {QStringLiteral("progressive.jif"), 7, written(colour, "jpeg", 60, true)},
        {QStringLiteral("grey.jpg"), 8, written(grey, "jpeg", 60)},
        {QStringLiteral("colour.tif"), 13, written(colour, "tiff")},
        {QStringLiteral("packed.tif"), 13, written(indexed(4), "tiff", -1, false, 1)},
        {QStringLiteral("raw.tga"), 12, Fixtures::tga(colour, false, false)},
        {QStringLiteral("runs.tga"), 12, Fixtures::tga(colour, true, true)},
        {QStringLiteral("bytes.pcx"), 10, pcx8()},
        {QStringLiteral("planes.pcx"), 10, pcxPlanes()},
        {QStringLiteral("planes.iff"), 6, ilbm()},
        {QStringLiteral("chunky.lbm"), 9, pbm()},
    };
    std::erase_if(files, [](const File &f) { return f.Bytes.isEmpty(); }); // a missing image plugin
    return files;
}

std::vector<File> Arrangements(const std::vector<QString> &pictureNames)
{
    std::vector<File> out;
    auto placed = [](int id, int page, double left, double top, double w, double h, bool cut) {
        Placement p{};
        p.Left = left;
        p.Top = top;
        p.Width = w;
        p.Height = h;
        p.Page = page;
        p.PictureId = id;
        p.Cut = cut ? 1 : 0;
        return p;
    };

    // Every picture on the first page in a grid of 1-inch frames, turned in turn.
    ArrangementData all;
    for (std::size_t i = 0; i < pictureNames.size(); ++i) {
        const int id = int(i) + 1;
        all.Pictures.push_back({pictureNames[i], int(i % 4), id, i % 3 == 0 ? QStringLiteral("caption") : QString()});
        all.Placements.push_back(placed(id, 1, double(i % 5) * 1.2, double(i / 5) * 1.2, 1.0, 0.8, i % 2 == 1));
    }
    all.NextPictureId = int(pictureNames.size()) + 1;
    all.SelectedPlacement = 0;
    all.SelectedPicture = 1;
    all.ShowFNames = 1;
    all.Zoom = 25;
    out.push_back({QStringLiteral("every-picture.sga"), 0, WriteArrangement(all)});

    // Two pages, one picture twice, a missing picture in a frame, the grid shown.
    ArrangementData pages;
    if (!pictureNames.empty())
        pages.Pictures.push_back({pictureNames.front(), 1, 7, QStringLiteral("first")});
    pages.Pictures.push_back({QStringLiteral("missing.bmp"), 0, 9, QString()});
    pages.Placements = {placed(7, 1, 0.5, 0.5, 2.0, 1.5, false), placed(7, 2, 1.0, 1.0, 3.0, 3.0, true),
                        placed(9, 2, 0.2, 4.0, 1.0, 1.0, false)};
    pages.NextPictureId = 10;
    pages.ShowGrid = 1;
    pages.Transp = 1;
    pages.Zoom = 50;
    out.push_back({QStringLiteral("two-pages.sga"), 0, WriteArrangement(pages)});

    // Nothing but options.
    out.push_back({QStringLiteral("empty.sga"), 0, WriteArrangement(ArrangementData{})});

    // The extension area: one file per chunk kind over the two-page
    // arrangement, and one holding them all.
    const auto withView = [](ArrangementData& d) { d.Placements[1].View = FrameView { 0.3, 0.7, 2.5 }; };
    const auto withTones = [](ArrangementData& d) {
        PictureStep brighter;
        brighter.What = PictureStep::Kind::Tone;
        for (int v = 0; v < 256; ++v)
            brighter.Table[std::size_t(v)] = BYTE(std::min(255, v + 20));
        PictureStep later = brighter;
        later.AfterEnlarge = true;
        d.Tones = { { brighter, later } };
    };
    const auto withSheet = [](ArrangementData& d) {
        d.Sheets.Headers[1]
            = SheetText { { QStringLiteral("Class 3b"), QStringLiteral("2026-05-04") }, 9, 0.2, 0.1, 4 };
        d.Placements[2].Cell = d.Sheets.addCell(SheetText { { QStringLiteral("missing.bmp") }, 7, 0, 0, 0 });
    };
    const auto withMarks = [](ArrangementData& d) { d.CutMarks = true; };
    const auto withMirror = [](ArrangementData& d) { d.Pictures.front().Mirrored = true; };
    const auto withIntent = [](ArrangementData& d) { d.Pictures.front().PrintIntent = 3; };
    const auto withOrders = [](ArrangementData& d) {
        d.Orders = { { QStringLiteral("Mia K."), QStringLiteral("missing.bmp"), QStringLiteral("Photo 13 x 18 cm"),
                         130, 180, false, 1 },
            { QStringLiteral("Mia K."), QStringLiteral("missing.bmp"), QStringLiteral("Passport / ID 35 x 45 mm"), 35,
                45, true, 4 } };
        d.Placements[0].Link = d.Placements[1].Link = 1;
        d.Sheets.Labels.emplace(2, SheetText { { QStringLiteral("Mia K., sheet 1 of 1") }, 5, 1.0, 4.05, 3 });
    };
    const auto withCaptions = [](ArrangementData& d) {
        d.Captions.Template = QStringLiteral("{name}\n{date} {camera}");
        d.Captions.Fit = CaptionFit::Wrap;
        d.Captions.Footer = QStringLiteral("{file} {page}/{pages}");
        d.Captions.FooterAlign = PageTextAlign::Right;
        d.Captions.OwnFont = true;
    };
    const auto withTurn = [](ArrangementData& d) { d.Placements[0].Turn = 1; };
    const std::pair<const char*, std::function<void(ArrangementData&)>> chunks[] = {
        { "chunk-view.sga", withView },
        { "chunk-tone.sga", withTones },
        { "chunk-sheet.sga", withSheet },
        { "chunk-marks.sga", withMarks },
        { "chunk-mirror.sga", withMirror },
        { "chunk-orders.sga", withOrders },
        { "chunk-captions.sga", withCaptions },
        { "chunk-intent.sga", withIntent },
        { "chunk-turn.sga", withTurn },
        { "chunk-all.sga",
            [&](ArrangementData& d) {
                withView(d);
                withTones(d);
                withSheet(d);
                withMarks(d);
                withMirror(d);
                withOrders(d);
                withCaptions(d);
                withIntent(d);
                withTurn(d);
            } },
    };
    for (const auto& [name, add] : chunks) {
        ArrangementData d = pages;
        add(d);
        out.push_back({ QString::fromLatin1(name), 0, WriteArrangement(d) });
    }
    return out;
}

std::vector<File> Jpegs()
{
    std::vector<File> out;
    for (File& f : Pictures())
        if (f.Name.endsWith(QLatin1String(".jpg")))
            out.push_back(std::move(f));
    QImage colour(W, H, QImage::Format_RGB32);
    colour.fill(qRgb(200, 120, 40));
    colour.setColorSpace(QColorSpace::SRgb);
    const QByteArray withProfile = written(colour, "jpeg", 70);
    // A camera's file: metadata before the frame, a comment, a trailer after the end.
    QByteArray camera = written(colour, "jpeg", 70);
    camera.insert(2,
        QByteArray("\xFF\xE1\x00\x0E"
                   "Exif\0\0GPS123",
            16));
    camera.insert(2, QByteArray("\xFF\xFE\x00\x07note\0", 9));
    camera.append(QByteArray("ftypmp42 video that follows the picture"));
    out.push_back({ QStringLiteral("profile.jpg"), 8, withProfile });
    out.push_back({ QStringLiteral("camera.jpg"), 8, camera });
    return out;
}

std::vector<File> Metadata()
{
    using namespace MetadataFixtures;
    QImage colour(W, H, QImage::Format_RGB32);
    colour.fill(qRgb(40, 90, 200));
    const QByteArray jpeg = written(colour, "jpeg", 70);
    const QByteArray exif = exifSegment(exifTiff(
        {ascii(0x010F, "Maker"), ascii(0x0110, "Model 5"), ascii(0x010E, "A title")},
        {rational(0x829A, 1, 125), rational(0x829D, 28, 10), shortValue(0x8827, 800), rational(0x920A, 35, 1),
         ascii(0x9003, "2023:07:14 18:30:00"), ascii(0xA434, "35mm F2")}));
    const QByteArray xmp = xmpSegment(QStringLiteral("Evening \u6771\u4EAC"));
    return {{QStringLiteral("exif.jpg"), 8, withSegments(jpeg, exif)},
            {QStringLiteral("xmp.jpg"), 8, withSegments(jpeg, xmp)},
            {QStringLiteral("both.jpg"), 8, withSegments(jpeg, exif + xmp + QByteArray("\xFF\xFE\x00\x06note", 8))}};
}

std::vector<File> Caches()
{
    ThumbList list;
    auto add = [&](const char *name, int bits, int w, int h) {
        DIB dib;
        if (!newdib(&dib, w, h, bits, nullptr, bits <= 8 ? 1 << bits : 0))
            return;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                setpixel(dib, x, y, std::uint32_t(x * 37 + y * 11) & (bits >= 24 ? 0xFFFFFFu : (1u << bits) - 1));
        ThumbInfo info;
        info.BitCount = bits;
        info.ThumbWidth = w;
        info.ThumbHeight = h;
        info.FullWidth = w * 10;
        info.FullHeight = h * 10;
        info.Colours = 1 << bits;
        info.SizeKB = w * h * bits / 8 * 100 >> 10;
        info.Check = 12345 + bits;
        list.append(dib, QString::fromLatin1(name), info);
    };
    add("mono.bmp", 1, 9, 5);
    add("sixteen.pcx", 4, 7, 6);
    add("palette.gif", 8, 6, 8);
    add("colour.jpg", 24, 8, 6);
    std::vector<File> out = {{QStringLiteral("four.cbf"), 0, CacheFileBytes(list)}};
    list.clear();
    add("only.png", 24, 80, 60);
    out.push_back({QStringLiteral("one-largest.cbf"), 0, CacheFileBytes(list)});
    return out;
}

namespace {
QByteArray saved(cmsHPROFILE p)
{
    QByteArray bytes;
    cmsUInt32Number size = 0;
    if (p && cmsSaveProfileToMem(p, nullptr, &size)) {
        bytes.resize(qsizetype(size));
        cmsSaveProfileToMem(p, bytes.data(), &size);
    }
    if (p)
        cmsCloseProfile(p);
    return bytes;
}

QByteArray rgb(const cmsCIExyYTRIPLE &primaries, double gamma)
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    cmsToneCurve *curve = cmsBuildGamma(nullptr, gamma);
    cmsToneCurve *curves[3] = {curve, curve, curve};
    const QByteArray bytes = saved(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytes;
}
} // namespace

std::vector<File> Profiles()
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    cmsToneCurve *curve = cmsBuildGamma(nullptr, 2.2);
    const QByteArray grey = saved(cmsCreateGrayProfile(&white, curve));
    cmsFreeToneCurve(curve);
    return {
        {QStringLiteral("srgb.icc"), 0, saved(cmsCreate_sRGBProfile())},
        {QStringLiteral("wide.icc"), 0, rgb({{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}}, 2.2)},
        {QStringLiteral("swapped.icc"), 0, rgb({{0.30, 0.60, 1}, {0.64, 0.33, 1}, {0.15, 0.06, 1}}, 1.8)},
        {QStringLiteral("grey.icc"), 0, grey},
        {QStringLiteral("lab.icc"), 0, saved(cmsCreateLab4Profile(nullptr))},
        {QStringLiteral("inklimit.icc"), 0, saved(cmsCreateInkLimitingDeviceLink(cmsSigCmykData, 250))},
    };
}

std::vector<File> OrderLists()
{
    const QByteArray good = "order,picture,size,copies\n"
                            "Mia K.,a.jpg,Photo 13 x 18 cm,1\n"
                            "Mia K.,a.jpg,Passport / ID 35 x 45 mm,4\n"
                            "\"Ben, Jr.\",sub/b.jpg,Wallet 2.5 x 3.5 in,8\n";
    const QByteArray semicolon = "\xEF\xBB\xBForder;picture;size;copies\r\n"
                                 "J\xC3\xBCrgen;/tmp/c.jpg;60 x 90 mm;2\r\n"
                                 "J\xC3\xBCrgen;c.jpg;2,5 x 3,5 in;1\r\n";
    const QByteArray faulty = "order,picture,size,copies\n"
                              "A,a.jpg,Huge 13 x 18,1\n"
                              "B,a.jpg,10 x 15 cm,10000\n"
                              "C,\"open,quote,1\n"
                              "D,a.jpg,10 x 15 cm\n"
                              "\xFF\xFE,a.jpg,10 x 15 cm,1\n";
    return {{QStringLiteral("comma.csv"), 0, good}, {QStringLiteral("semicolon.csv"), 0, semicolon},
            {QStringLiteral("faulty.csv"), 0, faulty}};
}

} // namespace Seeds
