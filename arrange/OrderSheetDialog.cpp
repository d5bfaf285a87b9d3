#include "arrange/OrderSheetDialog.h"

#include "arrange/OrderCsv.h"
#include "arrange/OrderPacking.h"
#include "document/Paths.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace {
// Errors listed in the message after reading a CSV file; the rest are counted.
constexpr int ListedErrors = 15;

QDoubleSpinBox *MmEdit(QWidget *parent, double high)
{
    auto *e = new QDoubleSpinBox(parent);
    e->setRange(0, high);
    e->setDecimals(1);
    e->setSuffix(QStringLiteral(" mm"));
    return e;
}
} // namespace

OrderSheetDialog::OrderSheetDialog(const std::vector<PictureEntry> &pictures, int selected, const SheetArea &sheet,
                                   std::vector<PrintSize> sizes, QWidget *parent)
    : QDialog(parent)
    , Sizes(std::move(sizes))
    , Sheet(sheet)
{
    setWindowTitle(tr("Order sheets"));
    OrderEd = new QLineEdit(this);
    OrderEd->setPlaceholderText(tr("Name of the order"));
    PictureBox = new QComboBox(this);
    for (const PictureEntry &p : pictures) {
        PictureBox->addItem(FileNamePart(p.FileName));
        PictureFiles.push_back(p.FileName);
    }
    PictureBox->setCurrentIndex(std::clamp(selected, 0, std::max(0, PictureBox->count() - 1)));
    SizeBox = new QComboBox(this);
    SizeBox->setEditable(true);
    SizeBox->setInsertPolicy(QComboBox::NoInsert);
    for (const PrintSize &s : Sizes)
        SizeBox->addItem(PrintSizeLabel(s));
    SizeBox->setToolTip(tr("A print size of the list, or one typed such as 60 x 90 mm or 2.5 x 3.5 in"));
    CopiesEd = new QSpinBox(this);
    CopiesEd->setRange(1, MaxOrderCopies);
    AddButton = new QPushButton(tr("&Add"), this);
    RemoveButton = new QPushButton(tr("&Remove"), this);
    CsvButton = new QPushButton(tr("Read &CSV..."), this);

    Table = new QTableWidget(0, 4, this);
    Table->setHorizontalHeaderLabels({tr("Order"), tr("Picture"), tr("Size"), tr("Copies")});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Table->verticalHeader()->setVisible(false);

    MarginEd = MmEdit(this, 50);
    GapEd = MmEdit(this, 30);
    Summary = new QLabel(this);
    Summary->setWordWrap(true);

    auto *entry = new QFormLayout;
    entry->addRow(tr("&Order:"), OrderEd);
    entry->addRow(tr("&Picture:"), PictureBox);
    entry->addRow(tr("&Size:"), SizeBox);
    entry->addRow(tr("Co&pies:"), CopiesEd);
    auto *rowButtons = new QHBoxLayout;
    rowButtons->addWidget(AddButton);
    rowButtons->addWidget(RemoveButton);
    rowButtons->addStretch();
    rowButtons->addWidget(CsvButton);
    auto *spacingForm = new QFormLayout;
    spacingForm->addRow(tr("&Margin:"), MarginEd);
    spacingForm->addRow(tr("&Gap between frames:"), GapEd);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Place"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addLayout(rowButtons);
    layout->addWidget(Table, 1);
    layout->addLayout(spacingForm);
    layout->addWidget(Summary);
    layout->addWidget(buttons);

    connect(AddButton, &QPushButton::clicked, this, &OrderSheetDialog::addRow);
    connect(OrderEd, &QLineEdit::returnPressed, this, &OrderSheetDialog::addRow);
    connect(RemoveButton, &QPushButton::clicked, this, &OrderSheetDialog::removeRows);
    connect(CsvButton, &QPushButton::clicked, this, [this] {
        const QString path = Dialogs::getOpenFileName(this, tr("Read order list"), tr("Order lists (*.csv);;All files (*)"));
        if (!path.isEmpty())
            readCsv(path);
    });
    connect(MarginEd, &QDoubleSpinBox::valueChanged, this, &OrderSheetDialog::updateSummary);
    connect(GapEd, &QDoubleSpinBox::valueChanged, this, &OrderSheetDialog::updateSummary);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Lines.empty())
            Dialogs::messageBox(this, tr("The order list is empty: add rows or read a CSV file."), windowTitle(),
                                Dialogs::Icon::Information);
        else
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setSpacing(SheetSpacing{});
    showLines();
    resize(sizeHint().expandedTo(QSize(640, 480)));
}

void OrderSheetDialog::setLines(const OrderList &lines)
{
    Lines = lines;
    showLines();
}

void OrderSheetDialog::setSpacing(const SheetSpacing &spacing)
{
    MarginEd->setValue(spacing.Margin);
    GapEd->setValue(spacing.Gap);
}

SheetSpacing OrderSheetDialog::spacing() const { return SheetSpacing{MarginEd->value(), GapEd->value()}; }

void OrderSheetDialog::addRow()
{
    const QString name = OrderEd->text().simplified();
    const int picture = PictureBox->currentIndex();
    QString problem;
    const OrderSize size = ParseOrderSize(SizeBox->currentText(), Sizes);
    if (name.isEmpty())
        problem = tr("Give the order a name.");
    else if (picture < 0 || picture >= int(PictureFiles.size()))
        problem = tr("Add pictures to the collection first.");
    else if (!size.Ok)
        problem = size.Reason;
    else if (Lines.size() >= std::size_t(MaxOrderLines))
        problem = tr("The order list is full.");
    if (!problem.isEmpty()) {
        Dialogs::messageBox(this, problem, windowTitle(), Dialogs::Icon::Warning);
        return;
    }
    Lines.push_back({name.left(MaxOrderTextLength), PictureFiles[std::size_t(picture)],
                     SizeBox->currentText().simplified(), size.WidthMm, size.HeightMm, size.Upright,
                     CopiesEd->value()});
    showLines();
    Table->scrollToBottom();
}

void OrderSheetDialog::removeRows()
{
    std::set<int, std::greater<>> rows;
    for (const QModelIndex &i : Table->selectionModel()->selectedRows())
        rows.insert(i.row());
    for (int r : rows)
        if (r >= 0 && r < int(Lines.size()))
            Lines.erase(Lines.begin() + r);
    showLines();
}

void OrderSheetDialog::readCsv(const QString &path)
{
    const OrderCsvRead read = ReadOrderCsvFile(path, Sizes);
    const std::size_t room = std::size_t(MaxOrderLines) - std::min(Lines.size(), std::size_t(MaxOrderLines));
    Lines.insert(Lines.end(), read.Lines.begin(), read.Lines.begin() + qsizetype(std::min(room, read.Lines.size())));
    showLines();
    if (read.Errors.empty())
        return;
    QStringList text;
    for (std::size_t i = 0; i < read.Errors.size() && i < std::size_t(ListedErrors); ++i)
        text << read.Errors[i].text();
    if (read.Errors.size() > std::size_t(ListedErrors))
        text << tr("... and %n more.", nullptr, int(read.Errors.size()) - ListedErrors);
    Dialogs::messageBox(this,
                        tr("%n row(s) of %1 were left out:", nullptr, int(read.Errors.size())).arg(FileNamePart(path))
                            + QStringLiteral("\n\n") + text.join(QLatin1Char('\n')),
                        windowTitle(), Dialogs::Icon::Warning);
}

void OrderSheetDialog::showLines()
{
    Table->setRowCount(int(Lines.size()));
    for (int r = 0; r < int(Lines.size()); ++r) {
        const OrderLine &l = Lines[std::size_t(r)];
        const QString cells[] = {l.Order, FileNamePart(l.Picture), l.Size, QLocale().toString(l.Copies)};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c == 1)
                item->setToolTip(l.Picture);
            Table->setItem(r, c, item);
        }
    }
    RemoveButton->setEnabled(!Lines.empty());
    updateSummary();
}

void OrderSheetDialog::updateSummary()
{
    std::vector<OrderPackItem> items;
    std::set<QString> orders;
    int frames = 0;
    for (const OrderLine &l : Lines) {
        orders.insert(l.Order);
        frames += l.Copies;
        items.push_back({QSizeF(l.WidthMm, l.HeightMm), l.Copies, l.Upright, 0});
    }
    const int least = OrderLowerBound(Sheet, spacing(), items);
    Summary->setText(Lines.empty() ? tr("Enter rows or read an order list from a CSV file.")
                                   : tr("%1 orders, %2 prints: at least %n sheet(s).", nullptr, least)
                                         .arg(orders.size())
                                         .arg(frames));
}
