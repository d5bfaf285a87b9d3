#pragma once
// A page drawn without a printer, for tests of the output.
#include "output/PrintSetup.h"

// A page of `pageWidth` x `pageHeight` printer pixels at the resolution given
// and nothing else: no paper (a PDF gets the page without margins), no
// colour conversion, no calibration.
inline PrintSetup BarePageSetup(int pageWidth, int pageHeight, int dpiX, int dpiY)
{
    PrintSetup s;
    s.PageWidth = pageWidth;
    s.PageHeight = pageHeight;
    s.DpiX = dpiX;
    s.DpiY = dpiY;
    return s;
}
