#include "app/AboutBoxUnit.h"
#include "app/MainUnit.h"
#include "app/Translations.h"
#include "arrange/CaptionTextsDialog.h"
#include "arrange/ContactSheetDialog.h"
#include "arrange/OrderSheetDialog.h"
#include "arrange/PrintSheetDialog.h"
#include "arrange/PrintSizes.h"
#include "arrange/SizePositionDialog.h"
#include "arrange/TestStripDialog.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/PictureEntry.h"
#include "output/CalibrationDialog.h"
#include "output/ColourSettingsDialog.h"
#include "output/PaperPresetDialog.h"
#include "picture/ToneDialog.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>

#include <functional>
#include <memory>

namespace {
using MakeSurface = std::function<std::unique_ptr<QWidget>()>;

// Every text a user reads on a widget and its children, in a fixed order.
QStringList VisibleTexts(QWidget &top)
{
    QStringList texts;
    auto add = [&texts](const QString &text) { texts << text; };
    add(top.windowTitle());
    QList<QWidget *> widgets{&top};
    widgets += top.findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        add(w->toolTip());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(b->text());
        if (auto *l = qobject_cast<QLabel *>(w))
            add(l->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            add(g->title());
        if (auto *e = qobject_cast<QLineEdit *>(w))
            add(e->placeholderText());
        if (auto *t = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < t->count(); ++i)
                add(t->tabText(i));
        if (auto *c = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                add(c->itemText(i));
        if (auto *s = qobject_cast<QSpinBox *>(w))
            add(s->suffix());
        if (auto *d = qobject_cast<QDoubleSpinBox *>(w))
            add(d->suffix());
        for (QAction *a : w->actions()) {
            add(a->text());
            add(a->toolTip());
        }
    }
    return texts;
}

// Texts that read the same in both languages, and what the program shows
// that is not its own text (file names, figures, units).
bool SameInBothLanguages(const QString &text)
{
    static const QRegularExpression noWords(QStringLiteral("^[^A-Za-z]*([A-Za-z][^A-Za-z]*)?$"));
    static const QSet<QString> paperNames = [] {
        QSet<QString> names;
        for (int id = 0; id <= int(QPageSize::LastPageSize); ++id)
            names.insert(QPageSize::name(QPageSize::PageSizeId(id)));
        return names;
    }();
    if (paperNames.contains(text))
        return true;
    static const QRegularExpression own(QStringLiteral("^(OK|&OK|DPI|Zoom:|&Name:|Radius:|Normal.*|mm =| ?(mm|MB)|sRGB|"
                                                       "[A-Z]{3,4} - .*|.*Snapgrid-Atlas 4\\.0 - \\[.*\\]|"
                                                       "Office-Laser.*|.*\\.jpg)$"));
    return noWords.match(text).hasMatch() || own.match(text).hasMatch();
}

void RemoveTranslations()
{
    for (QTranslator *t : qApp->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

struct TranslationScope {
    TranslationScope() { InstallTranslations(*qApp, QLocale(QLocale::German, QLocale::Germany)); }
    ~TranslationScope() { RemoveTranslations(); }
    TranslationScope(const TranslationScope &) = delete;
    TranslationScope &operator=(const TranslationScope &) = delete;
};
} // namespace

Q_DECLARE_METATYPE(MakeSurface)

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { RemoveTranslations(); }

    // The window and every dialog built once in English and once in German:
    // a text that reads the same both times was never translated.
    void everyTextTranslated_data()
    {
        QTest::addColumn<MakeSurface>("make");
        QTest::newRow("main window, all tabs") << MakeSurface([] { return std::make_unique<TMainForm>(); });
        QTest::newRow("about box") << MakeSurface([] { return std::make_unique<TAboutBox>(); });
        QTest::newRow("print sheets") << MakeSurface([] {
            std::vector<PictureEntry> pictures(1);
            pictures[0].FileName = QStringLiteral("/p/sample1.jpg");
            return std::make_unique<PrintSheetDialog>(pictures, 0, WholeSheet(210, 297), QString());
        });
        QTest::newRow("contact sheet")
            << MakeSurface([] { return std::make_unique<ContactSheetDialog>(3, WholeSheet(210, 297)); });
        QTest::newRow("size and position") << MakeSurface([] { return std::make_unique<SizePositionDialog>(); });
        QTest::newRow("brightness and contrast") << MakeSurface([] { return std::make_unique<ToneDialog>(); });
        QTest::newRow("colour management")
            << MakeSurface([] { return std::make_unique<ColourDialog>(QStringLiteral("Office-Laser"), QStringLiteral("A4")); });
        QTest::newRow("paper preset") << MakeSurface([] { return std::make_unique<PaperPresetDialog>(); });
        QTest::newRow("test strip") << MakeSurface([] {
            std::vector<PictureEntry> pictures(1);
            pictures[0].FileName = QStringLiteral("/p/sample1.jpg");
            return std::make_unique<TestStripDialog>(pictures, 0, true);
        });
        QTest::newRow("order sheets") << MakeSurface([] {
            std::vector<PictureEntry> pictures(1);
            pictures[0].FileName = QStringLiteral("/p/sample1.jpg");
            return std::make_unique<OrderSheetDialog>(pictures, 0, WholeSheet(210, 297), BuiltInPrintSizes());
        });
        QTest::newRow("captions and page texts")
            << MakeSurface([] { return std::make_unique<CaptionTextsDialog>(CaptionSettings(), TCaptionFont()); });
        QTest::newRow("calibration") << MakeSurface([] {
            return std::make_unique<CalibrationDialog>(QStringLiteral("Office-Laser, A4 portrait"), PrintCalibration{});
        });
    }
    void everyTextTranslated()
    {
        QFETCH(MakeSurface, make);
        DialogRecorder dialogs;
        const QStringList english = VisibleTexts(*make());
        TranslationScope german;
        const QStringList translated = VisibleTexts(*make());
        QCOMPARE(translated.size(), english.size());
        QStringList untranslated;
        for (qsizetype i = 0; i < english.size(); ++i)
            if (english[i] == translated[i] && !SameInBothLanguages(english[i]) && !untranslated.contains(english[i]))
                untranslated << english[i];
        if (!untranslated.isEmpty())
            QFAIL(qPrintable(QStringLiteral("Not translated:\n") + untranslated.join(QLatin1Char('\n'))));
    }

    // The longer German texts still let the window fit a 1280 x 860 screen.
    void germanWindowFits()
    {
        DialogRecorder dialogs;
        TranslationScope german;
        TMainForm form;
        const QSize needed = form.minimumSizeHint();
        QVERIFY2(needed.width() <= 1280 && needed.height() <= 860,
                 qPrintable(QStringLiteral("%1 x %2").arg(needed.width()).arg(needed.height())));
    }
};

SGA_TEST(TestTranslations)
#include "tst_translations.moc"
