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
    OrderList = new QListWidget(this);
    OrderList->setSelectionMode(QAbstractItemView::SingleSelection);
    UpBtn = new QPushButton(tr("Move upward"), this);
    DownBtn = new QPushButton(tr("Move downward"), this);
    SortNameBtn = new QPushButton(tr("Sort by names..."), this);
    UpBtn->setToolTip(tr("Moves the selected picture one place up"));
    DownBtn->setToolTip(tr("Moves the selected picture one place down"));
    SortNameBtn->setToolTip(tr("Sorts the pictures by their file names"));
    OrderList->setToolTip(tr("The order of the pictures; double click shows one"));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(UpBtn);
    buttons->addWidget(DownBtn);
    buttons->addSpacing(16);
    buttons->addWidget(SortNameBtn);
    buttons->addStretch(1);
    auto *row = new QHBoxLayout(this);
    row->addWidget(OrderList, 1);
    row->addLayout(buttons);

    connect(UpBtn, &QPushButton::clicked, this, &SortPage::moveUp);
    connect(DownBtn, &QPushButton::clicked, this, &SortPage::moveDown);
    connect(SortNameBtn, &QPushButton::clicked, this, &SortPage::sortByName);
    connect(OrderList, &QListWidget::doubleClicked, this, &SortPage::showCurrentBig);
    new TEventHook(OrderList, [this](QEvent *e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        showCurrentBig();
        return true;
    });
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        if (what & ArrangementDocument::Change::Collection)
            listPictures();
    });
}

void SortPage::listPictures()
{
    OrderList->clear();
    for (const PictureEntry &entry : Doc.records().Pictures)
        OrderList->addItem(FileNamePart(entry.FileName));
    if (OrderList->count() > 0)
        OrderList->setCurrentRow(0);
}

void SortPage::moveUp()
{
    const int i = OrderList->currentRow();
    if (i >= 1 && Doc.swapPictures(i - 1, i, tr("Move upward")))
        OrderList->setCurrentRow(i - 1);
}

void SortPage::moveDown()
{
    const int i = OrderList->currentRow();
    if (i >= 0 && Doc.swapPictures(i, i + 1, tr("Move downward")))
        OrderList->setCurrentRow(i + 1);
}

void SortPage::sortByName() { Doc.sortPicturesByName(tr("Sort by names")); }

void SortPage::showCurrentBig()
{
    const int i = OrderList->currentRow();
    if (i >= 0 && i < Doc.records().PictureCount())
        Services.showCollectionPicture(i);
}
