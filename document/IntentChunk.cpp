// The INTN chunk: test strip copies printed at a rendering intent of their own.
#include "document/ArrangementFile.h"

#include "document/ByteStream.h"

namespace {
constexpr std::size_t IntentRecordSize = 5; // index, intent
constexpr int LastIntent = 3;
} // namespace

QByteArray IntentChunkPayload(const std::vector<StoredPicture>& pictures)
{
    ByteWriter w;
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].PrintIntent >= 0) {
            w.u32(std::uint32_t(i));
            w.u8(std::uint8_t(pictures[i].PrintIntent));
            ++n;
        }
    if (n == 0)
        return {};
    ByteWriter out;
    out.u32(n);
    out.bytes.append(w.bytes);
    return out.bytes;
}

bool ReadIntentChunk(const QByteArray& payload, std::vector<StoredPicture>& pictures)
{
    ByteReader r(payload);
    const std::uint32_t n = r.u32();
    if (!r.ok() || n > std::uint64_t(r.remaining()) / IntentRecordSize)
        return false;
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::uint32_t index = r.u32();
        const std::uint8_t intent = r.u8();
        if (!r.ok() || intent > LastIntent)
            return false;
        if (index < pictures.size())
            pictures[index].PrintIntent = std::int8_t(intent);
    }
    return true;
}
