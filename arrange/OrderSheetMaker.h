#pragma once
#include "arrange/SheetMakers.h"

// Asks for an order list and places its prints on the fewest sheets.
void MakeOrderSheets(SheetContext &context);
