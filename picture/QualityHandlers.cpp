// Minimum print quality: enlarging pictures that are too small for their frames.
#include "app/MainUnit.h"
#include "picture/Resample.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QSpinBox>

#include <climits>
#include <cmath>

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
    // Pixels needed across the frame; NaN, zero and negative widths need none.
    const double need = MinQualEd->value() * frameWidth;
    if (W <= 0 || H <= 0 || !(need >= 1.0))
        return;
    const int needW = need >= double(INT_MAX) ? INT_MAX : int(need);
    const int needH = int(std::min<long long>(static_cast<long long>(H) * needW / W, INT_MAX));
    if (W >= needW && H >= needH)
        return; // never reduced

    const ProgressFn progress = ProgressToStatusBar();
    if (DibBitCount(dib) < 24) {
        DepthUpTo(&dib, 24, progress);
        if (DibBitCount(dib) <= 8) {
            Dialogs::messageBox(this, tr("Could not change the number of colours! (Low memory?!)"), tr("Error"),
                                Dialogs::Icon::Error);
            return;
        }
    }
    DIB larger;
    if (Resize(dib, needW, needH, true, &larger, progress)) {
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
