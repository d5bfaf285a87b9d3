#include "pages/SortPage.h"

#include "document/Paths.h"
#include "pages/PageServices.h"
#include "platform/EventHook.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

SortPage::SortPage(ArrangementDocument &doc, PageServices &services, QWidget *parent)
    : QWidget(parent)
    , Doc(doc)
    , Services(services)
{
    SortBox = new QListWidget(this);
    SortBox->setSelectionMode(QAbstractItemView::SingleSelection);
    UpNow = new QPushButton(tr("Move upward"), this);
    DownNow = new QPushButton(tr("Move downward"), this);
    SortNameBtn = new QPushButton(tr("Sort by names..."), this);
    UpNow->setToolTip(tr("Moves the selected picture one place up"));
    DownNow->setToolTip(tr("Moves the selected picture one place down"));
    SortNameBtn->setToolTip(tr("Sorts the pictures by their file names"));
    SortBox->setToolTip(tr("The order of the pictures; double click shows one"));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(UpNow);
    buttons->addWidget(DownNow);
    buttons->addSpacing(16);
    buttons->addWidget(SortNameBtn);
    buttons->addStretch(1);
    auto *row = new QHBoxLayout(this);
    row->addWidget(SortBox, 1);
    row->addLayout(buttons);

    connect(UpNow, &QPushButton::clicked, this, &SortPage::UpNowClick);
    connect(DownNow, &QPushButton::clicked, this, &SortPage::DownNowClick);
    connect(SortNameBtn, &QPushButton::clicked, this, &SortPage::SortNameBtnClick);
    connect(SortBox, &QListWidget::doubleClicked, this, &SortPage::SortBoxDblClick);
    new TEventHook(SortBox, [this](QEvent *e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        SortBoxDblClick();
        return true;
    });
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        if (what & ArrangementDocument::Change::Collection)
            UpdateListBox();
    });
}

void SortPage::UpdateListBox()
{
    SortBox->clear();
    for (const PictureEntry &entry : Doc.records().Pictures)
        SortBox->addItem(FileNamePart(entry.FileName));
    if (SortBox->count() > 0)
        SortBox->setCurrentRow(0);
}

void SortPage::UpNowClick()
{
    const int i = SortBox->currentRow();
    if (i >= 1 && Doc.swapPictures(i - 1, i, tr("Move upward")))
        SortBox->setCurrentRow(i - 1);
}

void SortPage::DownNowClick()
{
    const int i = SortBox->currentRow();
    if (i >= 0 && Doc.swapPictures(i, i + 1, tr("Move downward")))
        SortBox->setCurrentRow(i + 1);
}

void SortPage::SortNameBtnClick() { Doc.sortPicturesByName(tr("Sort by names")); }

void SortPage::SortBoxDblClick()
{
    const int i = SortBox->currentRow();
    if (i >= 0 && i < Doc.records().PictureCount())
        Services.showCollectionPicture(i);
}
