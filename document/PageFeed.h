#pragma once
// The full pictures that printing and export draw, fetched a page ahead.
#include "document/PictureStore.h"

#include <QStringList>

#include <cstddef>
#include <unordered_map>
#include <vector>

class TArrangement;

// Full pictures of one page, by picture id.
using PagePictures = std::unordered_map<int, DIB>;

// Full pictures for printing and export, one page at a time: asking for a
// page hands out its pictures and starts the next page's on the pool, so
// decoding overlaps writing. A picture whose file changed or vanished is left
// out: drawing falls back to the entry's screen copy as it does on the screen.
// Recipes are copied when made, so the feed may be used on another thread than
// the arrangement's.
class PageFeed {
public:
    PageFeed(const TArrangement &doc, const std::vector<int> &pages);
    ~PageFeed();
    PageFeed(const PageFeed &) = delete;
    PageFeed &operator=(const PageFeed &) = delete;
    // Pages must be asked for in the order given; earlier ones are released.
    [[nodiscard]] const PagePictures &page(int page);

    struct Job;

private:
    void prefetch(std::size_t index);
    struct Page;
    std::vector<Page> Pages;
    std::size_t Current = 0;
    PagePictures Handed;
};

// File names of the pictures placed on the pages whose files changed or
// vanished since they were decoded (only pictures made again from their files
// count).
[[nodiscard]] QStringList ChangedPictureFiles(const TArrangement &doc, const std::vector<int> &pages);
