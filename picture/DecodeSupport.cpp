#include "picture/DecodeSupport.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace DibDecode {

QString errorText(Error e)
{
    switch (e) {
    case Error::None:
        return QString();
    case Error::CannotOpen:
        return QCoreApplication::translate("OpenDib", "The file could not be opened.");
    case Error::Empty:
        return QCoreApplication::translate("OpenDib", "The file is empty.");
    case Error::UnknownFormat:
        return QCoreApplication::translate("OpenDib", "The file is not a picture in a known format.");
    case Error::WrongFormat:
        return QCoreApplication::translate("OpenDib", "The file is not a picture in the chosen format.");
    case Error::Damaged:
        return QCoreApplication::translate("OpenDib", "The file is damaged or truncated.");
    case Error::TooLarge:
        return QCoreApplication::translate("OpenDib", "The picture is too large to be loaded.");
    case Error::Unsupported:
        return QCoreApplication::translate("OpenDib", "This kind of picture is not supported.");
    case Error::OutOfMemory:
        return QCoreApplication::translate("OpenDib", "There is not enough memory to load the picture.");
    case Error::Changed:
        return QCoreApplication::translate("OpenDib", "The file has changed since the picture was added.");
    }
    return QString();
}

QString errorText(Error e, const QString &formatName)
{
    if (e == Error::WrongFormat && !formatName.isEmpty())
        return QCoreApplication::translate("OpenDib", "The file is not a picture in the %1 format.").arg(formatName);
    return errorText(e);
}

Error exceptionError() noexcept
{
    try {
        throw;
    } catch (const std::bad_alloc &) {
        return Error::OutOfMemory;
    } catch (...) {
        return Error::Damaged;
    }
}

void Progress::report(std::uint64_t done, std::uint64_t total)
{
    if (!m_report || total == 0)
        return;
    const int percent = int(std::min<std::uint64_t>(done, total) * 100 / total);
    if (percent != m_last) {
        m_last = percent;
        m_report(percent);
    }
}

void Progress::finish()
{
    m_last = 0;
    ReportProgress(m_report, 0);
}

bool newPaletteDib(DIB *out, int width, int height, int bits, const RGBQUAD *colours, int count)
{
    const int n = PaletteSize(bits);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[256];
    } block{};
    std::copy_n(colours, std::clamp(count, 0, n), block.table);
    return newdib(out, width, height, bits, &block.header, n);
}

bool adopt24BitRows(DIB *out, int width, int height, BYTE *rows)
{
    *out = DIB{};
    std::shared_ptr<BYTE[]> bits(rows, [](BYTE *p) { std::free(p); });
    auto *info = static_cast<BYTE *>(std::calloc(1, sizeof(BITMAPINFOHEADER)));
    if (!info)
        return false;
    out->InfoMem = std::shared_ptr<BYTE[]>(info, [](BYTE *p) { std::free(p); });
    out->BitsMem = std::move(bits);
    auto *h = reinterpret_cast<BITMAPINFOHEADER *>(info);
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = 24;
    h->biCompression = BI_RGB;
    out->RowBytes = DibRowBytes(std::uint32_t(width), 24);
    h->biSizeImage = DWORD(std::uint64_t(out->RowBytes) * std::uint64_t(height));
    out->Info = h;
    out->Bits = rows;
    return true;
}

} // namespace DibDecode
