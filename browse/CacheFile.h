#pragma once
// The thumbnail cache file "bnsbrwse.cbf" kept in every browsed folder, and the
// thumbnail list it stores. Little-endian, no padding:
//   magic (u16 0x0E71), count N (i32), N entries of
//   name (261 bytes, zero-terminated UTF-8), info (32 bytes), L (i32),
//   BITMAPINFOHEADER (40) + colour table (P) + pixel rows (S), L = 40 + P + S.
#include "picture/Dib.h"
#include "picture/FileCheck.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

inline constexpr std::uint16_t CacheMagic = 0x0E71;
inline constexpr int CacheNameBytes = 261;
inline constexpr const char* CacheFileName = "bnsbrwse.cbf";

// Describes a thumbnail and its full-size picture; stored byte for byte.
struct ThumbInfo {
    std::int32_t BitCount = 0; // of the full-size picture
    std::int32_t ThumbWidth = 0; // pixels
    std::int32_t ThumbHeight = 0;
    std::int32_t FullWidth = 0;
    std::int32_t FullHeight = 0;
    std::int32_t Colours = 0; // 2^BitCount
    std::int32_t SizeKB = 0; // full-size biSizeImage >> 10
    std::int32_t Check = 0; // CalcCheck of the file
};
static_assert(sizeof(ThumbInfo) == 32);

struct ThumbEntry {
    DIB Dib; // owned: released by ThumbList::clear
    QString Name; // without folder
    ThumbInfo Info;
};

// The browser's thumbnails, index 1..count in the interface, 0-based here.
class ThumbList {
public:
    ThumbList() = default;
    ThumbList(const ThumbList&) = delete;
    ThumbList& operator=(const ThumbList&) = delete;
    ~ThumbList() { clear(); }
    int count() const { return int(Items.size()); }
    const ThumbEntry& at(int i) const { return Items[std::size_t(i)]; }
    // Takes over the DIB.
    void append(const DIB& dib, const QString& name, const ThumbInfo& info) { Items.push_back({ dib, name, info }); }
    void clear();

private:
    std::vector<ThumbEntry> Items;
};

struct CacheIndexEntry {
    QString Name;
    ThumbInfo Info;
    std::int64_t BlockOffset = 0; // file offset of the picture block
    std::int32_t BlockLength = 0; // L
};
using CacheIndex = std::vector<CacheIndexEntry>;

// folder ends in '/' or not; the cache file inside it.
[[nodiscard]] QString CacheFilePath(const QString& folder);

// Names, infos and block offsets of a folder's cache; empty when there is no
// cache or it is foreign. A damaged file yields the entries read completely.
[[nodiscard]] CacheIndex LoadBrowseInfos(const QString& folder);

// Colour-table bytes of a depth/colour count: 4 per colour up to 256 colours.
[[nodiscard]] int CacheColourTableBytes(int colours);

// Reads one thumbnail. Bits is nil when the block does not hold a plausible
// thumbnail of width x height (at most 80x80) at `bits` with L = blockLength.
[[nodiscard]] DIB LoadThumbnail(const QString& folder, std::int64_t blockOffset, std::int32_t blockLength, int width,
    int height, int bits, int colours);

// The whole cache file as bytes for a list (no file involved).
[[nodiscard]] QByteArray CacheFileBytes(const ThumbList& list);

// Rewrites the folder's cache from the list. Nothing happens for an empty list,
// when a file of that name is not a cache file, or when it cannot be written.
void SaveBrowseInfos(const QString& folder, const ThumbList& list);
// The same with the bytes already made (CacheFileBytes of a list that is not
// empty); safe on any thread.
void SaveCacheFile(const QString& folder, const QByteArray& bytes);

// Replaces path's content by bytes through a temporary file beside it that is
// renamed only when every byte reached the disk; on failure the old file stays.
// Removes temporaries of earlier saves of the same file that were cut short.
bool WriteFileSafely(const QString& path, const QByteArray& bytes);

// First index entry whose name matches (ASCII case ignored) with the same
// check value, or -1.
[[nodiscard]] int FindCacheEntry(const CacheIndex& index, const QString& name, std::int32_t check);

// FileCheck, or for an unreadable file a random value 0..32766.
[[nodiscard]] std::int32_t CalcCheck(const QString& path);
