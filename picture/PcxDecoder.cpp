#include "picture/DecodeSupport.h"

namespace DibDecode {

bool looksLikePcx(const QByteArray &head)
{
    if (head.size() < 128)
        return false;
    const auto *h = reinterpret_cast<const unsigned char *>(head.constData());
    const bool version = h[1] == 0 || h[1] == 2 || h[1] == 3 || h[1] == 4 || h[1] == 5;
    const bool bpp = h[3] == 1 || h[3] == 2 || h[3] == 4 || h[3] == 8;
    return h[0] == 0x0A && version && h[2] <= 1 && bpp;
}

Error decodePcx(const QByteArray &, DIB *, Progress &)
{
    return Error::Unsupported;
}

} // namespace DibDecode
