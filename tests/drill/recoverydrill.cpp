// Edits an arrangement until it is killed: recoverydrill FOLDER OWNFILE DELAY_MS
// Each edit sets the default frame width to 100 + its number and prints the
// number; edits 50 and 150 save to OWNFILE. The recovery copies go to FOLDER.
#include "document/ArrangementDocument.h"
#include "document/Recovery.h"

#include <QGuiApplication>
#include <QThread>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString own = QString::fromLocal8Bit(argv[2]);
    ArrangementDocument doc;
    RecoveryKeeper keeper(doc, folder, QString::fromLocal8Bit(argv[3]).toInt());
    int edit = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++edit;
        ArrangementOptions o = doc.options();
        o.DBreite = 100 + edit;
        doc.setOptions(o, QStringLiteral("Width"));
        if ((edit == 50 || edit == 150) && !doc.save(own))
            std::fprintf(stdout, "save failed\n");
        std::fprintf(stdout, "%d\n", edit);
        std::fflush(stdout);
        if (edit == 200)
            tick.stop();
    });
    tick.start(15);
    return app.exec();
}
