#include "app/MainUnit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetApplicationNames();
    TMainForm form;
    form.show();
    return app.exec();
}
