#include "picture/DecodeSupport.h"

namespace DibDecode {

bool looksLikeIff(const QByteArray &head)
{
    return head.size() >= 12 && head.startsWith("FORM") && (head.mid(8, 4) == "ILBM" || head.mid(8, 4) == "PBM ");
}

Error decodeIff(const QByteArray &, DIB *, Progress &)
{
    return Error::Unsupported;
}

} // namespace DibDecode
