#pragma once
// Test strips: one picture in labelled steps of brightness or contrast.
#include "arrange/SheetMakers.h"

// Asks through the test strip dialog, places the row on a page of its own
// and keeps its steps for the paper preset editor.
void MakeTestStrip(SheetContext& context);
