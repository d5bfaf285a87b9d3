// The device context's text: fonts, their layout at one reference size, and
// drawing lines in a rectangle.
#include "platform/DeviceContext.h"

#include "platform/CaptionFont.h"
#include "platform/ColorBox.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {
// Text positions beyond this distance from the origin are off every device;
// within it, a rectangle's sides and size still fit an int.
constexpr std::int64_t FarOut = std::int64_t(1) << 28;
// Pixel size at which scaled text is laid out: large enough that glyph
// advances are the font's own proportions.
constexpr int LayoutPixels = 1000;

int heldFar(std::int64_t v) { return int(std::clamp<std::int64_t>(v, -FarOut, FarOut)); }

// The rectangle from left, top to right, bottom (exclusive) held to the far range.
QRect heldRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    return QRect(QPoint(heldFar(left), heldFar(top)), QPoint(heldFar(right) - 1, heldFar(bottom) - 1));
}

} // namespace

QFont QFontFromCaption(const TCaptionFont &font)
{
    QFont f(font.Name);
    f.setBold(font.Style & 1);
    f.setItalic(font.Style & 2);
    f.setUnderline(font.Style & 4);
    f.setStrikeOut(font.Style & 8);
    if (font.Pitch == 2) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
    }
    return f;
}

TCaptionFont CaptionFromFont(const QFont &font, const QColor &color, const TCaptionFont &previous)
{
    TCaptionFont c = previous;
    c.Name = font.family();
    if (font.pointSize() > 0)
        c.Size = font.pointSize();
    c.Style = std::uint8_t((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                           (font.strikeOut() ? 8 : 0));
    c.Pitch = font.fixedPitch() || QFontInfo(font).fixedPitch() ? 2 : 1;
    if (color.isValid() && color.rgb() != ColorFromWindows(previous.Color).rgb())
        c.Color = WindowsFromColor(color);
    return c;
}

// ---------------------------------------------------------------------------
// Text

void TDC::SetFont(const QFont &font, int height)
{
    Font = font;
    if (height < 0) {
        Font.setPixelSize(-height);
    } else if (height > 0) {
        // Cell height = ascent + descent: scale from a probe size, then make sure
        // the cell does not come out taller than asked.
        QFont probe = font;
        probe.setPixelSize(100);
        const int cell100 = std::max(1, QFontMetrics(probe).height());
        int px = std::max(1, int(std::lround(height * 100.0 / cell100)));
        Font.setPixelSize(px);
        while (px > 1 && QFontMetrics(Font).height() > height)
            Font.setPixelSize(--px);
    }
    TextScale = 0;
    if (ScaledPixels > 0) {
        LayoutFont = Font;
        LayoutFont.setPixelSize(LayoutPixels);
        LayoutFont.setHintingPreference(QFont::PreferNoHinting);
        TextScale = ScaledPixels / LayoutPixels;
    }
    if (P)
        P->setFont(Font);
}

void TDC::SetFont(const TCaptionFont &font, int height)
{
    TextColor = ColorFromWindows(font.Color);
    SetFont(QFontFromCaption(font), height);
}

COLORREF TDC::SetTextColor(COLORREF color)
{
    const COLORREF old = RGB(TextColor.red(), TextColor.green(), TextColor.blue());
    TextColor = ColorFromRef(color);
    return old;
}

COLORREF TDC::SetBkColor(COLORREF color)
{
    const COLORREF old = RGB(BkColor.red(), BkColor.green(), BkColor.blue());
    BkColor = ColorFromRef(color);
    return old;
}

int TDC::SetBkMode(int mode)
{
    const int old = BkMode;
    BkMode = mode;
    return old;
}

int TDC::GetTextHeight(const QString &) const
{
    if (TextScale > 0)
        return int(std::lround(QFontMetricsF(LayoutFont).height() * TextScale));
    return Device ? QFontMetrics(Font, Device).height() : QFontMetrics(Font).height();
}

int TDC::GetTextBlockHeight(int lines) const
{
    if (TextScale > 0)
        return int(std::min<double>(std::lround(QFontMetricsF(LayoutFont).height() * TextScale * lines), INT_MAX));
    const std::int64_t one = Device ? QFontMetrics(Font, Device).height() : QFontMetrics(Font).height();
    return int(std::min<std::int64_t>(one * lines, INT_MAX));
}

int TDC::GetTextWidth(const QString &text) const
{
    if (TextScale > 0)
        return int(std::lround(QFontMetricsF(LayoutFont).horizontalAdvance(text) * TextScale));
    return Device ? QFontMetrics(Font, Device).horizontalAdvance(text) : QFontMetrics(Font).horizontalAdvance(text);
}

int TDC::DrawText(const QString &text, const RECT &rect, unsigned format)
{
    const QFontMetrics fm = Device ? QFontMetrics(Font, Device) : QFontMetrics(Font);
    QStringList lines;
    if (format & DT_SINGLELINE) {
        QString one = text;
        one.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << one;
    } else {
        QString all = text;
        all.remove(QLatin1Char('\r'));
        lines = all.split(QLatin1Char('\n'));
    }
    const std::int64_t lineHeight = TextScale > 0 ? GetTextHeight(text) : fm.height();
    const int total = int(std::min<std::int64_t>(lineHeight * lines.size(), INT_MAX));
    if (!P)
        return total;

    // Rectangles of absurd frames reach past the int range: positions in 64 bits.
    const std::int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
    const std::int64_t rectWidth = right - left, rectHeight = bottom - top;
    std::int64_t y = top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = top + (rectHeight - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = bottom - lineHeight;
    }
    P->save();
    P->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!(format & DT_NOCLIP)) {
        if (rectWidth <= 0 || rectHeight <= 0) {
            P->restore();
            return total;
        }
        P->setClipRect(heldRect(left, top, right, bottom), Qt::IntersectClip);
    }
    P->setPen(TextColor);
    if (TextScale > 0) {
        // Laid out at the reference size, so positions scale with the height alone.
        const QFontMetricsF layout(LayoutFont);
        const double scaledHeight = layout.height() * TextScale;
        double yf = double(top);
        if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
            yf = double(top) + (double(rectHeight) - scaledHeight) / 2;
        else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
            yf = double(bottom) - scaledHeight;
        P->setFont(LayoutFont);
        for (const QString &line : lines) {
            const double width = layout.horizontalAdvance(line) * TextScale;
            double x = double(left);
            if (format & DT_CENTER)
                x = double(left) + (double(rectWidth) - width) / 2;
            else if (format & DT_RIGHT)
                x = double(right) - width;
            if (std::abs(x) < FarOut && std::abs(yf) < FarOut) {
                if (BkMode == OPAQUE && width > 0)
                    P->fillRect(QRectF(x, yf, width, scaledHeight), BkColor);
                P->save();
                P->translate(x, yf);
                P->scale(TextScale, TextScale);
                P->drawText(QPointF(0, layout.ascent()), line);
                P->restore();
            }
            yf += scaledHeight;
        }
        P->restore();
        return int(std::min<double>(std::lround(scaledHeight * lines.size()), INT_MAX));
    }
    P->setFont(Font);
    for (const QString &line : lines) {
        const std::int64_t width = fm.horizontalAdvance(line);
        std::int64_t x = left;
        if (format & DT_CENTER)
            x = left + (rectWidth - width) / 2;
        else if (format & DT_RIGHT)
            x = right - width;
        if (std::abs(x) < FarOut && std::abs(y) < FarOut) {
            if (BkMode == OPAQUE && width > 0)
                P->fillRect(heldRect(x, y, x + width, y + lineHeight), BkColor);
            P->drawText(QPoint(int(x), int(y + fm.ascent())), line);
        }
        y += lineHeight;
    }
    P->restore();
    return total;
}

void TDC::TextOut(int x, int y, const QString &text)
{
    if (!P)
        return;
    const QFontMetrics fm = Device ? QFontMetrics(Font, Device) : QFontMetrics(Font);
    const int width = fm.horizontalAdvance(text);
    P->save();
    P->setFont(Font);
    P->setPen(TextColor);
    if (BkMode == OPAQUE && width > 0)
        P->fillRect(QRect(x, y, width, fm.height()), BkColor);
    P->drawText(QPoint(x, y + fm.ascent()), text);
    P->restore();
}
