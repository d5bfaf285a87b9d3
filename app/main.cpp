#include "app/MainUnit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("snapgrid-atlas"));
    QApplication::setApplicationDisplayName(QStringLiteral("Snapgrid-Atlas 4.0"));
    TMainForm form;
    form.show();
    return app.exec();
}
