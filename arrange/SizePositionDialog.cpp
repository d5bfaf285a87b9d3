#include "arrange/SizePositionDialog.h"

#include "arrange/Geometry.h"
#include "document/FrameView.h"
#include "platform/Dialogs.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
// Edges may lie anywhere, off the page included.
constexpr double Unbounded = 1e9;

QDoubleSpinBox *coordinateEdit(QWidget *parent)
{
    auto *edit = new QDoubleSpinBox(parent);
    edit->setDecimals(2);
    edit->setSingleStep(0.1);
    edit->setRange(-Unbounded, Unbounded);
    // The linked edits follow every keystroke; the edit typed in is never rewritten.
    edit->setKeyboardTracking(true);
    edit->setMinimumWidth(100);
    return edit;
}

// Writes `value` and runs the linked recomputation exactly once, also when the
// edit already held the value (a plain write would then signal nothing).
template <typename Handler>
void writeAndRecompute(QDoubleSpinBox *edit, double value, Handler handler)
{
    {
        const QSignalBlocker blocker(edit);
        edit->setValue(value);
    }
    handler();
}
} // namespace

SizePositionDialog::SizePositionDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Change size and position"));
    auto *grid = new QGridLayout;
    struct Row {
        const char *label;
        QDoubleSpinBox **mm;
        QDoubleSpinBox **inch;
    };
    const Row rows[] = {{QT_TR_NOOP("Left:"), &LeftEd, &LeftInchEd},     {QT_TR_NOOP("Top:"), &TopEd, &TopInchEd},
                        {QT_TR_NOOP("Right:"), &RightEd, &RightInchEd},  {QT_TR_NOOP("Bottom:"), &BottomEd, &BottomInchEd},
                        {QT_TR_NOOP("Width:"), &WidthEd, &WidthInchEd}, {QT_TR_NOOP("Height:"), &HeightEd, &HeightInchEd}};
    int r = 0;
    for (const Row &row : rows) {
        *row.mm = coordinateEdit(this);
        *row.inch = coordinateEdit(this);
        grid->addWidget(new QLabel(tr(row.label), this), r, 0);
        grid->addWidget(*row.mm, r, 1);
        grid->addWidget(new QLabel(tr("mm ="), this), r, 2);
        grid->addWidget(*row.inch, r, 3);
        grid->addWidget(new QLabel(tr("inch"), this), r, 4);
        ++r;
    }

    PictureZoomEd = new QDoubleSpinBox(this);
    PictureZoomEd->setDecimals(0);
    PictureZoomEd->setRange(100, MaxViewZoom * 100);
    PictureZoomEd->setSingleStep(10);
    PictureZoomEd->setSuffix(tr(" %"));
    PictureZoomEd->setToolTip(tr("Enlarges the picture inside its frame; move it with Ctrl+drag in the page view"));
    grid->addWidget(new QLabel(tr("Picture zoom:"), this), r, 0);
    grid->addWidget(PictureZoomEd, r, 1);
    ++r;
    PageEd = new QSpinBox(this);
    PageEd->setRange(1, 1);
    grid->addWidget(new QLabel(tr("Page:"), this), r, 0);
    grid->addWidget(PageEd, r, 1);

    OkBtn = new QPushButton(tr("OK"), this);
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("&Cancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto *column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(LeftEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::leftChanged);
    connect(RightEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::rightChanged);
    connect(TopEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::topChanged);
    connect(BottomEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::bottomChanged);
    connect(WidthEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::widthChanged);
    connect(HeightEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::heightChanged);
    connect(LeftInchEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::leftInchChanged);
    connect(RightInchEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::rightInchChanged);
    connect(TopInchEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::topInchChanged);
    connect(BottomInchEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::bottomInchChanged);
    connect(WidthInchEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::widthInchChanged);
    connect(HeightInchEd, &QDoubleSpinBox::valueChanged, this, &SizePositionDialog::heightInchChanged);
    connect(OkBtn, &QPushButton::clicked, this, &SizePositionDialog::okClicked);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void SizePositionDialog::setFrameMm(double left, double top, double width, double height)
{
    writeAndRecompute(LeftEd, left, [this] { leftChanged(); });
    writeAndRecompute(TopEd, top, [this] { topChanged(); });
    writeAndRecompute(WidthEd, width, [this] { widthChanged(); });
    writeAndRecompute(HeightEd, height, [this] { heightChanged(); });
}

namespace {
// Runs one recomputation under the guard. Every value is read back from its
// edit after writing, so later steps see the two-decimal values.
template <typename Body>
void guarded(bool &guard, Body body)
{
    if (guard)
        return;
    guard = true;
    body();
    guard = false;
}

} // namespace

void SizePositionDialog::toInch(const QDoubleSpinBox *mm, QDoubleSpinBox *inch)
{
    // The inch edit the user is typing in keeps its text and cursor; it is
    // formatted when its editing ends.
    if (inch != TypedInch)
        inch->setValue(mm->value() / MmPerInch);
}

void SizePositionDialog::fromInch(const QDoubleSpinBox *inch, QDoubleSpinBox *mm)
{
    if (UpdateGuard)
        return;
    TypedInch = inch;
    mm->setValue(inch->value() * MmPerInch);
    TypedInch = nullptr;
}

void SizePositionDialog::leftChanged()
{
    guarded(UpdateGuard, [this] {
        WidthEd->setValue(RightEd->value() - LeftEd->value());
        toInch(WidthEd, WidthInchEd);
        toInch(LeftEd, LeftInchEd);
    });
}

void SizePositionDialog::rightChanged()
{
    guarded(UpdateGuard, [this] {
        WidthEd->setValue(RightEd->value() - LeftEd->value());
        toInch(WidthEd, WidthInchEd);
        toInch(RightEd, RightInchEd);
    });
}

void SizePositionDialog::topChanged()
{
    guarded(UpdateGuard, [this] {
        HeightEd->setValue(BottomEd->value() - TopEd->value());
        toInch(HeightEd, HeightInchEd);
        toInch(TopEd, TopInchEd);
    });
}

void SizePositionDialog::bottomChanged()
{
    guarded(UpdateGuard, [this] {
        HeightEd->setValue(BottomEd->value() - TopEd->value());
        toInch(HeightEd, HeightInchEd);
        toInch(BottomEd, BottomInchEd);
    });
}

void SizePositionDialog::widthChanged()
{
    guarded(UpdateGuard, [this] {
        RightEd->setValue(LeftEd->value() + WidthEd->value());
        toInch(RightEd, RightInchEd);
        toInch(WidthEd, WidthInchEd);
    });
}

void SizePositionDialog::heightChanged()
{
    guarded(UpdateGuard, [this] {
        BottomEd->setValue(TopEd->value() + HeightEd->value());
        toInch(BottomEd, BottomInchEd);
        toInch(HeightEd, HeightInchEd);
    });
}

// An inch edit only writes its millimetre twin; that edit's own change runs
// the recomputation.
void SizePositionDialog::leftInchChanged() { fromInch(LeftInchEd, LeftEd); }
void SizePositionDialog::rightInchChanged() { fromInch(RightInchEd, RightEd); }
void SizePositionDialog::topInchChanged() { fromInch(TopInchEd, TopEd); }
void SizePositionDialog::bottomInchChanged() { fromInch(BottomInchEd, BottomEd); }
void SizePositionDialog::widthInchChanged() { fromInch(WidthInchEd, WidthEd); }
void SizePositionDialog::heightInchChanged() { fromInch(HeightInchEd, HeightEd); }

void SizePositionDialog::okClicked()
{
    if (LeftEd->value() >= RightEd->value() || TopEd->value() >= BottomEd->value()) {
        Dialogs::messageBox(this,
                            tr("The coordinates are not valid! Left have to be smaller then right and top have to be "
                               "smaller than bottom!"),
                            tr("Error"), Dialogs::Icon::Error);
        return;
    }
    accept();
}
