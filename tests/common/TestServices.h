#pragma once
// The services a page gets from the window, kept by a test: status text and
// progress recorded, pictures shown large and arrangements handed over recorded.
#include "pages/PageServices.h"

#include <QWidget>

struct TestServices : PageServices {
    QWidget Parent;
    QString Status;
    int Progress = 0;
    QStringList ShownBig;    // file names handed to the viewer
    QStringList AskedToOpen; // arrangements dropped from outside
    TestServices()
    {
        DialogParent = &Parent;
        StatusHook = [this](const QString &text) { Status = text; };
        ProgressHook = [this](int percent) { Progress = percent; };
        ShowBigHook = [this](const DIB &, const QString &fileName) { ShownBig.append(fileName); };
        OpenArrangementHook = [this](const QString &path) { AskedToOpen.append(path); };
    }
};
