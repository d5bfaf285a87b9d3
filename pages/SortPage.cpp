#include "pages/SortPage.h"

#include "document/Paths.h"
#include "pages/PageServices.h"
#include "platform/ActionButtons.h"
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
    OrderList->setObjectName(QStringLiteral("OrderList"));
    OrderList->setSelectionMode(QAbstractItemView::SingleSelection);
    UpBtn = new QPushButton(tr("Move upward"), this);
    DownBtn = new QPushButton(tr("Move downward"), this);
    SortNameBtn = new QPushButton(tr("Sort by names..."), this);
    BindButton(UpBtn, Services.action(Command::MoveUp));
    BindButton(DownBtn, Services.action(Command::MoveDown));
    BindButton(SortNameBtn, Services.action(Command::SortByName));
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

QStringList SortPage::listedNames() const
{
    QStringList names;
    for (int i = 0; i < OrderList->count(); ++i)
        names << OrderList->item(i)->text();
    return names;
}

int SortPage::currentPicture() const { return OrderList->currentRow(); }

void SortPage::setCurrentPicture(int row) { OrderList->setCurrentRow(row); }
