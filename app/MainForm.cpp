// The main window's construction: the tool bar, the four pages, the bottom bar
// and the status bar; start-up and shutdown, the title, the closing question,
// the wheel routing and the image buttons.
#include "app/MainUnit.h"

#include "app/AboutBoxUnit.h"
#include "app/HeldDrops.h"
#include "arrange/ArrangeCanvas.h"
#include "arrange/PictureStrip.h"
#include "browse/ThumbGrid.h"
#include "document/Paths.h"
#include "output/PrintColour.h"
#include "output/PictureViewer.h"
#include "platform/ActionButtons.h"
#include "platform/Artwork.h"
#include "platform/Dialogs.h"
#include "platform/ImageButton.h"
#include "platform/KeyGate.h"
#include "platform/Printer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <initializer_list>

QString MainTitle(const QString &fileName, bool modified)
{
    const QString name = fileName.isEmpty() ? QStringLiteral("Noname.sga") : FileNamePart(fileName);
    return QStringLiteral("%1 - [%2%3]").arg(QLatin1String(ProductTitle), name, modified ? QStringLiteral("*") : QString());
}

void SetApplicationNames() { QApplication::setApplicationName(QStringLiteral("snapgrid-atlas")); }

QString ProgramFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// ---------------------------------------------------------------------------
// Construction

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
    , OwnPrinter(std::make_unique<TPrinter>())
    , Proof(std::make_unique<SoftProofView>())
{
    Doc = new ArrangementDocument(this);
    createActions();
    createControls();
    layoutWindow();
    connectSignals();
    placeKeys();
    showTitle();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    CollectionTab->grid().EndBrowsing(); // no walk step may reach a destroyed window
    // The pages go before the document they show.
    delete PageControl2;
    PageControl2 = nullptr;
}

void TMainForm::createControls()
{
    setWindowIcon(ProgramIcon());
    HeldDrops = new THeldDrops(this, [this] { return Doc->busy(); });
    Services.DialogParent = this;
    Services.Keys = Keys;
    Services.PagePrinter = OwnPrinter.get();
    Services.Proof = Proof.get();
    Services.StatusHook = [this](const QString &text) { StatusText->setText(text); };
    Services.ProgressHook = [this](int percent) { WMUser(percent, 0); };
    Services.ScreenDpiXHook = [this] { return screenDpiX(); };
    Services.ScreenDpiYHook = [this] { return screenDpiY(); };
    Services.ShowBigHook = [this](const DIB &dib, const QString &fileName) {
        if (ShowBigHandler)
            ShowBigHandler(dib, fileName);
    };
    Services.CollectionPictureHook = [this](int index) { CollectionTab->showPictureBig(index); };
    Services.OpenArrangementHook = [this](const QString &path) { Files->OpenArrangementAsked(path); };
    Services.SelectedPicturesHook = [this] { return CollectionTab->selectedPictures(); };
    Files = new FileCommands(*Doc, Services, this);
    Recovery = std::make_unique<RecoveryKeeper>(*Doc);

    ToolBar1 = new QToolBar(tr("Tools"), this);
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto toolButton = [this](Command command) {
        auto *b = new QToolButton(ToolBar1);
        b->setDefaultAction(Actions->action(command));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        ToolBar1->addWidget(b);
        return b;
    };
    NewBtn = toolButton(Command::New);
    OpenBtn = toolButton(Command::Open);
    SaveBtn = toolButton(Command::Save);
    SaveAsBtn = toolButton(Command::SaveAs);
    ToolBar1->addSeparator();
    ToolBar1->addAction(Actions->action(Command::Undo));
    ToolBar1->addAction(Actions->action(Command::Redo));
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(true);
    StatusText = new QLabel(StatusBar1);
    StatusText->setMinimumWidth(350); // grows for the size info text
    ProgressPanel = new TProgressPanel(StatusBar1);
    StatusBar1->addWidget(StatusText);
    StatusBar1->addWidget(ProgressPanel);
    setStatusBar(StatusBar1);

    PageControl2 = new QTabWidget(this);
    CollectionTab = new CollectionPage(*Doc, Services);
    SortTab = new SortPage(*Doc, Services);
    ArrangeTab = new ArrangePage(*Doc, Services);
    PrintTab = new PrintPage(*Doc, Services);
    PageControl2->addTab(CollectionTab, tr("Add picture"));
    PageControl2->addTab(SortTab, tr("Sort"));
    PageControl2->addTab(ArrangeTab, tr("Arrange"));
    PageControl2->addTab(PrintTab, tr("Print/Save as image"));
    Viewer = new PictureViewer(this);
    Viewer->ShowStatus = Services.StatusHook;
    Viewer->Printer = OwnPrinter.get();
    ShowBigHandler = [this](const DIB &dib, const QString &fileName) { Viewer->showPicture(dib, fileName); };

    HomeBtn = new QPushButton(tr("Home page"), this);
    BindButton(HomeBtn, Actions->action(Command::HomePage));
    ueberbtn = new TImageButton(ButtonPixmap(ButtonArt::About, false), this);
    ueberBtn2 = new TImageButton(ButtonPixmap(ButtonArt::About, true), this);
    EndeBtn = new TImageButton(ButtonPixmap(ButtonArt::Quit, false), this);
    EndeBtnDown = new TImageButton(ButtonPixmap(ButtonArt::Quit, true), this);
}

void TMainForm::layoutWindow()
{
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(HomeBtn);
    bottom->addStretch(1);
    auto *aboutPair = new QGridLayout;
    aboutPair->addWidget(ueberbtn, 0, 0);
    aboutPair->addWidget(ueberBtn2, 0, 0);
    auto *quitPair = new QGridLayout;
    quitPair->addWidget(EndeBtn, 0, 0);
    quitPair->addWidget(EndeBtnDown, 0, 0);
    bottom->addLayout(aboutPair);
    bottom->addLayout(quitPair);
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 2);
    column->addWidget(PageControl2, 1);
    column->addLayout(bottom);
    setCentralWidget(central);
    // Roomy, but within the screen: a scaled screen has few units to give.
    QSize first(1280, 860);
    if (const QScreen *shown = screen()) {
        const QSize frame(16, 48); // border and title bar, not known before the first show
        first = first.boundedTo(shown->availableGeometry().size() - frame);
    }
    resize(first.expandedTo(minimumSizeHint()));
}

void TMainForm::connectSignals()
{
    ueberbtn->setPressedLook(ueberBtn2);
    EndeBtn->setPressedLook(EndeBtnDown);
    EndeBtn->onMouseDown = [this](QMouseEvent *e) { EndeBtnMouseDown(e); };
    EndeBtn->onMouseMove = [this](QMouseEvent *e) { EndeBtnMouseMove(e); };
    EndeBtn->onMouseUp = [this](QMouseEvent *e) { EndeBtnMouseUp(e); };
    ueberbtn->onMouseDown = [this](QMouseEvent *e) { ueberbtnMouseDown(e); };
    ueberbtn->onMouseMove = [this](QMouseEvent *e) { ueberbtnMouseMove(e); };
    ueberbtn->onMouseUp = [this](QMouseEvent *e) { ueberbtnMouseUp(e); };
    FollowAction(EndeBtn, Actions->action(Command::Quit));
    FollowAction(ueberbtn, Actions->action(Command::About));
    connect(Doc, &ArrangementDocument::progress, this, &TMainForm::SetProStatus);
    connect(Doc, &ArrangementDocument::fileNameChanged, this, [this](const QString &name) {
        showTitle();
        AddRecentFile(name);
    });
    connect(Doc, &ArrangementDocument::modifiedChanged, this, &TMainForm::showTitle);
    // A tab's status text is its own: the next tab starts clear.
    connect(PageControl2, &QTabWidget::currentChanged, this, [this] {
        StatusText->clear();
        if (PageControl2->currentWidget() == ArrangeTab)
            ArrangeTab->showSizeInfo();
    });
    // After the load's own messages, never inside the load.
    connect(Doc, &ArrangementDocument::idle, HeldDrops, &THeldDrops::release, Qt::QueuedConnection);
    HeldDrops->OnHeld = [this] { StatusText->setText(tr("Dropped files wait until loading ends.")); };
    HeldDrops->Deliver = [this](const QMimeData *mime) { Files->DropFilesOnWindow(mime); };
    setAcceptDrops(true);
    UpdateRecentMenu();
    qApp->installEventFilter(this);
}

// ---------------------------------------------------------------------------
// Closing, title, status bar

bool TMainForm::FormCloseQuery()
{
    return Files->MayLeaveWork(tr("If you quit now all data not saved will be lost!"), tr("Quit program"));
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    CollectionTab->grid().StopBrowsing(false);
    SaveSettings();
    event->accept();
}

void TMainForm::Setsavedfilename(const QString &fileName) { Doc->setFileName(fileName); }

void TMainForm::OfferRecovery()
{
    Files->OfferRecovery(RecoveryFolder(), [this] {
        Recovery->writeNow();
        Recovery->waitForWrites();
    });
}

void TMainForm::showTitle() { setWindowTitle(MainTitle(Doc->fileName(), Doc->isModified())); }

void TMainForm::WMUser(long long wParam, long long) { SetProStatus(int(wParam)); }

void TMainForm::SetProStatus(int percent) { ProgressPanel->SetProStatus(percent); }

void TMainForm::showTab(Tab tab) { PageControl2->setCurrentIndex(int(tab)); }

TMainForm::Tab TMainForm::shownTab() const { return Tab(PageControl2->currentIndex()); }

QString TMainForm::statusText() const { return StatusText->text(); }

int TMainForm::progressPercent() const { return ProgressPanel->ProgressPercent; }

QList<QAction *> TMainForm::recentFileActions() const
{
    return RecentMenu ? RecentMenu->actions() : QList<QAction *>();
}

int TMainForm::screenDpiX() const { return ScreenDpiOverride > 0 ? ScreenDpiOverride : logicalDpiX(); }
int TMainForm::screenDpiY() const { return ScreenDpiOverride > 0 ? ScreenDpiOverride : logicalDpiY(); }

void TMainForm::UpdateListBox()
{
    CollectionTab->listPictures();
    SortTab->listPictures();
}

// ---------------------------------------------------------------------------
// Keyboard, wheel and image buttons

void TMainForm::keyPressEvent(QKeyEvent *event) { FormKeyDown(event); }

void TMainForm::FormKeyDown(QKeyEvent *)
{
    // Only keys of the active window that no control holds the focus for;
    // keys a control ignored also end up here and must not add a picture.
    const QWidget *focus = QApplication::focusWidget();
    if (isActiveWindow() && (!focus || focus == this) && Keys->forWindow())
        PaintBox4DblClick();
}

void TMainForm::PaintBox4DblClick() { CollectionTab->grid().choosePicture(); }

QScrollArea *TMainForm::wheelTarget() const
{
    const QWidget *tab = PageControl2->currentWidget();
    if (tab == CollectionTab)
        return CollectionTab->wheelTarget();
    if (tab == ArrangeTab)
        return ArrangeTab->wheelTarget();
    if (tab == PrintTab)
        return &PrintTab->preview();
    return nullptr;
}

namespace {
// Whether a wheel turn over `w` is for a control that scrolls itself (a list,
// tree, edit, spin or combo box, or any part of one, its scroll bars included)
// rather than for the window: `views` are the window's own scroll areas.
bool ScrollsItself(const QWidget *w, std::initializer_list<const QWidget *> views)
{
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        if (std::find(views.begin(), views.end(), w) != views.end())
            return false;
        if (qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
            qobject_cast<const QComboBox *>(w))
            return true;
    }
    return false;
}

// The window's own scroll area the mouse is over, or nullptr.
QScrollArea *ViewUnder(const QWidget *w, std::initializer_list<QScrollArea *> views)
{
    for (; w && !w->isWindow(); w = w->parentWidget())
        for (QScrollArea *view : views)
            if (view == w)
                return view;
    return nullptr;
}
} // namespace

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && isActiveWindow()) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            // Decided by what lies under the mouse, not by the receiver: a list
            // passes the turn on to its scroll bar, and one at its end passes it
            // up to its parents; both stay the list's.
            const QPointF global = static_cast<QWheelEvent *>(event)->globalPosition();
            const QWidget *under = childAt(mapFromGlobal(global).toPoint());
            const bool ownWheel =
                ScrollsItself(under ? under : widget, {ArrangeTab->strip().ScrollArea, ArrangeTab->canvas().ScrollArea,
                                                       &PrintTab->preview(), CollectionTab->grid().ScrollArea})
                || (under == ArrangeTab->canvas().ViewBox && ArrangeTab->viewTakesWheel());
            if (!ownWheel) {
                // The strip scrolls itself under the mouse; elsewhere the tab's main view.
                QScrollArea *area = ViewUnder(under, {ArrangeTab->strip().ScrollArea});
                if (!area)
                    area = wheelTarget();
                if (area) {
                    const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
                    QScrollBar *bar = area->verticalScrollBar();
                    if (delta < 0)
                        bar->setValue(bar->value() + 20);
                    else if (delta > 0)
                        bar->setValue(bar->value() - 20);
                }
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::EndeBtnMouseDown(QMouseEvent *) { EndeBtn->press(); }
void TMainForm::EndeBtnMouseMove(QMouseEvent *e) { EndeBtn->track(e); }
void TMainForm::EndeBtnMouseUp(QMouseEvent *e)
{
    if (EndeBtn->release(e))
        Actions->action(Command::Quit)->trigger();
}

void TMainForm::ueberbtnMouseDown(QMouseEvent *) { ueberbtn->press(); }
void TMainForm::ueberbtnMouseMove(QMouseEvent *e) { ueberbtn->track(e); }
void TMainForm::ueberbtnMouseUp(QMouseEvent *e)
{
    if (ueberbtn->release(e))
        Actions->action(Command::About)->trigger();
}

void TMainForm::showAbout()
{
    TAboutBox box(this);
    Dialogs::execDialog(&box);
}

void TMainForm::HomeBtnClick() { QDesktopServices::openUrl(QUrl(HomePageUrl())); }
