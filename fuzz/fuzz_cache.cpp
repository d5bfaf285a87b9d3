// Any bytes as a folder's thumbnail cache, read the way the browser reads it:
// the index, then every entry's thumbnail at the size and depth the entry
// declares, and the list written back.
#include "FuzzSupport.h"

#include "browse/CacheFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString folder = Fuzz::ScratchFolder();
    if (!Fuzz::WriteFile(CacheFilePath(folder), data, size))
        return 0;
    const CacheIndex index = LoadBrowseInfos(folder);
    ThumbList list;
    for (const CacheIndexEntry &e : index) {
        if (FindCacheEntry(index, e.Name, e.Info.Check) < 0)
            __builtin_trap(); // an entry the index holds must be found
        const DIB thumb = LoadThumbnail(folder, e.BlockOffset, e.BlockLength, e.Info.ThumbWidth, e.Info.ThumbHeight,
                                        e.Info.BitCount, e.Info.Colours);
        if (thumb.Bits)
            list.append(thumb, e.Name, e.Info);
    }
    const QByteArray again = CacheFileBytes(list);
    (void)again;
    return 0;
}
