#pragma once
// The single-picture print dialog and the printing it starts: one picture on a
// sheet, the whole printable area or percentages of it, centred or not.
#include "output/PrintGeometry.h"
#include "picture/Dib.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QSpinBox;
class QPaintEvent;
class TDC;
class TPaintBox;
class TPrinter;

class SinglePrintDialog : public QDialog
{
    Q_OBJECT
public:
    // Holds a copy of the caller's picture; the pixels stay the caller's. The
    // preview shows the printer's page.
    SinglePrintDialog(const DIB &dib, TPrinter &printer, QWidget *parent = nullptr);

    DIB Dib;
    TPrinter &Printer;
    bool Coupling = false; // set while one percentage updates the other

    QLabel *PreviewLabel = nullptr; // "Preview:"
    TPaintBox *PreviewBox = nullptr;
    QPushButton *PrintSetupBtn = nullptr;
    QGroupBox *SizeGroup = nullptr; // "Print size"
    QRadioButton *FullPageRadio = nullptr;
    QRadioButton *OwnSizeRadio = nullptr;
    QSpinBox *WidthEd = nullptr; // width in per cent
    QSpinBox *HeightEd = nullptr; // height in per cent
    QGroupBox *OptionsGroup = nullptr; // "Print options"
    QCheckBox *KeepAspectCheck = nullptr;
    QCheckBox *CentredCheck = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    // The dialog's choices as one value, and back (without coupling).
    PrintSizeChoice choice() const;
    void setChoice(const PrintSizeChoice &c);

    void showChoice();
    void previewPaint();
    // Draws the page preview into a box of the given size.
    void paintPreview(TDC &dc, QSize box);
    void widthChanged();
    void heightChanged();
    void sizeChoiceChanged();
    void printerSetup();
    // "Use page fully", "Maintain aspect ratio", "Centered output".
    void optionChanged();

protected:
    void showEvent(QShowEvent *event) override;
};

// Draws the picture on a printable area of `page` device pixels as the choice
// says (no halftoning, the picture's own palette).
void DrawSinglePicture(TDC &dc, const DIB &dib, QSize page, const PrintSizeChoice &choice);

// Runs the dialog for the picture and, when it closes with OK, prints it at
// once on the printer under the job title. Without a printer the job goes to
// a new PDF file, never over an earlier one, and `showStatus` is told where.
// Returns true when printed.
bool PrintSinglePicture(QWidget *owner, TPrinter &printer, const DIB &dib, const QString &title,
                        const std::function<void(const QString &)> &showStatus = {});
