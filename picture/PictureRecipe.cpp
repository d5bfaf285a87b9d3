#include "picture/PictureRecipe.h"

#include "picture/DecodeSupport.h"
#include "picture/FileCheck.h"
#include "picture/Resample.h"
#include "picture/Rotate.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {
PictureHeader headerOf(int width, int height, int bits)
{
    return {width, height, bits,
            std::uint32_t(std::uint64_t(DibRowBytes(std::uint32_t(std::max(width, 0)), bits)) * std::uint64_t(std::max(height, 0)))};
}

// Averages 2 x 2 pixels of a 24-bit picture; an odd last column or row is
// averaged with itself.
bool halve(const DIB &src, DIB *out)
{
    const int W = DibWidth(src), H = DibHeight(src);
    const int w = (W + 1) / 2, h = (H + 1) / 2;
    if (!newdib(out, w, h, 24, nullptr, 0))
        return false;
    for (int y = 0; y < h; ++y) {
        const BYTE *a = DibRow(src, std::min(2 * y, H - 1));
        const BYTE *b = DibRow(src, std::min(2 * y + 1, H - 1));
        BYTE *d = DibRow(*out, y);
        for (int x = 0; x < w; ++x) {
            const int x0 = 2 * x * 3, x1 = std::min(2 * x + 1, W - 1) * 3;
            for (int c = 0; c < 3; ++c)
                d[x * 3 + c] = BYTE((a[x0 + c] + a[x1 + c] + b[x0 + c] + b[x1 + c] + 2) >> 2);
        }
    }
    return true;
}
} // namespace

bool operator==(const PictureStep &a, const PictureStep &b)
{
    return a.What == b.What && a.Width == b.Width && a.Height == b.Height && a.Table == b.Table
           && a.AfterEnlarge == b.AfterEnlarge;
}

PictureHeader HeaderAfterStep(const PictureHeader &before, const PictureStep &step)
{
    switch (step.What) {
    case PictureStep::Kind::TurnLeft:
    case PictureStep::Kind::TurnRight:
        return headerOf(before.Height, before.Width, before.BitCount);
    case PictureStep::Kind::Tone:
    case PictureStep::Kind::Mirror:
        return before;
    case PictureStep::Kind::DepthUp:
        return headerOf(before.Width, before.Height, 24);
    case PictureStep::Kind::Enlarge:
        return headerOf(step.Width, step.Height, 24);
    }
    return before;
}

PictureRecipe WithStep(const PictureRecipe &recipe, const PictureStep &step)
{
    PictureRecipe r = recipe;
    AppendStep(r, step);
    return r;
}

void AppendStep(PictureRecipe& recipe, const PictureStep& step)
{
    if (recipe.Steps && recipe.Steps.use_count() == 1) {
        // No one else holds the list: nothing can see it change.
        const_cast<PictureSteps&>(*recipe.Steps).push_back(step);
    } else {
        auto steps = std::make_shared<PictureSteps>();
        if (recipe.Steps) {
            steps->reserve(recipe.Steps->size() + 1);
            *steps = *recipe.Steps;
        }
        steps->push_back(step);
        recipe.Steps = std::move(steps);
    }
    recipe.Full = HeaderAfterStep(recipe.Full, step);
}

bool ApplyStep(DIB &pic, const PictureStep &step, const ProgressFn &progress)
{
    switch (step.What) {
    case PictureStep::Kind::TurnLeft:
        return RotLeft(pic, progress);
    case PictureStep::Kind::TurnRight:
        return RotRight(pic, progress);
    case PictureStep::Kind::Mirror:
        return MirrorSides(pic, progress);
    case PictureStep::Kind::Tone: {
        // On new pixels: the old ones may be shared with other holders.
        DIB adjusted;
        if (!NewDibLike(&adjusted, pic, DibWidth(pic), DibHeight(pic)))
            return false;
        std::memcpy(adjusted.Bits, pic.Bits, std::min(adjusted.Info->biSizeImage, pic.Info->biSizeImage));
        ApplyToneTable(adjusted, step.Table);
        deldib(&pic);
        pic = adjusted;
        return true;
    }
    case PictureStep::Kind::DepthUp:
        return DibBitCount(pic) == 24 || (DepthUpTo(&pic, 24, progress) && DibBitCount(pic) == 24);
    case PictureStep::Kind::Enlarge: {
        if (DibBitCount(pic) != 24 || step.Width <= 0 || step.Height <= 0
            || std::uint64_t(step.Width) * std::uint64_t(step.Height) > DibDecode::MaxPixels)
            return false;
        DIB larger;
        if (!Resize(pic, step.Width, step.Height, true, &larger, progress))
            return false;
        deldib(&pic);
        pic = larger;
        return true;
    }
    }
    return false;
}

DIB ReplayRecipe(const PictureRecipe &recipe, QSize box)
{
    using DibDecode::Error;
    DIB failed;
    QFile file;
    if (recipe.File.isEmpty() || !recipe.Check || !OpenRegularFile(recipe.File, file)) {
        SetDibError(&failed, DibDecode::errorText(Error::CannotOpen));
        return failed;
    }
    // Opened once: a file replaced between the check and the decode would
    // otherwise be printed as another picture.
    if (FileCheck(file) != recipe.Check) {
        SetDibError(&failed, DibDecode::errorText(Error::Changed));
        return failed;
    }
    const bool enlarges = recipe.Steps && std::any_of(recipe.Steps->begin(), recipe.Steps->end(), [](const PictureStep &s) {
        return s.What == PictureStep::Kind::Enlarge;
    });
    ScaledPicture decoded = DecodeScaled(file, recipe.File, recipe.Format, enlarges ? QSize() : box, DctScales::Eighths);
    if (!decoded.Dib.Bits)
        return decoded.Dib;
    // Written over in place after the check: the size tells another picture.
    const PictureHeader &d = decoded.Full, &r = recipe.Decoded;
    if (d.Width != r.Width || d.Height != r.Height || d.BitCount != r.BitCount) {
        deldib(&decoded.Dib);
        SetDibError(&decoded.Dib, DibDecode::errorText(Error::Changed));
        return decoded.Dib;
    }
    if (!recipe.Steps)
        return decoded.Dib;
    for (const PictureStep &step : *recipe.Steps) {
        if (!ApplyStep(decoded.Dib, step)) {
            deldib(&decoded.Dib);
            SetDibError(&decoded.Dib, DibDecode::errorText(DibDecode::Error::OutOfMemory));
            break;
        }
    }
    return decoded.Dib;
}

bool RecipeFileUnchanged(const PictureRecipe &recipe)
{
    if (recipe.File.isEmpty() || !recipe.Check)
        return false;
    return FileCheck(recipe.File) == recipe.Check;
}

DIB ShrinkForDisplay(const DIB &pic) { return ShrinkToEdge(pic, DisplayEdge); }

DIB ShrinkToEdge(const DIB &pic, int edge)
{
    DIB current;
    if (DibBitCount(pic) != 24 || !pic.Bits || edge < 1)
        return current;
    current = pic;
    while (std::max(DibWidth(current), DibHeight(current)) >= 2 * edge) {
        DIB smaller;
        const bool done = halve(current, &smaller);
        if (current.Bits != pic.Bits)
            deldib(&current);
        if (!done)
            return DIB();
        current = smaller;
    }
    return current.Bits == pic.Bits ? DIB() : current;
}
