#include "document/ArrangementDocument.h"

#include "document/Collection.h"
#include "document/FrameView.h"
#include "document/Paths.h"
#include "picture/DecodeSupport.h"
#include "picture/Orientation.h"
#include "picture/Resample.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// A corner (inches) moved no further than needed to keep a frame of `size`
// inside a page `page` long; a frame longer than the page starts at 0.
double HeldInPage(double corner, double size, double page)
{
    return page > 0 ? std::clamp(corner, 0.0, std::max(0.0, page - size)) : corner;
}
} // namespace

ArrangementDocument::ArrangementDocument(QObject *parent)
    : QObject(parent)
{
    Undo = std::make_unique<ArrangementUndo>([this] { return captureState(); },
                                             [this](const ArrangementState &s) { restoreState(s); });
    connect(Undo->stack(), &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
    Records.Store.Arrived = [this] { emit fullPictureArrived(); };
    Undo->reset();
}

ArrangementDocument::~ArrangementDocument()
{
    Records.Store.Arrived = nullptr;
    Undo.reset(); // its commands hold states, not the records
}

// ---------------------------------------------------------------------------
// Steps and signals

ArrangementDocument::Step::Step(ArrangementDocument &doc, const QString &text, int mergeKey)
    : Doc(doc)
    , Undo(doc.Undo->change(text, mergeKey))
{
    ++Doc.Depth;
}

ArrangementDocument::Step::~Step()
{
    Undo.finish(); // recorded before anyone hears of the change
    if (--Doc.Depth == 0)
        Doc.flush();
}

void ArrangementDocument::touch(Changes what)
{
    Pending |= what;
    if (Depth == 0)
        flush();
}

void ArrangementDocument::flush()
{
    if (!Pending)
        return;
    const Changes what = Pending;
    Pending = {};
    emit changed(what);
}

QUndoStack *ArrangementDocument::undoStack() { return Undo->stack(); }

bool ArrangementDocument::isModified() const { return Undo && Undo->isModified(); }

ArrangementState ArrangementDocument::captureState() const
{
    ArrangementState s;
    s.Placements.reserve(std::size_t(Records.Placements.size()));
    for (int i = 0; i < Records.Placements.size(); ++i)
        s.Placements.push_back(Records.Placements.at(i));
    s.Pictures = Records.Pictures;
    s.NextPictureId = Records.NextPictureId;
    s.SelectedPlacement = Records.SelectedPlacement;
    s.SelectedPicture = Records.SelectedPicture;
    s.Options = Options;
    s.CurrentPage = CurrentPage;
    s.Sheets = Records.Sheets;
    s.Orders = Records.Orders;
    return s;
}

void ArrangementDocument::restoreState(const ArrangementState &s)
{
    Records.Placements.Clear();
    for (const Placement &p : s.Placements)
        std::memcpy(static_cast<void *>(Records.Placements.Append()), &p, sizeof p);
    Records.Pictures = s.Pictures;
    Records.Sheets = s.Sheets;
    Records.Orders = s.Orders;
    Records.NextPictureId = s.NextPictureId;
    // The zoom is how the page is looked at, not a change to take back.
    const int zoom = Options.Zoom;
    Options = NormalisedOptions(s.Options);
    Options.Zoom = zoom;
    // The page first: the selection must be on the page that shows it.
    if (s.CurrentPage > PageCount)
        PageCount = std::min(s.CurrentPage, MaxPages);
    CurrentPage = std::clamp(s.CurrentPage, 1, PageCount);
    Records.SelectedPlacement = s.SelectedPlacement < Records.Placements.size() ? s.SelectedPlacement : -1;
    Records.SelectedPicture = s.SelectedPicture;
    touch(Everything);
}

// ---------------------------------------------------------------------------
// Options, pages and settings

void ArrangementDocument::setOptions(const ArrangementOptions &o, const QString &undoText, int mergeKey)
{
    const ArrangementOptions held = NormalisedOptions(o);
    if (held == Options)
        return;
    const Step s = step(undoText, mergeKey);
    Options = held;
    touch(Change::Options);
}

void ArrangementDocument::resetOptions(const ArrangementOptions &o)
{
    const ArrangementOptions held = NormalisedOptions(o);
    if (held == Options)
        return;
    Undo->quietly([&] { Options = held; });
    touch(Change::Options);
}

void ArrangementDocument::setZoom(int zoom)
{
    ArrangementOptions o = Options;
    o.Zoom = zoom;
    resetOptions(o);
}

void ArrangementDocument::setPageCount(int count)
{
    count = std::clamp(count, 1, MaxPages);
    if (count == PageCount)
        return;
    PageCount = count;
    Changes what = Change::Pages;
    // Placements beyond the count stay; only the current page follows.
    if (CurrentPage > PageCount) {
        CurrentPage = PageCount;
        const int selected = Records.SelectedPlacement;
        dropSelectionOffPage();
        if (selected != Records.SelectedPlacement)
            what |= Change::Selection;
    }
    touch(what);
}

void ArrangementDocument::setCurrentPage(int page)
{
    page = std::clamp(page, 1, PageCount);
    const int selected = Records.SelectedPlacement;
    Changes what;
    if (page != CurrentPage) {
        CurrentPage = page;
        what |= Change::Pages;
    }
    dropSelectionOffPage();
    if (selected != Records.SelectedPlacement)
        what |= Change::Selection;
    touch(what);
}

void ArrangementDocument::dropSelectionOffPage()
{
    const int i = Records.SelectedPlacement;
    if (i < 0)
        return;
    if (i < Records.Placements.size() && Records.Placements.at(i).Page == CurrentPage)
        return;
    Records.SelectedPlacement = -1;
}

void ArrangementDocument::setPictureMemory(std::uint64_t bytes) { Records.Store.setBudget(bytes); }

// ---------------------------------------------------------------------------
// The collection

int ArrangementDocument::relocatePictures(const QString &folder, const QString &undoText)
{
    std::vector<std::size_t> moved;
    QStringList files;
    for (std::size_t i = 0; i < Records.Pictures.size(); ++i) {
        const QString &old = Records.Pictures[i].FileName;
        const QString there = JoinFolder(folder, FileNamePart(old));
        if (!QFileInfo::exists(old) && QFileInfo(there).isFile()) {
            moved.push_back(i);
            files.append(there);
        }
    }
    if (moved.empty())
        return 0;
    const BusyScope waiting(*this);
    const Step s = step(undoText);
    DecodeBatch decoded(files, DisplayBox());
    decoded.Progress = [this](int percent) { emit progress(percent); };
    int found = 0;
    for (std::size_t k = 0; k < moved.size(); ++k) {
        DecodedPicture picture = decoded.TakeNextPicture();
        if (!picture.Dib.Bits) {
            deldib(&picture.Dib);
            continue;
        }
        // A new entry value, so the undo step keeps the placeholder's.
        PictureEntry entry = Records.Pictures[moved[k]];
        entry.FileName = files[int(k)];
        entry.Dib = picture.Dib;
        entry.Recipe = picture.Recipe;
        entry.Reduced = picture.Reduced;
        entry.Metadata = picture.Metadata;
        turnAsStored(entry);
        Records.Pictures[moved[k]] = std::move(entry);
        ++found;
    }
    touch(Change::Pictures | Change::Collection);
    return found;
}

int ArrangementDocument::addDecodedPicture(const QString &path, DecodedPicture picture)
{
    if (!picture.Dib.Bits) {
        deldib(&picture.Dib);
        return -1;
    }
    Records.appendPicture(path, picture.Dib);
    PictureEntry &entry = Records.Pictures.back();
    entry.Recipe = picture.Recipe;
    entry.Reduced = picture.Reduced;
    const CameraOrientation camera = TurnAsCamera ? ReadCameraOrientation(path) : CameraOrientation();
    entry.Metadata = std::move(picture.Metadata);
    const int turns = camera.Turns;
    // A turn or mirror that fails for want of memory leaves the picture as stored.
    PictureEntry turned = entry;
    bool done = !camera.isUpright();
    if (done && camera.Mirrored)
        done = MirrorEntry(turned, progressReporter());
    for (int i = 0; done && i < (turns == 3 ? 1 : turns); ++i)
        done = TurnEntry(turned, turns == 3, progressReporter());
    if (done) {
        entry = turned;
        entry.Rotation = turns;
        entry.Mirrored = camera.Mirrored;
    }
    touch(Change::Collection | Change::Pictures);
    return Records.PictureCount() - 1;
}

ArrangementDocument::AddResult ArrangementDocument::addPictureFiles(const QStringList &paths, const QString &undoText)
{
    AddResult result;
    const BusyScope waiting(*this);
    const Step s = step(undoText);
    DecodeBatch decoded(paths, DisplayBox());
    decoded.Progress = [this](int percent) { emit progress(percent); };
    for (const QString &path : paths) {
        DecodedPicture picture = decoded.TakeNextPicture();
        const QString reason = picture.Dib.Bits ? QString() : DibErrorText(picture.Dib);
        const int index = addDecodedPicture(path, std::move(picture));
        if (index >= 0) {
            result.Added.push_back(index);
        } else {
            result.Failed.append(path);
            result.Reasons.append(reason);
        }
    }
    return result;
}

void ArrangementDocument::deletePictures(const std::vector<int> &indices, const QString &undoText)
{
    const Step s = step(undoText);
    std::vector<int> order = indices;
    // From the last index down, so deleting does not move the ones still to go.
    std::sort(order.begin(), order.end(), std::greater<int>());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    for (int i : order)
        Records.deletePictureEntry(i);
    touch(Change::Collection | Change::Pictures | Change::Placements | Change::Selection);
}

bool ArrangementDocument::swapPictures(int a, int b, const QString &undoText)
{
    const Step s = step(undoText);
    if (!SwapPictures(Records.Pictures, a, b))
        return false;
    touch(Change::Collection);
    return true;
}

void ArrangementDocument::sortPicturesByName(const QString &undoText)
{
    const Step s = step(undoText);
    SortPicturesByPath(Records.Pictures);
    touch(Change::Collection);
}

void ArrangementDocument::selectPicture(int index)
{
    if (index == Records.SelectedPicture)
        return;
    Records.SelectedPicture = index;
    touch(Change::Selection);
}

// ---------------------------------------------------------------------------
// Placements

bool ArrangementDocument::hasSelection() const
{
    return Records.SelectedPlacement >= 0 && Records.SelectedPlacement < Records.Placements.size();
}

bool ArrangementDocument::placePicture(int index, double left, double top, const PageGeometry &paper,
                                       QualityFailures *failures, bool keepOnPage)
{
    if (index < 0 || index >= Records.PictureCount())
        return false;
    const Step s = step(tr("Place picture"));
    PictureEntry &entry = Records.Pictures[std::size_t(index)];
    Placement *p = Records.Placements.Append();
    p->Cut = Options.CutDefault ? 1 : 0;
    p->Page = CurrentPage;
    p->Width = Options.DBreite / MmPerInch;
    p->Height = Options.DHoche / MmPerInch;
    p->Left = keepOnPage ? HeldInPage(left, p->Width, paper.widthInches()) : left;
    p->Top = keepOnPage ? HeldInPage(top, p->Height, paper.heightInches()) : top;
    p->PictureId = entry.PictureId;
    const double width = p->Width;
    enlargeForFrame(entry, width, paper, failures);
    Records.SelectedPlacement = Records.Placements.size() - 1;
    touch(Change::Placements | Change::Selection);
    bringSelectionToFront();
    return true;
}

void ArrangementDocument::selectPlacement(int index)
{
    const Batch once(*this);
    Undo->breakMerge();
    Records.SelectedPlacement = index;
    touch(Change::Selection);
    // Outside any step the new order is simply there for the next one to take.
    if (Records.moveSelectedToTop())
        touch(Change::Placements);
}

void ArrangementDocument::clearSelection()
{
    Undo->breakMerge();
    Records.SelectedPlacement = -1;
    touch(Change::Selection);
}

void ArrangementDocument::bringSelectionToFront()
{
    const Step s = step(tr("Bring to front"));
    if (Records.moveSelectedToTop())
        touch(Change::Placements | Change::Selection);
}

void ArrangementDocument::deleteSelectedPlacement(const QString &undoText)
{
    const Step s = step(undoText);
    if (Records.SelectedPlacement < 0)
        return;
    Records.deleteSelectedPlacement();
    touch(Change::Placements | Change::Selection);
}

void ArrangementDocument::setSelectedFrame(const Placement &frame, const QString &undoText, int mergeKey)
{
    if (!hasSelection())
        return;
    const Step s = step(undoText, mergeKey);
    Placement &p = Records.Placements.at(Records.SelectedPlacement);
    p.Left = frame.Left;
    p.Top = frame.Top;
    p.Width = frame.Width;
    p.Height = frame.Height;
    Changes what = Change::Placements;
    // Moved to another page: that page is shown, so the selection stays in view.
    if (frame.Page != p.Page && frame.Page >= 1 && frame.Page <= PageCount) {
        p.Page = frame.Page;
        CurrentPage = frame.Page;
        what |= Change::Pages | Change::Selection;
    }
    touch(what);
}

void ArrangementDocument::setSelectedCut(bool cut, const QString &undoText)
{
    const Step s = step(undoText);
    if (!hasSelection())
        return;
    Records.Placements.at(Records.SelectedPlacement).Cut = cut ? 1 : 0;
    touch(Change::Placements);
}

void ArrangementDocument::setSelectedCaption(const QString &text, const QString &undoText)
{
    const Step s = step(undoText, MergeCaption);
    if (!hasSelection())
        return;
    // The caption belongs to the picture, so every placement of it shows the text.
    if (PictureEntry *entry = Records.pictureById(Records.Placements.at(Records.SelectedPlacement).PictureId)) {
        entry->Comment = text;
        touch(Change::Captions);
    }
}

void ArrangementDocument::beginDrag() { Undo->beginGesture(); }

void ArrangementDocument::dragTo(const Placement &frame)
{
    if (!hasSelection())
        return;
    Placement &p = Records.Placements.at(Records.SelectedPlacement);
    p.Left = frame.Left;
    p.Top = frame.Top;
    p.Width = frame.Width;
    p.Height = frame.Height;
}

void ArrangementDocument::dragViewTo(const FrameView &view)
{
    if (!hasSelection())
        return;
    Placement &p = Records.Placements.at(Records.SelectedPlacement);
    p.View = HeldView(view);
    if (Options.Sverh)
        p.Cut = 1;
    if (p.Link == 0)
        return;
    for (int i = 0; i < Records.Placements.size(); ++i) {
        Placement &copy = Records.Placements.at(i);
        if (i != Records.SelectedPlacement && copy.Link == p.Link) {
            copy.View = p.View;
            copy.Cut = p.Cut;
        }
    }
}

int ArrangementDocument::selectedLinkGroup() const
{
    if (!hasSelection())
        return 0;
    const Placement &p = Records.Placements.at(Records.SelectedPlacement);
    if (p.Link != 0)
        return p.Link;
    // Sizes compared to a thousandth of an inch: frames placed by one sheet are
    // equal. A view is in the terms of the frame's turn, so turns must match.
    constexpr double same = 0.001;
    for (int i = 0; i < Records.Placements.size(); ++i) {
        const Placement &q = Records.Placements.at(i);
        if (q.Link != 0 && q.PictureId == p.PictureId && q.Turn == p.Turn && std::abs(q.Width - p.Width) < same
            && std::abs(q.Height - p.Height) < same)
            return q.Link;
    }
    return 0;
}

void ArrangementDocument::setSelectedLinked(bool linked, const QString &undoText)
{
    const int group = selectedLinkGroup();
    if (group == 0)
        return;
    const Step s = step(undoText);
    Placement &p = Records.Placements.at(Records.SelectedPlacement);
    if (!linked) {
        p.Link = 0;
    } else if (p.Link == 0) {
        for (int i = 0; i < Records.Placements.size(); ++i)
            if (const Placement &q = Records.Placements.at(i); q.Link == group) {
                p.View = q.View;
                p.Cut = q.Cut;
                break;
            }
        p.Link = group;
    }
    touch(Change::Placements);
}

void ArrangementDocument::setSelectedView(const FrameView &view, const QString &undoText, const PageGeometry &paper,
                                          QualityFailures *failures, int mergeKey)
{
    if (!hasSelection())
        return;
    const Step s = step(undoText, mergeKey);
    dragViewTo(view);
    enlargeForPlacement(Records.Placements.at(Records.SelectedPlacement), paper, failures);
    touch(Change::Placements);
}

void ArrangementDocument::endDrag(const QString &undoText, const PageGeometry &paper, QualityFailures *failures)
{
    const Batch once(*this);
    if (hasSelection())
        enlargeForPlacement(Records.Placements.at(Records.SelectedPlacement), paper, failures);
    Undo->endGesture(undoText);
    touch(Change::Placements);
}

void ArrangementDocument::setFrames(const std::vector<std::pair<int, Placement>> &frames, const QString &undoText,
                                    const PageGeometry &paper, QualityFailures *failures)
{
    const Step s = step(undoText);
    for (const auto &[index, frame] : frames) {
        if (index < 0 || index >= Records.Placements.size())
            continue;
        Placement &p = Records.Placements.at(index);
        p.Left = frame.Left;
        p.Top = frame.Top;
        p.Width = frame.Width;
        p.Height = frame.Height;
        enlargeForPlacement(p, paper, failures);
    }
    touch(Change::Placements);
}

// ---------------------------------------------------------------------------
// Picture work

int ArrangementDocument::selectedPictureIndex() const
{
    if (!hasSelection())
        return -1;
    return Records.pictureIndexById(Records.Placements.at(Records.SelectedPlacement).PictureId);
}

void ArrangementDocument::turnSelectedPicture(bool left, const QString &undoText)
{
    if (!hasSelection())
        return;
    const Step s = step(undoText);
    const int id = Records.Placements.at(Records.SelectedPlacement).PictureId;
    Changes what = Change::Pictures;
    for (PictureEntry &entry : Records.Pictures) {
        if (entry.PictureId != id)
            continue;
        // Rotation counts only the turns that happened, so a saved arrangement
        // turns the reopened picture the way it is shown now.
        if (!TurnEntry(entry, left, progressReporter()))
            continue;
        entry.Rotation = ((entry.Rotation + (left ? -1 : 1)) % 4 + 4) % 4;
        // Chosen views turn with their picture, so each frame keeps its subject.
        for (int i = 0; i < Records.Placements.size(); ++i) {
            FrameView &v = Records.Placements.at(i).View;
            if (Records.Placements.at(i).PictureId != id || !v.chosen())
                continue;
            v = left ? FrameView{v.CentreY, 1 - v.CentreX, v.Zoom} : FrameView{1 - v.CentreY, v.CentreX, v.Zoom};
            what |= Change::Placements;
        }
    }
    touch(what);
}

void ArrangementDocument::showAdjusted(int index, const DIB &pixels, const ToneTable &table, const PictureRecipe &base)
{
    if (index < 0 || index >= Records.PictureCount())
        return;
    PictureEntry &entry = Records.Pictures[std::size_t(index)];
    // A zoomed view shows the full picture: it is made again with the table.
    entry.Recipe = base;
    AdjustEntry(entry, pixels, table);
    Pending |= Change::Pictures;
    flush(); // shown at once, also inside a step
}

void ArrangementDocument::showOriginal(int index, const DIB &pixels, const PictureRecipe &base)
{
    if (index < 0 || index >= Records.PictureCount())
        return;
    PictureEntry &entry = Records.Pictures[std::size_t(index)];
    entry.Dib = pixels;
    entry.Recipe = base;
    Pending |= Change::Pictures;
    flush();
}

void ArrangementDocument::replayTones(PictureEntry &entry, const PictureSteps &tones, bool afterEnlarge)
{
    for (const PictureStep &step : tones) {
        if (step.AfterEnlarge != afterEnlarge)
            continue;
        // Out of memory: the picture shows unadjusted, but the step is still saved.
        if (!ReplayToneStep(entry, step))
            entry.KeptTones.push_back(step);
    }
}

ProgressFn ArrangementDocument::progressReporter()
{
    // Rows far outnumber percentages; tell only when the percentage moves.
    return [this, last = -1](int percent) mutable {
        if (percent != last) {
            last = percent;
            emit progress(percent);
        }
    };
}

void ArrangementDocument::enlargeForPlacement(const Placement &p, const PageGeometry &paper, QualityFailures *failures)
{
    // A copy: enlarging may not move the placements, but p may be one of them.
    const Placement frame = p;
    if (PictureEntry *entry = Records.pictureById(frame.PictureId))
        enlargeForFrame(*entry, FrameSideAlongWidth(frame), paper, failures,
                        ShownWidthShare(QSizeF(FullSize(*entry)), frame, Options.Sverh));
}

void ArrangementDocument::enlargeForFrame(PictureEntry &entry, double frameWidth, const PageGeometry &paper,
                                          QualityFailures *failures, double shownShare)
{
    if (!Options.EnhanceQual || !entry.Dib.Bits)
        return;
    const QSize full = FullSize(entry);
    // A view showing part of the picture needs as many more pixels across it.
    const double share = shownShare > 0 && shownShare <= 1 ? shownShare : 1;
    const QualitySize need = MinQualitySize(full.width(), full.height(), Options.MinQual, frameWidth / share,
                                            paper.widthInches() / share);
    if (need.width == full.width() && need.height == full.height())
        return;
    // Beyond the decoders' pixel limit counts as running out of memory.
    const EnlargeOutcome outcome = EnlargeEntry(entry, need.width, need.height, progressReporter());
    // The same picture at a higher resolution: the views show no change.
    if (outcome != EnlargeOutcome::Done && failures)
        failures->push_back(outcome);
}

QualityFailures ArrangementDocument::checkAllQualities(const PageGeometry &paper)
{
    const Batch once(*this);
    QualityFailures failures;
    Records.Placements.First();
    while (Records.Placements.Next()) {
        const Placement frame = *Records.CurrentPlacement;
        for (PictureEntry &entry : Records.Pictures)
            if (entry.PictureId == frame.PictureId)
                enlargeForFrame(entry, FrameSideAlongWidth(frame), paper, &failures,
                                ShownWidthShare(QSizeF(FullSize(entry)), frame, Options.Sverh));
    }
    return failures;
}
