#include "app/AboutBoxUnit.h"

#include "platform/Artwork.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

QString HomePageUrl() { return QStringLiteral("https://snapgrid-atlas.example/"); }

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About"));
    auto *icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(64, 64));
    auto *name = new QLabel(tr("<b>Snapgrid-Atlas</b><br>Version 4.0<br>Lays out photographs on printed pages."), this);
    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setDefault(true);
    HomePageButton = new QPushButton(tr("Home page"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(name, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(HomePageButton);
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HomePageButton, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(HomePageUrl())); });
}
