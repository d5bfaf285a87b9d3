// Minimum print quality: enlarging pictures that are too small for their frames.
#include "app/MainUnit.h"
#include "picture/DecodeSupport.h"
#include "picture/Resample.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QSpinBox>

#include <climits>

ProgressFn TMainForm::ProgressToStatusBar()
{
    // Rows far outnumber percentages; repaint the bar only when it moves.
    return [this, last = -1](int percent) mutable {
        if (percent != last) {
            last = percent;
            SetProStatus(percent);
        }
    };
}

void TMainForm::Changequal(DIB &dib, double frameWidth, double /*frameHeight: the picture's aspect decides*/)
{
    if (!EnhanceQualCheck->isChecked() || !dib.Bits)
        return;
    const int W = DibWidth(dib), H = DibHeight(dib);
    const double pageWidth = PrinterDpi() > 0 ? double(PageWidth()) / PrinterDpi() : 0.0;
    const QualitySize need = MinQualitySize(W, H, MinQualEd->value(), frameWidth, pageWidth);
    if (need.width == W && need.height == H)
        return;

    const ProgressFn progress = ProgressToStatusBar();
    if (DibBitCount(dib) < 24) {
        DepthUpTo(&dib, 24, progress);
        if (DibBitCount(dib) <= 8) {
            Dialogs::messageBox(this, tr("Could not change the number of colours! (Low memory?!)"), tr("Error"),
                                Dialogs::Icon::Error);
            return;
        }
    }
    // Beyond the decoders' pixel limit counts as running out of memory.
    const bool withinLimit = need.width <= INT_MAX && need.height <= INT_MAX &&
                             std::uint64_t(need.width) * std::uint64_t(need.height) <= DibDecode::MaxPixels;
    DIB larger;
    if (withinLimit && Resize(dib, int(need.width), int(need.height), true, &larger, progress)) {
        deldib(&dib);
        dib = larger;
    } else {
        Dialogs::messageBox(this, tr("Error while enlarge the picture to min. quality..."), QString(),
                            Dialogs::Icon::Error);
    }
}

void TMainForm::Checkallquals()
{
    Placements.First();
    while (Placements.Next()) {
        const Placement frame = *CurrentPlacement;
        for (PictureEntry &entry : Pictures)
            if (entry.PictureId == frame.PictureId)
                Changequal(entry.Dib, frame.Width, frame.Height);
    }
}
