#pragma once
// The printer setup dialog: which printer (or a PDF file), its paper and the
// paper's orientation, in one window. The choices reach the printer on OK only.
#include <QDialog>
#include <QPageSize>
#include <QString>

#include <vector>

class QComboBox;
class QPrinter;
class QRadioButton;

class TPrinterSetupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TPrinterSetupDialog(QPrinter *printer, QWidget *parent = nullptr);

    QComboBox *PrinterCombo = nullptr; // printer names, then the PDF file entry (empty name)
    QComboBox *PaperCombo = nullptr;
    QRadioButton *PortraitRadio = nullptr;
    QRadioButton *LandscapeRadio = nullptr;

    // The chosen printer's name; empty for the PDF file.
    [[nodiscard]] QString chosenPrinter() const;
    [[nodiscard]] QPageSize chosenPaper() const;
    // Selects a paper of the list; false when the chosen printer lacks it.
    bool choosePaper(const QPageSize &paper);

    // Writes the choices into the printer.
    void Apply();

private:
    void fillPapers(const QPageSize &keep);

    QPrinter *Target;
    std::vector<QPageSize> Papers; // parallel to PaperCombo
};
