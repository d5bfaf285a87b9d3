// The main window's page geometry: resolutions, page size, the inch/view
// transforms at the current zoom, the millimetre/inch twin edits and the page
// count and current page edits of the "Arrange" tab.
#include "app/MainUnit.h"
#include "arrange/Geometry.h"
#include "platform/PaintBox.h"
#include "platform/Printer.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

int TMainForm::ScreenDpi() const { return ScreenDpiOverride > 0 ? ScreenDpiOverride : PaintBox1->logicalDpiX(); }

// The horizontal resolution serves both axes of the page.
int TMainForm::PrinterDpi() const { return Printer().LogPixelsX(); }
int TMainForm::PageWidth() const { return Printer().PageWidth(); }
int TMainForm::PageHeight() const { return Printer().PageHeight(); }

QSize TMainForm::ArrangeViewSize() const
{
    return Geometry::ViewSize(PageWidth(), PageHeight(), PrinterDpi(), ScreenDpi(), ZoomEd->value());
}

int TMainForm::ToView(double inch) const { return Geometry::ToView(inch, ZoomEd->value(), ScreenDpi()); }

double TMainForm::FromView(int pixels) const { return Geometry::FromView(pixels, ZoomEd->value(), ScreenDpi()); }

double TMainForm::SnapToGrid(double inch) const
{
    return Geometry::SnapToGrid(inch, UseGridCheck->isChecked(), GridEd->value());
}

void TMainForm::ZoomEdChange() { repaintArrangeView(); }

void TMainForm::PageCountEDChange()
{
    // Placements beyond the count stay; only the current page follows.
    if (APageEd->value() > PageCountED->value())
        APageEd->setValue(PageCountED->value());
}

void TMainForm::APageEdChange()
{
    // The clamp below re-enters this handler; keep the guard as the outer call set it.
    const bool outerGuard = UpdateGuard;
    UpdateGuard = true;
    if (APageEd->value() > PageCountED->value())
        APageEd->setValue(PageCountED->value());
    dropSelectionOffPage();
    repaintArrangeView();
    APageEd2->setValue(APageEd->value());
    UpdateGuard = outerGuard;
}

void TMainForm::APageEd2Change()
{
    if (UpdateGuard)
        return;
    APageEd->setValue(APageEd2->value());
    repaintPreview();
}

namespace {
// Writes one edit of a millimetre/inch pair from its twin; the guard keeps the
// twin's own handler from writing back. The edit clamps and rounds the value.
void updateTwin(bool &guard, const QDoubleSpinBox *from, QDoubleSpinBox *to, double (*convert)(double))
{
    if (guard)
        return;
    guard = true;
    to->setValue(convert(from->value()));
    guard = false;
}
} // namespace

void TMainForm::RandEdChange() { updateTwin(UpdateGuard, RandEd, RandEDin, Geometry::MmToInch); }
void TMainForm::RandEDinChange() { updateTwin(UpdateGuard, RandEDin, RandEd, Geometry::InchToMm); }
void TMainForm::SpaceEDChange() { updateTwin(UpdateGuard, SpaceED, SpaceEdin, Geometry::MmToInch); }
void TMainForm::SpaceEdinChange() { updateTwin(UpdateGuard, SpaceEdin, SpaceED, Geometry::InchToMm); }
void TMainForm::DBreiteEDChange() { updateTwin(UpdateGuard, DBreiteED, DBreiteEdin, Geometry::MmToInch); }
void TMainForm::DBreiteEdinChange() { updateTwin(UpdateGuard, DBreiteEdin, DBreiteED, Geometry::InchToMm); }
void TMainForm::DHocheEDChange() { updateTwin(UpdateGuard, DHocheED, DHocheEdin, Geometry::MmToInch); }
void TMainForm::DHocheEdinChange() { updateTwin(UpdateGuard, DHocheEdin, DHocheED, Geometry::InchToMm); }

void TMainForm::GridEdChange()
{
    updateTwin(UpdateGuard, GridEd, GridEDin, Geometry::MmToInch);
    if (ShowGridCheck->isChecked())
        repaintArrangeView();
}

void TMainForm::GridEDinChange()
{
    // Writing GridEd runs GridEdChange, which repaints a shown grid.
    updateTwin(UpdateGuard, GridEDin, GridEd, Geometry::InchToMm);
}
