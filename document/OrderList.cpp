#include "document/OrderList.h"

#include "document/ByteStream.h"

#include <cmath>

namespace {
// Three empty texts, two sizes, the flags and the copies.
constexpr qsizetype MinOrderRecord = 3 * 4 + 2 * 8 + 1 + 4;
constexpr std::uint8_t UprightFlag = 1;
constexpr double MinSideMm = 1;
constexpr double MaxSideMm = 1000;
} // namespace

QByteArray OrderChunkPayload(const OrderList &orders)
{
    if (orders.empty())
        return {};
    ByteWriter w;
    w.u32(std::uint32_t(orders.size()));
    for (const OrderLine &l : orders) {
        w.string(l.Order);
        w.string(l.Picture);
        w.string(l.Size);
        w.f64(l.WidthMm);
        w.f64(l.HeightMm);
        w.u8(l.Upright ? UprightFlag : 0);
        w.u32(std::uint32_t(l.Copies));
    }
    return w.bytes;
}

bool ReadOrderChunk(const QByteArray &payload, OrderList &orders)
{
    ByteReader r(payload);
    const std::uint32_t count = r.u32();
    if (!r.ok() || count > std::uint32_t(r.remaining() / MinOrderRecord))
        return false;
    OrderList read;
    read.reserve(std::min<std::uint32_t>(count, MaxOrderLines));
    for (std::uint32_t i = 0; i < count; ++i) {
        OrderLine l;
        l.Order = r.string().left(MaxOrderTextLength);
        l.Picture = r.string().left(MaxOrderTextLength);
        l.Size = r.string().left(MaxOrderTextLength);
        l.WidthMm = r.f64();
        l.HeightMm = r.f64();
        l.Upright = (r.u8() & UprightFlag) != 0;
        l.Copies = int(std::min<std::uint32_t>(r.u32(), MaxOrderCopies));
        if (!r.ok())
            return false;
        // A line without a size cannot be printed; one beyond the list's length is not kept.
        if (std::isnan(l.WidthMm) || std::isnan(l.HeightMm) || read.size() >= std::size_t(MaxOrderLines))
            continue;
        l.WidthMm = std::clamp(l.WidthMm, MinSideMm, MaxSideMm);
        l.HeightMm = std::clamp(l.HeightMm, MinSideMm, MaxSideMm);
        l.Copies = std::max(l.Copies, 1);
        read.push_back(std::move(l));
    }
    orders = std::move(read);
    return true;
}
