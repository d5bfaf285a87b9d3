#include "app/AboutBoxUnit.h"

#include "platform/Artwork.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

QString HomePageUrl() { return QStringLiteral("https://snapgrid-atlas.example/"); }

QUrl UserGuideUrl()
{
    // The installed copy where there is one, so the guide matches this version.
    const QString local =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("doc/snapgrid-atlas/guide.md"));
    return local.isEmpty() ? QUrl(HomePageUrl() + QStringLiteral("guide")) : QUrl::fromLocalFile(local);
}

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
    GuideButton = new QPushButton(tr("User &guide"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(name, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(HomePageButton);
    buttons->addWidget(GuideButton);
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HomePageButton, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(HomePageUrl())); });
    connect(GuideButton, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(UserGuideUrl()); });
}
