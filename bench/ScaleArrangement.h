#pragma once
// The 120-picture, 30-page arrangement the printing benchmarks share, and their measures.
#include "PhotoFolder.h"
#include "app/MainUnit.h"
#include "arrange/Geometry.h"
#include "document/ArrangementFile.h"
#include "output/PdfJpegCarrier.h"
#include "pages/PrintPage.h"
#include "picture/Tonal.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int Copies = 3;
constexpr int Pictures = PhotoFolder::Files * Copies;
constexpr int PerPage = 4;
constexpr int Pages = Pictures / PerPage;
constexpr int PrintDpi = 600;

// Thrown to end the run, so the temporary folder with its PDF is removed.
struct Failure {
    QString text;
};
[[noreturn]] void fail(const QString& text) { throw Failure { text }; }

// A line of /proc/self/status such as "VmHWM:   123 kB", in MB; -1 when absent.
double statusMb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key)) + 1).trimmed().split(' ').front().toDouble() / 1024.0;
    return -1;
}

class PeakRss {
public:
    PeakRss()
    {
        QFile refs(QStringLiteral("/proc/self/clear_refs"));
        hwmReset = refs.open(QIODevice::WriteOnly) && refs.write("5") == 1 && refs.flush();
        refs.close();
        if (hwmReset)
            return;
        sampled = statusMb("VmRSS:");
        sampler = std::thread([this] {
            while (!stop) {
                const double now = statusMb("VmRSS:");
                if (now > sampled)
                    sampled = now;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    ~PeakRss() { finish(); }
    PeakRss(const PeakRss&) = delete;
    PeakRss& operator=(const PeakRss&) = delete;

    [[nodiscard]] bool fromHighWaterMark() const { return hwmReset; }
    double mb()
    {
        finish();
        return hwmReset ? statusMb("VmHWM:") : std::max(sampled.load(), statusMb("VmRSS:"));
    }

private:
    void finish()
    {
        stop = true;
        if (sampler.joinable())
            sampler.join();
    }
    bool hwmReset = false;
    std::atomic<bool> stop { false };
    std::atomic<double> sampled { 0 };
    std::thread sampler;
};

double seconds(const QElapsedTimer& clock) { return double(clock.nsecsElapsed()) / 1e9; }

QStringList picturePaths(const QString& folder)
{
    QStringList paths;
    for (int copy = 0; copy < Copies; ++copy)
        for (int i = 0; i < PhotoFolder::Files; ++i)
            paths << QFileInfo(PhotoFolder::photoPath(folder, i)).absoluteFilePath();
    return paths;
}

double referenceSeconds(const QStringList& paths)
{
    QElapsedTimer clock;
    clock.start();
    for (const QString& path : paths) {
        QImageReader reader(path);
        QImage image;
        if (!reader.read(&image))
            fail(QStringLiteral("cannot decode %1: %2").arg(path, reader.errorString()));
    }
    return seconds(clock);
}

// Two by two frames of the photos' 4:3 aspect on each page, filling the
// printable area's width with a margin and a gap of a quarter inch.
QByteArray arrangementFile(const QStringList& paths, double pageWidthInch, double pageHeightInch)
{
    constexpr double Margin = 0.25, Gap = 0.25;
    const double frameW
        = std::min((pageWidthInch - 2 * Margin - Gap) / 2, (pageHeightInch - 2 * Margin - Gap) / 2 * 4 / 3);
    const double frameH = frameW * 3 / 4;
    ArrangementData data;
    for (int i = 0; i < paths.size(); ++i) {
        Placement p {};
        p.Left = Margin + (i % 2) * (frameW + Gap);
        p.Top = Margin + (i / 2 % 2) * (frameH + Gap);
        p.Width = frameW;
        p.Height = frameH;
        p.Page = i / PerPage + 1;
        p.PictureId = i;
        data.Placements.push_back(p);
        data.Pictures.push_back({ paths[i], 0, i, QString() });
    }
    data.NextPictureId = int(paths.size());
    data.Zoom = 100;
    return WriteArrangement(data);
} // namespace
