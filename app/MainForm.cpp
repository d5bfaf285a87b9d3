// The main window's construction: controls, layout of the four tabs, signal
// wiring, start-up and shutdown, the title, the status bar and its progress bar,
// the closing question, the wheel routing and the image buttons.
#include "app/MainUnit.h"

#include "app/AboutBoxUnit.h"
#include "app/Artwork.h"
#include "arrange/ArrangeView.h"
#include "arrange/Editing.h"
#include "arrange/KoordFUnit.h"
#include "browse/Favourites.h"
#include "browse/FileFilter.h"
#include "document/UndoCommands.h"
#include "platform/ColorBox.h"
#include "platform/Dialogs.h"
#include "platform/ImageButton.h"
#include "platform/KeyGate.h"
#include "platform/PaintBox.h"
#include "platform/WMUser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>

// ---------------------------------------------------------------------------
// Free rules

QString MainTitle(const QString &fileName, bool modified)
{
    const QString name = fileName.isEmpty() ? QStringLiteral("Noname.sga") : FileNamePart(fileName);
    return QStringLiteral("%1 - [%2%3]").arg(QLatin1String(ProductTitle), name, modified ? QStringLiteral("*") : QString());
}

void SetApplicationNames() { QApplication::setApplicationName(QStringLiteral("snapgrid-atlas")); }

QRect ProgressBarRect(const QRect &panel, int percent)
{
    const int left = panel.left();
    const int right = panel.left() + panel.width(); // exclusive, as the panel's right edge
    return QRect(QPoint(left, panel.top()), QPoint(left + (right - left) * percent / 100 - 1, panel.bottom()));
}

namespace {
QSpinBox *intEdit(QWidget *parent, int min, int max, int step, int value)
{
    auto *e = new QSpinBox(parent);
    e->setRange(min, max);
    e->setSingleStep(step);
    e->setValue(value);
    e->setKeyboardTracking(true);
    return e;
}

QDoubleSpinBox *floatEdit(QWidget *parent, double min, double max, double step, double value)
{
    auto *e = new QDoubleSpinBox(parent);
    e->setDecimals(2);
    e->setRange(min, max);
    e->setSingleStep(step);
    e->setValue(value);
    return e;
}

QLabel *label(const QString &text, QWidget *parent) { return new QLabel(text, parent); }

QScrollArea *scrollBox(QWidget *content, QWidget *parent)
{
    auto *box = new QScrollArea(parent);
    box->setWidget(content);
    box->setWidgetResizable(false);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Grey behind the page, as on a workspace.
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    box->setPalette(pal);
    box->setBackgroundRole(QPalette::Window);
    box->setAutoFillBackground(true);
    return box;
}
} // namespace

// ---------------------------------------------------------------------------
// Construction

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
{
    createControls();
    layoutTabs();
    connectSignals();
    FormCreate();
}

TMainForm::~TMainForm() { FormDestroy(); }

void TMainForm::createControls()
{
    setWindowIcon(ProgramIcon());

    ToolBar1 = new QToolBar(tr("Tools"), this);
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto toolButton = [this](const QString &text, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(ToolBar1);
        b->setText(text);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        ToolBar1->addWidget(b);
        return b;
    };
    NewBtn = toolButton(tr("&New"), QStyle::SP_FileIcon);
    OpenBtn = toolButton(tr("Open..."), QStyle::SP_DialogOpenButton);
    SaveBtn = toolButton(tr("Save"), QStyle::SP_DialogSaveButton);
    SaveAsBtn = toolButton(tr("Save as..."), QStyle::SP_DriveFDIcon);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    createUndo();
    Keys = new TKeyGate(this);

    PageControl2 = new QTabWidget(this);
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet3 = new QWidget;
    TabSheet4 = new QWidget;
    PageControl2->addTab(TabSheet1, tr("Add picture"));
    PageControl2->addTab(TabSheet2, tr("Sort"));
    PageControl2->addTab(TabSheet3, tr("Arrange"));
    PageControl2->addTab(TabSheet4, tr("Print/Save as image"));

    // "Add picture"
    PrefListBox = new QListWidget(TabSheet1);
    JamShellTree1 = new QTreeView(TabSheet1);
    PageControl3 = new QTabWidget(TabSheet1);
    TabSheet9 = new QWidget;
    TabSheet10 = new QWidget;
    TabSheet9->setObjectName(QStringLiteral("TabSheet9"));
    TabSheet10->setObjectName(QStringLiteral("TabSheet10"));
    PageControl3->addTab(TabSheet9, tr("File list"));
    PageControl3->addTab(TabSheet10, tr("Picture browser"));
    JamShellList1 = new QTreeView(TabSheet9);
    JamShellList1->setRootIsDecorated(false);
    JamShellList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    JamShellList1->setDragEnabled(true);
    PaintBox4 = new TPaintBox;
    PaintBox4->setFocusPolicy(Qt::NoFocus);
    ScrollBox4 = new QScrollArea(TabSheet10);
    ScrollBox4->setWidget(PaintBox4);
    ScrollBox4->setWidgetResizable(false);
    ScrollBox4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Shown from the start, so the grid keeps its columns while a walk fills
    // it instead of being laid out and drawn anew when the bar appears.
    ScrollBox4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    KeyEdit = new QLineEdit(TabSheet10);
    KeyEdit->setReadOnly(true);
    KeyEdit->setFixedSize(1, 1); // only holds the keyboard focus for the browser
    FilterComboBox1 = new QComboBox(TabSheet1);
    FilterComboBox1->setToolTip(tr("Here you can select the displayed file types"));
    DibPrevPaint = new TPaintBox(TabSheet1);
    DibPrevPaint->setToolTip(tr("Shows a preview of the loaded picture"));
    DibPrevPaint->setMinimumSize(185, 140);
    ImageList = new QListWidget(TabSheet1);
    ImageList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ImageList->setAcceptDrops(true);
    AddBtn = new QPushButton(tr("&Add file"), TabSheet1);
    DelBtn = new QPushButton(tr("Delete"), TabSheet1);
    ShowBtn = new QPushButton(tr("&Show big"), TabSheet1);
    PrintBtn = new QPushButton(tr("Print..."), TabSheet1);

    // "Sort"
    SortBox = new QListWidget(TabSheet2);
    SortBox->setSelectionMode(QAbstractItemView::SingleSelection);
    UpNow = new QPushButton(tr("Move upward"), TabSheet2);
    DownNow = new QPushButton(tr("Move downward"), TabSheet2);
    SortNameBtn = new QPushButton(tr("Sort by names..."), TabSheet2);

    // "Arrange"
    PaintBox1 = new TPaintBox;
    ScrollBox1 = scrollBox(PaintBox1, TabSheet3);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->setFixedWidth(130);
    ScrollBox1->verticalScrollBar()->setSingleStep(150);
    PaintBox2 = new TPaintBox;
    PaintBox2->setAcceptDrops(true);
    ScrollBox2 = scrollBox(PaintBox2, TabSheet3);
    Overtakeall = new QPushButton(tr("&Add all pictures..."), TabSheet3);
    OrdeneBtn = new QPushButton(tr("Arrange &automatically..."), TabSheet3);
    OrdeneBtn->setToolTip(tr("Arranges all pictures on the sheet automatically"));
    ZoomEd = intEdit(TabSheet3, 10, 9000, 10, 25);
    PageCountED = intEdit(TabSheet3, 1, 1000, 1, 1);
    APageEd = intEdit(TabSheet3, 1, 1000, 1, 1);
    PageControl1 = new QTabWidget(TabSheet3);
    TabSheet5 = new QWidget;
    TabSheet6 = new QWidget;
    TabSheet7 = new QWidget;
    TabSheet8 = new QWidget;
    PageControl1->addTab(TabSheet5, tr("Arrange photos"));
    PageControl1->addTab(TabSheet6, tr("Options"));
    PageControl1->addTab(TabSheet7, tr("Font settings"));
    PageControl1->addTab(TabSheet8, tr("Picture settings"));
    FreeText = new QLineEdit(TabSheet5);
    // The file stores captions of any length; the edit's default limit would cut them.
    FreeText->setMaxLength(std::numeric_limits<int>::max());
    CutCheck = new QCheckBox(tr("Fit in/cut picture"), TabSheet5);
    RotLeftBtn = new QPushButton(tr("Rotate to the &left..."), TabSheet5);
    RotRightBtn = new QPushButton(tr("Rotate to the &right..."), TabSheet5);
    HellKonBtn = new QPushButton(tr("Brightness, contrast..."), TabSheet5);
    DelitBtn = new QPushButton(tr("&Delete..."), TabSheet5);
    ShowBigBtn = new QPushButton(tr("&Show big"), TabSheet5);
    ChangePosSizeBtn = new QPushButton(tr("&Size and position..."), TabSheet5);
    RandEd = floatEdit(TabSheet6, 0, 100, 1, 15);
    RandEDin = floatEdit(TabSheet6, 0, 100, 0.1, 0);
    SpaceED = floatEdit(TabSheet6, 0, 100, 1, 5);
    SpaceEdin = floatEdit(TabSheet6, 0, 100, 0.1, 0);
    UseGridCheck = new QCheckBox(tr("Align pics to grid"), TabSheet6);
    UseGridCheck->setChecked(true);
    ShowGridCheck = new QCheckBox(tr("Show grid"), TabSheet6);
    GridEd = floatEdit(TabSheet6, 0.01, 100, 1, 5);
    GridEDin = floatEdit(TabSheet6, 0.01, 100, 0.1, 0.01);
    DBreiteED = floatEdit(TabSheet6, 0, 1000, 1, 130);
    DBreiteEdin = floatEdit(TabSheet6, 0, 1000, 0.1, 0);
    DHocheED = floatEdit(TabSheet6, 0, 1000, 1, 100);
    DHocheEdin = floatEdit(TabSheet6, 0, 1000, 0.1, 0);
    TurnCameraCheck = new QCheckBox(tr("Turn pictures as the camera recorded"), TabSheet6);
    TurnCameraCheck->setChecked(true);
    PictureMemoryEd = new QSpinBox(TabSheet6);
    PictureMemoryEd->setRange(64, 65536);
    PictureMemoryEd->setSuffix(QStringLiteral(" MB"));
    PictureMemoryEd->setValue(int(PictureStore::DefaultBudget() >> 20));
    ShowFNames = new QCheckBox(tr("If there is no text then show file name"), TabSheet7);
    TranspCheck = new QCheckBox(tr("Transparent font background"), TabSheet7);
    BkColBox = new TColorBox(TabSheet7);
    BkColBox->setSelected(std::int32_t(RGB(255, 255, 255)));
    FontBtn = new QPushButton(tr("Choose font"), TabSheet7);
    SverhCheck = new QCheckBox(tr("Maintain aspect ratio"), TabSheet8);
    SverhCheck->setChecked(true);
    CutDefault = new QCheckBox(tr("Fit in/cut pictures as default"), TabSheet8);
    EnhanceQualCheck = new QCheckBox(tr("Enlarge pictures the reach at least a min. quality"), TabSheet8);
    EnhanceQualCheck->setChecked(true);
    MinQualEd = intEdit(TabSheet8, 10, 300, 1, 72);

    BildPopup = new QMenu(this);
    Nachlinksrotieren901 = BildPopup->addAction(tr("Rotate to the &left (90°)..."));
    Nachrechtsrotieren901 = BildPopup->addAction(tr("Rotate to the &right (90°)..."));
    BildPopup->addSeparator();
    Lschen1 = BildPopup->addAction(tr("&Delete..."));
    BildPopup->addSeparator();
    HelligkeitKontrastundSttigung1 = BildPopup->addAction(tr("Brightness, contrast and saturation..."));

    // "Print/Save as image"
    PaintBox3 = new TPaintBox;
    PaintBox3->setCursor(Qt::OpenHandCursor);
    PaintBox3->setToolTip(tr("1:1 preview of the printout"));
    ScrollBox3 = scrollBox(PaintBox3, TabSheet4);
    GoBtn1 = new TImageButton(ButtonPixmap(ButtonArt::Print, false), TabSheet4);
    GoBtn1->setToolTip(tr("Starting the print process..."));
    GoBtn1Down = new TImageButton(ButtonPixmap(ButtonArt::Print, true), TabSheet4);
    SetupBtn = new TImageButton(ButtonPixmap(ButtonArt::Setup, false), TabSheet4);
    SetupBtn->setToolTip(tr("Click here, in order to select another printer or another paper format"));
    SetupBtnDown = new TImageButton(ButtonPixmap(ButtonArt::Setup, true), TabSheet4);
    SaveBitBtn = new QPushButton(tr("Save as image..."), TabSheet4);
    BitDPIED = intEdit(TabSheet4, 10, 600, 10, 150);
    APageEd2 = intEdit(TabSheet4, 1, 1000, 1, 1);

    // Bottom bar and status bar
    HomeBtn = new QPushButton(tr("Home page"), this);
    ueberbtn = new TImageButton(ButtonPixmap(ButtonArt::About, false), this);
    ueberbtn->setToolTip(tr("About"));
    ueberBtn2 = new TImageButton(ButtonPixmap(ButtonArt::About, true), this);
    EndeBtn = new TImageButton(ButtonPixmap(ButtonArt::Quit, false), this);
    EndeBtn->setToolTip(tr("Quit"));
    EndeBtnDown = new TImageButton(ButtonPixmap(ButtonArt::Quit, true), this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(true);
    StatusText = new QLabel(StatusBar1);
    StatusText->setMinimumWidth(350); // grows for the size info text
    ProgressPanel = new TPaintBox(StatusBar1);
    ProgressPanel->setFixedWidth(50);
    StatusBar1->addWidget(StatusText);
    StatusBar1->addWidget(ProgressPanel);
    setStatusBar(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);
    createToolTips();
}

void TMainForm::layoutTabs()
{
    // "Add picture": favourites and tree | file views with filter | preview and collection
    {
        auto *left = new QVBoxLayout;
        left->addWidget(label(tr("Favorite folders:"), TabSheet1));
        left->addWidget(PrefListBox, 1);
        left->addWidget(JamShellTree1, 3);

        auto *fileList = new QVBoxLayout(TabSheet9);
        fileList->setContentsMargins(2, 2, 2, 2);
        fileList->addWidget(JamShellList1);
        auto *browser = new QVBoxLayout(TabSheet10);
        browser->setContentsMargins(2, 2, 2, 2);
        browser->setSpacing(0);
        browser->addWidget(ScrollBox4, 1);
        browser->addWidget(KeyEdit);

        auto *middle = new QVBoxLayout;
        middle->addWidget(PageControl3, 1);
        middle->addWidget(FilterComboBox1);

        auto *buttons = new QGridLayout;
        buttons->addWidget(AddBtn, 0, 0);
        buttons->addWidget(DelBtn, 0, 1);
        buttons->addWidget(ShowBtn, 1, 0);
        buttons->addWidget(PrintBtn, 1, 1);
        auto *right = new QVBoxLayout;
        right->addWidget(label(tr("Preview:"), TabSheet1));
        right->addWidget(DibPrevPaint, 2);
        right->addWidget(label(tr("Pictures:"), TabSheet1));
        right->addWidget(ImageList, 3);
        right->addLayout(buttons);

        auto *row = new QHBoxLayout(TabSheet1);
        row->addLayout(left, 3);
        row->addLayout(middle, 5);
        row->addLayout(right, 3);
    }

    // "Sort"
    {
        auto *buttons = new QVBoxLayout;
        buttons->addWidget(UpNow);
        buttons->addWidget(DownNow);
        buttons->addSpacing(16);
        buttons->addWidget(SortNameBtn);
        buttons->addStretch(1);
        auto *row = new QHBoxLayout(TabSheet2);
        row->addWidget(SortBox, 1);
        row->addLayout(buttons);
    }

    // "Arrange": strip | tools over page | side pages
    {
        // Two rows, so that the tab fits a small or strongly scaled screen.
        auto *commands = new QHBoxLayout;
        commands->addWidget(Overtakeall);
        commands->addWidget(OrdeneBtn);
        commands->addStretch(1);
        auto *tools = new QHBoxLayout;
        tools->addWidget(label(tr("Zoom:"), TabSheet3));
        tools->addWidget(ZoomEd);
        tools->addWidget(label(tr("%"), TabSheet3));
        tools->addSpacing(12);
        tools->addWidget(label(tr("Pages count:"), TabSheet3));
        tools->addWidget(PageCountED);
        tools->addWidget(label(tr("Current page:"), TabSheet3));
        tools->addWidget(APageEd);
        tools->addStretch(1);

        auto *photos = new QVBoxLayout(TabSheet5);
        photos->addWidget(label(tr("Free text:"), TabSheet5));
        photos->addWidget(FreeText);
        photos->addWidget(CutCheck);
        photos->addSpacing(8);
        photos->addWidget(RotLeftBtn);
        photos->addWidget(RotRightBtn);
        photos->addWidget(HellKonBtn);
        photos->addWidget(ShowBigBtn);
        photos->addWidget(ChangePosSizeBtn);
        photos->addWidget(DelitBtn);
        photos->addStretch(1);

        auto twin = [](QGridLayout *g, int row, const QString &text, QWidget *mm, QWidget *inch, QWidget *parent) {
            g->addWidget(label(text, parent), row, 0);
            g->addWidget(mm, row, 1);
            g->addWidget(label(tr("mm ="), parent), row, 2);
            g->addWidget(inch, row, 3);
            g->addWidget(label(tr("inch"), parent), row, 4);
        };
        auto *autoBox = new QGroupBox(tr("Options for automatic arrage"), TabSheet6);
        auto *autoGrid = new QGridLayout(autoBox);
        twin(autoGrid, 0, tr("Page margin:"), RandEd, RandEDin, autoBox);
        twin(autoGrid, 1, tr("Distance:"), SpaceED, SpaceEdin, autoBox);
        auto *gridBox = new QGroupBox(tr("Align to grid"), TabSheet6);
        auto *gridGrid = new QGridLayout(gridBox);
        gridGrid->addWidget(UseGridCheck, 0, 0, 1, 5);
        gridGrid->addWidget(ShowGridCheck, 1, 0, 1, 5);
        twin(gridGrid, 2, tr("Grid width:"), GridEd, GridEDin, gridBox);
        auto *sizeBox = new QGroupBox(tr("Default size"), TabSheet6);
        auto *sizeGrid = new QGridLayout(sizeBox);
        twin(sizeGrid, 0, tr("Width:"), DBreiteED, DBreiteEdin, sizeBox);
        twin(sizeGrid, 1, tr("Height:"), DHocheED, DHocheEdin, sizeBox);
        auto *options = new QVBoxLayout(TabSheet6);
        options->addWidget(autoBox);
        options->addWidget(gridBox);
        options->addWidget(sizeBox);
        options->addWidget(TurnCameraCheck);
        auto *memory = new QHBoxLayout;
        memory->addWidget(label(tr("Memory for full pictures:"), TabSheet6));
        memory->addWidget(PictureMemoryEd);
        memory->addStretch(1);
        options->addLayout(memory);
        options->addStretch(1);

        auto *font = new QVBoxLayout(TabSheet7);
        font->addWidget(ShowFNames);
        font->addWidget(TranspCheck);
        font->addWidget(label(tr("Font background:"), TabSheet7));
        font->addWidget(BkColBox);
        font->addWidget(FontBtn);
        font->addStretch(1);

        auto *quality = new QHBoxLayout;
        quality->addWidget(label(tr("Min. quality:"), TabSheet8));
        quality->addWidget(MinQualEd);
        quality->addWidget(label(tr("DPI"), TabSheet8));
        quality->addStretch(1);
        auto *picture = new QVBoxLayout(TabSheet8);
        picture->addWidget(SverhCheck);
        picture->addWidget(CutDefault);
        picture->addWidget(EnhanceQualCheck);
        picture->addLayout(quality);
        picture->addStretch(1);

        PageControl1->setFixedWidth(430);
        auto *centre = new QVBoxLayout;
        centre->addLayout(commands);
        centre->addLayout(tools);
        centre->addWidget(ScrollBox2, 1);
        auto *row = new QHBoxLayout(TabSheet3);
        row->addWidget(ScrollBox1);
        row->addLayout(centre, 1);
        row->addWidget(PageControl1);
    }

    // "Print/Save as image": preview | print buttons, page, image export
    {
        auto *goPair = new QGridLayout;
        goPair->addWidget(GoBtn1, 0, 0);
        goPair->addWidget(GoBtn1Down, 0, 0);
        goPair->addWidget(label(tr("Print"), TabSheet4), 0, 1);
        goPair->addWidget(SetupBtn, 1, 0);
        goPair->addWidget(SetupBtnDown, 1, 0);
        goPair->addWidget(label(tr("Printer setup"), TabSheet4), 1, 1);
        GoBtn1Down->hide();
        SetupBtnDown->hide();

        auto *page = new QHBoxLayout;
        page->addWidget(label(tr("Current page:"), TabSheet4));
        page->addWidget(APageEd2);
        page->addStretch(1);

        auto *bitmapBox = new QGroupBox(tr("Bitmap quality"), TabSheet4);
        auto *bitmap = new QHBoxLayout(bitmapBox);
        bitmap->addWidget(BitDPIED);
        bitmap->addWidget(label(tr("DPI"), bitmapBox));
        bitmap->addStretch(1);

        auto *side = new QVBoxLayout;
        side->addLayout(goPair);
        side->addSpacing(12);
        side->addLayout(page);
        side->addSpacing(12);
        side->addWidget(bitmapBox);
        side->addWidget(SaveBitBtn);
        side->addStretch(1);

        auto *previewColumn = new QVBoxLayout;
        previewColumn->addWidget(label(tr("1:1 preview of the printout"), TabSheet4));
        previewColumn->addWidget(ScrollBox3, 1);
        auto *row = new QHBoxLayout(TabSheet4);
        row->addLayout(previewColumn, 1);
        row->addLayout(side);
        QPalette pal = ScrollBox3->palette();
        pal.setColor(QPalette::Window, palette().color(QPalette::Dark));
        ScrollBox3->setPalette(pal);
    }

    // Window: tabs over the bottom bar
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
    ueberBtn2->hide();
    EndeBtnDown->hide();

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
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    ProgressPanel->setAttribute(Qt::WA_OpaquePaintEvent, false);
    ProgressPanel->onPaint = [this](QPaintEvent *) { StatusBar1DrawPanel(); };

    EndeBtn->onMouseDown = [this](QMouseEvent *e) { EndeBtnMouseDown(e); };
    EndeBtn->onMouseMove = [this](QMouseEvent *e) { EndeBtnMouseMove(e); };
    EndeBtn->onMouseUp = [this](QMouseEvent *e) { EndeBtnMouseUp(e); };
    ueberbtn->onMouseDown = [this](QMouseEvent *e) { ueberbtnMouseDown(e); };
    ueberbtn->onMouseMove = [this](QMouseEvent *e) { ueberbtnMouseMove(e); };
    ueberbtn->onMouseUp = [this](QMouseEvent *e) { ueberbtnMouseUp(e); };
    // The pressed twins lie over the normal images and let the mouse through, so
    // the normal image keeps the mouse from press to release.
    for (TImageButton *twin : {EndeBtnDown, ueberBtn2, GoBtn1Down, SetupBtnDown})
        twin->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(HomeBtn, &QPushButton::clicked, this, &TMainForm::HomeBtnClick);
    connect(RotLeftBtn, &QPushButton::clicked, this, &TMainForm::RotLeftBtnClick);
    connect(RotRightBtn, &QPushButton::clicked, this, &TMainForm::RotRightBtnClick);
    connect(HellKonBtn, &QPushButton::clicked, this, &TMainForm::HellKonBtnClick);
    connect(Nachlinksrotieren901, &QAction::triggered, this, &TMainForm::Nachlinksrotieren901Click);
    connect(Nachrechtsrotieren901, &QAction::triggered, this, &TMainForm::Nachrechtsrotieren901Click);
    connect(HelligkeitKontrastundSttigung1, &QAction::triggered, this,
            &TMainForm::HelligkeitKontrastundSttigung1Click);
    connectCollection();
    connectFolderViews();
    connect(NewBtn, &QToolButton::clicked, this, &TMainForm::NewBtnClick);
    connect(OpenBtn, &QToolButton::clicked, this, &TMainForm::OpenBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMainForm::SaveBtnClick);
    connect(SaveAsBtn, &QToolButton::clicked, this, &TMainForm::SaveAsBtnClick);
    connectBrowser();
    connect(PrintBtn, &QPushButton::clicked, this, &TMainForm::PrintBtnClick);
    connect(ShowBigBtn, &QPushButton::clicked, this, &TMainForm::ShowBigBtnClick);

    // Page arrangement: geometry edits, views and their repaint triggers
    connect(ZoomEd, &QSpinBox::valueChanged, this, &TMainForm::ZoomEdChange);
    connect(PageCountED, &QSpinBox::valueChanged, this, &TMainForm::PageCountEDChange);
    connect(APageEd, &QSpinBox::valueChanged, this, &TMainForm::APageEdChange);
    connect(APageEd2, &QSpinBox::valueChanged, this, &TMainForm::APageEd2Change);
    connect(RandEd, &QDoubleSpinBox::valueChanged, this, &TMainForm::RandEdChange);
    connect(RandEDin, &QDoubleSpinBox::valueChanged, this, &TMainForm::RandEDinChange);
    connect(SpaceED, &QDoubleSpinBox::valueChanged, this, &TMainForm::SpaceEDChange);
    connect(SpaceEdin, &QDoubleSpinBox::valueChanged, this, &TMainForm::SpaceEdinChange);
    connect(GridEd, &QDoubleSpinBox::valueChanged, this, &TMainForm::GridEdChange);
    connect(GridEDin, &QDoubleSpinBox::valueChanged, this, &TMainForm::GridEDinChange);
    connect(DBreiteED, &QDoubleSpinBox::valueChanged, this, &TMainForm::DBreiteEDChange);
    connect(DBreiteEdin, &QDoubleSpinBox::valueChanged, this, &TMainForm::DBreiteEdinChange);
    connect(DHocheED, &QDoubleSpinBox::valueChanged, this, &TMainForm::DHocheEDChange);
    connect(DHocheEdin, &QDoubleSpinBox::valueChanged, this, &TMainForm::DHocheEdinChange);
    PaintBox2->onPaint = [this](QPaintEvent *e) { PaintBox2Paint(e); };
    PaintBox1->onPaint = [this](QPaintEvent *e) { PaintBox1Paint(e); };
    WatchResize(ScrollBox1, [this] { ScrollBox1Resize(); });
    WatchResize(ScrollBox2, [this] { ScrollBox2Resize(); });
    connect(FontBtn, &QPushButton::clicked, this, &TMainForm::FontBtnClick);
    for (QCheckBox *box : {SverhCheck, ShowFNames, ShowGridCheck})
        connect(box, &QCheckBox::toggled, this, &TMainForm::repaintArrangeView);
    PaintBox1->onMouseDown = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        PaintBox1MouseDown(at.x(), at.y());
    };
    PaintBox1->onDblClick = [this](QMouseEvent *) { PaintBox1DblClick(); };
    auto acceptStripDrag = [this](QDropEvent *e) {
        if (PaintBox2DragOver(e->source(), e->mimeData()))
            e->acceptProposedAction();
        else
            e->ignore();
    };
    PaintBox2->onDragEnter = acceptStripDrag;
    PaintBox2->onDragOver = acceptStripDrag;
    PaintBox2->onDragDrop = [this](QDropEvent *e) {
        const QPoint at = e->position().toPoint();
        PaintBox2DragDrop(e->source(), e->mimeData(), at.x(), at.y());
    };
    PaintBox2->onMouseDown = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        PaintBox2MouseDown(e->button(), at.x(), at.y());
    };
    PaintBox2->onMouseMove = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        PaintBox2MouseMove(at.x(), at.y());
    };
    PaintBox2->onMouseUp = [this](QMouseEvent *e) {
        const QPoint at = e->position().toPoint();
        PaintBox2MouseUp(at.x(), at.y());
    };
    connect(FreeText, &QLineEdit::textChanged, this, &TMainForm::FreeTextChange);
    connect(CutCheck, &QCheckBox::toggled, this, &TMainForm::CutCheckClick);
    connect(Lschen1, &QAction::triggered, this, &TMainForm::Lschen1Click);
    connect(DelitBtn, &QPushButton::clicked, this, &TMainForm::DelitBtnClick);
    connect(ChangePosSizeBtn, &QPushButton::clicked, this, &TMainForm::ChangePosSizeBtnClick);
    connect(OrdeneBtn, &QPushButton::clicked, this, &TMainForm::OrdeneBtnClick);
    connect(Overtakeall, &QPushButton::clicked, this, &TMainForm::OvertakeallClick);

    // Output: print and setup buttons, the preview and its scroll area
    GoBtn1->onMouseDown = [this](QMouseEvent *e) { GoBtn1MouseDown(e); };
    GoBtn1->onMouseMove = [this](QMouseEvent *e) { GoBtn1MouseMove(e); };
    GoBtn1->onMouseUp = [this](QMouseEvent *e) { GoBtn1MouseUp(e); };
    SetupBtn->onMouseDown = [this](QMouseEvent *e) { SetupBtnMouseDown(e); };
    SetupBtn->onMouseMove = [this](QMouseEvent *e) { SetupBtnMouseMove(e); };
    SetupBtn->onMouseUp = [this](QMouseEvent *e) { SetupBtnMouseUp(e); };
    PaintBox3->onPaint = [this](QPaintEvent *e) { PaintBox3Paint(e); };
    PaintBox3->onMouseDown = [this](QMouseEvent *e) { PaintBox3MouseDown(e); };
    PaintBox3->onMouseMove = [this](QMouseEvent *e) { PaintBox3MouseMove(e); };
    PaintBox3->onMouseUp = [this](QMouseEvent *e) { PaintBox3MouseUp(e); };
    WatchResize(ScrollBox3, [this] { ScrollBox3Resize(); });
    connect(SaveBitBtn, &QPushButton::clicked, this, &TMainForm::SaveBitBtnClick);
    connectDesktop();

    qApp->installEventFilter(this);
    connectUndo();
    connectKeys();
}

// ---------------------------------------------------------------------------
// Start-up and shutdown

void TMainForm::FormCreate()
{
    ProgramFolder = QCoreApplication::applicationDirPath();
    if (!ProgramFolder.endsWith(QLatin1Char('/')))
        ProgramFolder += QLatin1Char('/');

    for (const FileFilterPair &pair : ParseFilterList(PictureFilterList()))
        FilterComboBox1->addItem(pair.Description, pair.Mask);
    FilterComboBox1->setCurrentIndex(0);
    if (newdib(&PreviewDib, 320, 200, 24, nullptr, 0))
        std::memset(PreviewDib.Bits, 255, PreviewDib.Info->biSizeImage);
    PreviewFileName.clear();

    PrefFoldersFile = FavouritesFilePath();
    ReadPrefFolders();
    SetJamShellTree1Path(StartFolder(PrefListBox->count() > 0 ? PrefListBox->item(0)->text() : QString()));
    UpdateListBox();
    Startbrowsing();

    Setsavedfilename(QString());
    // The inch twins show the converted defaults.
    DBreiteEDChange();
    DHocheEDChange();
    RandEdChange();
    SpaceEDChange();
    GridEdChange();
    SelectedPlacement = -1;
    UpdateSelectionControls();
    ChangeFreeText();
    CreatePictureViewer();
    KoordEdForm = new TKoordEdForm(this);
    connect(PictureMemoryEd, &QSpinBox::valueChanged, this,
            [this](int mb) { Store.setBudget(std::uint64_t(mb) << 20); });
    Store.setBudget(std::uint64_t(PictureMemoryEd->value()) << 20);
    // Full pictures wanted by a zoomed view come from the pool.
    Store.Arrived = [this] {
        repaintArrangeView();
        repaintPreview();
    };
}

void TMainForm::FormDestroy()
{
    qApp->removeEventFilter(this);
    EndBrowsing(); // no walk step may reach a destroyed window
    deldib(&PreviewDib);
    DelallPics();
}

bool TMainForm::FormCloseQuery()
{
    if (!isModified())
        return true;
    return Dialogs::messageBox(this, tr("If you quit now all data not saved will be lost!"), tr("Quit program"),
                               Dialogs::Icon::Information, Dialogs::OkCancel) == Dialogs::IdOk;
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    Closing = true;
    StopBrowsing(false);
    SaveSettings();
    event->accept();
}

// ---------------------------------------------------------------------------
// Title, status bar, progress

void TMainForm::Setsavedfilename(const QString &fileName)
{
    SavedFileName = fileName;
    setWindowTitle(MainTitle(fileName, isModified()));
    AddRecentFile(fileName);
}

void TMainForm::StatusBar1DrawPanel()
{
    ProgressRect = ProgressPanel->rect();
    QPainter p(ProgressPanel);
    const QRect bar = ProgressBarRect(ProgressRect, ProgressPercent);
    if (bar.width() > 0) {
        p.setPen(QColor(0, 0, 128));
        p.setBrush(QColor(0, 0, 128));
        p.fillRect(bar, QColor(0, 0, 128));
    }
}

void TMainForm::SetProStatus(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent < ProgressPercent) {
        ProgressPercent = percent;
        StatusBar1->repaint(); // the bar shrinks: clear and draw anew
        ProgressPanel->repaint();
    } else {
        ProgressPercent = percent;
        // Growing: paint over the old bar without clearing, so it does not flicker.
        ProgressPanel->setAttribute(Qt::WA_OpaquePaintEvent, true);
        ProgressPanel->repaint();
        ProgressPanel->setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
}

void TMainForm::WMUser(long long wParam, long long) { SetProStatus(int(wParam)); }

bool TMainForm::event(QEvent *e)
{
    if (e->type() == WMUserEvent::EventType) {
        auto *msg = static_cast<WMUserEvent *>(e);
        WMUser(msg->WParam, msg->LParam);
        return true;
    }
    return QMainWindow::event(e);
}

void TMainForm::Timer1Timer()
{
    Timer1->stop();
    repaintArrangeView();
}

// ---------------------------------------------------------------------------
// Selection-dependent controls

void TMainForm::UpdateSelectionControls()
{
    const bool on = SelectedPlacement != -1;
    for (QWidget *w : {static_cast<QWidget *>(HellKonBtn), static_cast<QWidget *>(DelitBtn),
                       static_cast<QWidget *>(RotLeftBtn), static_cast<QWidget *>(RotRightBtn),
                       static_cast<QWidget *>(FreeText), static_cast<QWidget *>(ShowBigBtn),
                       static_cast<QWidget *>(ChangePosSizeBtn), static_cast<QWidget *>(CutCheck)})
        w->setEnabled(on);
}

void TMainForm::ChangeFreeText()
{
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    const Placement &p = Placements.at(SelectedPlacement);
    CutCheck->setChecked(p.Cut != 0);
    ShowSizeInfo();
    QString comment;
    getnumComment(p.PictureId, comment);
    FreeText->setText(comment);
}

void TMainForm::ShowSizeInfo()
{
    if (SelectedPlacement < 0 || SelectedPlacement >= Placements.size())
        return;
    StatusText->setText(SizeInfoText(Placements.at(SelectedPlacement), QLocale()));
}

void TMainForm::repaintArrangeView() { PaintBox2->repaint(); }
void TMainForm::repaintStrip() { PaintBox1->repaint(); }
void TMainForm::repaintPreview() { PaintBox3->repaint(); }

ArrangementOptions TMainForm::options() const
{
    ArrangementOptions o;
    o.ShowFNames = ShowFNames->isChecked();
    o.Sverh = SverhCheck->isChecked();
    o.Zoom = ZoomEd->value();
    o.Rand = RandEd->value();
    o.Space = SpaceED->value();
    o.Transp = TranspCheck->isChecked();
    o.BkColor = BkColBox->Selected();
    o.CutDefault = CutDefault->isChecked();
    o.EnhanceQual = EnhanceQualCheck->isChecked();
    o.UseGrid = UseGridCheck->isChecked();
    o.ShowGrid = ShowGridCheck->isChecked();
    o.MinQual = MinQualEd->value();
    o.DBreite = DBreiteED->value();
    o.DHoche = DHocheED->value();
    o.Grid = GridEd->value();
    o.Font = CaptionFont;
    return o;
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

QScrollArea *TMainForm::wheelTarget() const
{
    const QWidget *tab = PageControl2->currentWidget();
    if (tab == TabSheet1 && PageControl3->currentWidget() == TabSheet10)
        return ScrollBox4;
    if (tab == TabSheet3 && PageControl1->currentWidget() == TabSheet5)
        return ScrollBox2;
    if (tab == TabSheet4)
        return ScrollBox3;
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
                ScrollsItself(under ? under : widget, {ScrollBox1, ScrollBox2, ScrollBox3, ScrollBox4});
            if (!ownWheel) {
                if (QScrollArea *area = wheelTarget()) {
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

namespace {
// Shared rule of the image buttons: the pressed twin replaces the normal image
// while pressed and the pointer is on it.
void showPressed(TImageButton *pressed, bool down)
{
    pressed->setVisible(down);
    if (down)
        pressed->raise();
}
} // namespace

void TMainForm::EndeBtnMouseDown(QMouseEvent *)
{
    EndePressed = true;
    showPressed(EndeBtnDown, true);
}

void TMainForm::EndeBtnMouseMove(QMouseEvent *e)
{
    if (!EndePressed)
        return;
    const QPoint p = e->position().toPoint();
    showPressed(EndeBtnDown, InsideImage(p.x(), p.y(), EndeBtn->width(), EndeBtn->height()));
}

void TMainForm::EndeBtnMouseUp(QMouseEvent *e)
{
    const bool wasPressed = EndePressed;
    EndePressed = false;
    showPressed(EndeBtnDown, false);
    const QPoint p = e->position().toPoint();
    if (wasPressed && InsideImage(p.x(), p.y(), EndeBtn->width(), EndeBtn->height()))
        close();
}

void TMainForm::ueberbtnMouseDown(QMouseEvent *)
{
    UeberPressed = true;
    showPressed(ueberBtn2, true);
}

void TMainForm::ueberbtnMouseMove(QMouseEvent *e)
{
    if (!UeberPressed)
        return;
    const QPoint p = e->position().toPoint();
    showPressed(ueberBtn2, InsideImage(p.x(), p.y(), ueberbtn->width(), ueberbtn->height()));
}

void TMainForm::ueberbtnMouseUp(QMouseEvent *e)
{
    const bool wasPressed = UeberPressed;
    UeberPressed = false;
    showPressed(ueberBtn2, false);
    const QPoint p = e->position().toPoint();
    if (wasPressed && InsideImage(p.x(), p.y(), ueberbtn->width(), ueberbtn->height())) {
        TAboutBox box(this);
        Dialogs::execDialog(&box);
    }
}

void TMainForm::HomeBtnClick() { QDesktopServices::openUrl(QUrl(HomePageUrl())); }
