#include "document/Arrangement.h"

#include <algorithm>
#include <map>
#include <set>

TArrangement::TArrangement() = default;

TArrangement::~TArrangement() { DelallPics(); }

int TArrangement::pictureIndexById(int pictureId) const
{
    for (int i = 0; i < PictureCount(); ++i)
        if (Pictures[std::size_t(i)].PictureId == pictureId)
            return i;
    return -1;
}

PictureEntry *TArrangement::pictureById(int pictureId)
{
    const int i = pictureIndexById(pictureId);
    return i < 0 ? nullptr : &Pictures[std::size_t(i)];
}

void TArrangement::getnumdib(int pictureId, DIB *dest) const
{
    const int i = pictureIndexById(pictureId);
    if (i >= 0)
        *dest = Pictures[std::size_t(i)].Dib;
}

void TArrangement::getnumfname(int pictureId, QString &result) const
{
    const int i = pictureIndexById(pictureId);
    if (i >= 0)
        result = Pictures[std::size_t(i)].FileName;
}

void TArrangement::getnumComment(int pictureId, QString &result) const
{
    const int i = pictureIndexById(pictureId);
    if (i >= 0)
        result = Pictures[std::size_t(i)].Comment.isNull() ? QString(QLatin1String("")) : Pictures[std::size_t(i)].Comment;
}

void TArrangement::DelallPics()
{
    Placements.Clear();
    Sheets.clear();
    Orders.clear();
    SelectedPlacement = -1;
    for (PictureEntry &entry : Pictures)
        deldib(&entry.Dib);
    Pictures.clear();
    Pictures.shrink_to_fit();
    Store.clear();
}

int TArrangement::appendPicture(const QString &fileName, const DIB &dib)
{
    PictureEntry entry;
    entry.FileName = fileName;
    entry.Dib = dib;
    entry.Recipe = RecipeOfDib(dib);
    entry.Rotation = 0;
    entry.PictureId = NextPictureId++;
    Pictures.push_back(std::move(entry));
    return Pictures.back().PictureId;
}

void TArrangement::deletePictureEntry(int index)
{
    if (index < 0 || index >= PictureCount())
        return;
    const int id = Pictures[std::size_t(index)].PictureId;
    // From the last index down, so deleting does not skip any.
    for (int i = Placements.size() - 1; i >= 0; --i)
        if (Placements.at(i).PictureId == id)
            Placements.Delete(i);
    deldib(&Pictures[std::size_t(index)].Dib);
    Pictures.erase(Pictures.begin() + index);
    if (SelectedPlacement >= 0 && SelectedPlacement > Placements.size() - 1)
        SelectedPlacement = Placements.size() - 1;
}

bool TArrangement::moveSelectedToTop()
{
    const int last = Placements.size() - 1;
    if (SelectedPlacement < 0 || last < 0 || SelectedPlacement >= last)
        return false;
    Placements.Exchange(SelectedPlacement, last);
    SelectedPlacement = last;
    return true;
}

void TArrangement::deleteSelectedPlacement()
{
    if (SelectedPlacement < 0)
        return;
    Placements.Delete(SelectedPlacement);
    SelectedPlacement = -1;
}

int TArrangement::highestPage() const
{
    int highest = 0;
    for (int i = 0; i < Placements.size(); ++i)
        highest = std::max(highest, int(Placements.at(i).Page));
    return highest;
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
