#pragma once
// A page drawn without a printer, for tests of the output.
#include "document/Arrangement.h"
#include "document/Options.h"
#include "output/PageRender.h"
#include "output/PrintSetup.h"
#include "platform/DeviceContext.h"

#include <QImage>
#include <QTest>

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

// The devices a page is drawn for, as rows of a "scale" column: the arrange
// view at two zooms, the preview and printers of two resolutions.
inline void AddDeviceScaleRows()
{
    QTest::addColumn<PageScale>("scale");
    QTest::newRow("arrange view at 100 %") << ArrangeViewScale(96, 100);
    QTest::newRow("arrange view at 150 %") << ArrangeViewScale(96, 150);
    QTest::newRow("preview") << PreviewScale(96, 96);
    QTest::newRow("printer at 300 dpi") << PrintScale(300);
    QTest::newRow("printer at 600 dpi") << PrintScale(600);
}

// Page 1 drawn at `scale` on `background`, as much of it as the first
// frame's size and two pixels more.
inline QImage FirstFrameDrawn(const TArrangement &doc, const PageScale &scale, const ArrangementOptions &options,
                              QColor background = Qt::white)
{
    const DeviceFrame f = PlacementFrame(doc.Placements.at(0), scale);
    QImage img(f.W + 2, f.H + 2, QImage::Format_RGB32);
    img.fill(background);
    TDC dc(&img);
    RenderPage(dc, doc, 1, scale, options, PrintSetup());
    return img;
}
