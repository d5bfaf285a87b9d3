#include "picture/FileCheck.h"

#include "picture/ScaledDecode.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>

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
