#include "arrange/PrintSheetDialog.h"

#include "arrange/PaperSketch.h"
#include "arrange/PrintSheet.h"
#include "document/Paths.h"
#include "document/PictureEntry.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QDoubleSpinBox *MmEdit(QWidget *parent, double min, double max, double value)
{
    auto *e = new QDoubleSpinBox(parent);
    e->setRange(min, max);
    e->setDecimals(2);
    e->setSuffix(QStringLiteral(" mm"));
    e->setValue(value);
    return e;
}

// The frames of the first sheet, turned ones shaded.
std::vector<PaperSketch::Shape> FirstSheetShapes(const SheetLayout &layout)
{
    std::vector<PaperSketch::Shape> shapes;
    for (const SheetFrame &f : layout.Frames)
        if (f.Sheet == 0)
            shapes.push_back({f.Rect, f.Turned ? QColor(170, 200, 235) : QColor(205, 225, 245), true});
    return shapes;
}

QString SizeText(QSizeF mm)
{
    return QStringLiteral("%1 x %2 mm").arg(QString::number(mm.width(), 'f', 1), QString::number(mm.height(), 'f', 1));
}
} // namespace

PrintSheetDialog::PrintSheetDialog(const std::vector<PictureEntry> &pictures, int selected, const SheetArea &sheet,
                                   const QString &presetFolder, QWidget *parent)
    : QDialog(parent)
    , Pictures(pictures)
    , Sheet(sheet)
    , PresetFolder(presetFolder)
{
    setWindowTitle(tr("Print sheets"));
    SizeBox = new QComboBox(this);
    WidthEd = MmEdit(this, 1, MaxPrintSizeMm, 100);
    HeightEd = MmEdit(this, 1, MaxPrintSizeMm, 150);
    PresetNameEd = new QLineEdit(this);
    PresetNameEd->setPlaceholderText(tr("Name of your size"));
    SavePresetBtn = new QPushButton(tr("Keep as my size"), this);
    PresetErrors = new QLabel(this);
    PresetErrors->setWordWrap(true);
    PresetErrors->setStyleSheet(QStringLiteral("color: #b00020"));
    PresetErrors->hide();
    FillRadio = new QRadioButton(tr("One picture, filling the sheet"), this);
    MixedRadio = new QRadioButton(tr("Several pictures and sizes on one sheet"), this);
    FillRadio->setChecked(true);
    PictureBox = new QComboBox(this);
    for (const PictureEntry &entry : Pictures)
        PictureBox->addItem(FileNamePart(entry.FileName));
    PictureBox->setCurrentIndex(std::clamp(selected, 0, std::max(0, int(Pictures.size()) - 1)));
    CopiesEd = new QSpinBox(this);
    CopiesEd->setRange(1, MaxSheetFrames);
    CopiesEd->setValue(1);
    AsManyCheck = new QCheckBox(tr("As many as fit on the sheet"), this);
    AsManyCheck->setChecked(true);
    ListTable = new QTableWidget(0, 3, this);
    ListTable->setHorizontalHeaderLabels({tr("Picture"), tr("Size"), tr("Copies")});
    ListTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListTable->verticalHeader()->hide();
    ListTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AddBtn = new QPushButton(tr("Add to the list"), this);
    RemoveBtn = new QPushButton(tr("Remove"), this);
    MarginEd = MmEdit(this, 0, 100, 5);
    MarginEd->setToolTip(tr("Distance from the paper's edge; the printer's unprintable border is always kept free"));
    GapEd = MmEdit(this, 0, 100, 3);
    GapEd->setToolTip(tr("Room between the frames for cutting"));
    BorderlessCheck = new QCheckBox(tr("Borderless"), this);
    BorderlessCheck->setEnabled(Sheet.Borderless);
    BorderlessCheck->setToolTip(Sheet.Borderless
                                    ? tr("Frames may reach the paper's edge; with a margin of 0 they print to it")
                                    : tr("Choose a borderless paper size in the printer setup first"));
    OverspillEd = MmEdit(this, 0, MaxOverspill, 1.5);
    OverspillEd->setToolTip(tr("How far frames at the paper's edge are drawn beyond it, so no white edge is left"));
    InfoLabel = new QLabel(this);
    InfoLabel->setWordWrap(true);
    Sketch = new PaperSketch(this);
    loadSizes();
    layoutDialog();
    connectSignals();
    sizeChosen();
}

PrintSheetDialog::~PrintSheetDialog() = default;

void PrintSheetDialog::loadSizes()
{
    const QSignalBlocker block(SizeBox);
    Sizes = BuiltInPrintSizes();
    const UserPresets user = LoadUserPrintSizes(PresetFolder);
    Sizes.insert(Sizes.end(), user.Sizes.begin(), user.Sizes.end());
    const int current = SizeBox->currentIndex();
    SizeBox->clear();
    for (const PrintSize &s : Sizes)
        SizeBox->addItem(s.User ? tr("%1 (yours)").arg(PrintSizeLabel(s)) : PrintSizeLabel(s));
    SizeBox->addItem(tr("Own size (typed below)"));
    SizeBox->setCurrentIndex(current >= 0 ? std::min(current, SizeBox->count() - 1) : 1);
    PresetErrors->setVisible(!user.Errors.isEmpty());
    PresetErrors->setText(tr("These sizes of yours could not be read and are left out:\n%1")
                              .arg(user.Errors.join(QLatin1Char('\n'))));
}

void PrintSheetDialog::layoutDialog()
{
    auto *sizeGroup = new QGroupBox(tr("Print size"), this);
    auto *sizeForm = new QFormLayout(sizeGroup);
    sizeForm->addRow(SizeBox);
    auto *edits = new QHBoxLayout;
    edits->addWidget(WidthEd);
    edits->addWidget(new QLabel(QStringLiteral("x"), this));
    edits->addWidget(HeightEd);
    edits->addStretch(1);
    sizeForm->addRow(tr("Width x height:"), edits);
    auto *keep = new QHBoxLayout;
    keep->addWidget(PresetNameEd);
    keep->addWidget(SavePresetBtn);
    sizeForm->addRow(keep);
    sizeForm->addRow(PresetErrors);

    auto *whatGroup = new QGroupBox(tr("Pictures"), this);
    auto *what = new QVBoxLayout(whatGroup);
    what->addWidget(FillRadio);
    what->addWidget(MixedRadio);
    auto *pictureForm = new QFormLayout;
    pictureForm->addRow(tr("Picture:"), PictureBox);
    auto *copies = new QHBoxLayout;
    copies->addWidget(CopiesEd);
    copies->addWidget(AsManyCheck);
    pictureForm->addRow(tr("Copies:"), copies);
    what->addLayout(pictureForm);
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(AddBtn);
    listButtons->addWidget(RemoveBtn);
    listButtons->addStretch();
    what->addLayout(listButtons);
    what->addWidget(ListTable);

    auto *paperGroup = new QGroupBox(tr("Paper"), this);
    auto *paperForm = new QFormLayout(paperGroup);
    paperForm->addRow(tr("Margin:"), MarginEd);
    paperForm->addRow(tr("Gap for cutting:"), GapEd);
    paperForm->addRow(BorderlessCheck);
    paperForm->addRow(tr("Overspill:"), OverspillEd);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    PlaceBtn = buttons->addButton(tr("Place"), QDialogButtonBox::AcceptRole);
    PlaceBtn->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *left = new QVBoxLayout;
    left->addWidget(sizeGroup);
    left->addWidget(whatGroup, 1);
    left->addWidget(paperGroup);
    auto *right = new QVBoxLayout;
    right->addWidget(Sketch, 1);
    right->addWidget(InfoLabel);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    auto *top = new QVBoxLayout(this);
    top->addLayout(columns, 1);
    top->addWidget(buttons);
}

void PrintSheetDialog::connectSignals()
{
    connect(SizeBox, &QComboBox::currentIndexChanged, this, &PrintSheetDialog::sizeChosen);
    connect(WidthEd, &QDoubleSpinBox::valueChanged, this, &PrintSheetDialog::sizeTyped);
    connect(HeightEd, &QDoubleSpinBox::valueChanged, this, &PrintSheetDialog::sizeTyped);
    connect(SavePresetBtn, &QPushButton::clicked, this, &PrintSheetDialog::keepOwnSize);
    connect(AddBtn, &QPushButton::clicked, this, &PrintSheetDialog::addToList);
    connect(RemoveBtn, &QPushButton::clicked, this, &PrintSheetDialog::removeFromList);
    connect(PlaceBtn, &QPushButton::clicked, this, &PrintSheetDialog::place);
    for (QRadioButton *r : {FillRadio, MixedRadio})
        connect(r, &QRadioButton::toggled, this, &PrintSheetDialog::updateLayout);
    connect(PictureBox, &QComboBox::currentIndexChanged, this, &PrintSheetDialog::updateLayout);
    connect(CopiesEd, &QSpinBox::valueChanged, this, &PrintSheetDialog::updateLayout);
    connect(AsManyCheck, &QCheckBox::toggled, this, &PrintSheetDialog::updateLayout);
    connect(MarginEd, &QDoubleSpinBox::valueChanged, this, &PrintSheetDialog::updateLayout);
    connect(GapEd, &QDoubleSpinBox::valueChanged, this, &PrintSheetDialog::updateLayout);
    connect(BorderlessCheck, &QCheckBox::toggled, this, &PrintSheetDialog::updateLayout);
    connect(OverspillEd, &QDoubleSpinBox::valueChanged, this, &PrintSheetDialog::updateLayout);
}

void PrintSheetDialog::sizeChosen()
{
    const int i = SizeBox->currentIndex();
    if (i >= 0 && i < int(Sizes.size())) {
        const QSignalBlocker bw(WidthEd), bh(HeightEd);
        WidthEd->setValue(Sizes[std::size_t(i)].widthMm());
        HeightEd->setValue(Sizes[std::size_t(i)].heightMm());
    }
    updateLayout();
}

void PrintSheetDialog::sizeTyped()
{
    // A typed size is the user's own: the list says so.
    {
        const QSignalBlocker block(SizeBox);
        SizeBox->setCurrentIndex(SizeBox->count() - 1);
    }
    updateLayout();
}

void PrintSheetDialog::keepOwnSize()
{
    PrintSize size;
    size.Name = PresetNameEd->text().trimmed();
    if (size.Name.isEmpty()) {
        Dialogs::messageBox(this, tr("Give your size a name first."), windowTitle(), Dialogs::Icon::Information);
        return;
    }
    size.Width = WidthEd->value();
    size.Height = HeightEd->value();
    size.Unit = SizeUnit::Mm;
    QString error;
    if (SaveUserPrintSize(PresetFolder, size, &error).isEmpty()) {
        Dialogs::messageBox(this, tr("Your size could not be kept: %1").arg(error), windowTitle(),
                            Dialogs::Icon::Error);
        return;
    }
    loadSizes();
    for (int i = 0; i < int(Sizes.size()); ++i)
        if (Sizes[std::size_t(i)].User && Sizes[std::size_t(i)].Name == size.Name)
            SizeBox->setCurrentIndex(i);
}

std::vector<PrintSheetSettings::ListRow> PrintSheetDialog::keptList() const
{
    std::vector<PrintSheetSettings::ListRow> kept;
    for (const ListRow &row : Rows)
        kept.push_back({Pictures[std::size_t(row.Picture)].FileName, row.Size.width(), row.Size.height(), row.Copies});
    return kept;
}

void PrintSheetDialog::restoreList(const std::vector<PrintSheetSettings::ListRow> &rows)
{
    for (const PrintSheetSettings::ListRow &kept : rows) {
        const auto found = std::find_if(Pictures.begin(), Pictures.end(),
                                        [&kept](const PictureEntry &p) { return p.FileName == kept.File; });
        if (found != Pictures.end())
            appendRow({int(found - Pictures.begin()), QSizeF(kept.Width, kept.Height), kept.Copies});
    }
}

void PrintSheetDialog::addToList()
{
    const int picture = PictureBox->currentIndex();
    if (picture < 0)
        return;
    appendRow({picture, frameSize(picture), CopiesEd->value()});
}

void PrintSheetDialog::appendRow(const ListRow &row)
{
    MixedRadio->setChecked(true);
    Rows.push_back(row);
    const int r = ListTable->rowCount();
    ListTable->insertRow(r);
    ListTable->setItem(r, 0, new QTableWidgetItem(PictureBox->itemText(row.Picture)));
    ListTable->setItem(r, 1, new QTableWidgetItem(SizeText(row.Size)));
    ListTable->setItem(r, 2, new QTableWidgetItem(QString::number(row.Copies)));
    updateLayout();
}

void PrintSheetDialog::removeFromList()
{
    const int r = ListTable->currentRow();
    if (r < 0 || r >= int(Rows.size()))
        return;
    Rows.erase(Rows.begin() + r);
    ListTable->removeRow(r);
    updateLayout();
}

void PrintSheetDialog::place()
{
    const SheetLayout l = layout();
    if (!l.Error.isEmpty()) {
        Dialogs::messageBox(this, l.Error, windowTitle(), Dialogs::Icon::Warning);
        return;
    }
    if (l.Frames.empty()) {
        Dialogs::messageBox(this, tr("Add a picture to the list first."), windowTitle(), Dialogs::Icon::Information);
        return;
    }
    accept();
}

namespace {
bool isIdSize(QSizeF mm) { return MatchIdPhotoSize(mm.width(), mm.height()) != nullptr; }
} // namespace

QSizeF PrintSheetDialog::frameSize(int picture) const
{
    const QSizeF size(WidthEd->value(), HeightEd->value());
    if (picture < 0 || picture >= int(Pictures.size()))
        return size;
    const DIB &dib = Pictures[std::size_t(picture)].Dib;
    return SizeLikePicture(size, QSize(DibWidth(dib), DibHeight(dib)));
}

SheetSpacing PrintSheetDialog::spacing() const
{
    const bool borderless = Sheet.Borderless && BorderlessCheck->isChecked();
    return {MarginEd->value(), GapEd->value(), borderless, OverspillEd->value()};
}

SheetLayout PrintSheetDialog::layout() const
{
    if (MixedRadio->isChecked()) {
        std::vector<SheetItem> items;
        for (const ListRow &row : Rows)
            items.push_back({ row.Size, row.Copies, isIdSize(row.Size) });
        return PackSheets(Sheet, spacing(), items);
    }
    if (PictureBox->currentIndex() < 0) {
        SheetLayout none;
        none.Error = tr("The collection has no picture to place.");
        return none;
    }
    const QSizeF frame = frameSize(PictureBox->currentIndex());
    return FillSheets(Sheet, spacing(), frame, AsManyCheck->isChecked() ? 0 : CopiesEd->value(), isIdSize(frame));
}

std::vector<int> PrintSheetDialog::itemPictures() const
{
    if (!MixedRadio->isChecked())
        return {PictureBox->currentIndex()};
    std::vector<int> pictures;
    for (const ListRow &row : Rows)
        pictures.push_back(row.Picture);
    return pictures;
}

void PrintSheetDialog::updateLayout()
{
    CopiesEd->setEnabled(MixedRadio->isChecked() || !AsManyCheck->isChecked());
    AsManyCheck->setEnabled(FillRadio->isChecked());
    ListTable->setEnabled(MixedRadio->isChecked());
    RemoveBtn->setEnabled(MixedRadio->isChecked() && !Rows.empty());
    OverspillEd->setEnabled(spacing().Borderless);
    const SheetLayout l = layout();
    Sketch->showSheet(Sheet, FirstSheetShapes(l));
    if (!l.Error.isEmpty()) {
        InfoLabel->setText(l.Error);
        return;
    }
    const int onFirst = int(std::count_if(l.Frames.begin(), l.Frames.end(), [](const SheetFrame &f) { return f.Sheet == 0; }));
    QString text = l.Sheets > 1
        ? tr("%1 frames on %2 pages, %3 on the first.").arg(l.Frames.size()).arg(l.Sheets).arg(onFirst)
        : l.Frames.size() == 1 ? tr("1 frame on one page.")
                               : tr("%1 frames on one page.").arg(l.Frames.size());
    if (std::any_of(l.Frames.begin(), l.Frames.end(), [](const SheetFrame &f) { return f.Turned; }))
        text += QLatin1Char(' ') + tr("Shaded frames are turned, so more fit; their pictures are turned with them.");
    InfoLabel->setText(text);
}
