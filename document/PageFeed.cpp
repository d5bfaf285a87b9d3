#include "document/PageFeed.h"

#include "document/Arrangement.h"
#include "picture/DecodePool.h"
#include "picture/DecodeSupport.h"
#include "picture/PoolHandoff.h"

#include <QThreadPool>

#include <algorithm>
#include <future>
#include <map>
#include <set>

struct PageFeed::Page {
    int Number = 0;
    struct Item {
        int Id = 0;
        PictureRecipe Recipe;
        DIB Screen; // the entry's pixels: the full picture unless Reduced
        bool Reduced = false;
        std::shared_future<DIB> Made;
    };
    std::vector<Item> Items;
    bool Started = false;
};

PageFeed::PageFeed(const TArrangement &doc, const std::vector<int> &pages)
{
    for (int number : pages) {
        Page page;
        page.Number = number;
        for (int i = 0; i < doc.Placements.size(); ++i) {
            const Placement &p = doc.Placements.at(i);
            if (p.Page != number)
                continue;
            const int index = doc.pictureIndexById(p.PictureId);
            if (index < 0)
                continue;
            const PictureEntry &entry = doc.Pictures[std::size_t(index)];
            if (std::any_of(page.Items.begin(), page.Items.end(), [&](const Page::Item &it) { return it.Id == p.PictureId; }))
                continue;
            Page::Item item;
            item.Id = p.PictureId;
            item.Recipe = entry.Recipe;
            item.Screen = entry.Dib;
            item.Reduced = entry.Reduced;
            // One already held spares the decode.
            if (entry.Reduced) {
                const DIB held = doc.Store.held(entry);
                if (held.Bits) {
                    std::promise<DIB> ready;
                    ready.set_value(held);
                    item.Made = ready.get_future().share();
                    item.Reduced = false;
                    item.Screen = held;
                }
            }
            page.Items.push_back(std::move(item));
        }
        Pages.push_back(std::move(page));
    }
}

PageFeed::~PageFeed() = default;

void PageFeed::prefetch(std::size_t index)
{
    if (index >= Pages.size() || Pages[index].Started)
        return;
    Page &page = Pages[index];
    page.Started = true;
    for (Page::Item &item : page.Items) {
        if (!item.Reduced)
            continue;
        // The previous page's copy when the picture is on both.
        bool reused = false;
        if (index > 0)
            for (const Page::Item &before : Pages[index - 1].Items)
                if (before.Id == item.Id && before.Made.valid()) {
                    item.Made = before.Made;
                    reused = true;
                }
        if (reused)
            continue;
        auto promise = std::make_shared<std::promise<DIB>>();
        item.Made = promise->get_future().share();
        QRunnable *task = QRunnable::create([promise, recipe = item.Recipe] {
            PoolHandoff();
            BackgroundWork();
            // Nil when the file is no longer the one decoded, so that it does
            // not print something else.
            DIB made;
            try {
                made = ReplayRecipe(recipe);
            } catch (...) {
                // Left out like a changed file: the page must still get its answer.
            }
            if (!made.Bits)
                deldib(&made);
            promise->set_value(made);
        });
        PoolHandoff();
        DecodePool()->start(task);
    }
}

const PagePictures &PageFeed::page(int number)
{
    Handed.clear();
    while (Current < Pages.size() && Pages[Current].Number != number) {
        Pages[Current].Items.clear();
        ++Current;
    }
    if (Current >= Pages.size())
        return Handed;
    prefetch(Current);
    prefetch(Current + 1);
    for (const Page::Item &item : Pages[Current].Items) {
        // A picture that could not be made is left out: the drawing then takes
        // the screen copy with the source rectangle mapped onto it.
        const DIB picture = item.Reduced ? item.Made.get() : item.Screen;
        if (picture.Bits)
            Handed[item.Id] = picture;
    }
    // Released when the next page is asked for.
    if (Current > 0)
        Pages[Current - 1].Items.clear();
    return Handed;
}

QStringList ChangedPictureFiles(const TArrangement &doc, const std::vector<int> &pages)
{
    std::set<int> placed;
    for (int i = 0; i < doc.Placements.size(); ++i) {
        const Placement &p = doc.Placements.at(i);
        if (std::find(pages.begin(), pages.end(), p.Page) != pages.end())
            placed.insert(p.PictureId);
    }
    // Copies of one file are read once: the check reads the file's ends.
    std::map<std::pair<QString, std::int32_t>, bool> unchanged;
    QStringList changed;
    for (const PictureEntry &entry : doc.Pictures) {
        if (!entry.Reduced || !placed.count(entry.PictureId))
            continue;
        const auto key = std::make_pair(entry.Recipe.File, entry.Recipe.Check.value_or(0));
        auto known = unchanged.find(key);
        if (known == unchanged.end())
            known = unchanged.emplace(key, RecipeFileUnchanged(entry.Recipe)).first;
        if (!known->second && !changed.contains(entry.FileName))
            changed.append(entry.FileName);
    }
    return changed;
}
