#include "platform/Printer.h"

#include <QPrinter>

TPrinter::TPrinter() = default;
TPrinter::~TPrinter() = default;

QPrinter *TPrinter::qprinter()
{
    if (!Printer) {
        Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        Printer->setFullPage(false);
    }
    return Printer.get();
}

int TPrinter::PageWidth() const
{
    if (Fixed)
        return FixedWidth;
    return const_cast<TPrinter *>(this)->qprinter()->pageRect(QPrinter::DevicePixel).toRect().width();
}

int TPrinter::PageHeight() const
{
    if (Fixed)
        return FixedHeight;
    return const_cast<TPrinter *>(this)->qprinter()->pageRect(QPrinter::DevicePixel).toRect().height();
}

int TPrinter::LogPixelsX() const
{
    if (Fixed)
        return FixedDpiX;
    return const_cast<TPrinter *>(this)->qprinter()->logicalDpiX();
}

int TPrinter::LogPixelsY() const
{
    if (Fixed)
        return FixedDpiY;
    return const_cast<TPrinter *>(this)->qprinter()->logicalDpiY();
}

void TPrinter::setFixedPage(int width, int height, int dpiX, int dpiY)
{
    Fixed = true;
    FixedWidth = width;
    FixedHeight = height;
    FixedDpiX = dpiX;
    FixedDpiY = dpiY;
}

void TPrinter::clearFixedPage() { Fixed = false; }

TPrinter &Printer()
{
    static TPrinter printer;
    return printer;
}
