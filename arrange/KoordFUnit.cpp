#include "arrange/KoordFUnit.h"

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

TKoordEdForm::TKoordEdForm(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Change size and position"));
    auto *grid = new QGridLayout;
    struct Row {
        const char *label;
        QDoubleSpinBox **mm;
        QDoubleSpinBox **inch;
    };
    const Row rows[] = {{QT_TR_NOOP("Left:"), &LeftEd, &LeftEdin},     {QT_TR_NOOP("Top:"), &TopEd, &TopEdin},
                        {QT_TR_NOOP("Right:"), &RightEd, &RightEdin},  {QT_TR_NOOP("Bottom:"), &BottomEd, &BottomEdin},
                        {QT_TR_NOOP("Width:"), &BreitEd, &BreitEdin}, {QT_TR_NOOP("Height:"), &HochEd, &HochEdin}};
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

    PicZoomEd = new QDoubleSpinBox(this);
    PicZoomEd->setDecimals(0);
    PicZoomEd->setRange(100, MaxViewZoom * 100);
    PicZoomEd->setSingleStep(10);
    PicZoomEd->setSuffix(tr(" %"));
    PicZoomEd->setToolTip(tr("Enlarges the picture inside its frame; move it with Ctrl+drag in the page view"));
    grid->addWidget(new QLabel(tr("Picture zoom:"), this), r, 0);
    grid->addWidget(PicZoomEd, r, 1);
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

    connect(LeftEd, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::LeftEdChange);
    connect(RightEd, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::RightEdChange);
    connect(TopEd, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::TopEdChange);
    connect(BottomEd, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::BottomEdChange);
    connect(BreitEd, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::BreitEdChange);
    connect(HochEd, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::HochEdChange);
    connect(LeftEdin, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::LeftEdinChange);
    connect(RightEdin, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::RightEdinChange);
    connect(TopEdin, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::TopEdinChange);
    connect(BottomEdin, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::BottomEdinChange);
    connect(BreitEdin, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::BreitEdinChange);
    connect(HochEdin, &QDoubleSpinBox::valueChanged, this, &TKoordEdForm::HochEdinChange);
    connect(OkBtn, &QPushButton::clicked, this, &TKoordEdForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TKoordEdForm::setFrameMm(double left, double top, double width, double height)
{
    writeAndRecompute(LeftEd, left, [this] { LeftEdChange(); });
    writeAndRecompute(TopEd, top, [this] { TopEdChange(); });
    writeAndRecompute(BreitEd, width, [this] { BreitEdChange(); });
    writeAndRecompute(HochEd, height, [this] { HochEdChange(); });
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

void TKoordEdForm::toInch(const QDoubleSpinBox *mm, QDoubleSpinBox *inch)
{
    // The inch edit the user is typing in keeps its text and cursor; it is
    // formatted when its editing ends.
    if (inch != TypedInch)
        inch->setValue(mm->value() / MmPerInch);
}

void TKoordEdForm::fromInch(const QDoubleSpinBox *inch, QDoubleSpinBox *mm)
{
    if (UpdateGuard)
        return;
    TypedInch = inch;
    mm->setValue(inch->value() * MmPerInch);
    TypedInch = nullptr;
}

void TKoordEdForm::LeftEdChange()
{
    guarded(UpdateGuard, [this] {
        BreitEd->setValue(RightEd->value() - LeftEd->value());
        toInch(BreitEd, BreitEdin);
        toInch(LeftEd, LeftEdin);
    });
}

void TKoordEdForm::RightEdChange()
{
    guarded(UpdateGuard, [this] {
        BreitEd->setValue(RightEd->value() - LeftEd->value());
        toInch(BreitEd, BreitEdin);
        toInch(RightEd, RightEdin);
    });
}

void TKoordEdForm::TopEdChange()
{
    guarded(UpdateGuard, [this] {
        HochEd->setValue(BottomEd->value() - TopEd->value());
        toInch(HochEd, HochEdin);
        toInch(TopEd, TopEdin);
    });
}

void TKoordEdForm::BottomEdChange()
{
    guarded(UpdateGuard, [this] {
        HochEd->setValue(BottomEd->value() - TopEd->value());
        toInch(HochEd, HochEdin);
        toInch(BottomEd, BottomEdin);
    });
}

void TKoordEdForm::BreitEdChange()
{
    guarded(UpdateGuard, [this] {
        RightEd->setValue(LeftEd->value() + BreitEd->value());
        toInch(RightEd, RightEdin);
        toInch(BreitEd, BreitEdin);
    });
}

void TKoordEdForm::HochEdChange()
{
    guarded(UpdateGuard, [this] {
        BottomEd->setValue(TopEd->value() + HochEd->value());
        toInch(BottomEd, BottomEdin);
        toInch(HochEd, HochEdin);
    });
}

// An inch edit only writes its millimetre twin; that edit's own change runs
// the recomputation.
void TKoordEdForm::LeftEdinChange() { fromInch(LeftEdin, LeftEd); }
void TKoordEdForm::RightEdinChange() { fromInch(RightEdin, RightEd); }
void TKoordEdForm::TopEdinChange() { fromInch(TopEdin, TopEd); }
void TKoordEdForm::BottomEdinChange() { fromInch(BottomEdin, BottomEd); }
void TKoordEdForm::BreitEdinChange() { fromInch(BreitEdin, BreitEd); }
void TKoordEdForm::HochEdinChange() { fromInch(HochEdin, HochEd); }

void TKoordEdForm::OkBtnClick()
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
