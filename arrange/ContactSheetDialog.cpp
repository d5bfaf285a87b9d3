#include "arrange/ContactSheetDialog.h"

#include "arrange/PaperSketch.h"
#include "document/Collection.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
QDoubleSpinBox *mmEdit(QWidget *parent, double min, double max, double value)
{
    auto *e = new QDoubleSpinBox(parent);
    e->setRange(min, max);
    e->setDecimals(1);
    e->setSuffix(QObject::tr(" mm"));
    e->setValue(value);
    return e;
}
// The header and the first page's cells: picture box above its caption band.
std::vector<PaperSketch::Shape> FirstPageShapes(const ContactGrid &grid, int cells)
{
    std::vector<PaperSketch::Shape> shapes;
    if (!grid.Header.isEmpty())
        shapes.push_back({grid.Header, QColor(150, 150, 150)});
    for (int i = 0; i < std::min(cells, grid.perPage()); ++i) {
        shapes.push_back({grid.pictureBox(i), QColor(190, 210, 235)});
        const QRectF c = grid.cell(i);
        if (grid.CaptionMm > 0)
            shapes.push_back({QRectF(c.left(), c.bottom() - grid.CaptionMm, c.width(), grid.CaptionMm), QColor(220, 220, 220)});
    }
    return shapes;
}

QSpinBox *countEdit(QWidget *parent, int value)
{
    auto *e = new QSpinBox(parent);
    e->setRange(1, 30);
    e->setValue(value);
    return e;
}
} // namespace

QStringList PictureFilesIn(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    static const QStringList patterns = {"*.jpg", "*.jpeg", "*.jif", "*.jpe", "*.png", "*.bmp", "*.dib", "*.rle",
                                         "*.gif", "*.tif", "*.tiff", "*.tga", "*.pcx", "*.iff", "*.lbm", "*.webp",
                                         "*.heic", "*.heif"};
    const QDir dir(folder);
    QStringList names = dir.entryList(patterns, QDir::Files | QDir::Readable, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return ComparePathBytes(a, b) < 0; });
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &name : names)
        paths << dir.filePath(name);
    return paths;
}

ContactSheetSettings LoadContactSheetSettings()
{
    ContactSheetSettings c;
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("ContactSheets"));
    auto number = [&](const char *key, double fallback, double lo, double hi) {
        bool ok = false;
        const double v = s->value(QLatin1String(key)).toDouble(&ok);
        return ok && std::isfinite(v) ? std::clamp(v, lo, hi) : fallback;
    };
    auto flag = [&](const char *key, bool fallback) { return s->value(QLatin1String(key), fallback).toBool(); };
    c.ByCellSize = flag("ByCellSize", c.ByCellSize);
    c.Columns = int(number("Columns", c.Columns, 1, 30));
    c.Rows = int(number("Rows", c.Rows, 1, 30));
    c.CellMm = QSizeF(number("CellWidth", c.CellMm.width(), 10, 300), number("CellHeight", c.CellMm.height(), 10, 300));
    c.Spacing.Margin = number("Margin", c.Spacing.Margin, 0, 100);
    c.Spacing.Gap = number("Gap", c.Spacing.Gap, 0, 50);
    c.ShowName = flag("Name", c.ShowName);
    c.ShowDate = flag("Date", c.ShowDate);
    c.ShowSize = flag("Size", c.ShowSize);
    c.HeaderTitle = flag("HeaderTitle", c.HeaderTitle);
    c.HeaderFolder = flag("HeaderFolder", c.HeaderFolder);
    c.HeaderDates = flag("HeaderDates", c.HeaderDates);
    c.HeaderPages = flag("HeaderPages", c.HeaderPages);
    c.SortBy = ContactSheetSettings::Order(int(number("Order", 0, 0, 2)));
    return c;
}

void SaveContactSheetSettings(const ContactSheetSettings &c)
{
    const std::unique_ptr<QSettings> s = OpenSettings();
    s->beginGroup(QStringLiteral("ContactSheets"));
    s->setValue("ByCellSize", c.ByCellSize);
    s->setValue("Columns", c.Columns);
    s->setValue("Rows", c.Rows);
    s->setValue("CellWidth", c.CellMm.width());
    s->setValue("CellHeight", c.CellMm.height());
    s->setValue("Margin", c.Spacing.Margin);
    s->setValue("Gap", c.Spacing.Gap);
    s->setValue("Name", c.ShowName);
    s->setValue("Date", c.ShowDate);
    s->setValue("Size", c.ShowSize);
    s->setValue("HeaderTitle", c.HeaderTitle);
    s->setValue("HeaderFolder", c.HeaderFolder);
    s->setValue("HeaderDates", c.HeaderDates);
    s->setValue("HeaderPages", c.HeaderPages);
    s->setValue("Order", int(c.SortBy));
}

ContactSheetDialog::ContactSheetDialog(int collectionCount, const SheetArea &sheet, QWidget *parent, int selectedCount)
    : QDialog(parent)
    , CollectionCount(collectionCount)
    , SelectedCount(selectedCount)
    , Sheet(sheet)
{
    setWindowTitle(tr("Contact sheet"));
    layoutDialog();
    connectSignals();
    updateLayout();
}

ContactSheetDialog::~ContactSheetDialog() = default;

QGroupBox *ContactSheetDialog::makeSourceGroup()
{
    auto *source = new QGroupBox(tr("Pictures"), this);
    CollectionRadio = new QRadioButton(tr("All pictures of the &collection (%1)").arg(CollectionCount), source);
    SelectedRadio = new QRadioButton(tr("The pictures &selected in the collection (%1)").arg(SelectedCount), source);
    // Only a choice when it differs from the whole collection.
    SelectedRadio->setEnabled(SelectedCount > 0 && SelectedCount < CollectionCount);
    FolderRadio = new QRadioButton(tr("The pictures of a &folder:"), source);
    FolderEd = new QLineEdit(source);
    FolderBtn = new QPushButton(tr("&Browse..."), source);
    (CollectionCount > 0 ? CollectionRadio : FolderRadio)->setChecked(true);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(FolderEd, 1);
    folderRow->addWidget(FolderBtn);
    auto *sourceLayout = new QVBoxLayout(source);
    sourceLayout->addWidget(CollectionRadio);
    sourceLayout->addWidget(SelectedRadio);
    sourceLayout->addWidget(FolderRadio);
    sourceLayout->addLayout(folderRow);
    return source;
}

QGroupBox *ContactSheetDialog::makeCellsGroup()
{
    auto *cells = new QGroupBox(tr("Cells"), this);
    GridRadio = new QRadioButton(tr("&Rows and columns"), cells);
    ColumnsEd = countEdit(cells, 6);
    RowsEd = countEdit(cells, 8);
    CellRadio = new QRadioButton(tr("Cell si&ze"), cells);
    CellWidthEd = mmEdit(cells, 10, 300, 30);
    CellHeightEd = mmEdit(cells, 10, 300, 30);
    MarginEd = mmEdit(cells, 0, 100, 10);
    GapEd = mmEdit(cells, 0, 50, 3);
    GridRadio->setChecked(true);
    auto *grid = new QGridLayout(cells);
    grid->addWidget(GridRadio, 0, 0);
    grid->addWidget(new QLabel(tr("Columns:"), cells), 0, 1);
    grid->addWidget(ColumnsEd, 0, 2);
    grid->addWidget(new QLabel(tr("Rows:"), cells), 0, 3);
    grid->addWidget(RowsEd, 0, 4);
    grid->addWidget(CellRadio, 1, 0);
    grid->addWidget(new QLabel(tr("Width:"), cells), 1, 1);
    grid->addWidget(CellWidthEd, 1, 2);
    grid->addWidget(new QLabel(tr("Height:"), cells), 1, 3);
    grid->addWidget(CellHeightEd, 1, 4);
    grid->addWidget(new QLabel(tr("Margin:"), cells), 2, 1);
    grid->addWidget(MarginEd, 2, 2);
    grid->addWidget(new QLabel(tr("Gap:"), cells), 2, 3);
    grid->addWidget(GapEd, 2, 4);
    return cells;
}

QGroupBox *ContactSheetDialog::makeCaptionGroup()
{
    auto *captions = new QGroupBox(tr("Caption lines"), this);
    NameCheck = new QCheckBox(tr("File &name"), captions);
    DateCheck = new QCheckBox(tr("&Date taken"), captions);
    SizeCheck = new QCheckBox(tr("Size in &pixels"), captions);
    NameCheck->setChecked(true);
    DateCheck->setChecked(true);
    auto *captionLayout = new QHBoxLayout(captions);
    captionLayout->addWidget(NameCheck);
    captionLayout->addWidget(DateCheck);
    captionLayout->addWidget(SizeCheck);
    captionLayout->addStretch(1);
    return captions;
}

QGroupBox *ContactSheetDialog::makeHeaderGroup()
{
    auto *header = new QGroupBox(tr("Page header"), this);
    TitleCheck = new QCheckBox(tr("&Title:"), header);
    TitleEd = new QLineEdit(header);
    FolderCheck = new QCheckBox(tr("F&older"), header);
    DatesCheck = new QCheckBox(tr("Date r&ange"), header);
    PagesCheck = new QCheckBox(tr("\"Page n of N\""), header);
    for (QCheckBox *c : {TitleCheck, FolderCheck, DatesCheck, PagesCheck})
        c->setChecked(true);
    auto *headerLayout = new QGridLayout(header);
    headerLayout->addWidget(TitleCheck, 0, 0);
    headerLayout->addWidget(TitleEd, 0, 1, 1, 2);
    headerLayout->addWidget(FolderCheck, 1, 0);
    headerLayout->addWidget(DatesCheck, 1, 1);
    headerLayout->addWidget(PagesCheck, 1, 2);
    return header;
}

void ContactSheetDialog::layoutDialog()
{
    QGroupBox *source = makeSourceGroup();
    QGroupBox *cells = makeCellsGroup();
    QGroupBox *captions = makeCaptionGroup();
    QGroupBox *header = makeHeaderGroup();

    OrderBox = new QComboBox(this);
    OrderBox->addItem(tr("As in the collection or folder"));
    OrderBox->addItem(tr("By name"));
    OrderBox->addItem(tr("By date taken"));
    auto *orderRow = new QFormLayout;
    orderRow->addRow(tr("&Order:"), OrderBox);

    InfoLabel = new QLabel(this);
    InfoLabel->setWordWrap(true);
    Sketch = new PaperSketch(this);
    Sketch->setMinimumSize(200, 280);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    PlaceBtn = buttons->addButton(tr("&Make contact sheet"), QDialogButtonBox::AcceptRole);
    PlaceBtn->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *left = new QVBoxLayout;
    left->addWidget(source);
    left->addWidget(cells);
    left->addWidget(captions);
    left->addWidget(header);
    left->addLayout(orderRow);
    left->addWidget(InfoLabel);
    left->addStretch(1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addWidget(Sketch, 2);
    auto *all = new QVBoxLayout(this);
    all->addLayout(columns, 1);
    all->addWidget(buttons);
}

void ContactSheetDialog::connectSignals()
{
    for (QRadioButton *r : {CollectionRadio, SelectedRadio, FolderRadio, GridRadio, CellRadio})
        connect(r, &QRadioButton::toggled, this, &ContactSheetDialog::updateLayout);
    for (QSpinBox *e : {ColumnsEd, RowsEd})
        connect(e, &QSpinBox::valueChanged, this, &ContactSheetDialog::updateLayout);
    for (QDoubleSpinBox *e : {CellWidthEd, CellHeightEd, MarginEd, GapEd})
        connect(e, &QDoubleSpinBox::valueChanged, this, &ContactSheetDialog::updateLayout);
    for (QCheckBox *c : {NameCheck, DateCheck, SizeCheck, TitleCheck, FolderCheck, DatesCheck, PagesCheck})
        connect(c, &QCheckBox::toggled, this, &ContactSheetDialog::updateLayout);
    connect(FolderEd, &QLineEdit::editingFinished, this, &ContactSheetDialog::folderTyped);
    connect(FolderBtn, &QPushButton::clicked, this, &ContactSheetDialog::chooseFolder);
}

ContactSheetSettings ContactSheetDialog::settings() const
{
    ContactSheetSettings s;
    s.ByCellSize = CellRadio->isChecked();
    s.Columns = ColumnsEd->value();
    s.Rows = RowsEd->value();
    s.CellMm = QSizeF(CellWidthEd->value(), CellHeightEd->value());
    s.Spacing = SheetSpacing{MarginEd->value(), GapEd->value()};
    s.ShowName = NameCheck->isChecked();
    s.ShowDate = DateCheck->isChecked();
    s.ShowSize = SizeCheck->isChecked();
    s.HeaderTitle = TitleCheck->isChecked();
    s.Title = TitleEd->text();
    s.HeaderFolder = FolderCheck->isChecked();
    s.HeaderDates = DatesCheck->isChecked();
    s.HeaderPages = PagesCheck->isChecked();
    s.SortBy = ContactSheetSettings::Order(std::clamp(OrderBox->currentIndex(), 0, 2));
    return s;
}

void ContactSheetDialog::setSettings(const ContactSheetSettings &s)
{
    (s.ByCellSize ? CellRadio : GridRadio)->setChecked(true);
    ColumnsEd->setValue(s.Columns);
    RowsEd->setValue(s.Rows);
    CellWidthEd->setValue(s.CellMm.width());
    CellHeightEd->setValue(s.CellMm.height());
    MarginEd->setValue(s.Spacing.Margin);
    GapEd->setValue(s.Spacing.Gap);
    NameCheck->setChecked(s.ShowName);
    DateCheck->setChecked(s.ShowDate);
    SizeCheck->setChecked(s.ShowSize);
    TitleCheck->setChecked(s.HeaderTitle);
    TitleEd->setText(s.Title);
    FolderCheck->setChecked(s.HeaderFolder);
    DatesCheck->setChecked(s.HeaderDates);
    PagesCheck->setChecked(s.HeaderPages);
    OrderBox->setCurrentIndex(int(s.SortBy));
    updateLayout();
}

bool ContactSheetDialog::fromFolder() const { return FolderRadio->isChecked(); }

bool ContactSheetDialog::fromSelection() const { return SelectedRadio->isChecked(); }

int ContactSheetDialog::pictureCount() const
{
    return fromFolder() ? int(FolderFiles.size()) : fromSelection() ? SelectedCount : CollectionCount;
}

void ContactSheetDialog::chooseFolder()
{
    const QString folder = Dialogs::existingDirectory(this, tr("Folder of the contact sheet"), FolderEd->text());
    if (folder.isEmpty())
        return;
    FolderEd->setText(folder);
    folderTyped();
}

void ContactSheetDialog::folderTyped()
{
    FolderFiles = PictureFilesIn(FolderEd->text().trimmed());
    if (!FolderEd->text().trimmed().isEmpty())
        FolderRadio->setChecked(true);
    updateLayout();
}

void ContactSheetDialog::updateLayout()
{
    const bool grid = GridRadio->isChecked();
    ColumnsEd->setEnabled(grid);
    RowsEd->setEnabled(grid);
    CellWidthEd->setEnabled(!grid);
    CellHeightEd->setEnabled(!grid);
    TitleEd->setEnabled(TitleCheck->isChecked());
    const ContactGrid layout = ContactLayout(settings(), Sheet);
    const int count = pictureCount();
    Sketch->showSheet(Sheet, FirstPageShapes(layout, count));
    QString info;
    if (layout.perPage() == 0)
        info = tr("Not one cell fits on the page: make the margin, the gap or the caption smaller.");
    else if (count == 0)
        info = tr("%1 cells per page; no pictures to show.").arg(layout.perPage());
    else
        info = tr("%1 x %2 cells of %3 x %4 mm per page: %5 pictures on %n page(s).", nullptr,
                  ContactPageCount(count, layout))
                   .arg(layout.Columns)
                   .arg(layout.Rows)
                   .arg(layout.Cell.width(), 0, 'f', 1)
                   .arg(layout.Cell.height(), 0, 'f', 1)
                   .arg(count);
    InfoLabel->setText(info);
    PlaceBtn->setEnabled(layout.perPage() > 0 && count > 0);
}
