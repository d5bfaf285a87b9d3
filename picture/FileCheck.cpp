#include "picture/FileCheck.h"

#include "picture/ScaledDecode.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

namespace {
constexpr int BlockBytes = 65536;
} // namespace

std::optional<std::int32_t> FileCheck(const QString& path)
{
    QFile f;
    if (!OpenRegularFile(path, f))
        return std::nullopt;
    return FileCheck(f);
}

std::optional<std::int32_t> FileCheck(QFile& f)
{
    struct stat st { };
    if (::fstat(f.handle(), &st) != 0)
        return std::nullopt;
    // FNV-1a, 64 bits, over little-endian 8-byte words (a byte at a time
    // for the rest), folded to 32. Words keep it cheap next to a revisit.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](const void* data, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(data);
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t word = 0;
            for (int k = 7; k >= 0; --k)
                word = word << 8 | b[i + std::size_t(k)];
            hash = (hash ^ word) * 1099511628211ull;
        }
        for (; i < n; ++i)
            hash = (hash ^ b[i]) * 1099511628211ull;
    };
    const std::int64_t stamp[3] = { std::int64_t(st.st_size), std::int64_t(st.st_mtim.tv_sec),
        std::int64_t(st.st_mtim.tv_nsec) };
    mix(stamp, sizeof stamp);
    const qint64 size = st.st_size;
    QByteArray block(BlockBytes, Qt::Uninitialized);
    if (!f.seek(0))
        return std::nullopt;
    const qint64 head = f.read(block.data(), std::min<qint64>(size, BlockBytes));
    if (head < 0)
        return std::nullopt;
    mix(block.constData(), std::size_t(head));
    if (size > BlockBytes) {
        const qint64 tailStart = std::max<qint64>(BlockBytes, size - BlockBytes);
        if (!f.seek(tailStart))
            return std::nullopt;
        const qint64 tail = f.read(block.data(), size - tailStart);
        if (tail < 0)
            return std::nullopt;
        mix(block.constData(), std::size_t(tail));
    }
    if (!f.seek(0))
        return std::nullopt;
    return std::int32_t(std::uint32_t(hash ^ (hash >> 32)));
}

namespace {
constexpr std::uint64_t K1 = 0x9e3779b185ebca87ull, K2 = 0xc2b2ae3d27d4eb4full, K3 = 0x165667b19e3779f9ull,
                        K4 = 0x85ebca77c2b2ae63ull, K5 = 0x27d4eb2f165667c5ull;

std::uint64_t rotl(std::uint64_t v, int k) { return (v << k) | (v >> (64 - k)); }

std::uint64_t word(const unsigned char *p)
{
    std::uint64_t w = 0;
    for (int k = 7; k >= 0; --k)
        w = w << 8 | p[k];
    return w;
}

std::uint64_t mixIn(std::uint64_t lane, std::uint64_t w) { return rotl(lane + w * K2, 31) * K1; }
} // namespace

void ContentHash::stripe(const unsigned char *p)
{
    for (int i = 0; i < 4; ++i)
        Lanes[i] = mixIn(Lanes[i], word(p + 8 * i));
}

void ContentHash::addData(const char *data, qsizetype size)
{
    if (size <= 0)
        return;
    auto p = reinterpret_cast<const unsigned char *>(data);
    auto n = std::size_t(size);
    Length += n;
    if (TailSize > 0) {
        const std::size_t k = std::min(n, std::size_t(32 - TailSize));
        std::memcpy(Tail + TailSize, p, k);
        TailSize += int(k);
        p += k;
        n -= k;
        if (TailSize < 32)
            return;
        stripe(Tail);
        TailSize = 0;
    }
    for (; n >= 32; p += 32, n -= 32)
        stripe(p);
    std::memcpy(Tail, p, n);
    TailSize = int(n);
}

QByteArray ContentHash::result() const
{
    std::uint64_t h = rotl(Lanes[0], 1) + rotl(Lanes[1], 7) + rotl(Lanes[2], 12) + rotl(Lanes[3], 18);
    for (const std::uint64_t lane : Lanes)
        h = (h ^ mixIn(0, lane)) * K1 + K4;
    h += Length;
    int i = 0;
    for (; i + 8 <= TailSize; i += 8)
        h = rotl(h ^ mixIn(0, word(Tail + i)), 27) * K1 + K4;
    for (; i < TailSize; ++i)
        h = rotl(h ^ (Tail[i] * K5), 11) * K1;
    h ^= h >> 33;
    h *= K2;
    h ^= h >> 29;
    h *= K3;
    h ^= h >> 32;
    QByteArray out(8, Qt::Uninitialized);
    for (int k = 0; k < 8; ++k)
        out[k] = char(h >> (8 * k));
    return out;
}
