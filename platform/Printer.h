#pragma once
// The process-wide printer object. It wraps a QPrinter (the default printer,
// or PDF output when the machine has none) and reports the printable area in
// printer pixels and the printer's pixels per inch. Tests fix a page instead.
#include <QString>

#include <memory>

class QPrinter;

class TPrinter
{
public:
    TPrinter();
    ~TPrinter();

    QPrinter *qprinter();

    // Printable area in printer pixels (full page off) and logical pixels per inch.
    int PageWidth() const;
    int PageHeight() const;
    int LogPixelsX() const;
    int LogPixelsY() const;

    QString Title;

    // Tests: a fixed printable area and resolution instead of the real printer's.
    void setFixedPage(int width, int height, int dpiX, int dpiY);
    void clearFixedPage();
    bool hasFixedPage() const { return Fixed; }

private:
    mutable std::unique_ptr<QPrinter> Printer;
    bool Fixed = false;
    int FixedWidth = 0, FixedHeight = 0, FixedDpiX = 0, FixedDpiY = 0;
};

// The one printer of the process.
TPrinter &Printer();
