#include "picture/ScaledDecode.h"

#include "picture/DecodeSupport.h"
#include "picture/JpegDecoder.h"
#include "picture/OpenDib.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace DibDecode;

namespace {

bool isJpeg(const QByteArray &head)
{
    return head.size() >= 3 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0xD8 && uchar(head[2]) == 0xFF;
}

int ceilDiv(int a, int b) { return (a + b - 1) / b; }

// libjpeg scales by 1/8, 1/4 or 1/2 in the DCT: the smallest of these that
// still covers the full picture fitted into box; 1 when none does.
QSize fittedInto(QSize full, QSize box)
{
    QSize atLeast(box.width(), int(std::int64_t(full.height()) * box.width() / full.width()));
    if (atLeast.height() > box.height())
        atLeast = QSize(int(std::int64_t(full.width()) * box.height() / full.height()), box.height());
    return atLeast;
}

// The fewest eighths (1 .. 8) whose scaled picture still covers atLeast;
// 3, 6 and 7 eighths are raised to 4 and 8, which libjpeg decodes faster
// (its inverse transforms at those sizes have no vector code).
int jpegEighths(QSize full, QSize atLeast)
{
    int m = 1;
    while (m < 8 && (ceilDiv(full.width() * m, 8) < atLeast.width() || ceilDiv(full.height() * m, 8) < atLeast.height()))
        ++m;
    return m == 3 ? 4 : m > 5 ? 8 : m;
}

int jpegDenominator(QSize full, QSize box)
{
    const QSize atLeast = fittedInto(full, box);
    int n = 8;
    while (n > 1 && (ceilDiv(full.width(), n) < atLeast.width() || ceilDiv(full.height(), n) < atLeast.height()))
        n /= 2;
    return n;
}

PictureHeader trueColourHeader(QSize full)
{
    return {full.width(), full.height(), 24,
            std::uint32_t(std::uint64_t(DibRowBytes(std::uint32_t(full.width()), 24)) * std::uint64_t(full.height()))};
}

// Error::Unsupported: not a JPEG or no reduction possible, so decode whole.
Error decodeJpegScaled(QFile &file, QSize box, DctScales scales, ScaledPicture *out)
{
    if (!file.seek(0) || !isJpeg(file.peek(3)))
        return Error::Unsupported;
    JpegHeader header;
    if (ReadJpegHeader(file, &header) != Error::None || header.width <= 0 || header.height <= 0)
        return Error::Unsupported; // OpenDib gives the error text
    const QSize whole = QSize(header.width, header.height);
    if (std::uint64_t(whole.width()) * std::uint64_t(whole.height()) > MaxPixels)
        return Error::TooLarge;
    if (scales == DctScales::Eighths) {
        const int m = jpegEighths(whole, fittedInto(whole, box));
        if (m == 8 || !file.seek(0))
            return Error::Unsupported;
        const Error e = DecodeJpegEighths(file, m, &out->Dib);
        if (e == Error::None)
            out->Full = trueColourHeader(whole);
        return e;
    }
    const int n = jpegDenominator(whole, box);
    if (n == 1 || !file.seek(0))
        return Error::Unsupported;
    const Error e = DecodeJpeg(file, n, &out->Dib);
    if (e == Error::None)
        out->Full = trueColourHeader(whole);
    return e;
}

} // namespace

bool OpenRegularFile(const QString &path, QFile &file)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

ScaledPicture DecodeScaled(const QString &path, int formatCode, QSize box)
{
    QFile file;
    if (!OpenRegularFile(path, file)) {
        ScaledPicture r;
        SetDibError(&r.Dib, errorText(Error::CannotOpen));
        return r;
    }
    return DecodeScaled(file, path, formatCode, box);
}

ScaledPicture DecodeScaled(QFile &file, const QString &path, int formatCode, QSize box, DctScales scales)
{
    ScaledPicture r;
    if (!box.isEmpty()) {
        Error e = Error::Unsupported;
        try {
            e = decodeJpegScaled(file, box, scales, &r);
        } catch (...) {
            e = exceptionError();
        }
        if (e == Error::None && r.Dib.Bits)
            return r;
        deldib(&r.Dib);
        if (e != Error::Unsupported) {
            SetDibError(&r.Dib, errorText(e == Error::None ? Error::Damaged : e));
            return r;
        }
    }
    OpenDibFile(&r.Dib, file, path, formatCode, nullptr);
    if (r.Dib.Bits)
        r.Full = {DibWidth(r.Dib), DibHeight(r.Dib), DibBitCount(r.Dib), r.Dib.Info->biSizeImage};
    return r;
}

bool ReadPictureHeader(const QString &path, PictureHeader *out)
{
    QFile file;
    if (!OpenRegularFile(path, file))
        return false;
    prepareImageReaders();
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize full = reader.size();
    if (!full.isValid() || full.isEmpty() || std::uint64_t(full.width()) * std::uint64_t(full.height()) > MaxPixels)
        return false;
    // Depth rules: palette pictures get 1, 4 or 8 bits by their colour count,
    // which only decoding tells; everything else becomes 24 bits.
    const QByteArray format = reader.format();
    const QImage::Format pixels = reader.imageFormat();
    if (format == "gif" || pixels == QImage::Format_Invalid || pixels == QImage::Format_Indexed8
        || pixels == QImage::Format_Mono || pixels == QImage::Format_MonoLSB)
        return false;
    *out = trueColourHeader(full);
    return true;
}
