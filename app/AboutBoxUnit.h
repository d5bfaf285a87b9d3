#pragma once
#include <QDialog>
#include <QUrl>

class QPushButton;

// The about box: program icon, product name, version, buttons to the web page and the user guide.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
    QPushButton *OKButton = nullptr;
    QPushButton *HomePageButton = nullptr;
    QPushButton *GuideButton = nullptr;
};

// The maker's web page opened by the home-page buttons.
QString HomePageUrl();

// The user guide: the installed copy, else the one on the web page.
QUrl UserGuideUrl();
