#include "output/JobLogDialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

JobLogDialog::JobLogDialog(const std::vector<JobLogEntry>& entries, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Job log"));
    Table = new QTableWidget(int(entries.size()), 7, this);
    Table->setHorizontalHeaderLabels({ tr("Time"), tr("Arrangement"), tr("Printer or file"), tr("Preset"), tr("Pages"),
        tr("Result"), tr("Options sent") });
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->verticalHeader()->hide();
    int row = 0;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it, ++row) {
        const JobLogEntry& e = *it;
        const QStringList cells { QLocale().toString(e.Time, QLocale::ShortFormat), QFileInfo(e.File).fileName(),
            e.Target, e.Preset, QString::number(e.Pages), e.Result, e.Options.join(QLatin1Char(' ')) };
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(c == 1 ? e.File : cells[c]);
            Table->setItem(row, c, item);
        }
    }
    Table->resizeColumnsToContents();
    // Long texts are read in full from their tool tips.
    for (int c = 0; c < Table->columnCount(); ++c)
        Table->setColumnWidth(c, std::min(Table->columnWidth(c), 260));
    Table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* open = buttons->addButton(tr("&Open the log file"), QDialogButtonBox::ActionRole);
    connect(open, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl::fromLocalFile(JobLogFile())); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Table);
    layout->addWidget(buttons);
    resize(900, 420);
}

int JobLogDialog::rows() const { return Table->rowCount(); }
