#pragma once
// Print sheets: frames of print and ID photo sizes filling pages, ready to cut.
#include "arrange/SheetMakers.h"

// Asks through the print-sheet dialog and places its layout.
void MakePrintSheets(SheetContext &context);
