#include "output/DevicePictures.h"

#include "document/Arrangement.h"
#include "document/FrameView.h"
#include "document/Options.h"
#include "document/PageGeometry.h"
#include "picture/DecodePool.h"
#include "picture/FileCheck.h"
#include "picture/PoolHandoff.h"
#include "picture/PrintFinish.h"
#include "picture/Resample.h"
#include "picture/ScaledDecode.h"
#include "platform/DeviceContext.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QThreadPool>
#include <QTransform>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <map>
#include <mutex>
#include <tuple>

namespace {

// Files larger than this are printed from their pixels rather than carried.
constexpr qint64 MaxPassedBytes = qint64(512) * 1024 * 1024;

// Quarter turns clockwise the recipe applies, when turns are all it does;
// -1 when any other step changes the pixels.
int onlyTurns(const PictureRecipe &recipe)
{
    int turns = 0;
    if (recipe.Steps)
        for (const PictureStep &step : *recipe.Steps) {
            if (step.What == PictureStep::Kind::TurnRight)
                turns += 1;
            else if (step.What == PictureStep::Kind::TurnLeft)
                turns += 3;
            else
                return -1;
        }
    return turns % 4;
}

int turnsOf(const PictureRecipe &recipe)
{
    int turns = 0;
    if (recipe.Steps)
        for (const PictureStep &step : *recipe.Steps)
            turns += step.What == PictureStep::Kind::TurnRight ? 1 : step.What == PictureStep::Kind::TurnLeft ? 3 : 0;
    return turns % 4;
}

bool startsAsJpeg(const QByteArray &bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

const char MarkerMagic[6] = {'S', 'G', 'A', '-', 'J', 'P'};
constexpr int MarkerWidth = 4;

} // namespace

QImage PassThroughMarker(int index)
{
    QImage marker(MarkerWidth, 1, QImage::Format_RGB32);
    const auto u = [](char c) { return uint(uchar(c)); };
    const uint i = uint(index) & 0xFFFFFF;
    marker.setPixel(0, 0, qRgb(int(u(MarkerMagic[0])), int(u(MarkerMagic[1])), int(u(MarkerMagic[2]))));
    marker.setPixel(1, 0, qRgb(int(u(MarkerMagic[3])), int(u(MarkerMagic[4])), int(u(MarkerMagic[5]))));
    marker.setPixel(2, 0, qRgb(int(i >> 16), int((i >> 8) & 0xFF), int(i & 0xFF)));
    marker.setPixel(3, 0, qRgb(int((~i >> 16) & 0xFF), int((~i >> 8) & 0xFF), int(~i & 0xFF)));
    return marker;
}

int PassThroughMarkerIndex(int width, int height, const QByteArray &rgb)
{
    if (width != MarkerWidth || height != 1 || rgb.size() != 3 * MarkerWidth
        || std::memcmp(rgb.constData(), MarkerMagic, sizeof MarkerMagic) != 0)
        return -1;
    const auto b = [&](int k) { return uint(uchar(rgb[k])); };
    const uint i = (b(6) << 16) | (b(7) << 8) | b(8);
    const uint check = (b(9) << 16) | (b(10) << 8) | b(11);
    return (i ^ check) == 0xFFFFFF ? int(i) : -1;
}

struct DevicePictures::Shared {
    std::atomic<bool> Cancel{false};
    std::shared_ptr<const ColourConversion> Colour;
    // The print-time adjustment and sharpening (radius in device pixels).
    bool Tones = false;
    ToneTable Tone {};
    int SharpenAmount = 0;
    double SharpenRadius = 0;
    const std::atomic<bool> *Outside = nullptr; // the caller's flag, read while the job runs
    mutable std::mutex Lock;
    std::vector<PassedJpeg> Passed; // by marker number
    // Made on the writing thread and kept for the job: the same marker on
    // every page keeps one image object in the PDF.
    std::map<int, QImage> Markers;
};

// What is drawn for one placement: an image at the device's size, or the
// marker of a carried JPEG; neither when nothing could be made.
struct Made {
    QImage Image;
    int Marker = -1;
};

struct DevicePictures::Item {
    // Inputs, copied when planned so the arrangement may change meanwhile.
    PictureRecipe Recipe;
    DIB Screen;
    bool Reduced = false;
    QSize Full;
    QRect Source;
    QRectF Exact;
    QSize Dest;
    int Turns = 0; // the frame's: Source, Exact and Dest are of the picture so turned
    int Marker = -1; // a pass-through candidate's number
    // The printer profile's conversion at the picture's intent; none without a profile.
    std::shared_ptr<const ColourConversion> Colour;
    int Encoded = -1; // the marker number of a picture compressed for a PDF
    int File = -1;  // items with one number show one file with the same steps
    int Group = -1; // the items made from one decode of their file
    // A contact sheet cell: drawn from the screen copy whenever it has the pixels.
    bool Cell = false;
    bool Started = false;
    std::shared_future<Made> Result;
};

struct DevicePictures::Page {
    int Number = 0;
    // By picture id and the layout the rule draws it with.
    std::map<std::tuple<int, int, int, int, int, int, int, int>, std::shared_ptr<Item>> Items;
};

namespace {

// A frame's turn is part of the key: one picture placed turned and upright
// gives two images.
using Key = std::tuple<int, int, int, int, int, int, int, int>;
Key keyOf(int pictureId, const PlacementLayout &layout)
{
    const QRect &s = layout.Source;
    return {pictureId, s.x(), s.y(), s.width(), s.height(), layout.Dest.width(), layout.Dest.height(), layout.Turns};
}

// Reads the file and keeps what a PDF needs, when it is still the file
// decoded and a sound JPEG of the recorded size.
std::optional<PassedJpeg> inspectFile(const PictureRecipe &recipe)
{
    QFile file;
    if (!recipe.Check || !OpenRegularFile(recipe.File, file) || file.size() > MaxPassedBytes)
        return std::nullopt;
    const std::optional<std::int32_t> check = FileCheck(file);
    if (check != recipe.Check)
        return std::nullopt;
    if (!startsAsJpeg(file.peek(3)))
        return std::nullopt;
    std::optional<JpegCarry> carry = InspectJpegStream(file, MaxPassedBytes);
    if (!carry || carry->Info.Width != recipe.Decoded.Width || carry->Info.Height != recipe.Decoded.Height)
        return std::nullopt;
    return PassedJpeg { recipe.File, *check, std::move(*carry), {} };
}

// The item as stored in the file, its frame's turn undone.
DevicePictures::Item unturned(const DevicePictures::Item &item)
{
    DevicePictures::Item upright = item;
    upright.Source = UnturnedRect(item.Source, item.Full, item.Turns);
    upright.Exact = UnturnedRect(item.Exact, QSizeF(item.Full), item.Turns);
    upright.Dest = TurnedSize(item.Dest, item.Turns);
    upright.Turns = 0;
    return upright;
}

QSize outputSize(const DevicePictures::Item &upright)
{
    return {std::min(upright.Dest.width(), upright.Source.width()),
            std::min(upright.Dest.height(), upright.Source.height())};
}

// The box the whole picture is decoded into (pixels before the recipe's
// steps) so that the source rectangle gets its output size; empty when the
// screen copy will do.
QSize decodeBox(const DevicePictures::Item &upright)
{
    const QSize out = outputSize(upright);
    const bool screenWillDo = upright.Cell && upright.Full.width() > 0 && upright.Source.width() > 0
        && std::int64_t(DibWidth(upright.Screen)) * upright.Source.width() >= std::int64_t(out.width()) * upright.Full.width();
    if (!upright.Reduced || screenWillDo || upright.Source.isEmpty())
        return {};
    const double fx = double(out.width()) / upright.Source.width(), fy = double(out.height()) / upright.Source.height();
    QSize box(int(std::ceil(upright.Full.width() * fx)), int(std::ceil(upright.Full.height() * fy)));
    if (turnsOf(upright.Recipe) % 2)
        box.transpose();
    return box;
}

// The picture's source rectangle resampled to the device pixels it covers,
// or to its own pixels when the frame is larger; the frame's turn aside.
// `decoded` is the whole picture made from its file at some size, when the
// caller has it; the result is turned by `turns` quarter turns.
QImage resampledUpright(const DevicePictures::Item &item, const DIB *decoded, int turns)
{
    DIB pixels = item.Screen;
    bool own = false;
    if (decoded && decoded->Bits) {
        pixels = *decoded;
    } else if (const QSize box = decodeBox(item); !box.isEmpty()) {
        DIB made = ReplayRecipe(item.Recipe, box);
        if (made.Bits) {
            pixels = made;
            own = true;
        } else {
            // As the screen shows it, like a drawing whose file is gone.
            deldib(&made);
        }
    }
    const double kx = double(DibWidth(pixels)) / item.Full.width(), ky = double(DibHeight(pixels)) / item.Full.height();
    const QRectF source(item.Exact.x() * kx, item.Exact.y() * ky, item.Exact.width() * kx, item.Exact.height() * ky);
    QImage image = ResampleToImage(pixels, source, outputSize(item), turns);
    if (own)
        deldib(&pixels);
    return image;
}

// As resampledUpright, turned as the frame shows the picture: the part made
// from the picture as stored and turned as it is written out.
QImage resampled(const DevicePictures::Item &item, const DIB *decoded = nullptr)
{
    return resampledUpright(item.Turns ? unturned(item) : item, decoded, item.Turns);
}

// The last steps for paper, then the printer profile, on a picture made for
// `dest` device pixels (fewer when the source has fewer).
void finish(const DevicePictures::Shared& state, const DevicePictures::Item& item, QImage& image)
{
    const QSize dest = item.Dest;
    if (image.isNull())
        return;
    if (state.Tones)
        ApplyToneTable(image, state.Tone);
    if (state.SharpenAmount > 0 && dest.width() > 0)
        UnsharpMask(image, state.SharpenAmount, state.SharpenRadius * image.width() / dest.width());
    if (item.Colour)
        item.Colour->apply(image);
}

// The picture as a JPEG; photographs get the quality Qt's PDF engine gives
// them, contact sheet cells less.
std::optional<PassedJpeg> compressed(const QImage &image, int quality)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        return std::nullopt;
    std::optional<JpegCarry> carry = InspectJpegStream(bytes);
    if (!carry)
        return std::nullopt;
    return PassedJpeg { QString(), 0, std::move(*carry), bytes };
}

} // namespace

bool ShowsWholePicture(const QRectF& shown, QSize full)
{
    // A sliver cut away on a side shows nothing the page hides.
    const double mx = 0.02 * full.width(), my = 0.02 * full.height();
    return full.width() > 0 && full.height() > 0 && shown.left() <= mx && shown.top() <= my
        && shown.right() >= full.width() - mx && shown.bottom() >= full.height() - my;
}

QSize SheetCellPixels(QSize dest, int deviceDpi)
{
    if (deviceDpi <= SheetCellDpi)
        return dest;
    const double k = double(SheetCellDpi) / deviceDpi;
    return QSize(std::max(1, int(std::ceil(dest.width() * k))), std::max(1, int(std::ceil(dest.height() * k))));
}

DevicePictures::DevicePictures(const TArrangement &doc, const ArrangementOptions &options,
                               const std::vector<int> &pages, const PrintSetup &setup,
                               const DevicePictureSettings &settings)
    : State(std::make_shared<Shared>())
{
    State->Outside = settings.Cancel;
    // A PDF's pictures wait for their pages compressed, so more pages may be
    // prepared without holding their pixels.
    if (settings.Pdf)
        Ahead = 3;
    if (settings.Convert)
        State->Colour = setup.Colour;
    State->Tones = !setup.Adjustment.isIdentity();
    if (State->Tones)
        State->Tone = PrintToneTable(setup.Adjustment.Brightness, setup.Adjustment.Contrast);
    if (setup.Sharpening.on()) {
        State->SharpenAmount = setup.Sharpening.Amount;
        State->SharpenRadius = setup.Sharpening.Radius / MmPerInch * settings.Scale.DpiX;
    }
    // A carried file's bytes would escape every change made to its pixels.
    const bool passThrough
        = settings.Pdf && setup.PassJpegThrough && !State->Colour && !State->Tones && State->SharpenAmount == 0;
    // The same picture at the same size anywhere in the job is one item.
    std::map<std::tuple<QString, std::int32_t, const void *, int, Key, int>, std::shared_ptr<Item>> made;
    // A test strip's copies are converted at intents of their own.
    std::map<int, std::shared_ptr<const ColourConversion>> intents;
    auto colourOf = [&](const PictureEntry &entry) {
        if (!State->Colour || entry.PrintIntent < 0)
            return State->Colour;
        std::shared_ptr<const ColourConversion> &c = intents[entry.PrintIntent];
        if (!c)
            c = State->Colour->atIntent(RenderIntent(entry.PrintIntent));
        return c ? c : State->Colour;
    };
    std::map<std::pair<QString, std::int32_t>, int> markers;
    int encoded = 0;
    int markerCount = 0;
    // Copies of a picture given the same adjustments each hold their own
    // steps; equal steps make the same pixels, so they are made once.
    std::vector<const PictureSteps *> distinctSteps;
    auto stepsKey = [&distinctSteps](const PictureSteps *steps) -> const void * {
        if (!steps || steps->empty())
            return nullptr;
        for (const PictureSteps *known : distinctSteps)
            if (*known == *steps)
                return known;
        distinctSteps.push_back(steps);
        return steps;
    };
    for (int number : pages) {
        Page page;
        page.Number = number;
        for (int i = 0; i < doc.Placements.size(); ++i) {
            const Placement &p = doc.Placements.at(i);
            if (p.Page != number)
                continue;
            const std::optional<PlacementLayout> layout = LayoutOnDevice(doc, p, settings.Scale, options);
            if (!layout)
                continue;
            const PictureEntry &entry = doc.Pictures[std::size_t(doc.pictureIndexById(p.PictureId))];
            const Key key = keyOf(p.PictureId, *layout);
            if (page.Items.count(key))
                continue;
            const PictureRecipe &recipe = entry.Recipe;
            const bool fromFile = !recipe.File.isEmpty() && recipe.Check.has_value();
            int marker = -1;
            // Contact sheet cells are always reduced: a whole photograph per cell would make huge files.
            const bool cell = p.Cell > 0;
            if (passThrough && fromFile && onlyTurns(recipe) >= 0 && !cell
                && ShowsWholePicture(layout->Exact, TurnedSize(FullSize(entry), layout->Turns))) {
                const auto file = std::make_pair(recipe.File, *recipe.Check);
                const auto known = markers.find(file);
                marker = known != markers.end() ? known->second : markerCount++;
                markers.emplace(file, marker);
            }
            // Pixels made in memory belong to their entry alone.
            const auto shared = std::make_tuple(fromFile ? recipe.File : QString(), recipe.Check.value_or(0),
                                                marker >= 0 ? nullptr
                                                : fromFile  ? stepsKey(recipe.Steps.get())
                                                            : static_cast<const void *>(entry.Dib.Bits),
                                                marker, marker >= 0 ? Key{} : keyOf(0, *layout),
                                                State->Colour ? int(entry.PrintIntent) : -1);
            std::shared_ptr<Item> &item = made[shared];
            if (!item) {
                item = std::make_shared<Item>();
                item->Recipe = recipe;
                item->Screen = entry.Dib;
                item->Reduced = entry.Reduced;
                item->Full = FullSize(entry);
                item->Source = layout->Source;
                item->Exact = layout->Exact;
                item->Dest = layout->Dest;
                item->Turns = layout->Turns;
                item->Marker = marker;
                item->Colour = colourOf(entry);
                item->Cell = cell;
                if (cell)
                    item->Dest = SheetCellPixels(layout->Dest, settings.Scale.DpiX);
                if (settings.Pdf && marker < 0)
                    item->Encoded = encoded++;
            }
            page.Items.emplace(key, item);
        }
        Pages.push_back(std::move(page));
    }
    // A file shown at several sizes is decoded once, at the largest, and all
    // its sizes made then. In a PDF the whole job's: compressed pictures wait
    // for their pages as a few bytes rather than as pixels.
    std::map<std::tuple<QString, std::int32_t, const void *>, int> fileOf;
    std::map<int, int> groupOf;
    for (const Page &page : Pages)
        for (const auto &[key, item] : page.Items) {
            if (item->Marker >= 0 || item->Cell || !item->Reduced || item->Recipe.File.isEmpty() || item->File >= 0)
                continue;
            item->File = fileOf.emplace(std::make_tuple(item->Recipe.File, item->Recipe.Check.value_or(0),
                                                        stepsKey(item->Recipe.Steps.get())),
                                        int(fileOf.size()))
                             .first->second;
            if (item->Encoded < 0)
                continue;
            const auto [known, added] = groupOf.emplace(item->File, int(Groups.size()));
            if (added)
                Groups.emplace_back();
            item->Group = known->second;
            Groups[std::size_t(item->Group)].push_back(item);
        }
    // Compressed pictures are numbered after the files.
    for (auto &[key, item] : made)
        if (item->Encoded >= 0)
            item->Encoded += markerCount;
    Candidates = markerCount + encoded;
    State->Passed.resize(std::size_t(Candidates));
}

DevicePictures::~DevicePictures() { cancel(); }

void DevicePictures::cancel() { State->Cancel = true; }

bool DevicePictures::cancelled() const { return State->Cancel || (State->Outside && State->Outside->load()); }

std::vector<PassedJpeg> DevicePictures::passed() const
{
    const std::lock_guard<std::mutex> hold(State->Lock);
    return State->Passed;
}

namespace {

// One item made on the pool: its pixels, or its file checked to be carried.
Made make(DevicePictures::Shared &state, const DevicePictures::Item &item, const DIB *decoded)
{
    Made made;
    if (item.Marker >= 0) {
        // A file unfit to be carried is left to the rule's own drawing: its
        // item stands for placements of any size.
        if (const std::optional<PassedJpeg> passed = inspectFile(item.Recipe)) {
            const std::lock_guard<std::mutex> hold(state.Lock);
            state.Passed[std::size_t(item.Marker)] = *passed;
            made.Marker = item.Marker;
        }
        return made;
    }
    made.Image = resampled(item, decoded);
    finish(state, item, made.Image);
    std::optional<PassedJpeg> carried;
    const int quality = item.Cell ? SheetCellJpegQuality : 94;
    if (item.Encoded >= 0 && (carried = compressed(made.Image, quality))) {
        const std::lock_guard<std::mutex> hold(state.Lock);
        state.Passed[std::size_t(item.Encoded)] = std::move(*carried);
        made.Image = QImage();
        made.Marker = item.Encoded;
    }
    return made;
}

} // namespace

void DevicePictures::start(std::size_t index, std::size_t last)
{
    if (index >= Pages.size())
        return;
    last = std::min(last, Pages.size() - 1);
    for (auto &[key, first] : Pages[index].Items) {
        if (first->Started)
            continue;
        // The whole group at once, its file decoded once.
        std::vector<std::shared_ptr<Item>> items;
        if (first->Group >= 0) {
            items.swap(Groups[std::size_t(first->Group)]);
        } else {
            items.push_back(first);
            // Printed pictures wait as pixels, so only the pages being
            // prepared anyway share a decode.
            for (std::size_t p = index; p <= last && first->File >= 0; ++p)
                for (const auto &[other, item] : Pages[p].Items)
                    if (item->File == first->File && !item->Started && item->Group < 0
                        && std::find(items.begin(), items.end(), item) == items.end())
                        items.push_back(item);
        }
        std::vector<std::shared_ptr<std::promise<Made>>> promises;
        for (const std::shared_ptr<Item> &item : items) {
            item->Started = true;
            promises.push_back(std::make_shared<std::promise<Made>>());
            item->Result = promises.back()->get_future().share();
        }
        QRunnable *task = QRunnable::create([promises, state = State, items] {
            PoolHandoff();
            BackgroundWork();
            DIB decoded;
            if (items.size() > 1 && !state->Cancel) {
                QSize box;
                for (const std::shared_ptr<Item> &item : items)
                    box = box.expandedTo(decodeBox(unturned(*item)));
                if (!box.isEmpty()) {
                    decoded = ReplayRecipe(items.front()->Recipe, box);
                    if (!decoded.Bits) {
                        // As the screen shows it, like a drawing whose file is gone.
                        deldib(&decoded);
                        decoded = items.front()->Screen;
                    }
                }
            }
            for (std::size_t i = 0; i < items.size(); ++i) {
                Made made;
                try {
                    if (!state->Cancel)
                        made = make(*state, *items[i], decoded.Bits ? &decoded : nullptr);
                } catch (...) {
                    // The page must still get its answer; the rule then draws it.
                    made = Made();
                }
                promises[i]->set_value(std::move(made));
            }
            deldib(&decoded);
        });
        PoolHandoff();
        DecodePool()->start(task);
    }
}

namespace {

// Draws a carried JPEG's marker over the whole picture as the layout places
// it, turned as the picture and its frame are, clipped to the frame's drawn
// part. `full` is the picture's size as the frame shows it: entries and frames
// sharing the file may be turned differently.
void drawMarker(QPainter& painter, const QImage& marker, QSize full, int turns, const PlacementLayout& layout)
{
    const QRectF &s = layout.Exact;
    const double sx = layout.Dest.width() / s.width(), sy = layout.Dest.height() / s.height();
    const double left = layout.Frame.X - s.x() * sx;
    const double top = layout.Frame.Y - (full.height() - s.y() - s.height()) * sy;
    const double w = full.width() * sx, h = full.height() * sy;
    painter.save();
    // Kept as its pixels, so that the marker can be read back from the file.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setClipRect(QRect(layout.Frame.X, layout.Frame.Y, layout.Dest.width(), layout.Dest.height()),
                        Qt::IntersectClip);
    painter.translate(left + w / 2, top + h / 2);
    painter.rotate(90.0 * turns);
    const QSizeF stored = turns % 2 ? QSizeF(h, w) : QSizeF(w, h);
    painter.drawImage(QRectF(QPointF(-stored.width() / 2, -stored.height() / 2), stored), marker);
    painter.restore();
}

} // namespace

bool DevicePictures::page(int number, PictureSupply *supply)
{
    while (Current < Pages.size() && Pages[Current].Number != number)
        Pages[Current++].Items.clear();
    if (Current >= Pages.size())
        return !cancelled();
    for (std::size_t k = 0; k <= Ahead; ++k)
        start(Current + k, Current + Ahead);
    for (auto &[key, item] : Pages[Current].Items)
        while (item->Result.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            if (cancelled())
                return false;
    if (Current > 0)
        Pages[Current - 1].Items.clear();
    const Page *current = &Pages[Current];
    // What could not be made is drawn as the views draw it, from the arrangement's pictures.
    supply->Draw = [current, state = State, asViews = supply->Draw](
                       TDC &dc, const TArrangement &doc, const Placement &p, const PictureEntry &entry,
                       const PlacementLayout &layout, const SoftProofFn &recolour) {
        const auto found = current->Items.find(keyOf(p.PictureId, layout));
        if (found == current->Items.end() || !dc.painter()) {
            asViews(dc, doc, p, entry, layout, recolour);
            return;
        }
        const Item &item = *found->second;
        const Made &made = item.Result.get();
        QPainter &painter = *dc.painter();
        if (made.Marker >= 0) {
            QImage &marker = state->Markers[made.Marker];
            if (marker.isNull())
                marker = PassThroughMarker(made.Marker);
            if (item.Encoded >= 0) {
                // Made for exactly the frame's drawn part.
                painter.save();
                painter.setRenderHint(QPainter::LosslessImageRendering, true);
                painter.drawImage(QRect(layout.Frame.X, layout.Frame.Y, layout.Dest.width(), layout.Dest.height()),
                                  marker);
                painter.restore();
            } else {
                drawMarker(painter, marker, TurnedSize(FullSize(entry), layout.Turns),
                           turnsOf(entry.Recipe) + layout.Turns, layout);
            }
            return;
        }
        QImage image = made.Image;
        if (image.isNull() && item.Marker >= 0) {
            // A file that could not be carried: made now for this placement.
            Item own;
            own.Recipe = entry.Recipe;
            own.Screen = entry.Dib;
            own.Reduced = entry.Reduced;
            own.Full = FullSize(entry);
            own.Source = layout.Source;
            own.Exact = layout.Exact;
            own.Dest = layout.Dest;
            own.Colour = item.Colour;
            own.Turns = layout.Turns;
            image = resampled(own);
            finish(*state, own, image);
        }
        if (image.isNull()) {
            asViews(dc, doc, p, entry, layout, recolour);
            return;
        }
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(layout.Frame.X, layout.Frame.Y, layout.Dest.width(), layout.Dest.height()), image);
        painter.restore();
    };
    return true;
}
