#pragma once
// The "Print/Save as image" tab: the 1:1 preview of the current page, printing
// every page, the printer setup, and saving pages as pictures or a PDF.
#include "document/ArrangementDocument.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <memory>
#include <vector>

class PageExporter;
class PageServices;
class QCheckBox;
class QMouseEvent;
class QPaintEvent;
class QPushButton;
class QScrollArea;
class QSpinBox;
class TDC;
class TImageButton;
class TPaintBox;

struct ExportOutcome;
struct ExportRequest;
struct PrintSetup;

class PrintPage : public QWidget
{
    Q_OBJECT
public:
    PrintPage(ArrangementDocument &doc, PageServices &services, QWidget *parent = nullptr);

    ArrangementDocument &Doc;
    PageServices &Services;
    QScrollArea *ScrollBox3 = nullptr;
    TPaintBox *PaintBox3 = nullptr; // 1:1 preview
    TImageButton *GoBtn1 = nullptr;
    TImageButton *GoBtn1Down = nullptr;
    TImageButton *SetupBtn = nullptr;
    TImageButton *SetupBtnDown = nullptr;
    QPushButton *SaveBitBtn = nullptr;
    QSpinBox *BitDPIED = nullptr;
    QSpinBox *APageEd2 = nullptr;
    QCheckBox *CutMarksCheck = nullptr; // cut marks on printouts, exports and the preview
    QCheckBox *IdGuidesCheck = nullptr; // head and eye guides over ID frames, in the preview only
    QPushButton *CalibrateBtn = nullptr; // the printer's offset and scale for this paper
    QPushButton *ColourBtn = nullptr;     // printer profile and rendering intent of this printer and paper
    QCheckBox *SoftProofCheck = nullptr;  // the preview shows the pictures as the profile prints them
    bool PreviewDragging = false;
    QPoint PreviewGrab; // pointer at mouse down, preview pixels

    // Print job and printer setup.
    void GoBtn1Click();
    void SetupBtnClick();
    void GoBtn1MouseDown(QMouseEvent *event);
    void GoBtn1MouseMove(QMouseEvent *event);
    void GoBtn1MouseUp(QMouseEvent *event);
    void SetupBtnMouseDown(QMouseEvent *event);
    void SetupBtnMouseMove(QMouseEvent *event);
    void SetupBtnMouseUp(QMouseEvent *event);
    // Before printing or exporting pages: names the pictures whose files
    // changed or are gone; false when the user then cancels.
    bool AcceptChangedPictures(const std::vector<int> &pages);
    // Names the placements of the pages that reach beyond the printable area
    // before they are printed cut off; true to go on.
    bool AcceptPicturesOffPage(const std::vector<int> &pages);

    // The calibration dialog for the printer and paper; keeps what was typed.
    void CalibrateBtnClick();

    // Cut marks on or off in the arrangement (one undo step); the choice is
    // kept in the settings for new arrangements.
    void CutMarksCheckClick();
    void setCutMarks(bool on);
    // A new arrangement gets the cut marks last chosen.
    void loadSettings();
    void ColourBtnClick();
    void softProofToggled();

    // The preview.
    void APageEd2Change();
    [[nodiscard]] QSize PreviewPageSize() const;
    // Resizes the preview when its computed size differs; false means it was
    // resized and this paint ends.
    bool syncPreviewSize();
    // Draws the current page on a white sheet of the preview's size.
    void paintPreview(TDC &dc);
    void PaintBox3Paint(QPaintEvent *event);
    void ScrollBox3Resize();
    void PaintBox3MouseDown(QMouseEvent *event);
    void PaintBox3MouseMove(QMouseEvent *event);
    void PaintBox3MouseUp(QMouseEvent *event);
    void repaintPreview();
    // Saves the current page (or all) as picture files at BitDPIED dots per inch, or all pages as a PDF.
    void SaveBitBtnClick();
    // What the preview draws with: the printer's page and the soft proof.
    [[nodiscard]] PrintSetup previewSetup() const;

private:
    void layoutPage();
    void connectSignals();
    [[nodiscard]] PageGeometry paper() const;
    // The set-up of a job on the window's printer; with colour, a printer
    // profile that cannot be used is named in a message and the job goes out
    // without it.
    [[nodiscard]] PrintSetup jobSetup(bool colour);
    // "Save as image...": the file, then the pages (all, or the current one).
    [[nodiscard]] QString askExportFile();
    [[nodiscard]] bool askExportPages(ExportRequest &request);
    // Numbered files that exist already may be replaced; true to go on.
    [[nodiscard]] bool acceptReplacing(const ExportRequest &request);
    // Runs the exporter on a worker while the window keeps painting and shows
    // "Page n of N" with Cancel; the arrangement stays as it is meanwhile.
    ExportOutcome runJob(PageExporter &exporter, const PrintSetup &setup, ExportRequest request,
                         const QString &title, const QString &status);
    void reportExport(const ExportRequest &request, const ExportOutcome &outcome);
    void reportPrint(const PrintSetup &setup, const ExportRequest &request, const ExportOutcome &outcome);
};
