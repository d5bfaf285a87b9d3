#include "FuzzSupport.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace Fuzz {

namespace {
QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

void InitApplication()
{
    if (QCoreApplication::instance())
        return;
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "snapgrid-atlas-fuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed: libFuzzer leaves through exit(), when Qt's own statics
    // may already be gone.
    static QApplication *app = new QApplication(argc, argv);
    Q_UNUSED(app);
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());

    Dialogs::Handler answer;
    answer.message = [](const Dialogs::MessageRecord &) { return int(Dialogs::IdOk); };
    answer.exec = [](QDialog *) { return 0; };
    answer.openFile = [](const QString &) { return QString(); };
    answer.saveFile = [](const QString &) { return QString(); };
    answer.print = [](QPrinter *) { return false; };
    answer.pageSetup = [](QPrinter *) { return false; };
    answer.font = [](QFont *, QColor *) { return false; };
    answer.color = [](QColor *) { return false; };
    Dialogs::setHandler(answer);
}

QString ScratchFolder() { return scratch().path() + QLatin1Char('/'); }

bool WriteFile(const QString &path, const std::uint8_t *data, std::size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return size == 0 || file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

} // namespace Fuzz
