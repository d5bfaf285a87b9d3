#pragma once
// Writing pages to files: pictures (PNG, JPEG, TIFF, BMP) at a chosen
// resolution, one file per page, or one PDF of the pages drawn by the printing
// rule at the printer's resolution. What the exporters (output/Exporters.h)
// are built on.
#include "output/PrintSetup.h"

#include <QString>
#include <QStringList>
#include <QTransform>

#include <atomic>
#include <functional>
#include <vector>

class TArrangement;
struct ArrangementOptions;

enum class ExportFormat { Png, Jpeg, Tiff, Bmp, Pdf };

// The format a file name's extension names; PNG for anything else.
[[nodiscard]] ExportFormat ExportFormatForFileName(const QString &fileName);

// The files pages are written to. One page: the name itself. Several pages:
// each page's number after "-" before the extension, with as many digits as
// the largest number needs (at least two).
[[nodiscard]] QStringList ExportFileNames(const QString &fileName, const std::vector<int> &pages);
// Pages first..last in order; none when last < first.
[[nodiscard]] std::vector<int> PageSpan(int first, int last);

// What to write: which pages, where and how. The same request goes to every
// exporter; each takes what concerns it.
struct ExportRequest {
    std::vector<int> Pages; // in the order written, 1-based
    QString FileName;       // a PDF, or the picture files' name (numbered for several pages)
    ExportFormat Format = ExportFormat::Png; // of picture files
    int Dpi = 150;          // picture files: dots per inch, stored in the file
    QString Title;          // of the PDF and of a printer's job
    // After each page (`done` of `total`), on the exporting thread; false stops.
    std::function<bool(int page, int done, int total)> PageDone;
    // Set from any thread to stop within a page.
    const std::atomic<bool> *Cancel = nullptr;
};

enum class ExportResult { Done, OutOfMemory, WriteFailed, Failed, Cancelled };

struct ExportOutcome {
    ExportResult Result = ExportResult::Done;
    QString FailedFile; // the file that could not be made
    QString Reason;     // what went wrong, when more is known than that
    QStringList Sent; // the job options the printing system was given ("name=value")
};

// The files a picture export writes, one per page.
[[nodiscard]] QStringList PictureTargets(const ExportRequest &request);

// Writes the pages as picture files at the request's resolution, each whole
// or not at all; files written before a stop stay. The set-up's colour
// conversion and calibration are not applied: pictures stay sRGB.
[[nodiscard]] ExportOutcome WritePictureFiles(const TArrangement &doc, const ArrangementOptions &options,
                                              const PrintSetup &setup, const ExportRequest &request);
// Writes the pages as one PDF at the set-up's resolution on its paper (the
// printable area without margins when the paper does not match it), whole
// or not at all: unchanged JPEG files carried as they are where the set-up
// allows, its colour conversion applied, `pageTransform` (printer pixels)
// applied to every page's drawing.
[[nodiscard]] ExportOutcome WritePdf(const TArrangement &doc, const ArrangementOptions &options,
                                     const PrintSetup &setup, const ExportRequest &request, const QString &file,
                                     const QTransform &pageTransform = {});
