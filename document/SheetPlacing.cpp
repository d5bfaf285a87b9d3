// The sheet makers' one operation: their frames, captions and headers put into
// the arrangement as one undo step.
#include "document/ArrangementDocument.h"

#include "document/FrameView.h"
#include "document/PictureStore.h"
#include "picture/PrintFinish.h"

#include <algorithm>
#include <map>

int SheetPlan::sheets() const
{
    int last = -1;
    for (const SheetPlanFrame &f : Frames)
        last = std::max(last, f.Sheet);
    if (!Headers.empty())
        last = std::max(last, Headers.rbegin()->first);
    return last + 1;
}

SheetPlaced ArrangementDocument::placeSheet(const SheetPlan &plan, const QString &undoText, const PageGeometry &paper,
                                            QualityFailures *failures)
{
    SheetPlaced result;
    for (const SheetPlanFrame &f : plan.Frames)
        if (f.Picture < 0 || f.Picture >= Records.PictureCount() || f.Sheet < 0) {
            result.Refused = SheetRefusal::NoPicture;
            return result;
        }
    const int sheets = plan.sheets();
    if (sheets == 0)
        return result;
    int first = CurrentPage;
    if (plan.FreshPage) {
        // The first run of pages from the current one on that hold no frames.
        std::vector<int> used;
        for (int i = 0; i < Records.Placements.size(); ++i)
            used.push_back(Records.Placements.at(i).Page);
        std::sort(used.begin(), used.end());
        for (int page : used)
            if (page >= first && page < first + sheets)
                first = page + 1;
    }
    if (first + sheets - 1 > MaxPages || (!plan.Headers.empty() && plan.Headers.begin()->first < 0)) {
        result.Refused = SheetRefusal::TooManyPages;
        return result;
    }

    const Step s = step(undoText);
    // A toned frame, or one printed at an intent of its own, shows a copy
    // through its table (the identity for an intent alone), made once per
    // picture, table and intent.
    std::map<std::tuple<int, ToneTable, int>, int> tonedIds;
    auto tonedCopy = [&](int index, const ToneTable& table, int intent) {
        const auto known = tonedIds.find({ index, table, intent });
        if (known != tonedIds.end())
            return known->second;
        PictureEntry copy = Records.Pictures[std::size_t(index)];
        int id = copy.PictureId;
        PictureStep tone;
        tone.What = PictureStep::Kind::Tone;
        tone.Table = table;
        if (ReplayToneStep(copy, tone)) {
            if (intent >= 0 && intent <= 3)
                copy.PrintIntent = std::int8_t(intent);
            copy.PictureId = id = Records.NextPictureId++;
            Records.Pictures.push_back(copy);
            touch(Change::Collection | Change::Pictures);
        }
        tonedIds[{ index, table, intent }] = id;
        return id;
    };
    std::map<int, double> widest; // inches, by picture id
    // The plan's links numbered after those the arrangement holds.
    std::int32_t links = 0;
    for (int i = 0; i < Records.Placements.size(); ++i)
        links = std::max(links, Records.Placements.at(i).Link);
    for (const SheetPlanFrame &f : plan.Frames) {
        const bool ownCopy = f.Tone || f.Intent >= 0;
        const int id = ownCopy ? tonedCopy(f.Picture, f.Tone.value_or(PrintToneTable(0, 0)), f.Intent)
                               : Records.Pictures[std::size_t(f.Picture)].PictureId;
        Placement *p = Records.Placements.Append();
        p->Left = f.Left;
        p->Top = f.Top;
        p->Width = f.Width;
        p->Height = f.Height;
        p->Page = first + f.Sheet;
        p->PictureId = id;
        p->Cut = f.Cut ? 1 : 0;
        p->Cell = f.Caption.Lines.isEmpty() ? 0 : Records.Sheets.addCell(f.Caption);
        p->Link = f.Link > 0 ? links + std::min(f.Link, MaxLink) : 0;
        p->Turn = f.Turned ? 1 : 0;
        widest[id] = std::max(widest[id], FrameSideAlongWidth(*p));
        result.LastPage = std::max(result.LastPage, p->Page);
        ++result.Placed;
    }
    for (const auto &[sheet, header] : plan.Headers)
        Records.Sheets.Headers[first + sheet] = header;
    for (const auto &[sheet, label] : plan.Labels)
        if (sheet >= 0 && sheet < sheets)
            Records.Sheets.Labels.emplace(first + sheet, label);
    if (plan.Orders)
        Records.Orders = *plan.Orders;
    result.FirstPage = first;
    touch(plan.Headers.empty() ? Changes(Change::Placements) : Change::Placements | Change::Pages);
    if (first + sheets - 1 > PageCount)
        setPageCount(first + sheets - 1);
    if (plan.ShowFirstPage)
        setCurrentPage(first);
    if (plan.Enlarge)
        for (const auto &[id, width] : widest)
            if (PictureEntry *entry = Records.pictureById(id))
                enlargeForFrame(*entry, width, paper, failures);
    return result;
}

int ArrangementDocument::addStandInPicture(const QString &path, const DIB &dib)
{
    Records.appendPicture(path, dib);
    touch(Change::Collection | Change::Pictures);
    return Records.PictureCount() - 1;
}
