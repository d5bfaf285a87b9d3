// Opening the brightness, contrast and saturation dialog for the selected placement's picture.
#include "app/MainUnit.h"
#include "document/UndoCommands.h"
#include "picture/HKUnit.h"
#include "picture/Resample.h"
#include "platform/Dialogs.h"

#include <QSlider>

#include <algorithm>
#include <cstring>
#include <memory>

void TMainForm::HelligkeitKontrastundSttigung1Click()
{
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    const auto undo = Undo->change(tr("Brightness, contrast and saturation"));
    const int id = Placements.at(SelectedPlacement).PictureId;
    for (std::size_t i = 0; i < Pictures.size(); ++i) {
        if (Pictures[i].PictureId != id || !Pictures[i].Dib.Bits)
            continue;
        const DIB &current = Pictures[i].Dib;
        auto form = std::make_unique<THKForm>(this);
        form->TrackBar1->setValue(0);
        form->TrackBar2->setValue(100);
        form->TrackBar3->setValue(0);

        DIB backup;
        if (!NewDibLike(&backup, current, DibWidth(current), DibHeight(current))) {
            Dialogs::messageBox(this, tr("Error: Could not create picture! (Low memory?)"), QString(),
                                Dialogs::Icon::Error);
            continue;
        }
        std::memcpy(backup.Bits, current.Bits, std::min(backup.Info->biSizeImage, current.Info->biSizeImage));
        // The dialog works on new pixels: the entry's own stay as they are, for
        // Cancel and for every undo step that holds them.
        form->OldDib = current;
        form->WorkDib = backup;
        // The entry carries the adjusted palette too while the dialog is open, so
        // the views show every preview.
        THKForm *f = form.get();
        const PictureRecipe recipe = Pictures[i].Recipe;
        form->RepaintViews = [this, i, f, recipe] {
            // A zoomed view shows the full picture: it is made again with the preview's table.
            Pictures[i].Recipe = recipe;
            AdjustEntry(Pictures[i], f->WorkDib, f->chosenTable());
            repaintStrip();
            repaintArrangeView();
        };

        const bool accepted = Dialogs::execDialog(f) == QDialog::Accepted;
        Pictures[i].Dib = form->OldDib;
        Pictures[i].Recipe = recipe;
        if (accepted) {
            AdjustEntry(Pictures[i], form->WorkDib, form->chosenTable());
            deldib(&form->OldDib);
        } else {
            deldib(&form->WorkDib);
        }
        // Also after Cancel, so the views do not keep showing a discarded preview.
        repaintStrip();
        repaintArrangeView();
    }
}

void TMainForm::HellKonBtnClick() { HelligkeitKontrastundSttigung1Click(); }
