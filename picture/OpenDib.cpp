#include "picture/OpenDib.h"
#include "picture/BmpDecoder.h"
#include "picture/ColourProfile.h"
#include "picture/DecodeSupport.h"
#include "picture/DeepPng.h"
#include "picture/GifCanvas.h"
#include "picture/HeifDecoder.h"
#include "picture/JpegDecoder.h"
#include "picture/TiffDecoder.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#ifdef __linux__
#include <sys/mman.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace DibDecode;

namespace {

// Qt's reader refuses pictures above this (in MB of decoded pixels); its default
// is too small for big photographs. Matches MaxPixels at 4 bytes per pixel.
constexpr int ReaderAllocationLimitMB = int(MaxPixels * 4 / (1024 * 1024));

// Own decoders read whole files; nothing in these formats comes near this.
constexpr qint64 MaxOwnFormatFileBytes = qint64(512) * 1024 * 1024;

const char *qtFormatForCode(int code)
{
    switch (code) {
    case DibFormatBmp:
    case DibFormatRle:
        return "bmp";
    case DibFormatDib:
        return "dib";
    case DibFormatGif:
        return "gif";
    case DibFormatJif:
    case DibFormatJpg:
        return "jpeg";
    case DibFormatTif:
        return "tiff";
    case DibFormatPng:
        return "png";
    case DibFormatWebp:
        return "webp";
    default:
        return nullptr;
    }
}

// The formats this program opens through Qt's readers; other plugins stay unused.
bool acceptedQtFormat(const QByteArray &format)
{
    static const char *const accepted[] = {"bmp", "dib", "gif", "jpeg", "jpg", "png", "tif", "tiff", "webp"};
    const QByteArray f = format.toLower();
    return std::any_of(std::begin(accepted), std::end(accepted), [&](const char *a) { return f == a; });
}

// The name a WrongFormat text gives the format a code asks for.
QString formatName(int code)
{
    switch (code) {
    case DibFormatBmp:
    case DibFormatRle:
        return QStringLiteral("BMP");
    case DibFormatDib:
        return QStringLiteral("DIB");
    case DibFormatGif:
        return QStringLiteral("GIF");
    case DibFormatIff:
    case DibFormatLbm:
        return QStringLiteral("IFF");
    case DibFormatJif:
    case DibFormatJpg:
        return QStringLiteral("JPEG");
    case DibFormatPcx:
        return QStringLiteral("PCX");
    case DibFormatTga:
        return QStringLiteral("TGA");
    case DibFormatTif:
        return QStringLiteral("TIFF");
    case DibFormatPng:
        return QStringLiteral("PNG");
    default:
        return QString();
    }
}

bool looksLikeJpeg(const QByteArray &head)
{
    return head.size() >= 3 && quint8(head[0]) == 0xFF && quint8(head[1]) == 0xD8 && quint8(head[2]) == 0xFF;
}

// Whether the first bytes are those of the format a code names; a file that
// starts like its format but fails later is damaged, any other is not that format.
bool startsLikeFormat(int code, const QByteArray &head)
{
    switch (code) {
    case DibFormatBmp:
    case DibFormatRle:
        return head.startsWith("BM");
    case DibFormatDib: {
        if (head.size() < 4)
            return false;
        const quint32 size = quint8(head[0]) | quint8(head[1]) << 8 | quint8(head[2]) << 16 | quint32(quint8(head[3])) << 24;
        return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
    }
    case DibFormatGif:
        return head.startsWith("GIF8");
    case DibFormatPng:
        return head.startsWith("\x89PNG");
    case DibFormatJif:
    case DibFormatJpg:
        return looksLikeJpeg(head);
    case DibFormatTif:
        return looksLikeTiff(head);
    default:
        return true;
    }
}

quint8 composeOverWhite(quint32 c, quint32 a)
{
    const quint32 t = c * a + 255u * (255u - a) + 128u;
    return quint8((t + (t >> 8)) >> 8);
}

void rowFromRgb32Scalar(const uchar *s, BYTE *d, int w)
{
    // Four pixels (16 bytes, B G R X each) become 12 bytes at a time.
    int x = 0;
    for (; x + 4 <= w; x += 4, s += 16, d += 12) {
        quint32 p[4];
        std::memcpy(p, s, 16);
        const quint32 o[3] = {(p[0] & 0xFFFFFFu) | (p[1] << 24), ((p[1] >> 8) & 0xFFFFu) | (p[2] << 16),
                              ((p[2] >> 16) & 0xFFu) | (p[3] << 8)};
        std::memcpy(d, o, 12);
    }
    for (; x < w; ++x, s += 4, d += 3) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    }
}

#if defined(__x86_64__) || defined(__i386__)
// Sixteen pixels per step: four 16-byte loads, three 16-byte stores. The
// stores never pass the bytes already loaded, so this also works in place.
__attribute__((target("ssse3"))) void rowFromRgb32Ssse3(const uchar *s, BYTE *d, int w)
{
    const __m128i drop = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 16 <= w; x += 16, s += 64, d += 48) {
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s)), drop);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 16)), drop);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 32)), drop);
        const __m128i e = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 48)), drop);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d), _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + 16), _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(d + 32), _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(e, 4)));
    }
    rowFromRgb32Scalar(s, d, w - x);
}

void rowFromRgb32(const uchar *s, BYTE *d, int w)
{
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3)
        rowFromRgb32Ssse3(s, d, w);
    else
        rowFromRgb32Scalar(s, d, w);
}
#else
void rowFromRgb32(const uchar *s, BYTE *d, int w) { rowFromRgb32Scalar(s, d, w); }
#endif

void rowFromArgb32(const uchar *s, BYTE *d, int w)
{
    for (int x = 0; x < w; ++x, s += 4, d += 3) {
        const quint32 a = s[3];
        if (a == 255) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        } else {
            d[0] = composeOverWhite(s[0], a);
            d[1] = composeOverWhite(s[1], a);
            d[2] = composeOverWhite(s[2], a);
        }
    }
}

void rowFromArgb32Premultiplied(const uchar *s, BYTE *d, int w)
{
    for (int x = 0; x < w; ++x, s += 4, d += 3) {
        const int clear = 255 - s[3];
        d[0] = BYTE(std::min(255, s[0] + clear));
        d[1] = BYTE(std::min(255, s[1] + clear));
        d[2] = BYTE(std::min(255, s[2] + clear));
    }
}

void rowFromRgb888(const uchar *s, BYTE *d, int w)
{
    for (int x = 0; x < w; ++x, s += 3, d += 3) {
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
    }
}

void rowFromGrey8(const uchar *s, BYTE *d, int w)
{
    for (int x = 0; x < w; ++x, d += 3)
        d[0] = d[1] = d[2] = s[x];
}

using RowConverter = void (*)(const uchar *, BYTE *, int);

RowConverter directConverter(QImage::Format f)
{
    switch (f) {
    case QImage::Format_RGB32:
        return rowFromRgb32;
    case QImage::Format_ARGB32:
        return rowFromArgb32;
    case QImage::Format_ARGB32_Premultiplied:
        return rowFromArgb32Premultiplied;
    case QImage::Format_RGB888:
        return rowFromRgb888;
    case QImage::Format_Grayscale8:
        return rowFromGrey8;
    default:
        return nullptr;
    }
}

Error trueColourToDib(const QImage &img, DIB *out, Progress &progress)
{
    const int w = img.width();
    const int h = img.height();
    if (!newdib(out, w, h, 24, nullptr, 0))
        return Error::OutOfMemory;
    if (RowConverter convert = directConverter(img.format())) {
        for (int y = 0; y < h; ++y) {
            convert(img.constScanLine(y), DibRow(*out, h - 1 - y), w);
            progress.report(std::uint64_t(y) + 1, std::uint64_t(h));
        }
        return Error::None;
    }
    // Rarer layouts (16 bits per channel, 16-bit RGB, ...): convert a band of
    // rows at a time so that no second full-size copy is made.
    constexpr int Band = 32;
    for (int y0 = 0; y0 < h; y0 += Band) {
        const int rows = std::min(Band, h - y0);
        const QImage band(img.constScanLine(y0), w, rows, img.bytesPerLine(), img.format());
        const QImage argb = band.convertToFormat(QImage::Format_ARGB32);
        if (argb.isNull())
            return Error::OutOfMemory;
        for (int r = 0; r < rows; ++r)
            rowFromArgb32(argb.constScanLine(r), DibRow(*out, h - 1 - (y0 + r)), w);
        progress.report(std::uint64_t(y0 + rows), std::uint64_t(h));
    }
    return Error::None;
}

Error indexedToDib(const QImage &img, DIB *out, Progress &progress)
{
    const int w = img.width();
    const int h = img.height();
    QList<QRgb> table = img.colorTable();
    if (table.isEmpty()) {
        const int n = img.format() == QImage::Format_Indexed8 ? 256 : 2;
        for (int i = 0; i < n; ++i) {
            const int v = i * 255 / (n - 1);
            table.append(qRgb(v, v, v));
        }
    }
    // The depth follows the colours in use: a 2-colour picture stored with a
    // 256-entry table still becomes a 1-bit DIB.
    int used = 0;
    if (img.format() == QImage::Format_Indexed8) {
        for (int y = 0; y < h && used < 256; ++y) {
            const uchar *s = img.constScanLine(y);
            used = std::max(used, int(*std::max_element(s, s + w)) + 1);
        }
    } else {
        used = 2;
    }
    const int n = std::min(used, int(std::min<qsizetype>(table.size(), 256)));
    const int bits = used <= 2 ? 1 : (used <= 16 ? 4 : 8);
    RGBQUAD colours[256] = {};
    for (int i = 0; i < n; ++i) {
        const QRgb c = table[i];
        const quint32 a = quint32(qAlpha(c));
        colours[i] = RGBQUAD{composeOverWhite(quint32(qBlue(c)), a), composeOverWhite(quint32(qGreen(c)), a),
                             composeOverWhite(quint32(qRed(c)), a), 0};
    }
    if (!newPaletteDib(out, w, h, bits, colours, n))
        return Error::OutOfMemory;

    const bool mono = img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB;
    const bool lsb = img.format() == QImage::Format_MonoLSB;
    for (int y = 0; y < h; ++y) {
        const uchar *s = img.constScanLine(y);
        BYTE *d = DibRow(*out, h - 1 - y);
        if (mono && !lsb && bits == 1) {
            std::memcpy(d, s, std::size_t((w + 7) / 8));
        } else {
            auto index = [&](int x) -> unsigned {
                if (!mono)
                    return s[x];
                return lsb ? (s[x >> 3] >> (x & 7)) & 1u : (s[x >> 3] >> (7 - (x & 7))) & 1u;
            };
            switch (bits) {
            case 8:
                for (int x = 0; x < w; ++x)
                    d[x] = BYTE(index(x));
                break;
            case 4:
                for (int x = 0; x < w; ++x) {
                    const unsigned v = index(x) & 0x0Fu;
                    d[x >> 1] = (x & 1) ? BYTE(d[x >> 1] | v) : BYTE(v << 4);
                }
                break;
            default:
                for (int x = 0; x < w; ++x)
                    if (index(x) & 1u)
                        d[x >> 3] = BYTE(d[x >> 3] | (0x80u >> (x & 7)));
                break;
            }
        }
        progress.report(std::uint64_t(y) + 1, std::uint64_t(h));
    }
    return Error::None;
}

// Finds the palette of a picture decoded to true colour whose file is a palette
// format (Qt's GIF reader yields 32-bit pixels). False when it has more than
// 256 colours; then the picture stays true colour.
bool paletteFromTrueColour(const QImage &img, DIB *out, Progress &progress)
{
    const RowConverter convert = directConverter(img.format());
    if (!convert)
        return false;
    const int w = img.width();
    const int h = img.height();
    constexpr quint32 Empty = 0xFFFFFFFFu;
    constexpr int Slots = 1024; // open addressing, at most 256 used
    std::vector<quint32> keys(Slots, Empty);
    std::vector<BYTE> values(Slots, 0);
    RGBQUAD colours[256] = {};
    int count = 0;
    std::vector<BYTE> bgr(std::size_t(w) * 3);
    auto slotOf = [&](quint32 key) {
        std::size_t i = (key * 2654435761u) >> 22;
        while (keys[i] != Empty && keys[i] != key)
            i = (i + 1) & (Slots - 1);
        return i;
    };
    for (int y = 0; y < h; ++y) {
        convert(img.constScanLine(y), bgr.data(), w);
        for (int x = 0; x < w; ++x) {
            const BYTE *p = &bgr[std::size_t(x) * 3];
            const quint32 key = quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16);
            const std::size_t i = slotOf(key);
            if (keys[i] == Empty) {
                if (count == 256)
                    return false;
                keys[i] = key;
                values[i] = BYTE(count);
                colours[count++] = RGBQUAD{p[0], p[1], p[2], 0};
            }
        }
    }
    const int bits = count <= 2 ? 1 : (count <= 16 ? 4 : 8);
    if (!newPaletteDib(out, w, h, bits, colours, count))
        return false;
    for (int y = 0; y < h; ++y) {
        convert(img.constScanLine(y), bgr.data(), w);
        BYTE *d = DibRow(*out, h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const BYTE *p = &bgr[std::size_t(x) * 3];
            const unsigned v = values[slotOf(quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16))];
            if (bits == 8)
                d[x] = BYTE(v);
            else if (bits == 4)
                d[x >> 1] = (x & 1) ? BYTE(d[x >> 1] | v) : BYTE(v << 4);
            else if (v)
                d[x >> 3] = BYTE(d[x >> 3] | (0x80u >> (x & 7)));
        }
        progress.report(std::uint64_t(y) + 1, std::uint64_t(h));
    }
    return true;
}

} // namespace

Error DibDecode::imageToDib(const QImage &img, DIB *out, Progress &progress, bool paletteFormat)
{
    if (paletteFormat && paletteFromTrueColour(img, out, progress))
        return Error::None;
    deldib(out);
    switch (img.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return indexedToDib(img, out, progress);
    default:
        return trueColourToDib(img, out, progress);
    }
}

Error DibDecode::readerError(const QImageReader &reader)
{
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
    case QImageReader::DeviceError:
        return Error::CannotOpen;
    case QImageReader::UnsupportedFormatError:
        return Error::UnknownFormat;
    default:
        return Error::Damaged;
    }
}

void DibDecode::prepareImageReaders()
{
    // Once per process: the limit is a global that readers on other threads read.
    static const bool done = (QImageReader::setAllocationLimit(ReaderAllocationLimitMB), true);
    (void)done;
}

namespace {

struct FreeDeleter {
    void operator()(BYTE *p) const { std::free(p); }
};
using MallocBuffer = std::unique_ptr<BYTE, FreeDeleter>;

// Turns 32-bit rows (stride w * 4, top-down) inside `buffer` into DIB rows:
// each row is compacted to 3 bytes per pixel in place, front to back (a row's
// new place never reaches into rows not yet read), then the row order is
// reversed. The buffer is shrunk and handed to the DIB.
Error convertInPlace(MallocBuffer buffer, int w, int h, QImage::Format format, DIB *out, Progress &progress)
{
    const RowConverter convert = directConverter(format);
    const std::size_t stride = std::size_t(w) * 4;
    const std::size_t rowBytes = DibRowBytes(std::uint32_t(w), 24);
    BYTE *base = buffer.get();
    for (int y = 0; y < h; ++y) {
        BYTE *d = base + std::size_t(y) * rowBytes;
        convert(base + std::size_t(y) * stride, d, w);
        std::memset(d + std::size_t(w) * 3, 0, rowBytes - std::size_t(w) * 3);
        progress.report(std::uint64_t(y) + 1, std::uint64_t(h));
    }
    std::vector<BYTE> spare(rowBytes);
    for (int y = 0; y < h / 2; ++y) {
        BYTE *a = base + std::size_t(y) * rowBytes;
        BYTE *b = base + std::size_t(h - 1 - y) * rowBytes;
        std::memcpy(spare.data(), a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, spare.data(), rowBytes);
    }
    BYTE *shrunk = static_cast<BYTE *>(std::realloc(base, rowBytes * std::size_t(h)));
    if (shrunk)
        buffer.release();
    else
        shrunk = buffer.release(); // keeping the larger block is harmless
    return adopt24BitRows(out, w, h, shrunk) ? Error::None : Error::OutOfMemory;
}

// A block for a whole picture's pixels. Large ones are aligned to and advised
// for huge pages: a 12-megapixel picture then costs a few dozen page faults
// instead of twelve thousand.
BYTE *allocatePixelBlock(std::size_t bytes)
{
#ifdef __linux__
    constexpr std::size_t HugePage = 2 * 1024 * 1024;
    if (bytes >= 4 * HugePage) {
        const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
        void *p = std::aligned_alloc(HugePage, rounded);
        if (p)
            madvise(p, rounded, MADV_HUGEPAGE);
        return static_cast<BYTE *>(p);
    }
#endif
    return static_cast<BYTE *>(std::malloc(bytes));
}

bool inPlaceFormat(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

// embedsProfile: the file's colour space, if any, comes from an embedded
// profile; gamma and chromaticity hints alone are taken as sRGB, as every
// other program shows such files.
Error decodeWithReader(QImageReader &reader, DIB *out, Progress &progress, bool embedsProfile)
{
    const QSize size = reader.size();
    if (size.isValid() && std::uint64_t(size.width()) * std::uint64_t(size.height()) > MaxPixels)
        return Error::TooLarge;
    const bool paletteFormat = reader.format() == "gif";
    const QImage::Format nativeFormat = reader.imageFormat();

    // Big photographs: let the reader decode into a block that then becomes the
    // DIB's rows, so no second full-size picture is ever held.
    MallocBuffer buffer;
    QImage img;
    if (size.isValid() && !size.isEmpty() && !paletteFormat && inPlaceFormat(nativeFormat)) {
        buffer.reset(allocatePixelBlock(std::size_t(size.width()) * 4 * std::size_t(size.height())));
        if (!buffer)
            return Error::OutOfMemory;
        img = QImage(buffer.get(), size.width(), size.height(), qsizetype(size.width()) * 4, nativeFormat);
    }
    if (!reader.read(&img))
        return size.isValid() && reader.error() == QImageReader::InvalidDataError &&
                       reader.errorString().contains(QLatin1String("allocation"), Qt::CaseInsensitive)
                   ? Error::TooLarge
                   : readerError(reader);
    if (img.isNull() || img.width() <= 0 || img.height() <= 0)
        return Error::Damaged;
    if (paletteFormat && !composeGifImages(reader, img))
        return Error::Damaged;
    const QColorSpace space = img.colorSpace();
    Error e;
    if (buffer && img.constBits() == buffer.get() && img.size() == size && img.format() == nativeFormat) {
        img = QImage();
        e = convertInPlace(std::move(buffer), size.width(), size.height(), nativeFormat, out, progress);
    } else {
        buffer.reset(); // the reader made its own picture
        e = imageToDib(img, out, progress, paletteFormat);
    }
    if (e == Error::None && embedsProfile)
        ConvertDibToSrgb(*out, space);
    return e;
}

Error decodeWithQt(QFile &file, int formatCode, DIB *out, Progress &progress)
{
    prepareImageReaders();

    // The content decides first; the format code only helps a headerless DIB.
    QByteArray format;
    {
        QImageReader probe(&file);
        probe.setDecideFormatFromContent(true);
        if (probe.canRead() && acceptedQtFormat(probe.format()))
            format = probe.format();
    }
    if (format.isEmpty()) {
        const char *hint = qtFormatForCode(formatCode);
        if (!hint)
            return formatCode == DibFormatAuto ? Error::UnknownFormat : Error::WrongFormat;
        file.seek(0);
        if (!startsLikeFormat(formatCode, file.peek(16)))
            return Error::WrongFormat;
        // JPEG and TIFF that start right were decoded before Qt's readers.
        if (formatCode == DibFormatJif || formatCode == DibFormatJpg || formatCode == DibFormatTif)
            return Error::Damaged;
        QImageReader probe(&file, hint);
        probe.setAutoDetectImageFormat(false);
        if (!probe.canRead())
            return Error::Damaged;
        format = hint;
    }

    file.seek(0);
    // Qt's readers know files of these formats the own signature tests let pass.
    if (format == "jpeg" || format == "jpg")
        return DecodeJpeg(file, 1, out, &progress);
    if (format == "tiff" || format == "tif")
        return DecodeTiff(file, out, &progress);
    bool complete = true;
    if (format == "bmp")
        complete = bmpDataComplete(file);
    else if (format == "dib")
        complete = dibDataComplete(file);
    else if (format == "gif") {
        if (const Error e = gifSizeCheck(file); e != Error::None)
            return e;
        file.seek(0);
        complete = gifDataComplete(file);
    }
    if (!complete)
        return Error::Damaged;
    file.seek(0);
    // Qt's PNG reader makes a colour space of gamma and chromaticity chunks too.
    const bool embedsProfile = format != "png" || pngEmbedsProfile(file);
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    return decodeWithReader(reader, out, progress, embedsProfile);
}

enum class OwnFormat { Pcx, Iff, Tga };

Error decodeOwnFormat(QFile &file, DIB *out, Progress &progress, OwnFormat format)
{
    if (file.size() > MaxOwnFormatFileBytes)
        return Error::TooLarge;
    file.seek(0);
    const QByteArray data = file.readAll();
    if (data.size() != file.size())
        return Error::CannotOpen;
    switch (format) {
    case OwnFormat::Pcx:
        return decodePcx(data, out, progress);
    case OwnFormat::Iff:
        return decodeIff(data, out, progress);
    case OwnFormat::Tga:
        return decodeTga(data, out, progress);
    }
    return Error::Unsupported;
}

Error openDib(DIB *out, QFile &file, const QString &fileName, int formatCode, Progress &progress)
{
    if (!file.seek(0))
        return Error::CannotOpen;
    if (file.size() == 0)
        return Error::Empty;
    if (formatCode == DibFormatAuto)
        formatCode = DibFormatForFileName(fileName);

    const QByteArray head = file.peek(128);
    if (looksLikePcx(head))
        return decodeOwnFormat(file, out, progress, OwnFormat::Pcx);
    if (looksLikeIff(head))
        return decodeOwnFormat(file, out, progress, OwnFormat::Iff);
    if (looksLikeBmp(head))
        return decodeBmpFile(file, true, out, progress);
    if (formatCode == DibFormatDib && looksLikeHeaderlessDib(head))
        return decodeBmpFile(file, false, out, progress);
    if (isDeepKeyedPng(file))
        return decodeDeepKeyedPng(file, out, progress);
    if (looksLikeJpeg(head))
        return DecodeJpeg(file, 1, out, &progress);
    if (looksLikeTiff(head))
        return DecodeTiff(file, out, &progress);
    if (looksLikeHeif(head))
        return decodeHeif(file, out, progress);
    const Error viaQt = decodeWithQt(file, formatCode, out, progress);
    // TGA has no signature: it is tried when nothing else recognised the file
    // and the code or the extension says TGA.
    if (viaQt == Error::WrongFormat && formatCode == DibFormatTga) {
        if (!looksLikeTga(head))
            return Error::WrongFormat;
        return decodeOwnFormat(file, out, progress, OwnFormat::Tga);
    }
    return viaQt;
}

} // namespace

int DibFormatForFileName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return DibFormatAuto;
    QByteArray ext = fileName.mid(dot + 1).toLatin1();
    for (char &c : ext)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    static const struct {
        const char *ext;
        int code;
    } table[] = {{"BMP", DibFormatBmp}, {"DIB", DibFormatDib}, {"GIF", DibFormatGif}, {"IFF", DibFormatIff},
                 {"JIF", DibFormatJif}, {"JPG", DibFormatJpg}, {"LBM", DibFormatLbm}, {"PCX", DibFormatPcx},
                 {"RLE", DibFormatRle}, {"TGA", DibFormatTga}, {"TIF", DibFormatTif}, {"PNG", DibFormatPng},
                 {"JPEG", DibFormatJpg}, {"JPE", DibFormatJpg}, {"TIFF", DibFormatTif}, {"WEBP", DibFormatWebp},
                 {"HEIC", DibFormatHeif}, {"HEIF", DibFormatHeif}};
    for (const auto &e : table)
        if (ext == e.ext)
            return e.code;
    return DibFormatAuto;
}

namespace {

// Decodes with openDib; an exception (memory ran out in a library, say) fails
// the decode like a damaged file instead of leaving the caller, which may be a
// pool task.
void openDibFile(DIB *out, QFile *file, const QString &fileName, int formatCode, const ProgressFn &report)
{
    *out = DIB{};
    Progress progress(report);
    Error e = Error::CannotOpen;
    try {
        QFile own;
        if (!file) {
            own.setFileName(fileName);
            if (own.open(QIODevice::ReadOnly))
                file = &own;
        }
        if (file)
            e = openDib(out, *file, fileName, formatCode, progress);
    } catch (...) {
        e = exceptionError();
    }
    if (e != Error::None || !out->Bits) {
        deldib(out);
        const int code = formatCode == DibFormatAuto ? DibFormatForFileName(fileName) : formatCode;
        SetDibError(out, errorText(e == Error::None ? Error::Damaged : e, formatName(code)));
    }
    progress.finish();
}

} // namespace

void OpenDib(DIB *out, const QString &fileName, int formatCode, const ProgressFn &progress)
{
    openDibFile(out, nullptr, fileName, formatCode, progress);
}

void OpenDibFile(DIB *out, QFile &file, const QString &fileName, int formatCode, const ProgressFn &progress)
{
    openDibFile(out, &file, fileName, formatCode, progress);
}
