#include "pages/CollectionPage.h"

#include "browse/FolderViews.h"
#include "browse/ThumbGrid.h"
#include "browse/ThumbnailBrowser.h"
#include "browse/Favourites.h"
#include "document/Collection.h"
#include "document/DroppedFiles.h"
#include "document/Paths.h"
#include "output/PrintFUnit.h"
#include "pages/PageServices.h"
#include "picture/DrawDib.h"
#include "picture/OpenDib.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"
#include "platform/EventHook.h"
#include "platform/PaintBox.h"
#include "platform/Settings.h"

#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace {
bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }
} // namespace

CollectionPage::CollectionPage(ArrangementDocument &doc, PageServices &services, QWidget *parent)
    : QWidget(parent)
    , Doc(doc)
    , Services(services)
{
    Folders = new FolderViews(this, FavouritesFilePath());
    PageControl3 = new QTabWidget(this);
    TabSheet9 = new QWidget;
    TabSheet9->setObjectName(QStringLiteral("TabSheet9"));
    Grid = new ThumbGrid;
    PageControl3->addTab(TabSheet9, tr("File list"));
    PageControl3->addTab(Grid, tr("Picture browser"));
    Folders->JamShellList1->setParent(TabSheet9);
    DibPrevPaint = new TPaintBox(this);
    DibPrevPaint->setToolTip(tr("Shows a preview of the loaded picture"));
    DibPrevPaint->setMinimumSize(185, 140);
    ImageList = new QListWidget(this);
    ImageList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ImageList->setAcceptDrops(true);
    AddBtn = new QPushButton(tr("&Add file"), this);
    DelBtn = new QPushButton(tr("Delete"), this);
    ShowBtn = new QPushButton(tr("&Show big"), this);
    PrintBtn = new QPushButton(tr("Print..."), this);
    AddBtn->setToolTip(tr("Adds the selected files to the pictures"));
    DelBtn->setToolTip(tr("Removes the selected pictures and their placements (%1)")
                           .arg(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText)));
    ShowBtn->setToolTip(tr("Shows the selected picture in its own window"));
    PrintBtn->setToolTip(tr("Prints the selected picture on its own"));
    ImageList->setToolTip(tr("The pictures of the arrangement"));
    if (newdib(&PreviewDib, 320, 200, 24, nullptr, 0))
        std::memset(PreviewDib.Bits, 255, PreviewDib.Info->biSizeImage);
    layoutPage();
    connectSignals();
    UpdateListBox();
    Grid->Startbrowsing();
}

CollectionPage::~CollectionPage()
{
    Grid->EndBrowsing(); // no walk step may reach a destroyed page
    deldib(&PreviewDib);
}

void CollectionPage::layoutPage()
{
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("Favorite folders:"), this));
    left->addWidget(Folders->PrefListBox, 1);
    left->addWidget(Folders->JamShellTree1, 3);

    auto *fileList = new QVBoxLayout(TabSheet9);
    fileList->setContentsMargins(2, 2, 2, 2);
    fileList->addWidget(Folders->JamShellList1);

    auto *middle = new QVBoxLayout;
    middle->addWidget(PageControl3, 1);
    middle->addWidget(Folders->FilterComboBox1);

    auto *buttons = new QGridLayout;
    buttons->addWidget(AddBtn, 0, 0);
    buttons->addWidget(DelBtn, 0, 1);
    buttons->addWidget(ShowBtn, 1, 0);
    buttons->addWidget(PrintBtn, 1, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(tr("Preview:"), this));
    right->addWidget(DibPrevPaint, 2);
    right->addWidget(new QLabel(tr("Pictures:"), this));
    right->addWidget(ImageList, 3);
    right->addLayout(buttons);

    auto *row = new QHBoxLayout(this);
    row->addLayout(left, 3);
    row->addLayout(middle, 5);
    row->addLayout(right, 3);
}

void CollectionPage::connectSignals()
{
    connect(AddBtn, &QPushButton::clicked, this, &CollectionPage::AddBtnClick);
    connect(DelBtn, &QPushButton::clicked, this, &CollectionPage::DelBtnClick);
    connect(ShowBtn, &QPushButton::clicked, this, &CollectionPage::ShowBtnClick);
    connect(PrintBtn, &QPushButton::clicked, this, &CollectionPage::PrintBtnClick);
    connect(ImageList, &QListWidget::doubleClicked, this, &CollectionPage::ImageListDblClick);
    connect(PageControl3, &QTabWidget::currentChanged, this, &CollectionPage::PageControl3Change);
    connect(Folders, &FolderViews::folderChanging, this, &CollectionPage::JamShellTree1Changing);
    connect(Folders, &FolderViews::folderChanged, this, &CollectionPage::JamShellTree1Change);
    connect(Folders, &FolderViews::fileActivated, this, &CollectionPage::openfilenow);
    connect(Grid, &ThumbGrid::pictureChosen, this, &CollectionPage::OpenFromBrowser);
    // The browser walks on behind other tabs; its texts are for this one.
    connect(Grid, &ThumbGrid::statusText, this, [this](const QString &text) {
        if (isVisibleTo(window())) // the tab shown
            Services.showStatus(text);
    });
    connect(Grid, &ThumbGrid::progress, this, [this](int percent) { Services.showProgress(percent); });
    Grid->Browser->SelectedFolder = [this] { return Folders->JamShellTree1Path(); };
    Grid->Browser->TurnAsCamera = [this] { return Doc.turnAsCamera(); };
    DibPrevPaint->onPaint = [this](QPaintEvent *) { DibPrevPaintPaint(); };
    Folders->JamShellTree1->viewport()->setMouseTracking(true);
    new TEventHook(Folders->JamShellTree1->viewport(), [this](QEvent *e) {
        if (e->type() == QEvent::MouseMove)
            Grid->ShowThumbStatus();
        return false;
    });

    new TEventHook(ImageList, [this](QEvent *e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() == Qt::Key_Delete)
            DelBtnClick();
        else if (isEnter(key))
            ImageListDblClick();
        else
            return false;
        return true;
    });
    // Drags arrive at the list's viewport: files from outside first, then the
    // file list's own.
    new TEventHook(ImageList->viewport(), [this](QEvent *e) {
        if (e->type() != QEvent::DragEnter && e->type() != QEvent::DragMove && e->type() != QEvent::Drop)
            return false;
        auto *drop = static_cast<QDropEvent *>(e);
        if (!drop->source() && TakesDroppedFiles(drop->mimeData())) {
            drop->acceptProposedAction();
            if (e->type() == QEvent::Drop)
                DropFilesOnPictures(drop->mimeData());
            return true;
        }
        if (!ImageListDragOver(drop->source())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (e->type() == QEvent::Drop)
            ImageListDragDrop(drop->source());
        return true;
    });
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        if (what & ArrangementDocument::Change::Collection)
            UpdateListBox();
    });
}

QScrollArea *CollectionPage::wheelTarget() const
{
    return PageControl3->currentWidget() == Grid ? Grid->ScrollBox4 : nullptr;
}

// ---------------------------------------------------------------------------
// The collection

void CollectionPage::UpdateListBox()
{
    ImageList->clear();
    for (const PictureEntry &entry : Doc.records().Pictures)
        ImageList->addItem(FileNamePart(entry.FileName));
    const bool any = ImageList->count() > 0;
    DelBtn->setEnabled(any);
    ShowBtn->setEnabled(any);
    PrintBtn->setEnabled(any);
    if (any)
        ImageList->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
}

void CollectionPage::AddBtnClick()
{
    const QString folder = Folders->JamShellTree1Path();
    if (folder.isEmpty())
        return;
    QStringList files;
    for (const QString &name : Folders->JamShellList1SelectedFiles())
        files.append(JoinFolder(folder, name));
    const ArrangementDocument::AddResult added = Doc.addPictureFiles(files, tr("Add pictures"));
    ReportLoadFailures(Services.dialogParent(), added.Failed, added.Reasons);
    if (!added.Added.empty())
        Folders->AddToPrefFolders(folder);
}

void CollectionPage::OpenFromBrowser(const QString &name)
{
    const QString folder = Folders->JamShellTree1Path();
    const QString path = JoinFolder(folder, name);
    int index = -1;
    QString reason;
    {
        const auto step = Doc.step(tr("Add picture"));
        DecodedPicture picture = DecodeForCollection(path, DibFormatAuto, DisplayBox());
        if (!picture.Dib.Bits)
            reason = DibErrorText(picture.Dib);
        index = Doc.addDecodedPicture(path, std::move(picture));
    }
    if (index < 0)
        ReportLoadFailures(Services.dialogParent(), {path}, {reason});
    else if (!folder.isEmpty())
        Folders->AddToPrefFolders(folder);
}

void CollectionPage::openfilenow(const QString &path)
{
    DIB dib;
    OpenDib(&dib, path, 0, [this](int percent) { Services.showProgress(percent); });
    if (dib.Bits) {
        deldib(&PreviewDib);
        PreviewDib = dib;
        DibPrevPaint->repaint();
        PreviewFileName = path;
        return;
    }
    const MessageText message = PreviewErrorMessage(path, DibErrorText(dib));
    deldib(&dib);
    Dialogs::messageBox(Services.dialogParent(), message.Text, message.Caption, Dialogs::Icon::Error, Dialogs::Ok);
}

void CollectionPage::DelBtnClick()
{
    std::vector<int> chosen;
    for (int i = std::min(ImageList->count(), Doc.records().PictureCount()) - 1; i >= 0; --i)
        if (ImageList->item(i)->isSelected())
            chosen.push_back(i);
    Doc.deletePictures(chosen, tr("Delete pictures"));
}

void CollectionPage::ImageListDblClick()
{
    const int i = ImageList->currentRow();
    if (i >= 0 && i < Doc.records().PictureCount())
        openfilenow(Doc.records().Pictures[std::size_t(i)].FileName);
}

void CollectionPage::ShowPictureBig(int index)
{
    if (index < 0 || index >= Doc.records().PictureCount())
        return;
    ImageList->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    const QString fileName = Doc.records().Pictures[std::size_t(index)].FileName;
    if (PreviewFileName != fileName)
        openfilenow(fileName);
    if (PreviewFileName == fileName) {
        const DIB copy = PreviewDib;
        Services.showBig(copy, PreviewFileName);
    }
}

std::vector<int> CollectionPage::selectedPictures() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : ImageList->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CollectionPage::ShowBtnClick() { ShowPictureBig(ImageList->currentRow()); }

bool CollectionPage::ImageListDragOver(const QObject *source) const
{
    const QTreeView *list = Folders->JamShellList1;
    return source && (source == list || source == list->viewport());
}

void CollectionPage::ImageListDragDrop(const QObject *source)
{
    if (ImageListDragOver(source))
        AddBtnClick();
}

void CollectionPage::DropFilesOnPictures(const QMimeData *mime)
{
    const DroppedFiles files = SortDroppedFiles(mime);
    // An arrangement replaces everything, so pictures dropped with it would be lost.
    if (!files.Arrangement.isEmpty()) {
        Services.openArrangementAsked(files.Arrangement);
        return;
    }
    const ArrangementDocument::AddResult added = Doc.addPictureFiles(files.Pictures, tr("Add pictures"));
    ReportLoadFailures(Services.dialogParent(), added.Failed, added.Reasons);
}

void CollectionPage::PrintBtnClick()
{
    const int i = ImageList->currentRow();
    if (i < 0 || i >= Doc.records().PictureCount())
        return;
    const PictureEntry &entry = Doc.records().Pictures[std::size_t(i)];
    // As the pages print: a file changed since it was added is named, and the
    // picture prints as the screen shows it.
    DIB picture;
    if (entry.Reduced && !RecipeFileUnchanged(entry.Recipe)) {
        if (!AcceptChangedFiles(Services.dialogParent(), {entry.FileName}))
            return;
        picture = entry.Dib;
    } else {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        picture = Doc.records().Store.full(entry);
        QGuiApplication::restoreOverrideCursor();
        if (!picture.Bits)
            picture = entry.Dib;
    }
    PrintSinglePicture(Services.dialogParent(), Services.printer(), picture, tr("Snapgrid-Edge picture"),
                       [this](const QString &text) { Services.showStatus(text); });
}

// ---------------------------------------------------------------------------
// Folders, browser and preview

void CollectionPage::PageControl3Change()
{
    Grid->StopBrowsing(false);
    AddBtn->setEnabled(PageControl3->currentWidget() == TabSheet9);
    if (PageControl3->currentWidget() == Grid)
        Folders->JamShellTree1Change();
}

void CollectionPage::JamShellTree1Changing()
{
    if (Grid->Browser->Running())
        Grid->StopBrowsing(true);
}

void CollectionPage::JamShellTree1Change()
{
    if (PageControl3->currentWidget() == Grid)
        Grid->Startbrowsing(); // the new walk starts when a running one has ended
}

void CollectionPage::DibPrevPaintPaint()
{
    if (!PreviewDib.Bits)
        return;
    const int w = DibWidth(PreviewDib), h = DibHeight(PreviewDib);
    const QSize drawn = PreviewDrawSize(DibPrevPaint->size(), QSize(w, h));
    if (drawn.isEmpty())
        return;
    TDC dc(DibPrevPaint);
    DrawDib(dc, 0, 0, drawn.width(), drawn.height(), PreviewDib, 0, 0, w, h, true, SRCCOPY, true, HPALETTE());
}

void CollectionPage::loadSettings(const MainFormSettings &m)
{
    PageControl3->setCurrentWidget(m.ActivePage == QLatin1String("TabSheet9") ? TabSheet9 : Grid);
}

void CollectionPage::saveSettings(MainFormSettings &m) const
{
    m.ActivePage = PageControl3->currentWidget() == TabSheet9 ? QStringLiteral("TabSheet9")
                                                              : QStringLiteral("TabSheet10");
}
