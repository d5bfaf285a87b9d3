#pragma once
// Contact sheets: every chosen picture as a small captioned cell.
#include "arrange/SheetMakers.h"

// Asks through the contact sheet dialog, reads a folder's files when it is
// the source, and places the cells.
void MakeContactSheet(SheetContext &context);
