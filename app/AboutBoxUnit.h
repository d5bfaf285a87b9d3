#pragma once
#include <QDialog>

class QPushButton;

// The about box: program icon, product name, version, a button to the web page.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
    QPushButton *OKButton = nullptr;
    QPushButton *HomePageButton = nullptr;
};

// The maker's web page opened by the home-page buttons.
QString HomePageUrl();
