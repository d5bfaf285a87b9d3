#include "arrange/OptionsPanel.h"

#include "arrange/Geometry.h"
#include "document/ArrangementDocument.h"
#include "platform/ColorBox.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QDoubleSpinBox *floatEdit(QWidget *parent, double min, double max, double step, double value)
{
    auto *e = new QDoubleSpinBox(parent);
    e->setDecimals(2);
    e->setRange(min, max);
    e->setSingleStep(step);
    e->setValue(value);
    return e;
}

// Writes one edit of a millimetre/inch pair from its twin; the guard keeps the
// twin's own handler from writing back. The edit clamps and rounds the value.
void updateTwin(bool &guard, const QDoubleSpinBox *from, QDoubleSpinBox *to, double (*convert)(double))
{
    if (guard)
        return;
    guard = true;
    to->setValue(convert(from->value()));
    guard = false;
}

// Shows v in a millimetre edit and its twin; a twin is only written when the
// edit changes (or when forced), so an inch value being typed stays as typed.
void showTwin(QDoubleSpinBox *mm, QDoubleSpinBox *inch, double v, bool force)
{
    if (mm->value() == v && !force)
        return;
    const QSignalBlocker a(mm), b(inch);
    mm->setValue(v);
    inch->setValue(Geometry::MmToInch(mm->value()));
}

template <class Edit, class Value> void showValue(Edit *edit, Value v)
{
    const QSignalBlocker quiet(edit);
    edit->setValue(v);
}

void showCheck(QCheckBox *box, bool on)
{
    const QSignalBlocker quiet(box);
    box->setChecked(on);
}

QLabel *label(const QString &text, QWidget *parent) { return new QLabel(text, parent); }
} // namespace

OptionsPanel::OptionsPanel(ArrangementDocument &doc, QWidget *parent)
    : QObject(parent)
    , Doc(doc)
{
    createControls(parent);
    layoutPages();
    connectSignals();
    showOptions(true); // the inch twins show the converted defaults
}

void OptionsPanel::createControls(QWidget *parent)
{
    using namespace OptionRange;
    TabSheet6 = new QWidget(parent);
    TabSheet7 = new QWidget(parent);
    TabSheet8 = new QWidget(parent);
    RandEd = floatEdit(TabSheet6, 0, MarginMax, 1, 15);
    RandEDin = floatEdit(TabSheet6, 0, 100, 0.1, 0);
    SpaceED = floatEdit(TabSheet6, 0, MarginMax, 1, 5);
    SpaceEdin = floatEdit(TabSheet6, 0, 100, 0.1, 0);
    UseGridCheck = new QCheckBox(tr("Align pics to grid"), TabSheet6);
    ShowGridCheck = new QCheckBox(tr("Show grid"), TabSheet6);
    GridEd = floatEdit(TabSheet6, GridMin, GridMax, 1, 5);
    GridEDin = floatEdit(TabSheet6, 0.01, 100, 0.1, 0.01);
    DBreiteED = floatEdit(TabSheet6, 0, SizeMax, 1, 130);
    DBreiteEdin = floatEdit(TabSheet6, 0, 1000, 0.1, 0);
    DHocheED = floatEdit(TabSheet6, 0, SizeMax, 1, 100);
    DHocheEdin = floatEdit(TabSheet6, 0, 1000, 0.1, 0);
    TurnCameraCheck = new QCheckBox(tr("Turn pictures as the camera recorded"), TabSheet6);
    TurnCameraCheck->setChecked(Doc.turnAsCamera());
    PictureMemoryEd = new QSpinBox(TabSheet6);
    PictureMemoryEd->setRange(64, 65536);
    PictureMemoryEd->setSuffix(QStringLiteral(" MB"));
    PictureMemoryEd->setValue(int(PictureStore::DefaultBudget() >> 20));
    ShowFNames = new QCheckBox(tr("If there is no text then show file name"), TabSheet7);
    TranspCheck = new QCheckBox(tr("Transparent font background"), TabSheet7);
    BkColBox = new TColorBox(TabSheet7);
    FontBtn = new QPushButton(tr("Choose font"), TabSheet7);
    SverhCheck = new QCheckBox(tr("Maintain aspect ratio"), TabSheet8);
    CutDefault = new QCheckBox(tr("Fit in/cut pictures as default"), TabSheet8);
    EnhanceQualCheck = new QCheckBox(tr("Enlarge pictures the reach at least a min. quality"), TabSheet8);
    MinQualEd = new QSpinBox(TabSheet8);
    MinQualEd->setRange(MinQualMin, MinQualMax);
    MinQualEd->setKeyboardTracking(true);

    for (QDoubleSpinBox *mm : {RandEd, SpaceED, GridEd, DBreiteED, DHocheED})
        mm->setToolTip(tr("In millimetres"));
    for (QDoubleSpinBox *inch : {RandEDin, SpaceEdin, GridEDin, DBreiteEdin, DHocheEdin})
        inch->setToolTip(tr("In inches"));
    BkColBox->setToolTip(tr("Colour behind the captions"));
    FontBtn->setToolTip(tr("Chooses the font of the captions"));
    MinQualEd->setToolTip(tr("Dots per inch a picture needs at least in its frame"));
}

void OptionsPanel::layoutPages()
{
    auto twin = [](QGridLayout *g, int row, const QString &text, QWidget *mm, QWidget *inch, QWidget *parent) {
        g->addWidget(label(text, parent), row, 0);
        g->addWidget(mm, row, 1);
        g->addWidget(label(tr("mm ="), parent), row, 2);
        g->addWidget(inch, row, 3);
        g->addWidget(label(tr("inch"), parent), row, 4);
    };
    auto *autoBox = new QGroupBox(tr("Options for automatic arrage"), TabSheet6);
    auto *autoGrid = new QGridLayout(autoBox);
    twin(autoGrid, 0, tr("Page margin:"), RandEd, RandEDin, autoBox);
    twin(autoGrid, 1, tr("Distance:"), SpaceED, SpaceEdin, autoBox);
    auto *gridBox = new QGroupBox(tr("Align to grid"), TabSheet6);
    auto *gridGrid = new QGridLayout(gridBox);
    gridGrid->addWidget(UseGridCheck, 0, 0, 1, 5);
    gridGrid->addWidget(ShowGridCheck, 1, 0, 1, 5);
    twin(gridGrid, 2, tr("Grid width:"), GridEd, GridEDin, gridBox);
    auto *sizeBox = new QGroupBox(tr("Default size"), TabSheet6);
    auto *sizeGrid = new QGridLayout(sizeBox);
    twin(sizeGrid, 0, tr("Width:"), DBreiteED, DBreiteEdin, sizeBox);
    twin(sizeGrid, 1, tr("Height:"), DHocheED, DHocheEdin, sizeBox);
    auto *options = new QVBoxLayout(TabSheet6);
    options->addWidget(autoBox);
    options->addWidget(gridBox);
    options->addWidget(sizeBox);
    options->addWidget(TurnCameraCheck);
    auto *memory = new QHBoxLayout;
    memory->addWidget(label(tr("Memory for full pictures:"), TabSheet6));
    memory->addWidget(PictureMemoryEd);
    memory->addStretch(1);
    options->addLayout(memory);
    options->addStretch(1);

    auto *font = new QVBoxLayout(TabSheet7);
    font->addWidget(ShowFNames);
    font->addWidget(TranspCheck);
    font->addWidget(label(tr("Font background:"), TabSheet7));
    font->addWidget(BkColBox);
    font->addWidget(FontBtn);
    font->addStretch(1);

    auto *quality = new QHBoxLayout;
    quality->addWidget(label(tr("Min. quality:"), TabSheet8));
    quality->addWidget(MinQualEd);
    quality->addWidget(label(tr("DPI"), TabSheet8));
    quality->addStretch(1);
    auto *picture = new QVBoxLayout(TabSheet8);
    picture->addWidget(SverhCheck);
    picture->addWidget(CutDefault);
    picture->addWidget(EnhanceQualCheck);
    picture->addLayout(quality);
    picture->addStretch(1);
}

void OptionsPanel::connectSignals()
{
    connect(RandEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::RandEdChange);
    connect(RandEDin, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::RandEDinChange);
    connect(SpaceED, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::SpaceEDChange);
    connect(SpaceEdin, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::SpaceEdinChange);
    connect(GridEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::GridEdChange);
    connect(GridEDin, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::GridEDinChange);
    connect(DBreiteED, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::DBreiteEDChange);
    connect(DBreiteEdin, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::DBreiteEdinChange);
    connect(DHocheED, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::DHocheEDChange);
    connect(DHocheEdin, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::DHocheEdinChange);
    auto edited = [this](auto *control, auto signal, OptionKey key) {
        connect(control, signal, this, [this, key] { optionEdited(int(key)); });
    };
    edited(ShowFNames, &QCheckBox::toggled, OptionKey::ShowFNames);
    edited(SverhCheck, &QCheckBox::toggled, OptionKey::Sverh);
    edited(TranspCheck, &QCheckBox::toggled, OptionKey::Transp);
    edited(BkColBox, &QComboBox::currentIndexChanged, OptionKey::BkColor);
    edited(CutDefault, &QCheckBox::toggled, OptionKey::CutDefault);
    edited(EnhanceQualCheck, &QCheckBox::toggled, OptionKey::EnhanceQual);
    edited(UseGridCheck, &QCheckBox::toggled, OptionKey::UseGrid);
    edited(ShowGridCheck, &QCheckBox::toggled, OptionKey::ShowGrid);
    edited(MinQualEd, &QSpinBox::valueChanged, OptionKey::MinQual);
    connect(FontBtn, &QPushButton::clicked, this, &OptionsPanel::FontBtnClick);
    connect(TurnCameraCheck, &QCheckBox::toggled, this, [this](bool on) { Doc.setTurnAsCamera(on); });
    connect(PictureMemoryEd, &QSpinBox::valueChanged, this,
            [this](int mb) { Doc.setPictureMemory(std::uint64_t(mb) << 20); });
    Doc.setPictureMemory(std::uint64_t(PictureMemoryEd->value()) << 20);
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        if (what & ArrangementDocument::Change::Options)
            showOptions();
    });
}

ArrangementOptions OptionsPanel::fromEdits() const
{
    ArrangementOptions o = Doc.options();
    o.ShowFNames = ShowFNames->isChecked();
    o.Sverh = SverhCheck->isChecked();
    o.Rand = RandEd->value();
    o.Space = SpaceED->value();
    o.Transp = TranspCheck->isChecked();
    o.BkColor = BkColBox->Selected();
    o.CutDefault = CutDefault->isChecked();
    o.EnhanceQual = EnhanceQualCheck->isChecked();
    o.UseGrid = UseGridCheck->isChecked();
    o.ShowGrid = ShowGridCheck->isChecked();
    o.MinQual = MinQualEd->value();
    o.DBreite = DBreiteED->value();
    o.DHoche = DHocheED->value();
    o.Grid = GridEd->value();
    return o;
}

void OptionsPanel::optionEdited(int key)
{
    Doc.setOptions(fromEdits(), OptionUndoText(OptionKey(key)), OptionMergeKey(OptionKey(key)));
}

void OptionsPanel::showOptions(bool twins)
{
    const ArrangementOptions &o = Doc.options();
    showCheck(ShowFNames, o.ShowFNames);
    showCheck(SverhCheck, o.Sverh);
    showTwin(RandEd, RandEDin, o.Rand, twins);
    showTwin(SpaceED, SpaceEdin, o.Space, twins);
    showCheck(TranspCheck, o.Transp);
    {
        const QSignalBlocker quiet(BkColBox);
        BkColBox->setSelected(o.BkColor);
    }
    showCheck(CutDefault, o.CutDefault);
    showCheck(EnhanceQualCheck, o.EnhanceQual);
    showCheck(UseGridCheck, o.UseGrid);
    showCheck(ShowGridCheck, o.ShowGrid);
    showValue(MinQualEd, int(o.MinQual));
    showTwin(DBreiteED, DBreiteEdin, o.DBreite, twins);
    showTwin(DHocheED, DHocheEdin, o.DHoche, twins);
    showTwin(GridEd, GridEDin, o.Grid, twins);
}

void OptionsPanel::RandEdChange()
{
    updateTwin(UpdateGuard, RandEd, RandEDin, Geometry::MmToInch);
    optionEdited(int(OptionKey::Rand));
}
void OptionsPanel::RandEDinChange() { updateTwin(UpdateGuard, RandEDin, RandEd, Geometry::InchToMm); }
void OptionsPanel::SpaceEDChange()
{
    updateTwin(UpdateGuard, SpaceED, SpaceEdin, Geometry::MmToInch);
    optionEdited(int(OptionKey::Space));
}
void OptionsPanel::SpaceEdinChange() { updateTwin(UpdateGuard, SpaceEdin, SpaceED, Geometry::InchToMm); }
void OptionsPanel::GridEdChange()
{
    updateTwin(UpdateGuard, GridEd, GridEDin, Geometry::MmToInch);
    optionEdited(int(OptionKey::Grid));
}
void OptionsPanel::GridEDinChange() { updateTwin(UpdateGuard, GridEDin, GridEd, Geometry::InchToMm); }
void OptionsPanel::DBreiteEDChange()
{
    updateTwin(UpdateGuard, DBreiteED, DBreiteEdin, Geometry::MmToInch);
    optionEdited(int(OptionKey::DBreite));
}
void OptionsPanel::DBreiteEdinChange() { updateTwin(UpdateGuard, DBreiteEdin, DBreiteED, Geometry::InchToMm); }
void OptionsPanel::DHocheEDChange()
{
    updateTwin(UpdateGuard, DHocheED, DHocheEdin, Geometry::MmToInch);
    optionEdited(int(OptionKey::DHoche));
}
void OptionsPanel::DHocheEdinChange() { updateTwin(UpdateGuard, DHocheEdin, DHocheED, Geometry::InchToMm); }

void OptionsPanel::FontBtnClick()
{
    const TCaptionFont &caption = Doc.options().Font;
    QFont font = QFontFromCaption(caption);
    if (caption.Size > 0)
        font.setPointSize(caption.Size);
    QColor color = ColorFromWindows(caption.Color);
    if (!Dialogs::fontDialog(FontBtn->window(), &font, &color))
        return;
    ArrangementOptions o = Doc.options();
    o.Font = CaptionFromFont(font, color, caption);
    Doc.setOptions(o, tr("Caption font"));
}

void OptionsPanel::loadSettings(const MainFormSettings &m)
{
    ArrangementOptions o = Doc.options();
    o.Space = m.SpaceED;
    o.Rand = m.RandEd;
    o.UseGrid = m.UseGridCheck;
    o.Grid = m.GridEd;
    o.ShowGrid = m.ShowGridCheck;
    o.MinQual = m.MinQualEd;
    o.EnhanceQual = m.EnhanceQualCheck;
    Doc.resetOptions(o);
    TurnCameraCheck->setChecked(m.TurnCameraCheck);
    if (m.PictureMemoryEd > 0)
        PictureMemoryEd->setValue(m.PictureMemoryEd);
}

void OptionsPanel::saveSettings(MainFormSettings &m) const
{
    const ArrangementOptions &o = Doc.options();
    m.SpaceED = o.Space;
    m.RandEd = o.Rand;
    m.UseGridCheck = o.UseGrid;
    m.GridEd = o.Grid;
    m.ShowGridCheck = o.ShowGrid;
    m.MinQualEd = int(o.MinQual);
    m.EnhanceQualCheck = o.EnhanceQual;
    m.TurnCameraCheck = TurnCameraCheck->isChecked();
    // The default follows the machine until the user picks another size.
    if (PictureMemoryEd->value() != int(PictureStore::DefaultBudget() >> 20))
        m.PictureMemoryEd = PictureMemoryEd->value();
}
