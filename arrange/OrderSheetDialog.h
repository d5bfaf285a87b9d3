#pragma once
// The order sheet dialog: the order list as a table, rows entered one by one
// (order name, a picture of the collection, a print size or a typed one,
// copies) or read from a CSV file, and the margin and gap of the sheets.
#include "arrange/PrintSizes.h"
#include "arrange/SheetLayout.h"
#include "document/OrderList.h"
#include "document/PictureEntry.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

class OrderSheetDialog : public QDialog
{
    Q_OBJECT
public:
    OrderSheetDialog(const std::vector<PictureEntry> &pictures, int selected, const SheetArea &sheet,
                     std::vector<PrintSize> sizes, QWidget *parent = nullptr);

    void setLines(const OrderList &lines);
    [[nodiscard]] const OrderList &lines() const { return Lines; }
    void setSpacing(const SheetSpacing &spacing);
    [[nodiscard]] SheetSpacing spacing() const;
    // Appends the good rows of a CSV file; the bad ones are listed in a message.
    void readCsv(const QString &path);

    QLineEdit *OrderEd = nullptr;
    QComboBox *PictureBox = nullptr;
    QComboBox *SizeBox = nullptr; // editable: a typed size is taken as well
    QSpinBox *CopiesEd = nullptr;
    QPushButton *AddButton = nullptr;
    QPushButton *RemoveButton = nullptr;
    QPushButton *CsvButton = nullptr;
    QTableWidget *Table = nullptr;
    QDoubleSpinBox *MarginEd = nullptr;
    QDoubleSpinBox *GapEd = nullptr;
    QLabel *Summary = nullptr;

private:
    void addRow();
    void removeRows();
    void showLines();
    void updateSummary();

    std::vector<QString> PictureFiles;
    std::vector<PrintSize> Sizes;
    SheetArea Sheet;
    OrderList Lines;
};
