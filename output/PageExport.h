#pragma once
// "Save as image..." for one page or all: pictures (PNG, JPEG, TIFF, BMP) at a
// chosen resolution, one file per page, or one PDF of all pages drawn by the
// printing rule at the printer's resolution.
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <atomic>
#include <functional>
#include <memory>

class ColourConversion;
class TArrangement;
struct ArrangementOptions;

enum class ExportFormat { Png, Jpeg, Tiff, Bmp, Pdf };

// The format a file name's extension names; PNG for anything else.
[[nodiscard]] ExportFormat ExportFormatForFileName(const QString &fileName);

// The files pages first..last are written to. One page: the name itself.
// Several pages: "-01", "-02"... before the extension, with as many digits as
// the last number needs (at least two).
[[nodiscard]] QStringList ExportFileNames(const QString &fileName, int first, int last);

struct PageExportJob {
    QString FileName;      // as chosen; numbered for several pictures
    ExportFormat Format = ExportFormat::Png;
    int FirstPage = 1;
    int LastPage = 1;
    int Dpi = 150;         // pictures: dots per inch, stored in the file
    // The printer's printable area in its pixels and its resolution.
    int PageWidth = 0;
    int PageHeight = 0;
    int PrinterDpiX = 600;
    int PrinterDpiY = 600;
    // The paper of the PDF; when its printable area does not match the page
    // size above, the PDF page is the printable area without margins.
    QPageLayout PaperLayout;
    QString Title; // of the PDF
    // PDF: unchanged JPEG files go in as their own bytes. Turned off where
    // pictures must be converted before they are printed.
    bool PassJpegThrough = true;
    // PDF: the printer profile's conversion applied to the pictures (JPEG
    // files then never carried); pictures exported as image files stay sRGB.
    std::shared_ptr<const ColourConversion> Colour;
    // Set from any thread to stop the export within a page.
    const std::atomic<bool> *Cancel = nullptr;
    // PDF: applied to every page's drawing, in printer pixels (a printer's
    // measured error corrected in a job sent to its queue).
    QTransform PageTransform;
};

// The files a job writes (one PDF or one picture per page).
[[nodiscard]] QStringList ExportTargets(const PageExportJob &job);

enum class ExportResult { Done, OutOfMemory, WriteFailed, Cancelled };

// Writes the pages, each file whole or not at all (a PDF only when every page
// is in it). pageDone(page, done, total) after each page; returning false
// from it stops the export, as does the job's Cancel (whole files written
// before stay). failedFile receives the name of the file that could not be
// made, reason what went wrong when more is known than that.
ExportResult ExportPages(const TArrangement &doc, const ArrangementOptions &options, const PageExportJob &job,
                         const std::function<bool(int page, int done, int total)> &pageDone,
                         QString *failedFile = nullptr, QString *reason = nullptr);
