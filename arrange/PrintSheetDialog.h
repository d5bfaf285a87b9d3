#pragma once
// The print-sheet dialog: a print size (built-in, the user's own or typed),
// then either one picture repeated over the sheet (a count or as many as fit)
// or a list of pictures, sizes and copies packed together; margin and cutting
// gap; a drawing of the first sheet. It only chooses: the caller places the
// layout it gives.
#include "arrange/PrintSizes.h"
#include "arrange/SheetLayout.h"
#include "platform/Settings.h"

#include <QDialog>

class PaperSketch;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
struct PictureEntry;

class PrintSheetDialog : public QDialog
{
    Q_OBJECT
public:
    // pictures: the collection (names and orientation); selected: the index
    // offered first; sheet: the printer's paper.
    PrintSheetDialog(const std::vector<PictureEntry> &pictures, int selected, const SheetArea &sheet,
                     const QString &presetFolder, QWidget *parent = nullptr);
    ~PrintSheetDialog() override;

    QComboBox *SizeBox = nullptr;
    QDoubleSpinBox *WidthEd = nullptr;  // mm
    QDoubleSpinBox *HeightEd = nullptr; // mm
    QLineEdit *PresetNameEd = nullptr;
    QPushButton *SavePresetBtn = nullptr;
    QLabel *PresetErrors = nullptr;
    QRadioButton *FillRadio = nullptr;
    QRadioButton *MixedRadio = nullptr;
    QComboBox *PictureBox = nullptr;
    QSpinBox *CopiesEd = nullptr;
    QCheckBox *AsManyCheck = nullptr;
    QTableWidget *ListTable = nullptr;
    QPushButton *AddBtn = nullptr;
    QPushButton *RemoveBtn = nullptr;
    QDoubleSpinBox *MarginEd = nullptr; // mm
    QDoubleSpinBox *GapEd = nullptr;    // mm
    QCheckBox *BorderlessCheck = nullptr; // only where the paper is borderless
    QDoubleSpinBox *OverspillEd = nullptr; // mm beyond the paper's edge
    QLabel *InfoLabel = nullptr;
    PaperSketch *Sketch = nullptr;
    QPushButton *PlaceBtn = nullptr;

    // The sizes offered: built-in first, then the user's.
    [[nodiscard]] const std::vector<PrintSize> &sizes() const { return Sizes; }
    // The layout for the current choices, and the collection index of each of its items.
    [[nodiscard]] SheetLayout layout() const;
    [[nodiscard]] std::vector<int> itemPictures() const;
    [[nodiscard]] SheetSpacing spacing() const;

    void sizeChosen();
    void sizeTyped();
    void keepOwnSize();
    void addToList();
    void removeFromList();
    void place();
    // The list as kept between uses (file, size, copies), and putting a kept
    // one back: rows whose picture is not in the collection are left out.
    [[nodiscard]] std::vector<PrintSheetSettings::ListRow> keptList() const;
    void restoreList(const std::vector<PrintSheetSettings::ListRow> &rows);
    // Recomputes the layout, the drawing and the summary.
    void updateLayout();

private:
    struct ListRow {
        int Picture;
        QSizeF Size; // mm, as it will be printed
        int Copies;
    };
    void appendRow(const ListRow &row);
    void loadSizes();
    void layoutDialog();
    void connectSignals();
    [[nodiscard]] QSizeF frameSize(int picture) const;

    const std::vector<PictureEntry> &Pictures;
    SheetArea Sheet;
    QString PresetFolder;
    std::vector<PrintSize> Sizes;
    std::vector<ListRow> Rows;
    bool UpdateGuard = false;
};
