#pragma once
// The "Print/Save as image" tab: the 1:1 preview of the current page, printing
// every page, the printer setup, and saving pages as pictures or a PDF.
#include "document/ArrangementDocument.h"
#include "output/PaperPreset.h"
#include "platform/Settings.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <memory>
#include <vector>

class PageExporter;
class PageServices;
class QCheckBox;
class QComboBox;
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

    // The 1:1 preview: a scroll area whose widget shows the page.
    [[nodiscard]] QScrollArea &preview() const { return *PreviewArea; }
    // The page shown, as typed into its edit and as shown.
    void showPage(int page);
    [[nodiscard]] int shownPage() const;
    // Dots per inch of pages saved as pictures.
    void setImageDpi(int dpi);
    [[nodiscard]] bool cutMarksShown() const;

    // Print job and printer setup.
    void printPages();
    void printerSetup();
    // Before printing or exporting pages: names the pictures whose files
    // changed or are gone; false when the user then cancels.
    bool AcceptChangedPictures(const std::vector<int> &pages);
    // Names the placements of the pages that reach beyond the printable area
    // before they are printed cut off; true to go on.
    bool AcceptPicturesOffPage(const std::vector<int> &pages);

    // The calibration dialog for the chosen paper preset, else for the printer
    // and paper; keeps what was typed.
    void calibratePrinter();

    // Cut marks on or off in the arrangement (one undo step); the choice is
    // kept in the settings for new arrangements.
    void setCutMarks(bool on);
    // A new arrangement gets the cut marks last chosen; the paper preset last
    // chosen is put on the printer (earlier versions' settings become presets first).
    void loadSettings(const MainFormSettings& m = MainFormSettings());
    void saveSettings(MainFormSettings& m) const;

    // Paper presets: the one chosen (nullptr: none, the printer's paper and
    // the settings kept for it), choosing one by name ("" for none), and the
    // editor for the chosen one or, with none chosen, for a new one made
    // from the printer's paper.
    [[nodiscard]] const PaperPreset* chosenPreset() const;
    void choosePreset(const QString& name);
    void editPreset();
    void removePreset();
    // The log of the last jobs.
    void showJobLog();
    // Colour management of the chosen paper preset, else of the printer and paper.
    void chooseColourSettings();

    // The preview.
    [[nodiscard]] QSize previewPageSize() const;
    // Resizes the preview when its computed size differs; false means it was
    // resized and this paint ends.
    bool syncPreviewSize();
    // Draws the current page on a white sheet of the preview's size.
    void paintPreview(TDC &dc);
    void repaintPreview();
    // The preview is dragged with the mouse to scroll it.
    void previewMousePress(QMouseEvent *event);
    void previewMouseMove(QMouseEvent *event);
    void previewMouseRelease(QMouseEvent *event);
    [[nodiscard]] bool previewDragging() const { return PreviewDragging; }
    // Saves the current page (or all) as picture files at the chosen dots per inch, or all pages as a PDF.
    void saveAsImage();
    // What the preview draws with: the printer's page and the soft proof.
    [[nodiscard]] PrintSetup previewSetup() const;
    // The arrangement's name, today and the page count, for page texts.
    [[nodiscard]] PageStamp pageStamp() const;

private:
    void layoutPage();
    void connectSignals();
    void cutMarksToggled();
    void softProofToggled();
    void currentPageChanged();
    void previewPaint(QPaintEvent *event);
    void previewAreaResized();
    void reloadPresets(const QString& choose);
    void presetChosen();
    // Writes the preset's file and chooses it.
    void keepPreset(const PaperPreset& preset);
    [[nodiscard]] PaperPreset presetFromPrinter() const;
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

    ArrangementDocument &Doc;
    PageServices &Services;
    QScrollArea *PreviewArea = nullptr;
    TPaintBox *PreviewBox = nullptr; // 1:1 preview
    TImageButton *PrintBtn = nullptr;
    TImageButton *PrintBtnDown = nullptr;
    TImageButton *SetupBtn = nullptr;
    TImageButton *SetupBtnDown = nullptr;
    QPushButton *SaveImageBtn = nullptr;
    QSpinBox *ImageDpiEd = nullptr;
    QSpinBox *CurrentPageEd = nullptr;
    QCheckBox *CutMarksCheck = nullptr; // cut marks on printouts, exports and the preview
    QCheckBox *IdGuidesCheck = nullptr; // head and eye guides over ID frames, in the preview only
    QPushButton *CalibrateBtn = nullptr; // the printer's offset and scale for this paper
    QPushButton *ColourBtn = nullptr;     // printer profile and rendering intent of this printer and paper
    QCheckBox *SoftProofCheck = nullptr;  // the preview shows the pictures as the profile prints them
    QComboBox* PresetBox = nullptr; // "(none)" and the paper presets by name
    QPushButton* PresetEditBtn = nullptr;
    QPushButton* PresetRemoveBtn = nullptr;
    QPushButton* JobLogBtn = nullptr;
    PaperPresets Presets;
    bool PreviewDragging = false;
    QPoint PreviewGrab; // pointer at mouse down, preview pixels
};
