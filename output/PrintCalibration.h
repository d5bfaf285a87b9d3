#pragma once
// Printer offset and scale calibration: the page the user measures, and the
// correction that makes a printer that prints off put every job where it belongs.
#include "platform/Settings.h"

#include <QPointF>
#include <QSize>
#include <QString>
#include <QTransform>

class QPageLayout;
class TDC;
class TPrinter;

// Printer pixels as drawn to printer pixels as they must be drawn so that the
// printer's error (Scale * q + Offset, about the printable area's corner)
// brings them back: (p - Offset) / Scale, the offset taken to pixels per axis.
[[nodiscard]] QTransform CalibrationCorrection(const PrintCalibration &calibration, int dpiX, int dpiY);

// The paper's part of the settings key: its size and orientation, since a
// turned page turns the printer's error with it.
[[nodiscard]] QString CalibrationPaperName(const QPageLayout &layout);

// The calibration kept for the printer's current printer and paper; none on
// file output, since a PDF file may be printed on any printer.
[[nodiscard]] PrintCalibration StoredCalibration(TPrinter &printer);
// Corrects the drawing on the page the printer's canvas holds now.
void ApplyCalibration(TPrinter &printer, const PrintCalibration &calibration);

// The calibration page on a printable area of `printable` printer pixels whose
// corner lies `cornerMm` from the paper's top-left corner: mm rulers along the
// top and left edges, numbered in mm from the paper's edges, a square of known
// size for the scale, and how to measure. Returns the square's side in mm.
double DrawCalibrationPage(TDC &dc, QSize printable, int dpiX, int dpiY, QPointF cornerMm, const QString &heading);

// Prints the calibration page, uncorrected, as a job of its own. False when
// the job could not be opened.
bool PrintCalibrationPage(TPrinter &printer, const QString &heading);
