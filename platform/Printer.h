#pragma once
// A printer object. It wraps a QPrinter (the default printer, or PDF output
// when the machine has none) and reports the printable area in printer pixels
// and the printer's pixels per inch. Tests fix a page instead. The window owns
// one and hands it to its pages; a job, the command line and a test make their
// own. It is used only on the thread that made it.
//
// A print job: set Title, BeginDoc(), draw the first page on Canvas(),
// NewPage() before every further page, EndDoc().
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QThread;
class TDC;

class TPrinter
{
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter &) = delete;
    TPrinter &operator=(const TPrinter &) = delete;

    QPrinter *qprinter();

    // Printable area in printer pixels (full page off) and logical pixels per inch.
    int PageWidth() const;
    int PageHeight() const;
    int LogPixelsX() const;
    int LogPixelsY() const;

    // Job title, shown in the print queue (the PDF's title on file output).
    QString Title;

    // Opens the document and its first page. False when the output cannot be
    // opened (no printer, an unwritable file); then no job is running.
    bool BeginDoc();
    // What BeginDoc does before it opens the output: the title, a fixed page,
    // and on file output the file (named after the title when none was set).
    // A job that writes its file itself calls it instead of BeginDoc.
    void PrepareJob();
    // Ends the current page and opens the next one; false when the job is not
    // running or the printer refused the page.
    bool NewPage();
    // Finishes the document (sends it to the printer or closes the file).
    void EndDoc();
    // Drops the job; what was printed so far is discarded where the device allows it.
    void Abort();
    [[nodiscard]] bool Printing() const;
    // The current page's device context (printer pixels, origin at the printable
    // area's top-left corner). Valid until NewPage(), EndDoc() or Abort().
    // Only while Printing().
    TDC &Canvas();
    // Page being drawn, 1-based; 0 when no job is running.
    [[nodiscard]] int PageNumber() const { return Page; }

    // File output: the file the last job wrote to, and whether BeginDoc chose it
    // because none was set (a PDF named after the title in the documents folder).
    [[nodiscard]] QString OutputFileName() const;
    [[nodiscard]] bool ChoseOutputFile() const { return ChoseFile; }
    // True when jobs go to a PDF file rather than a printer.
    [[nodiscard]] bool PrintsToFile() const;
    // File output: the next job goes to a new file named after its title in the
    // folder of the last one (the documents folder at first), so a job that
    // asked for no file replaces nothing.
    void UseNewOutputFile() { NewFile = true; }

    // Margins as small as the paper allows: none where the printer prints
    // borderless. The printable area grows to match.
    void UseLeastMargins();

    // Tests: a fixed printable area and resolution instead of the real printer's.
    // A job on the QPrinter (PDF) then gets a page of that size at dpiX.
    void setFixedPage(int width, int height, int dpiX, int dpiY);
    void clearFixedPage();
    bool hasFixedPage() const { return Fixed; }

    // Tests: jobs draw each page onto a white image of the printable area
    // (Format_RGB32, printer pixels) instead of the printer. Turning it off
    // drops the collected pages. Pages go to `pages` when given, a list that
    // the printer of a job made elsewhere may share.
    using PageImages = std::shared_ptr<std::vector<QImage>>;
    void setImageOutput(bool on, PageImages pages = {});
    [[nodiscard]] bool imageOutput() const { return ToImages; }
    // Pages of the jobs since image output was switched on, finished pages only.
    [[nodiscard]] const std::vector<QImage> &pageImages() const { return *Images; }
    [[nodiscard]] const PageImages &pageImageList() const { return Images; }

private:
    // Debug builds stop where the printer is used off the thread that made it.
    void onOwnThread() const;
    void applyFixedPage();
    bool beginImagePage();
    void endImagePage();
    void makeCanvas();
    void finish();

    mutable std::unique_ptr<QPrinter> Printer;
    const QThread *Owner = nullptr;
    bool Fixed = false;
    int FixedWidth = 0, FixedHeight = 0, FixedDpiX = 0, FixedDpiY = 0;

    std::unique_ptr<QPainter> JobPainter;
    std::unique_ptr<TDC> JobCanvas;
    int Page = 0;
    bool ChoseFile = false;
    bool NewFile = false;
    bool ToImages = false;
    QImage CurrentImage;
    PageImages Images = std::make_shared<std::vector<QImage>>();
};

// The job options Qt's CUPS engine holds for a printer (name, value, name,
// value...), and setting them; none for a printer that is not a CUPS one.
[[nodiscard]] QStringList CupsEngineOptions(QPrinter &printer);
void SetCupsEngineOptions(QPrinter &printer, const QStringList &options);

// Where a job on PDF output goes when no file was chosen: "<title>.pdf" in
// `folder`, made unique with " (2)", " (3)", ... so no existing file is replaced.
// Characters that cannot appear in a file name are replaced by '_'.
[[nodiscard]] QString DefaultOutputFile(const QString &folder, const QString &title);
