#include "arrange/OptionsPanel.h"
#include "arrange/CaptionTextsDialog.h"

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
    OptionsTab = new QWidget(parent);
    FontTab = new QWidget(parent);
    PictureTab = new QWidget(parent);
    MarginEd = floatEdit(OptionsTab, 0, MarginMax, 1, 15);
    MarginInchEd = floatEdit(OptionsTab, 0, 100, 0.1, 0);
    SpacingEd = floatEdit(OptionsTab, 0, MarginMax, 1, 5);
    SpacingInchEd = floatEdit(OptionsTab, 0, 100, 0.1, 0);
    UseGridCheck = new QCheckBox(tr("Align pics to grid"), OptionsTab);
    ShowGridCheck = new QCheckBox(tr("Show grid"), OptionsTab);
    GridEd = floatEdit(OptionsTab, GridMin, GridMax, 1, 5);
    GridInchEd = floatEdit(OptionsTab, 0.01, 100, 0.1, 0.01);
    DefaultWidthEd = floatEdit(OptionsTab, 0, SizeMax, 1, 130);
    DefaultWidthInchEd = floatEdit(OptionsTab, 0, 1000, 0.1, 0);
    DefaultHeightEd = floatEdit(OptionsTab, 0, SizeMax, 1, 100);
    DefaultHeightInchEd = floatEdit(OptionsTab, 0, 1000, 0.1, 0);
    TurnCameraCheck = new QCheckBox(tr("Turn pictures as the camera recorded"), OptionsTab);
    TurnCameraCheck->setChecked(Doc.turnAsCamera());
    PictureMemoryEd = new QSpinBox(OptionsTab);
    PictureMemoryEd->setRange(64, 65536);
    PictureMemoryEd->setSuffix(QStringLiteral(" MB"));
    PictureMemoryEd->setValue(int(PictureStore::DefaultBudget() >> 20));
    ShowFNames = new QCheckBox(tr("If there is no text then show file name"), FontTab);
    TransparentCheck = new QCheckBox(tr("Transparent font background"), FontTab);
    BackgroundBox = new TColorBox(FontTab);
    FontBtn = new QPushButton(tr("Choose font"), FontTab);
    CaptionTextsBtn = new QPushButton(tr("Captions and page texts..."), FontTab);
    KeepAspectCheck = new QCheckBox(tr("Maintain aspect ratio"), PictureTab);
    CutDefault = new QCheckBox(tr("Fit in/cut pictures as default"), PictureTab);
    EnhanceQualCheck = new QCheckBox(tr("Enlarge pictures the reach at least a min. quality"), PictureTab);
    MinQualEd = new QSpinBox(PictureTab);
    MinQualEd->setRange(MinQualMin, MinQualMax);
    MinQualEd->setKeyboardTracking(true);

    for (QDoubleSpinBox *mm : {MarginEd, SpacingEd, GridEd, DefaultWidthEd, DefaultHeightEd})
        mm->setToolTip(tr("In millimetres"));
    for (QDoubleSpinBox *inch : {MarginInchEd, SpacingInchEd, GridInchEd, DefaultWidthInchEd, DefaultHeightInchEd})
        inch->setToolTip(tr("In inches"));
    BackgroundBox->setToolTip(tr("Colour behind the captions"));
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
    auto *autoBox = new QGroupBox(tr("Options for automatic arrage"), OptionsTab);
    auto *autoGrid = new QGridLayout(autoBox);
    twin(autoGrid, 0, tr("Page margin:"), MarginEd, MarginInchEd, autoBox);
    twin(autoGrid, 1, tr("Distance:"), SpacingEd, SpacingInchEd, autoBox);
    auto *gridBox = new QGroupBox(tr("Align to grid"), OptionsTab);
    auto *gridGrid = new QGridLayout(gridBox);
    gridGrid->addWidget(UseGridCheck, 0, 0, 1, 5);
    gridGrid->addWidget(ShowGridCheck, 1, 0, 1, 5);
    twin(gridGrid, 2, tr("Grid width:"), GridEd, GridInchEd, gridBox);
    auto *sizeBox = new QGroupBox(tr("Default size"), OptionsTab);
    auto *sizeGrid = new QGridLayout(sizeBox);
    twin(sizeGrid, 0, tr("Width:"), DefaultWidthEd, DefaultWidthInchEd, sizeBox);
    twin(sizeGrid, 1, tr("Height:"), DefaultHeightEd, DefaultHeightInchEd, sizeBox);
    auto *options = new QVBoxLayout(OptionsTab);
    options->addWidget(autoBox);
    options->addWidget(gridBox);
    options->addWidget(sizeBox);
    options->addWidget(TurnCameraCheck);
    auto *memory = new QHBoxLayout;
    memory->addWidget(label(tr("Memory for full pictures:"), OptionsTab));
    memory->addWidget(PictureMemoryEd);
    memory->addStretch(1);
    options->addLayout(memory);
    options->addStretch(1);

    auto *font = new QVBoxLayout(FontTab);
    font->addWidget(ShowFNames);
    font->addWidget(TransparentCheck);
    font->addWidget(label(tr("Font background:"), FontTab));
    font->addWidget(BackgroundBox);
    font->addWidget(FontBtn);
    font->addWidget(CaptionTextsBtn);
    font->addStretch(1);

    auto *quality = new QHBoxLayout;
    quality->addWidget(label(tr("Min. quality:"), PictureTab));
    quality->addWidget(MinQualEd);
    quality->addWidget(label(tr("DPI"), PictureTab));
    quality->addStretch(1);
    auto *picture = new QVBoxLayout(PictureTab);
    picture->addWidget(KeepAspectCheck);
    picture->addWidget(CutDefault);
    picture->addWidget(EnhanceQualCheck);
    picture->addLayout(quality);
    picture->addStretch(1);
}

void OptionsPanel::connectSignals()
{
    connect(MarginEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::marginChanged);
    connect(MarginInchEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::marginInchChanged);
    connect(SpacingEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::spacingChanged);
    connect(SpacingInchEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::spacingInchChanged);
    connect(GridEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::gridChanged);
    connect(GridInchEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::gridInchChanged);
    connect(DefaultWidthEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::defaultWidthChanged);
    connect(DefaultWidthInchEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::defaultWidthInchChanged);
    connect(DefaultHeightEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::defaultHeightChanged);
    connect(DefaultHeightInchEd, &QDoubleSpinBox::valueChanged, this, &OptionsPanel::defaultHeightInchChanged);
    auto edited = [this](auto *control, auto signal, OptionKey key) {
        connect(control, signal, this, [this, key] { optionEdited(int(key)); });
    };
    edited(ShowFNames, &QCheckBox::toggled, OptionKey::ShowFNames);
    edited(KeepAspectCheck, &QCheckBox::toggled, OptionKey::Sverh);
    edited(TransparentCheck, &QCheckBox::toggled, OptionKey::Transp);
    edited(BackgroundBox, &QComboBox::currentIndexChanged, OptionKey::BkColor);
    edited(CutDefault, &QCheckBox::toggled, OptionKey::CutDefault);
    edited(EnhanceQualCheck, &QCheckBox::toggled, OptionKey::EnhanceQual);
    edited(UseGridCheck, &QCheckBox::toggled, OptionKey::UseGrid);
    edited(ShowGridCheck, &QCheckBox::toggled, OptionKey::ShowGrid);
    edited(MinQualEd, &QSpinBox::valueChanged, OptionKey::MinQual);
    connect(FontBtn, &QPushButton::clicked, this, &OptionsPanel::chooseFont);
    connect(CaptionTextsBtn, &QPushButton::clicked, this, [this] { EditCaptionTexts(Doc, FontTab->window()); });
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
    o.Sverh = KeepAspectCheck->isChecked();
    o.Rand = MarginEd->value();
    o.Space = SpacingEd->value();
    o.Transp = TransparentCheck->isChecked();
    o.BkColor = BackgroundBox->Selected();
    o.CutDefault = CutDefault->isChecked();
    o.EnhanceQual = EnhanceQualCheck->isChecked();
    o.UseGrid = UseGridCheck->isChecked();
    o.ShowGrid = ShowGridCheck->isChecked();
    o.MinQual = MinQualEd->value();
    o.DBreite = DefaultWidthEd->value();
    o.DHoche = DefaultHeightEd->value();
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
    showCheck(KeepAspectCheck, o.Sverh);
    showTwin(MarginEd, MarginInchEd, o.Rand, twins);
    showTwin(SpacingEd, SpacingInchEd, o.Space, twins);
    showCheck(TransparentCheck, o.Transp);
    {
        const QSignalBlocker quiet(BackgroundBox);
        BackgroundBox->setSelected(o.BkColor);
    }
    showCheck(CutDefault, o.CutDefault);
    showCheck(EnhanceQualCheck, o.EnhanceQual);
    showCheck(UseGridCheck, o.UseGrid);
    showCheck(ShowGridCheck, o.ShowGrid);
    showValue(MinQualEd, int(o.MinQual));
    showTwin(DefaultWidthEd, DefaultWidthInchEd, o.DBreite, twins);
    showTwin(DefaultHeightEd, DefaultHeightInchEd, o.DHoche, twins);
    showTwin(GridEd, GridInchEd, o.Grid, twins);
}

void OptionsPanel::marginChanged()
{
    updateTwin(UpdateGuard, MarginEd, MarginInchEd, Geometry::MmToInch);
    optionEdited(int(OptionKey::Rand));
}
void OptionsPanel::marginInchChanged() { updateTwin(UpdateGuard, MarginInchEd, MarginEd, Geometry::InchToMm); }
void OptionsPanel::spacingChanged()
{
    updateTwin(UpdateGuard, SpacingEd, SpacingInchEd, Geometry::MmToInch);
    optionEdited(int(OptionKey::Space));
}
void OptionsPanel::spacingInchChanged() { updateTwin(UpdateGuard, SpacingInchEd, SpacingEd, Geometry::InchToMm); }
void OptionsPanel::gridChanged()
{
    updateTwin(UpdateGuard, GridEd, GridInchEd, Geometry::MmToInch);
    optionEdited(int(OptionKey::Grid));
}
void OptionsPanel::gridInchChanged() { updateTwin(UpdateGuard, GridInchEd, GridEd, Geometry::InchToMm); }
void OptionsPanel::defaultWidthChanged()
{
    updateTwin(UpdateGuard, DefaultWidthEd, DefaultWidthInchEd, Geometry::MmToInch);
    optionEdited(int(OptionKey::DBreite));
}
void OptionsPanel::defaultWidthInchChanged() { updateTwin(UpdateGuard, DefaultWidthInchEd, DefaultWidthEd, Geometry::InchToMm); }
void OptionsPanel::defaultHeightChanged()
{
    updateTwin(UpdateGuard, DefaultHeightEd, DefaultHeightInchEd, Geometry::MmToInch);
    optionEdited(int(OptionKey::DHoche));
}
void OptionsPanel::defaultHeightInchChanged() { updateTwin(UpdateGuard, DefaultHeightInchEd, DefaultHeightEd, Geometry::InchToMm); }

void OptionsPanel::chooseFont()
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
    o.Space = m.SpacingEd;
    o.Rand = m.MarginEd;
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
    m.SpacingEd = o.Space;
    m.MarginEd = o.Rand;
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
