#pragma once
// The arrangement's records: the picture collection, the placements of all
// pages, the selection and the id counter, with the full pictures' store.
#include "document/PictureEntry.h"
#include "document/OrderList.h"
#include "document/PictureStore.h"
#include "document/Placement.h"
#include "document/SheetTexts.h"
#include "document/TDynaArray.h"

#include <QString>
#include <QStringList>

#include <vector>

class TArrangement
{
public:
    TArrangement();
    virtual ~TArrangement();
    TArrangement(const TArrangement &) = delete;
    TArrangement &operator=(const TArrangement &) = delete;

    std::vector<PictureEntry> Pictures;
    int PictureCount() const { return int(Pictures.size()); }
    std::int32_t NextPictureId = 0;

    Placement *CurrentPlacement = nullptr;
    TDynaArray<Placement> Placements{&CurrentPlacement};
    std::int32_t SelectedPlacement = -1;
    std::int32_t SelectedPicture = 0;
    // Full pictures of Reduced entries, made on demand.
    mutable PictureStore Store;
    // Contact sheet headers and cell captions.
    SheetTexts Sheets;
    // The order list the order sheets were made from.
    OrderList Orders;

    // Lookups by id; the result is left unchanged when no entry has the id.
    // The DIB copy shares the entry's pixels and is never released by its holder.
    void getnumdib(int pictureId, DIB *dest) const;
    void getnumfname(int pictureId, QString &result) const;
    void getnumComment(int pictureId, QString &result) const;
    PictureEntry *pictureById(int pictureId);
    int pictureIndexById(int pictureId) const;

    // Empties the collection and the placements; NextPictureId keeps counting.
    void DelallPics();

    // Appends an entry for a decoded picture with the next id; returns the id.
    int appendPicture(const QString &fileName, const DIB &dib);
    // Removes entry i and every placement showing it, then brings
    // SelectedPlacement back into range.
    void deletePictureEntry(int index);
    // Swaps the selected placement with the last one (topmost); false if unchanged.
    bool moveSelectedToTop();
    // Deletes the selected placement and clears the selection.
    void deleteSelectedPlacement();
    // The highest page any placement is on; 0 without placements.
    int highestPage() const;
};

// File names of the pictures placed on the pages whose files changed or
// vanished since they were decoded (only pictures made again from their files
// count): they print from their screen copies.
[[nodiscard]] QStringList ChangedPictureFiles(const TArrangement &doc, const std::vector<int> &pages);
