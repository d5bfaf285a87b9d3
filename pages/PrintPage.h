#pragma once
// The "Print/Save as image" tab: the 1:1 preview of the current page, printing
// every page, the printer setup, and saving pages as pictures or a PDF.
#include "document/ArrangementDocument.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

#include <memory>

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

class ColourConversion;
class TPrinter;

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
    bool AcceptChangedPictures(int firstPage, int lastPage);
    // Names the placements of pages first..last that reach beyond the printable
    // area before they are printed cut off; true to go on.
    bool AcceptPicturesOffPage(int firstPage, int lastPage);

    // The calibration dialog for the printer and paper; keeps what was typed.
    void CalibrateBtnClick();

    // Cut marks on or off for printing, export and the preview; kept in the settings.
    void CutMarksCheckClick();
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

private:
    void layoutPage();
    void connectSignals();
    [[nodiscard]] PageGeometry paper() const;
    // The printer profile's conversion for a job; a profile that cannot be
    // used is named in a message and the job goes out without it.
    [[nodiscard]] std::shared_ptr<const ColourConversion> printColour(TPrinter &printer);
};
