#pragma once
// The contact sheet dialog: which pictures (the collection or the picture
// files of a folder), rows x columns or a cell size, margin and gap, the
// caption lines, the page header and the order; a sketch of the first page
// and how many pages the set takes. It only chooses: the caller places it.
#include "arrange/ContactSheet.h"

#include <QDialog>

class PaperSketch;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class ContactSheetDialog : public QDialog
{
    Q_OBJECT
public:
    // collectionCount: pictures in the collection, selectedCount: those selected
    // in its list; sheet: the printer's paper.
    ContactSheetDialog(int collectionCount, const SheetArea &sheet, QWidget *parent = nullptr, int selectedCount = 0);
    ~ContactSheetDialog() override;

    QRadioButton *CollectionRadio = nullptr;
    QRadioButton *SelectedRadio = nullptr;
    QRadioButton *FolderRadio = nullptr;
    QLineEdit *FolderEd = nullptr;
    QPushButton *FolderBtn = nullptr;
    QRadioButton *GridRadio = nullptr;
    QSpinBox *ColumnsEd = nullptr;
    QSpinBox *RowsEd = nullptr;
    QRadioButton *CellRadio = nullptr;
    QDoubleSpinBox *CellWidthEd = nullptr;  // mm
    QDoubleSpinBox *CellHeightEd = nullptr; // mm
    QDoubleSpinBox *MarginEd = nullptr;     // mm
    QDoubleSpinBox *GapEd = nullptr;        // mm
    QCheckBox *NameCheck = nullptr;
    QCheckBox *DateCheck = nullptr;
    QCheckBox *SizeCheck = nullptr;
    QCheckBox *TitleCheck = nullptr;
    QLineEdit *TitleEd = nullptr;
    QCheckBox *FolderCheck = nullptr;
    QCheckBox *DatesCheck = nullptr;
    QCheckBox *PagesCheck = nullptr;
    QComboBox *OrderBox = nullptr;
    QLabel *InfoLabel = nullptr;
    PaperSketch *Sketch = nullptr;
    QPushButton *PlaceBtn = nullptr;

    [[nodiscard]] ContactSheetSettings settings() const;
    void setSettings(const ContactSheetSettings &s);
    // The folder's picture files, in name order, when the folder is the source.
    [[nodiscard]] bool fromFolder() const;
    [[nodiscard]] bool fromSelection() const;
    [[nodiscard]] QStringList folderFiles() const { return FolderFiles; }

    void chooseFolder();
    void folderTyped();
    // Recomputes the grid, the sketch and the summary.
    void updateLayout();

private:
    void layoutDialog();
    // The dialog's groups: which pictures, the cells, the caption lines, the page header.
    QGroupBox *makeSourceGroup();
    QGroupBox *makeCellsGroup();
    QGroupBox *makeCaptionGroup();
    QGroupBox *makeHeaderGroup();
    void connectSignals();
    [[nodiscard]] int pictureCount() const;

    int CollectionCount = 0;
    int SelectedCount = 0;
    SheetArea Sheet;
    QStringList FolderFiles;
};

// The dialog's choices, kept in the section [ContactSheets] (the title is not
// kept: it names one set). Absent or unreadable keys keep the defaults.
[[nodiscard]] ContactSheetSettings LoadContactSheetSettings();
void SaveContactSheetSettings(const ContactSheetSettings &settings);

// The picture files directly in a folder, in name order.
[[nodiscard]] QStringList PictureFilesIn(const QString &folder);
