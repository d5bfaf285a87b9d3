#include "common/TestSupport.h"

#include <QDebug>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

DialogRecorder::DialogRecorder(int answerValue)
    : answer(answerValue)
{
    handler.message = [this](const Dialogs::MessageRecord &r) {
        messages.push_back(r);
        return answer;
    };
    handler.exec = [this](QDialog *) {
        ++execCount;
        return execResult;
    };
    install();
}

DialogRecorder::~DialogRecorder() { Dialogs::clearHandler(); }

void DialogRecorder::install() { Dialogs::setHandler(handler); }

bool fuzzyCompare(const QImage &actualIn, const QImage &expectedIn, int tolerance, const QString &name)
{
    const QImage actual = actualIn.convertToFormat(QImage::Format_RGB32);
    const QImage expected = expectedIn.convertToFormat(QImage::Format_RGB32);
    bool same = actual.size() == expected.size();
    for (int y = 0; same && y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(e)) > tolerance || std::abs(qGreen(a) - qGreen(e)) > tolerance ||
                std::abs(qBlue(a) - qBlue(e)) > tolerance) {
                qWarning() << name << "first difference at" << x << y << Qt::hex << a << e;
                same = false;
                break;
            }
        }
    if (!same) {
        actual.save(name + QStringLiteral("_actual.png"));
        expected.save(name + QStringLiteral("_expected.png"));
    }
    return same;
}

std::vector<QImage> PdfPageImages(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf,
                                              dir.filePath(QStringLiteral("p"))});
    if (!render.waitForFinished(120000) || render.exitCode() != 0)
        return {};
    std::vector<QImage> pages;
    // Numbered with as many digits as the last page needs, so the names sort in order.
    for (const QFileInfo &file : QDir(dir.path()).entryInfoList({QStringLiteral("p*.png")}, QDir::Files, QDir::Name))
        pages.push_back(QImage(file.filePath()).convertToFormat(QImage::Format_RGB32));
    return pages;
}

int PdfPageCount(const QString &pdf)
{
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}
