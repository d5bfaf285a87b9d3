#include "TestRegistry.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

std::vector<TestRegistry::Factory> &TestRegistry::factories()
{
    static std::vector<Factory> list;
    return list;
}

int main(int argc, char **argv)
{
    // The window browses the home or Pictures folder at start and leaves its
    // thumbnail cache there: give the tests a home of their own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("snapgrid-atlas-tests"));
    // No test touches the user's own files: settings go to a fresh folder per run.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    // SGA_TEST_CLASS runs one class only (the thread checks pick the threaded ones).
    const QByteArray only = qgetenv("SGA_TEST_CLASS");
    int failed = 0;
    for (const auto &make : TestRegistry::factories()) {
        std::unique_ptr<QObject> test = make();
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        failed += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
