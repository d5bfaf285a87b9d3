#include "pages/CollectionPage.h"

#include "browse/FolderViews.h"
#include "browse/ThumbGrid.h"
#include "browse/ThumbnailBrowser.h"
#include "browse/Favourites.h"
#include "document/Collection.h"
#include "document/DroppedFiles.h"
#include "document/Paths.h"
#include "output/SinglePrintDialog.h"
#include "pages/PageServices.h"
#include "picture/DrawDib.h"
#include "picture/OpenDib.h"
#include "platform/ActionButtons.h"
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
    createControls();
    layoutPage();
    connectSignals();
    listPictures();
    Grid->browseAfresh();
}

void CollectionPage::createControls()
{
    Folders = new FolderViews(this, FavouritesFilePath());
    SourceTabs = new QTabWidget(this);
    SourceTabs->setObjectName(QStringLiteral("SourceTabs"));
    FileListTab = new QWidget;
    FileListTab->setObjectName(QStringLiteral("FileList"));
    Grid = new ThumbGrid;
    SourceTabs->addTab(FileListTab, tr("File list"));
    SourceTabs->addTab(Grid, tr("Picture browser"));
    Folders->FileList->setParent(FileListTab);
    PreviewBox = new TPaintBox(this);
    PreviewBox->setObjectName(QStringLiteral("PreviewBox"));
    PreviewBox->setToolTip(tr("Shows a preview of the loaded picture"));
    PreviewBox->setMinimumSize(185, 140);
    PictureList = new QListWidget(this);
    PictureList->setObjectName(QStringLiteral("PictureList"));
    PictureList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PictureList->setAcceptDrops(true);
    AddBtn = new QPushButton(tr("&Add file"), this);
    DelBtn = new QPushButton(tr("Delete"), this);
    ShowBtn = new QPushButton(tr("&Show big"), this);
    PrintBtn = new QPushButton(tr("Print..."), this);
    BindButton(AddBtn, Services.action(Command::AddFiles));
    BindButton(DelBtn, Services.action(Command::DeletePictures));
    BindButton(ShowBtn, Services.action(Command::ShowPicture));
    BindButton(PrintBtn, Services.action(Command::PrintPicture));
    PictureList->setToolTip(tr("The pictures of the arrangement"));
    if (newdib(&PreviewDib, 320, 200, 24, nullptr, 0))
        std::memset(PreviewDib.Bits, 255, PreviewDib.Info->biSizeImage);
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
    left->addWidget(Folders->FavouritesList, 1);
    left->addWidget(Folders->FolderTree, 3);

    auto *fileList = new QVBoxLayout(FileListTab);
    fileList->setContentsMargins(2, 2, 2, 2);
    fileList->addWidget(Folders->FileList);

    auto *middle = new QVBoxLayout;
    middle->addWidget(SourceTabs, 1);
    middle->addWidget(Folders->FilterBox);

    auto *buttons = new QGridLayout;
    buttons->addWidget(AddBtn, 0, 0);
    buttons->addWidget(DelBtn, 0, 1);
    buttons->addWidget(ShowBtn, 1, 0);
    buttons->addWidget(PrintBtn, 1, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(tr("Preview:"), this));
    right->addWidget(PreviewBox, 2);
    right->addWidget(new QLabel(tr("Pictures:"), this));
    right->addWidget(PictureList, 3);
    right->addLayout(buttons);

    auto *row = new QHBoxLayout(this);
    row->addLayout(left, 3);
    row->addLayout(middle, 5);
    row->addLayout(right, 3);
}

void CollectionPage::connectSignals()
{
    connect(PictureList, &QListWidget::doubleClicked, this, &CollectionPage::previewCurrent);
    connect(SourceTabs, &QTabWidget::currentChanged, this, &CollectionPage::sourceTabChanged);
    connect(Folders, &FolderViews::folderChanging, this, &CollectionPage::beforeFolderChange);
    connect(Folders, &FolderViews::folderChanged, this, &CollectionPage::afterFolderChange);
    connect(Folders, &FolderViews::fileActivated, this, &CollectionPage::openForPreview);
    connect(Grid, &ThumbGrid::pictureChosen, this, &CollectionPage::addBrowserPicture);
    // The browser walks on behind other tabs; its texts are for this one.
    connect(Grid, &ThumbGrid::statusText, this, [this](const QString &text) {
        if (isVisibleTo(window())) // the tab shown
            Services.showStatus(text);
    });
    connect(Grid, &ThumbGrid::progress, this, [this](int percent) { Services.showProgress(percent); });
    Grid->Browser->SelectedFolder = [this] { return Folders->folderPath(); };
    Grid->Browser->TurnAsCamera = [this] { return Doc.turnAsCamera(); };
    PreviewBox->onPaint = [this](QPaintEvent *) { previewPaint(); };
    Folders->FolderTree->viewport()->setMouseTracking(true);
    new TEventHook(Folders->FolderTree->viewport(), [this](QEvent *e) {
        if (e->type() == QEvent::MouseMove)
            Grid->ShowThumbStatus();
        return false;
    });

    new TEventHook(PictureList, [this](QEvent *e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->key() == Qt::Key_Delete)
            Services.action(Command::DeletePictures)->trigger();
        else if (isEnter(key))
            previewCurrent();
        else
            return false;
        return true;
    });
    // Drags arrive at the list's viewport: files from outside first, then the
    // file list's own.
    new TEventHook(PictureList->viewport(), [this](QEvent *e) {
        if (e->type() != QEvent::DragEnter && e->type() != QEvent::DragMove && e->type() != QEvent::Drop)
            return false;
        auto *drop = static_cast<QDropEvent *>(e);
        if (!drop->source() && TakesDroppedFiles(drop->mimeData())) {
            drop->acceptProposedAction();
            if (e->type() == QEvent::Drop)
                dropFiles(drop->mimeData());
            return true;
        }
        if (!acceptsDrag(drop->source())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (e->type() == QEvent::Drop)
            dropFromFileList(drop->source());
        return true;
    });
    connect(&Doc, &ArrangementDocument::changed, this, [this](ArrangementDocument::Changes what) {
        if (what & ArrangementDocument::Change::Collection)
            listPictures();
    });
}

QScrollArea *CollectionPage::wheelTarget() const
{
    return SourceTabs->currentWidget() == Grid ? Grid->ScrollArea : nullptr;
}

// ---------------------------------------------------------------------------
// The collection

void CollectionPage::listPictures()
{
    PictureList->clear();
    for (const PictureEntry &entry : Doc.records().Pictures)
        PictureList->addItem(FileNamePart(entry.FileName));
    if (PictureList->count() > 0)
        PictureList->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
}

void CollectionPage::addSelectedFiles()
{
    const QString folder = Folders->folderPath();
    if (folder.isEmpty())
        return;
    QStringList files;
    for (const QString &name : Folders->selectedFiles())
        files.append(JoinFolder(folder, name));
    const ArrangementDocument::AddResult added = Doc.addPictureFiles(files, tr("Add pictures"));
    ReportLoadFailures(Services.dialogParent(), added.Failed, added.Reasons);
    if (!added.Added.empty())
        Folders->addFavourite(folder);
}

void CollectionPage::addBrowserPicture(const QString &name)
{
    const QString folder = Folders->folderPath();
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
        Folders->addFavourite(folder);
}

void CollectionPage::openForPreview(const QString &path)
{
    DIB dib;
    OpenDib(&dib, path, 0, [this](int percent) { Services.showProgress(percent); });
    if (dib.Bits) {
        deldib(&PreviewDib);
        PreviewDib = dib;
        PreviewBox->repaint();
        PreviewFileName = path;
        return;
    }
    const MessageText message = PreviewErrorMessage(path, DibErrorText(dib));
    deldib(&dib);
    Dialogs::messageBox(Services.dialogParent(), message.Text, message.Caption, Dialogs::Icon::Error, Dialogs::Ok);
}

void CollectionPage::deleteSelectedPictures()
{
    std::vector<int> chosen;
    for (int i = std::min(PictureList->count(), Doc.records().PictureCount()) - 1; i >= 0; --i)
        if (PictureList->item(i)->isSelected())
            chosen.push_back(i);
    Doc.deletePictures(chosen, tr("Delete pictures"));
}

void CollectionPage::previewCurrent()
{
    const int i = PictureList->currentRow();
    if (i >= 0 && i < Doc.records().PictureCount())
        openForPreview(Doc.records().Pictures[std::size_t(i)].FileName);
}

void CollectionPage::showPictureBig(int index)
{
    if (index < 0 || index >= Doc.records().PictureCount())
        return;
    PictureList->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    const QString fileName = Doc.records().Pictures[std::size_t(index)].FileName;
    if (PreviewFileName != fileName)
        openForPreview(fileName);
    if (PreviewFileName == fileName) {
        const DIB copy = PreviewDib;
        Services.showBig(copy, PreviewFileName);
    }
}

std::vector<int> CollectionPage::selectedPictures() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : PictureList->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CollectionPage::showCurrentBig() { showPictureBig(PictureList->currentRow()); }

bool CollectionPage::showsFileList() const { return SourceTabs->currentWidget() == FileListTab; }

void CollectionPage::showFileList(bool list) { SourceTabs->setCurrentWidget(list ? FileListTab : Grid); }

QStringList CollectionPage::listedNames() const
{
    QStringList names;
    for (int i = 0; i < PictureList->count(); ++i)
        names << PictureList->item(i)->text();
    return names;
}

int CollectionPage::currentPicture() const { return PictureList->currentRow(); }

void CollectionPage::setCurrentPicture(int row) { PictureList->setCurrentRow(row); }

void CollectionPage::selectPictures(const std::vector<int> &rows)
{
    PictureList->clearSelection();
    for (int row : rows)
        if (QListWidgetItem *item = PictureList->item(row))
            item->setSelected(true);
}

bool CollectionPage::acceptsDrag(const QObject *source) const
{
    const QTreeView *list = Folders->FileList;
    return source && (source == list || source == list->viewport());
}

void CollectionPage::dropFromFileList(const QObject *source)
{
    if (acceptsDrag(source))
        addSelectedFiles();
}

void CollectionPage::dropFiles(const QMimeData *mime)
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

void CollectionPage::printCurrentPicture()
{
    const int i = PictureList->currentRow();
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

void CollectionPage::sourceTabChanged()
{
    Grid->StopBrowsing(false);
    if (SourceTabs->currentWidget() == Grid)
        Folders->showFolderFiles();
    emit filePageChanged();
}

void CollectionPage::beforeFolderChange()
{
    if (Grid->Browser->Running())
        Grid->StopBrowsing(true);
}

void CollectionPage::afterFolderChange()
{
    if (SourceTabs->currentWidget() == Grid)
        Grid->browseAfresh(); // the new walk starts when a running one has ended
}

void CollectionPage::previewPaint()
{
    if (!PreviewDib.Bits)
        return;
    const int w = DibWidth(PreviewDib), h = DibHeight(PreviewDib);
    const QSize drawn = PreviewDrawSize(PreviewBox->size(), QSize(w, h));
    if (drawn.isEmpty())
        return;
    TDC dc(PreviewBox);
    DrawDib(dc, 0, 0, drawn.width(), drawn.height(), PreviewDib, 0, 0, w, h, true, SRCCOPY, true, HPALETTE());
}

void CollectionPage::loadSettings(const MainFormSettings &m)
{
    SourceTabs->setCurrentWidget(m.FilesShownIn == MainFormSettings::FilePage::FileList ? FileListTab : Grid);
}

void CollectionPage::saveSettings(MainFormSettings &m) const
{
    m.FilesShownIn = SourceTabs->currentWidget() == FileListTab ? MainFormSettings::FilePage::FileList
                                                                : MainFormSettings::FilePage::PictureBrowser;
}
