#pragma once
// The size and position dialog: the selected placement's edges and size in
// millimetres and inches, kept consistent while the user types. Left, right
// and width (top, bottom and height) are linked: an edge keeps the opposite
// edge and changes the size, a size keeps the left or top edge.
#include <QDialog>

class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

class SizePositionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SizePositionDialog(QWidget *parent = nullptr);

    QDoubleSpinBox *LeftEd = nullptr;
    QDoubleSpinBox *LeftInchEd = nullptr;
    QDoubleSpinBox *TopEd = nullptr;
    QDoubleSpinBox *TopInchEd = nullptr;
    QDoubleSpinBox *RightEd = nullptr;
    QDoubleSpinBox *RightInchEd = nullptr;
    QDoubleSpinBox *BottomEd = nullptr;
    QDoubleSpinBox *BottomInchEd = nullptr;
    QDoubleSpinBox *WidthEd = nullptr;
    QDoubleSpinBox *WidthInchEd = nullptr;
    QDoubleSpinBox *HeightEd = nullptr;
    QDoubleSpinBox *HeightInchEd = nullptr;
    // The zoom of the picture inside its frame, percent (100: the whole cut).
    QDoubleSpinBox *PictureZoomEd = nullptr;
    QSpinBox *PageEd = nullptr; // the page the placement lies on
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    // The dialog's own re-entrancy flag, apart from the main window's.
    bool UpdateGuard = false;

    // Writes left, top, width and height (mm) in this order, each followed by
    // its recomputation even when the edit already held the value.
    void setFrameMm(double left, double top, double width, double height);

    void leftChanged();
    void rightChanged();
    void topChanged();
    void bottomChanged();
    void widthChanged();
    void heightChanged();
    void leftInchChanged();
    void rightInchChanged();
    void topInchChanged();
    void bottomInchChanged();
    void widthInchChanged();
    void heightInchChanged();
    void okClicked();

private:
    // The inch edit whose change is being passed on to its millimetre twin.
    const QDoubleSpinBox *TypedInch = nullptr;
    void toInch(const QDoubleSpinBox *mm, QDoubleSpinBox *inch);
    void fromInch(const QDoubleSpinBox *inch, QDoubleSpinBox *mm);
};
