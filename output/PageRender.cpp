#include "output/PageRender.h"
#include "output/CaptionLines.h"
#include "output/CaptionTokens.h"
#include "output/CutMarks.h"

#include "document/PageGeometry.h"
#include "document/Arrangement.h"
#include "document/FrameView.h"
#include "document/Options.h"
#include "document/Paths.h"
#include "picture/DrawDib.h"
#include "picture/Orientation.h"
#include "picture/Rotate.h"
#include "platform/DeviceContext.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

int clampToInt(std::int64_t v)
{
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(v);
}

// trunc(a * b / c) of integers, the division in floating point.
std::int64_t truncRatio(std::int64_t a, std::int64_t b, std::int64_t c)
{
    return std::int64_t(std::trunc(double(a * b) / double(c)));
}
} // namespace

std::optional<PlacementLayout> LayoutPlacement(const DeviceFrame &frame, QSize picture, bool keepAspect, bool cut,
                                               const FrameView &view)
{
    const std::int64_t W = frame.W, H = frame.H;
    std::int64_t srcW = picture.width(), srcH = picture.height(), srcX = 0, srcY = 0;
    if (W <= 0 || H <= 0 || srcW <= 0 || srcH <= 0 || frame.X + W > std::numeric_limits<int>::max() ||
        frame.Y + H > std::numeric_limits<int>::max())
        return std::nullopt;
    std::int64_t dw = W, dh = H;
    QRectF exact;
    if (view.chosen() && (cut || !keepAspect)) {
        const QRectF r = ViewRect(QSizeF(picture), double(W) / double(H), keepAspect, view);
        exact = QRectF(r.x(), picture.height() - r.y() - r.height(), r.width(), r.height());
        const QRect shown = ViewSource(picture, double(W) / double(H), keepAspect, view);
        srcX = shown.x();
        srcY = shown.y();
        srcW = shown.width();
        srcH = shown.height();
    } else if (keepAspect && cut) {
        const std::int64_t dh1 = truncRatio(srcH, W, srcW);
        if (dh1 < H) {
            // Relatively wider than the frame: columns are cut on both sides.
            const std::int64_t dw1 = truncRatio(srcW, H, srcH);
            if (dw1 <= 0)
                return std::nullopt;
            const std::int64_t newW = srcW * W / dw1;
            srcX = (srcW - newW) / 2;
            srcW = newW;
        } else {
            if (dh1 <= 0)
                return std::nullopt;
            const std::int64_t newH = srcH * H / dh1;
            srcY = (srcH - newH) / 2;
            srcH = newH;
        }
    } else if (keepAspect) {
        dh = truncRatio(srcH, W, srcW);
        if (dh > H) {
            dh = H;
            dw = truncRatio(srcW, H, srcH);
        }
    }
    if (dw <= 0 || dh <= 0 || srcW <= 0 || srcH <= 0)
        return std::nullopt;
    const QRect source(clampToInt(srcX), clampToInt(srcY), clampToInt(srcW), clampToInt(srcH));
    return PlacementLayout{frame, source, QSize(clampToInt(dw), clampToInt(dh)),
                           exact.isValid() ? exact : QRectF(source)};
}

double CaptionPixels(int pointSize, const PageScale &scale)
{
    const long double pixels = static_cast<long double>(scale.Zoom) * std::fabs(static_cast<long double>(pointSize)) * scale.FontDpi / 7200.0L;
    if (std::isnan(pixels) || pixels < 1)
        return 1;
    return double(std::min(pixels, static_cast<long double>(MaxCaptionPixels)));
}

int CaptionFontHeight(int pointSize, const PageScale &scale)
{
    // Taken in floating point, as three ints multiply past 64 bits; the result is
    // held to a height the font engine can take, so its negation stays defined.
    const long double pixels = std::trunc(static_cast<long double>(scale.Zoom) * pointSize * scale.FontDpi / 7200.0L);
    if (pixels == 0 || std::isnan(pixels))
        return 1;
    const long double held = static_cast<long double>(MaxCaptionPixels);
    return -int(std::clamp(pixels, -held, held));
}

QString CaptionText(const PictureEntry &entry, bool showFileNames)
{
    if (!entry.Comment.isEmpty())
        return entry.Comment;
    return showFileNames ? FileNamePart(entry.FileName) : QString();
}

namespace {
int pageCount(const TArrangement &doc, const PageStamp &stamp)
{
    return stamp.Pages > 0 ? stamp.Pages : doc.highestPage();
}
} // namespace

QString ShownCaption(const TArrangement &doc, const Placement &p, const PictureEntry &entry,
                     const ArrangementOptions &options, const PageStamp &stamp)
{
    const QString &written = entry.Comment.isEmpty() ? options.Captions.Template : entry.Comment;
    if (written.isEmpty())
        return CaptionText(entry, options.ShowFNames);
    CaptionValues values = PictureCaptionValues(entry.FileName, entry.Metadata, FullSize(entry));
    values.Page = p.Page;
    values.Pages = pageCount(doc, stamp);
    values.File = stamp.File;
    values.Printed = stamp.Printed;
    return ExpandCaption(written, values, QLocale());
}

namespace {
const PictureEntry *placedEntry(const TArrangement &doc, const Placement &p)
{
    const int index = doc.pictureIndexById(p.PictureId);
    if (index < 0)
        return nullptr;
    const PictureEntry &entry = doc.Pictures[std::size_t(index)];
    return entry.Dib.Bits ? &entry : nullptr;
}

std::optional<PlacementLayout> layoutOf(const PictureEntry &entry, const Placement &p, const PageScale &scale,
                                        const ArrangementOptions &options)
{
    const QSize shown = TurnedSize(FullSize(entry), p.Turn);
    std::optional<PlacementLayout> layout =
        LayoutPlacement(PlacementFrame(p, scale), shown, options.Sverh, p.Cut != 0, p.View);
    if (layout)
        layout->Turns = p.Turn & 3;
    return layout;
}

// The pixels of a turned frame: its part of the picture as stored, copied and
// turned, so that every device draws them upright.
DrawPixels turnedPixels(PictureStore &store, const PictureEntry &entry, const PlacementLayout &layout, QSize dest,
                        PictureWant want)
{
    const QRect source = UnturnedRect(layout.Source, FullSize(entry), layout.Turns);
    DrawPixels pixels = PixelsForDrawing(store, entry, source, TurnedSize(dest, layout.Turns), want);
    DIB part;
    if (!pixels.Dib.Bits || !CopyPart(pixels.Dib, pixels.Source, part))
        return {};
    if (!TurnQuarters(part, layout.Turns)) {
        deldib(&part);
        return {};
    }
    return DrawPixels{part, QRect(0, 0, DibWidth(part), DibHeight(part))};
}

void drawPixels(TDC &dc, const TArrangement &doc, const Placement &p, const PictureEntry &entry,
                const PlacementLayout &layout, PictureWant want, const SoftProofFn &recolour)
{
    // The destination in the pixels the device really paints.
    const QTransform toPixels = dc.PixelTransform();
    const QSize dest(int(std::ceil(layout.Dest.width() * std::abs(toPixels.m11()))),
                     int(std::ceil(layout.Dest.height() * std::abs(toPixels.m22()))));
    DrawPixels pixels = layout.Turns ? turnedPixels(doc.Store, entry, layout, dest, want)
                                     : PixelsForDrawing(doc.Store, entry, layout.Source, dest, want);
    if (!pixels.Dib.Bits)
        return;
    if (recolour) {
        const double unitsPerMm = p.Width > 0 ? layout.Frame.W / (p.Width * MmPerInch) : 0;
        pixels = recolour(pixels, dest, unitsPerMm * std::abs(toPixels.m11()), entry.PrintIntent);
    }
    const QRect &src = pixels.Source;
    DrawDib(dc, layout.Frame.X, layout.Frame.Y, layout.Dest.width(), layout.Dest.height(), pixels.Dib, src.x(),
            src.y(), src.width(), src.height(), true, SRCCOPY, false, {});
}

void drawCaption(TDC &dc, const QString &caption, const PlacementLayout &layout, const PageScale &scale,
                 const ArrangementOptions &options)
{
    if (caption.isEmpty())
        return;
    // One layout for every resolution, at the unrounded height, so the screen
    // shows what prints.
    dc.SetScaledTextLayout(CaptionPixels(options.Font.Size, scale));
    const int X = layout.Frame.X, Y = layout.Frame.Y;
    dc.SetFont(options.Font, CaptionFontHeight(options.Font.Size, scale));
    QStringList lines = FitCaptionLines(caption, layout.Dest.width(), options.Captions.Fit,
                                        [&dc](const QString &s) { return double(dc.GetTextWidth(s)); });
    // The caption grows upward over the picture, never past its top; the
    // picture's own size does not change.
    const int lineHeight = std::max(1, dc.GetTextBlockHeight(1));
    const qsizetype fits = std::max<qsizetype>(1, layout.Dest.height() / lineHeight);
    if (lines.size() > fits)
        lines.resize(fits);
    RECT box;
    box.left = X;
    box.right = clampToInt(std::int64_t(X) + layout.Dest.width());
    box.bottom = clampToInt(std::int64_t(Y) + layout.Dest.height());
    box.top = clampToInt(std::int64_t(box.bottom) - dc.GetTextBlockHeight(int(lines.size())));
    dc.SetBkColor(COLORREF(options.BkColor));
    if (options.Transp)
        dc.SetBkMode(TRANSPARENT);
    dc.DrawText(lines.join(u'\n'), box, DT_CENTER);
    dc.SetBkMode(OPAQUE);
    dc.SetScaledTextLayout(0);
}
} // namespace

PictureSupply::PictureSupply(PictureWant want)
    : Draw([want](TDC &dc, const TArrangement &doc, const Placement &p, const PictureEntry &entry,
                  const PlacementLayout &layout, const SoftProofFn &recolour) {
        drawPixels(dc, doc, p, entry, layout, want, recolour);
    })
{
}

void DrawSheetText(TDC &dc, const SheetText &text, const QRectF &box, const PageScale &scale,
                   const ArrangementOptions &options, bool bold)
{
    QPainter *painter = dc.painter();
    if (!painter || text.Lines.isEmpty() || !(box.width() >= 1) || !(box.height() >= 1))
        return;
    QFont font = QFontFromCaption(options.Font);
    const double pixels = text.Points * scale.FontDpi * scale.Zoom / 7200.0;
    font.setPixelSize(std::clamp(int(std::lround(pixels)), 1, MaxCaptionPixels));
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const QFontMetricsF metrics(font, painter->device());
    const double pitch = box.height() / double(text.Lines.size());
    painter->save();
    // Never past the box: the next cell's picture lies right below it.
    painter->setClipRect(box, Qt::IntersectClip);
    painter->setFont(font);
    painter->setPen(ColorFromRef(COLORREF(options.Font.Color)));
    double top = box.top();
    for (const QString &line : text.Lines) {
        // Qt lays out the line as a whole, so right-to-left and CJK text come out right.
        const QString shown = metrics.elidedText(line, Qt::ElideRight, box.width());
        painter->drawText(QRectF(box.left(), top, box.width(), pitch), Qt::AlignHCenter | Qt::AlignTop, shown);
        top += pitch;
    }
    painter->restore();
}

QRectF SheetCellTextBox(const Placement &p, const SheetText &text, const PageScale &scale)
{
    const DeviceFrame f = PlacementFrame(p, scale);
    const double kx = scale.DpiX * scale.Zoom / 100.0, ky = scale.DpiY * scale.Zoom / 100.0;
    return QRectF(f.X + text.Left * kx, f.Y + text.Top * ky, text.Width * kx, SheetTextInches(text) * ky);
}

namespace {
QRectF headerBox(const SheetText& t, const PageScale& scale)
{
    const double kx = scale.DpiX * scale.Zoom / 100.0, ky = scale.DpiY * scale.Zoom / 100.0;
    return QRectF(t.Left * kx, t.Top * ky, t.Width * kx, SheetTextInches(t) * ky);
}

// The cell captions and the header of a page, device pixels: cut marks keep clear of them.
std::vector<QRect> sheetTextBoxes(const TArrangement& doc, double page, const PageScale& scale)
{
    std::vector<QRect> boxes;
    for (int i = 0; i < doc.Placements.size(); ++i) {
        const Placement& p = doc.Placements.at(i);
        if (const SheetText* cell = doc.Sheets.cellOf(p); cell && double(p.Page) == page)
            boxes.push_back(SheetCellTextBox(p, *cell, scale).toAlignedRect());
    }
    const auto header = doc.Sheets.Headers.find(int(page));
    if (header != doc.Sheets.Headers.end() && double(header->first) == page)
        boxes.push_back(headerBox(header->second, scale).toAlignedRect());
    if (double(int(page)) == page)
        for (auto [at, end] = doc.Sheets.Labels.equal_range(int(page)); at != end; ++at)
            boxes.push_back(headerBox(at->second, scale).toAlignedRect());
    return boxes;
}
} // namespace

void RenderSheetHeader(TDC &dc, const TArrangement &doc, double page, const PageScale &scale,
                       const ArrangementOptions &options)
{
    if (double(int(page)) != page)
        return;
    const auto header = doc.Sheets.Headers.find(int(page));
    if (header != doc.Sheets.Headers.end())
        DrawSheetText(dc, header->second, headerBox(header->second, scale), scale, options, true);
    for (auto [at, end] = doc.Sheets.Labels.equal_range(int(page)); at != end; ++at)
        DrawSheetText(dc, at->second, headerBox(at->second, scale), scale, options, false);
}

std::optional<PlacementLayout> LayoutOnDevice(const TArrangement &doc, const Placement &p, const PageScale &scale,
                                              const ArrangementOptions &options)
{
    const PictureEntry *entry = placedEntry(doc, p);
    return entry ? layoutOf(*entry, p, scale, options) : std::nullopt;
}

void RenderPlacement(TDC &dc, const TArrangement &doc, const Placement &p, const PageScale &scale,
                     const ArrangementOptions &options, const PictureSupply &supply, const PageStamp &stamp)
{
    const PictureEntry *entry = placedEntry(doc, p);
    if (!entry)
        return;
    const std::optional<PlacementLayout> layout = layoutOf(*entry, p, scale, options);
    if (!layout)
        return;
    if (supply.Draw)
        supply.Draw(dc, doc, p, *entry, *layout, supply.Recolour);
    drawCaption(dc, ShownCaption(doc, p, *entry, options, stamp), *layout, scale, options);
    if (const SheetText *cell = doc.Sheets.cellOf(p))
        DrawSheetText(dc, *cell, SheetCellTextBox(p, *cell, scale), scale, options, false);
}

void RenderPage(TDC &dc, const TArrangement &doc, double page, const PageScale &scale,
                const ArrangementOptions &options, const PrintSetup &setup, const PictureSupply &supply)
{
    PictureSupply pictures = supply;
    pictures.Recolour = setup.SoftProof;
    for (int i = 0; i < doc.Placements.size(); ++i) {
        const Placement &p = doc.Placements.at(i);
        if (double(p.Page) == page)
            RenderPlacement(dc, doc, p, scale, options, pictures, setup.Stamp);
    }
    RenderSheetHeader(dc, doc, page, scale, options);
    const double toDevice = scale.Zoom / 100.0;
    const QSize area(int(std::lround(double(setup.PageWidth) * scale.DpiX / std::max(1, setup.DpiX) * toDevice)),
                     int(std::lround(double(setup.PageHeight) * scale.DpiY / std::max(1, setup.DpiY) * toDevice)));
    RenderPageTexts(dc, doc, int(page), area, scale, options, setup.Stamp);
    if (options.CutMarks)
        DrawCutMarks(dc, doc, page, scale, setup.CutMarks, sheetTextBoxes(doc, page, scale));
}

void RenderPageTexts(TDC &dc, const TArrangement &doc, int page, QSize area, const PageScale &scale,
                     const ArrangementOptions &options, const PageStamp &stamp)
{
    const CaptionSettings &c = options.Captions;
    if ((c.Header.isEmpty() && c.Footer.isEmpty()) || area.isEmpty())
        return;
    CaptionValues values;
    values.Page = page;
    values.Pages = pageCount(doc, stamp);
    values.File = stamp.File;
    values.Printed = stamp.Printed;
    const TCaptionFont &font = c.OwnFont ? c.PageFont : options.Font;
    dc.SetScaledTextLayout(CaptionPixels(font.Size, scale));
    dc.SetFont(font, CaptionFontHeight(font.Size, scale));
    dc.SetBkMode(TRANSPARENT);
    const auto draw = [&](const QString &text, PageTextAlign align, bool atTop) {
        const QStringList lines = FitCaptionLines(ExpandCaption(text, values, QLocale()), area.width(),
                                                  CaptionFit::Ellipsis,
                                                  [&dc](const QString &s) { return double(dc.GetTextWidth(s)); });
        if (text.isEmpty() || lines.isEmpty())
            return;
        const int height = dc.GetTextBlockHeight(int(lines.size()));
        RECT box;
        box.left = 0;
        box.right = area.width();
        box.top = atTop ? 0 : area.height() - height;
        box.bottom = atTop ? height : area.height();
        const unsigned format = align == PageTextAlign::Left ? DT_LEFT : align == PageTextAlign::Right ? DT_RIGHT : DT_CENTER;
        dc.DrawText(lines.join(u'\n'), box, format);
    };
    draw(c.Header, c.HeaderAlign, true);
    draw(c.Footer, c.FooterAlign, false);
    dc.SetBkMode(OPAQUE);
    dc.SetScaledTextLayout(0);
}
