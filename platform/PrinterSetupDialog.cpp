#include "platform/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Papers offered for PDF output, which takes any size.
std::vector<QPageSize> pdfPapers()
{
    std::vector<QPageSize> papers;
    for (const QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5,
                                           QPageSize::Letter, QPageSize::Legal, QPageSize::Executive,
                                           QPageSize::Tabloid})
        papers.emplace_back(id);
    return papers;
}
} // namespace

TPrinterSetupDialog::TPrinterSetupDialog(QPrinter *printer, QWidget *parent)
    : QDialog(parent)
    , Target(printer)
{
    setWindowTitle(tr("Printer setup"));
    PrinterCombo = new QComboBox(this);
    for (const QString &name : QPrinterInfo::availablePrinterNames())
        PrinterCombo->addItem(name, name);
    PrinterCombo->addItem(tr("PDF file"), QString());
    PaperCombo = new QComboBox(this);

    auto *orientation = new QGroupBox(tr("Orientation"), this);
    PortraitRadio = new QRadioButton(tr("Portrait"), orientation);
    LandscapeRadio = new QRadioButton(tr("Landscape"), orientation);
    auto *radios = new QHBoxLayout(orientation);
    radios->addWidget(PortraitRadio);
    radios->addWidget(LandscapeRadio);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *form = new QFormLayout;
    form->addRow(tr("Printer:"), PrinterCombo);
    form->addRow(tr("Paper:"), PaperCombo);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(orientation);
    column->addWidget(buttons);

    const QPageLayout layout = Target->pageLayout();
    const int current = Target->outputFormat() == QPrinter::PdfFormat ? PrinterCombo->count() - 1
                                                                        : PrinterCombo->findData(Target->printerName());
    PrinterCombo->setCurrentIndex(std::max(current, 0));
    fillPapers(layout.pageSize());
    (layout.orientation() == QPageLayout::Landscape ? LandscapeRadio : PortraitRadio)->setChecked(true);

    connect(PrinterCombo, &QComboBox::currentIndexChanged, this, [this] { fillPapers(chosenPaper()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString TPrinterSetupDialog::chosenPrinter() const { return PrinterCombo->currentData().toString(); }

QPageSize TPrinterSetupDialog::chosenPaper() const
{
    const int i = PaperCombo->currentIndex();
    return i >= 0 && std::size_t(i) < Papers.size() ? Papers[std::size_t(i)] : QPageSize();
}

bool TPrinterSetupDialog::choosePaper(const QPageSize &paper)
{
    for (std::size_t i = 0; i < Papers.size(); ++i)
        if (Papers[i].isEquivalentTo(paper)) {
            PaperCombo->setCurrentIndex(int(i));
            return true;
        }
    return false;
}

// The chosen printer's papers; the paper in use stays chosen where it can.
void TPrinterSetupDialog::fillPapers(const QPageSize &keep)
{
    const QString name = chosenPrinter();
    if (name.isEmpty()) {
        Papers = pdfPapers();
    } else {
        const QList<QPageSize> sizes = QPrinterInfo::printerInfo(name).supportedPageSizes();
        Papers.assign(sizes.begin(), sizes.end());
    }
    if (Papers.empty())
        Papers = pdfPapers();
    if (keep.isValid() && name.isEmpty() && std::none_of(Papers.begin(), Papers.end(), [&](const QPageSize &p) {
            return p.isEquivalentTo(keep);
        }))
        Papers.insert(Papers.begin(), keep); // any size suits a file
    const QSignalBlocker quiet(PaperCombo);
    PaperCombo->clear();
    for (const QPageSize &p : Papers)
        PaperCombo->addItem(p.name());
    if (!keep.isValid() || !choosePaper(keep))
        PaperCombo->setCurrentIndex(0);
}

void TPrinterSetupDialog::Apply()
{
    const QString name = chosenPrinter();
    if (name.isEmpty()) {
        Target->setOutputFormat(QPrinter::PdfFormat);
    } else {
        Target->setOutputFormat(QPrinter::NativeFormat);
        Target->setPrinterName(name);
    }
    const QPageSize paper = chosenPaper();
    if (paper.isValid())
        Target->setPageSize(paper);
    Target->setPageOrientation(LandscapeRadio->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
}
