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

void TMainForm::Changequal(PictureEntry &entry, double frameWidth, double /*frameHeight: the picture's aspect decides*/)
{
    if (!EnhanceQualCheck->isChecked() || !entry.Dib.Bits)
        return;
    const QSize full = FullSize(entry);
    const double pageWidth = PrinterDpi() > 0 ? double(PageWidth()) / PrinterDpi() : 0.0;
    const QualitySize need = MinQualitySize(full.width(), full.height(), MinQualEd->value(), frameWidth, pageWidth);
    if (need.width == full.width() && need.height == full.height())
        return;
    // Beyond the decoders' pixel limit counts as running out of memory.
    switch (EnlargeEntry(entry, need.width, need.height, ProgressToStatusBar())) {
    case EnlargeOutcome::Done:
        break;
    case EnlargeOutcome::DepthFailed:
        Dialogs::messageBox(this, tr("Could not change the number of colours! (Low memory?!)"), tr("Error"),
                            Dialogs::Icon::Error);
        break;
    case EnlargeOutcome::Failed:
        Dialogs::messageBox(this, tr("Error while enlarge the picture to min. quality..."), QString(),
                            Dialogs::Icon::Error);
        break;
    }
}

void TMainForm::Checkallquals()
{
    Placements.First();
    while (Placements.Next()) {
        const Placement frame = *CurrentPlacement;
        for (PictureEntry &entry : Pictures)
            if (entry.PictureId == frame.PictureId)
                Changequal(entry, frame.Width, frame.Height);
    }
}
